#!/usr/bin/python3
"""Start-up, memory and idle cost of QuorBrowser against the bare web engine program.

Serves a small page and a heavier one (about 200 KB of text and pictures) from 127.0.0.1 and
starts each program in turn, N times, each start in a fresh temporary application folder and
HOME. A start is timed from exec to the page's onload beacon reaching the server. Memory is the
sum of PSS (/proc/<pid>/smaps_rollup) over the whole process tree one second after the page
loaded. A second instance is started while the first runs (same folders, as a person would) and
timed the same way. Idle cost is the CPU time the whole tree uses over 10 s on the small page.

Needs a display (run it under xvfb-run, as tools/bench-startup does).

    bench/startup.py BUILD_DIR [--runs 7] [--idle-seconds 10]
"""

import argparse
import contextlib
import http.server
import os
import random
import re
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import zlib

TICK = os.sysconf("SC_CLK_TCK")
BEACON_TIMEOUT = 60.0
SETTLE_SECONDS = 1.0


# ---------------------------------------------------------------------------------------------
# The pages


def png(width, height, seed):
    rows = []
    for y in range(height):
        row = bytearray([0])
        for x in range(width):
            row += bytes(((x * seed + y) & 255, (y * 2 + seed * 40) & 255, (x ^ y) & 255))
        rows.append(bytes(row))
    raw = zlib.compress(b"".join(rows), 6)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", raw) + chunk(b"IEND", b"")


BEACON_SCRIPT = ("<script>addEventListener('load', function () {"
                 " fetch('/beacon' + location.search, {cache: 'no-store'}); });</script>")

SMALL_PAGE = ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>Small page</title>"
              + BEACON_SCRIPT + "</head><body><h1>Small page</h1>"
              "<p>A few words of text and a <a href='/small.html'>link</a>.</p></body></html>")


def heavy_page():
    rng = random.Random(12)
    words = ("engine window address favorites toolbar status progress page history search "
             "picture canvas gradient shadow layout paragraph line word text").split()
    parts = ["<!DOCTYPE html><html><head><meta charset='utf-8'><title>Heavy page</title>",
             BEACON_SCRIPT,
             "<style>body{font-family:sans-serif;margin:2em}"
             "img{float:right;margin:0 0 1em 1em;box-shadow:0 2px 6px #888}"
             "h2{background:linear-gradient(90deg,#def,#fff)}</style></head><body>"]
    size = 0
    section = 0
    while size < 200_000:
        section += 1
        parts.append("<h2>Section %d</h2>" % section)
        if section <= 8:
            parts.append("<img src='/img/%d.png' width='256' height='256' alt=''>" % section)
        for _ in range(6):
            text = " ".join(rng.choice(words) for _ in range(90))
            parts.append("<p>%s.</p>" % text.capitalize())
            size += len(text)
    parts.append("</body></html>")
    return "".join(parts)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self):
        super().__init__(("127.0.0.1", 0), Handler)
        self.pages = {"/small.html": SMALL_PAGE.encode(), "/heavy.html": heavy_page().encode()}
        self.images = {"/img/%d.png" % i: png(256, 256, i) for i in range(1, 9)}
        self.beacons = {}
        self.lock = threading.Condition()

    def handle_error(self, request, client_address):
        pass  # a program that ends mid-request is no error of the page

    def url(self, page, run_id):
        return "http://127.0.0.1:%d/%s.html?id=%s" % (self.server_address[1], page, run_id)

    def wait_beacon(self, run_id, timeout):
        deadline = time.monotonic() + timeout
        with self.lock:
            while run_id not in self.beacons:
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.lock.wait(left)
            return self.beacons[run_id]


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        now = time.monotonic()
        path, _, query = self.path.partition("?")
        if path == "/beacon":
            run_id = query.partition("id=")[2]
            with self.server.lock:
                self.server.beacons.setdefault(run_id, now)
                self.server.lock.notify_all()
            self.reply(204, b"", "text/plain")
        elif path in self.server.pages:
            self.reply(200, self.server.pages[path], "text/html; charset=utf-8")
        elif path in self.server.images:
            self.reply(200, self.server.images[path], "image/png")
        else:
            self.reply(404, b"", "text/plain")

    def reply(self, status, body, kind):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        try:
            self.wfile.write(body)
        except OSError:
            pass  # a program ended while its page or picture was on the way


# ---------------------------------------------------------------------------------------------
# Process trees


def parent_map():
    parents = {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % name) as f:
                stat = f.read()
        except OSError:
            continue
        fields = stat.rsplit(")", 1)[1].split()
        parents[int(name)] = int(fields[1])
    return parents


