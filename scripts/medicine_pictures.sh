#!/usr/bin/env bash
# Takes the README's pictures of the medicine diary with the real program in
# an X server (Xvfb): a woman with three years of check-ups and home readings
# who took four medicines in that time (started, adjusted, stopped, some
# tablets when needed). The 因素趋势 window with her systolic chart shown
# alone (a double click), the 用药记录 window, and the medicines page of her
# PDF report.
# Usage: scripts/medicine_pictures.sh [build-dir]
#   (writes docs/medicine-chart.png, docs/medicine-window.png and
#    docs/medicine-report.png; needs xvfb, xdotool, imagemagick and poppler-utils)
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
build=${1:-build}

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
prepare_run medicine-pictures "$build/src/app/velmora" Xvfb xdotool xwininfo import pdftoppm

python3 - "$folder" <<'PY'
import datetime, os, random, sys
random.seed(28)
folder = sys.argv[1]
user = "李秀英"
start = datetime.date(2022, 1, 10)
end = datetime.date(2024, 12, 20)

# The medicines: (days from the start, event, name, dose, how often).
events = [
    (20, "开始", "氨氯地平", "5 mg", "每日1次"),
    (75, "单次", "阿司匹林", "100 mg", ""),
    (110, "调整", "氨氯地平", "10 mg", "每日1次"),
    (150, "开始", "阿托伐他汀", "20 mg", "每晚1次"),
    (160, "单次", "阿司匹林", "100 mg", ""),
    (300, "开始", "厄贝沙坦", "150 mg", "每日1次"),
    (390, "调整", "阿托伐他汀", "10 mg", "每晚1次"),
    (470, "开始", "二甲双胍", "500 mg", "每日2次"),
    (520, "调整", "二甲双胍", "1000 mg", "每日2次"),
    (610, "停用", "氨氯地平", "", ""),
    (640, "调整", "厄贝沙坦", "300 mg", "每日1次"),
    (700, "单次", "阿司匹林", "100 mg", ""),
    (820, "停用", "阿托伐他汀", "", ""),
    (850, "开始", "瑞舒伐他汀", "10 mg", "每晚1次"),
    (960, "调整", "二甲双胍", "500 mg", "每日2次"),
]
def pressure(day):
    # Falling with each blood pressure change, with day-to-day scatter.
    s, d = 152, 94
    for at, what, name, dose, _ in events:
        if day >= at + 21 and name in ("氨氯地平", "厄贝沙坦") and what != "单次":
            s, d = (s - 6, d - 3) if what != "停用" else (s + 4, d + 2)
    return s + random.randint(-6, 6), d + random.randint(-4, 4)

lines = ["时间\t事件\t药名\t剂量\t用法\t备注"]
for at, what, name, dose, often in events:
    when = datetime.datetime.combine(start + datetime.timedelta(days=at), datetime.time(8, 0))
    lines.append("\t".join([when.strftime("%Y%m%d%H%M%S"), what, name, dose, often, ""]))
open(os.path.join(folder, user + ".med"), "wb").write("".join(l + "\r\n" for l in lines).encode("gbk"))

lines = ["时间\t收缩压\t舒张压\t脉搏\t来源\t备注"]
day = start
while day <= end:
    n = (day - start).days
    if n % 3 != 1:  # most days, morning and evening
        for hour in (7, 21):
            s, d = pressure(n)
            lines.append("%s\t%d\t%d\t%d\t手动\t" % (datetime.datetime.combine(day, datetime.time(hour, 5)).strftime("%Y%m%d%H%M%S"), s, d, random.randint(62, 80)))
    day += datetime.timedelta(days=1)
open(os.path.join(folder, user + ".bp"), "wb").write("".join(l + "\r\n" for l in lines).encode("gbk"))

records = []
for i in range(36):
    when = datetime.datetime.combine(start + datetime.timedelta(days=i * 30 + random.randint(0, 4)), datetime.time(9, 30))
    s, d = pressure((when.date() - start).days)
    values = [61 + i // 12, 158, 66 - i // 9, round(random.uniform(1.5, 2.2), 1), s + 4, d + 2, round(random.uniform(6.0, 7.6), 1),
              0, 0, round(random.uniform(5.8, 6.6) - (0.5 if i > 5 else 0), 1), 88 - i // 8]
    records.append(when.strftime("%Y%m%d%H%M%S").encode())
    records.append("女".encode("gbk"))
    records += [(" %s " % v).encode() for v in values]
    records.append("无".encode("gbk"))
open(os.path.join(folder, user + ".dat"), "wb").write(b"".join(l + b"\r\n" for l in records))
open(os.path.join(folder, "yonghu.dat"), "wb").write((user + "\r\n").encode("gbk"))
# The ten-year risk's questions answered already.
open(os.path.join(folder, user + ".cvd"), "wb").write("吸烟=否\r\n糖尿病=是\r\n心梗或卒中=否\r\n".encode("gbk"))
PY

start_program "$folder" velmora.log
wait_until 20 has_main || { echo "the program did not start"; exit 1; }
# shown NAME: waits for the window of that whole title, and gives its id.
shown() { wait_until 20 has_named "$1" || { shot failed; echo "no window \"$1\" (see $SHOTS/failed.png)" >&2; exit 1; }; sleep 1; named "$1"; }

click 520 546; click 532 436; xdotool key Down Return; sleep 0.3; click 532 508 # the listed user
click 548 570 # 显示

# 因素趋势…: all records; the systolic chart (the second) alone.
xdotool key ctrl+shift+t
shown 因素趋势：选择时段 >/dev/null
xdotool key Return
window=$(shown "因素趋势 - 李秀英")
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "wx=" $NF } /Absolute upper-left Y/ { print "wy=" $NF }')"
xdotool mousemove $((wx + 300)) $((wy + 100)) click --repeat 2 --delay 80 1
sleep 2
import -window "$window" docs/medicine-chart.png
xdotool key Escape
wait_until 10 no_named "因素趋势 - 李秀英"

# 用药记录… (Ctrl+M), from the main window.
click 400 200
xdotool key ctrl+m
import -window "$(shown "用药记录 - 李秀英")" docs/medicine-window.png
xdotool key Escape
wait_until 10 no_named "用药记录 - 李秀英"

# The PDF report: all records, its medicines page.
click 400 200
xdotool key ctrl+shift+p
shown "导出 PDF：选择时段" >/dev/null
xdotool key Return
sleep 2
xdotool key ctrl+a; xdotool type --delay 20 "$work/report.pdf"; xdotool key Return
wait_until 60 test -s "$work/report.pdf" || { echo "no PDF was written" >&2; exit 1; }
sleep 2
pdftoppm -r 110 -f 3 -l 3 -png -singlefile "$work/report.pdf" docs/medicine-report
[ -n "${MEDICINE_PICTURES_KEEP:-}" ] && cp "$work/report.pdf" "$MEDICINE_PICTURES_KEEP"
echo "pictures written to docs/medicine-chart.png, docs/medicine-window.png and docs/medicine-report.png"
