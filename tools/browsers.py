"""The three browser engines that can be had on Debian, driven alike: Chromium and WebKitGTK
through WebDriver (Debian's chromedriver and WebKitWebDriver, with python3-selenium), Firefox ESR
through WebDriver BiDi over its own socket (Debian has no geckodriver). WebKitGTK's MiniBrowser
needs a display: run it under xvfb-run. Every check is written once, against Browser."""
import base64
import io
import json
import os
import re
import shutil
import subprocess
import tempfile
import time

from PIL import Image

ENGINES = ['chromium', 'firefox', 'webkit']
KEYS = {'Tab': '\ue004', 'Space': '\ue00d', 'Enter': '\ue007'}
# The boxes that a user types into: the number of draws, then the six favourites.
BOXES = ['TxtNbTirages', 'Txt1erN°', 'Txt2emeN°', 'Txt3emeN°', 'Txt4emeN°', 'Txt5emeN°',
         'Txt6emeN°']


def page_copy(page, head):
    """A copy of the page beside it, `head` at the start of its head; its path."""
    with open(page, encoding='utf-8') as source:
        html = source.read().replace('<head>', '<head>' + head, 1)
    handle, path = tempfile.mkstemp(suffix='.html', dir=os.path.dirname(os.path.abspath(page)))
    with os.fdopen(handle, 'w', encoding='utf-8') as copy:
        copy.write(html)
    return path

# A paste's event (Firefox's ignores a copy given to its constructor), or the event before an
# insert, with the text that the engine gives there.
INSERT = (
    "const [kind, text] = arguments, box = document.activeElement;"
    "if (kind !== 'paste') {"
    "  return box.dispatchEvent(new InputEvent('beforeinput', {"
    "      inputType: kind, data: text, bubbles: true, cancelable: true}));"
    "}"
    "const copied = new DataTransfer(); copied.setData('text/plain', text);"
    "const paste = new ClipboardEvent('paste', {bubbles: true, cancelable: true});"
    "Object.defineProperty(paste, 'clipboardData', {value: copied});"
    "box.dispatchEvent(paste);")


class Browser:
    """One engine with one page open. A script is the body of a function whose arguments are
    `args`; what it returns comes back through JSON."""

    # Firefox 153 takes WebDriver BiDi's keys into boxes and from one control to the next, but
    # does not let them press a button, as the space bar of a keyboard does.
    keys_press_buttons = True

    def __init__(self, engine):
        self.engine = engine

    def js(self, body, *args):
        wrapped = ('return JSON.stringify((function () {' + body +
                   '}).apply(null, JSON.parse(arguments[0])) ?? null);')
        return json.loads(self._run(wrapped, json.dumps(list(args))))

    def wait(self, body, *args, timeout=60):
        """Polls the script until it returns something true; returns that."""
        deadline = time.monotonic() + timeout
        while True:
            value = self.js(body, *args)
            if value or time.monotonic() > deadline:
                if not value:
                    raise TimeoutError(body)
                return value
            time.sleep(0.05)

    def open_form(self, url):
        """Opens the page and waits for its form."""
        self.open(url)
        self.wait("return !!document.getElementById('TxtNbTirages')")

    def enter(self, count, favourites):
        """Types the number of draws and the six favourites (one text, split at blanks)."""
        for box, text in zip(BOXES, [count] + favourites.split()):
            self.type(box, text)

    def simulate(self):
        """Clicks SIMULER and waits for the command to end, with results or a refused grid."""
        self.click('CmdSimuler')
        self.wait("const shown = id => document.getElementById(id).checkVisibility();"
                  "return (shown('LblFinTirages') || shown('LblValidGrille'))"
                  "    && !shown('LblPatientez') && !shown('LblTest');")

    def value(self, control):
        return self.js('return document.getElementById(arguments[0]).value;', control)

    def shown(self, control):  # a label of no size too
        return self.js('const e = document.getElementById(arguments[0]);'
                       'return !!e && e.checkVisibility();', control)

    def focused(self):
        return self.js('return document.activeElement && document.activeElement.id;')

    def type(self, control, text):
        """Empties the box, then types `text` into it key by key."""
        self.js('const e = document.getElementById(arguments[0]);'
                'e.focus({preventScroll: true}); e.value = "";', control)
        self._keys(text)

    def key(self, name):
        """Presses a key (Tab, Space, Enter) on the focused control."""
        self._keys(KEYS[name])

    def insert(self, kind, text):
        """Hands `text` to the focused box whole, as the engine hands it to the page: pasted
        ('paste'), or an insert of the input type `kind` (insertFromDrop, insertText ...)."""
        self.js(INSERT, kind, text)

    def screenshot(self):
        return Image.open(io.BytesIO(self._png())).convert('RGB')


