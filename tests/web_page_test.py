#!/usr/bin/python3
"""The web page in one browser engine, with the same checks in each: its designed form, drawn and
named; its layout on small screens; the clicks' results against loto-sim's; runs nested, cleared
and quit; the panel of any game against loto-sim's runs of the same game, its runs and the form's
one after the other. Usage: web_page_test.py ENGINE PAGE LOTO_SIM [TEST...] (ENGINE: chromium,
firefox or webkit; webkit under xvfb-run; TEST: WebPage.test_..., every test by default)."""
import datetime
import functools
import http.server
import json
import random
import os
import re
import subprocess
import sys
import tempfile
import threading
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tools'))
import browsers  # noqa: E402

ENGINE, PAGE, LOTO_SIM = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3]
README = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'README.md')
RULES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'examples', 'rules')
COLUMNS = {'observed': 'TxtStat%dN°', 'expected': 'TxtTheo%dN°', 'deviation': 'TxtEcart%dN°'}
ROW_LABELS = ['LblAucunN°', 'LblUnN°', 'LblDeuxN°', 'LblTroisN°', 'LblQuatreN°', 'LblCinqN°',
              'LblSixN°']
TAB_ORDER = browsers.BOXES + ['CmdSimuler', 'CmdEffacer', 'CmdQuitter']
MESSAGES = ['LblValidGrille', 'LblTest', 'LblPatientez', 'LblValidNbTirages', 'LblFinTirages']
WHITE, GREY, BLACK, DARK_GREY = (255, 255, 255), (192, 192, 192), (0, 0, 0), (128, 128, 128)
# A control's rectangle in the page, from the form's top-left corner.
RECT = ("const f = document.getElementById('Form1').getBoundingClientRect();"
        "const r = document.getElementById(arguments[0]).getBoundingClientRect();"
        "return [r.left - f.left, r.top - f.top, r.width, r.height];")


# The panel's boxes, and loto-sim's options for what they hold.
PANEL = {'PJeu': '--game', 'PPrix': '--price', 'PSemaine': '--draws-per-week', 'PRang': '--until',
         'PRepetitions': '--repeat', 'PVies': '--lifetimes'}
PANEL_DONE = "return document.getElementById('PEtat').textContent.match(/^(Termin|Rang|Arr)/);"
# Where a run that never ends stood: its status and its progress.
PANEL_STATE = ("return [document.getElementById('PEtat').textContent,"
               "        document.getElementById('PProgres').value];")
# A panel's run: its tiers' cells and money's values, in the C locale.
PANEL_SHOWN = ("return [[...document.querySelectorAll('#PRangs tbody tr')].map("
               "           row => [...row.cells].map(c => c.dataset.value)),"
               "        [...document.querySelectorAll('#PArgent dd')].map(d => d.dataset.value),"
               "        [...document.querySelectorAll('#PStats dt, #PStats dd')].map("
               "            e => e.dataset.value ?? e.textContent),"
               "        [...document.querySelectorAll('#PResume dd')].map(d => d.dataset.value)];")
# The keys of loto-sim's summaries, in the order of the panel's lines about them.
WAITS = ['commands', 'censored', 'mean', 'law_mean', 'law_mean_below_bound', 'median',
         'law_median', 'chi_square', 'df', 'p_value']
LIFETIMES = ['lifetimes', 'ahead', 'net_median', 'net_p01', 'net_p99', 'net_mean', 'expected_net',
             'net_sd', 'expected_sd']
# Each of its cells' texts beside the browser's own French writing of its value: the engine
# writes them as Intl.NumberFormat('fr-FR') does.
PANEL_FRENCH = """
const fr = o => new Intl.NumberFormat('fr-FR', o);
const whole = [fr({maximumFractionDigits: 0}), ''], two = fr({minimumFractionDigits: 2,
      maximumFractionDigits: 2}), six = fr({maximumSignificantDigits: 6});
const three = [fr({maximumFractionDigits: 3}), ''], four = fr({maximumSignificantDigits: 4});
// A probability under 10^-4 as a power of ten.
const p = [{format: v => v > 0 && v < 1e-4 ? (([m, e]) => four.format(Number(m)) + ' × 10^' +
                                              Number(e))(v.toExponential(3).split('e'))
                                           : four.format(v)}, ''];
const tiers = [null, whole, [two, ''], [two, ' %'], three, p, [six, ' tirages'], [six, ' ans'],
               whole];
const money = [[two, ''], [two, ''], [two, ''], [two, ''], [two, ''],
               [fr({maximumFractionDigits: 4}), ''], [fr({maximumFractionDigits: 4}), ''],
               [two, ' %'], [fr({maximumFractionDigits: 3}), ''], [six, ' tirages'],
               [six, ' ans'], [whole[0], 'au tirage ']];
const pair = (element, [format, unit], none) => [element.textContent,
    element.dataset.value === '' ? none : unit.startsWith('au') ?
    unit + format.format(Number(element.dataset.value)) :
    format.format(Number(element.dataset.value)) + unit];
return [...document.querySelectorAll('#PRangs tbody tr')].flatMap(row =>
           [...row.cells].slice(1).map((c, i) => pair(c, tiers[i + 1], i == 7 ? 'jamais' : '-')))
       .concat([...document.querySelectorAll('#PStats dd')].filter(d => d.dataset.value).slice(0, 3).map(
           (d, i) => pair(d, [three, whole, p][i], '-')))
       .concat([...document.querySelectorAll('#PArgent dd')].filter((d, i, all) =>
           all.length >= 12 && i < 12).map(
           (d, i) => pair(d, money[i], i == 11 ? 'jamais' : '-')));
"""
# The run's files as the page offers them: each link's bytes, read back from its blob.
PANEL_FILES = """
window.panelFiles = null;
Promise.all(['PJson', 'PCsv', 'PSvg'].map(id => {
    const link = document.getElementById(id);
    return link.hidden ? null : fetch(link.href).then(r => r.text());
})).then(texts => { window.panelFiles = texts; });
"""


