#!/usr/bin/env bash
# End-to-end run of the ten-year cardiovascular risk in a real X window (Xvfb,
# no window manager), driven by xdotool only: a man with two records asks for
# 评分构成… on his latest record, answers the three questions the program asks
# first (prefilled from his records) with Return, and then finds the risk in
# the breakdown's text (copied to the clipboard with Ctrl+A, Ctrl+C), in the
# tooltip of the record (its line drawn in the band's orange), and in a PDF
# report (pdftotext). His answers file is checked byte for byte, his record
# file stays as it was, and both go when he is deleted.
# Usage: scripts/e2e_cvd.sh [build-dir]   (default: build)
# Needs: xvfb, xdotool, x11-utils, imagemagick, xclip, poppler-utils.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
build=${1:-build}
program="$build/src/app/velmora"
started=$(date +%s)

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

prepare_run e2e-cvd "$program" Xvfb xdotool xwininfo import convert xclip pdftotext

crlf() { printf '%s\r\n' "$@"; }
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
# A man of 172 cm and 80 kg, smoking for 10 years: RecordId age systolic blood-sugar cholesterol.
entry() { crlf "$1" "$(gbk 男)" " $2 " " 172 " " 80 " " 1.8 " " $3 " " 90 " " $4 " " 10 " " 5 " " $5 " " 92 " "$(gbk 有)"; }
user_list="$folder/yonghu.dat"
records="$folder/Lee.dat"
answers="$folder/Lee.cvd"
crlf Lee >"$user_list"
# 55, 150 mmHg, 6.2 mmol/L: 14.99 %; the latest, 56, 145 mmHg, 5.8 mmol/L: 14.02 %.
{ entry 20240105080000 55 150 5.6 6.2; entry 20250310080000 56 145 5.4 5.8; } >"$records"
cp "$records" "$work/records.before"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main

# The record's tooltip: a mapped window of the program titled with the
# tooltip's plain text (its score explained): "id WxH+X+Y". xdotool's search
# does not list it.
tooltip_window() {
  local id
  for id in $(xwininfo -root -children 2>/dev/null | awk '$1 ~ /^0x/ { print $1 }'); do
    xprop -id "$id" WM_CLASS 2>/dev/null | grep -q '"velmora"' || continue
    xprop -id "$id" _NET_WM_NAME 2>/dev/null | grep -q '风险评分' || continue
    xwininfo -id "$id" 2>/dev/null | awk -v id="$id" '/Map State/ { viewable = $NF == "IsViewable" }
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } /Width:/ { w = $NF }
      /Height:/ { h = $NF } END { if (viewable) printf "%s %dx%d+%d+%d\n", id, w, h, x, y }'
  done | head -n1
}
tooltip_geometry() { tooltip_window | awk '{ print $2 }'; }
has_tooltip() { [ -n "$(tooltip_geometry)" ]; }
# Pixels of the 10%-<20% band's orange (#E8730C) in a screen region WxH+X+Y of a shot.
orange_pixels() {
  convert "$SHOTS/$1.png" -crop "$2" +repage -depth 8 -format %c histogram:info:- |
    awk -F'[(),:]' '{ n_ = $1 + 0; r = $3 + 0; g = $4 + 0; b = $5 + 0
      if (r > 200 && g > 90 && g < 140 && b < 60) n += n_ } END { print n + 0 }'
}

click 520 546; click 532 436; type_text Lee; click 532 508 # a listed user: no message
click 548 570 # 显示

# --- 评分构成… on the latest record: first the three questions ----------------------
# The record entries of the menu follow the reports: 评分构成… is the fifth entry.
xdotool mousemove $((WX + 808)) $((WY + 52)) click 3 # Label4(1)
sleep 0.4
xdotool key Down Down Down Down Down Return
check "评分构成… first asks the three questions" wait_until 5 has_named 十年心血管病风险
wait_until 3 has_focus "$(named 十年心血管病风险)"
sleep 0.2
import -window root "$SHOTS/questions.png"
xdotool key Return # 确定: smokes (10 years of smoking), no diabetes (5.4 mmol/L), no heart attack or stroke
check "确定 closes the questions" wait_until 5 no_named 十年心血管病风险
check "the answers file, GBK with CR LF" cmp "$answers" <(crlf "$(gbk 吸烟=是)" "$(gbk 糖尿病=否)" "$(gbk 心梗或卒中=否)")
check "the record file is unchanged" cmp "$records" "$work/records.before"

