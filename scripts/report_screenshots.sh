#!/usr/bin/env bash
# Takes the README's pictures of the reports for the doctor with the real
# program in an X server (Xvfb): the context menu open over the chart, and the
# first page of a PDF report made through that menu and its save dialog.
# Usage: scripts/report_screenshots.sh [build-dir]
#   (writes docs/report-menu.png and docs/report-pdf.png; needs xvfb, xdotool,
#    imagemagick and poppler-utils)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'kill "${app:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$build/src/velmora" "$work/"
# A year of check-ups of one man, about one a month.
python3 - "$work" <<'PY'
import random, sys, os
random.seed(11)
folder = sys.argv[1]
lines = []
for i in range(14):
    record_id = "2025%02d%02d%02d%02d%02d" % (1 + (i * 11) // 13, 3 + (i * 7) % 25, 8 + i % 3, 10 + i, 5 + i)
    values = [58, 172, 76 + random.randint(0, 6) - i // 4, round(random.uniform(1.5, 2.4) - i * 0.03, 1),
              random.randint(138, 158) - i, random.randint(84, 96) - i // 2, round(random.uniform(5.6, 7.0), 1),
              20 + i // 12, 10, round(random.uniform(5.2, 6.4), 1), 94 - i // 3]
    lines.append(record_id.encode())
    lines.append("男".encode("gbk"))
    lines += [(" %s " % v).encode() for v in values]
    lines.append("有".encode("gbk"))
open(os.path.join(folder, "王建国.dat"), "wb").write(b"".join(l + b"\r\n" for l in lines))
open(os.path.join(folder, "yonghu.dat"), "wb").write("王建国\r\n".encode("gbk"))
PY

export DISPLAY=:78
Xvfb "$DISPLAY" -screen 0 1024x700x24 >/dev/null 2>&1 & xvfb=$!
sleep 1
HOME="$work" "$work/velmora" & app=$!
sleep 2

# The window stands at (67, 33); positions below are window pixels.
click() { xdotool mousemove $((67 + $1)) $((33 + $2)) click "${3:-1}"; sleep 0.5; }

click 520 546            # 选择用户
click 532 436            # the name box: pick the user from the list
xdotool key Down Return; sleep 0.3
click 532 508            # 确定返回
click 548 570            # 显示
click 420 230 3          # right click on the chart: the report menu
import -window root -crop 880x604+65+31 docs/report-menu.png

# 导出 PDF… is the fourth entry; its save dialog opens with a suggested name.
xdotool key Down Down Down Down Return; sleep 1.5
xdotool key ctrl+a; xdotool type --delay 20 "$work/report.pdf"; xdotool key Return; sleep 2
[ -f "$work/report.pdf" ] || { echo "no PDF was written" >&2; exit 1; }
pdfinfo "$work/report.pdf" | grep -E "Pages|Page size|File size"
pdftoppm -r 96 -f 1 -l 1 -png -singlefile "$work/report.pdf" docs/report-pdf
echo "pictures written to docs/report-menu.png and docs/report-pdf.png"
