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
year=$(date +%Y)
crlf Mei >"$user_list"
{ entry $((year - 4))0105080000 150 95; entry $((year - 3))0310080000 146 90; } >"$records"
cp "$records" "$work/records.before"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main

click 520 546; click 532 436; type_text Mei; click 532 508 # a listed user: no message
click 548 570 # 显示
medicine_diary Mei "$folder" "$work/report.pdf"
check "the records are untouched" cmp "$records" "$work/records.before"

echo "e2e-medicines: screenshots left in $SHOTS ($(($(date +%s) - started)) s)"
echo "e2e-medicines: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
