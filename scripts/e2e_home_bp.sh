#!/usr/bin/env bash
# End-to-end run of home blood pressure in a real X window (Xvfb, no window
# manager), driven by xdotool only: Lee has a week of readings in Lee.bp; two
# more are typed into 记录血压… (Ctrl+B), which stays open for the second, and
# the file must be the week and the two, byte for byte. Then 家庭血压报告…
# (Ctrl+Shift+B) shows the latest week, whose page is exported as PDF and
# read back with pdftotext: the means and their counts, the verdict, the
# reading typed. Ctrl+Z takes the second reading back; deleting Lee takes the
# readings with the records. The same steps run under Wine (tests/e2e/windows_e2e.sh).
# Usage: scripts/e2e_home_bp.sh [build-dir]   (default: build)
# Needs: xvfb, xdotool, x11-utils, imagemagick, poppler-utils.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
build=${1:-build}
program="$build/src/app/velmora"
started=$(date +%s)

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
# shellcheck source=tests/e2e/home_bp.sh
source "$root/tests/e2e/home_bp.sh"

prepare_run e2e-home-bp "$program" Xvfb xdotool xwininfo import pdftotext iconv

printf 'Lee\r\n' >"$folder/yonghu.dat"
: >"$folder/Lee.dat"
readings="$folder/Lee.bp"
seed_week "$readings"
cp "$readings" "$work/seeded.bp"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main
click 520 546; click 532 436; type_text Lee; click 532 508 # a listed user: no message
click 400 100 # the chart: the window takes the keys

before=$(date +%Y%m%d%H%M%S)
record_readings
after=$(date +%Y%m%d%H%M%S)
check_readings "$readings" "$work/seeded.bp" "$before" "$after"
cp "$readings" "$work/typed.bp"
check "the record file is untouched" eq "$(wc -c <"$folder/Lee.dat")" 0

export_week_pdf Lee "$work/week.pdf"
check_week_pdf "$work/week.pdf"

# Ctrl+Z in the main window takes the second reading back.
close_week_report Lee
click 400 100
xdotool key ctrl+z
check "Ctrl+Z asks, and Return answers Yes" answer_box Return
check "the second reading is gone, the rest as it was" cmp "$readings" <(head -n -1 "$work/typed.bp")

click 740 544 # 删除用户
check "\"y\" answers Yes to deleting" answer_box y
check "the deletion notice dismissed with Return" answer_box Return
check "the readings are gone with the records" test ! -e "$readings" -o -e "$folder/Lee.dat"
check "... both of them" test ! -e "$folder/Lee.dat"
click 740 570 # 退出
check "退出 ends the program" wait_until 5 bash -c "! kill -0 $app 2>/dev/null"

echo "e2e-home-bp: screenshots left in $SHOTS ($(($(date +%s) - started)) s)"
echo "e2e-home-bp: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
