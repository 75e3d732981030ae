"""A private desktop for driving QuorBrowser as a person does.

Starts an X server (Xvfb) on a free display, a window manager (openbox), a session bus with the
accessibility bus, and a small HTTP server on 127.0.0.1 that logs every path asked for. The
browser runs with every folder of its own in a temporary directory. Input is real X input
through xdotool; controls are found over AT-SPI by role and accessible name.

Every process started here is a descendant of this one and is ended by pid when the desktop
closes, also when a check fails.
"""

import ctypes
import html
import http.server
import os
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time

CAPTION_SUFFIX = "Ombrane Software"
SCREEN = (1280, 1024)
# Xvfb is told this resolution, so a pixel is 15 twips.
DPI = 96
TWIPS_PER_PIXEL = 1440 // DPI

REQUIRED_TOOLS = ["Xvfb", "openbox", "xdotool", "wmctrl", "xprop", "xwininfo", "dbus-daemon",
                  "dbus-send", "setpriv"]
ATSPI_LAUNCHER_PATHS = ["/usr/libexec/at-spi-bus-launcher",
                        "/usr/lib/at-spi2-core/at-spi-bus-launcher"]


class Failure(AssertionError):
    pass


def wait_for(what, probe, timeout=10.0, interval=0.05, detail=None):
    """Polls probe until it gives a true value and returns that value.

    On the deadline raises Failure naming what was awaited, with detail() (or the last value)
    for the report.
    """
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= end:
            seen = detail() if detail else repr(value)
            raise Failure("gave up after %.0f s waiting for %s; last seen: %s"
                          % (timeout, what, seen))
        time.sleep(interval)


def run(argv, env=None, timeout=10, check=True):
    """Runs a short X tool and gives its standard output."""
    result = subprocess.run(argv, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=timeout, text=True)
    if check and result.returncode != 0:
        raise Failure("%s failed (%d): %s" % (" ".join(argv), result.returncode,
                                              result.stderr.strip()))
    return result.stdout


# ---------------------------------------------------------------------------------------------
# Processes

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_CHILD_SUBREAPER = 36


def _children_map():
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry, "rb") as f:
                stat = f.read()
        except OSError:
            continue
        # The command name may hold blanks and parentheses; the fields after it do not.
        fields = stat[stat.rfind(b")") + 2:].split()
        children.setdefault(int(fields[1]), []).append(int(entry))
    return children


def descendants(pid):
    children = _children_map()
    found, todo = [], [pid]
    while todo:
        for child in children.get(todo.pop(), []):
            found.append(child)
            todo.append(child)
    return found


def _reap():
    while True:
        try:
            pid, _ = os.waitpid(-1, os.WNOHANG)
        except ChildProcessError:
            return
        if pid == 0:
            return


def kill_tree(pid, sig=signal.SIGKILL):
    """Ends pid and everything it started, by pid."""
    for p in [pid] + descendants(pid):
        try:
            os.kill(p, sig)
        except ProcessLookupError:
            pass


def spawn(argv, env, log_path, pass_fds=(), death_signal="KILL", cwd=None):
    """Starts argv so that it dies with this process even if this one is killed outright; in
    cwd if given, else where this process is."""
    log = open(log_path, "ab")
    try:
        return subprocess.Popen(["setpriv", "--pdeathsig", death_signal, "--"] + list(argv),
                                env=env, cwd=cwd,
                                stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                pass_fds=pass_fds)
    finally:
        log.close()


# ---------------------------------------------------------------------------------------------
# The page server

PAGE = """<!doctype html>
<html><head><meta charset="utf-8"><title>{title}</title></head>
<body style="margin:0;min-height:100vh;font:16px sans-serif">
<h1>{title}</h1>
{content}
<script>
// A press anywhere on the page asks for /barrier: the test knows then that every input before
// the press has been dealt with.
document.addEventListener('mousedown', function (e) {{
  fetch('/barrier?' + Date.now() + '-' + Math.random(), {{cache: 'no-store'}});
}});
</script>
</body></html>
"""


