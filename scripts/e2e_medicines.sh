#!/usr/bin/env bash
# End-to-end run of the medicine diary in a real X window (Xvfb, no window
# manager), driven by xdotool only: a woman with check-up records opens
# 用药记录… with Ctrl+M, starts 氨氯地平 two years back (the time changed in
# the dialog), adjusts it a year back, starts 阿托伐他汀 now and stops
# 氨氯地平 now, each through its button and dialog with Enter for 确定. Her
# .med file is checked byte for byte (the times as the dialog gave them),
# her other files stay as they were. Home readings around the start (written
# beside the program meanwhile) give a before/after mean, which the window
# shows; the PDF report (pdftotext) holds the plan and that mean.
# Usage: scripts/e2e_medicines.sh [build-dir]   (default: build)
# Needs: xvfb, xdotool, x11-utils, imagemagick, xclip, poppler-utils.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
build=${1:-build}
program="$build/src/app/velmora"
started=$(date +%s)

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

prepare_run e2e-medicines "$program" Xvfb xdotool xwininfo import convert xclip pdftotext

# A woman of 160 cm: RecordId systolic diastolic.
entry() { crlf "$1" "$(gbk 女)" " 58 " " 160 " " 60 " " 1.5 " " $2 " " $3 " " 5.4 " " 0 " " 0 " " 5.1 " " 80 " "$(gbk 无)"; }
user_list="$folder/yonghu.dat"
records="$folder/Mei.dat"
medicines="$folder/Mei.med"
readings="$folder/Mei.bp"
year=$(date +%Y)
crlf Mei >"$user_list"
{ entry $((year - 4))0105080000 150 95; entry $((year - 3))0310080000 146 90; } >"$records"
cp "$records" "$work/records.before"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main

# event KEY TITLE YEARS-BACK NAME DOSE FREQUENCY: a button of the window by
# its key, its dialog, the year moved back, the boxes typed, Enter.
event() {
  xdotool key "alt+$1"
  check "alt+$1 opens the $2 dialog" wait_until 5 has_named "$2"
  wait_until 3 has_focus "$(named "$2")"
  sleep 0.2
  if [ "$3" -gt 0 ]; then
    # From the name back into the time (its minute), on to its year, down, and out again.
    xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
    for ((i = 0; i < $3; i++)); do xdotool key Down; done
    xdotool key Tab Tab Tab Tab Tab
  fi
  xdotool key ctrl+a
  [ -n "$4" ] && paste_text "$4"
  for text in "${@:5}"; do
    xdotool key Tab
    paste_text "$text"
  done
  sleep 0.2
  import -window "$(named "$2")" "$SHOTS/dialog-$1-$3.png"
  xdotool key Return
  check "... Enter stores and closes it" wait_until 5 no_named "$2"
}

click 520 546; click 532 436; type_text Mei; click 532 508 # a listed user: no message
click 548 570 # 显示
xdotool key ctrl+m
check "Ctrl+M opens 用药记录" wait_until 5 has_named "用药记录 - Mei"
wait_until 3 has_focus "$(named "用药记录 - Mei")"
sleep 0.3
shot window-empty

event s 开始服用 2 氨氯地平 "5 mg" 每日1次
first=$(sed -n 2p "$medicines" | cut -c1-14)
# shellcheck disable=SC2016 # the test runs in its own shell, with its own arguments
check "the start carries a time two years back, from its minute" bash -c '[[ $1 =~ ^$2[0-9]{8}00$ ]]' _ "$first" $((year - 2))
check "the .med file: the header and the start" cmp "$medicines" <(crlf "$(gbk $'时间\t事件\t药名\t剂量\t用法\t备注')" \
  "$first$(gbk $'\t开始\t氨氯地平\t5 mg\t每日1次\t')")

