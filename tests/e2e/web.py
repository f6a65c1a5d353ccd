# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""The end-to-end walk of the browser build (Qt for WebAssembly), served on 127.0.0.1, in three
headless engines: Chromium through chromedriver, Firefox through its own WebDriver BiDi, WebKitGTK's
MiniBrowser through WebKitWebDriver on Xvfb. Qt shows each window as a .qt-window in the shadow
root of #qt-shadow-container, its title in its title bar, and draws the contents into a canvas:
the texts there are read by OCR (tesseract), as a person reads them. On a tablet's page the walk
is by touch, with Qt's mirror of the windows for screen readers on: a tap lands where the mirror
places the control, as a screen reader's touch finds it.
Each check is check(desktop, program), the program being the build folder or its sipster.js."""

import base64
import contextlib
import functools
import http.server
import json
import os
import pathlib
import re
import shutil
import socket
import subprocess
import tempfile
import threading
import time
import urllib.error
import urllib.request

import desktop
from walks import basic_walk

# WebDriver's code points for the key names xdotool uses.
KEYS = {"alt": "\ue00a", "ctrl": "\ue009", "shift": "\ue008", "Return": "\ue006",
        "Tab": "\ue004", "Escape": "\ue00c", "F4": "\ue034"}

# On a tablet, the controls tapped, by their names in Qt's mirror, in place of the keys pressed.
TAPS = {("alt+c",): ["Close"], ("alt+f", "n"): ["File", "New Tester"],
        ("alt+f", "s"): ["File", "Summary"], ("alt+f", "x"): ["File", "Exit"],
        ("alt+h", "a"): ["Help", "About"], ("Return",): ["OK"], ("Tab",): ["Apple Ade"],
        ("Escape",): ["Cancel"]}

SCREEN = "const screen = document.querySelector('#qt-shadow-container')?.shadowRoot;\n" \
         "const shown = screen ? [...screen.querySelectorAll('.qt-window')]" \
         ".filter(w => getComputedStyle(w).display != 'none')" \
         ".sort((a, b) => (+a.style.zIndex || 0) - (+b.style.zIndex || 0)) : [];\n" \
         "const title = w => w.querySelector('.title-bar .window-name')?.textContent ?? '';\n"


# The buttons and boxes of the top window in Qt's mirror: name, centre on the page, height, and
# the scale from Qt's pixels to the page's.
MIRRORED = SCREEN + """
const top = shown[shown.length - 1];
return [...top.querySelectorAll('.qt-window-a11y-container > :is(button, input)')].map(copy => {
    const place = copy.getBoundingClientRect();
    return {name: copy.getAttribute('aria-label') ?? copy.textContent, tag: copy.tagName,
            x: place.x + place.width / 2, y: place.y + place.height / 2, height: place.height,
            scale: place.height / parseFloat(copy.style.height)};
});
"""


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


# Keeps what the page prints to the console, where the program's output and any failure to load
# it go, for program_log().
KEEP_PRINTED = "<script>window.printed = [];" \
    "for (const kind of ['log', 'info', 'warn', 'error']) {" \
    "  const print = console[kind];" \
    "  console[kind] = (...text) => {" \
    "    printed.push(text.join(' ')); print.apply(console, text); };" \
    "}</script>"


class Files(http.server.SimpleHTTPRequestHandler):
    """Serves the build folder, the page with KEEP_PRINTED first; a browser compiles WebAssembly
    as it loads only when it comes as application/wasm."""
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".js": "text/javascript"}

    def do_GET(self):
        if self.path != "/index.html":
            return super().do_GET()
        # Inside the head: before the doctype, it would put the page in quirks mode.
        page = re.sub(r"<head[^>]*>", lambda head: head[0] + KEEP_PRINTED,
                      pathlib.Path(self.directory, "index.html").read_text(), count=1).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(page)))
        self.end_headers()
        self.wfile.write(page)

    def log_message(self, *args):
        pass


class Classic:
    """A session of W3C WebDriver over HTTP (chromedriver, WebKitWebDriver)."""

    def __init__(self, port, capabilities):
        self._url = f"http://127.0.0.1:{port}"
        self._url += "/session/" + self._call(
            "POST", "/session", {"capabilities": {"alwaysMatch": capabilities}})["sessionId"]

    def _call(self, method, path, body=None):
        request = urllib.request.Request(
            self._url + path, method=method,
            data=None if body is None else json.dumps(body).encode(),
            headers={"Content-Type": "application/json"})
        try:
            with urllib.request.urlopen(request, timeout=60) as answer:
                return json.load(answer)["value"]
        except urllib.error.HTTPError as error:
            raise RuntimeError(f"WebDriver {method} {path}: "
                               f"{json.load(error)['value']['message']}") from None

    def run(self, body):
        return self._call("POST", "/execute/sync", {"script": body, "args": []})

    def keys(self, actions):
        self._call("POST", "/actions", {"actions": [{"type": "key", "id": "keyboard",
                                                     "actions": actions}]})

    def tap(self, x, y):
        self._call("POST", "/actions", {"actions": [{
            "type": "pointer", "id": "finger", "parameters": {"pointerType": "touch"},
            "actions": [{"type": "pointerMove", "x": round(x), "y": round(y), "origin": "viewport"},
                        {"type": "pointerDown", "button": 0}, {"type": "pause", "duration": 80},
                        {"type": "pointerUp", "button": 0}]}]})

    def open(self, url):
        self._call("POST", "/url", {"url": url})

    def resize(self, width, height):
        """Sizes the window so that the page inside is width x height. WebKitGTK may apply a
        new size a moment later (seen once in CI, the page staying 1024x806)."""
        for _ in range(10):
            inner = self.run("return [innerWidth, innerHeight]")
            if inner == [width, height]:
                return
            outer = self._call("GET", "/window/rect")
            self._call("POST", "/window/rect",
                       {"width": outer["width"] + width - inner[0],
                        "height": outer["height"] + height - inner[1]})
            time.sleep(0.2)
        raise RuntimeError(f"the page stays {inner[0]}x{inner[1]}")

    def picture(self, body):
        element = self.run(body)
        return base64.b64decode(self._call("GET", f"/element/{next(iter(element.values()))}"
                                                  "/screenshot"))

    def quit(self):
        self._call("DELETE", "")


class BiDi:
    """A session of WebDriver BiDi over a WebSocket (Firefox)."""

    def __init__(self, url):
        import websocket
        self._socket = websocket.create_connection(url, timeout=60, suppress_origin=True)
        self._id = 0
        self._call("session.new", {"capabilities": {}})
        self._context = self._call("browsingContext.getTree", {})["contexts"][0]["context"]

    def _call(self, method, params):
        self._id += 1
        self._socket.send(json.dumps({"id": self._id, "method": method, "params": params}))
        while True:
            answer = json.loads(self._socket.recv())
            if answer.get("id") == self._id:
                break
        if answer["type"] == "error":
            raise RuntimeError(f"WebDriver BiDi {method}: {answer['message']}")
        return answer["result"]

    def _evaluate(self, body):
        result = self._call("script.callFunction", {
            "functionDeclaration": f"function() {{\n{body}\n}}", "awaitPromise": False,
            "target": {"context": self._context}})
        if result["type"] == "exception":
            raise RuntimeError(result["exceptionDetails"]["text"])
        return result["result"]

    def run(self, body):
        # Through JSON, the answer comes as WebDriver's classic answers do, arrays and objects
        # in Python's own.
        return json.loads(self._evaluate(
            f"return JSON.stringify((() => {{\n{body}\n}})()) ?? 'null';")["value"])

    def keys(self, actions):
        self._call("input.performActions", {"context": self._context, "actions": [
            {"type": "key", "id": "keyboard", "actions": actions}]})

    def open(self, url):
        self._call("browsingContext.navigate", {"context": self._context, "url": url,
                                                "wait": "complete"})

    def resize(self, width, height):
        self._call("browsingContext.setViewport", {"context": self._context, "viewport": {
            "width": width, "height": height}})

    def picture(self, body):
        element = {"sharedId": self._evaluate(body)["sharedId"]}
        return base64.b64decode(self._call("browsingContext.captureScreenshot", {
            "context": self._context, "clip": {"type": "element", "element": element}})["data"])

    def quit(self):
        self._call("browser.close", {})
        self._socket.close()


class WebDesktop(desktop.Desktop):
    """A headless browser showing the program's page: the same keys and windows a walk uses on
    a desktop."""

    def _start(self):
        self._make_home()
        self.session = None
        self.tablet = None
        self._server = None
        self._printed = ""

    @contextlib.contextmanager
    def running(self, folder, language="en-US", tablet=None):
        """Serves the build folder (index.html and the program beside it) and opens its page in a
        browser of this engine, with the language given, for a with-block: on a 1024x768 page, or
        a tablet's page of the size (width, height) given."""
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                                 functools.partial(Files, directory=folder))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        self._server = server
        self.tablet = tablet
        self.session = self._browser(language)
        self._printed = ""
        try:
            if not tablet:
                self.session.resize(1024, 768)
            self.session.open(f"http://127.0.0.1:{server.server_address[1]}/index.html")
            self._timeout = 60  # the first window waits for the program to load
            yield self
        finally:
            try:
                self._printed = self.session.run(
                    "return [...(window.printed || []), document.body.innerText].join('\\n');")
            finally:
                self.session.quit()
                self.session = None
                self.stop_serving()

    def stop_serving(self):
        if self._server:
            self._server.shutdown()
            self._server.server_close()
            self._server = None

    def _wait_for_driver(self, port, name):
        def ready():
            try:
                with urllib.request.urlopen(f"http://127.0.0.1:{port}/status", timeout=5) as answer:
                    return json.load(answer)["value"]["ready"]
            except (OSError, ValueError):
                return False
        self.wait_for(ready, name, timeout=30)

    def key(self, *keys):
        """Presses each key, a chord's keys one at a time, and lets the program take each; on a
        tablet, taps the controls they reach instead."""
        for step in TAPS[keys] if self.tablet else keys:
            (self.tap if self.tablet else self._press)(step)

    def _press(self, key):
        names = [KEYS.get(name, name) for name in key.split("+")]
        self.session.keys([{"type": "keyDown", "value": name} for name in names]
                          + [{"type": "keyUp", "value": name} for name in reversed(names)])
        time.sleep(0.1)

    def controls(self):
        return self.session.run(MIRRORED)

    def tap(self, name):
        """Taps the button, menu item or box of the top window with this name, once there."""
        control = self.wait_for(lambda: next((c for c in self.controls() if c["name"] == name),
                                             None), f"{name!r} to tap in {self.windows()[-1:]}")
        self.session.tap(control["x"], control["y"])
        if control["tag"] == "INPUT":
            self.wait_for(self.keyboard_up, f"a text field to take the focus from {name!r}")
        time.sleep(0.2)

    def keyboard_up(self):
        """Whether a real text field, asking for a tablet's keyboard, has the page's focus."""
        return self.session.run("const field = document.activeElement;"
                                "return field?.tagName == 'INPUT' && field.type == 'text' && "
                                "!field.readOnly && field.inputMode != 'none';")

    def turn_on_screen_reader(self):
        """Presses the unseen button that turns Qt's mirror on, as a screen-reader user does."""
        assert self.session.run(
            SCREEN + "const button = [...screen.querySelectorAll('button')]"
            ".find(button => button.textContent == 'Enable Screen Reader');"
            "button?.click(); return !!button;"), "no button turns on the screen reader's mirror"

    def type(self, text):
        """Types the text, on a tablet as its on-screen keyboard does."""
        for character in text:
            self._press(character)

    def windows(self):
        """The windows shown, from the bottom up: their titles, classes and places."""
        return self.session.run(SCREEN + "return shown.map(w => ({title: title(w), classes: "
                                "[...w.classList], rect: w.getBoundingClientRect().toJSON()}));")

    def window(self, title):
        """Waits for the window with this title to be the active one, on top and not blocked,
        and returns what the page shows: each window's title and classes, from the bottom up."""
        def active():
            shown = self.windows()
            top = shown[-1] if shown else {"title": None, "classes": []}
            return top["title"] == title and not {"inactive", "blocked"} & set(top["classes"]) \
                and shown
        timeout, self._timeout = self._timeout, 10
        try:
            return self.wait_for(active, "", timeout=timeout)
        except AssertionError:
            raise AssertionError(f"timed out waiting for the window {title!r} to be active; the "
                                 f"page shows {self.windows()}") from None

    def picture(self, path, title=None):
        """Keeps a picture of the window with this title, or of the whole page."""
        element = "return document.body;" if title is None else SCREEN + \
            f"return shown.findLast(w => title(w) == {json.dumps(title)});"
        pathlib.Path(path).write_bytes(self.session.picture(element))

    def page_text(self):
        """What the page says outside Qt's screen."""
        return self.session.run("return document.body.innerText;")

    def program_log(self):
        """What the program printed last, and what the page said as it was closed."""
        return "\n".join(self._printed.splitlines()[-30:])

    def exit_program(self, page, timeout=10):
        """Chooses File, Exit; the page must then say that the program has ended."""
        self.key("alt+f", "x")
        self.wait_for(lambda: "Sipster has ended" in self.page_text(),
                      "the page to say that Sipster has ended", timeout=timeout)


