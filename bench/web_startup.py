# SPDX-FileCopyrightText: 2026 The Sipster team
#
# SPDX-License-Identifier: MIT

"""Start-up of the browser build against the minimal Qt program built and served the same way:
the bytes the browser fetches until the first window is drawn, and the time from navigation start
to that window's first frame, in headless Chromium.

    python3 bench/web_startup.py [SIPSTER_FOLDER [MINIMAL_FOLDER [RUNS]]]

Each folder (build-web/ and build-web-minimal/ by default) is served on 127.0.0.1 as a web server
sends it, its .html, .js and .wasm files gzip-compressed whenever the browser accepts gzip, and
its page is opened in a fresh Chromium, the two pages taking turns, RUNS times each (21)."""

import functools
import gzip
import http.server
import json
import pathlib
import re
import statistics
import sys
import threading
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "e2e"))
import web  # noqa: E402

# Put first in the page's head. From the start of the page, on every animation frame, it looks for
# the first of Qt's windows (a .qt-window in #qt-shadow-container's shadow root) that is displayed;
# at the next animation frame, the first the window is drawn in, it keeps the time since
# navigation start and the bytes fetched so far, headers included.
PROBE = """<script>(() => {
  let seen = false;
  const shown = () => {
    const screen = document.querySelector('#qt-shadow-container')?.shadowRoot;
    return !!screen && [...screen.querySelectorAll('.qt-window')]
      .some(w => getComputedStyle(w).display != 'none');
  };
  const frame = now => {
    if (seen) {
      const entries = [...performance.getEntriesByType('navigation'),
                       ...performance.getEntriesByType('resource')];
      window.webStartup = {ms: now, bytes: entries.reduce((sum, e) => sum + e.transferSize, 0),
                           files: entries.map(e => [e.name, e.transferSize])};
      return;
    }
    seen = shown();
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
})();</script>"""

COMPRESSED = {".html", ".js", ".wasm"}


class Served(http.server.SimpleHTTPRequestHandler):
    """Serves a folder as a static web server does, from memory: the page with PROBE in its head,
    and .html, .js and .wasm gzip-compressed (at level 9, as gzip_static files usually are) to a
    browser that accepts gzip."""
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".html": "text/html; charset=utf-8", ".wasm": "application/wasm",
                      ".js": "text/javascript",
                      ".svg": "image/svg+xml"}
    files = {}

    @classmethod
    def load(cls, folder):
        files = {}
        for path in pathlib.Path(folder).rglob("*"):
            if not path.is_file():
                continue
            body = path.read_bytes()
            if path.name == "index.html":
                page = body.decode()
                head = re.search(r"<head[^>]*>", page)
                body = (page[:head.end()] + PROBE + page[head.end():]).encode()
            packed = gzip.compress(body, 9, mtime=0) if path.suffix in COMPRESSED else None
            files["/" + path.relative_to(folder).as_posix()] = (path.suffix, body, packed)
        return type("Served", (cls,), {"files": files})

    def do_GET(self):
        found = self.files.get(self.path.split("?")[0])
        if found is None:
            self.send_error(404)
            return
        suffix, body, packed = found
        self.send_response(200)
        self.send_header("Content-Type", self.extensions_map.get(suffix,
                                                                 "application/octet-stream"))
        if packed is not None:
            self.send_header("Vary", "Accept-Encoding")
            if "gzip" in self.headers.get("Accept-Encoding", ""):
                body = packed
                self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def serve(folder):
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Served.load(folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def measure(desktop, port):
    """Opens the page in a fresh Chromium and returns what PROBE kept."""
    session = desktop._browser("en-US")
    try:
        session.resize(1024, 768)
        session.open(f"http://127.0.0.1:{port}/index.html")
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            result = session.run("return window.webStartup ? JSON.stringify(webStartup) : null;")
            if result:
                return json.loads(result)
            time.sleep(0.05)
        raise AssertionError("no window shown in 60 s")
    finally:
        session.quit()


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    folders = {"Sipster": pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else root / "build-web"),
               "minimal": pathlib.Path(sys.argv[2] if len(sys.argv) > 2
                                       else root / "build-web-minimal")}
    runs = int(sys.argv[3]) if len(sys.argv) > 3 else 21
    servers = {name: serve(folder) for name, folder in folders.items()}
    results = {name: [] for name in folders}
    try:
        with web.ChromiumDesktop() as desktop:
            for run in range(runs):
                for name, server in servers.items():
                    result = measure(desktop, server.server_address[1])
                    results[name].append(result)
                    print(f"run {run + 1:2} {name:8} {result['ms']:8.1f} ms "
                          f"{result['bytes']:10,} bytes", flush=True)
    finally:
        for server in servers.values():
            server.shutdown()
            server.server_close()
    for name, kept in results.items():
        print(f"{name}: fetched " + ", ".join(f"{url.rsplit('/', 1)[-1]} {size:,}"
                                              for url, size in kept[-1]["files"]))
    medians = {name: (statistics.median(r["ms"] for r in kept),
                      statistics.median(r["bytes"] for r in kept))
               for name, kept in results.items()}
    for name, (ms, size) in medians.items():
        print(f"{name:8} median of {runs}: first frame {ms:.1f} ms, fetched {size:,} bytes")
    (ms, size), (floor_ms, floor_size) = medians["Sipster"], medians["minimal"]
    print(f"ratio Sipster/minimal: time {ms / floor_ms:.2f}, bytes {size / floor_size:.2f} "
          "(goal: within 1.10 on both)")


if __name__ == "__main__":
    main()
