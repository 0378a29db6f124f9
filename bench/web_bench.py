#!/usr/bin/python3
"""The page in each browser engine on a run of 100 million draws, beside native loto-sim on one
thread with the portable path, measured side by side in one run: draws per second, frames drawn
during the run, and the delay of clicks on EFFACER made every 50 ms or so during it; the same for
a run of the panel of any game (6/49 with prizes, watched for its first hits); then the panel
drawing each example game beside native loto-sim on the same game, both watched for first hits;
last the audit of a file of 100,000 draws in the page beside loto-sim's on one thread: its time and
the longest the page went without a frame.
Usage: web_bench.py LOTO_SIM PAGE [ENGINE ...] (WebKitGTK under xvfb-run)."""
import json
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tools'))
import browsers  # noqa: E402

DRAWS = 100_000_000
GRID = ['7', '10', '14', '20', '30', '40']
GOALS = {'ratio': 0.5, 'fps': 30, 'click_ms': 20}

# From the page itself: when the wait message shows and hides (the requested draws), and every
# frame drawn meanwhile.
WATCH = """
    const message = document.getElementById(arguments[0]);
    window.bench = {shown: [], frames: [], ended: 0};
    new MutationObserver(() => { bench.shown.push(performance.now()); bench.ended = Date.now(); })
        .observe(message, {attributes: true, attributeFilter: ['hidden']});
    const frame = at => { bench.frames.push(at); requestAnimationFrame(frame); };
    requestAnimationFrame(frame);"""


# How far the estimate (to the second, in local time) lies after the true end of the draws.
ESTIMATE_ERROR = """
    const [day, month, year, hours, minutes, seconds] =
        document.getElementById('TxtDateFin').value.split(/[/ :]/).map(Number);
    return (new Date(year, month - 1, day, hours, minutes, seconds) - bench.ended) / 1000;"""


# The panel's fields for its run, and the element whose showing and hiding bound the run.
PANEL = {'PTirages': str(DRAWS), 'PGrille': ' '.join(GRID), 'PPrix': '2.20',
         'PGains': '3=5 4=50 5=1500 6=2000000'}


# The panel's first line of JSON, as its link offers it: the draws and their seconds, measured by
# the page as loto-sim measures its own (the speed test and the figures left out).
PANEL_JSON = """
    const request = new XMLHttpRequest();
    request.open('GET', document.getElementById('PJson').href, false);
    request.send();
    return request.responseText;"""


# Each example game of the panel's list with a ticket, and the values of generator a draw takes.
GAMES = [('6/49', '7 10 14 20 30 40', '', 6.33), ('6/45', '3 9 17 28 41 45', '', 6.36),
         ('7/35', '1 5 9 13 20 27 35', '', 7.64), ('6/90', '1 17 33 49 65 90', '', 6.17),
         ('20/70', '2 9 16 23 30 37 44 51 58 65', '', 23.4),
         ('6/49+bonus', '5 15 25 35 45 49', '', 7.44), ('5/50+2/12', '3 14 25 36 47', '2 9', 7.31),
         ('5/49+1/10', '1 12 23 34 45', '10', 6.22), ('5/69+1/26', '7 19 33 52 69', '13', 6.15)]
GAME_VALUES = 2e8  # a few tenths of a second natively