class ChromiumDesktop(WebDesktop):
    def _start(self):
        super()._start()
        self._port = free_port()
        self._spawn(["chromedriver", f"--port={self._port}"], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL)
        self._wait_for_driver(self._port, "chromedriver")

    def _browser(self, language):
        # Without the network it is not given, Chromium's background services would wait on it.
        arguments = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update",
                     "--disable-sync", "--window-size=1024,768", f"--lang={language}",
                     "--user-data-dir=" + tempfile.mkdtemp(dir=self._tmp)]
        # The performance log carries the page's events: leaving_asks() looks there for the
        # leave-page prompt, which chromedriver answers Leave at once.
        options = {"binary": shutil.which("chromium"), "args": arguments,
                   "perfLoggingPrefs": {"enableNetwork": False, "enablePage": True},
                   "prefs": {"intl.accept_languages": language}}
        if self.tablet:
            width, height = self.tablet
            options["mobileEmulation"] = {"deviceMetrics": {
                "width": width, "height": height, "pixelRatio": 2, "touch": True}}
        return Classic(self._port, {"browserName": "chrome",
                                    "goog:loggingPrefs": {"performance": "ALL"},
                                    "goog:chromeOptions": options})

    def read_tree(self):
        """Chromium's accessibility tree as a screen reader meets it: (role, name, value)."""
        return [(node.get("role", {}).get("value"), node.get("name", {}).get("value", ""),
                 node.get("value", {}).get("value", ""))
                for node in self.devtools("Accessibility.getFullAXTree")["nodes"]
                if not node.get("ignored")]

    def devtools(self, command):
        return self.session._call("POST", "/goog/cdp/execute", {"cmd": command, "params": {}})

    def leaving_asks(self):
        """Reloads the page as a user would, and whether the browser asked first with its
        leave-page prompt; then waits for the new page's title card."""
        def page_events():
            return self.session._call("POST", "/se/log", {"type": "performance"})
        page_events()
        self.session._call("POST", "/refresh", {})
        self._timeout = 60
        self.window("")
        return any('"type":"beforeunload"' in event["message"] for event in page_events())


