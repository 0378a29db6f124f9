#!/usr/bin/python3
"""The README's picture of the page: headless Chromium after the run of the desktop's picture
(1,000 draws on 7 10 14 20 30 40), the estimate from the browser's clock.
Usage: screenshot.py PAGE PNG"""
import os
import sys
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

options = webdriver.ChromeOptions()
options.binary_location = '/usr/bin/chromium'
for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--window-size=800,700',
                 '--force-device-scale-factor=1']:
    options.add_argument(argument)
browser = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
try:
    browser.get('file://' + os.path.abspath(sys.argv[1]))
    boxes = ['TxtNbTirages', 'Txt1erN°', 'Txt2emeN°', 'Txt3emeN°', 'Txt4emeN°', 'Txt5emeN°',
             'Txt6emeN°']
    for box, text in zip(boxes, ['1000', '7', '10', '14', '20', '30', '40']):
        browser.find_element(By.ID, box).send_keys(text)
    browser.find_element(By.ID, 'CmdSimuler').click()
    time.sleep(1)
    browser.find_element(By.ID, 'TxtNbTirages').click()
    browser.find_element(By.ID, 'Form1').screenshot(sys.argv[2])
finally:
    browser.quit()