# Home readings around the start: 148/92 twice a day in the 14 days before,
# 136/84 twice a day on days 15 to 28 after.
start_day=${first:0:8}
{
  gbk $'时间\t收缩压\t舒张压\t脉搏\t来源\t备注'; printf '\r\n'
  for d in $(seq 14 -1 1); do
    day=$(date -d "$start_day -$d days" +%Y%m%d)
    printf '%s070000\t148\t92\t\tx\t\r\n%s210000\t148\t92\t\tx\t\r\n' "$day" "$day"
  done
  for d in $(seq 15 28); do
    day=$(date -d "$start_day +$d days" +%Y%m%d)
    printf '%s070000\t136\t84\t\tx\t\r\n%s210000\t136\t84\t\tx\t\r\n' "$day" "$day"
  done
} >"$readings"
cp "$readings" "$work/readings.before"

event a 调整用药 1 "" "10 mg" 每日1次
event s 开始服用 0 阿托伐他汀 "20 mg" 每晚1次
xdotool key Tab # from the buttons into the table of what is taken: 氨氯地平 first
event t 停用 0 ""
sleep 0.3
shot window-done
second=$(sed -n 3p "$medicines" | cut -c1-14)
third=$(sed -n 4p "$medicines" | cut -c1-14)
fourth=$(sed -n 5p "$medicines" | cut -c1-14)
# shellcheck disable=SC2016 # the test runs in its own shell, with its own arguments
check "the adjustment a year back, the start and the stop now" \
  bash -c '[[ ${1:0:4} = $4 && ${2:0:4} = $5 && ${3:0:4} = $5 && ! $3 < $2 ]]' _ "$second" "$third" "$fourth" $((year - 1)) "$year"
check "the .med file, byte for byte" cmp "$medicines" <(crlf "$(gbk $'时间\t事件\t药名\t剂量\t用法\t备注')" \
  "$first$(gbk $'\t开始\t氨氯地平\t5 mg\t每日1次\t')" "$second$(gbk $'\t调整\t氨氯地平\t10 mg\t每日1次\t')" \
  "$third$(gbk $'\t开始\t阿托伐他汀\t20 mg\t每晚1次\t')" "$fourth$(gbk $'\t停用\t氨氯地平\t\t\t')")
check "the records are untouched" cmp "$records" "$work/records.before"
check "the readings are untouched" cmp "$readings" "$work/readings.before"

xdotool key alt+c
check "关闭 closes the window" wait_until 5 no_named "用药记录 - Mei"

# --- The PDF report: the plan and the pressure around the first start ---------------
click 400 100
xdotool key ctrl+shift+p # 导出 PDF…: the period (all records), then the save dialog
check "Ctrl+Shift+P asks for the period" wait_until 10 has_named "导出 PDF：选择时段"
xdotool key Return
check "... then for the file" wait_until 10 has_named "导出 PDF"
wait_until 3 has_focus "$(named "导出 PDF")"
sleep 0.5
xdotool key ctrl+a
xdotool type --delay 20 "$work/report.pdf"
xdotool key Return
check "the PDF report is written" wait_until 30 test -s "$work/report.pdf"
sleep 0.5
pdftotext -enc UTF-8 "$work/report.pdf" "$work/report.txt"
day_text=$(date -d "$start_day" +%Y年%m月%d日)
check "the PDF names what is taken now: 阿托伐他汀 20 mg 每晚1次" grep -q "阿托伐他汀 20 mg 每晚1次（$(date +%Y年%m月%d日)起）" "$work/report.txt"
check "... and the pressure before and after the start of 氨氯地平" \
  grep -qF "1. $day_text 开始 氨氯地平 5 mg 每日1次：之前平均 148/92（28 次），之后平均 136/84（28 次）" "$work/report.txt"
check "... and what those figures are not" grep -q "不是用药建议" "$work/report.txt"

echo "e2e-medicines: screenshots left in $SHOTS ($(($(date +%s) - started)) s)"
echo "e2e-medicines: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