def page_figures(engine, page, clicks_during=True, panel=False, fields=None):
    fields = fields or PANEL
    browser = browsers.start(engine)
    try:
        browser.open_form('file://' + os.path.abspath(page))
        browser.enter(str(DRAWS), ' '.join(GRID))
        for box, text in fields.items():
            browser.js("document.getElementById(arguments[0]).value = arguments[1];", box, text)
        time.sleep(1.5)  # as a user takes a moment before the first click
        browser.js(WATCH, 'PProgres' if panel else 'LblPatientez')
        browser.click('PLancer' if panel else 'CmdSimuler')
        browser.wait('return bench.shown.length >= 1;', timeout=120)
        clicks = 0
        while len(browser.js('return bench.shown;')) < 2:
            if clicks_during:
                browser.click('CmdEffacer')  # as a mouse's click reaches the page
                clicks += 1
            time.sleep(0.05)
        figures = browser.js('return [bench.shown, bench.frames, Module.clickDelays];')
        late = None if clicks_during or panel else browser.js(ESTIMATE_ERROR)
        report = json.loads(browser.js(PANEL_JSON).splitlines()[0]) if panel else None
    finally:
        browser.quit()
    (shown, hidden), frames, delays = figures[0][:2], figures[1], figures[2]
    during = [at for at in frames if shown <= at <= hidden]
    gaps = [b - a for a, b in zip(during, during[1:])]
    seconds = (hidden - shown) / 1000
    return {'rate': int(fields['PTirages']) / seconds, 'fps': len(during) / seconds,
            'longest_frame_gap': max(gaps) if gaps else seconds * 1000,
            'click_median': statistics.median(delays[1:]) if len(delays) > 1 else 0.0,
            'click_worst': max(delays[1:]) if len(delays) > 1 else 0.0, 'clicks': clicks,
            'estimate_late': late,
            'draws_rate': report['draws'] / report['seconds'] if report else None}


def native_rate(loto_sim, options=(), draws=DRAWS, ticket=GRID):
    environment = dict(os.environ, LOTO_LANES='portable')
    report = json.loads(subprocess.run(
        [loto_sim, '--threads', '1', '--json', *options, str(draws)] + list(ticket),
        env=environment, capture_output=True, text=True, check=True).stdout.splitlines()[0])
    return report['draws'] / report['seconds']


def games(loto_sim, page, engines):
    """Each example game in the panel against native loto-sim, both watched for first hits."""
    print('\nEach game in the panel, watched for its first hits, against native loto-sim on the '
          'portable path with one thread, watched alike (goal %.2f): the draws a second that '
          'each reports (its speed test left out), and in brackets the whole click of the panel, '
          'its speed test and figures in' % GOALS['ratio'])
    print('%-12s %12s' % ('game', 'native') + ''.join(' %25s' % engine for engine in engines))
    for game, ticket, second, values in GAMES:
        draws = int(GAME_VALUES / values)
        native = native_rate(loto_sim, ('--game', game, '--price', '2'), draws,
                             ticket.split() + (['+'] + second.split() if second else []))
        row = '%-12s %12.0f' % (game, native)
        for engine in engines:
            fields = {'PJeu': game, 'PGrille': ticket, 'PSeconde': second,
                      'PTirages': str(draws), 'PPrix': '', 'PGains': ''}
            runs = [page_figures(engine, page, clicks_during=False, panel=True, fields=fields)
                    for _ in range(2)]
            rate = max(run['draws_rate'] for run in runs)
            click = max(run['rate'] for run in runs)
            ratio = rate / native
            mark = ' ' if ratio >= GOALS['ratio'] else '<'
            row += ' %11.0f %5.2f%s (%4.2f)' % (rate, ratio, mark, click / native)
        print(row)


AUDIT_DRAWS = 100_000
AUDIT_GOALS = {'seconds': 30, 'frame_ms': 200}
# The file given to the page as a user drops it; the audit started; every frame until it ends.
AUDIT = """
    const [text, done] = arguments;
    const files = new DataTransfer();
    files.items.add(new File([text], 'tirages.csv', {type: 'text/csv'}));
    document.getElementById('Audit').dispatchEvent(
        new DragEvent('drop', {dataTransfer: files, bubbles: true}));
    window.bench = {frames: [], start: 0, end: 0};
    const frame = at => { bench.frames.push(at); if (!bench.end) requestAnimationFrame(frame); };
    const status = document.getElementById('AEtat');
    new MutationObserver(() => {
        if (status.textContent.endsWith('prêt.') && !bench.start) {
            bench.start = performance.now();
            requestAnimationFrame(frame);
            document.getElementById('ALancer').click();
        } else if (status.textContent.startsWith(done)) {
            bench.end = performance.now();
        }
    }).observe(status, {childList: true, characterData: true, subtree: true});"""