class Attachment:
    """A file the server sends as a download: the name it suggests for it, its size, and how
    fast it goes (chunk bytes at a time with a pause after each; all at once without chunk).
    Without a name it is sent as a page."""

    def __init__(self, filename, size, chunk=None, pause=0.0):
        self.filename = filename
        self.size = size
        self.chunk = chunk or size
        self.pause = pause

    def content(self):
        """The bytes sent: a line that tells a whole file from a cut one."""
        line = b"QuorBrowser download, every byte of it.\n"
        return (line * (self.size // len(line) + 1))[:self.size]


class SlowPage(Attachment):
    """A page that trickles out as slowly as an Attachment does: a load that runs a while."""

    def __init__(self, title, size, chunk, pause):
        super().__init__(None, size, chunk, pause)
        self.title = title

    def content(self):
        head = ("<!doctype html><html><head><title>%s</title></head><body>\n"
                % html.escape(self.title)).encode()
        return (head + b"<!-- still coming -->\n" * self.size)[:self.size]


class Transfer:
    """One sending of an Attachment, as the server saw it go."""

    def __init__(self, route, total):
        self.route = route
        self.total = total
        self.sent = 0
        self.state = "sending"  # then "complete", or "broken" when the client went away

    def __repr__(self):
        return "<%s %s: %d of %d bytes>" % (self.route, self.state, self.sent, self.total)


class PageServer:
    """Serves small titled pages on 127.0.0.1 and keeps the path of every request in order.

    A page may be an Attachment instead: it is sent as a file to download, and each sending is
    kept in transfers."""

    def __init__(self, pages):
        self.pages = dict(pages)  # path -> title, (title, more of the page as HTML), Attachment
        self.log = []
        self.transfers = []
        self._cond = threading.Condition()
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def send_attachment(self, route, attachment):
                body = attachment.content()
                self.send_response(200)
                if attachment.filename is None:
                    self.send_header("Content-Type", "text/html; charset=utf-8")
                else:
                    self.send_header("Content-Type", "application/octet-stream")
                    self.send_header("Content-Disposition",
                                     'attachment; filename="%s"' % attachment.filename)
                self.send_header("Cache-Control", "no-store")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                transfer = Transfer(route, len(body))
                with owner._cond:
                    owner.transfers.append(transfer)
                try:
                    for at in range(0, len(body), attachment.chunk):
                        piece = body[at:at + attachment.chunk]
                        self.wfile.write(piece)
                        self.wfile.flush()
                        with owner._cond:
                            transfer.sent += len(piece)
                            owner._cond.notify_all()
                        # The slow server: the pace at which this file trickles out.
                        if attachment.pause and transfer.sent < transfer.total:
                            time.sleep(attachment.pause)
                    state = "complete"
                except (BrokenPipeError, ConnectionResetError):
                    state = "broken"
                    self.close_connection = True
                with owner._cond:
                    transfer.state = state
                    owner._cond.notify_all()

            def do_GET(self):
                owner._record(self.path)
                route = self.path.split("?", 1)[0]
                if isinstance(owner.pages.get(route), Attachment):
                    self.send_attachment(route, owner.pages[route])
                    return
                if route in owner.pages:
                    title, content = owner.pages[route], ""
                    if isinstance(title, tuple):
                        title, content = title
                    body = PAGE.format(title=html.escape(title), content=content).encode()
                    self.send_response(200)
                    self.send_header("Content-Type", "text/html; charset=utf-8")
                elif route == "/barrier":
                    body = b"ok"
                    self.send_response(200)
                    self.send_header("Content-Type", "text/plain")
                else:
                    body = b"not here"
                    self.send_response(404)
                    self.send_header("Content-Type", "text/plain")
                # Every visit must reach the server, never the engine's cache.
                self.send_header("Cache-Control", "no-store")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def _record(self, path):
        with self._cond:
            self.log.append(path)
            self._cond.notify_all()

    def clear(self):
        with self._cond:
            self.log.clear()
            self.transfers.clear()

    def transfer(self, route, since=0):
        """The latest sending of route among those begun since the mark (a number of
        transfers, as transfer_mark gives), or None."""
        with self._cond:
            found = [t for t in self.transfers[since:] if t.route == route]
            return found[-1] if found else None

    def transfer_mark(self):
        with self._cond:
            return len(self.transfers)

    def mark(self):
        with self._cond:
            return len(self.log)

    def count(self, route, since=0):
        with self._cond:
            return self._count(route, since)

    def requests(self, since=0):
        with self._cond:
            return list(self.log[since:])

    def wait_request(self, route, count=1, since=0, timeout=15.0):
        """Waits until route has been asked for count times since the mark."""
        end = time.monotonic() + timeout
        with self._cond:
            while self._count(route, since) < count:
                left = end - time.monotonic()
                if left <= 0:
                    raise Failure("gave up after %.0f s waiting for request #%d of %s; "
                                  "requests so far: %s" % (timeout, count, route, self.log))
                self._cond.wait(left)

    def _count(self, route, since):
        return sum(1 for p in self.log[since:] if p.split("?", 1)[0] == route)

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


# ---------------------------------------------------------------------------------------------
# Accessibility

class Accessibility:
    """Finds the browser's controls over AT-SPI by role and accessible name."""

    def __init__(self):
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self.Atspi = Atspi
        Atspi.init()
        self._popups = []
        self._popup_listener = None

    def application(self, pid, timeout=20.0):
        Atspi = self.Atspi

        def probe():
            root = Atspi.get_desktop(0)
            root.clear_cache()
            for i in range(root.get_child_count()):
                app = root.get_child_at_index(i)
                try:
                    if app is not None and app.get_process_id() == pid:
                        return app
                except Exception:
                    continue
            return None

        app = wait_for("the browser (pid %d) on the accessibility bus" % pid, probe, timeout)
        # The tree changes under the test's hands; every question goes to the program itself.
        app.set_cache_mask(Atspi.Cache.NONE)
        return app

    def _walk(self, node, showing_only):
        Atspi = self.Atspi
        try:
            role = node.get_role()
            if showing_only and role != Atspi.Role.APPLICATION \
                    and not node.get_state_set().contains(Atspi.StateType.SHOWING):
                return
            yield node
            # The page's own tree belongs to the engine and is not searched.
            if role == Atspi.Role.DOCUMENT_WEB:
                return
            count = node.get_child_count()
        except Exception:
            return
        for i in range(count):
            try:
                child = node.get_child_at_index(i)
            except Exception:
                continue
            if child is not None:
                yield from self._walk(child, showing_only)

    def walk(self, node, showing_only=True):
        """node and every control under it (not into pages)."""
        return list(self._walk(node, showing_only))

    def find_all(self, app, role, name=None, showing_only=True):
        app.clear_cache()
        found = []
        for node in self._walk(app, showing_only):
            try:
                if node.get_role() == role and (name is None or node.get_name() == name):
                    found.append(node)
            except Exception:
                continue
        return found

    def find(self, app, role, name, timeout=10.0):
        """The one showing control of that role and name."""
        role_name = self.Atspi.role_get_name(role)

        def probe():
            nodes = self.find_all(app, role, name)
            return nodes[0] if len(nodes) == 1 else None

        return wait_for("one showing %s named %r" % (role_name, name), probe, timeout,
                        detail=lambda: self.describe_showing(app, role))

    def describe_showing(self, app, role):
        names = []
        for node in self.find_all(app, role):
            try:
                names.append(node.get_name())
            except Exception:
                pass
        return "showing %s controls named %r" % (self.Atspi.role_get_name(role), names)

    def watch_popups(self):
        """From now on, every pop-up menu that shows is kept: a page's menu belongs to no window
        of the tree and is seen only as it shows. popup_menu() gives the latest."""
        if self._popup_listener is not None:
            return

        def shown(event):
            try:
                if event.detail1 and event.source.get_role() == self.Atspi.Role.POPUP_MENU:
                    self._popups.append(event.source)
            except Exception:
                pass

        self._popup_listener = self.Atspi.EventListener.new(shown)
        self._popup_listener.register("object:state-changed:showing")

    def popup_menu(self, since=0, timeout=10.0):
        """The latest pop-up menu shown after the first since ones."""
        from gi.repository import GLib
        context = GLib.MainContext.default()

        def probe():
            while context.iteration(False):
                pass
            return self._popups[-1] if len(self._popups) > since else None

        return wait_for("a pop-up menu to show", probe, timeout)

    def popups_shown(self):
        return len(self._popups)

    def children(self, node):
        found = []
        try:
            for i in range(node.get_child_count()):
                child = node.get_child_at_index(i)
                if child is not None:
                    found.append(child)
        except Exception:
            pass
        return found

    def value_of(self, node):
        """The current value of a progress bar, a slider or a spin box."""
        try:
            return self.Atspi.Value.get_current_value(node)
        except Exception:
            return None

    def selected_range(self, node):
        """Start and end of the first selection in an editable control, or None."""
        try:
            # The interface's own functions, called through it: newer bindings give the
            # accessible a get_text of its own that hides the Text one.
            Text = self.Atspi.Text
            text = node.get_text_iface()
            if text is None or Text.get_n_selections(text) < 1:
                return None
            r = Text.get_selection(text, 0)
            return r.start_offset, r.end_offset
        except Exception:
            return None

    def extents(self, node):
        e = self.Atspi.Component.get_extents(node, self.Atspi.CoordType.SCREEN)
        return e.x, e.y, e.width, e.height

    def has_state(self, node, state):
        try:
            return node.get_state_set().contains(state)
        except Exception:
            return False

    def showing(self, node):
        return self.has_state(node, self.Atspi.StateType.SHOWING)

    def text_of(self, node):
        """The text an editable control holds."""
        try:
            Text = self.Atspi.Text
            text = node.get_text_iface()
            if text is not None:
                return Text.get_text(text, 0, Text.get_character_count(text))
        except Exception:
            pass
        return None


# ---------------------------------------------------------------------------------------------
# The desktop

class Desktop:
    def __init__(self, binary, pages):
        self.binary = os.path.abspath(binary)
        self.pages = pages
        self.procs = []
        self.browsers = []
        self.tmp = None
        self.server = None
        self.a11y = None
        self.display = None
        self.env = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def start(self):
        missing = [t for t in REQUIRED_TOOLS if shutil.which(t) is None]
        launcher = next((p for p in ATSPI_LAUNCHER_PATHS if os.access(p, os.X_OK)), None)
        if launcher is None:
            missing.append("at-spi-bus-launcher")
        if missing:
            raise Failure("missing tools: %s (tools/install-deps installs them)"
                          % ", ".join(missing))
        if not os.access(self.binary, os.X_OK):
            raise Failure("no browser binary at %s" % self.binary)
        # Processes that lose their parent come to this one, so that none outlives the test.
        _libc.prctl(_PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        self.tmp = tempfile.mkdtemp(prefix="quor-e2e-")
        base = dict(os.environ)
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                     "AT_SPI_BUS_ADDRESS", "QUORBROWSER_START_MINIMIZED", "QT_QPA_PLATFORM",
                     "XAUTHORITY", "SESSION_MANAGER"):
            base.pop(name, None)
        home = self.path("desktop-home")
        runtime = self.path("desktop-runtime")
        os.makedirs(home)
        os.makedirs(runtime)
        os.chmod(runtime, 0o700)
        base.update(HOME=home, XDG_RUNTIME_DIR=runtime, XDG_CONFIG_HOME=home + "/.config",
                    XDG_CACHE_HOME=home + "/.cache", XDG_DATA_HOME=home + "/.local/share")
        self.env = base
        self._start_x()
        self._start_window_manager()
        self._start_buses(launcher)
        self.server = PageServer(self.pages)
        # The test itself asks the accessibility bus of this desktop.
        os.environ["DISPLAY"] = self.display
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"]
        self.a11y = Accessibility()

    def path(self, *parts):
        return os.path.join(self.tmp, *parts)

    def _start_x(self):
        read_end, write_end = os.pipe()
        try:
            xvfb = spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                          "%dx%dx24" % SCREEN, "-dpi", str(DPI), "-nolisten", "tcp",
                          "-noreset"], self.env, self.path("xvfb.log"), pass_fds=(write_end,))
        finally:
            os.close(write_end)
        self.procs.append(xvfb)
        number = b""
        end = time.monotonic() + 20
        with os.fdopen(read_end, "rb", buffering=0) as pipe:
            os.set_blocking(pipe.fileno(), False)
            while not number.endswith(b"\n"):
                if xvfb.poll() is not None or time.monotonic() > end:
                    raise Failure("Xvfb did not start: %s" % self.read_log("xvfb.log"))
                try:
                    chunk = pipe.read()
                except BlockingIOError:
                    chunk = None
                if chunk:
                    number += chunk
                else:
                    time.sleep(0.02)
        self.display = ":" + number.decode().strip()
        self.env["DISPLAY"] = self.display

    def _start_window_manager(self):
        wm = spawn(["openbox", "--sm-disable"], self.env, self.path("openbox.log"))
        self.procs.append(wm)

        def managing():
            if wm.poll() is not None:
                raise Failure("openbox ended: %s" % self.read_log("openbox.log"))
            out = run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], self.env, check=False)
            return "window id #" in out

        wait_for("openbox to manage the screen", managing, 20)

    def _start_buses(self, launcher):
        read_end, write_end = os.pipe()
        try:
            bus = spawn(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                         "--address=unix:path=" + self.path("session-bus"),
                         "--print-address=%d" % write_end], self.env,
                        self.path("dbus.log"), pass_fds=(write_end,))
        finally:
            os.close(write_end)
        self.procs.append(bus)
        with os.fdopen(read_end, "rb") as pipe:
            address = pipe.readline().decode().strip()
        if not address:
            raise Failure("the session bus did not start: %s" % self.read_log("dbus.log"))
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        # Qt joins the accessibility bus only if it is there when the program starts.
        # Asked to end, the launcher ends the accessibility bus it started as well.
        self.procs.append(spawn([launcher, "--launch-immediately"], self.env,
                                self.path("at-spi.log"), death_signal="TERM"))

        def accessibility_bus():
            out = run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                       "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                       "string:org.a11y.Bus"], self.env, check=False)
            if "boolean true" not in out:
                return False
            return "unix:" in run(["xprop", "-root", "AT_SPI_BUS"], self.env, check=False)

        wait_for("the accessibility bus", accessibility_bus, 20,
                 detail=lambda: self.read_log("at-spi.log"))

    def read_log(self, name, tail=3000):
        try:
            with open(self.path(name), "rb") as f:
                return f.read().decode(errors="replace")[-tail:]
        except OSError:
            return "(no log)"

    def browser(self, profile, args=(), env=None, cwd=None):
        b = Browser(self, profile, args, env, cwd)
        self.browsers.append(b)
        return b

    def new_profile(self, name, told=True):
        """Fresh folders for a browser. told: its application folder has been told about this
        engine already (its EngineNotice file names it), so that a start there shows no word
        about old security fixes and behaves as it did before that word existed."""
        self._profiles = getattr(self, "_profiles", 0) + 1
        profile = Profile(self.path("profile-%d-%s" % (self._profiles, name)))
        if told:
            profile.write("EngineNotice", self.engine_notice())
        return profile

    def engine_version(self):
        """The engine the program runs on, as its --version names it: the Qt WebEngine, the
        Chromium and the Chromium its security fixes reach."""
        if getattr(self, "_engine", None) is None:
            out = run([self.binary, "--version"], self.env)
            found = re.search(r"^Qt WebEngine (\S+), Chromium (\S+), "
                              r"security fixes to Chromium (\S+)$", out, re.M)
            if not found:
                raise Failure("--version names no engine: %r" % out)
            self._engine = found.groups()
        return self._engine

    def engine_notice(self):
        """The EngineNotice file of a folder told about this engine: its three versions, one
        quoted field a line, CR LF."""
        return b"".join(b'"%s"\r\n' % v.encode() for v in self.engine_version())

    # Input, as a person gives it: to whatever window has the focus.

    def xdo(self, *args):
        return run(["xdotool"] + [str(a) for a in args], self.env)

    def key(self, *keys):
        self.xdo("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdo("type", "--delay", "25", text)

    def pointer(self):
        out = self.xdo("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def move(self, x, y):
        x, y = int(x), int(y)
        # xdotool's --sync waits for the pointer to move, which it never does if it is there.
        if self.pointer() != (x, y):
            self.xdo("mousemove", "--sync", x, y)

    def click(self, x, y):
        self.move(x, y)
        self.xdo("click", "1")

    def wheel(self, up, hold=None):
        """Turns the wheel one notch where the pointer is, with a key held if hold names one."""
        if hold:
            self.xdo("keydown", hold)
        try:
            self.xdo("click", "4" if up else "5")
        finally:
            if hold:
                self.xdo("keyup", hold)

    def adopt(self, profile, pid):
        """An instance the program started itself, to be found, driven and ended as the ones
        started here are."""
        b = Instance(self, profile, pid)
        self.browsers.append(b)
        return b

    def end_browsers(self):
        for b in self.browsers:
            b.kill()
        self.browsers = []

    def close(self):
        self.end_browsers()
        for p in reversed(self.procs):
            kill_tree(p.pid)
        if self.server is not None:
            self.server.close()
        # Whatever is left was started by this test, through one of the above.
        for pid in descendants(os.getpid()):
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        end = time.monotonic() + 5
        for p in self.procs:
            try:
                p.wait(max(0.1, end - time.monotonic()))
            except subprocess.TimeoutExpired:
                pass
        _reap()
        if self.tmp and not os.environ.get("QUOR_E2E_KEEP"):
            shutil.rmtree(self.tmp, ignore_errors=True)


class Profile:
    """The folders of one browser: its application folder and its per-user folders."""

    def __init__(self, root):
        self.root = root
        self.app = os.path.join(root, "app")
        for d in ("app", "home", "data", "config", "cache"):
            os.makedirs(os.path.join(root, d), exist_ok=True)
        os.makedirs(os.path.join(root, "runtime"), exist_ok=True)
        # A runtime folder others can read is refused by the programs that use it.
        os.chmod(os.path.join(root, "runtime"), 0o700)

    def file(self, name):
        return os.path.join(self.app, name)

    def read(self, name):
        try:
            with open(self.file(name), "rb") as f:
                return f.read()
        except FileNotFoundError:
            raise Failure("no %s in the application folder, which holds %s"
                          % (name, sorted(os.listdir(self.app)))) from None

    def write(self, name, data):
        with open(self.file(name), "wb") as f:
            f.write(data)

    def env(self, base):
        env = dict(base)
        env.update(QUORBROWSER_HOME=self.app, HOME=os.path.join(self.root, "home"),
                   XDG_DATA_HOME=os.path.join(self.root, "data"),
                   XDG_CONFIG_HOME=os.path.join(self.root, "config"),
                   XDG_CACHE_HOME=os.path.join(self.root, "cache"),
                   XDG_RUNTIME_DIR=os.path.join(self.root, "runtime"),
                   QTWEBENGINE_DISABLE_SANDBOX="1",
                   # Only 127.0.0.1 resolves: a bare word never leaves the machine.
                   QTWEBENGINE_CHROMIUM_FLAGS='--disable-gpu --host-resolver-rules='
                                              '"MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"',
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.pop("QUORBROWSER_START_MINIMIZED", None)
        return env


# ---------------------------------------------------------------------------------------------
# The browser

class Browser:
    # Whether its window is shown when it starts, not minimized.
    shown_at_start = True

    def __init__(self, desktop, profile, args, env=None, cwd=None):
        self.desktop = desktop
        self.profile = profile
        self.args = list(args)
        self.extra_env = dict(env or {})
        self.cwd = cwd
        self.proc = None
        self.wid = None
        self._app = None
        self.log_name = None

    def start(self):
        d = self.desktop
        self.log_name = "browser-%d.log" % len(d.browsers)
        env = self.profile.env(d.env)
        env.update(self.extra_env)
        self.proc = spawn([d.binary] + self.args, env, d.path(self.log_name), cwd=self.cwd)
        return self

    @property
    def pid(self):
        # spawn() runs the program through setpriv, which becomes it.
        return self.proc.pid

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    @property
    def returncode(self):
        return self.proc.returncode if self.proc is not None else None

    def log(self):
        return self.desktop.read_log(self.log_name) if self.log_name else ""

    def window(self, timeout=30.0):
        """The main window, once the window manager shows it."""
        if self.wid is not None:
            return self.wid
        d = self.desktop

        def probe():
            if not self.running():
                raise Failure("the browser ended (%s) before showing its window; log:\n%s"
                              % (self.returncode, self.log()))
            # --all: the pid and the name both; by itself xdotool takes either.
            out = run(["xdotool", "search", "--all"]
                      + (["--onlyvisible"] if self.shown_at_start else [])
                      + ["--pid", str(self.pid), "--name", CAPTION_SUFFIX], d.env, check=False)
            ids = [int(w) for w in out.split()]
            for wid in ids:
                # Managed: the window manager has put its frame around it.
                if "=" in run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"], d.env,
                              check=False):
                    return wid
            return None

        self.wid = wait_for("the browser window", probe, timeout)
        return self.wid

    def caption(self):
        if not self.running():
            return None
        out = subprocess.run(["xprop", "-id", str(self.window()), "_NET_WM_NAME"],
                             env=self.desktop.env, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=10)
        text = out.stdout.decode("utf-8", errors="replace").strip()
        if " = " not in text:
            return None
        value = text.split(" = ", 1)[1]
        if value.startswith('"') and value.endswith('"'):
            value = value[1:-1].replace('\\"', '"').replace("\\\\", "\\")
        return value

    def wait_caption(self, expected, timeout=20.0):
        wait_for("the caption %r" % expected, lambda: self.caption() == expected, timeout,
                 detail=lambda: repr(self.caption()))

    def net_wm_state(self):
        out = run(["xprop", "-id", str(self.window()), "_NET_WM_STATE"], self.desktop.env,
                  check=False)
        return out.strip()

    def is_maximized(self):
        state = self.net_wm_state()
        return "_NET_WM_STATE_MAXIMIZED_VERT" in state and "_NET_WM_STATE_MAXIMIZED_HORZ" in state

    def outer_geometry(self):
        """Left, top, width and height of the window with the frame the window manager drew."""
        d = self.desktop
        info = run(["xwininfo", "-id", str(self.window())], d.env)
        values = {}
        for line in info.splitlines():
            if ":" in line:
                k, v = line.split(":", 1)
                values[k.strip()] = v.strip()
        x, y = int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"])
        w, h = int(values["Width"]), int(values["Height"])
        extents = run(["xprop", "-id", str(self.window()), "_NET_FRAME_EXTENTS"], d.env)
        left, right, top, bottom = [int(v) for v in extents.split("=", 1)[1].split(",")]
        return x - left, y - top, w + left + right, h + top + bottom

    def activate(self):
        """Brings the window to the front with the keyboard focus, as a click on it would."""
        wid = self.window()
        d = self.desktop
        run(["xdotool", "windowactivate", "--sync", str(wid)], d.env, check=False)
        wait_for("the browser window to have the focus",
                 lambda: run(["xdotool", "getactivewindow"], d.env, check=False).strip()
                 == str(wid), 10)

    def accessible(self):
        if self._app is None:
            self._app = self.desktop.a11y.application(self.pid)
        return self._app

    def find(self, role, name, timeout=10.0):
        return self.desktop.a11y.find(self.accessible(), role, name, timeout)

    def click_control(self, node):
        """Clicks the middle of a control, where it is when the pointer gets there."""
        a11y = self.desktop.a11y
        for _ in range(20):
            x, y, w, h = a11y.extents(node)
            if w <= 0 or h <= 0:
                time.sleep(0.05)
                continue
            cx, cy = x + w // 2, y + h // 2
            self.desktop.move(cx, cy)
            # A window still settling moves its controls; aim again if this one moved.
            if a11y.extents(node) == (x, y, w, h):
                self.desktop.xdo("click", "1")
                return cx, cy
        raise Failure("the control did not hold still to be clicked: %r"
                      % (a11y.extents(node),))

    def wait_exit(self, timeout=20.0):
        wait_for("the browser to end", lambda: not self.running(), timeout,
                 detail=lambda: "still running, caption %r" % self.caption())
        return self.returncode

    def kill(self):
        if self.proc is not None:
            kill_tree(self.proc.pid)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                pass


class Instance(Browser):
    """A browser that another one started (a new instance): known only by its pid. It is a
    child of this process, the subreaper, once the program that started it has let it go.
    It starts minimized, as File > New starts one."""

    shown_at_start = False

    def __init__(self, desktop, profile, pid):
        super().__init__(desktop, profile, ())
        self._pid = pid
        self._returncode = None

    @property
    def pid(self):
        return self._pid

    @property
    def returncode(self):
        return self._returncode

    def running(self):
        if self._returncode is not None:
            return False
        try:
            pid, status = os.waitpid(self._pid, os.WNOHANG)
        except ChildProcessError:
            # Not this process's to wait for: gone, or a zombie its parent has yet to reap.
            try:
                with open("/proc/%d/stat" % self._pid, "rb") as f:
                    stat = f.read()
            except OSError:
                return False
            return stat[stat.rfind(b")") + 2:].split()[0] != b"Z"
        if pid == self._pid:
            self._returncode = os.waitstatus_to_exitcode(status)
            return False
        # Still there; its last threads may yet be ending.
        return True

    def kill(self):
        kill_tree(self._pid)
        self.running()
