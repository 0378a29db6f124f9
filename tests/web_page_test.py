#!/usr/bin/python3
"""The web page in headless Chromium: its designed form, drawn and named; the clicks' results
against loto-sim's; runs nested, cleared and quit. Usage: web_page_test.py PAGE LOTO_SIM"""
import functools
import http.server
import io
import json
import os
import subprocess
import sys
import tempfile
import threading
import unittest

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

PAGE, LOTO_SIM = os.path.abspath(sys.argv[1]), sys.argv[2]
FAVOURITES = ['Txt1erN°', 'Txt2emeN°', 'Txt3emeN°', 'Txt4emeN°', 'Txt5emeN°', 'Txt6emeN°']
COLUMNS = {'observed': 'TxtStat%dN°', 'expected': 'TxtTheo%dN°', 'deviation': 'TxtEcart%dN°'}
WHITE, GREY, BLACK, DARK_GREY = (255, 255, 255), (192, 192, 192), (0, 0, 0), (128, 128, 128)


def start_browser():
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=800,700',
                     '--force-device-scale-factor=1', '--allow-file-access-from-files']:
        options.add_argument(argument)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


class WebPage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.browser = start_browser()
        cls.addClassCleanup(cls.browser.quit)

    def open(self, url='file://' + PAGE):
        self.browser.get(url)
        WebDriverWait(self.browser, 30).until(lambda b: self.shown('TxtNbTirages'))

    def element(self, control):
        return self.browser.find_element(By.ID, control)

    def shown(self, control):  # a label of no size too
        return self.browser.execute_script(
            "const e = document.getElementById(arguments[0]); return !!e && e.checkVisibility();",
            control)

    def value(self, control):
        return self.element(control).get_attribute('value')

    def results(self):
        return {column: [self.value(box % k) for k in range(7)] for column, box in COLUMNS.items()}

    def type_grid(self, count, favourites):
        for control, text in zip(['TxtNbTirages'] + FAVOURITES, [count] + favourites.split()):
            self.element(control).clear()
            self.element(control).send_keys(text)

    def run_to_end(self):
        self.element('CmdSimuler').click()
        WebDriverWait(self.browser, 60).until(
            lambda b: (self.shown('LblFinTirages') or self.shown('LblValidGrille'))
            and not self.shown('LblPatientez') and not self.shown('LblTest'))

    def pixels(self):
        left, top = self.browser.execute_script(
            "const r = document.getElementById('Form1').getBoundingClientRect();"
            "return [r.left, r.top];")
        image = Image.open(io.BytesIO(self.browser.get_screenshot_as_png())).convert('RGB')
        return lambda x, y: image.getpixel((int(left) + x, int(top) + y))

    def test_the_designed_form(self):
        self.open()
        self.assertEqual(self.element('Form1').size, {'width': 607, 'height': 455})
        pixel = self.pixels()
        # Control, designed place and size in pixels, face, outer bevel's top-left pixel.
        rows = [
            ('LblNbTirages', (8, 8, 345, 25), (192, 255, 192), None),
            ('LblAucunN°', (8, 176, 81, 25), (192, 255, 255), None),
            ('LblRésultats', (8, 120, 585, 17), (255, 255, 128), None),
            ('Txt1erN°', (8, 72, 41, 40), WHITE, DARK_GREY),
            ('TxtStat3N°', (96, 272, 177, 24), WHITE, DARK_GREY),
            ('TxtNbTirages', (360, 8, 233, 35), WHITE, WHITE),  # drawn without its border
            ('CmdSimuler', (256, 48, 97, 57), (192, 192, 255), WHITE),
            ('CmdQuitter', (488, 384, 105, 49), (192, 192, 255), WHITE),
        ]
        for control, (x, y, width, height), face, bevel in rows:
            place = self.browser.execute_script(
                "const f = document.getElementById('Form1').getBoundingClientRect();"
                "const r = arguments[0].getBoundingClientRect();"
                "return [r.left - f.left, r.top - f.top, r.width, r.height];",
                self.element(control))
            self.assertEqual(place, [x, y, width, height], control)
            self.assertEqual(pixel(x + 4, y + height - 5), face, control)
            if bevel:
                self.assertEqual(pixel(x, y), bevel, control)
        self.assertEqual(pixel(300, 260), GREY)  # the form between the rows
        self.assertEqual(pixel(300, 400), GREY)  # where the hidden messages would be
        self.assertEqual(pixel(256 + 96, 48 + 56), BLACK)  # a raised button's dark corner
        for message in ['LblValidGrille', 'LblTest', 'LblPatientez', 'LblFinTirages']:
            self.assertFalse(self.shown(message), message)
        self.assertEqual(self.element('LblHeureFin').get_attribute('textContent'),
                         '   DATE ET HEURE PREVUES POUR    LA FIN DES TIRAGES')
        style = self.browser.execute_script(
            "const s = getComputedStyle(arguments[0]); return [s.fontSize, s.fontWeight, s.color];",
            self.element('TxtNbTirages'))
        self.assertEqual(style, ['27px', '700', 'rgb(0, 0, 255)'])

    def test_names_and_keyboard(self):
        self.open()
        names = {
            'TxtNbTirages': 'Nombre de tirages',
            'Txt1erN°': '1er numéro',
            'TxtStat3N°': 'Nb de fois sortis, 3 bons numéros',
            'TxtEcart0N°': 'Écart en %, aucun bon numéro',
            'LblRésultats': 'RESULTATS',
            'CmdSimuler': 'Simuler',
        }
        for control, name in names.items():
            self.assertEqual(self.element(control).accessible_name, name, control)
        boxes = self.browser.find_elements(By.CSS_SELECTOR, '#Form1 input')
        self.assertEqual(len({box.get_attribute('aria-label') for box in boxes}), 29)
        for message in ['LblValidGrille', 'LblTest', 'LblPatientez', 'LblFinTirages']:
            self.assertEqual(self.element(message).get_attribute('role'), 'alert', message)
        visited = []
        for _ in range(10):
            visited.append(self.browser.switch_to.active_element.get_attribute('id'))
            self.browser.switch_to.active_element.send_keys(Keys.TAB)
        self.assertEqual(visited, ['TxtNbTirages'] + FAVOURITES +
                         ['CmdSimuler', 'CmdEffacer', 'CmdQuitter'])
        self.element('Txt6emeN°').send_keys('4' * 1001)  # a box holds 1,000 characters
        self.assertEqual(self.value('Txt6emeN°'), '4' * 1000)

    def test_clicks_draw_as_loto_sim(self):
        lines = [('1000', '7 10 14 20 30 40'), ('250000', '1 2 3 4 5 6'),
                 ('10', '7 8 9 10 11 7'), ('5000', '49 48 47 46 45 44')]
        batch = ''.join(count + ';' + favourites.replace(' ', ';') + '\n'
                        for count, favourites in lines)
        expected = [json.loads(line) for line in subprocess.run(
            [LOTO_SIM, '--batch', '--json', '--locale', 'fr_FR'], input=batch, text=True,
            capture_output=True).stdout.splitlines()]
        # Served over HTTP as any static host would, a fresh page each time: a fresh start.
        handler = functools.partial(http.server.SimpleHTTPRequestHandler,
                                    directory=PAGE.rsplit('/', 1)[0])
        server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)
        self.open('http://127.0.0.1:%d/%s' % (server.server_port, PAGE.rsplit('/', 1)[1]))
        for (count, favourites), want in zip(lines, expected):
            self.type_grid(count, favourites)
            self.run_to_end()
            texts = {column: want['texts'][column] for column in COLUMNS}
            self.assertEqual(self.results(), texts, count)
            self.assertEqual(self.shown('LblValidGrille'), not want['valid'], count)
            self.assertEqual(self.value('TxtDateFin') == '', want['estimate'] is None, count)

    def test_nested_clear_and_quit(self):
        self.open()
        self.type_grid('1E10', '7 10 14 20 30 40')
        self.element('CmdSimuler').click()
        WebDriverWait(self.browser, 30).until(lambda b: self.shown('LblPatientez'))
        self.type_grid('1000', '7 10 14 20 30 40')  # typing works during a run
        self.element('CmdSimuler').click()
        WebDriverWait(self.browser, 30).until(lambda b: self.shown('LblFinTirages'))
        observed = [int(text) for text in self.results()['observed']]
        self.assertEqual(sum(observed), 1000)
        self.assertNotEqual(self.value('TxtDateFin'), '')
        self.element('CmdEffacer').send_keys(Keys.SPACE)  # the space bar presses a button
        WebDriverWait(self.browser, 10).until(lambda b: self.value('TxtDateFin') == '')
        self.assertEqual(self.results(), {column: [''] * 7 for column in COLUMNS})
        self.assertFalse(self.shown('LblFinTirages'))  # no results to announce
        self.element('CmdQuitter').click()
        # Every run stops: the page says so once the program has returned.
        WebDriverWait(self.browser, 10).until(lambda b: self.shown('Ended'))
        self.assertFalse(self.shown('Form1'))
        self.assertIn('rechargez la page', self.element('Ended').text)

    def test_a_draw_count_beyond_the_range_says_why(self):
        self.open()
        self.type_grid('-1e400', '1 2 3 4 5 6')
        self.element('CmdSimuler').click()
        WebDriverWait(self.browser, 30).until(lambda b: self.shown('LblValidNbTirages'))
        self.assertEqual(self.element('LblValidNbTirages').get_attribute('role'), 'alert')
        self.assertEqual(self.element('LblValidNbTirages').accessible_name,
                         'Nombre de tirages illisible : hors des limites du PC')
        self.assertFalse(self.shown('LblValidGrille'))
        self.assertEqual(self.results(), {column: [''] * 7 for column in COLUMNS})
        self.assertEqual(self.pixels()(120, 390), WHITE)

    def clocked_page(self, utc, offset_minutes):
        """A copy of the page whose clock reads `utc` (Date.UTC's arguments) in a time zone
        `offset_minutes` east of universal time."""
        clock = ('<script>Date.now = () => Date.UTC(%s);'
                 'Date.prototype.getTimezoneOffset = () => %d;</script>'
                 % (', '.join(map(str, utc)), -offset_minutes))
        with open(PAGE, encoding='utf-8') as page:
            html = page.read().replace('<head>', '<head>' + clock, 1)
        handle, path = tempfile.mkstemp(suffix='.html', dir=os.path.dirname(PAGE))
        with os.fdopen(handle, 'w', encoding='utf-8') as copy:
            copy.write(html)
        self.addCleanup(os.remove, path)
        return 'file://' + path

    def test_estimates_within_the_range_of_local_dates(self):
        # Tokyo and Kiritimati at 20:00 on 31/12/9999 in universal time are in 10000 already;
        # New York at 03:00 on 01/01/10000 is still in 9999.
        for utc, offset, estimate in [((9999, 11, 31, 20), 9 * 60, ''),
                                      ((9999, 11, 31, 20), 14 * 60, ''),
                                      ((9999, 11, 31, 14), 9 * 60, '31/12/9999 23:00:0'),
                                      ((10000, 0, 1, 3), -5 * 60, '31/12/9999 22:00:0')]:
            self.open(self.clocked_page(utc, offset))
            self.type_grid('100', '1 2 3 4 5 6')
            self.run_to_end()
            self.assertEqual(self.value('TxtDateFin')[:len(estimate) or None], estimate, utc)
            self.assertNotEqual(self.value('TxtStat0N°'), '', utc)

    def test_opens_from_a_file_alone(self):
        self.open()
        self.type_grid('100', '1 2 3 4 5 6')
        self.run_to_end()
        errors = [entry for entry in self.browser.get_log('browser')
                  if entry['level'] in ('SEVERE', 'WARNING')]
        self.assertEqual(errors, [])
        fetched = self.browser.execute_script(
            "return performance.getEntriesByType('resource').map(e => e.name);")
        self.assertEqual(fetched, [])


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1], verbosity=2)
