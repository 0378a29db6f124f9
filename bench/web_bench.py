#!/usr/bin/python3
"""Draws per second of the web page in headless Chromium on a 100-million-draw run, beside native
loto-sim on one thread (portable lanes, then the best), and the delay of clicks during the run.
Usage: web_bench.py LOTO_SIM PAGE [SIMD128_PAGE]"""
import json
import os
import statistics
import subprocess
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

DRAWS = 100_000_000
GRID = ['7', '10', '14', '20', '30', '40']
BOXES = ['TxtNbTirages', 'Txt1erN°', 'Txt2emeN°', 'Txt3emeN°', 'Txt4emeN°', 'Txt5emeN°',
         'Txt6emeN°']


def page_rate(page):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu']:
        options.add_argument(argument)
    browser = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    try:
        browser.get('file://' + os.path.abspath(page))
        for box, text in zip(BOXES, [str(DRAWS)] + GRID):
            browser.find_element(By.ID, box).send_keys(text)
        # The draws run while the wait message shows: time them from the page itself.
        browser.execute_script("""
            const message = document.getElementById('LblPatientez');
            window.drawTimes = [];
            new MutationObserver(() => window.drawTimes.push(performance.now()))
                .observe(message, {attributes: true, attributeFilter: ['hidden']});""")
        browser.find_element(By.ID, 'CmdSimuler').click()
        WebDriverWait(browser, 60).until(
            lambda b: b.find_element(By.ID, 'LblPatientez').is_displayed())
        # Clicks as the browser receives a mouse's, on EFFACER, every 20 ms or so.
        x, y = browser.execute_script(
            "const r = document.getElementById('CmdEffacer').getBoundingClientRect();"
            "return [r.left + r.width / 2, r.top + r.height / 2];")
        while browser.find_element(By.ID, 'LblPatientez').is_displayed():
            for kind in ['mousePressed', 'mouseReleased']:
                browser.execute_cdp_cmd('Input.dispatchMouseEvent', {
                    'type': kind, 'x': x, 'y': y, 'button': 'left', 'clickCount': 1})
            time.sleep(0.02)
        shown, hidden = browser.execute_script('return window.drawTimes;')[:2]
        delays = browser.execute_script('return Module.clickDelays;')
        return DRAWS / ((hidden - shown) / 1000), delays
    finally:
        browser.quit()


def native_rate(loto_sim, lanes):
    environment = dict(os.environ, LOTO_LANES=lanes)
    report = json.loads(subprocess.run(
        [loto_sim, '--threads', '1', '--json', str(DRAWS)] + GRID, env=environment,
        capture_output=True, text=True, check=True).stdout)
    return report['draws'] / report['seconds']


def main():
    loto_sim, pages = sys.argv[1], sys.argv[2:]
    flags = open('/proc/cpuinfo').read().split()
    lanes = 'avx512' if 'avx512bw' in flags else 'avx2' if 'avx2' in flags else 'portable'
    portable = native_rate(loto_sim, 'portable')
    fastest = native_rate(loto_sim, lanes)
    print('%-40s %12s %7s' % ('100,000,000 draws, one thread', 'draws/s', 'ratio'))
    print('%-40s %12.0f %7.2f' % ('native loto-sim, portable', portable, 1.0))
    print('%-40s %12.0f %7.2f' % ('native loto-sim, ' + lanes, fastest, fastest / portable))
    for page, name in zip(pages, ['web page (headless Chromium)', 'web page with SIMD128 lanes']):
        rate, delays = page_rate(page)
        print('%-40s %12.0f %7.2f' % (name, rate, rate / portable))
        print('  click delay during the run: median %.1f ms, worst %.1f ms over %d clicks'
              % (statistics.median(delays), max(delays), len(delays)))
    print('goals: the page at least 0.50 of native portable; clicks 15 ms median, 50 ms worst')


if __name__ == '__main__':
    main()
