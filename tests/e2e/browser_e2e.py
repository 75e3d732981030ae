#!/usr/bin/python3
"""QuorBrowser driven end to end as a person drives it.

    browser_e2e.py BINARY [SCENARIO ...]
    browser_e2e.py --list

Without scenario names every scenario runs, one after the other on one private desktop. Each
scenario judges the browser by what the page server was asked for, by the window caption and
by the files left in the application folder. QUOR_E2E_KEEP=1 keeps the temporary folders.
"""

import datetime
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import time
import traceback
import urllib.parse
import zlib

# Nothing is written into the source tree.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import desktop  # noqa: E402
from desktop import Failure, TWIPS_PER_PIXEL, wait_for  # noqa: E402

PAGES = {
    "/start.html": "Starting Line",
    "/a.html": "Alpha Page",
    "/b.html": "Bravo Page",
    "/home.html": "Home Base",
    # A text box whose every key asks for windows, a blank one and the link's own, beside a link
    # that opens in a new window.
    "/typing.html": ("Typing Page", """
<input style="position:absolute;left:40px;top:100px;width:300px;height:30px"
       onkeydown="window.open('about:blank'); window.open('/linked.html')"
       oninput="fetch('/typed?' + encodeURIComponent(this.value))">
<a href="/linked.html" target="_blank"
   style="position:absolute;left:40px;top:200px;width:300px;height:100px;background:#ddf">
  Open linked</a>"""),
    "/linked.html": "Linked Page",
    # A cookie kept for an hour, and a page that tells the server the cookies it has.
    "/cookie-set.html": ("Cookie Set", """<script>
document.cookie = 'quor=kept; max-age=3600; path=/';
fetch('/cookie-set?' + encodeURIComponent(document.cookie));
</script>"""),
    "/cookie-show.html": ("Cookie Show", """<script>
fetch('/cookie?' + encodeURIComponent(document.cookie || 'none'));
</script>"""),
    # A link for another program of the desktop's, and a script that tries one on its own.
    "/other.html": ("Other Program", """
<a href="x-quor-test:clicked"
   style="position:absolute;left:40px;top:100px;width:300px;height:60px;background:#ddf">
  For another program</a>
<script>setTimeout(function () { location = 'x-quor-test:script'; }, 0);</script>"""),
    # A page that shows dialog after dialog, each OK bringing the next.
    "/alerts.html": ("Alerts", """<script>
for (var i = 1; i <= 1000; ++i) alert('again ' + i);
fetch('/after-alerts');
</script>"""),
    # Tells the server its width in CSS pixels, which the zoom changes, and every key it gets.
    "/keys.html": ("Keys Page", """
<p>quorum one, quorum two, quorum three</p>
<script>
function tellWidth() { fetch('/width?' + innerWidth + '&' + Date.now()); }
addEventListener('resize', tellWidth);
tellWidth();
document.addEventListener('keydown', function (e) {
  fetch('/key?' + encodeURIComponent(e.key) + '&' + Date.now());
});
</script>"""),
    # The link keeps clear of the middle of the page, where a barrier clicks.
    "/links.html": ("Link Page", """
<a href="/linked.html"
   style="position:absolute;left:40px;top:60px;width:300px;height:50px;background:#ddf">
  Linked</a>"""),
    "/print.html": ("Printable Words", "<p>Quorum ledger zebra</p>"),
    # The server's name for a file is no place on this machine.
    "/evil": desktop.Attachment("../../evil.sh", 300),
    # 4 MB at 160 KB/s: far from done while the person watches it and cancels.
    "/big.bin": desktop.Attachment("big.bin", 4 << 20, chunk=16 << 10, pause=0.1),
    "/slow.html": desktop.SlowPage("Slow Page", 1 << 20, chunk=1 << 10, pause=0.1),
    # A window that asks for a window every 10 ms and tells the server its own time every
    # 100 ms; each window it gets asks for one more of its own.
    "/flood.html": ("Flood Opener", "<script>window.open('/flood-popup.html');</script>"),
    "/flood-popup.html": ("Flood Popup", """<script>
var asked = 0, ticks = 0;
setInterval(function () { window.open('/flood-child.html?' + (++asked)); }, 10);
setInterval(function () { fetch('/flood-tick?' + (++ticks) + '&' + asked); }, 100);
</script>"""),
    "/flood-child.html": ("Flood Child", """<script>
window.open('/flood-child.html?from-child-' + Math.random());
</script>"""),
    # Asks for 15 windows at each load and reloads itself until its sixth load; tells the server
    # how many of the asked-for windows the page got back.
    "/reloader.html": ("Reloading Page", """<script>
var load = +(sessionStorage.getItem('load') || 0) + 1;
sessionStorage.setItem('load', load);
var got = 0;
for (var i = 0; i < 15; ++i) if (window.open('/asked.html?' + load + '-' + i)) ++got;
fetch('/load?' + load + '&' + got);
if (load < 6) setTimeout(function () { location.reload(); }, 300);
</script>"""),
    "/asked.html": "Asked For",
    # Keeps a value in the engine's local storage and tells the server what it reads back.
    "/storage.html": ("Storage Page", """<script>
localStorage.setItem('kept', 'quor-' + location.port);
fetch('/stored?' + localStorage.getItem('kept'));
</script>"""),
    # Its window, once the server has /go, retitles itself in bursts for three seconds of its
    # own time, then settles on a last title and tells the server how many it set.
    "/late-title.html": ("Late Title", """<script>
setTimeout(function () { document.title = 'Retitled Later'; fetch('/retitled'); }, 1000);
</script>"""),
    "/loop-opener.html": ("Loop Opener", "<script>window.open('/caption-loop.html');</script>"),
    "/caption-loop.html": ("Caption Loop", """<script>
function loop() {
  var end = Date.now() + 3000, n = 0;
  (function burst() {
    for (var i = 0; i < 50; ++i) document.title = 'Loop ' + (++n);
    if (Date.now() < end) { setTimeout(burst, 0); return; }
    document.title = 'Caption Loop Done';
    fetch('/loop-done?' + n);
  })();
}
var wait = setInterval(function () {
  fetch('/go', {cache: 'no-store'}).then(function (r) {
    if (r.ok && wait) { clearInterval(wait); wait = null; loop(); }
  });
}, 100);
</script>"""),
}

STAMP = "21127OCT99"
# A window stored maximized, with the size and place it has when it is restored.
MAXIMIZED_CFG = b"21127OCT99\r\n2\r\nall\r\nBlank\r\n9600\r\n6975\r\n4185\r\n4800\r\n0\r\n"


def title_of(path):
    page = PAGES[path]
    return page[0] if isinstance(page, tuple) else page


def done(title):
    return "%s - %s" % (title, desktop.CAPTION_SUFFIX)


def loading(title):
    return "%s  - %s" % (title, desktop.CAPTION_SUFFIX)


class Scenario:
    """What one scenario works with: the desktop, its page server and the Atspi names."""

    def __init__(self, desk):
        self.desk = desk
        self.server = desk.server
        self.a11y = desk.a11y
        self.Atspi = desk.a11y.Atspi
        self.Role = self.Atspi.Role
        self.State = self.Atspi.StateType

    def url(self, path):
        return self.server.url(path)

    def typed(self, path):
        """An address as a person types it: host, port and path, no scheme."""
        return "127.0.0.1:%d%s" % (self.server.port, path)

    def start(self, profile, page="/start.html", loaded=True, env=None, cwd=None):
        """Starts the browser on a page and waits until the page is asked for and, if loaded,
        until the caption says it is shown whole."""
        since = self.server.mark()
        b = self.desk.browser(profile, [self.url(page)], env, cwd).start()
        b.window()
        self.server.wait_request(page, since=since, timeout=40)
        if loaded:
            b.wait_caption(done(title_of(page)), 30)
        return b

    # The address box

    def address_box(self, b):
        """The address box showing: the one editable combo box in the window.

        Qt reports an editable combo box's text as its accessible name on this platform, so
        the name "Address" shows only while the box is empty; its role and its editable text
        part are what tell it from the favorites list.
        """
        def probe():
            boxes = [box for box in self.a11y.find_all(b.accessible(), self.Role.COMBO_BOX)
                     if self.editable_part(box) is not None]
            return boxes[0] if len(boxes) == 1 else None

        return wait_for("one showing editable combo box (the address box)", probe, 10,
                        detail=lambda: self.a11y.describe_showing(b.accessible(),
                                                                  self.Role.COMBO_BOX))

    def editable_part(self, box):
        for i in range(box.get_child_count()):
            child = box.get_child_at_index(i)
            if child is not None and child.get_role() == self.Role.TEXT \
                    and self.a11y.has_state(child, self.State.EDITABLE):
                return child
        return None

    def focus_address_box(self, b):
        """Clicks into the showing address box and waits until it has the keyboard focus."""
        b.activate()
        box = self.address_box(b)
        field = self.editable_part(box)
        b.click_control(field)
        wait_for("the address box to have the keyboard focus",
                 lambda: self.a11y.has_state(field, self.State.FOCUSED), 10)
        return box, field

    def type_address(self, b, text):
        """Clicks into the address box, selects what it holds and types text over it."""
        box, field = self.focus_address_box(b)
        self.desk.key("ctrl+a")
        self.desk.type(text)
        wait_for("the address box to hold %r" % text,
                 lambda: self.a11y.text_of(field) == text, 10,
                 detail=lambda: repr(self.a11y.text_of(field)))
        return box, field

    def visit_by_typing(self, b, path, enter="Return"):
        since = self.server.mark()
        self.type_address(b, self.typed(path))
        self.desk.key(enter)
        self.server.wait_request(path, since=since)
        b.wait_caption(done(title_of(path)))

    def list_entries(self, box):
        """The addresses in the address box's list."""
        entries = []
        for i in range(box.get_child_count()):
            child = box.get_child_at_index(i)
            if child is not None and child.get_role() == self.Role.LIST:
                for j in range(child.get_child_count()):
                    item = child.get_child_at_index(j)
                    if item is not None:
                        entries.append(item.get_name())
        return entries

    def list_showing(self, box):
        """Whether the address box's list is open."""
        for i in range(box.get_child_count()):
            child = box.get_child_at_index(i)
            if child is not None and child.get_role() == self.Role.LIST:
                return self.a11y.showing(child)
        return False

    # The page

    def click_page(self, b):
        """Clicks the middle of the page shown."""
        b.click_control(self.page_node(b))

    def on_page(self, b, x, y):
        """Where the point (x, y) of the page shown is on the screen."""
        left, top = self.a11y.extents(self.page_node(b))[:2]
        return left + x, top + y

    def page_node(self, b):
        """The page shown, as the accessibility tree has it."""
        def page():
            for node in self.a11y.find_all(b.accessible(), self.Role.DOCUMENT_WEB):
                # The engine may give the document no size of its own; the view holding it
                # has the page's place then.
                while node is not None and min(self.a11y.extents(node)[2:]) <= 0:
                    node = node.get_parent()
                if node is not None and node.get_role() != self.Role.FRAME:
                    return node
            return None

        return wait_for("the page in the window", page, 10)

    def barrier(self, b):
        """A click on the page that the page reports to the server: every input given before
        it has been dealt with once the report arrives."""
        since = self.server.mark()
        self.click_page(b)
        self.server.wait_request("/barrier", since=since)

    def reported(self, route, since=0):
        """What the page told the server on route since the mark: the first field of each
        query, in order."""
        return [urllib.parse.unquote(p.split("?", 1)[1].split("&", 1)[0])
                for p in self.server.requests(since)
                if p.split("?", 1)[0] == route and "?" in p]

    def status_text(self, b):
        lines = self.a11y.find_all(b.accessible(), self.Role.TEXT, "Status")
        return self.a11y.text_of(lines[0]) if lines else None

    def wait_status(self, b, expected):
        wait_for("the status line to read %r" % expected,
                 lambda: self.status_text(b) == expected, 15,
                 detail=lambda: repr(self.status_text(b)))

    def labels(self, b, pattern):
        """The names of the showing labels that match pattern whole."""
        names = []
        for node in self.a11y.find_all(b.accessible(), self.Role.LABEL):
            try:
                name = node.get_name()
            except Exception:
                continue
            if re.fullmatch(pattern, name):
                names.append(name)
        return names

    def windows_named(self, b, name):
        """The program's showing top-level windows with that exact title."""
        out = desktop.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(b.pid),
                           "--name", "^%s$" % re.escape(name)], self.desk.env, check=False)
        return [int(w) for w in out.split()]

    def address_keys_there(self, b, why):
        """Waits until the showing address box has the keys with all its text selected."""
        field = self.editable_part(self.address_box(b))

        def ready():
            text = self.a11y.text_of(field) or ""
            return (self.a11y.has_state(field, self.State.FOCUSED) and text
                    and self.a11y.selected_range(field) == (0, len(text)))

        wait_for("the address box to have the keys with its text selected after %s" % why,
                 ready, 10, detail=lambda: "focused %s, text %r, selected %r" % (
                     self.a11y.has_state(field, self.State.FOCUSED), self.a11y.text_of(field),
                     self.a11y.selected_range(field)))
        return field

    # Downloads

    def download_rows(self, b):
        """The rows of the Downloads window in the order the downloads came (the window shows
        the newest on top): the name, the progress value (None while the bar is hidden), the
        line under it and the Cancel button."""
        rows = []
        windows = [w for w in self.a11y.children(b.accessible()) if w.get_name() == "Downloads"]
        for window in windows:
            for node in self.a11y.walk(window, False):
                parts = self.a11y.children(node)
                cancel = [c for c in parts if c.get_role() == self.Role.PUSH_BUTTON
                          and c.get_name() == "Cancel"]
                if not cancel:
                    continue
                labels = [c.get_name() for c in parts if c.get_role() == self.Role.LABEL]
                bars = [c for c in parts if c.get_role() == self.Role.PROGRESS_BAR]
                value = None
                if bars and self.a11y.showing(bars[0]):
                    value = self.a11y.value_of(bars[0])
                rows.append({"name": labels[0] if labels else None,
                             "detail": labels[1] if len(labels) > 1 else None,
                             "progress": value, "cancel": cancel[0]})
        return rows

    def save_dialog(self, b):
        """The Save dialog's file name field, the folder it shows and the field's text."""
        dialog = b.find(self.Role.DIALOG, "Save As", timeout=20)
        field = [n for n in self.a11y.walk(dialog, True)
                 if n.get_role() == self.Role.TEXT and n.get_name() == "File name:"]
        folder = [n for n in self.a11y.walk(dialog, True)
                  if n.get_role() == self.Role.COMBO_BOX and n.get_name().startswith("/")]
        if len(field) != 1 or len(folder) != 1:
            raise Failure("the Save dialog has %d file name fields and %d folders showing"
                          % (len(field), len(folder)))
        return field[0], folder[0].get_name(), self.a11y.text_of(field[0])

    # Arrangement

    def full_arrangement_showing(self, b):
        app = b.accessible()
        return (not self.a11y.find_all(app, self.Role.MENU_BAR)
                and len(self.a11y.find_all(app, self.Role.PUSH_BUTTON, "Normal View")) == 1)

    def _wait_arrangement(self, b, what, showing):
        wait_for(what, lambda: showing(b), 15,
                 detail=lambda: "menu bars showing: %d; %s" % (
                     len(self.a11y.find_all(b.accessible(), self.Role.MENU_BAR)),
                     self.a11y.describe_showing(b.accessible(), self.Role.PUSH_BUTTON)))

    def wait_full_arrangement(self, b):
        self._wait_arrangement(b, "the full-screen arrangement (no menu bar, a \"Normal View\" key)",
                               self.full_arrangement_showing)

    def normal_arrangement_showing(self, b):
        app = b.accessible()
        return (len(self.a11y.find_all(app, self.Role.MENU_BAR)) == 1
                and not self.a11y.find_all(app, self.Role.PUSH_BUTTON, "Normal View"))

    def wait_normal_arrangement(self, b):
        self._wait_arrangement(b, "the normal arrangement (the menu bar, no \"Normal View\" key)",
                               self.normal_arrangement_showing)

    def wait_settled(self, b):
        """Waits until the window manager has stopped moving and sizing the window."""
        history = []

        def still():
            history.append(b.outer_geometry())
            return len(history) >= 5 and len(set(history[-5:])) == 1

        wait_for("the window to hold still", still, 15, interval=0.1,
                 detail=lambda: repr(history[-5:]))
        return history[-1]

    def close_by_window_manager(self, b):
        desktop.run(["wmctrl", "-i", "-c", hex(b.window())], self.desk.env)