def tree(root):
    parents = parent_map()
    children = {}
    for pid, ppid in parents.items():
        children.setdefault(ppid, []).append(pid)
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        if pid in parents:
            found.append(pid)
        todo.extend(children.get(pid, []))
    return found


def pss_kb(pids):
    total = 0
    for pid in pids:
        try:
            with open("/proc/%d/smaps_rollup" % pid) as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
                        break
        except OSError:
            pass
    return total


def cpu_ticks(pids):
    total = {}
    for pid in pids:
        try:
            with open("/proc/%d/stat" % pid) as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        total[pid] = int(fields[11]) + int(fields[12])
    return total


def stop_tree(proc):
    pids = tree(proc.pid)
    try:
        proc.send_signal(signal.SIGTERM)
        proc.wait(15)
    except subprocess.TimeoutExpired:
        pass
    # Whatever the program left behind is ours to end too.
    for pid in tree(proc.pid) + pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except OSError:
            pass
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        pass
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and any(os.path.exists("/proc/%d" % p) for p in pids):
        time.sleep(0.05)


# ---------------------------------------------------------------------------------------------
# The programs


def prepare_engine_environment():
    """The engine refuses to start as root with its sandbox; the resolver rule keeps every name
    but 127.0.0.1 off the network. Every program started afterwards gets the same."""
    if os.geteuid() == 0:
        os.environ["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
    os.environ["QTWEBENGINE_CHROMIUM_FLAGS"] = \
        '"--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1"'


@contextlib.contextmanager
def fresh_folder(prefix="quor-bench-"):
    """A new temporary folder with an empty home and application folder, gone afterwards."""
    folder = tempfile.mkdtemp(prefix=prefix)
    os.makedirs(os.path.join(folder, "home"))
    os.makedirs(os.path.join(folder, "app"))
    try:
        yield folder
    finally:
        shutil.rmtree(folder, ignore_errors=True)


class Program:
    def __init__(self, name, exe, env, quor):
        self.name, self.exe, self.env, self.quor = name, exe, env, quor
        self._engine_notice = None

    def engine_notice(self):
        """QuorBrowser's EngineNotice file for a folder told about its engine already: the three
        versions its --version names, one quoted field a line, CR LF."""
        if self._engine_notice is None:
            out = subprocess.run([self.exe, "--version"], stdout=subprocess.PIPE, check=True,
                                 text=True, timeout=30).stdout
            found = re.search(r"^Qt WebEngine (\S+), Chromium (\S+), "
                              r"security fixes to Chromium (\S+)$", out, re.M)
            if not found:
                raise RuntimeError("%s --version names no engine: %r" % (self.exe, out))
            self._engine_notice = b"".join(b'"%s"\r\n' % v.encode() for v in found.groups())
        return self._engine_notice

    def prepare(self, folder):
        """A fresh application folder that has been told about the engine: no word about old
        security fixes comes up over the page and into the measurements."""
        if self.quor:
            with open(os.path.join(folder, "app", "EngineNotice"), "wb") as f:
                f.write(self.engine_notice())

    def environment(self, folder):
        env = dict(os.environ)
        for key in ("QT_QUICK_BACKEND", "QUORBROWSER_SCENE_GRAPH", "QUORBROWSER_HOME",
                    "QUORBROWSER_STARTUP_TRACE", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                    "XDG_CACHE_HOME"):
            env.pop(key, None)
        env["HOME"] = os.path.join(folder, "home")
        if self.quor:
            env["QUORBROWSER_HOME"] = os.path.join(folder, "app")
        env.update(self.env)
        return env


class Bench:
    def __init__(self, server, logs):
        self.server, self.logs, self.count = server, logs, 0

    def start(self, program, page, folder):
        self.count += 1
        run_id = "r%d" % self.count
        log = open(os.path.join(self.logs, "%s.log" % run_id), "w")
        log.write("%s %s\n" % (program.name, page))
        log.flush()
        env = program.environment(folder)
        program.prepare(folder)
        t0 = time.monotonic()
        proc = subprocess.Popen([program.exe, self.server.url(page, run_id)], env=env,
                                cwd=folder, stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        loaded = self.server.wait_beacon(run_id, BEACON_TIMEOUT)
        log.close()
        if loaded is None:
            stop_tree(proc)
            raise RuntimeError("%s never loaded %s (log: %s)" % (program.name, page, log.name))
        return proc, (loaded - t0) * 1000.0

    def measure(self, program, page, second):
        with fresh_folder() as folder:
            procs = []
            try:
                proc, load_ms = self.start(program, page, folder)
                procs.append(proc)
                time.sleep(SETTLE_SECONDS)
                memory = pss_kb(tree(proc.pid)) / 1024.0
                second_ms = None
                if second:
                    other, second_ms = self.start(program, page, folder)
                    procs.append(other)
                return load_ms, memory, second_ms
            finally:
                for p in reversed(procs):
                    stop_tree(p)

    def idle(self, program, seconds):
        with fresh_folder() as folder:
            proc, _ = self.start(program, "small", folder)
            try:
                time.sleep(2.0)  # past the load's own tail of work
                before = cpu_ticks(tree(proc.pid))
                time.sleep(seconds)
                after = cpu_ticks(tree(proc.pid))
                used = sum(after[p] - before.get(p, 0) for p in after)
                ui = after.get(proc.pid, 0) - before.get(proc.pid, 0)
                return used * 1000.0 / TICK, ui * 1000.0 / TICK
            finally:
                stop_tree(proc)


def spread(values, unit):
    if not values:
        return "-"
    return "%.0f %s (%.0f–%.0f)" % (statistics.median(values), unit, min(values), max(values))


def render_node():
    try:
        return any(n.startswith("renderD") for n in os.listdir("/dev/dri"))
    except OSError:
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", help="the build folder (configured with -DQUORBROWSER_BENCHMARKS=ON)")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--idle-seconds", type=float, default=10.0)
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    quor = os.path.join(build, "src", "app", "QuorBrowser")
    bare = os.path.join(build, "bench", "bare_webview")
    for exe in (quor, bare):
        if not os.access(exe, os.X_OK):
            sys.exit("%s is missing: build with -DQUORBROWSER_BENCHMARKS=ON first" % exe)
    if not os.environ.get("DISPLAY") and not os.environ.get("WAYLAND_DISPLAY"):
        sys.exit("no display: run it under xvfb-run (tools/bench-startup does)")

    prepare_engine_environment()

    programs = [
        Program("bare QWebEngineView", bare, {}, False),
        Program("QuorBrowser", quor, {}, True),
        Program("bare, software scene graph", bare, {"QT_QUICK_BACKEND": "software"}, False),
        Program("QuorBrowser, hardware scene graph forced", quor,
                {"QUORBROWSER_SCENE_GRAPH": "hardware"}, True),
    ]

    server = Server()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    logs = tempfile.mkdtemp(prefix="quor-bench-logs-")
    bench = Bench(server, logs)
    results = {p.name: {"small": [], "heavy": [], "memory": [], "heavy_memory": [],
                        "second": []} for p in programs}

    print("machine: %d processors, %s; render node: %s; %d runs" % (
        os.cpu_count(), os.uname().release, "yes" if render_node() else "no", args.runs),
        file=sys.stderr)
    # One start of each first, so every program finds the same warm file cache.
    for program in programs:
        bench.measure(program, "small", False)
    for run in range(args.runs):
        order = programs if run % 2 == 0 else list(reversed(programs))
        for program in order:
            r = results[program.name]
            load_ms, memory, second_ms = bench.measure(program, "small", True)
            r["small"].append(load_ms)
            r["memory"].append(memory)
            r["second"].append(second_ms)
            load_ms, memory, _ = bench.measure(program, "heavy", False)
            r["heavy"].append(load_ms)
            r["heavy_memory"].append(memory)
        print("run %d of %d done" % (run + 1, args.runs), file=sys.stderr)
    idle = {}
    if args.idle_seconds > 0:
        for program in programs:
            idle[program.name] = bench.idle(program, args.idle_seconds)

    rows = [("first page loaded, small page", "small", "ms"),
            ("first page loaded, heavy page", "heavy", "ms"),
            ("memory of the tree, small page", "memory", "MB"),
            ("memory of the tree, heavy page", "heavy_memory", "MB"),
            ("second instance, its page loaded", "second", "ms")]
    names = [p.name for p in programs]
    print("| | " + " | ".join(names) + " |")
    print("|---" * (len(names) + 1) + "|")
    for label, key, unit in rows:
        print("| %s | %s |" % (label, " | ".join(spread(results[n][key], unit) for n in names)))
    if idle:
        print("| CPU of the idle tree over %.0f s (UI process) | %s |" % (
            args.idle_seconds,
            " | ".join("%.0f ms (%.0f ms)" % idle[n] for n in names)))

    print()
    print("| QuorBrowser (medians) against | bare QWebEngineView | bare, software scene graph |")
    print("|---|---|---|")
    quor_r = results["QuorBrowser"]
    for label, key, _ in rows:
        q = statistics.median(quor_r[key])
        print("| %s | %.2f × | %.2f × |" % (
            label, q / statistics.median(results[names[0]][key]),
            q / statistics.median(results[names[2]][key])))
    shutil.rmtree(logs, ignore_errors=True)


if __name__ == "__main__":
    main()
