#!/usr/bin/python3
"""The README's pictures of the page, in headless Chromium after the run of the desktop's picture
(1,000 draws on 7 10 14 20 30 40) under the desktop picture's clock (07/12/2026 12:00, universal
time): the form as on a desktop, the page at 640 CSS pixels, and on a phone 390 pixels wide.
Usage: page_screenshots.py PAGE DESKTOP_PNG WIDTH_640_PNG PHONE_PNG"""
import os
import sys

import browsers

CLOCK = ('<script>Date.now = () => Date.UTC(2026, 11, 7, 12);'
         'Date.prototype.getTimezoneOffset = () => 0;</script>')


def run(browser, url):
    browser.open_form(url)
    browser.enter('1000', '7 10 14 20 30 40')
    browser.simulate()
    browser.click('TxtNbTirages')


def main():
    page, desktop, wide, phone = sys.argv[1:5]
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
        height = browser.js('return document.scrollingElement.scrollHeight;')
        browser.emulate_phone(390, height, 1)
        browser.screenshot().save(phone)
    finally:
        browser.quit()
        os.remove(clocked)


if __name__ == '__main__':
    main()