def check_cfg(data, window_state, full_screen, outer=None):
    """QuorBrowser.cfg: nine CR LF lines; outer is the window's outer left, top, width and
    height in pixels when the stored place must match it."""
    if not data.endswith(b"\r\n"):
        raise Failure("QuorBrowser.cfg does not end with CR LF: %r" % data)
    lines = data[:-2].split(b"\r\n")
    if len(lines) != 9 or any(b"\r" in l or b"\n" in l for l in lines):
        raise Failure("QuorBrowser.cfg is not nine CR LF lines: %r" % data)
    text = [l.decode("latin-1") for l in lines]
    problems = []
    if text[0] != STAMP:
        problems.append("line 1 is %r, not %r" % (text[0], STAMP))
    if window_state is not None and text[1] != window_state:
        problems.append("window state (line 2) is %r, not %r" % (text[1], window_state))
    if text[2] != "all":
        problems.append("pop-up mode (line 3) is %r, not 'all'" % text[2])
    if text[3] not in ("Blank", "Home"):
        problems.append("start mode (line 4) is %r" % text[3])
    numbers = []
    for i, name in zip(range(4, 8), ("width", "height", "top", "left")):
        try:
            numbers.append(int(text[i]))
        except ValueError:
            problems.append("%s (line %d) is not a whole number: %r" % (name, i + 1, text[i]))
    if text[8] != full_screen:
        problems.append("full screen (line 9) is %r, not %r" % (text[8], full_screen))
    if outer is not None and len(numbers) == 4:
        left, top, width, height = outer
        seen = dict(zip(("width", "height", "top", "left"), numbers))
        want = {"width": width, "height": height, "top": top, "left": left}
        for name in ("width", "height", "top", "left"):
            # A pixel either way for rounding.
            if abs(seen[name] - want[name] * TWIPS_PER_PIXEL) > TWIPS_PER_PIXEL:
                problems.append("%s is %d twips; the window's outer %s is %d px = %d twips"
                                % (name, seen[name], name, want[name],
                                   want[name] * TWIPS_PER_PIXEL))
    if problems:
        raise Failure("QuorBrowser.cfg %r: %s" % (data, "; ".join(problems)))


# ---------------------------------------------------------------------------------------------
# Scenarios

def each_case(s, cases, run):
    """Runs run(s, case) for every row of cases, each with a desktop of its own making: the
    browsers of one case are ended before the next starts. Every case runs; a failure names its
    case."""
    failures = []
    for name, case in cases:
        s.server.clear()
        try:
            run(s, case)
        except Exception as e:
            if not isinstance(e, Failure):
                traceback.print_exc()
            print(report(s.desk))
            failures.append("%s: %s" % (name, e))
        finally:
            s.desk.end_browsers()
    if failures:
        raise Failure("; ".join(failures))


# The keys that send a typed address: the window started empty or on a page, the key, the page
# typed and its title.
ADDRESS_ENTER_CASES = [
    ("Enter into a window started empty", (None, "Return", "/a.html", "Alpha Page")),
    ("the keypad's Enter does what Enter does", ("/start.html", "KP_Enter", "/b.html", "Bravo Page")),
]


def address_enter_keys(s):
    """Typing an address into the address box and pressing Enter, or the keypad's Enter, opens
    it."""

    def run(s, case):
        started_on, key, path, title = case
        profile = s.desk.new_profile("main")
        if started_on is None:
            b = s.desk.browser(profile).start()
            b.wait_caption(desktop.CAPTION_SUFFIX)
        else:
            b = s.start(profile, started_on)
        since = s.server.mark()
        s.type_address(b, s.typed(path))
        s.desk.key(key)
        s.server.wait_request(path, since=since)
        b.wait_caption(done(title))

    each_case(s, ADDRESS_ENTER_CASES, run)


def full_screen_address_return(s):
    """In the full-screen arrangement the small toolbar's address box takes an address."""
    b = s.start(s.desk.new_profile("main"))
    b.activate()
    s.desk.key("F11")
    s.wait_full_arrangement(b)
    since = s.server.mark()
    s.type_address(b, s.typed("/a.html"))
    s.desk.key("Return")
    s.server.wait_request("/a.html", since=since)
    # Without a status line the caption carries the status text, and so may end in the
    # loading form; either way it names the page.
    names = (done("Alpha Page"), loading("Alpha Page"))
    wait_for("the caption to name the page: %r" % (names,), lambda: b.caption() in names, 20,
             detail=lambda: repr(b.caption()))


def _two_visits(s):
    b = s.start(s.desk.new_profile("main"))
    s.visit_by_typing(b, "/a.html")
    s.visit_by_typing(b, "/b.html")
    if s.server.count("/a.html") != 1:
        raise Failure("/a.html asked for %d times after one visit: %s"
                      % (s.server.count("/a.html"), s.server.requests()))
    box = s.address_box(b)
    entries = s.list_entries(box)
    if s.url("/a.html") not in entries:
        raise Failure("the address list lacks %s: %r" % (s.url("/a.html"), entries))
    return b, box


def list_pick_keyboard(s):
    """Alt+Down opens the address list; Down and Enter go to the earlier address."""
    b, box = _two_visits(s)
    s.focus_address_box(b)
    s.desk.key("alt+Down")
    wait_for("the address list to open", lambda: s.list_showing(box), 10)
    s.desk.key("Down")
    s.desk.key("Return")
    s.server.wait_request("/a.html", count=2)
    b.wait_caption(done("Alpha Page"))