def panel_options(fields):
    """loto-sim's arguments for the panel's fields (DRAWS, the ticket, '+', the second pool)."""
    arguments = []
    for box, option in PANEL.items():
        if fields.get(box):
            arguments += [option, fields[box]]
    for prize in fields.get('PGains', '').split():
        arguments += ['--prize', prize]
    second = fields.get('PSeconde', '').split()
    return arguments + [fields['PTirages']] + fields['PGrille'].split() + (
        ['+'] + second if second else [])


class WebPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = browsers.start(ENGINE)
        cls.addClassCleanup(cls.browser.quit)

    def setUp(self):
        self.browser.leave_frame()
        self.browser.set_viewport(800, 700)

    def copy(self, head):
        path = browsers.page_copy(PAGE, head)
        self.addCleanup(os.remove, path)
        return path

    def results(self):
        return {column: [self.browser.value(box % k) for k in range(7)]
                for column, box in COLUMNS.items()}

    def pixels(self):
        left, top = self.browser.js(
            "const r = document.getElementById('Form1').getBoundingClientRect();"
            "return [r.left, r.top];")
        image = self.browser.screenshot()
        return lambda x, y: image.getpixel((int(left) + x, int(top) + y))

    def tab_order(self):
        """The controls that the focus visits from the number of draws on, Tab after Tab."""
        self.browser.click('TxtNbTirages')
        visited = []
        for _ in TAB_ORDER:
            visited.append(self.browser.focused())
            self.browser.key('Tab')
        return visited

    def run_panel(self, fields, button='PLancer'):
        for box, text in fields.items():
            self.browser.js("document.getElementById(arguments[0]).value = arguments[1];", box,
                            text)
        self.browser.type('PGrille', fields['PGrille'])
        self.browser.click(button)
        self.wait_for_the_panel()
        return self.browser.js(PANEL_SHOWN)

    def wait_for_the_panel(self):
        try:
            self.browser.wait(PANEL_DONE)
        except TimeoutError:
            self.fail('the panel\'s run never ended: %s' % self.browser.js(PANEL_STATE))

    def assert_panel_is_loto_sim(self, shown, options):
        run = subprocess.run([LOTO_SIM, '--json', '--stats'] + options, text=True,
                             capture_output=True, check=True)
        lines = [json.loads(line) for line in run.stdout.splitlines()]
        want = [line for line in lines if 'tiers' in line][-1]  # the last command's
        self.assert_summary_is_loto_sim(shown[3], lines[-1])
        tiers, money, stats, _ = shown
        self.assertEqual([[row[0], int(row[1]), int(row[8] or 0)] for row in tiers],
                         [[t['tier'], t['count'], t['first_hit'] or 0] for t in want['tiers']])
        for row, tier in zip(tiers, want['tiers']):
            for cell, key in [(2, 'expected'), (4, 'z'), (5, 'p'), (6, 'mean_wait'),
                              (7, 'mean_wait_years')]:
                if tier[key] is None:
                    self.assertEqual(row[cell], '', key)
                else:
                    # A tier's p sums thousands of terms, each from the browser's mathematical
                    # library, which is not glibc's: to 1e-10.
                    self.assertAlmostEqual(float(row[cell]), tier[key], delta=(
                        1e-10 if key == 'p' else 1e-12 * abs(tier[key])))
        # The chi-square, its freedom and p, then each group of tiers pooled: its first and last.
        chi = want['stats']
        if chi['chi_square'] is None:
            self.assertEqual(stats, ['Khi-deux', ''])  # too few draws: said, not a figure
        else:
            self.assertEqual(stats[0:6:2], ['Khi-deux', 'Degrés de liberté', 'p du khi-deux'])
            self.assertAlmostEqual(float(stats[1]), chi['chi_square'],
                                   delta=1e-12 * chi['chi_square'])
            self.assertEqual(int(stats[3]), chi['df'])
            self.assertAlmostEqual(float(stats[5]), chi['p_value'], delta=1e-12)
            self.assertEqual(len(stats[6:]) // 2, sum(len(g) > 1 for g in chi['groups']))
        if 'money' in want:
            got = dict(zip(['price', 'cost', 'spent', 'won', 'net'], money))
            self.assertEqual(got, {key: '%.2f' % want['money'][key] for key in got})
            for place, key in [(5, 'expected_return'), (6, 'expected_net'), (8, 'z')]:
                self.assertAlmostEqual(float(money[place]), want['money'][key], places=9)
        if 'until' in want:
            self.assertEqual(money[-1], str(want['until']['draws']))
        return want

    def assert_summary_is_loto_sim(self, values, last):
        """The waits' or lifetimes' lines against loto-sim's summary, its last line."""
        if 'waits' in last:
            keys, summary = WAITS, last['waits']
            if summary['law_mean_below_bound'] is None:
                keys = [key for key in keys if key != 'law_mean_below_bound']
            if summary['chi_square'] is None:
                keys = keys[:-2]  # the reason, not a figure
        elif 'summary' in last:
            keys, summary = LIFETIMES, dict(last['summary'], ahead=last['summary']['ahead'] * 100)
        else:
            self.assertEqual(values, [])
            return
        self.assertEqual(len(values), len(keys))
        for value, key in zip(values, keys):
            if summary[key] is None:
                self.assertEqual(value, '', key)
            else:
                self.assertAlmostEqual(float(value), summary[key], msg=key,
                                       delta=1e-10 * max(1, abs(summary[key])))

    def assert_panel_files_are_loto_sim(self, options):
        """The run's JSON, CSV and SVG as the page offers them, against loto-sim's of the same
        command from a fresh start: the same bytes, but for the JSON's time and estimate."""
        self.browser.js(PANEL_FILES)
        json_lines, csv, svg = self.browser.wait('return window.panelFiles;')
        with tempfile.TemporaryDirectory() as folder:
            chart = os.path.join(folder, 'chart.svg')
            options = ['--stats', '--svg', chart] + options
            want_json = subprocess.run([LOTO_SIM, '--json'] + options, text=True,
                                       capture_output=True, check=True).stdout
            want_csv = subprocess.run([LOTO_SIM, '--csv'] + options, text=True,
                                      capture_output=True, check=True).stdout
            with open(chart, encoding='utf-8') as written:
                self.assertEqual(svg, written.read())
        self.assert_same_figures([line.split(',') for line in csv.splitlines()],
                                 [line.split(',') for line in want_csv.splitlines()])
        timeless = [[{key: value for key, value in json.loads(line).items()
                      if key not in ('seconds', 'estimate')} for line in lines.splitlines()]
                    for lines in (json_lines, want_json)]
        self.assert_same_figures(timeless[0], timeless[1])
        self.assertTrue(json_lines.endswith('\n'))

    def assert_same_figures(self, got, want, where='file'):
        """The same texts and structure; the same numbers, but for the last digits of what the
        browser's mathematical library computes (not glibc's): to 1e-10 of the larger of 1 and
        the number. Counts and amounts, whole and far below 10^10, are exact."""
        if isinstance(want, (dict, list)):
            self.assertEqual(type(got), type(want), where)
            self.assertEqual(len(got), len(want), where)
            keys = want.keys() if isinstance(want, dict) else range(len(want))
            for key in keys:
                self.assert_same_figures(got[key], want[key], '%s/%s' % (where, key))
            return
        number = re.compile(r'-?\d+(\.\d+)?(e[-+]?\d+)?$')
        if isinstance(want, str) and not (number.match(want) and number.match(got)):
            self.assertEqual(got, want, where)
        elif want is None or isinstance(want, bool):
            self.assertEqual(got, want, where)
        else:
            self.assertAlmostEqual(float(got), float(want),
                                   delta=1e-10 * max(1, abs(float(want))), msg=where)

    def test_the_panel_plays_as_loto_sim(self):
        # Fresh pages, fresh starts: a run of a game with a second pool and its money; one drawn
        # until a tier of a system ticket of 8 numbers; repetitions until a tier, their waits
        # tested; lifetimes.
        runs = [({'PJeu': '5/50+2/12', 'PGrille': '3 14 25 36 47', 'PSeconde': '2 9',
                  'PTirages': '200000', 'PPrix': '2,50', 'PSemaine': '2,5',
                  'PGains': '5+2=17000000 5+1=300000 2+1=8 3+0=10.50'}, 'PLancer'),
                ({'PJeu': '6/49', 'PGrille': '1 2 3 4 5 6 7 8', 'PTirages': '1e6',
                  'PPrix': '2.20', 'PGains': '3=5 4=50', 'PRang': '5'}, 'PJusqua'),
                ({'PJeu': '6/45', 'PGrille': '3 9 17 28 41 45', 'PTirages': '300',
                  'PRang': '3', 'PRepetitions': '60'}, 'PJusqua'),
                ({'PJeu': '6/49', 'PGrille': '7 10 14 20 30 40', 'PTirages': '2000',
                  'PPrix': '2.20', 'PGains': '3=5 4=50', 'PVies': '40'}, 'PLancer')]
        for fields, button in runs:
            self.browser.open_form('file://' + PAGE)
            shown = self.run_panel(fields, button)
            for text, french in self.browser.js(PANEL_FRENCH):
                self.assertEqual(text, french)
            fields = {box: text.replace(',', '.') if box in ('PPrix', 'PSemaine') else text
                      for box, text in fields.items()}  # loto-sim's decimal point
            want = self.assert_panel_is_loto_sim(shown, panel_options(fields))
            self.assertGreater(want['draws'], 0)
            self.assert_panel_files_are_loto_sim(panel_options(fields))
            # The chart an image named by its French text.
            role, named, alternative = self.browser.js(
                "const image = document.getElementById('PImage');"
                "return [image.getAttribute('role'), image.getAttribute('aria-labelledby'),"
                "        document.getElementById('PGrapheTexte').textContent];")
            self.assertEqual([role, named], ['img', 'PGrapheTexte'])
            kind = ('les attentes des' if 'PRepetitions' in fields else
                    'l’écart en pour cent' if 'PVies' in fields else 'pour chaque rang du')
            self.assertTrue(alternative.startswith('Graphique : ' + kind), alternative)
            self.assertIn(' du %s' % want['game'], alternative)
        # A refusal, said at once and in French; nothing shown of a run.
        self.browser.js("document.getElementById('PJeu').value = '6/100';")
        self.browser.click('PLancer')
        self.browser.wait("return document.getElementById('PErreur').textContent;")
        self.assertEqual(self.browser.js(
            "return [document.getElementById('PErreur').textContent,"
            "        document.getElementById('PRangs').hidden];"),
            ['Jeu : "6/100" n\'est pas un jeu : K/N, puis +bonus, puis +M/Q, avec 1 <= K < N <= 99'
             ' et 1 <= M < Q <= 99.', True])

    def test_the_panel_plays_a_lottery_s_rules(self):
        # loto-sim's example rules offered; EuroMillions' fill the boxes, and its run is
        # loto-sim's --rules run: the money shared and taxed, the break-even jackpot.
        self.browser.open_form('file://' + PAGE)
        self.assertEqual(self.browser.js(
            "return [...document.getElementById('PRegles').options].map(o => o.value);"),
            [''] + sorted(os.listdir(RULES)))
        self.assertEqual(self.browser.js(
            "return document.getElementById('PRegles').options[2].text;"),
            'euromillions (2024-02-01)')  # as of the rules' date
        self.browser.js("const list = document.getElementById('PRegles');"
                        "list.value = 'euromillions.json';"
                        "list.dispatchEvent(new Event('change'));")
        self.browser.wait("return document.getElementById('PJeu').value === '5/50+2/12';")
        ticket = ['3', '14', '25', '36', '47', '+', '2', '9']
        shown = self.run_panel({'PGrille': '3 14 25 36 47', 'PSeconde': '2 9',
                                'PTirages': '100000'})
        options = ['--rules', os.path.join(RULES, 'euromillions.json'), '100000'] + ticket
        want = self.assert_panel_is_loto_sim(shown, options)['money']
        shared = [want[key] for key in ('expected_return_shared', 'return_rate_shared',
                                        'break_even_jackpot', 'best_jackpot')]
        for got, key in zip(shown[1][12:16], shared):
            if key is None:
                self.assertEqual(got, '')
            else:
                self.assertAlmostEqual(float(got), key, delta=1e-10 * max(1, abs(key)))
        self.assert_panel_files_are_loto_sim(options)

    def test_the_panel_looks_as_the_form(self):
        # The form's grey around the panel, its boxes sunken and white, its buttons raised.
        self.browser.open_form('file://' + PAGE)
        look = self.browser.js(
            "const style = id => getComputedStyle(document.getElementById(id));"
            "const edges = s => [s.borderTopColor, s.borderBottomColor, s.backgroundColor];"
            "return [style('Panneau').backgroundColor, edges(style('PJeu')),"
            "        edges(style('PLancer')), style('PJeu').fontFamily.split(',')[0],"
            "        style('Form1').backgroundColor];")
        grey, white, dark = 'rgb(192, 192, 192)', 'rgb(255, 255, 255)', 'rgb(128, 128, 128)'
        self.assertEqual(look, [grey, [dark, white, white], [white, 'rgb(0, 0, 0)', grey],
                                'Arial', grey])
        left, top = self.browser.js(
            "const r = document.getElementById('Panneau').getBoundingClientRect();"
            "return [r.left + 3, r.top + 3];")  # the panel's face, in its padding
        self.assertEqual(self.browser.screenshot().getpixel((int(left), int(top)))[:3],
                         (192, 192, 192))

    def audit_file(self, name, text, how):
        """Gives the page a file as the user would: chosen in the file box, or dropped on the
        audit's section; waits until its columns are offered or it is refused."""
        self.browser.js(
            "const [name, text, how] = arguments;"
            "const files = new DataTransfer();"
            "files.items.add(new File([text], name, {type: 'text/csv'}));"
            "document.getElementById('AEtat').textContent = '';"
            "if (how === 'chosen') {"
            "  const box = document.getElementById('AFichier');"
            "  box.files = files.files;"
            "  box.dispatchEvent(new Event('change'));"
            "} else {"
            "  document.getElementById('Audit').dispatchEvent("
            "      new DragEvent('drop', {dataTransfer: files, bubbles: true}));"
            "}", name, text, how)
        return self.browser.wait(
            "return document.getElementById('AEtat').textContent ||"
            "       document.getElementById('AErreur').textContent;")

    def test_the_audit_of_a_file_is_loto_sim_s(self):
        # A dated 6/49 history that the test writes, chosen and then dropped: the columns that
        # look like numbers and the date offered, and an audit equal to loto-sim's.
        draws = [sorted(random.Random(d).sample(range(1, 50), 6)) for d in range(2000)]
        text = 'Date;B1;B2;B3;B4;B5;B6;Machine\n' + ''.join(
            '%s;%s;Stresa\n' % (datetime.date(2000, 1, 1) + datetime.timedelta(days=3 * d),
                                ';'.join(map(str, draw))) for d, draw in enumerate(draws))
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, 'tirages.csv')
            with open(path, 'w', encoding='utf-8') as written:
                written.write(text)
            want = json.loads(subprocess.run(
                [LOTO_SIM, '--audit', path, '--columns', 'B1,B2,B3,B4,B5,B6', '--date', 'Date',
                 '--json'], text=True, capture_output=True, check=True).stdout)
        self.browser.open_form('file://' + PAGE)
        for how in ['chosen', 'dropped']:
            self.assertEqual(self.audit_file('tirages.csv', text, how),
                             'tirages.csv : 8 colonnes, prêt.')
            self.assertEqual(self.browser.js(
                "const chosen = id => [...document.getElementById(id).selectedOptions].map("
                "    o => o.text);"
                "return [chosen('ANumeros'), chosen('ADate'), document.getElementById('AJeu')"
                "        .placeholder];"),
                [['B1', 'B2', 'B3', 'B4', 'B5', 'B6'], ['Date'], 'deviné : 6/49'])
            self.browser.click('ALancer')
            self.browser.wait("return document.getElementById('AEtat').textContent"
                              "       .startsWith('Audit terminé');", timeout=300)
            rows = self.browser.js(
                "return [...document.querySelectorAll('#ATables tbody tr')].map(row => ["
                "    row.cells[0].dataset.value, row.cells[1].dataset.value,"
                "    Number(row.cells[4].dataset.pValue), Number(row.cells[5].dataset.holm)]);")
            self.assertEqual([row[:2] for row in rows],
                             [[t['name'], t['pool']] for t in want['tests']])
            for row, test in zip(rows, want['tests']):
                if test['calibrated']:
                    self.assertEqual(row[2], test['p_value'], test['name'])
                else:
                    self.assertAlmostEqual(row[2], test['p_value'], delta=1e-12)
                self.assertAlmostEqual(row[3], test['p_holm'], delta=1e-12)
            self.assertTrue(self.browser.js(
                "return document.querySelector('#ATables p').textContent;").startswith(
                    'Ajustement de Holm des %d valeurs p au seuil de 1 %% : ' % len(rows)))
            # The chart an image named by its French text, which screen readers read.
            role, alternative = self.browser.js(
                "return [document.getElementById('AImage').getAttribute('role'),"
                "        document.getElementById('AGrapheTexte').textContent];")
            self.assertEqual(role, 'img')
            self.assertTrue(alternative.startswith(
                'Graphique : l’écart de chaque numéro du %s' % want['game']), alternative)
            if ENGINE != 'firefox':  # whose driver computes no name of an element
                self.assertEqual(self.browser.accessible_name('AImage'), alternative)
        # A file dropped elsewhere is left, not opened in the page's place.
        self.assertEqual(self.browser.js(
            "const files = new DataTransfer();"
            "files.items.add(new File(['x'], 'x.csv'));"
            "const drop = new DragEvent('drop', {dataTransfer: files, bubbles: true,"
            "                                    cancelable: true});"
            "document.getElementById('Form1').dispatchEvent(drop);"
            "return [drop.defaultPrevented, document.getElementById('AEtat').textContent];"),
            [True, 'Audit terminé.'])
        # A bad line refused in French, its number said; the file's text quoted as it is.
        bad = text.replace('\n2000-01-10;', '\n2000-01-10;x', 1)
        self.assertEqual(self.audit_file('mauvais.csv', bad, 'dropped'),
                         'mauvais.csv : 8 colonnes, prêt.')
        self.browser.click('ALancer')
        self.assertEqual(self.browser.wait(
            "return document.getElementById('AErreur').textContent;"),
            'Ligne 5 : "x%d" n\'est pas un nombre entier.' % draws[3][0])

    def test_the_panel_and_the_form_take_turns(self):
        # A click on LANCER while the form draws waits for the form's run to end, whole. The run
        # lasts seconds in every engine, so that the click lands while it draws.
        self.browser.open_form('file://' + PAGE)
        self.browser.enter('2E8', '7 10 14 20 30 40')
        # A key lost by a loaded driver would make a run too short to be seen: say so plainly.
        self.assertEqual(self.browser.js(
            "return arguments[0].map(id => document.getElementById(id).value);", browsers.BOXES),
            ['2E8', '7', '10', '14', '20', '30', '40'])
        # Whether the run was seen under way, its speed test or its draws, kept by the page
        # itself: a driver slowed by a loaded machine may poll only once it is over.
        self.browser.js(
            "window.drawing = false;"
            "const shown = id => document.getElementById(id).checkVisibility();"
            "new MutationObserver(() => { window.drawing = window.drawing ||"
            "    shown('LblTest') || shown('LblPatientez'); })"
            "  .observe(document.body, {attributes: true, childList: true, subtree: true});")
        self.browser.click('CmdSimuler')
        self.browser.wait("return window.drawing;")
        self.browser.js("document.getElementById('PTirages').value = '1000';")
        self.browser.click('PLancer')
        self.wait_for_the_panel()
        self.assertTrue(self.browser.shown('LblFinTirages'))
        self.assertEqual(sum(int(text) for text in self.results()['observed']), 200000000)
        # QUITTER stops a run of the panel too.
        self.browser.js("document.getElementById('PTirages').value = '1E12';")
        self.browser.click('PLancer')
        self.browser.wait("return document.getElementById('PEtat').textContent.includes('fin');")
        self.browser.click('CmdQuitter')
        self.browser.wait("return document.getElementById('Ended').checkVisibility();")
        self.assertEqual([self.browser.shown('Panneau'), self.browser.shown('Form1')],
                         [False, False])

    def test_the_designed_form(self):
        self.browser.open_form('file://' + PAGE)
        self.assertEqual(self.browser.js(RECT, 'Form1')[2:], [607, 455])
        # The focus starts in the number of draws, without scrolling the page to it.
        self.assertEqual(self.browser.js("return [document.activeElement.id, scrollX, scrollY];"),
                         ['TxtNbTirages', 0, 0])
        pixel = self.pixels()
        # Control, designed place and size in pixels, face, outer bevel's top-left pixel.
        rows = [
            ('LblNbTirages', (8, 8, 345, 25), (192, 255, 192), None),
            ('LblRésultats', (8, 120, 585, 17), (255, 255, 128), None),
            ('Txt1erN°', (8, 72, 41, 40), WHITE, DARK_GREY),
            ('TxtNbTirages', (360, 8, 233, 35), WHITE, WHITE),  # drawn without its border
            ('CmdSimuler', (256, 48, 97, 57), (192, 192, 255), WHITE),
            ('CmdQuitter', (488, 384, 105, 49), (192, 192, 255), WHITE),
        ]
        for control, (x, y, width, height), face, bevel in rows:
            self.assertEqual(self.browser.js(RECT, control), [x, y, width, height], control)
            self.assertEqual(pixel(x + 4, y + height - 5), face, control)
            self.assertEqual(pixel(x, y), bevel or face, control)
        # The form between the rows and where the hidden messages would be; a raised button's
        # dark corner.
        self.assertEqual([pixel(300, 260), pixel(300, 400), pixel(352, 104)], [GREY, GREY, BLACK])
        # Hidden, and said by screen readers once shown.
        self.assertEqual(self.browser.js(
            "return arguments[0].map(id => [document.getElementById(id).checkVisibility(),"
            "                               document.getElementById(id).getAttribute('role')]);",
            MESSAGES), [[False, 'alert']] * len(MESSAGES))
        *texts, family = self.browser.js(
            "const style = id => getComputedStyle(document.getElementById(id));"
            "const s = style('TxtNbTirages');"
            "return [document.getElementById('LblHeureFin').textContent, s.fontSize, s.fontWeight,"
            "        s.color, style('LblPatientez').fontFamily];")
        self.assertEqual(texts, ['   DATE ET HEURE PREVUES POUR    LA FIN DES TIRAGES', '27px',
                                 '700', 'rgb(0, 0, 255)'])
        self.assertEqual(family.split(',')[0].strip('"\' '), 'Arial Black')  # then its fallbacks

    def test_names_and_keyboard(self):
        self.browser.open_form('file://' + PAGE)
        names = {
            'TxtNbTirages': 'Nombre de tirages',
            'TxtEcart0N°': 'Écart en %, aucun bon numéro',
            'LblRésultats': 'RESULTATS',
            'CmdSimuler': 'Simuler',
        }
        for control, name in names.items():
            self.assertEqual(self.browser.accessible_name(control), name, control)
        # 29 boxes named apart, none spell-checked (a checker would mark the numbers).
        self.assertEqual(self.browser.js(
            "const boxes = [...document.querySelectorAll('#Form1 input')];"
            "return [new Set(boxes.map(box => box.ariaLabel)).size,"
            "        boxes.some(box => box.spellcheck)];"), [29, False])
        self.assertEqual(self.tab_order(), TAB_ORDER)
        # The panel's controls come after the form's, each named by its label.
        for _ in range(60):
            if not self.browser.js("return !!document.activeElement.closest('#Form1');"):
                break
            self.browser.key('Tab')
        self.assertEqual(self.browser.focused(), 'PRegles')
        self.browser.key('Tab')
        self.assertEqual(self.browser.focused(), 'PJeu')
        # The panel's and the audit's boxes, each named by its label; their progress bars named;
        # their states announced as they change (a status) and their refusals at once (an alert).
        labelled = {'PRegles': 'Règles', 'PJeu': 'Jeu', 'PRang': 'Rang visé',
                    'PRepetitions': 'Répétitions', 'PVies': 'Vies', 'PJusqua': "JUSQU'AU RANG",
                    'ANumeros': 'Numéros des tirages',
                    'ASeconde': 'Seconde grille des tirages', 'ABonus': 'Complémentaire',
                    'AJeu': 'Jeu des tirages', 'PProgres': 'Progression des tirages',
                    'AProgres': "Progression de l'étalonnage"}
        if ENGINE != 'firefox':  # whose file box adds its button's English words to the label
            labelled['AFichier'] = 'Fichier'
        # The bars as a run shows them.
        self.browser.js("for (const id of ['PProgres', 'AProgres'])"
                        "    document.getElementById(id).hidden = false;")
        self.assertEqual({c: self.browser.accessible_name(c) for c in labelled}, labelled)
        self.browser.js("for (const id of ['PProgres', 'AProgres'])"
                        "    document.getElementById(id).hidden = true;")
        self.assertEqual(self.browser.js(
            "return ['PEtat', 'PErreur', 'AEtat', 'AErreur'].map(id =>"
            "    document.getElementById(id).role ||"
            "    document.getElementById(id).getAttribute('role'));"),
            ['status', 'alert', 'status', 'alert'])
        self.browser.type('Txt6emeN°', '4' * 1001)  # a box holds 1,000 characters
        self.assertEqual(self.browser.value('Txt6emeN°'), '4' * 1000)
        # The space bar presses a button and Enter does not (Firefox's driver cannot press one).
        if self.browser.keys_press_buttons:
            self.browser.js("document.getElementById('TxtDateFin').value = 'typed';"
                            "document.getElementById('CmdEffacer').focus();")
            self.browser.key('Enter')
            self.assertEqual(self.browser.value('TxtDateFin'), 'typed')
            self.browser.key('Space')
            self.browser.wait("return document.getElementById('TxtDateFin').value === '';")

    def test_clicks_draw_as_loto_sim(self):
        batch = ('1000;7;10;14;20;30;40\n250000;1;2;3;4;5;6\n10;7;8;9;10;11;7\n'
                 '5000;49;48;47;46;45;44\n-1e400;1;2;3;4;5;6\n')
        expected = [json.loads(line) for line in subprocess.run(
            [LOTO_SIM, '--batch', '--json', '--locale', 'fr_FR'], input=batch, text=True,
            capture_output=True).stdout.splitlines()]
        # Served over HTTP as any static host would, a fresh page: a fresh start. What the page
        # says on its console and its errors is kept from its first line on.
        page = self.copy(
            "<script>window.said = []; for (const level of ['error', 'warn', 'log', 'info']) {"
            "  const write = console[level];"
            "  console[level] = (...words) => { said.push(level + ': ' + words.join(' '));"
            "                                  write.apply(console, words); }; }"
            "addEventListener('error', event => said.push('error: ' + event.message));"
            "addEventListener('unhandledrejection', e => said.push('rejected: ' + e.reason));"
            "</script>")
        handler = functools.partial(http.server.SimpleHTTPRequestHandler,
                                    directory=os.path.dirname(PAGE))
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        self.browser.open_form('http://127.0.0.1:%d/%s' % (server.server_port,
                                                           os.path.basename(page)))
        for line, want in zip(batch.split(), expected):
            count, *favourites = line.split(';')
            self.browser.enter(count, ' '.join(favourites))
            if want.get('refused') == 'unreadable':
                self.browser.click('CmdSimuler')
                self.browser.wait("return document.getElementById('LblValidNbTirages')"
                                  ".checkVisibility();")
                # The message's face, within a few frames.
                self.assertIn(WHITE, [self.pixels()(120, 390) for _ in range(20)])
            else:
                self.browser.simulate()
            self.assertEqual(self.results(), {column: want['texts'][column] for column in COLUMNS})
            self.assertEqual([self.browser.shown('LblValidGrille'),
                              self.browser.value('TxtDateFin') == ''],
                             [want.get('refused') == 'grid', want['estimate'] is None], count)
        # Nothing said, nothing fetched: the one file is the whole program.
        self.assertEqual(self.browser.js('return window.said;'), [])
        self.assertEqual(self.browser.console_errors(), [])
        self.assertEqual(
            self.browser.js("return performance.getEntriesByType('resource').map(e => e.name);"),
            [])

    def test_nested_clear_and_quit(self):
        self.browser.open_form('file://' + PAGE)
        self.browser.enter('1E10', '7 10 14 20 30 40')
        self.browser.click('CmdSimuler')
        self.browser.wait("return document.getElementById('LblPatientez').checkVisibility();")
        self.browser.enter('1000', '7 10 14 20 30 40')  # typing works during a run
        self.browser.click('CmdSimuler')
        self.browser.wait("return document.getElementById('LblFinTirages').checkVisibility();")
        self.assertEqual(sum(int(text) for text in self.results()['observed']), 1000)
        self.assertNotEqual(self.browser.value('TxtDateFin'), '')
        self.browser.click('CmdEffacer')
        self.browser.wait("return document.getElementById('TxtDateFin').value === '';")
        self.assertEqual(self.results(), {column: [''] * 7 for column in COLUMNS})
        self.assertFalse(self.browser.shown('LblFinTirages'))  # no results to announce
        self.browser.click('CmdQuitter')
        # Every run stops: the page says so once the program has returned.
        self.browser.wait("return document.getElementById('Ended').checkVisibility();")
        self.assertFalse(self.browser.shown('Form1'))
        self.assertIn('rechargez la page', self.browser.js(
            "return document.getElementById('Ended').textContent;"))

    def test_text_that_comes_in_whole_keeps_what_the_desktop_box_keeps(self):
        # A CR and a line feed stay in the box's text, shown as blanks: "1\r\n000" draws 1, as
        # in the window and in loto-sim, and so it does after more is typed; pasted, dropped, from
        # an input method, a correction or a yank.
        want = json.loads(subprocess.run(
            [LOTO_SIM, '--json', '--locale', 'fr_FR', '1\r\n0000', '1', '2', '3', '4', '5', '6'],
            text=True, capture_output=True).stdout)
        self.browser.open_form('file://' + PAGE)
        self.browser.enter('', '1 2 3 4 5 6')
        box = "const box = document.getElementById('TxtNbTirages');"
        for kind in ['paste', 'insertFromPaste', 'insertFromDrop', 'insertText',
                     'insertReplacementText', 'insertFromYank']:
            self.browser.js(box + "Module.lotoSetBox(box, ''); box.focus();")
            self.browser.insert(kind, '1\r\n000')
            self.assertEqual(self.browser.js(box + "return [box.value, Module.lotoBoxText(box)];"),
                             ['1  000', '1\r\n000'], kind)
        self.browser._keys('0')
        self.assertEqual(self.browser.value('TxtNbTirages'), '1  0000')
        self.browser.simulate()
        self.assertEqual(self.results(), {column: want['texts'][column] for column in COLUMNS})
        self.assertEqual(want['draws'], 1)

    def test_the_readme_says_the_page_s_size(self):
        # "about 420 kB": the page's bytes to the figure's last digit that is not a zero.
        with open(README, encoding='utf-8') as readme:
            figure = re.search(r'`build/web/loto\.html`[^`]*? about (\d+) kB', readme.read())[1]
        unit = 1000 * 10 ** (len(figure) - len(figure.rstrip('0')))
        self.assertEqual(round(os.path.getsize(PAGE) / unit) * unit, int(figure) * 1000)

    def test_estimates_within_the_range_of_local_dates(self):
        # Tokyo at 20:00 on 31/12/9999 in universal time is in 10000 already;
        # New York at 03:00 on 01/01/10000 is still in 9999. The page's clock reads `utc`
        # (Date.UTC's arguments) in a time zone `offset` minutes east of universal time.
        for utc, offset, estimate in [('9999, 11, 31, 20', 9 * 60, ''),
                                      ('9999, 11, 31, 14', 9 * 60, '31/12/9999 23:00:0'),
                                      ('10000, 0, 1, 3', -5 * 60, '31/12/9999 22:00:0')]:
            self.browser.open_form('file://' + self.copy(
                '<script>Date.now = () => Date.UTC(%s);'
                'Date.prototype.getTimezoneOffset = () => %d;</script>' % (utc, -offset)))
            self.browser.enter('100', '1 2 3 4 5 6')
            self.browser.simulate()
            self.assertEqual(self.browser.value('TxtDateFin')[:len(estimate) or None], estimate,
                             utc)
            self.assertNotEqual(self.browser.value('TxtStat0N°'), '', utc)

    # Phones in portrait and landscape, a narrow window, and the designed window's width.
    SCREENS = [(195, 600), (280, 600), (300, 600), (320, 568), (360, 640), (390, 844),
               (447, 700), (568, 320), (640, 360), (844, 390)]

    def test_every_screen_opens_unscrolled_and_fits_its_width(self):
        self.browser.open_form('file://' + PAGE)
        self.assertEqual(self.browser.js(
            "return document.querySelector('meta[name=viewport]').content;"),
            'width=device-width, initial-scale=1')  # a phone's width, not a zoomed-out page
        # Each screen is a frame of its size, as a screen of that size shows the page (a window
        # cannot be made that narrow in every engine); the checks run inside.
        for width, height in self.SCREENS:
            self.browser.set_viewport(max(width, 640) + 20, max(height, 480) + 20)
            self.open_in_frame('', width, height)
            # Nothing beyond the width to scroll to, and nothing scrolled.
            self.assertEqual(self.browser.js(
                "const page = document.scrollingElement;"
                "return [innerWidth, Math.max(0, page.scrollWidth - page.clientWidth), scrollX,"
                "        scrollY];"), [width, 0, 0, 0], (width, height))
            if width >= 640:
                self.assertEqual(self.browser.js(RECT, 'TxtStat3N°'), [96, 272, 177, 24])
            else:
                self.check_touch_layout()
            if width == self.SCREENS[0][0]:
                # The panel's results too, on the narrowest screen.
                self.run_panel({'PJeu': '5/50+2/12', 'PGrille': '3 14 25 36 47',
                                'PSeconde': '2 9', 'PTirages': '1000', 'PPrix': '2.50',
                                'PSemaine': '2', 'PGains': '5+2=17000000 2+1=8'})
                self.assertEqual(self.browser.js(
                    "const page = document.scrollingElement;"
                    "return page.scrollWidth - page.clientWidth;"), 0)
                # Its files' links for a finger, its chart within the width.
                links, chart = self.browser.js(
                    "const size = e => { const r = e.getBoundingClientRect();"
                    "                    return [r.width, r.height, r.right]; };"
                    "return [[...document.querySelectorAll('#PFichiers a')].map(size),"
                    "        size(document.querySelector('#PImage svg'))];")
                self.assertEqual(len(links), 3)
                for w, h, _ in links:
                    self.assertGreaterEqual(min(w, h), 44)
                self.assertLessEqual(chart[2], width)
                self.assertGreater(chart[1], 0)
            self.browser.leave_frame()

    def test_a_page_that_is_not_drawn_draws_on(self):
        # A page that the browser does not draw (here a frame scrolled out of view; a hidden tab
        # alike) gets no animation frames, and its runs go on without them.
        self.open_in_frame('<div style="height:5000px"></div>', 800, 700)
        # Clicked by the page's script: the driver's click would scroll the frame into view.
        self.browser.js("const fields = {PJeu: '5/50+2/12', PGrille: '3 14 25 36 47',"
                        "                PSeconde: '2 9', PTirages: '20000000'};"
                        "for (const id in fields) document.getElementById(id).value = fields[id];"
                        "document.getElementById('PLancer').click();")
        self.wait_for_the_panel()
        self.assertEqual(self.browser.js("return document.querySelector('#PRangs').dataset.draws;"),
                         '20000000')
        self.browser.leave_frame()

    def open_in_frame(self, before, width, height):
        """Opens a copy of the page in a frame of width x height, after the markup before, and
        enters the frame."""
        page = self.copy('')
        holder = page + '.frame.html'
        self.addCleanup(os.remove, holder)
        with open(holder, 'w', encoding='utf-8') as frame:
            frame.write('<!DOCTYPE html><body style="margin:0">%s<iframe id="Screen" src="%s"'
                        ' style="border:0;width:%dpx;height:%dpx"></iframe></body>'
                        % (before, os.path.basename(page), width, height))
        self.browser.open('file://' + holder)
        self.browser.enter_frame('Screen')
        self.browser.wait("return !!document.getElementById('TxtNbTirages');")

    def test_a_touch_screen_gets_the_touch_layout_at_any_width(self):
        if ENGINE != 'chromium':
            self.skipTest('only Chromium\'s driver can make a touch screen')
        self.browser.emulate_phone(844, 390, 3)  # a phone held sideways
        self.addCleanup(self.browser.driver.execute_cdp_cmd,
                        'Emulation.setTouchEmulationEnabled', {'enabled': False})
        self.browser.open_form('file://' + PAGE)
        self.assertTrue(self.browser.js("return matchMedia('(pointer: coarse)').matches;"))
        self.check_touch_layout()

    def check_touch_layout(self):
        sizes = self.browser.js(
            "return [...document.querySelectorAll('#Form1 > :not([hidden])')]"
            ".filter(e => e.id !== 'LblFinTirages').map(e => {"
            "  const r = e.getBoundingClientRect();"
            "  return [e.id, e.localName, r.width, r.height,"
            "          parseFloat(getComputedStyle(e).fontSize)]; });")
        self.assertEqual(len(sizes), 47)  # every control but the hidden messages
        sizes += self.browser.js(
            "return [...document.querySelectorAll('.outil input:not([type=file]), .outil button,"
            "                                      .outil select')].map(e => {"
            "  const r = e.getBoundingClientRect();"
            "  return [e.id, e.localName, r.width, r.height,"
            "          parseFloat(getComputedStyle(e).fontSize)]; });")
        for control, kind, w, h, font in sizes:
            self.assertGreaterEqual(font, 16 if kind == 'input' else 12, control)
            if kind != 'div':
                self.assertGreaterEqual(min(w, h), 44, control)
        # Each row of results on one line, k before its count, expected count and deviation,
        # the rows one under the other.
        rows = [self.browser.js(
            "return arguments[0].map(id => {"
            "  const r = document.getElementById(id).getBoundingClientRect();"
            "  return [r.left, r.top + r.height / 2]; });",
            [label] + [box % k for box in COLUMNS.values()]) for k, label in enumerate(ROW_LABELS)]
        for k, row in enumerate(rows):
            self.assertEqual(row, sorted(row), k)
            self.assertEqual({round(middle) for _, middle in row}, {round(row[0][1])}, k)
            self.assertGreater(row[0][1], rows[k - 1][0][1] if k else 0, k)
        self.assertEqual(self.tab_order(), TAB_ORDER)


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1] + sys.argv[4:], verbosity=2)
