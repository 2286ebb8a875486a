#!/usr/bin/env bash
# Takes the README's screenshots of the real program in an X server (Xvfb):
# a user with forty records drawn as bars and as a curve, the open keypad,
# the user panel at scale factor 2 on a 1920 x 1080 screen, and the window
# under a dark style (its message box keeps the dark colours).
# Usage: scripts/screenshots.sh [build-dir]   (writes docs/*.png; needs xvfb,
#   xdotool, imagemagick and adwaita-qt6: scripts/setup.sh --tests)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
stop() {
  kill "${app:-0}" 2>/dev/null || true; wait "${app:-0}" 2>/dev/null || true
  kill "${xvfb:-0}" 2>/dev/null || true; wait "${xvfb:-0}" 2>/dev/null || true
}
trap 'stop; rm -rf "$work"' EXIT

# The program in a folder of its own, with a user of forty records.
cp "$build/src/app/velmora" "$work/"
python3 - "$work" <<'PY'
import random, sys, os
random.seed(7)
folder = sys.argv[1]
lines = []
for i in range(40):
    record_id = "2026%02d%02d%02d%02d%02d" % (1 + i // 4, 1 + (i % 4) * 7, 8, 30, 5)
    values = [45 + i // 8, 172, 68 + random.randint(0, 9) + i // 5, round(random.uniform(1.2, 2.6), 1),
              random.randint(118, 160), random.randint(72, 98), round(random.uniform(4.8, 7.4), 1), 12, 6,
              round(random.uniform(4.6, 6.6), 1), 82 + random.randint(0, 10)]
    lines.append(record_id.encode())
    lines.append("男".encode("gbk"))
    lines += [(" %s " % v).encode() for v in values]
    lines.append("有".encode("gbk"))
open(os.path.join(folder, "Demo.dat"), "wb").write(b"".join(l + b"\r\n" for l in lines))
open(os.path.join(folder, "yonghu.dat"), "wb").write(b"Demo\r\n")
PY

# start SCREEN SCALE [Qt options...]: an X server and the program on it.
start() {
  local screen=$1 scale=$2
  shift 2
  Xvfb :77 -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 & xvfb=$!
  sleep 1
  (cd "$work" && HOME="$work" QT_SCALE_FACTOR=$scale exec ./velmora "$@" >/dev/null 2>&1) & app=$!
  sleep 2
}
export DISPLAY=:77

# The window stands at (67, 33) at scale 1; positions below are window pixels.
click() { xdotool mousemove $((67 + $1)) $((33 + $2)) click 1; sleep 0.4; }
shot() { import -window root -crop 880x604+65+31 "docs/$1"; }
show_demo() {
  click 520 546            # 选择用户
  click 532 436            # the name box
  xdotool key ctrl+a; xdotool type --delay 60 Demo; sleep 0.3
  click 532 508            # 确定返回
  click 548 570            # 显示
}

start 1024x700 1
show_demo
shot screenshot-bars.png
click 604 543            # 曲线
click 548 570            # 显示
shot screenshot-curve.png
click 150 480            # the weight title: the keypad opens
xdotool mousemove 300 300; sleep 0.5
shot screenshot-keypad.png
stop

# Scale 2 on 1920 x 1080: the window is taller than the screen and starts at
# its top edge; the user panel's hint reads whole.
start 1920x1080 2
xdotool mousemove $((134 + 2 * 540)) 1079 click 1; sleep 0.5 # 选择用户, at the screen's bottom edge
import -window root docs/screenshot-userpanel-2x.png
stop

# A dark style and palette: the window keeps its light colours, the question
# of 存储数据 keeps the dark ones.
start 1024x700 1 -style Adwaita-Dark
show_demo
click 816 556            # 存储数据: its question
import -window root docs/screenshot-dark.png
xdotool key Escape; sleep 0.3
stop
echo "screenshots written to docs/"
