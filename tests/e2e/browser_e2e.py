#!/usr/bin/python3
"""QuorBrowser driven end to end as a person drives it.

    browser_e2e.py BINARY [SCENARIO ...]
    browser_e2e.py --list

Without scenario names every scenario runs, one after the other on one private desktop. Each
scenario judges the browser by what the page server was asked for, by the window caption and
by the files left in the application folder. QUOR_E2E_KEEP=1 keeps the temporary folders.
"""

import os
import re
import signal
import struct
import subprocess
import sys
import time
import traceback
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
}

STAMP = "21127OCT99"
# A window stored maximized, with the size and place it has when it is restored.
MAXIMIZED_CFG = b"21127OCT99\r\n2\r\nall\r\nBlank\r\n9600\r\n6975\r\n4185\r\n4800\r\n0\r\n"


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

    def start(self, profile, page="/start.html", loaded=True, env=None):
        """Starts the browser on a page and waits until the page is asked for and, if loaded,
        until the caption says it is shown whole."""
        since = self.server.mark()
        b = self.desk.browser(profile, [self.url(page)], env).start()
        b.window()
        self.server.wait_request(page, since=since, timeout=40)
        if loaded:
            title = PAGES[page]
            b.wait_caption(done(title[0] if isinstance(title, tuple) else title), 30)
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
        b.wait_caption(done(PAGES[path]))

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

    # Arrangement

    def full_arrangement_showing(self, b):
        app = b.accessible()
        return (not self.a11y.find_all(app, self.Role.MENU_BAR)
                and len(self.a11y.find_all(app, self.Role.PUSH_BUTTON, "Normal View")) == 1)

    def wait_full_arrangement(self, b):
        wait_for("the full-screen arrangement (no menu bar, a \"Normal View\" key)",
                 lambda: self.full_arrangement_showing(b), 15,
                 detail=lambda: "menu bars showing: %d; %s" % (
                     len(self.a11y.find_all(b.accessible(), self.Role.MENU_BAR)),
                     self.a11y.describe_showing(b.accessible(), self.Role.PUSH_BUTTON)))

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

def address_return(s):
    """Typing an address into the address box of a window started empty and pressing Enter
    opens it."""
    b = s.desk.browser(s.desk.new_profile("main")).start()
    b.wait_caption(desktop.CAPTION_SUFFIX)
    since = s.server.mark()
    s.type_address(b, s.typed("/a.html"))
    s.desk.key("Return")
    s.server.wait_request("/a.html", since=since)
    b.wait_caption(done("Alpha Page"))


def address_keypad_enter(s):
    """The keypad's Enter key does what Enter does."""
    b = s.start(s.desk.new_profile("main"))
    since = s.server.mark()
    s.type_address(b, s.typed("/b.html"))
    s.desk.key("KP_Enter")
    s.server.wait_request("/b.html", since=since)
    b.wait_caption(done("Bravo Page"))


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

    # The user's own picture viewer opens .jpg files until now.
    apps = os.path.join(env["XDG_DATA_HOME"], "applications")
    os.makedirs(apps, exist_ok=True)
    with open(os.path.join(apps, "viewer.desktop"), "w") as f:
        f.write("[Desktop Entry]\nType=Application\nName=Viewer\nExec=true %f\n"
                "MimeType=image/jpeg;\n")
    os.makedirs(env["XDG_CONFIG_HOME"], exist_ok=True)
    with open(os.path.join(env["XDG_CONFIG_HOME"], "mimeapps.list"), "w") as f:
        f.write("# mine\n[Default Applications]\nimage/jpeg=viewer.desktop\n")
    if default_for_jpeg() != "viewer.desktop":
        raise Failure("the viewer is not the program for .jpg files to begin with: %r"
                      % default_for_jpeg())

    b = s.start(profile)
    b.activate()
    s.desk.key("alt+p")
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


