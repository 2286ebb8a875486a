#!/usr/bin/env bash
# Takes the README's pictures of home blood pressure with the real program in
# an X server (Xvfb): 记录血压… with a reading just stored, the 家庭血压报告
# window of a week, its A4 page, and the pressure charts of 因素趋势… with the
# home readings beside the check-ups.
# Usage: scripts/home_bp_screenshots.sh [build-dir]
#   (writes docs/home-bp-dialog.png, docs/home-bp-report.png,
#    docs/home-bp-pdf.png and docs/home-bp-charts.png;
#    needs xvfb, xdotool, imagemagick and poppler-utils)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
work=$(mktemp -d)
trap 'kill "${app:-0}" "${xvfb:-0}" 2>/dev/null || true; rm -rf "$work"' EXIT

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
start_xvfb home-bp-screenshots
cp "$build/src/app/velmora" "$work/"
# A woman of 63 with four check-ups over the last year and two weeks of home
# readings up to yesterday, most mornings and evenings, a few days with one or none.
python3 - "$work" <<'PY'
import datetime, os, random, sys
random.seed(5)
folder = sys.argv[1]
today = datetime.date.today()
g = lambda s: s.encode("gbk")
records = []
for i, (days, systolic, diastolic) in enumerate([(330, 146, 92), (200, 142, 90), (90, 150, 94), (20, 144, 91)]):
    day = (today - datetime.timedelta(days=days)).strftime("%Y%m%d")
    values = [63, 158, 64 - i, 1.9, systolic, diastolic, 6.1, 0, 0, 5.6, 86]
    records += [g(day + "083000"), g("女")] + [g(" %s " % v) for v in values] + [g("有")]
open(os.path.join(folder, "李秀英.dat"), "wb").write(b"".join(r + b"\r\n" for r in records))
open(os.path.join(folder, "yonghu.dat"), "wb").write(g("李秀英\r\n"))
open(os.path.join(folder, "李秀英.cvd"), "wb").write(g("吸烟=否\r\n糖尿病=否\r\n心梗或卒中=否\r\n"))
lines = [g("时间\t收缩压\t舒张压\t脉搏\t来源\t备注")]
for d in range(14, 0, -1):
    day = today - datetime.timedelta(days=d)
    for hour, minute, base in ((6, 40, 141), (21, 50, 133)):
        if random.random() < 0.1:
            continue
        for k in range(2):
            s = base + random.randint(-6, 6) - 2 * k
            dia = 86 + random.randint(-4, 4) - k
            when = day.strftime("%Y%m%d") + "%02d%02d00" % (hour, minute + 2 * k)
            pulse = str(68 + random.randint(0, 10)) if k == 0 else ""
            note = "睡前" if hour == 21 and k == 0 and d % 5 == 0 else ""
            lines.append(g("%s\t%d\t%d\t%s\t手动\t%s" % (when, s, dia, pulse, note)))
    if d == 3:
        lines.append(g(day.strftime("%Y%m%d") + "153000\t128\t82\t\t手动\t午睡后"))
open(os.path.join(folder, "李秀英.bp"), "wb").write(b"".join(l + b"\r\n" for l in lines))
PY

(cd "$work" && HOME="$work" exec ./velmora) & app=$!
wait_until 15 has_main
click 520 546            # 选择用户
click 532 436            # the name box: pick the user from the list
xdotool key Down Return; sleep 0.3
click 532 508            # 确定返回
click 548 570            # 显示
sleep 0.5

# 家庭血压报告…: the latest week.
click 400 100
xdotool key ctrl+shift+b; sleep 1.5
window=$(named "家庭血压报告 - 李秀英")
eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { print "x=" $NF } /Absolute upper-left Y/ { print "y=" $NF }
  /Width:/ { print "w=" $NF } /Height:/ { print "h=" $NF }')"
import -window root -crop "${w}x${h}+${x}+${y}" docs/home-bp-report.png
xdotool windowfocus "$window"; sleep 0.3
xdotool key ctrl+shift+p; sleep 1.5
xdotool key ctrl+a; xdotool type --delay 20 "$work/week.pdf"; xdotool key Return; sleep 2
pdftoppm -r 96 -png -singlefile "$work/week.pdf" docs/home-bp-pdf
xdotool key Escape; sleep 0.5

# 因素趋势…: the period dialog (最近3个月), then the window; its two pressure charts.
click 400 100
xdotool key ctrl+shift+t; sleep 1.5
xdotool mousemove 413 244 click 1; sleep 0.3 # 最近3个月
xdotool mousemove 458 398 click 1; sleep 2    # 确定
import -window root "$work/factors.png"
xdotool key Escape; sleep 0.5

# 记录血压… last (the reading goes into the file): one stored, the dialog open for the second.
click 400 100
xdotool key ctrl+b; sleep 1
xdotool type --delay 40 138; xdotool key Tab; xdotool type 87; xdotool key Tab; xdotool type 71; xdotool key Return
sleep 0.8
xdotool type --delay 40 135
sleep 0.3
import -window root "$work/dialog.png"
xdotool key Escape; sleep 0.5

convert "$work/factors.png" -crop 400x160+205+5 +repage -resize 200% docs/home-bp-charts.png
convert "$work/dialog.png" -crop 876x599+67+33 +repage docs/home-bp-dialog.png
echo "pictures written to docs/home-bp-dialog.png, docs/home-bp-report.png, docs/home-bp-pdf.png and docs/home-bp-charts.png"