def audit(loto_sim, page, engines):
    """A dated 6/49 history of 100,000 draws audited in each engine's page and by loto-sim."""
    draws = [sorted(random.Random(d).sample(range(1, 50), 6)) for d in range(AUDIT_DRAWS)]
    text = 'B1;B2;B3;B4;B5;B6\n' + ''.join(';'.join(map(str, d)) + '\n' for d in draws)
    with tempfile.NamedTemporaryFile('w', suffix='.csv') as history:
        history.write(text)
        history.flush()
        start = time.monotonic()
        subprocess.run([loto_sim, '--audit', history.name, '--columns', 'B1,B2,B3,B4,B5,B6',
                        '--threads', '1'], check=True, capture_output=True)
        native = time.monotonic() - start
    print('\nThe audit of %s draws of 6/49, one thread (goals: %d s, no frame later than %d ms)'
          % (f'{AUDIT_DRAWS:,}', AUDIT_GOALS['seconds'], AUDIT_GOALS['frame_ms']))
    print('%-26s %8.1f s' % ('native loto-sim', native))
    for engine in engines:
        browser = browsers.start(engine)
        try:
            browser.open_form('file://' + os.path.abspath(page))
            browser.js(AUDIT, text, 'Audit terminé')
            browser.wait('return bench.end;', timeout=600)
            start, end, frames = browser.js('return [bench.start, bench.end, bench.frames];')
        finally:
            browser.quit()
        gaps = [b - a for a, b in zip(frames, frames[1:])] or [end - start]
        seconds, longest = (end - start) / 1000, max(gaps)
        verdict = ('ok' if seconds <= AUDIT_GOALS['seconds'] and longest <= AUDIT_GOALS['frame_ms']
                   else 'goal missed')
        print('%-26s %8.1f s %6.2f x native, longest frame %4.0f ms  %s'
              % ('page in ' + engine, seconds, seconds / native, longest, verdict))


def main():
    loto_sim, page = sys.argv[1], sys.argv[2]
    engines = sys.argv[3:] or browsers.ENGINES
    portable = native_rate(loto_sim)
    print('%s draws, one thread; goals: %.2f x native portable, %d frames/s, clicks within %d ms'
          % (f'{DRAWS:,}', GOALS['ratio'], GOALS['fps'], GOALS['click_ms']))
    print('%-26s %11s %6s %8s %13s %17s' % ('', 'draws/s', 'x nat.', 'frames/s',
                                           'longest frame', 'click median/max'))
    print('%-26s %11.0f %6.2f' % ('native loto-sim, portable', portable, 1.0))
    for engine in engines:
        for panel in (False, True):
            # Speed, frames and the estimate on a run left alone; the clicks' delay on another,
            # as a driver's clicks hold some engines' frames back (Firefox's wait for one each).
            alone = page_figures(engine, page, clicks_during=False, panel=panel)
            clicked = page_figures(engine, page, panel=panel)
            ratio = alone['rate'] / portable
            verdict = ('ok' if ratio >= GOALS['ratio'] and alone['fps'] >= GOALS['fps']
                       and clicked['click_worst'] <= GOALS['click_ms'] else 'goal missed')
            print('%-26s %11.0f %6.2f %8.1f %10.0f ms %8.1f/%5.1f ms  %s'
                  % (('panel in ' if panel else 'page in ') + engine, alone['rate'], ratio,
                     alone['fps'], alone['longest_frame_gap'], clicked['click_median'],
                     clicked['click_worst'], verdict))
            if not panel:
                print('%-26s estimate %+.0f s after the end, %d clicks'
                      % ('', alone['estimate_late'], clicked['clicks']))
    games(loto_sim, page, engines)
    audit(loto_sim, page, engines)


if __name__ == '__main__':
    main()