class FirefoxDesktop(WebDesktop):
    def _browser(self, language):
        profile = pathlib.Path(tempfile.mkdtemp(dir=self._tmp))
        prefs = {"intl.accept_languages": language, "browser.shell.checkDefaultBrowser": False,
                 "datareporting.policy.dataSubmissionEnabled": False,
                 "browser.startup.homepage_override.mstone": "ignore"}
        (profile / "user.js").write_text("".join(f"user_pref({json.dumps(name)}, "
                                                 f"{json.dumps(value)});\n"
                                                 for name, value in prefs.items()))
        port = free_port()
        self._spawn(["firefox-esr", "--headless", "--no-remote", "--profile", str(profile),
                     f"--remote-debugging-port={port}", "about:blank"],
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for(lambda: (profile / "WebDriverBiDiServer.json").exists(),
                      "Firefox to listen", timeout=30)
        return BiDi(f"ws://127.0.0.1:{port}/session")


class WebKitDesktop(WebDesktop):
    # Debian's WebKitGTK keeps its MiniBrowser beside its libraries.
    browsers = ["/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser",
                "/usr/lib/x86_64-linux-gnu/webkitgtk-6.0/MiniBrowser"]

    def _start(self):
        super()._start()
        self._start_xvfb()
        self._port = free_port()
        # WebKitGTK gives the page the language of the locale, and "C" in the C locale: in one
        # it does not have, it gives en-US.
        self._spawn(["WebKitWebDriver", f"--port={self._port}"], stdout=subprocess.DEVNULL,
                    stderr=subprocess.DEVNULL, env={**self.env, "LANG": "en_US.UTF-8"})
        self._wait_for_driver(self._port, "WebKitWebDriver")

    def _browser(self, language):
        assert language == "en-US", "the walk in WebKitGTK is in English only"
        binary = next(path for path in self.browsers if os.path.exists(path))
        return Classic(self._port, {"browserName": "MiniBrowser", "webkitgtk:browserOptions": {
            "binary": binary, "args": ["--automation"]}})


def read(picture, zoom=1):
    """The text tesseract reads in a picture, its words one space apart. It reads the program's
    texts, of 11 to 16 pixels, reliably three times as large and in grey, their contrast
    stretched: otherwise it passes over a figure standing alone (the Summary's "1") or reads it
    as a letter on the Summary's darker grey. A picture already zoomed is enlarged less."""
    larger = subprocess.run(["convert", str(picture), "-colorspace", "gray", "-level", "30%,70%",
                             "-resize", f"{300 / zoom:.0f}%", "png:-"],
                            capture_output=True, check=True).stdout
    # As one block of lines: taken as columns (--psm 4), the Summary's "1" went unread.
    return " ".join(subprocess.run(["tesseract", "-", "-", "--psm", "6"], input=larger,
                                   capture_output=True, check=True).stdout.decode().split())


def walk(engine, language="en-US", decimal=".", tablet=None, screen_reader=False):
    """The basic walk, with a score of 0 turned down on the way, then Exit and the page that
    follows. While a modal window is up, every other window shown is blocked; every window lies
    wholly on the page; the texts of the message boxes and the Summary's figures, in the page's
    language, are read off the screen, and with the screen reader's mirror on from Chromium's
    accessibility tree too, with the boxes' labels. On a tablet's page, (width, height), the walk
    is by touch with the mirror on. A picture of each window met is kept beside the build
    folder, in FOLDER-pictures/, a folder for each walk."""
    texts = {"Input Requested": ["No data to summarize"],
             "Invalid score": ["Enter a Prune Punch score from 1 to 10"],
             "Tester Summary": ["Number of Sipsters: 1",
                                f"Average Prune Punch rating: 8{decimal}00",
                                f"Average Apple Ade rating: 6{decimal}00",
                                "The winner is: Prune Punch"]}
    # The Summary's captions and figures are texts of their own in the accessibility tree.
    heard = {title: [part for text in said for part in text.replace(": ", ":\n").split("\n")]
             for title, said in texts.items()}
    heard["New Tester"] = ["the box Prune Punch", "the box Apple Ade"]
    screen_reader = screen_reader or bool(tablet)
    # What makes the page an app is checked once, in Chromium's plain walk.
    as_an_app = engine == "chromium" and not screen_reader
    finger = 36

    def check(desktop, program):
        # The folder, or the program in it (sipster.js), as CTest names it.
        folder = pathlib.Path(program).resolve()
        if not folder.is_dir():
            folder = folder.parent
        pictures = folder.parent / f"{folder.name}-pictures" / check.__name__.removeprefix("walk_")
        shutil.rmtree(pictures, ignore_errors=True)
        pictures.mkdir(parents=True)
        met = []
        card = {}

        def window(title):
            shown = desktop.window(title)
            met.append(title)
            name = title.lower().replace(" ", "-") or "title-card"
            picture = pictures / f"{len(met):02}-{name}.png"
            desktop.picture(picture, title)
            place = shown[-1]["rect"]
            width, height = desktop.session.run("return [innerWidth, innerHeight]")
            assert place["left"] >= 0 and place["top"] >= 0 and place["right"] <= width \
                and place["bottom"] <= height, f"{title!r} at {place} is not wholly on the page"
            if title == "":
                assert "frameless" in shown[-1]["classes"], "the title card has a title bar"
                # The largest window: where it fills the page, the page leaves no more room.
                card["fills"] = place["width"] > 0.95 * width or place["height"] > 0.95 * height
                if screen_reader:
                    desktop.turn_on_screen_reader()
            if title not in ("", "Sipster"):  # a modal window
                free = [w["title"] for w in shown[:-1] if "blocked" not in w["classes"]]
                assert not free, f"{free} not blocked while {title!r} is up"
            if title in texts:
                # On a tablet's page, drawn twice as large again as Qt's scale.
                seen = read(picture, 2 * desktop.controls()[0]["scale"] if tablet else 1)
                for text in texts[title]:
                    assert re.search(rf"(?<!\S){re.escape(text)}(?![^\s:.,])", seen), \
                        f"{text!r} not read in {title!r}, which reads: {seen}"
            if screen_reader and title in heard:
                tree = desktop.read_tree()
                said = {text for _, name, value in tree for text in (name, value)} | {
                    f"the box {name}" for role, name, _ in tree if role == "textbox"}
                missing = [text for text in heard[title] if text not in said]
                assert not missing, f"{missing} not in the accessibility tree of {title!r}: {tree}"
            if tablet:
                small = [control for control in desktop.controls() if control["height"] < finger]
                assert not small or card["fills"], \
                    f"too small for a finger in {title!r}, with room on the page: {small}"
                # The keyboard comes up for a score box, which New Tester opens in, alone.
                up = title == "New Tester"
                desktop.wait_for(lambda: desktop.keyboard_up() == up,
                                 f"the keyboard {'up' if up else 'down'} in {title!r}")

        with desktop.running(folder, language, tablet) as page:
            if as_an_app:
                # Installable, and kept for use offline: the walk is taken with no server.
                desktop.window("")
                # The page names its manifest and registers its worker once the card is up; the
                # worker is ready once it keeps the page's files.
                desktop.session.run("return navigator.serviceWorker.ready.then(() => true)")
                manifest = desktop.devtools("Page.getAppManifest")
                assert not manifest["errors"], manifest["errors"]
                installable = desktop.devtools("Page.getInstallabilityErrors")
                assert installable == {"installabilityErrors": []}, installable
                # Keys given first: a browser asks before leaving only a page the user used.
                desktop.key("alt+c")
                desktop.window("Sipster")
                desktop.stop_serving()
                assert not desktop.leaving_asks(), "reloading the page asked before any tester"
            # The title card, which has no title bar, has no title in the page either.
            basic_walk(desktop, window, title_card="")
            if as_an_app:
                assert desktop.leaving_asks(), "reloading the page lost a tester without asking"
                # The page loaded again, with a new run: on to its main window for Exit.
                desktop.key("alt+c")
                desktop.window("Sipster")
            desktop.exit_program(page)
            desktop.picture(pictures / f"{len(met) + 1:02}-ended.png")
            if as_an_app:
                assert not desktop.leaving_asks(), "reloading the page asked after Exit"
    check.__name__ = f"walk_{engine}" + ("" if language == "en-US" else f"_in_{language}") + (
        "_on_a_{}x{}_tablet".format(*tablet) if tablet else "") + (
        "_with_a_screen_reader" if screen_reader and not tablet else "")
    return check
