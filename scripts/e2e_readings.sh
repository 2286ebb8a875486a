#!/usr/bin/env bash
# End-to-end run of 导入血压读数… in a real X window (Xvfb, no window
# manager), driven by xdotool only: one file of each kind is brought in
# through the menu or Ctrl+Shift+I and its dialogs, answered from the
# keyboard: the monitor app's table (time zones), the phone's export.zip, a
# table of unknown columns (chosen in their dialog, then remembered) and the
# program's own table of readings. The user's .bp file is then checked byte
# for byte; the record file is untouched.
# Usage: scripts/e2e_readings.sh [build-dir]   (default: build)
# Needs: xvfb, xdotool, x11-utils, imagemagick, python3, iconv.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
build=${1:-build}
program="$build/src/app/velmora"
data="$root/tests/data/readings_import"
started=$(date +%s)

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

prepare_run e2e-readings "$program" Xvfb xdotool xwininfo import python3 iconv

crlf() { printf '%s\r\n' "$@"; }
records="$folder/Lee.dat"
readings="$folder/Lee.bp"
crlf Lee >"$folder/yonghu.dat"
: >"$records"
zip_export "$data/export.xml" "$work/export.zip"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main
click 520 546; click 532 436; type_text Lee; click 532 508 # a listed user: no message

# --- The monitor app's table, through the right-click menu -------------------------
xdotool mousemove $((WX + 400)) $((WY + 200)) click 3 # the chart
sleep 0.4
shot menu
# Up from the top wraps to the last entry; 导入血压读数… is the sixth from the
# end (before 导出血压读数…, the medicines' two and the backups' two).
xdotool key Up Up Up Up Up Up Return
check "导入血压读数… opens the file dialog" import_path "$data/monitor_zones.csv"
check "... the summary: 导入 with Return" import_confirm summary-monitor
check "... then the count, dismissed with Return" answer_box Return
check "... seven readings in Lee.bp" eq "$(($(wc -l <"$readings") - 1))" 7

# --- The phone's export.zip, with Ctrl+Shift+I ---------------------------------------
click 400 200
xdotool key ctrl+shift+i
check "Ctrl+Shift+I opens the file dialog for export.zip" import_path "$work/export.zip"
check "... the summary: 导入 with Return" import_confirm summary-phone
check "... then the count" answer_box Return

# --- A table of unknown columns: chosen from the keyboard, then remembered ------------
click 400 200
xdotool key ctrl+shift+i
check "the file dialog takes the unknown table" import_path "$data/other_table.csv"
check "its columns are asked for, and chosen from the keyboard" import_columns
check "... the summary: 导入 with Return" import_confirm summary-columns
check "... then the count" answer_box Return
check "the choice is remembered in readings-columns.txt" grep -q 'Messzeit,Oben,Unten,Puls,Kommentar' "$folder/readings-columns.txt"

# --- The program's own table of readings ------------------------------------------------
click 400 200
xdotool key ctrl+shift+i
check "the file dialog takes the program's own table" import_path "$data/own_export.csv"
check "... the summary: 导入 with Return" import_confirm summary-own
check "... then the count" answer_box Return

# --- The readings, byte for byte --------------------------------------------------------
expected_readings >"$work/expected.bp"
check "Lee.bp holds the readings of all four files in time order, byte for byte" cmp "$readings" "$work/expected.bp"
check "the record file is untouched" eq "$(wc -c <"$records")" 0

# --- Undo takes the last import back ----------------------------------------------------
click 400 200
xdotool key ctrl+z
check "Ctrl+Z asks about undoing 导入血压读数, Return answers Yes" answer_box Return
check "... and the own table's three readings are gone" eq "$(($(wc -l <"$readings") - 1))" 16
click 740 570 # 退出
check "退出 ends the program" wait_until 5 bash -c "! kill -0 $app 2>/dev/null"
docs_picture columns-chosen.png screenshot-readings-columns.png
docs_picture summary-monitor.png screenshot-readings-summary.png

echo "e2e-readings: screenshots left in $SHOTS ($(($(date +%s) - started)) s)"
echo "e2e-readings: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