class WebDriverBrowser(Browser):
    """Chromium or WebKitGTK through Selenium."""

    def __init__(self, engine, driver):
        super().__init__(engine)
        self.driver = driver

    def open(self, url):
        self.driver.get(url)

    def _run(self, script, argument):
        return self.driver.execute_script(script, argument)

    def _element(self, control):
        return self.driver.find_element('css selector', '[id="%s"]' % control)

    def click(self, control):
        self._element(control).click()

    def _keys(self, text):
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).send_keys(text).perform()

    def _png(self):
        return self.driver.get_screenshot_as_png()

    def insert(self, kind, text):
        """Chromium's own input method and drop from another program, where its driver has
        them."""
        if self.engine != 'chromium' or kind not in ('insertText', 'insertFromDrop'):
            super().insert(kind, text)
        elif kind == 'insertText':
            self.driver.execute_cdp_cmd('Input.insertText', {'text': text})
        else:
            x, y = self.js("const r = document.activeElement.getBoundingClientRect();"
                           "return [r.left + r.width / 2, r.top + r.height / 2];")
            data = {'items': [{'mimeType': 'text/plain', 'data': text}], 'dragOperationsMask': 1}
            for step in ['dragEnter', 'dragOver', 'drop']:
                self.driver.execute_cdp_cmd('Input.dispatchDragEvent',
                                            {'type': step, 'x': x, 'y': y, 'data': data})

    def accessible_name(self, control):
        return self._element(control).accessible_name

    def enter_frame(self, frame):
        self.driver.switch_to.frame(self._element(frame))

    def leave_frame(self):
        self.driver.switch_to.default_content()

    def set_viewport(self, width, height):
        if self.engine == 'chromium':
            self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
                'width': width, 'height': height, 'deviceScaleFactor': 1, 'mobile': False})
            return
        # A window holds its page and its frame: size it so that the page gets what is asked.
        self.driver.set_window_size(width, height)
        inner = self.js('return [innerWidth, innerHeight];')
        self.driver.set_window_size(2 * width - inner[0], 2 * height - inner[1])

    def emulate_phone(self, width, height, scale):
        """Chromium only: a touch screen of `width` x `height` CSS pixels at `scale`."""
        self.driver.execute_cdp_cmd('Emulation.setDeviceMetricsOverride', {
            'width': width, 'height': height, 'deviceScaleFactor': scale, 'mobile': True})
        self.driver.execute_cdp_cmd('Emulation.setTouchEmulationEnabled',
                                    {'enabled': True, 'maxTouchPoints': 5})

    def console_errors(self):
        if self.engine != 'chromium':
            return []  # WebKitWebDriver keeps no log; the watched page sees the rest
        return [entry for entry in self.driver.get_log('browser')
                if entry['level'] in ('SEVERE', 'WARNING')]

    def quit(self):
        self.driver.quit()


class BidiBrowser(Browser):
    """Firefox through WebDriver BiDi, the protocol it speaks itself."""

    keys_press_buttons = False

    def __init__(self, engine, process, socket, profile):
        super().__init__(engine)
        self.process, self.socket, self.profile = process, socket, profile
        self.next_id, self.events = 0, []
        self.call('session.new', {'capabilities': {}})
        self.call('session.subscribe', {'events': ['log.entryAdded']})
        self.top = self.call('browsingContext.getTree', {})['contexts'][0]['context']
        self.context = self.top

    def call(self, method, params):
        import websocket  # python3-websocket; only Firefox needs it
        self.next_id += 1
        self.socket.send(json.dumps({'id': self.next_id, 'method': method, 'params': params}))
        while True:
            try:
                message = json.loads(self.socket.recv())
            except websocket.WebSocketTimeoutException:
                raise TimeoutError(method) from None
            if message.get('type') == 'event':
                self.events.append(message)
            elif message.get('id') == self.next_id:
                if message['type'] == 'error':
                    raise RuntimeError('%s: %s' % (method, message.get('message')))
                return message['result']

    def open(self, url):
        self.call('browsingContext.navigate', {'context': self.top, 'url': url, 'wait': 'complete'})
        self.context = self.top

    def _run(self, script, argument):
        result = self.call('script.callFunction', {
            'functionDeclaration': 'function () {' + script + '}',
            'arguments': [{'type': 'string', 'value': argument}],
            'target': {'context': self.context}, 'awaitPromise': False})
        if result['type'] == 'exception':
            raise RuntimeError(result['exceptionDetails']['text'])
        return result['result']['value']

    def _node(self, control):
        nodes = self.call('browsingContext.locateNodes', {
            'context': self.context, 'locator': {'type': 'css', 'value': '[id="%s"]' % control}})
        return {'sharedId': nodes['nodes'][0]['sharedId']}

    def click(self, control):
        # The driver moves the pointer only within the viewport; WebDriver scrolls there itself.
        self.js("document.getElementById(arguments[0]).scrollIntoView({block: 'nearest'});",
                control)
        self.call('input.performActions', {'context': self.context, 'actions': [{
            'type': 'pointer', 'id': 'mouse', 'actions': [
                {'type': 'pointerMove', 'x': 0, 'y': 0,
                 'origin': {'type': 'element', 'element': self._node(control)}},
                {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0}]}]})

    def _keys(self, text):
        actions = []
        for character in text:
            actions += [{'type': 'keyDown', 'value': character},
                        {'type': 'keyUp', 'value': character}]
        self.call('input.performActions', {'context': self.context, 'actions': [
            {'type': 'key', 'id': 'keyboard', 'actions': actions}]})

    def _png(self):
        shot = self.call('browsingContext.captureScreenshot', {'context': self.top})
        return base64.b64decode(shot['data'])

    def accessible_name(self, control):
        """The name by which Firefox's accessibility tree finds the control: its own, if it is
        the one found under the name that its label or text gives."""
        name = self.js('const e = document.getElementById(arguments[0]);'
                       'return e.ariaLabel || (e.labels && e.labels.length ? e.labels[0] : e)'
                       '    .textContent;', control)
        found = self.call('browsingContext.locateNodes', {
            'context': self.context,
            'locator': {'type': 'accessibility', 'value': {'name': name}}})['nodes']
        # A box's label is found under its own text beside the box.
        ids = [node['value'].get('attributes', {}).get('id') for node in found
               if node['value'].get('localName') != 'label']
        return name if ids == [control] else None

    def enter_frame(self, frame):
        children = self.call('browsingContext.getTree', {'root': self.top})['contexts'][0]
        self.context = children['children'][0]['context']

    def leave_frame(self):
        self.context = self.top

    def set_viewport(self, width, height):
        self.call('browsingContext.setViewport', {
            'context': self.top, 'viewport': {'width': width, 'height': height},
            'devicePixelRatio': 1})

    def console_errors(self):
        return [event['params'] for event in self.events
                if event['method'] == 'log.entryAdded'
                and event['params'].get('level') in ('error', 'warn')]

    def quit(self):
        try:
            self.call('session.end', {})
        except (RuntimeError, OSError):
            pass
        self.process.terminate()
        self.process.wait(timeout=30)
        shutil.rmtree(self.profile, ignore_errors=True)