def list_pick_mouse(s):
    """A click on the box's arrow and one on the earlier address go there."""
    b, box = _two_visits(s)
    b.activate()
    x, y, w, h = s.a11y.extents(box)
    # The arrow that opens the list sits at the right end of the box.
    s.desk.click(x + w - max(4, h // 2), y + h // 2)
    target = s.url("/a.html")

    def item():
        for node in s.a11y.find_all(b.accessible(), s.Role.LIST_ITEM, target):
            ex = s.a11y.extents(node)
            if ex[2] > 0 and ex[3] > 0 and s.list_showing(box):
                return node
        return None

    node = wait_for("the entry %s in the opened list" % target, item, 10)
    b.click_control(node)
    s.server.wait_request("/a.html", count=2)
    b.wait_caption(done("Alpha Page"))


def known_entry_leave(s):
    """Typing an address the list already holds and leaving the box asks for nothing."""
    b, box = _two_visits(s)
    entry = s.url("/a.html")
    for leave in ("Tab", "click"):
        since = s.server.mark()
        s.type_address(b, entry)
        if leave == "Tab":
            s.desk.key("Tab")
        # The click on the page leaves the box too. Two round trips through the page give a
        # navigation the box might have started every chance to reach the server first.
        s.barrier(b)
        s.barrier(b)
        if s.server.count("/a.html", since=since):
            raise Failure("leaving the box (%s) with %s typed asked for it: %s"
                          % (leave, entry, s.server.requests(since)))
        if b.caption() != done("Bravo Page"):
            raise Failure("leaving the box (%s) changed the caption to %r"
                          % (leave, b.caption()))


def home_key(s):
    """The Home key of the toolbar opens the stored home page."""
    profile = s.desk.new_profile("main")
    profile.write("HomePage", b'"%s"\r\n' % s.url("/home.html").encode())
    b = s.start(profile)
    since = s.server.mark()
    b.activate()
    b.click_control(b.find(s.Role.PUSH_BUTTON, "Home"))
    s.server.wait_request("/home.html", since=since)
    b.wait_caption(done("Home Base"))


def favorite_from_the_popup(s):
    """A click on the "Favorites" label opens the list and loads nothing; a click on a name
    loads its page."""
    profile = s.desk.new_profile("main")
    profile.write("Favorites", b'"%s"\r\n"%s"\r\n' % (s.url("/a.html").encode(),
                                                       s.url("/b.html").encode()))
    profile.write("FavName", b'"Alpha, first"\r\n"Bravo"\r\n')
    b = s.start(profile)
    since = s.server.mark()
    b.activate()
    b.click_control(b.find(s.Role.LABEL, "Favorites"))
    entry = b.find(s.Role.LIST_ITEM, "Bravo")
    if s.server.count("/a.html", since) or s.server.count("/b.html", since):
        raise Failure("opening the favorites list loaded a page: %s" % s.server.requests(since))
    b.click_control(entry)
    s.server.wait_request("/b.html", since=since)
    b.wait_caption(done("Bravo Page"))
    if s.server.count("/a.html", since):
        raise Failure("the first favorite was loaded as well: %s" % s.server.requests(since))


def associate_jpg_files(s):
    """Preferences > Associate Files, tick Jpg, Associate Files: the desktop now opens .jpg
    files with QuorBrowser; UnAssociate gives them back to the program that had them."""
    profile = s.desk.new_profile("main")
    env = profile.env(s.desk.env)

    def default_for_jpeg():
        return desktop.run(["xdg-mime", "query", "default", "image/jpeg"], env,
                           check=False).strip()

    # The user's own picture viewer opens .jpg files until now. Its program is named by its
    # path: xdg-mime from 1.2 on passes over an entry whose program it cannot find as a file.
    apps = os.path.join(env["XDG_DATA_HOME"], "applications")
    os.makedirs(apps, exist_ok=True)
    with open(os.path.join(apps, "viewer.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Viewer\nExec=/bin/true %f\n"
                "MimeType=image/jpeg;\n")
    os.makedirs(env["XDG_CONFIG_HOME"], exist_ok=True)
    with open(os.path.join(env["XDG_CONFIG_HOME"], "mimeapps.list"), "w") as f:
        f.write("# mine\n[Default Applications]\nimage/jpeg=viewer.desktop\n")
    if default_for_jpeg() != "viewer.desktop":
        raise Failure("the viewer is not the program for .jpg files to begin with: %r"
                      % default_for_jpeg())

    b = s.start(profile)
    b.activate()
    # The menu is opened with the mouse too: on Qt 6.8 a menu bar's menu opened from the
    # keyboard takes no click on its items.
    b.click_control(b.find(s.Role.MENU_ITEM, "Preferences"))
    b.click_control(b.find(s.Role.MENU_ITEM, "Associate Files"))
    wizard = b.find(s.Role.PUSH_BUTTON, "Associate Files")
    b.click_control(b.find(s.Role.CHECK_BOX, "Jpg"))
    b.click_control(wizard)
    # The wizard says how it went, in a message a person closes with Enter.
    b.find(s.Role.LABEL, "Successful *.Jpg Association")
    s.desk.key("Return")
    wait_for("the desktop to name QuorBrowser for .jpg files",
             lambda: default_for_jpeg() == "org.ombrane.QuorBrowser.Portable.desktop", 10,
             detail=default_for_jpeg)
    # Jpg is still ticked.
    b.click_control(b.find(s.Role.PUSH_BUTTON, "UnAssociate"))
    b.find(s.Role.LABEL, "Successful *.jpg UnAssociation")
    s.desk.key("Return")
    wait_for("the desktop to name the viewer again for .jpg files",
             lambda: default_for_jpeg() == "viewer.desktop", 10, detail=default_for_jpeg)
    # The copy is not installed: the entry it wrote for itself has gone again.
    if os.path.exists(os.path.join(apps, "org.ombrane.QuorBrowser.Portable.desktop")):
        raise Failure("the wizard's own desktop entry is left after UnAssociate")


def ip_address_key(s):
    """The main toolbar's IP key shows the machine's address beside the address box, and a
    second click hides it."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    b.activate()
    ip = b.find(s.Role.PUSH_BUTTON, "IP")

    def shown():
        names = [n.get_name() for n in s.a11y.find_all(b.accessible(), s.Role.LABEL)]
        return [n for n in names if n.startswith(" IP Address: ")]

    b.click_control(ip)
    wait_for("the address beside the box", shown, 10, detail=shown)
    if not re.fullmatch(r" IP Address: \d+\.\d+\.\d+\.\d+", shown()[0]):
        raise Failure("the label reads %r" % shown()[0])
    b.click_control(ip)
    wait_for("the address to be hidden again", lambda: not shown(), 10, detail=shown)


def window_destroyed_from_outside(s):
    """Another X client destroys the window: the program saves its settings and ends, as when
    the window is closed; minimizing it, by contrast, ends nothing."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    s.wait_settled(b)
    s.desk.xdo("windowminimize", str(b.window()))
    wait_for("the window to be minimized", lambda: "HIDDEN" in b.net_wm_state(), 10,
             detail=b.net_wm_state)
    if not b.running():
        raise Failure("minimizing the window ended the program")
    s.desk.xdo("windowclose", str(b.window()))
    rc = b.wait_exit()
    if rc != 0:
        raise Failure("the program ended with %s" % rc)
    check_cfg(profile.read("QuorBrowser.cfg"), None, "0")


def _exit_by_menu_keys(s, b):
    b.activate()
    s.desk.key("alt+f")
    b.find(s.Role.MENU_ITEM, "Exit")
    s.desk.key("x")


def _close_by_alt_f4(s, b):
    b.activate()
    s.desk.key("alt+F4")


# The ways a person ends the program: Alt+F and x (File > Exit), the window manager's close,
# and the window manager's Alt+F4, which closes the window like its close button.
CLOSE_CASES = [
    ("Alt+F and x", _exit_by_menu_keys),
    ("the window manager's close", lambda s, b: s.close_by_window_manager(b)),
    ("Alt+F4", _close_by_alt_f4),
]


def close_stores_window(s):
    """Each way to close ends the program, which stores its window in QuorBrowser.cfg."""

    def run(s, close):
        profile = s.desk.new_profile("main")
        b = s.start(profile)
        outer = s.wait_settled(b)
        close(s, b)
        rc = b.wait_exit()
        if rc != 0:
            raise Failure("the program ended with %s" % rc)
        check_cfg(profile.read("QuorBrowser.cfg"), "0", "0", outer)

    each_case(s, CLOSE_CASES, run)


def cookie_kept_after_exit(s):
    """A cookie a page keeps is there at the next start, even when the person ends the program
    the moment after it was set."""
    profile = s.desk.new_profile("main")
    b = s.start(profile, "/cookie-set.html")
    wait_for("the page to have its cookie", lambda: "quor=kept" in s.reported("/cookie-set"),
             10, detail=s.server.requests)
    _exit_by_menu_keys(s, b)
    rc = b.wait_exit()
    if rc != 0:
        raise Failure("the program ended with %s" % rc)
    since = s.server.mark()
    s.start(profile, "/cookie-show.html")
    told = wait_for("the page to tell its cookies", lambda: s.reported("/cookie", since), 10,
                    detail=s.server.requests)
    if told != ["quor=kept"]:
        raise Failure("after the restart the page has the cookies %r" % told)


def stored_maximized_opens_maximized(s):
    """A window stored maximized opens maximized."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", MAXIMIZED_CFG)
    b = s.start(profile)
    wait_for("the window to be maximized", b.is_maximized, 10, detail=b.net_wm_state)


# Windows started and closed untouched: the record written first (none for a first start) and the
# window state stored. A maximized window stores the size and place it has while maximized, so
# the record of a maximized window that the program wrote must come back byte for byte too.
UNTOUCHED_CASES = [
    ("a normal window", (None, "0")),
    ("a maximized window", (MAXIMIZED_CFG, "2")),
]


def untouched_restart_cfg_unchanged(s):
    """Starting and closing again without touching anything stores the same window."""

    def run(s, case):
        written, window_state = case
        profile = s.desk.new_profile("main")
        if written is not None:
            profile.write("QuorBrowser.cfg", written)
        first = s.start(profile)
        s.wait_settled(first)
        if window_state == "2":
            wait_for("the window to be maximized", first.is_maximized, 10,
                     detail=first.net_wm_state)
        s.close_by_window_manager(first)
        first.wait_exit()
        stored = profile.read("QuorBrowser.cfg")
        check_cfg(stored, window_state, "0")
        second = s.start(profile)
        outer = s.wait_settled(second)
        state = second.net_wm_state()
        s.close_by_window_manager(second)
        second.wait_exit()
        again = profile.read("QuorBrowser.cfg")
        if again != stored:
            raise Failure("QuorBrowser.cfg changed on an untouched run: %r became %r (the window "
                          "showed at left, top, width, height %r px; %s)"
                          % (stored, again, outer, state))

    each_case(s, UNTOUCHED_CASES, run)


def narrow_window_keeps_minimum_width(s):
    """Sized narrower than the minimum, the window's outer width, frame included, comes back to
    4200 twips; its height follows the person."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    left, top, width, height = s.wait_settled(b)
    # Through the window manager, as a drag of the window's edge asks for it.
    s.desk.xdo("windowsize", str(b.window()), "120", str(height - 100))
    minimum = round(4200 / TWIPS_PER_PIXEL)
    wait_for("the outer width to be the minimum", lambda: b.outer_geometry()[2] == minimum, 10,
             detail=lambda: repr(b.outer_geometry()))
    outer = s.wait_settled(b)
    if outer[2] != minimum or outer[3] >= height:
        raise Failure("after sizing to 120 px wide the window is %r (outer width should be %d)"
                      % (outer, minimum))


def full_screen_survives_restart(s):
    """F11, close, start again: the full-screen arrangement is back in a maximized window."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    b.activate()
    s.desk.key("F11")
    s.wait_full_arrangement(b)
    s.close_by_window_manager(b)
    b.wait_exit()
    stored = profile.read("QuorBrowser.cfg")
    check_cfg(stored, None, "1")
    again = s.start(profile, loaded=False)
    wait_for("the window to be maximized", again.is_maximized, 10, detail=again.net_wm_state)
    s.wait_full_arrangement(again)


def full_screen_keys_let_go(s):
    """F11 goes into full screen and F11 comes out again, as does Esc with nothing loading: the
    menu bar comes back and the window stays maximized; closed then, it is stored normal."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    s.wait_settled(b)
    b.activate()
    for key, full in (("F11", True), ("F11", False), ("F11", True), ("Escape", False)):
        s.desk.key(key)
        if full:
            s.wait_full_arrangement(b)
            wait_for("the window to be maximized", b.is_maximized, 10, detail=b.net_wm_state)
        else:
            s.wait_normal_arrangement(b)
    if b.caption() != done("Starting Line"):
        raise Failure("the caption became %r" % b.caption())
    s.close_by_window_manager(b)
    if b.wait_exit() != 0:
        raise Failure("the program ended with %s" % b.returncode)
    check_cfg(profile.read("QuorBrowser.cfg"), None, "0")


def caption_follows_late_title(s):
    """A page that sets its title a second after its load: the caption follows it."""
    profile = s.desk.new_profile("main")
    since = s.server.mark()
    b = s.start(profile, "/late-title.html")
    s.server.wait_request("/retitled", since=since, timeout=20)
    b.wait_caption(done("Retitled Later"), 10)
    if s.server.requests(since).count("/late-title.html") != 1:
        raise Failure("the page was asked for again: %r" % s.server.requests(since))


def favorites_done_keeps_bytes(s):
    """Favorites whose names are UTF-8 and single-byte text: Favorites > Edit Favorites and a
    click on Done, again and again, leave both files byte for byte."""
    profile = s.desk.new_profile("main")
    addresses = b'"%s"\r\n"%s"\r\n' % (s.url("/a.html").encode(), s.url("/b.html").encode())
    names = b'"Page \xc3\xa9 utf8"\r\n"Page \xe9 latin"\r\n'
    profile.write("Favorites", addresses)
    profile.write("FavName", names)
    b = s.start(profile)
    s.wait_settled(b)
    for n in range(1, 5):
        b.activate()
        s.desk.key("alt+h")
        b.find(s.Role.MENU_ITEM, "Splash")
        s.desk.key("Left")
        b.find(s.Role.MENU_ITEM, "Edit Favorites")
        s.desk.key("e")
        b.find(s.Role.LIST_ITEM, "Page \u00e9 utf8", timeout=20)
        b.find(s.Role.LIST_ITEM, "Page \u00e9 latin")
        b.click_control(b.find(s.Role.PUSH_BUTTON, "Done"))
        wait_for("the editor closed",
                 lambda: not s.desk.a11y.find_all(b.accessible(), s.Role.PUSH_BUTTON, "Done"), 20)
        if profile.read("Favorites") != addresses or profile.read("FavName") != names:
            raise Failure("Done number %d changed the files: %r and %r" % (
                n, profile.read("Favorites"), profile.read("FavName")))
    s.barrier(b)


def software_drawing(s):
    """Drawn by the software scene graph, as on a machine without a GPU, the window shows the
    page as the OpenGL path does, pixel for pixel, and no OpenGL driver is ever loaded; on the
    OpenGL path, on the same display, one is (so the check can see one)."""
    shots = {}
    for mode in ("hardware", "software"):
        profile = s.desk.new_profile(mode)
        b = s.start(profile, env={"QUORBROWSER_SCENE_GRAPH": mode})
        s.wait_settled(b)
        with open("/proc/%d/maps" % b.pid) as f:
            drivers = sorted({line.split("/")[-1].strip() for line in f
                              if "_dri.so" in line or "libGLX_mesa" in line})
        if bool(drivers) != (mode == "hardware"):
            raise Failure("%s mode: OpenGL drivers loaded: %s" % (mode, drivers or "none"))
        shots[mode] = s.desk.path("window-%s.png" % mode)
        desktop.run(["import", "-window", str(b.window()), shots[mode]], s.desk.env)
        s.close_by_window_manager(b)
        if b.wait_exit() != 0:
            raise Failure("%s mode: the program did not end cleanly" % mode)
    # The address box's caret blinks; everything else must match.
    r = subprocess.run(["compare", "-metric", "AE", "-fuzz", "3%", shots["hardware"],
                        shots["software"], "null:"], capture_output=True, text=True)
    differing = float(r.stderr.split()[0]) if r.stderr.split() else -1
    if r.returncode > 1 or differing < 0 or differing > 200:
        raise Failure("the two modes draw the window differently: %s pixels (%s)"
                      % (differing, r.stderr.strip()))


def _png(rgb):
    """A one-pixel PNG of that colour."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xffffffff))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 1, 1, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"\x00" + bytes(rgb))) + chunk(b"IEND", b""))


def _instances(binary):
    """The pids of every running program started from binary."""
    pids = []
    target = os.path.realpath(binary)
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                if os.path.realpath("/proc/%s/exe" % entry) == target:
                    pids.append(int(entry))
            except OSError:
                pass
    return pids


def allow_parent_typing_opens_nothing(s):
    """Allow Parent Windows: with the pointer resting on a link, typing into a text box whose
    keys ask for windows starts no program and fetches nothing; a click on the link opens it in
    one new instance."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", b"21127OCT99\r\n0\r\nallow\r\nBlank\r\n9600\r\n6975\r\n"
                  b"1000\r\n1000\r\n0\r\n")
    b = s.start(profile, "/typing.html")
    s.wait_settled(b)
    b.activate()
    s.desk.click(*s.on_page(b, 190, 115))  # into the text box
    link = s.on_page(b, 190, 250)
    s.desk.move(*link)

    def status():
        lines = s.a11y.find_all(b.accessible(), s.Role.TEXT, "Status")
        return s.a11y.text_of(lines[0]) if lines else None

    wait_for("the link's address in the status line", lambda: status() == s.url("/linked.html"),
             10, detail=status)
    before = set(_instances(s.desk.binary))
    since = s.server.mark()
    s.desk.type("my name is Quor and I type a while")
    wait_for("the page to have every key", lambda: any(
        p.startswith("/typed?") and p.endswith("a%20while") for p in s.server.requests(since)),
        15, detail=lambda: s.server.requests(since)[-3:])
    # A click elsewhere on the page that the page reports: every key has been dealt with then.
    s.barrier(b)
    started = set(_instances(s.desk.binary)) - before
    if started or s.server.count("/linked.html", since):
        raise Failure("typing started %s and fetched %s" % (sorted(started),
                                                            s.server.requests(since)))
    # The person clicks the link: one new instance opens it.
    s.desk.click(*link)
    s.server.wait_request("/linked.html", since=since, timeout=40)
    wait_for("one new instance", lambda: len(set(_instances(s.desk.binary)) - before) == 1, 20,
             detail=lambda: sorted(set(_instances(s.desk.binary)) - before))
    if s.server.count("/linked.html", since) != 1:
        raise Failure("the link was fetched %d times" % s.server.count("/linked.html", since))
    for pid in set(_instances(s.desk.binary)) - before:
        desktop.kill_tree(pid)


def saved_page_keeps_secrets(s):
    """A saved page opened from the command line, as the desktop opens every saved page: its
    frame and its picture show, and its script reads no other file of the machine, neither
    through a frame nor a window nor a request."""
    secret = "E2ESECRET_91"
    root = s.desk.path("files")
    saved, private = os.path.join(root, "Saved Pages"), os.path.join(root, "private")
    beacon = s.url("/beacon")
    files = {
        os.path.join(private, "secret.html"): "<html><body>%s</body></html>" % secret,
        os.path.join(private, "secret.txt"): secret,
        os.path.join(saved, "frame.html"):
            "<p>The frame's own text</p><img src='%s?frame-shown'>" % beacon,
        os.path.join(saved, "page.html"): """<html><head><title>Saved Page</title></head><body>
<img src="page_files/own.png" width=40 height=40 onload="new Image().src='%(b)s?picture-shown'">
<iframe src="frame.html"></iframe>
<iframe id="s" src="../private/secret.html"></iframe>
<script>
function tell(what, value) { new Image().src = '%(b)s?' + what + '=' + encodeURIComponent(value); }
function tryRead(what, read) {
  try { var v = read(); tell(v && v.indexOf('%(secret)s') >= 0 ? 'leak-' + what : 'kept-' + what, v); }
  catch (e) { tell('kept-' + what, e.name); }
}
var w = window.open('../private/secret.html');
onload = function () { setTimeout(function () {
  tryRead('frame', function () { return document.getElementById('s').contentDocument.body.innerText; });
  tryRead('window', function () { return w.document.body.innerText; });
  tryRead('request', function () {
    var x = new XMLHttpRequest(); x.open('GET', '../private/secret.txt', false); x.send();
    return x.responseText; });
}, 500); };
</script></body></html>""" % {"b": beacon, "secret": secret},
    }
    for path, text in files.items():
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w") as f:
            f.write(text)
    os.makedirs(os.path.join(saved, "page_files"), exist_ok=True)
    with open(os.path.join(saved, "page_files", "own.png"), "wb") as f:
        f.write(_png((0, 160, 0)))
    for folder, dirs, names in os.walk(root):
        os.chmod(folder, 0o755)
        for name in names:
            os.chmod(os.path.join(folder, name), 0o644)

    profile = s.desk.new_profile("main")
    b = s.desk.browser(profile, [os.path.join(saved, "page.html")]).start()
    b.window()
    b.wait_caption(done("Saved Page"), 30)
    def told(pattern):
        return [p for p in s.server.requests() if re.match(r"/beacon\?" + pattern, p)]

    for what in ("frame-shown", "picture-shown", "(kept|leak)-frame", "(kept|leak)-window",
                 "(kept|leak)-request"):
        wait_for("the page to report " + what, lambda: told(what), 20, detail=s.server.requests)
    if told(".*(leak-|%s)" % secret):
        raise Failure("the page read the secret: %s" % told(""))


CANCEL_ALL_CFG = b"21127OCT99\r\n0\r\nall\r\nBlank\r\n12000\r\n9000\r\n1000\r\n1000\r\n0\r\n"
DOWNLOAD_RUNNING = "A download is still running. Stop it and close?"


def _wait_active(s, b, title):
    """Waits until the program's window of that title has the keyboard focus."""
    def active():
        return int(desktop.run(["xdotool", "getactivewindow"], s.desk.env, check=False).strip()
                   or 0) in s.windows_named(b, title)

    wait_for("the window %r to have the focus" % title, active, 15)


def _new_instance(s, profile, before):
    """Waits for the one instance started since before, the pids then running, and adopts it.

    The program lets it go at once, so this process, the subreaper, becomes its parent: the
    copy of the program that forks it on its way is never taken for it."""
    def parent(pid):
        try:
            with open("/proc/%d/stat" % pid, "rb") as f:
                stat = f.read()
        except OSError:
            return None
        return int(stat[stat.rfind(b")") + 2:].split()[1])

    def started():
        return sorted(set(_instances(s.desk.binary)) - before)

    def one():
        new = started()
        return new if len(new) == 1 and parent(new[0]) == os.getpid() else None

    pid = wait_for("one new instance", one, 20, detail=lambda: repr(started()))[0]
    return s.desk.adopt(profile, pid)


def _forget_cfg(profile):
    """Removes QuorBrowser.cfg, so that the next one read is the one the next close wrote."""
    try:
        os.remove(profile.file("QuorBrowser.cfg"))
    except FileNotFoundError:
        pass


def usual_keys(s):
    """The window's own keys, pressed with the keys in the page or in the address box:
    Ctrl+L, Alt+D and F6 put the keys in the address box with its text selected, so the address
    typed next replaces it and Enter goes there; Alt+Left and Alt+Right go back and forward one
    page; Ctrl+R and F5 ask for the page again, once; Esc stops a load that runs and is the
    page's own key while none does; Ctrl+J shows the Downloads window; Ctrl+N starts a new
    instance, which Ctrl+Q closes; in full screen Ctrl+L finds the small address box; Ctrl+W
    closes the window. Each close stores the window in QuorBrowser.cfg."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    s.wait_settled(b)

    def keys_in(where):
        b.activate()
        if where == "page":
            s.barrier(b)
        else:
            s.focus_address_box(b)
            # The caret at the end, nothing selected.
            s.desk.key("End")

    # The key, where the keys are before it, and the page typed into the box after it.
    for key, where, path in (("ctrl+l", "page", "/a.html"),
                             ("alt+d", "page", "/b.html"),
                             ("F6", "address", "/keys.html")):
        keys_in(where)
        s.desk.key(key)
        field = s.address_keys_there(b, key)
        since = s.server.mark()
        s.desk.type(s.typed(path))
        wait_for("the typed address to replace the selected one after %s" % key,
                 lambda: s.a11y.text_of(field) == s.typed(path), 10,
                 detail=lambda: repr(s.a11y.text_of(field)))
        s.desk.key("Return")
        s.server.wait_request(path, since=since)
        b.wait_caption(done(title_of(path)))

    # Through the history: start, Alpha, Bravo, Keys.
    for key, where, title in (("alt+Left", "page", "Bravo Page"),
                              ("alt+Left", "address", "Alpha Page"),
                              ("alt+Right", "page", "Bravo Page"),
                              ("alt+Right", "address", "Keys Page")):
        keys_in(where)
        s.desk.key(key)
        b.wait_caption(done(title))
        # One step, not two: still there once the page has answered a click.
        s.barrier(b)
        if b.caption() != done(title):
            raise Failure("%s went on past %r to %r" % (key, title, b.caption()))

    for key, where in (("ctrl+r", "page"), ("F5", "address")):
        keys_in(where)
        since = s.server.mark()
        s.desk.key(key)
        s.server.wait_request("/keys.html", since=since)
        b.wait_caption(done("Keys Page"))
        s.barrier(b)
        if s.server.count("/keys.html", since) != 1:
            raise Failure("%s asked for the page %d times: %s"
                          % (key, s.server.count("/keys.html", since), s.server.requests(since)))

    # Esc with no load running belongs to the page.
    keys_in("page")
    since = s.server.mark()
    s.desk.key("Escape")
    wait_for("the page to get Esc", lambda: "Escape" in s.reported("/key", since), 10,
             detail=lambda: s.server.requests(since))
    # A load that runs: Esc, pressed right after Enter in the address box, ends it.
    transfers = s.server.transfer_mark()
    s.type_address(b, s.typed("/slow.html"))
    s.desk.key("Return")
    slow = wait_for("the slow page to be coming",
                    lambda: s.server.transfer("/slow.html", transfers), 15)
    wait_for("the first of the slow page", lambda: slow.sent > 0, 10)
    s.desk.key("Escape")
    wait_for("Esc to end the slow page's load", lambda: slow.state == "broken", 10,
             detail=lambda: repr(slow))
    s.visit_by_typing(b, "/keys.html")

    keys_in("page")
    s.desk.key("ctrl+j")
    wait_for("the Downloads window", lambda: s.windows_named(b, "Downloads"), 10)

    before = set(_instances(s.desk.binary))
    keys_in("page")
    s.desk.key("ctrl+n")
    other = _new_instance(s, profile, before)
    other.activate()
    _forget_cfg(profile)
    s.desk.key("ctrl+q")
    if other.wait_exit() != 0:
        raise Failure("the new instance ended with %s after Ctrl+Q" % other.returncode)
    check_cfg(profile.read("QuorBrowser.cfg"), None, "0")

    b.activate()
    s.desk.key("F11")
    s.wait_full_arrangement(b)
    keys_in("page")
    s.desk.key("ctrl+l")
    field = s.address_keys_there(b, "ctrl+l in full screen")
    since = s.server.mark()
    s.desk.type(s.typed("/a.html"))
    wait_for("the typed address in the small box", lambda: s.a11y.text_of(field)
             == s.typed("/a.html"), 10, detail=lambda: repr(s.a11y.text_of(field)))
    s.desk.key("Return")
    s.server.wait_request("/a.html", since=since)

    _forget_cfg(profile)
    b.activate()
    s.desk.key("ctrl+w")
    if b.wait_exit() != 0:
        raise Failure("the program ended with %s after Ctrl+W" % b.returncode)
    check_cfg(profile.read("QuorBrowser.cfg"), None, "1")


def zoom_keys(s):
    """Ctrl+plus (the plus key with Shift, as a person presses it, or the keypad's), Ctrl+=,
    Ctrl+minus and Ctrl with the wheel each zoom the page by a step, and Ctrl+0 brings it back
    to 100%: the page lays itself out anew (its width in CSS pixels follows the zoom) and the
    status line shows the zoom while it is not 100%."""
    profile = s.desk.new_profile("main")
    b = s.start(profile, "/keys.html")
    s.wait_settled(b)
    b.activate()
    full = int(wait_for("the page to report its width", lambda: s.reported("/width"), 10)[-1])

    def zoom_is(percent, after):
        labels = [] if percent == 100 else ["Zoom %d%%" % percent]
        width = full * 100 / percent

        def shown():
            # The page's width first, from the server's log: the status line is asked over the
            # accessibility bus only once the page has the zoom, and not too often. Asked all
            # along, the questions keep a loaded program's event loop from the status line's
            # own update (seen with Qt 6.8).
            return (abs(int(s.reported("/width")[-1]) - width) <= 1
                    and s.labels(b, r"Zoom \d+%") == labels)

        wait_for("the page at %d%% after %s" % (percent, after), shown, 20, interval=0.4,
                 detail=lambda: "zoom labels %r, page %s CSS px wide (%d at 100%%)"
                 % (s.labels(b, r"Zoom \d+%"), s.reported("/width")[-1], full))

    def press(what):
        if what.startswith("ctrl+wheel"):
            s.desk.wheel(what.endswith("up"), hold="ctrl")
        else:
            s.desk.key(what)

    problems = []
    for presses, percent in ((("ctrl+plus",), 110),
                             (("ctrl+equal",), 110),
                             (("ctrl+KP_Add",), 110),
                             (("ctrl+equal", "ctrl+equal"), 125),
                             (("ctrl+minus",), 90),
                             (("ctrl+KP_Subtract",), 90),
                             (("ctrl+wheel up",), 110),
                             (("ctrl+wheel down",), 90)):
        # The keys in the page and the pointer over it.
        s.barrier(b)
        try:
            for what in presses:
                press(what)
            zoom_is(percent, " ".join(presses))
        except Failure as e:
            # Every row is heard: each key is a way of its own to zoom.
            problems.append(str(e))
        s.desk.key("ctrl+0")
        zoom_is(100, "ctrl+0")
    if problems:
        raise Failure("; ".join(problems))


def find_in_page(s):
    """Ctrl+F opens the find bar with the keys in its box. A word the page holds three times
    reads "1 of 3"; Enter and Next go on, Shift+Enter and Previous go back, round the ends; a
    letter more that matches nothing reads "No matches", and taking it back looks again from
    the top. No key typed into the bar reaches the page. Esc closes the bar and the page has the
    keys again."""
    b = s.start(s.desk.new_profile("main"), "/keys.html")
    s.wait_settled(b)
    b.activate()
    s.barrier(b)
    s.desk.key("ctrl+f")
    box = b.find(s.Role.TEXT, "Find in page")
    wait_for("the find box to have the keys",
             lambda: s.a11y.has_state(box, s.State.FOCUSED), 10)
    since = s.server.mark()

    def count_reads(expected, after):
        wait_for("the find bar to read %r after %s" % (expected, after),
                 lambda: s.labels(b, r"\d+ of \d+|No matches") == [expected], 10,
                 detail=lambda: repr(s.labels(b, r"\d+ of \d+|No matches")))

    s.desk.type("quorum")
    count_reads("1 of 3", "typing quorum")
    for step, expected in (("Return", "2 of 3"),
                           ("Return", "3 of 3"),
                           ("Return", "1 of 3"),
                           ("shift+Return", "3 of 3"),
                           ("Previous", "2 of 3"),
                           ("Next", "3 of 3"),
                           ("x", "No matches"),
                           ("BackSpace", "1 of 3")):
        if step in ("Previous", "Next"):
            b.click_control(b.find(s.Role.PUSH_BUTTON, step))
        else:
            s.desk.key(step)
        count_reads(expected, step)
    s.desk.key("Escape")
    wait_for("the find bar to close",
             lambda: not s.a11y.find_all(b.accessible(), s.Role.TEXT, "Find in page"), 10)
    s.desk.type("k")
    wait_for("the page to get k", lambda: "k" in s.reported("/key", since), 10,
             detail=lambda: s.server.requests(since))
    if s.reported("/key", since) != ["k"]:
        raise Failure("the page got the keys %r; only the k typed after Esc was its own"
                      % s.reported("/key", since))


def context_menu_new_window(s):
    """Cancel All Windows, the stored mode: the page's menu on a link offers "Open link in new
    window" and nothing of tabs; choosing it hands the link to one new instance, which loads it
    once, while this window stays on its page."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", CANCEL_ALL_CFG)
    b = s.start(profile, "/links.html")
    s.wait_settled(b)
    b.activate()
    s.a11y.watch_popups()
    shown = s.a11y.popups_shown()
    s.desk.move(*s.on_page(b, 190, 85))
    before = set(_instances(s.desk.binary))
    since = s.server.mark()
    s.desk.xdo("click", "3")
    menu = s.a11y.popup_menu(shown)
    items = wait_for("the items of the page's menu", lambda: {
        n.get_name(): n for n in s.a11y.children(menu) if n.get_role() == s.Role.MENU_ITEM}, 10)
    if "Open link in new window" not in items or any("tab" in n.lower() for n in items):
        raise Failure("the menu on a link offers %r" % sorted(items))
    b.click_control(items["Open link in new window"])
    s.server.wait_request("/linked.html", since=since, timeout=40)
    other = _new_instance(s, profile, before)
    other.wait_caption(done("Linked Page"), 30)
    s.barrier(b)
    if s.server.count("/linked.html", since) != 1:
        raise Failure("the link was fetched %d times: %s"
                      % (s.server.count("/linked.html", since), s.server.requests(since)))
    if b.caption() != done("Link Page"):
        raise Failure("the window left its page: %r" % b.caption())


def download_hostile_name(s):
    """A download the server names "../../evil.sh": the Save dialog proposes the plain name
    evil.sh in the download folder, and Enter saves it there, whole; the Downloads window lists
    it done and the status line says so. Nothing is written anywhere else."""
    profile = s.desk.new_profile("main")
    folder = os.path.join(profile.root, "home", "Downloads")
    b = s.start(profile)
    s.type_address(b, s.typed("/evil"))
    s.desk.key("Return")
    field, shown_folder, name = s.save_dialog(b)
    if (name, shown_folder) != ("evil.sh", folder):
        raise Failure("the Save dialog proposes %r in %r, not 'evil.sh' in %r"
                      % (name, shown_folder, folder))
    _wait_active(s, b, "Save As")
    s.desk.key("Return")
    saved = os.path.join(folder, "evil.sh")
    wait_for("the file in the download folder", lambda: os.path.exists(saved), 15)
    s.wait_status(b, "Download complete: evil.sh")
    with open(saved, "rb") as f:
        if f.read() != PAGES["/evil"].content():
            raise Failure("%s does not hold what the server sent" % saved)
    rows = wait_for("the download listed done", lambda: [
        (r["name"], r["detail"]) for r in s.download_rows(b) if r["detail"]
        and r["detail"].endswith("done")], 10, detail=lambda: s.download_rows(b))
    if rows != [("evil.sh", "300 bytes, done")]:
        raise Failure("the Downloads window lists %r" % rows)
    written = [os.path.join(d, n) for d, _, names in os.walk(s.desk.tmp) for n in names
               if "evil" in n]
    if written != [saved]:
        raise Failure("files named after the download: %r" % written)


def download_progress_and_cancel(s):
    """A slow download shows its progress in the Downloads window: the bar grows and the line
    under it tells how much of how much and how fast. Cancel stops it: the server sees the
    transfer end early, the status line says so and no file is left. With another one running
    the person closes the window: asked whether to stop it, Enter answers No, and the window
    and the download go on; Ctrl+W and Yes end the program, the transfer and the file."""
    profile = s.desk.new_profile("main")
    folder = os.path.join(profile.root, "home", "Downloads")
    b = s.start(profile)
    total = PAGES["/big.bin"].size
    detail = r"[\d.]+ (bytes|KB|MB) of 4\.0 MB, [\d.]+ (bytes|KB|MB)/s"

    def start_download():
        transfers = s.server.transfer_mark()
        s.type_address(b, s.typed("/big.bin"))
        s.desk.key("Return")
        field, shown_folder, name = s.save_dialog(b)
        if (name, shown_folder) != ("big.bin", folder):
            raise Failure("the Save dialog proposes %r in %r" % (name, shown_folder))
        _wait_active(s, b, "Save As")
        s.desk.key("Return")
        return wait_for("the download to begin",
                        lambda: s.server.transfer("/big.bin", transfers), 15)

    def newest():
        rows = s.download_rows(b)
        return rows[-1] if rows else {}

    def moving(why):
        """Waits until the newest row shows progress that then moves on."""
        first = wait_for("progress and speed in the Downloads window %s" % why, lambda: (
            newest() if (newest().get("progress") or 0) > 0
            and re.fullmatch(detail, newest().get("detail") or "") else None), 15,
            detail=lambda: repr(newest()))
        wait_for("the progress to move on %s" % why, lambda: (
            (newest().get("progress") or 0) > first["progress"]
            and newest().get("detail") != first["detail"]), 15,
            detail=lambda: "%r, at first %r" % (newest(), first))

    transfer = start_download()
    s.wait_status(b, "Downloading big.bin")
    moving("while it runs")
    b.click_control(newest()["cancel"])
    wait_for("the transfer to end early", lambda: transfer.state != "sending", 15,
             detail=lambda: repr(transfer))
    if transfer.state != "broken" or transfer.sent >= total:
        raise Failure("after Cancel the server saw %r" % transfer)
    s.wait_status(b, "Download cancelled: big.bin")
    wait_for("the row to say Cancelled", lambda: newest().get("detail") == "Cancelled", 10,
             detail=lambda: repr(newest()))
    wait_for("no file left", lambda: os.listdir(folder) == [], 10,
             detail=lambda: repr(os.listdir(folder)))

    transfer = start_download()
    moving("of the second download")
    s.close_by_window_manager(b)
    b.find(s.Role.LABEL, DOWNLOAD_RUNNING)
    _wait_active(s, b, "QuorBrowser")
    s.desk.key("Return")
    wait_for("the question to go", lambda: not s.labels(b, re.escape(DOWNLOAD_RUNNING)), 10)
    sent = transfer.sent
    moving("after No")
    if not b.running() or not s.windows_named(b, b.caption()):
        raise Failure("No did not keep the window")
    if transfer.state != "sending" or transfer.sent <= sent:
        raise Failure("No did not keep the download: %r" % transfer)

    b.activate()
    s.desk.key("ctrl+w")
    b.click_control(b.find(s.Role.PUSH_BUTTON, "Yes"))
    if b.wait_exit() != 0:
        raise Failure("the program ended with %s" % b.returncode)
    wait_for("the transfer to end", lambda: transfer.state != "sending", 10,
             detail=lambda: repr(transfer))
    if transfer.state != "broken" or transfer.sent >= total:
        raise Failure("closing with Yes left the server with %r" % transfer)
    if os.listdir(folder):
        raise Failure("closing with Yes left %r in the download folder" % os.listdir(folder))


def _pdf_text(path):
    if not shutil.which("pdftotext"):
        raise Failure("pdftotext is missing (poppler-utils; tools/install-deps installs it)")
    r = subprocess.run(["pdftotext", path, "-"], capture_output=True, text=True)
    return r.stdout if r.returncode == 0 else ""


def print_to_pdf_keeps_text(s):
    """Ctrl+P with no printer: the print dialog's target is a PDF file named after the page in
    the home folder, and Enter prints it: the file holds the page's words as text and stays
    small. Printed once to another folder, the next print proposes that folder."""
    profile = s.desk.new_profile("main")
    home = os.path.join(profile.root, "home")
    elsewhere = s.desk.path("prints")
    os.makedirs(elsewhere)
    b = s.start(profile, "/print.html")
    s.wait_settled(b)
    named = "Printable Words.pdf"
    # What the dialog proposes, what the person types over it (None: nothing) and the file
    # printed (None: the person cancels).
    for proposed, typed, printed in ((os.path.join(home, named), None, os.path.join(home, named)),
                                     (os.path.join(home, named),
                                      os.path.join(elsewhere, "Second.pdf"),
                                      os.path.join(elsewhere, "Second.pdf")),
                                     (os.path.join(elsewhere, named), None, None)):
        b.activate()
        s.desk.key("ctrl+p")
        dialog = b.find(s.Role.DIALOG, "Print", timeout=20)
        output = b.find(s.Role.TEXT, "Output file:")
        if s.a11y.text_of(output) != proposed:
            raise Failure("the print dialog proposes %r, not %r"
                          % (s.a11y.text_of(output), proposed))
        _wait_active(s, b, "Print")
        if typed:
            b.click_control(output)
            s.desk.key("ctrl+a")
            s.desk.type(typed)
            wait_for("the output file typed", lambda: s.a11y.text_of(output) == typed, 10,
                     detail=lambda: repr(s.a11y.text_of(output)))
        if printed is None:
            s.desk.key("Escape")
            wait_for("the print dialog to close", lambda: not s.a11y.showing(dialog), 10)
            break
        s.desk.key("Return")
        wait_for("the page's words in %s" % printed,
                 lambda: "Quorum ledger zebra" in _pdf_text(printed), 30,
                 detail=lambda: repr(_pdf_text(printed)) if os.path.exists(printed)
                 else "no file")
        size = os.path.getsize(printed)
        if size >= 200 << 10:
            raise Failure("%s takes %d bytes for one line" % (printed, size))
    if os.path.exists(os.path.join(elsewhere, named)):
        raise Failure("the cancelled print wrote a file")


def alert_loop_lets_go(s):
    """A page whose every OK brings the next dialog: the second one offers to stop the page's
    dialogs, and taking it lets the page go on; on the page's next visit, with a dialog up, the
    window manager's close still ends the program and the settings are written."""
    profile = s.desk.new_profile("main")
    b = s.start(profile, "/alerts.html", loaded=False)
    _wait_active(s, b, "127.0.0.1")
    s.desk.key("Return")
    stop = s.a11y.find(b.accessible(), s.Role.CHECK_BOX,
                       "Stop this page from showing more dialogs", 15)
    x, y, w, h = s.a11y.extents(stop)
    s.desk.click(x + w // 2, y + h // 2)
    wait_for("the offer taken", lambda: s.a11y.has_state(stop, s.Atspi.StateType.CHECKED), 10)
    s.desk.key("Return")
    s.server.wait_request("/after-alerts", timeout=20)
    b.wait_caption(done("Alerts"), 20)
    # Again, and the person has had enough: the window manager closes the browser.
    s.type_address(b, s.typed("/alerts.html"))
    s.desk.key("Return")
    _wait_active(s, b, "127.0.0.1")
    s.close_by_window_manager(b)
    rc = b.wait_exit()
    if rc != 0:
        raise Failure("the program ended with %s" % rc)
    check_cfg(profile.read("QuorBrowser.cfg"), "0", "0")


def other_program_link_asks(s):
    """A link whose scheme another program of the desktop handles: a click asks "Open this link
    with Quor Test Handler?", No (the default) starts nothing, Yes starts it once; the page's
    script alone starts nothing."""
    profile = s.desk.new_profile("main")
    handled = os.path.join(profile.root, "handled.txt")
    handler = os.path.join(profile.root, "handler.sh")
    with open(handler, "w") as f:
        f.write('#!/bin/sh\necho "$1" >> "%s"\n' % handled)
    os.chmod(handler, 0o755)
    apps = os.path.join(profile.root, "data", "applications")
    os.makedirs(apps, exist_ok=True)
    with open(os.path.join(apps, "quor-test-handler.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Quor Test Handler\n"
                "Exec=%s %%u\nMimeType=x-scheme-handler/x-quor-test;\n" % handler)
    with open(os.path.join(profile.root, "config", "mimeapps.list"), "w") as f:
        f.write("[Default Applications]\n"
                "x-scheme-handler/x-quor-test=quor-test-handler.desktop\n")

    def lines():
        try:
            with open(handled) as f:
                return f.read().split()
        except FileNotFoundError:
            return []

    b = s.start(profile, "/other.html")
    s.wait_settled(b)
    b.activate()
    link = s.on_page(b, 190, 130)
    s.desk.click(*link)
    _wait_active(s, b, "Open with another program")

    def question():
        for label in s.a11y.find_all(b.accessible(), s.Role.LABEL):
            text = (label.get_name() or "") + " " + (s.a11y.text_of(label) or "")
            if "Open this link with" in text:
                return text
        return None

    asked = wait_for("the question", question, 10)
    if "Quor Test Handler" not in asked or "x-quor-test:clicked" not in asked:
        raise Failure("the question does not name the program and the link: %r" % asked)
    s.desk.key("Return")  # No
    s.barrier(b)
    if lines():
        raise Failure("No started the program: %s" % lines())
    s.desk.click(*link)
    _wait_active(s, b, "Open with another program")
    s.desk.key("y")
    wait_for("the program to have the link", lambda: lines(), 15)
    s.barrier(b)
    if lines() != ["x-quor-test:clicked"]:
        raise Failure("the program was given %s" % lines())


ALLOW_ALL_CFG = b"21127OCT99\r\n0\r\nallowie\r\nBlank\r\n9600\r\n6975\r\n1000\r\n1000\r\n0\r\n"
MINIMIZED_CFG = b"21127OCT99\r\n1\r\nall\r\nBlank\r\n9600\r\n6975\r\n1000\r\n1000\r\n0\r\n"
# Windows of its own a page may have open at once, its windows' windows counted in.
PAGE_WINDOWS_MAX = 20
POPUP_NOTICE = "Pop-Up Window Canceled"


def _managed_windows(s, b):
    """The program's windows that the window manager manages, by id, with their titles."""
    out = desktop.run(["wmctrl", "-lp"], s.desk.env, check=False)
    found = {}
    for line in out.splitlines():
        parts = line.split(None, 4)
        if len(parts) >= 4 and parts[2] == str(b.pid):
            found[int(parts[0], 16)] = parts[4] if len(parts) > 4 else ""
    return found


def _read_or_empty(profile, name):
    try:
        with open(profile.file(name), "rb") as f:
            return f.read()
    except FileNotFoundError:
        return b""


def allow_all_window_budget(s):
    """Allow All Windows, and a page whose window asks for a window every 10 ms, each of which
    asks for one more: at no point of twelve seconds of the page's own time are more than 20
    windows of the page's open at once; the main window still goes to an address typed into it,
    with the flood going on."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", ALLOW_ALL_CFG)
    b = s.start(profile, "/flood.html")
    main = b.window()
    most = [0]

    def page_windows():
        others = sorted(w for w in _managed_windows(s, b) if w != main)
        most[0] = max(most[0], len(others))
        if len(others) > PAGE_WINDOWS_MAX:
            raise Failure("%d windows of the page's open at once (pop-up asked %s times, "
                          "windows fetched %d times)"
                          % (len(others), s.reported("/flood-tick")[-1:],
                             s.server.count("/flood-child.html")))
        return len(others)

    # The pop-up's ticks are its own tenths of a second: a flood guard that forgets after ten
    # seconds is past its memory by the last point.
    for ticks in (20, 60, 120):
        wait_for("the pop-up's tick %d with the windows counted" % ticks,
                 lambda: page_windows() is not None
                 and s.server.count("/flood-tick") >= ticks, 45, interval=0.2,
                 detail=lambda: "ticks %d, windows %d" % (s.server.count("/flood-tick"),
                                                          most[0]))
    if most[0] < 2 or not s.server.count("/flood-child.html"):
        raise Failure("the pop-up got no window of its own: at most %d windows beside the "
                      "main one, %d fetched" % (most[0], s.server.count("/flood-child.html")))
    ticks = s.server.count("/flood-tick")
    s.visit_by_typing(b, "/a.html")
    # Still asking, and still held.
    wait_for("the pop-up to go on asking", lambda: page_windows() is not None
             and s.server.count("/flood-tick") >= ticks + 10, 30, interval=0.2)


def own_reloads_stay_unheard(s):
    """Cancel All Windows, and a page that asks for 15 windows at each load and reloads itself
    five times: the notice flashes, no asked-for page is ever fetched, the page goes through
    all six loads, and from its third load on window.open gives it nothing: the site is no
    longer heard at all. The person's own F5 hears it afresh: window.open gives it windows
    again (each refused then), and still nothing is fetched."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", CANCEL_ALL_CFG)
    b = s.start(profile, "/reloader.html", loaded=False)
    wait_for("the notice to flash", lambda: s.labels(b, re.escape(POPUP_NOTICE)), 20,
             detail=lambda: s.server.requests())
    s.server.wait_request("/load", count=6, timeout=40)
    b.wait_caption(done("Reloading Page"))
    s.barrier(b)

    def loads():
        return [p.split("?", 1)[1].split("&") for p in s.server.requests()
                if p.startswith("/load?")]

    got = {int(load): int(n) for load, n in loads()}
    if sorted(got) != [1, 2, 3, 4, 5, 6]:
        raise Failure("the page reported the loads %r" % loads())
    heard = [load for load, n in got.items() if load >= 3 and n]
    if heard or sum(got.values()) > 15:
        raise Failure("window.open gave the page windows at the loads %r, %d in all: %r"
                      % (heard, sum(got.values()), got))
    b.activate()
    s.barrier(b)
    s.desk.key("F5")
    s.server.wait_request("/load", count=7, timeout=20)
    last = dict(loads()).get("7")
    if not last or int(last) == 0:
        raise Failure("after F5 window.open gave the page nothing: %r" % loads())
    wait_for("the notice to flash after F5", lambda: s.labels(b, re.escape(POPUP_NOTICE)), 10)
    s.barrier(b)
    if s.server.count("/asked.html"):
        raise Failure("asked-for pages were fetched: %s"
                      % [p for p in s.server.requests() if p.startswith("/asked.html")])


def favorite_over_lock_without_holder(s):
    """An empty Favorites.lock, as a crash leaves one, in the application folder: Favorites >
    Add Current Page, from the keyboard, adds the page at once to Favorites and FavName, and
    no message comes."""
    profile = s.desk.new_profile("main")
    profile.write("Favorites.lock", b"")
    b = s.start(profile, "/a.html")
    s.wait_settled(b)
    b.activate()
    s.desk.key("alt+h")
    b.find(s.Role.MENU_ITEM, "Splash")
    s.desk.key("Left")
    b.find(s.Role.MENU_ITEM, "Add Current Page")
    s.desk.key("a")
    want = (b'"%s"\r\n' % s.url("/a.html").encode(), b'"Alpha Page"\r\n')
    # A held lock is waited for ten seconds and then said busy; this one holds nothing.
    wait_for("the page in Favorites and FavName",
             lambda: (_read_or_empty(profile, "Favorites"),
                      _read_or_empty(profile, "FavName")) == want, 8,
             detail=lambda: repr((_read_or_empty(profile, "Favorites"),
                                  _read_or_empty(profile, "FavName"))))
    s.barrier(b)
    others = {w: t for w, t in _managed_windows(s, b).items() if w != b.window()}
    if others:
        raise Failure("windows beside the main one: %r" % others)


def huge_favorite_line(s):
    """Favorites and FavName each hold a 50 MB line between ordinary ones, as a damaged or
    hostile file may: the list opens and a click on the last name loads its page; the editor
    opens, shows the long name shortened, and Done leaves both files byte for byte."""
    profile = s.desk.new_profile("main")
    huge = 50 * 1024 * 1024
    addresses = b'"%s"\r\n"%s"\r\n"%s"\r\n' % (
        s.url("/a.html").encode(), s.url("/").encode() + b"x" * huge, s.url("/b.html").encode())
    names = b'"Alpha"\r\n"%s"\r\n"Bravo"\r\n' % (b"n" * huge)
    profile.write("Favorites", addresses)
    profile.write("FavName", names)
    b = s.start(profile)
    s.wait_settled(b)
    since = s.server.mark()
    b.activate()
    b.click_control(b.find(s.Role.LABEL, "Favorites"))
    # The long name makes every row as wide as it: the name is clicked where it is written,
    # at the row's left, as a person does.
    x, y, w, h = s.desk.a11y.extents(b.find(s.Role.LIST_ITEM, "Bravo"))
    s.desk.move(x + 15, y + h // 2)
    s.desk.xdo("click", "1")
    s.server.wait_request("/b.html", since=since)
    b.wait_caption(done("Bravo Page"))

    b.activate()
    s.desk.key("alt+h")
    b.find(s.Role.MENU_ITEM, "Splash")
    s.desk.key("Left")
    b.find(s.Role.MENU_ITEM, "Edit Favorites")
    s.desk.key("e")
    shortened = "n" * 200 + "\u2026"
    b.find(s.Role.LIST_ITEM, shortened, timeout=30)
    b.click_control(b.find(s.Role.PUSH_BUTTON, "Done"))
    wait_for("the editor closed",
             lambda: not s.desk.a11y.find_all(b.accessible(), s.Role.PUSH_BUTTON, "Done"), 30)
    if profile.read("Favorites") != addresses or profile.read("FavName") != names:
        raise Failure("Done changed the files: %d and %d bytes, not %d and %d"
                      % (len(profile.read("Favorites")), len(profile.read("FavName")),
                         len(addresses), len(names)))
    s.barrier(b)


def stored_minimized_opens_normal(s):
    """A window stored minimized opens normal and on the screen; closed untouched it is stored
    normal."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", MINIMIZED_CFG)
    b = s.start(profile)
    s.wait_settled(b)
    state = b.net_wm_state()
    info = desktop.run(["xwininfo", "-id", str(b.window())], s.desk.env)
    if "HIDDEN" in state or "IsViewable" not in info:
        raise Failure("the window opened as %s, %s" % (
            state, re.search(r"Map State: \w+", info).group(0)))
    s.close_by_window_manager(b)
    if b.wait_exit() != 0:
        raise Failure("the program ended with %s" % b.returncode)
    check_cfg(profile.read("QuorBrowser.cfg"), "0", "0")


def leftover_saves_go(s):
    """Temporary files of saves cut short in the application folder: the program's own older
    than a minute are gone once it has started; a fresh one, maybe another instance's save under
    way, and files of others stay."""
    profile = s.desk.new_profile("main")
    hour_ago = time.time() - 3600
    # The file, how old it is, and whether it goes.
    rows = (("QuorBrowser.cfg.AbC123", hour_ago, True),
            ("Favorites.x9Y8z7", hour_ago, True),
            ("homepage.Q1w2E3", hour_ago, True),
            ("QuorBrowser.cfg.Fr35h1", None, False),
            ("notes.txt.AbC123", hour_ago, False),
            ("QuorBrowser.cfg.AbC12", hour_ago, False))
    for name, mtime, _ in rows:
        profile.write(name, b"half a save\r\n")
        if mtime is not None:
            os.utime(profile.file(name), (mtime, mtime))
    b = s.start(profile)
    gone = [name for name, _, goes in rows if goes]
    wait_for("the old leftovers to go",
             lambda: not any(os.path.exists(profile.file(n)) for n in gone), 15,
             detail=lambda: sorted(os.listdir(profile.app)))
    missing = [name for name, _, goes in rows
               if not goes and not os.path.exists(profile.file(name))]
    if missing or not b.running():
        raise Failure("removed as well: %r (folder now %r)"
                      % (missing, sorted(os.listdir(profile.app))))


def unwritable_folder_said_once(s):
    """An application folder that cannot be made (QUORBROWSER_HOME below a file): the program
    starts and says so once, in a message naming the folder; after OK the window goes to an
    address typed into it, and the window manager's close ends the program cleanly with no
    further message."""
    profile = s.desk.new_profile("main")
    blocker = os.path.join(profile.root, "file")
    with open(blocker, "w") as f:
        f.write("a file where a folder would be\n")
    folder = os.path.join(blocker, "app")
    b = s.start(profile, env={"QUORBROWSER_HOME": folder})
    _wait_active(s, b, "QuorBrowser")
    wait_for("the message to name %s" % folder,
             lambda: s.labels(b, "(?s).*%s.*" % re.escape(folder)), 10,
             detail=lambda: s.a11y.describe_showing(b.accessible(), s.Role.LABEL))
    if len(s.windows_named(b, "QuorBrowser")) != 1:
        raise Failure("%d message windows" % len(s.windows_named(b, "QuorBrowser")))
    s.desk.key("Return")
    wait_for("the message to go", lambda: not s.windows_named(b, "QuorBrowser"), 10)
    s.visit_by_typing(b, "/a.html")
    if s.windows_named(b, "QuorBrowser"):
        raise Failure("a second message came while the window was used")
    messages = set()

    def ended():
        if b.running():
            messages.update(s.windows_named(b, "QuorBrowser"))
        return not b.running()

    s.close_by_window_manager(b)
    wait_for("the program to end", ended, 20, detail=lambda: "still running; message "
             "windows %r" % sorted(messages))
    if messages or b.returncode != 0:
        raise Failure("closing showed %d messages and ended with %s"
                      % (len(messages), b.returncode))
    if os.path.isdir(blocker):
        raise Failure("%s became a folder" % blocker)


OLD_ENGINE_TITLE = "Web Engine Security"


def _fixes_verdict(security_patch, today):
    """Whether an engine's security fixes are clearly more than a year old ("old"), clearly not
    ("recent"), or too near the line to judge (None). Reckoned roughly, apart from the
    program's own table: Chromium 122 reached the stable channel in February 2024, and a major
    version comes about every four weeks; four months either way cover the roughness."""
    major = int(security_patch.split(".")[0])
    released = datetime.date(2024, 2, 15) + datetime.timedelta(days=28 * (major - 122))
    age = (today - released).days
    if age > 365 + 120:
        return "old"
    if age < 365 - 120:
        return "recent"
    return None


def old_engine_said_once(s):
    """A first start on an engine whose security fixes are more than a year old (as Debian 12's
    are), in an application folder never told about it: a message beside the window says so,
    naming the Chromium the fixes end with, while the window keeps the keyboard focus; the
    person clicks its OK and it goes; the window takes an address typed into it. The folder's
    EngineNotice names the engine, and the next start there says nothing. On an engine with
    recent fixes, no message comes and nothing is remembered."""
    patch = s.desk.engine_version()[2]
    verdict = _fixes_verdict(patch, datetime.date.today())
    if verdict is None:
        print("the engine's fixes (Chromium %s) are too near a year old to judge" % patch)
        return
    profile = s.desk.new_profile("main", told=False)
    b = s.start(profile)
    if verdict == "recent":
        s.barrier(b)
        if s.windows_named(b, OLD_ENGINE_TITLE) or os.path.exists(profile.file("EngineNotice")):
            raise Failure("an engine with fixes to Chromium %s was called old" % patch)
        return

    words = (r"This web engine's security fixes end with Chromium %s \((early|mid|late) "
             r"\d{4}\)\. Pages can use known holes\. See Help > About for details\."
             % re.escape(patch.split(".")[0]))
    notice = wait_for("the message about the engine", lambda: s.windows_named(b, OLD_ENGINE_TITLE),
                      20, detail=lambda: repr(_managed_windows(s, b)))
    if len(notice) != 1:
        raise Failure("%d messages about the engine" % len(notice))
    wait_for("the message's words", lambda: s.labels(b, words), 10,
             detail=lambda: s.a11y.describe_showing(b.accessible(), s.Role.LABEL))
    # Shown beside the window, which keeps the keyboard focus.
    active = int(desktop.run(["xdotool", "getactivewindow"], s.desk.env).strip() or 0)
    if active != b.window():
        raise Failure("the message took the focus: window %d is active, not the browser's %d"
                      % (active, b.window()))
    if profile.read("EngineNotice") != s.desk.engine_notice():
        raise Failure("EngineNotice holds %r, not the engine %r"
                      % (profile.read("EngineNotice"), s.desk.engine_notice()))
    alerts = [n for n in s.a11y.find_all(b.accessible(), s.Role.ALERT)
              if n.get_name() == OLD_ENGINE_TITLE]
    if len(alerts) != 1:
        raise Failure("%d showing alerts named %r" % (len(alerts), OLD_ENGINE_TITLE))
    ok = [n for n in s.a11y.walk(alerts[0]) if n.get_role() == s.Role.PUSH_BUTTON
          and n.get_name() == "OK"]
    if len(ok) != 1:
        raise Failure("the message has %d OK buttons" % len(ok))
    b.click_control(ok[0])
    wait_for("the message to go", lambda: not s.windows_named(b, OLD_ENGINE_TITLE), 10)
    s.visit_by_typing(b, "/a.html")
    s.close_by_window_manager(b)
    if b.wait_exit() != 0:
        raise Failure("the program ended with %s" % b.returncode)

    # The next start with the same engine: the page loads, a click on it is dealt with, and no
    # message came before it.
    again = s.start(profile, "/b.html")
    s.barrier(again)
    if s.windows_named(again, OLD_ENGINE_TITLE) or s.labels(again, words):
        raise Failure("the message came again at the next start")
    if profile.read("EngineNotice") != s.desk.engine_notice():
        raise Failure("EngineNotice changed at the next start: %r" % profile.read("EngineNotice"))


def relative_xdg_folders_ignored(s):
    """Started with relative XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME and XDG_STATE_HOME,
    the program makes nothing under the folder it was started in: the engine keeps the page's
    storage where unset variables put it, under the home folder, and the window goes to
    addresses typed into it."""
    profile = s.desk.new_profile("main")
    cwd = os.path.join(profile.root, "started-here")
    os.makedirs(cwd)
    env = {name: "relative/" + name.lower() for name in
           ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME")}
    b = s.start(profile, env=env, cwd=cwd)
    s.visit_by_typing(b, "/storage.html")
    wait_for("the page to read its storage back",
             lambda: s.reported("/stored") == ["quor-%d" % s.server.port], 15,
             detail=lambda: s.server.requests())
    default = os.path.join(profile.root, "home", ".local", "share", "QuorBrowser")
    wait_for("the engine's folder in %s" % default, lambda: os.path.isdir(default), 10)
    s.visit_by_typing(b, "/a.html")
    s.close_by_window_manager(b)
    if b.wait_exit() != 0:
        raise Failure("the program ended with %s" % b.returncode)
    made = [os.path.relpath(os.path.join(d, n), cwd) for d, dirs, names in os.walk(cwd)
            for n in dirs + names]
    if made:
        raise Failure("made under the folder it was started in: %r" % sorted(made))


def splash_centred_above(s):
    """Help > Splash, from the keyboard: a window without frame or title shows in the middle of
    the screen above the browser window, and stays above it when the browser window is
    activated; its OK closes it."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    s.wait_settled(b)
    main = b.window()
    b.activate()
    s.desk.key("alt+h")
    b.find(s.Role.MENU_ITEM, "Splash")
    s.desk.key("s")
    splash = wait_for("one more window of the program's", lambda: [
        w for w in _managed_windows(s, b) if w != main], 15)
    if len(splash) != 1:
        raise Failure("windows beside the main one: %r" % _managed_windows(s, b))
    splash = splash[0]
    # No frame, so no title bar: whatever name the window carries is shown nowhere.
    extents = desktop.run(["xprop", "-id", str(splash), "_NET_FRAME_EXTENTS"], s.desk.env,
                          check=False)
    if not re.search(r"= 0, 0, 0, 0$", extents.strip()):
        raise Failure("the splash has a frame: %s" % extents.strip())
    area = [int(v) for v in desktop.run(["xprop", "-root", "_NET_WORKAREA"], s.desk.env)
            .split("=", 1)[1].split(",")[:4]]

    def geometry():
        info = desktop.run(["xwininfo", "-id", str(splash)], s.desk.env)
        v = dict(l.strip().split(":", 1) for l in info.splitlines() if ":" in l)
        return tuple(int(v[k]) for k in ("Absolute upper-left X", "Absolute upper-left Y",
                                         "Width", "Height"))

    def centred():
        x, y, w, h = geometry()
        return (abs(x + w / 2 - (area[0] + area[2] / 2)) <= 3
                and abs(y + h / 2 - (area[1] + area[3] / 2)) <= 3)

    wait_for("the splash in the middle of the work area %r" % area, centred, 10,
             detail=lambda: repr(geometry()))

    def above():
        out = desktop.run(["xprop", "-root", "_NET_CLIENT_LIST_STACKING"], s.desk.env)
        order = [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", out)]
        return main in order and splash in order and order.index(splash) > order.index(main)

    wait_for("the splash above the browser window", above, 10)
    # A click into the browser window, which the window manager answers by raising it.
    s.focus_address_box(b)
    if not above():
        raise Failure("the browser window, clicked, went over the splash")
    b.click_control(b.find(s.Role.PUSH_BUTTON, "OK"))
    wait_for("the splash to close", lambda: splash not in _managed_windows(s, b), 10)


def caption_loop_settles(s):
    """Allow All Windows, and a pop-up whose page retitles itself thousands of times a second
    for three seconds: the pop-up's caption changes a few times a second at most and ends at the
    page's last title; all the while the window manager activates the main window on request
    and the main window's caption is read."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", ALLOW_ALL_CFG)
    b = s.start(profile, "/loop-opener.html")
    main = b.window()
    popup = wait_for("the pop-up", lambda: s.windows_named(b, "Caption Loop"), 30)[0]
    spy_log = s.desk.path("caption-spy.log")
    with open(spy_log, "wb") as out:
        spy = subprocess.Popen(["xprop", "-spy", "-id", str(popup), "_NET_WM_NAME"],
                               env=s.desk.env, stdout=out, stderr=subprocess.STDOUT)

    def changes():
        with open(spy_log, "rb") as f:
            return f.read().decode(errors="replace").splitlines()

    try:
        wait_for("the caption watched", lambda: changes(), 10)
        s.server.pages["/go"] = "Go"
        wait_for("the loop under way", lambda: any('"Loop ' in l for l in changes()), 20,
                 detail=lambda: changes()[-3:])
        b.activate()
        name = desktop.run(["xdotool", "getwindowname", str(main)], s.desk.env).strip()
        if name != done("Loop Opener"):
            raise Failure("the main window is named %r during the loop" % name)
        s.server.wait_request("/loop-done", timeout=30)
        wait_for("the pop-up's caption to end at the last title",
                 lambda: s.windows_named(b, "Caption Loop Done") == [popup], 15,
                 detail=lambda: repr(_managed_windows(s, b)))
        set_by_page = int(s.reported("/loop-done")[0])
        s.barrier(b)
        # The spy prints the caption at every change of any property: a caption counts when
        # it differs from the one before.
        lines = changes()
        seen = [l for i, l in enumerate(lines) if i == 0 or l != lines[i - 1]]
    finally:
        s.server.pages.pop("/go", None)
        spy.kill()
        spy.wait(5)
    if set_by_page < 3000:
        raise Failure("the page set only %d titles" % set_by_page)
    # Three seconds of a few changes a second, and the page's last title.
    if len(seen) > 30:
        raise Failure("the caption changed %d times for the page's %d titles: %r ..."
                      % (len(seen), set_by_page, seen[:5]))
    if b.caption() != done("Loop Opener"):
        raise Failure("the main window's caption became %r" % b.caption())


SCENARIOS = {
    "other_program_link_asks": other_program_link_asks,
    "alert_loop_lets_go": alert_loop_lets_go,
    "allow_parent_typing_opens_nothing": allow_parent_typing_opens_nothing,
    "saved_page_keeps_secrets": saved_page_keeps_secrets,
    "software_drawing": software_drawing,
    "address_enter_keys": address_enter_keys,
    "full_screen_address_return": full_screen_address_return,
    "list_pick_keyboard": list_pick_keyboard,
    "list_pick_mouse": list_pick_mouse,
    "known_entry_leave": known_entry_leave,
    "home_key": home_key,
    "favorite_from_the_popup": favorite_from_the_popup,
    "associate_jpg_files": associate_jpg_files,
    "ip_address_key": ip_address_key,
    "window_destroyed_from_outside": window_destroyed_from_outside,
    "close_stores_window": close_stores_window,
    "cookie_kept_after_exit": cookie_kept_after_exit,
    "stored_maximized_opens_maximized": stored_maximized_opens_maximized,
    "untouched_restart_cfg_unchanged": untouched_restart_cfg_unchanged,
    "narrow_window_keeps_minimum_width": narrow_window_keeps_minimum_width,
    "full_screen_survives_restart": full_screen_survives_restart,
    "full_screen_keys_let_go": full_screen_keys_let_go,
    "caption_follows_late_title": caption_follows_late_title,
    "favorites_done_keeps_bytes": favorites_done_keeps_bytes,
    "usual_keys": usual_keys,
    "zoom_keys": zoom_keys,
    "find_in_page": find_in_page,
    "context_menu_new_window": context_menu_new_window,
    "download_hostile_name": download_hostile_name,
    "download_progress_and_cancel": download_progress_and_cancel,
    "print_to_pdf_keeps_text": print_to_pdf_keeps_text,
    "allow_all_window_budget": allow_all_window_budget,
    "own_reloads_stay_unheard": own_reloads_stay_unheard,
    "favorite_over_lock_without_holder": favorite_over_lock_without_holder,
    "huge_favorite_line": huge_favorite_line,
    "stored_minimized_opens_normal": stored_minimized_opens_normal,
    "leftover_saves_go": leftover_saves_go,
    "unwritable_folder_said_once": unwritable_folder_said_once,
    "old_engine_said_once": old_engine_said_once,
    "relative_xdg_folders_ignored": relative_xdg_folders_ignored,
    "splash_centred_above": splash_centred_above,
    "caption_loop_settles": caption_loop_settles,
}


def report(desk):
    """What a failed scenario leaves for the reader."""
    lines = ["  requests: %s" % desk.server.requests()]
    for b in desk.browsers:
        lines.append("  browser pid %s: %s" % (b.pid, "running" if b.running()
                                                else "ended with %s" % b.returncode))
        if b.running() and b.wid is not None:
            try:
                lines.append("    caption %r; %s" % (b.caption(), b.net_wm_state()))
            except Exception as e:
                lines.append("    (window: %s)" % e)
        log = [l for l in b.log().splitlines() if l.strip()][-12:]
        lines.extend("    | " + l for l in log)
    return "\n".join(lines)


def main(argv):
    if argv[1:] == ["--list"]:
        print(";".join(SCENARIOS))
        return 0
    if len(argv) < 2:
        print(__doc__.strip())
        return 2
    binary = argv[1]
    names = argv[2:] or list(SCENARIOS)
    unknown = [n for n in names if n not in SCENARIOS]
    if unknown:
        print("unknown scenarios: %s; known: %s" % (", ".join(unknown), ", ".join(SCENARIOS)))
        return 2
    # A test runner's stop still ends every process this test started.
    signal.signal(signal.SIGTERM, lambda *a: sys.exit(143))
    passed, failed = 0, 0
    started = time.monotonic()
    try:
        with desktop.Desktop(binary, PAGES) as desk:
            s = Scenario(desk)
            for name in names:
                t0 = time.monotonic()
                desk.server.clear()
                try:
                    SCENARIOS[name](s)
                except Exception as e:
                    failed += 1
                    print("FAIL %s (%.1f s): %s" % (name, time.monotonic() - t0, e))
                    if not isinstance(e, Failure):
                        traceback.print_exc()
                    print(report(desk))
                    # The screen as the scenario left it, where asked for (QUOR_E2E_SHOTS).
                    shots = os.environ.get("QUOR_E2E_SHOTS")
                    if shots:
                        desktop.run(["import", "-window", "root",
                                     os.path.join(shots, name + ".png")], desk.env, check=False)
                else:
                    passed += 1
                    print("PASS %s (%.1f s)" % (name, time.monotonic() - t0))
                finally:
                    desk.end_browsers()
                sys.stdout.flush()
    except Failure as e:
        print("FAIL setting up the desktop: %s" % e)
        return 1
    print("took %.1f s" % (time.monotonic() - started))
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
