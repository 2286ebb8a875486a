#!/usr/bin/env bash
# Takes the README's pictures of the reports for the doctor with the real
# program in an X server (Xvfb): the context menu open over the chart, and the
# pages of a PDF report made through that menu, its period dialog and its save
# dialog, and the 因素趋势 window.
# Usage: scripts/report_screenshots.sh [build-dir]
#   (writes docs/report-menu.png, docs/report-pdf.png (page 1),
#    docs/report-pdf-pages.png (all three), docs/report-period.png,
#    docs/report-factors.png and docs/report-breakdown.png;
#    needs xvfb, xdotool, imagemagick and poppler-utils)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'kill "${app:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

cp "$build/src/app/velmora" "$work/"
# Three years of check-ups of one man, 40 of them, with a text and an empty
# item among the numbers.
python3 - "$work" <<'PY'
import random, sys, os, datetime
random.seed(11)
folder = sys.argv[1]
lines = []
start = datetime.datetime(2023, 1, 9, 8, 30, 5)
for i in range(40):
    when = start + datetime.timedelta(days=i * 27 + random.randint(0, 5), minutes=i * 7)
    record_id = when.strftime("%Y%m%d%H%M%S")
    values = [58 + i // 13, 172, 80 + random.randint(0, 4) - i // 6, round(random.uniform(1.4, 2.4) - i * 0.015, 1),
              random.randint(142, 160) - i // 2, random.randint(86, 98) - i // 4, round(random.uniform(5.6, 7.0), 1),
              20 + i // 13, 10, round(random.uniform(5.2, 6.4) - i * 0.01, 1), 96 - i // 5]
    if i == 17:
        values[9] = "未测"  # a text where cholesterol belongs: a gap, and the score cannot be summed
    if i == 25:
        values[3] = ""       # triglycerides not measured that time
    lines.append(record_id.encode())
    lines.append("男".encode("gbk"))
    lines += [(" %s " % v).encode("gbk") if v != "" else b"" for v in values]
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

# 导出 PDF… is the fourth entry; the period dialog comes first (all records),
# then the save dialog with a suggested name.
xdotool key Down Down Down Down Return; sleep 1.5
xdotool key Return; sleep 1.5
xdotool key ctrl+a; xdotool type --delay 20 "$work/report.pdf"; xdotool key Return; sleep 3
[ -f "$work/report.pdf" ] || { echo "no PDF was written" >&2; exit 1; }
pdfinfo "$work/report.pdf" | grep -E "Pages|Page size|File size"
pdftoppm -r 96 -f 1 -l 1 -png -singlefile "$work/report.pdf" docs/report-pdf
# The three pages side by side, at half the size.
pdftoppm -r 96 -f 2 -l 2 -png -singlefile "$work/report.pdf" "$work/page-2"
pdftoppm -r 96 -f 3 -l 3 -png -singlefile "$work/report.pdf" "$work/page-3"
convert docs/report-pdf.png "$work/page-2.png" "$work/page-3.png" -bordercolor '#b0b8b0' -border 1 +append \
  -resize 50% docs/report-pdf-pages.png

# 因素趋势… from the chart's menu (the fifth entry there, after the reports):
# the period dialog, then the window.
click 420 230 3
xdotool key Down Down Down Down Down Return; sleep 1.5
import -window root docs/report-period.png
xdotool key Return; sleep 2
import -window root docs/report-factors.png
xdotool key Escape; sleep 0.5

# 评分构成… on the first record label (the fifth entry there).
click 790 32 3
xdotool key Down Down Down Down Down Return; sleep 1.5
import -window root docs/report-breakdown.png
echo "pictures written to docs/report-menu.png, docs/report-pdf.png, docs/report-pdf-pages.png, docs/report-period.png, docs/report-factors.png and docs/report-breakdown.png"
