#!/usr/bin/env python3
# SPDX-License-Identifier: Apache-2.0
"""Opens a symlib catalogue in headless Chromium and checks it works.

    catalogue_browser.py CHROMIUM INDEX_HTML EXPECTED_THUMBS QUERY EXPECTED_MATCHES [MAX_SECONDS]

Talks to the browser over the DevTools protocol on a pipe (file descriptors
3 and 4, NUL-terminated JSON messages): loads the page from the file system,
counts the thumbnails, types QUERY into the search box and counts the
thumbnails left visible, opens a symbol's details, and takes a screenshot
that must not be blank. Exits non-zero with a message on any failure.
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib


class Browser:
    def __init__(self, chromium):
        self.profile = tempfile.mkdtemp(prefix="symlib-chromium-")
        # Our ends: we write commands to to_browser_w and read replies from
        # from_browser_r; the browser sees them as fds 3 and 4.
        to_browser_r, self.to_browser_w = os.pipe()
        self.from_browser_r, from_browser_w = os.pipe()
        # Keep the child's ends clear of 3 and 4, which they are moved to.
        import fcntl
        high_r = fcntl.fcntl(to_browser_r, fcntl.F_DUPFD_CLOEXEC, 10)
        high_w = fcntl.fcntl(from_browser_w, fcntl.F_DUPFD_CLOEXEC, 10)
        os.close(to_browser_r)
        os.close(from_browser_w)
        to_browser_r, from_browser_w = high_r, high_w

        def child_fds():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        args = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--disable-dev-shm-usage", "--hide-scrollbars", "--window-size=1200,800",
                "--remote-debugging-pipe", "--user-data-dir=" + self.profile, "about:blank"]
        self.proc = subprocess.Popen(args, preexec_fn=child_fds, pass_fds=(3, 4),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.session = None

    def close(self):
        try:
            self.send("Browser.close")
        except Exception:
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        os.close(self.to_browser_w)
        os.close(self.from_browser_r)
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read_message(self, deadline):
        while b"\0" not in self.buffer:
            if time.time() > deadline:
                raise RuntimeError("the browser did not answer in time")
            chunk = os.read(self.from_browser_r, 1 << 20)
            if not chunk:
                raise RuntimeError("the browser closed the pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=True, timeout=60):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            message["sessionId"] = self.session
        os.write(self.to_browser_w, json.dumps(message).encode() + b"\0")
        deadline = time.time() + timeout
        while True:
            reply = self._read_message(deadline)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError("%s failed: %s" % (method, reply["error"]))
                return reply.get("result", {})

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True,
                                                 "awaitPromise": True})
        if "exceptionDetails" in result:
            raise RuntimeError("script failed: %s" % result["exceptionDetails"])
        return result["result"].get("value")


def png_pixels(data):
    """Decodes an 8-bit RGB or RGBA PNG into (width, height, channels, rows)."""
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "unexpected PNG format"
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev = [], bytearray(stride)
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = prev[x]
            c = prev[x - channels] if x >= channels else 0
            if f == 1:
                line[x] = (line[x] + a) & 255
            elif f == 2:
                line[x] = (line[x] + b) & 255
            elif f == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        prev = line
    return width, height, channels, rows


def main():
    chromium, index, expected, query, matches = sys.argv[1:6]
    max_seconds = float(sys.argv[6]) if len(sys.argv) > 6 else 30.0
    expected, matches = int(expected), int(matches)
    browser = Browser(chromium)
    try:
        target = browser.send("Target.createTarget", {"url": "about:blank"}, session=False)
        attached = browser.send("Target.attachToTarget", {"targetId": target["targetId"], "flatten": True},
                                session=False)
        browser.session = attached["sessionId"]
        browser.send("Page.enable")
        browser.send("Runtime.enable")
        start = time.time()
        browser.send("Page.navigate", {"url": "file://" + os.path.abspath(index)})
        # Wait until the page's script has built the grid.
        count = None
        while time.time() - start < max_seconds:
            count = browser.evaluate("document.readyState === 'complete' ? "
                                     "document.querySelectorAll('#grid .thumb').length : -1")
            if count is not None and count >= 0:
                break
            time.sleep(0.05)
        loaded = time.time() - start
        print("page ready in %.2f s with %s thumbnails" % (loaded, count))
        if count != expected:
            raise RuntimeError("expected %d thumbnails, found %s" % (expected, count))
        if loaded > max_seconds:
            raise RuntimeError("the page took %.1f s to open" % loaded)
        # Thumbnails are drawn as they scroll into view, after the first layout.
        drawn = 0
        while not drawn and time.time() - start < max_seconds + 5:
            drawn = browser.evaluate("document.querySelectorAll('#grid .thumb svg').length")
            time.sleep(0.05)
        print("%s thumbnails drawn" % drawn)
        if not drawn:
            raise RuntimeError("no thumbnail was drawn")

        browser.evaluate("document.getElementById('search').focus()")
        browser.send("Input.insertText", {"text": query})
        visible = browser.evaluate("document.querySelectorAll('#grid .thumb:not(.hidden)').length")
        print("%r leaves %s thumbnails" % (query, visible))
        if visible != matches:
            raise RuntimeError("search %r: expected %d thumbnails, found %s" % (query, matches, visible))

        # The details of the first match.
        name = browser.evaluate("var t = document.querySelector('#grid .thumb:not(.hidden)');"
                                "t.click(); document.getElementById('detail').classList.contains('open') ? "
                                "document.getElementById('dname').textContent : null")
        big = browser.evaluate("document.querySelectorAll('#big svg').length")
        if not name or big != 1:
            raise RuntimeError("clicking a thumbnail did not open its details")
        print("details of %r open" % name)

        shot = browser.send("Page.captureScreenshot", {"format": "png"})
        import base64
        width, height, channels, rows = png_pixels(base64.b64decode(shot["data"]))
        colours = set()
        for y in range(0, height, 4):
            row = rows[y]
            for x in range(0, width, 4):
                colours.add(row[x * channels:x * channels + 3])
        print("screenshot %dx%d with %d colours" % (width, height, len(colours)))
        if len(colours) < 3:
            raise RuntimeError("the screenshot is blank")
    finally:
        browser.close()
    print("catalogue ok")


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # one clear line for the test log
        print("catalogue_browser: %s" % error, file=sys.stderr)
        sys.exit(1)