def menu_exit_keyboard(s):
    """Alt+F and x end the program; it stores its window in QuorBrowser.cfg."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    outer = s.wait_settled(b)
    b.activate()
    s.desk.key("alt+f")
    b.find(s.Role.MENU_ITEM, "Exit")
    s.desk.key("x")
    rc = b.wait_exit()
    if rc != 0:
        raise Failure("the program ended with %s" % rc)
    check_cfg(profile.read("QuorBrowser.cfg"), "0", "0", outer)


def close_by_window_manager(s):
    """The window manager's close ends the program and QuorBrowser.cfg is written."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    outer = s.wait_settled(b)
    s.close_by_window_manager(b)
    rc = b.wait_exit()
    if rc != 0:
        raise Failure("the program ended with %s" % rc)
    check_cfg(profile.read("QuorBrowser.cfg"), "0", "0", outer)


def close_by_alt_f4(s):
    """The window manager's Alt+F4 closes the window like its close button."""
    profile = s.desk.new_profile("main")
    b = s.start(profile)
    outer = s.wait_settled(b)
    b.activate()
    s.desk.key("alt+F4")
    rc = b.wait_exit()
    if rc != 0:
        raise Failure("the program ended with %s" % rc)
    check_cfg(profile.read("QuorBrowser.cfg"), "0", "0", outer)


def stored_maximized_opens_maximized(s):
    """A window stored maximized opens maximized."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", MAXIMIZED_CFG)
    b = s.start(profile)
    wait_for("the window to be maximized", b.is_maximized, 10, detail=b.net_wm_state)


def untouched_normal_cfg_unchanged(s):
    """Starting and closing again without touching anything stores the same window."""
    profile = s.desk.new_profile("main")
    first = s.start(profile)
    s.wait_settled(first)
    s.close_by_window_manager(first)
    first.wait_exit()
    stored = profile.read("QuorBrowser.cfg")
    check_cfg(stored, "0", "0")
    second = s.start(profile)
    outer = s.wait_settled(second)
    s.close_by_window_manager(second)
    second.wait_exit()
    again = profile.read("QuorBrowser.cfg")
    if again != stored:
        raise Failure("QuorBrowser.cfg changed on an untouched run: %r became %r (the window "
                      "showed at left, top, width, height %r px)" % (stored, again, outer))


def untouched_maximized_cfg_unchanged(s):
    """A maximized window started and closed untouched keeps the record it stored itself.

    A maximized window stores the size and place it has while maximized, so the record of a
    maximized window that the program wrote must come back byte for byte."""
    profile = s.desk.new_profile("main")
    profile.write("QuorBrowser.cfg", MAXIMIZED_CFG)
    first = s.start(profile)
    s.wait_settled(first)
    wait_for("the window to be maximized", first.is_maximized, 10, detail=first.net_wm_state)
    s.close_by_window_manager(first)
    first.wait_exit()
    stored = profile.read("QuorBrowser.cfg")
    check_cfg(stored, "2", "0")
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


SCENARIOS = {
    "allow_parent_typing_opens_nothing": allow_parent_typing_opens_nothing,
    "saved_page_keeps_secrets": saved_page_keeps_secrets,
    "software_drawing": software_drawing,
    "address_return": address_return,
    "address_keypad_enter": address_keypad_enter,
    "full_screen_address_return": full_screen_address_return,
    "list_pick_keyboard": list_pick_keyboard,
    "list_pick_mouse": list_pick_mouse,
    "known_entry_leave": known_entry_leave,
    "home_key": home_key,
    "favorite_from_the_popup": favorite_from_the_popup,
    "associate_jpg_files": associate_jpg_files,
    "ip_address_key": ip_address_key,
    "window_destroyed_from_outside": window_destroyed_from_outside,
    "menu_exit_keyboard": menu_exit_keyboard,
    "close_by_window_manager": close_by_window_manager,
    "close_by_alt_f4": close_by_alt_f4,
    "stored_maximized_opens_maximized": stored_maximized_opens_maximized,
    "untouched_normal_cfg_unchanged": untouched_normal_cfg_unchanged,
    "untouched_maximized_cfg_unchanged": untouched_maximized_cfg_unchanged,
    "narrow_window_keeps_minimum_width": narrow_window_keeps_minimum_width,
    "full_screen_survives_restart": full_screen_survives_restart,
}


def report(desk):
    """What a failed scenario leaves for the reader."""
    lines = ["  requests: %s" % desk.server.requests()]
    for b in desk.browsers:
        lines.append("  browser pid %s: %s" % (b.pid, "running" if b.running()
                                                else "ended with %s" % b.proc.returncode))
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
