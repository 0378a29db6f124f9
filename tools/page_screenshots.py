#!/usr/bin/python3
"""The README's pictures of the page, in headless Chromium after the run of the desktop's picture
(1,000 draws on 7 10 14 20 30 40) under the desktop picture's clock (07/12/2026 12:00, universal
time): the form as on a desktop, the page at 640 CSS pixels, and on a phone 390 pixels wide; then
the panel of any game after a run of the README's EuroMillions ticket on a desktop, and of its
6/49 ticket on a phone, with the audit of a history of 2,000 draws of 6/49 (seeded) there; last
that audit on a desktop.
Usage: page_screenshots.py PAGE DESKTOP_PNG WIDTH_640_PNG PHONE_PNG PANEL_PNG PANEL_PHONE_PNG
       AUDIT_PNG AUDIT_PHONE_PNG"""
import os
import random
import sys

import browsers

CLOCK = ('<script>Date.now = () => Date.UTC(2026, 11, 7, 12);'
         'Date.prototype.getTimezoneOffset = () => 0;</script>')


def run(browser, url):
    browser.open_form(url)
    browser.enter('1000', '7 10 14 20 30 40')
    browser.simulate()
    browser.click('TxtNbTirages')


EUROMILLIONS = {'PJeu': '5/50+2/12', 'PGrille': '3 14 25 36 47', 'PSeconde': '2 9',
         'PTirages': '1000000', 'PPrix': '2.50', 'PSemaine': '2',
         'PGains': '5+2=17000000 5+1=300000 5+0=50000 4+2=2000 4+1=150 3+2=60 2+2=20 3+1=15 '
                   '3+0=12 1+2=10 2+1=8'}
SIX_OF_49 = {'PJeu': '6/49', 'PGrille': '7 10 14 20 30 40', 'PTirages': '1000000',
             'PPrix': '2.20', 'PSemaine': '3', 'PGains': '3=5 4=50 5=1500 6=2000000'}


def run_panel(browser, fields):
    for box, text in fields.items():
        browser.js("document.getElementById(arguments[0]).value = arguments[1];", box, text)
    browser.click('PLancer')
    browser.wait("return document.getElementById('PEtat').textContent.startsWith('Termin');",
                 timeout=300)


def element_shot(browser, element, path):
    left, top, width, height = browser.js(
        "const r = document.getElementById(arguments[0]).getBoundingClientRect();"
        "return [r.left + scrollX, r.top + scrollY, r.width, r.height];", element)
    browser.screenshot().crop((left, top, left + width, top + height)).save(path)


# A dated history of 2,000 draws of 6/49, the same every time, dropped on the audit's section.
HISTORY = 'Date;B1;B2;B3;B4;B5;B6\n' + ''.join(
    '%04d-%02d-%02d;%s\n' % (2000 + d // 300, d // 25 % 12 + 1, d % 25 + 1,
                            ';'.join(map(str, sorted(random.Random(d).sample(range(1, 50), 6)))))
    for d in range(2000))
DROP = """
    const files = new DataTransfer();
    files.items.add(new File([arguments[0]], 'tirages.csv', {type: 'text/csv'}));
    document.getElementById('Audit').dispatchEvent(
        new DragEvent('drop', {dataTransfer: files, bubbles: true}));"""


def run_audit(browser):
    browser.js(DROP, HISTORY)
    browser.wait("return document.getElementById('AEtat').textContent.endsWith('prêt.');")
    browser.click('ALancer')
    browser.wait("return document.getElementById('AEtat').textContent === 'Audit terminé.';",
                 timeout=300)


def main():
    page, desktop, wide, phone, panel, panel_phone, audit, audit_phone = sys.argv[1:9]
    clocked = browsers.page_copy(page, CLOCK)
    browser = browsers.start('chromium')
    try:
        run(browser, 'file://' + clocked)
        left, top, width, height = browser.js(
            "const r = document.getElementById('Form1').getBoundingClientRect();"
            "return [r.left, r.top, r.width, r.height];")
        browser.screenshot().crop((left, top, left + width, top + height)).save(desktop)
        browser.set_viewport(640, 480)
        browser.screenshot().save(wide)
        browser.emulate_phone(390, 844, 1)
        run(browser, 'file://' + clocked)
        height = browser.js("return document.getElementById('Panneau').offsetTop;")
        browser.emulate_phone(390, height, 1)
        browser.screenshot().save(phone)
        run_panel(browser, SIX_OF_49)
        browser.emulate_phone(390, browser.js('return document.scrollingElement.scrollHeight;'), 1)
        element_shot(browser, 'Panneau', panel_phone)
        run_audit(browser)
        browser.emulate_phone(390, browser.js('return document.scrollingElement.scrollHeight;'), 1)
        element_shot(browser, 'Audit', audit_phone)
        browser.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled', {'enabled': False})
        browser.open_form('file://' + clocked)
        browser.set_viewport(800, 2000)
        run_panel(browser, EUROMILLIONS)
        browser.set_viewport(800, browser.js('return document.scrollingElement.scrollHeight;'))
        element_shot(browser, 'Panneau', panel)
        run_audit(browser)
        browser.set_viewport(800, browser.js('return document.scrollingElement.scrollHeight;'))
        element_shot(browser, 'Audit', audit)
    finally:
        browser.quit()
        os.remove(clocked)


if __name__ == '__main__':
    main()
