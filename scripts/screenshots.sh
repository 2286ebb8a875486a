#!/usr/bin/env bash
# Takes the README's screenshots of the real program in an X server (Xvfb):
# a user with forty records drawn as bars and as a curve, and the open keypad.
# Usage: scripts/screenshots.sh [build-dir]   (writes docs/*.png)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'kill "${app:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$build/src/velmora" "$work/"
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
open(os.path.join(folder, "yonghu.dat"), "wb").write(b"")
PY

export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1024x700x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
"$work/velmora" & app=$!
sleep 2

# The window stands at (67, 33); positions below are window pixels.
click() { xdotool mousemove $((67 + $1)) $((33 + $2)) click 1; sleep 0.4; }
shot() { import -window root -crop 880x604+65+31 "docs/$1"; }

click 520 546            # 选择用户
click 532 436            # the name box
xdotool type --delay 60 Demo; sleep 0.3
click 532 508            # 确定返回: the existing Demo.dat keeps its records
xdotool key Return; sleep 0.5   # "新用户创建成功！"
click 548 570            # 显示
shot screenshot-bars.png
click 604 543            # 曲线
click 548 570            # 显示
shot screenshot-curve.png
click 150 480            # the weight title: the keypad opens
xdotool mousemove 300 300; sleep 0.5
import -window root -crop 880x604+65+31 docs/screenshot-keypad.png
echo "screenshots written to docs/"
