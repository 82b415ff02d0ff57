#!/usr/bin/env python3
"""Opens the HTML report of every bundled example in headless chromium and checks that it loads
with no console error and no request for anything outside the page, that every nonterminal has
a diagram with a non-empty bounding box, and that every link "#x" reaches an element id="x".

usage: browser_check.py PARVOLEN_INSPECT EXAMPLES_DIR WORK_DIR
Exits 77 (skipped) where /usr/bin/chromium is missing. Talks to the browser over its debugging
pipe: JSON messages ended by a NUL byte, written to its fd 3 and read from its fd 4.
"""
import glob
import json
import os
import select
import shutil
import subprocess
import sys
import time

CHROMIUM = "/usr/bin/chromium"
TIMEOUT = 60  # seconds to wait for any one answer or event

CHECKS = r"""(() => {
  const bad = [];
  const rules = document.querySelectorAll('section.rule');
  for (const rule of rules) {
    const svg = rule.querySelector('svg.rr');
    const box = svg ? svg.getBoundingClientRect() : null;
    if (!box || !(box.width > 0 && box.height > 0)) bad.push('no visible diagram: ' + rule.id);
    const drawn = svg ? svg.getBBox() : null;
    if (!drawn || !(drawn.width > 0 && drawn.height > 0)) bad.push('nothing drawn: ' + rule.id);
  }
  let links = 0;
  for (const a of document.querySelectorAll('a[href]')) {
    const href = a.getAttribute('href');
    if (!href.startsWith('#')) { bad.push('link out of the page: ' + href); continue; }
    links++;
    if (!document.getElementById(href.slice(1))) bad.push('broken link: ' + href);
  }
  for (const e of document.querySelectorAll('script, link, img, iframe, object, embed, [src]'))
    bad.push('external or scripted element: ' + e.outerHTML.slice(0, 80));
  return JSON.stringify({rules: rules.length, links: links, bad: bad});
})()"""


class Browser:
    def __init__(self, profile):
        to_child_r, self.to_child = os.pipe()
        self.from_child, from_child_w = os.pipe()
        # The shell gives the browser the two ends as its fds 3 and 4 (from_child_w is above
        # to_child_r, which is at least 3, so the first move never overwrites the second end).
        flags = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--no-default-browser-check",
                 "--disable-extensions", "--disable-background-networking", "--disable-sync",
                 "--remote-debugging-pipe", "--user-data-dir=" + profile, "about:blank"]
        self.proc = subprocess.Popen(
            ["sh", "-c", 'exec "$0" "$@" 3<&%d 4>&%d' % (to_child_r, from_child_w), CHROMIUM] + flags,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            pass_fds=(to_child_r, from_child_w))
        os.close(to_child_r)
        os.close(from_child_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def close(self):
        try:
            self.send("Browser.close")
        except (OSError, RuntimeError):
            pass
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()

    def _read(self):
        deadline = time.monotonic() + TIMEOUT
        while b"\0" not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.from_child], [], [], left)[0]:
                raise RuntimeError("the browser did not answer in %d seconds" % TIMEOUT)
            chunk = os.read(self.from_child, 1 << 16)
            if not chunk:
                raise RuntimeError("the browser closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=None):
        """Sends a command and returns its result; events that come meanwhile are kept."""
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        os.write(self.to_child, json.dumps(message).encode() + b"\0")
        while True:
            answer = self._read()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError("%s: %s" % (method, answer["error"]))
                return answer.get("result", {})
            self.events.append(answer)

    def wait_for(self, method, session):
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method and event.get("sessionId") == session:
                    del self.events[i]
                    return event
            self.events.append(self._read())


def errors_in(events):
    """The console errors, uncaught exceptions and failed loads among the events."""
    found = []
    for event in events:
        method, params = event.get("method"), event.get("params", {})
        if method == "Runtime.exceptionThrown":
            found.append("exception: %s" % params.get("exceptionDetails", {}).get("text"))
        elif method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert", "warning"):
            found.append("console %s: %s" % (params["type"], [a.get("value") for a in params.get("args", [])]))
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") in ("error", "warning"):
            entry = params["entry"]
            found.append("log %s: %s %s" % (entry.get("level"), entry.get("text"), entry.get("url", "")))
        elif method == "Network.loadingFailed":
            found.append("load failed: %s" % params.get("errorText"))
        elif method == "Network.requestWillBeSent" and not params.get("request", {}).get("url", "").startswith("file:"):
            found.append("request out of the page: %s" % params["request"]["url"])
    return found


def main():
    if len(sys.argv) != 4:
        print(__doc__)
        return 2
    inspect, examples, work = sys.argv[1:]
    if not os.access(CHROMIUM, os.X_OK):
        print("SKIP: %s is not installed" % CHROMIUM)
        return 77
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    pages = []
    for lang in sorted(glob.glob(os.path.join(examples, "*", "*.lang"))):
        name = os.path.splitext(os.path.basename(lang))[0]
        page = os.path.join(work, name + ".html")
        run = subprocess.run([inspect, "--html=" + page, lang], capture_output=True, text=True)
        if run.returncode != 0 or not os.path.isfile(page):
            print("%s: --html ends with status %d\n%s%s" % (lang, run.returncode, run.stdout, run.stderr))
            return 1
        summary = json.loads(subprocess.run([inspect, "--prefix", "--json", lang], capture_output=True, text=True).stdout)
        pages.append((name, os.path.abspath(page), len(summary["nonterminals"])))
    if not pages:
        print("no example under", examples)
        return 1

    browser = Browser(os.path.join(work, "profile"))
    fail = 0
    try:
        target = browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = browser.send("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "Log", "Network"):
            browser.send(domain + ".enable", {}, session)
        for name, page, nonterminals in pages:
            browser.events = []
            browser.send("Page.navigate", {"url": "file://" + page}, session)
            browser.wait_for("Page.loadEventFired", session)
            value = browser.send("Runtime.evaluate", {"expression": CHECKS, "returnByValue": True}, session)
            result = json.loads(value["result"]["value"])
            problems = errors_in(browser.events) + result["bad"]
            if result["rules"] != nonterminals:
                problems.append("%d diagrams for %d nonterminals" % (result["rules"], nonterminals))
            print("%-14s %3d diagrams, %4d links: %s" % (name, result["rules"], result["links"],
                                                        "ok" if not problems else "FAILED"))
            for problem in problems:
                print("  " + problem)
            fail |= bool(problems)
    except RuntimeError as error:
        print("browser:", error)
        fail = 1
    finally:
        browser.close()
    return 1 if fail else 0


if __name__ == "__main__":
    sys.exit(main())
