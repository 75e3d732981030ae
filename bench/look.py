#!/usr/bin/python3
"""Pictures of one page in QuorBrowser drawn by each scene graph, for the eye and a pixel diff.

The page has text, CSS gradients and shadows, pictures, a canvas drawing and a CSS animation
(stopped at one frame for the pictures), and says whether WebGL is available. In each mode the page is shown, then the text is
selected (Ctrl+A), the page scrolled with the wheel and zoomed with Ctrl+wheel, each step
photographed. Then the pictures of the two modes are compared with ImageMagick's compare.

    xvfb-run -a -s "-screen 0 1280x1024x24" bench/look.py BUILD_DIR OUT_DIR
"""

import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

sys.dont_write_bytecode = True  # nothing left in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import startup  # noqa: E402  (the page server and process helpers)

LOOK_PAGE = """<!DOCTYPE html><html><head><meta charset='utf-8'><title>Look</title>
<style>
body { font-family: sans-serif; margin: 24px; }
.grad { height: 80px; background: linear-gradient(135deg, #e33, #fd3 40%, #3c6 70%, #36f); }
.radial { width: 160px; height: 160px; border-radius: 50%;
          background: radial-gradient(circle at 30% 30%, #fff, #39f 60%, #036); }
.card { display: inline-block; margin: 16px; padding: 16px; width: 220px;
        background: #fff; border-radius: 8px; box-shadow: 0 6px 18px rgba(0,0,0,.45); }
.text { text-shadow: 2px 2px 3px #999; font-size: 28px; }
.spin { width: 60px; height: 60px; background: #c3c; animation: spin 2s linear infinite; }
@keyframes spin { to { transform: rotate(360deg) translateX(20px); } }
.still .spin { animation-play-state: paused; animation-delay: -0.3s; }
p { max-width: 60em; line-height: 1.5; }
</style>
<script>
addEventListener('load', function () {
  var c = document.getElementById('cv').getContext('2d');
  var g = c.createLinearGradient(0, 0, 240, 0);
  g.addColorStop(0, '#f60'); g.addColorStop(1, '#06f');
  c.fillStyle = g; c.fillRect(10, 10, 220, 60);
  c.strokeStyle = '#222'; c.lineWidth = 4;
  c.beginPath(); c.arc(120, 110, 40, 0, Math.PI * 1.5); c.stroke();
  c.font = '20px serif'; c.fillStyle = '#000'; c.fillText('canvas text', 60, 180);
  document.body.className = 'still'; // one frame for the pictures
  var gl = document.createElement('canvas').getContext('webgl');
  document.getElementById('gl').textContent = 'WebGL: ' + (gl ? 'available' : 'not available');
  fetch('/beacon' + location.search, {cache: 'no-store'});
});
</script></head><body>
<div class="text">Text with a shadow, <b>bold</b>, <i>italic</i> and <u>underlined</u>.</div>
<div class="grad"></div>
<div class="card">A card with a shadow and <a href="#x">a link</a>.</div>
<div class="card"><div class="radial"></div></div>
<div class="card"><img src="/img/3.png" width="128" height="128" alt="picture">
<img src="/img/5.png" width="64" height="64" alt="picture"></div>
<canvas id="cv" width="240" height="200"></canvas>
<div class="spin"></div>
<div id="gl" class="text"></div>
<!--filler-->
</body></html>"""


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    build, out = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    os.makedirs(out, exist_ok=True)
    quor = os.path.join(build, "src", "app", "QuorBrowser")
    startup.prepare_engine_environment()

    server = startup.Server()
    filler = "".join("<p>Paragraph %d: the quick brown fox jumps over the lazy dog, "
                     "and the page goes on so that it can be scrolled.</p>" % i
                     for i in range(40))
    server.pages["/look.html"] = LOOK_PAGE.replace("<!--filler-->", filler).encode()
    threading.Thread(target=server.serve_forever, daemon=True).start()
    logs = tempfile.mkdtemp(prefix="quor-look-logs-")
    bench = startup.Bench(server, logs)

    def shoot(name):
        time.sleep(0.8)  # the engine's next frames reach the screen
        subprocess.run(["import", "-window", "root", os.path.join(out, name + ".png")],
                       check=True)

    def xdo(*args):
        subprocess.run(["xdotool"] + list(args), check=True)

    modes = [("software", startup.Program("software", quor,
                                          {"QUORBROWSER_SCENE_GRAPH": "software"}, True)),
             ("hardware", startup.Program("hardware", quor,
                                          {"QUORBROWSER_SCENE_GRAPH": "hardware"}, True))]
    for mode, program in modes:
        with startup.fresh_folder("quor-look-") as folder:
            proc, ms = bench.start(program, "look", folder)
            try:
                shoot(mode + "-1-page")
                xdo("mousemove", "600", "700", "click", "1")
                xdo("key", "ctrl+a")
                shoot(mode + "-2-selected")
                for _ in range(5):
                    xdo("click", "5")
                shoot(mode + "-3-scrolled")
                xdo("keydown", "ctrl", "click", "4", "click", "4", "click", "4", "keyup", "ctrl")
                shoot(mode + "-4-zoomed")
            finally:
                startup.stop_tree(proc)
        print("%s: page loaded in %.0f ms" % (mode, ms))
    for step in ("1-page", "2-selected", "3-scrolled", "4-zoomed"):
        a, b = (os.path.join(out, "%s-%s.png" % (m, step)) for m in ("software", "hardware"))
        diff = os.path.join(out, "diff-%s.png" % step)
        r = subprocess.run(["compare", "-metric", "AE", "-fuzz", "2%", a, b, diff],
                           capture_output=True, text=True)
        print("%s: %s pixels differ (of 1280x1024, 2%% fuzz)" % (step, r.stderr.strip()))
    shutil.rmtree(logs, ignore_errors=True)  # kept only when a start failed


if __name__ == "__main__":
    main()