# --- The breakdown: its text through the clipboard ---------------------------------
check "then the breakdown opens" wait_until 5 has_named 评分构成
breakdown=$(named 评分构成)
eval "$(xwininfo -id "$breakdown" | awk '/Absolute upper-left X/ { print "bx=" $NF } /Absolute upper-left Y/ { print "by=" $NF }')"
xdotool mousemove $((bx + 120)) $((by + 150)) click 1 # into the explanation's text
xdotool key ctrl+a ctrl+c
sleep 0.3
xclip -o -selection clipboard >"$work/breakdown.txt" 2>/dev/null
import -window root "$SHOTS/breakdown.png"
check "the breakdown says 十年心血管病风险：14%（10%–<20%）" grep -q '^十年心血管病风险：14%（10%–<20%）$' "$work/breakdown.txt"
check "... and the model with its inputs" \
  grep -q '^WHO 2019 实验室模型（东亚校准）：男，56 岁，吸烟，收缩压 145 mmHg，无糖尿病，总胆固醇 5.8 mmol/L$' "$work/breakdown.txt"
xdotool key Escape
check "Escape closes the breakdown" wait_until 5 no_named 评分构成

# --- The tooltip of the record: the risk in the band's colour ------------------------
click 400 100 # the chart: the main window is active again (tooltips need it)
xdotool mousemove $((WX + 800)) $((WY + 50))
sleep 0.2
xdotool mousemove $((WX + 805)) $((WY + 52)) # Label4(1)
check "resting on the record shows its tooltip" wait_until 5 has_tooltip
sleep 0.3
shot tooltip
tip=$(tooltip_geometry)
xprop -id "$(tooltip_window | awk '{ print $1 }')" -notype _NET_WM_NAME >"$work/tooltip.txt" 2>/dev/null
check "the tooltip's text says 十年心血管病风险：14%（10%–<20%）" grep -qF '\n十年心血管病风险：14%（10%–<20%）\n' "$work/tooltip.txt"
check "... followed by the model and its inputs" \
  grep -qF '\nWHO 2019 实验室模型（东亚校准）：男，56 岁，吸烟，收缩压 145 mmHg，无糖尿病，总胆固醇 5.8 mmol/L"' "$work/tooltip.txt"
tip_w=${tip%%x*} tip_rest=${tip#*x}
tip_h=${tip_rest%%+*} tip_xy=${tip_rest#*+}
# The risk is the tooltip's last line but one, the model's inputs the last (18 px a line).
check "the tooltip's risk line is drawn in the band's orange" \
  gt "$(orange_pixels tooltip "${tip_w}x40+${tip_xy%+*}+$((${tip_xy#*+} + tip_h - 42))")" 100
check "... and nothing else in it is" eq "$(orange_pixels tooltip "${tip_w}x$((tip_h - 44))+${tip_xy%+*}+${tip_xy#*+}")" 0

# --- The PDF report ------------------------------------------------------------------
click 400 100
xdotool key ctrl+shift+p # 导出 PDF…: the period (all records), then the save dialog
sleep 1.5
xdotool key Return
sleep 1.5
xdotool key ctrl+a
xdotool type --delay 20 "$work/report.pdf"
xdotool key Return
check "the PDF report is written" wait_until 15 test -s "$work/report.pdf"
sleep 0.5
pdftotext -enc UTF-8 -f 1 -l 1 "$work/report.pdf" "$work/report.txt"
check "its first page says 十年心血管病风险：14%（10%–<20%）" grep -q '十年心血管病风险：14%（10%–<20%）' "$work/report.txt"
check "... and what the estimate is" grep -q '所作的估计' "$work/report.txt"

# --- Deleting the user takes the answers with the records ----------------------------
click 740 544 # 删除用户
check "\"y\" answers Yes to deleting" answer_box y
check "the deletion notice dismissed with Return" answer_box Return
check "the record file is gone" test ! -e "$records"
check "the answers file is gone" test ! -e "$answers"
click 740 570 # 退出
check "退出 ends the program" wait_until 5 bash -c "! kill -0 $app 2>/dev/null"

# For the README: the tooltip over the window, and the questions.
docs_picture tooltip.png cvd-risk-tooltip.png "$(screen_region 876x599+0+0)"
docs_picture questions.png cvd-risk-questions.png "$(screen_region 876x599+0+0)"

echo "e2e-cvd: screenshots left in $SHOTS ($(($(date +%s) - started)) s)"
echo "e2e-cvd: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