def start_chromium(width, height):
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for argument in ['--headless=new', '--no-sandbox', '--disable-gpu', '--no-first-run',
                     '--window-size=%d,%d' % (width, height), '--force-device-scale-factor=1',
                     '--allow-file-access-from-files', '--disable-background-networking',
                     '--disable-component-update', '--disable-sync']:
        options.add_argument(argument)
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    browser = WebDriverBrowser('chromium', driver)
    browser.set_viewport(width, height)
    return browser


def start_webkit(width, height):
    from selenium import webdriver
    from selenium.webdriver.webkitgtk.options import Options
    options = Options()
    options.binary_location = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
    options.add_argument('--automation')
    driver = webdriver.WebKitGTK(executable_path='/usr/bin/WebKitWebDriver', options=options)
    browser = WebDriverBrowser('webkit', driver)
    browser.open('about:blank')
    browser.set_viewport(width, height)
    return browser


# Firefox on a closed network: nothing to update, report or suggest, no first-run pages.
FIREFOX_PREFERENCES = {
    'app.update.disabledForTesting': True,
    'browser.shell.checkDefaultBrowser': False,
    'browser.startup.homepage_override.mstone': 'ignore',
    'datareporting.policy.dataSubmissionEnabled': False,
    'toolkit.telemetry.reportingpolicy.firstRun': False,
    'remote.prefs.recommended': True,
    'browser.safebrowsing.update.enabled': False,
    'extensions.update.enabled': False,
    'network.captive-portal-service.enabled': False,
    'network.connectivity-service.enabled': False,
    'services.settings.server': 'http://127.0.0.1:9/',
}


def start_firefox(width, height):
    import websocket
    profile = tempfile.mkdtemp(prefix='loto-firefox-')
    with open(os.path.join(profile, 'user.js'), 'w', encoding='utf-8') as prefs:
        for name, value in FIREFOX_PREFERENCES.items():
            prefs.write('user_pref(%s, %s);\n' % (json.dumps(name), json.dumps(value)))
    process = subprocess.Popen(
        ['firefox-esr', '--headless', '--no-remote', '--profile', profile,
         '--remote-debugging-port=0', '--width=%d' % width, '--height=%d' % height,
         'about:blank'], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    for line in process.stderr:
        address = re.search(r'WebDriver BiDi listening on (ws://\S+)', line)
        if address:
            break
    else:
        raise RuntimeError('Firefox did not start its WebDriver BiDi server')
    # Keep reading its messages, or a full pipe would stop it.
    import threading
    threading.Thread(target=process.stderr.read, daemon=True).start()
    socket = websocket.create_connection(address.group(1) + '/session', suppress_origin=True,
                                         timeout=300)
    browser = BidiBrowser('firefox', process, socket, profile)
    browser.set_viewport(width, height)
    return browser


def start(engine, width=800, height=700):
    """The engine, its page `width` x `height` CSS pixels at one pixel each."""
    return {'chromium': start_chromium, 'firefox': start_firefox,
            'webkit': start_webkit}[engine](width, height)
