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
# The phone's export as the phone zips it.
python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[2], "apple_health_export/export.xml")' "$work/export.zip" "$data/export.xml"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main
click 520 546; click 532 436; type_text Lee; click 532 508 # a listed user: no message

named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
has_named() { [ -n "$(named "$1")" ]; }
gone() { ! xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | grep -qx "$1"; }
# open_file PATH: the file dialog that is open takes the path.
open_file() {
  local dialog
  wait_until 10 has_named 导入血压读数 || return 1
  dialog=$(named 导入血压读数)
  wait_until 3 has_focus "$dialog"
  sleep 0.3
  type_text "$1"
  xdotool key Return
  wait_until 10 gone "$dialog" 导入血压读数
}
# confirm SHOT: the summary that comes next, photographed and answered with Return (导入).
confirm() {
  local summary
  wait_until 20 has_named 导入血压读数 || return 1
  summary=$(named 导入血压读数)
  wait_until 3 has_focus "$summary"
  sleep 0.3
  import -window "$summary" "$SHOTS/$1.png"
  xdotool key Return
  wait_until 10 gone "$summary" 导入血压读数
}

# --- The monitor app's table, through the right-click menu -------------------------
xdotool mousemove $((WX + 400)) $((WY + 200)) click 3 # the chart
sleep 0.4
shot menu
xdotool key Up Return # the last entry: 导入血压读数…
check "导入血压读数… opens the file dialog" open_file "$data/monitor_zones.csv"
check "... the summary: 导入 with Return" confirm summary-monitor
check "... then the count, dismissed with Return" answer_box Return
check "... seven readings in Lee.bp" eq "$(($(wc -l <"$readings") - 1))" 7

# --- The phone's export.zip, with Ctrl+Shift+I ---------------------------------------
click 400 200
xdotool key ctrl+shift+i
check "Ctrl+Shift+I opens the file dialog for export.zip" open_file "$work/export.zip"
check "... the summary: 导入 with Return" confirm summary-phone
check "... then the count" answer_box Return

# --- A table of unknown columns: chosen from the keyboard, then remembered ------------
columns() { named 选择血压读数的列; }
click 400 200
xdotool key ctrl+shift+i
check "the file dialog takes the unknown table" open_file "$data/other_table.csv"
check "its columns are asked for" wait_until 10 has_named 选择血压读数的列
wait_until 3 has_focus "$(columns)"
sleep 0.3
import -window "$(columns)" "$SHOTS/columns.png"
# The date column is found by its cells; systolic, diastolic and pulse by Alt and the arrows.
xdotool key alt+s Down Down alt+i Down Down Down alt+p Down Down Down Down
sleep 0.2
import -window "$(columns)" "$SHOTS/columns-chosen.png"
xdotool key Return
check "... the summary: 导入 with Return" confirm summary-columns
check "... then the count" answer_box Return
check "the choice is remembered in readings-columns.txt" grep -q 'Messzeit,Oben,Unten,Puls,Kommentar' "$folder/readings-columns.txt"

# --- The program's own table of readings ------------------------------------------------
click 400 200
xdotool key ctrl+shift+i
check "the file dialog takes the program's own table" open_file "$data/own_export.csv"
check "... the summary: 导入 with Return" confirm summary-own
check "... then the count" answer_box Return

# --- The readings, byte for byte --------------------------------------------------------
line() { printf '%s\t%s\t%s\t%s\t%s\t%s\r\n' "$@"; }
{
  line 时间 收缩压 舒张压 脉搏 来源 备注
  line 20211211180447 128 82 76 BP5 ''
  line 20240310013000 135 85 70 '李华的 iPhone' ''
  line 20240310033000 133 84 71 '李华的 iPhone' ''
  line 20240331015000 131 84 70 BPM-A20 ''
  line 20240331031000 129 83 69 BPM-A20 ''
  line 20240331033000 128 79 66 '李华的 iPhone' ''
  line 20240403080000 130 82 68 表格导入 ''
  line 20240403201500 128 80 '' 表格导入 ''
  line 20240603073000 129 83 '' '李华的 iPhone' ''
  line 20241121070500 136 88 68 BPM-A20 ''
  line 20241121073000 135 85 70 表格导入 ''
  line 20241121073000 138 88 72 手动 起床后
  line 20241121114000 128 82 71 BPM-A20 ''
  line 20241121210509 132 84 '' '=HEM 血压计' -左臂
  line 20241122073100 135 86 70 BPM-A20 '早饭前, 左臂'
  line 20241122213000 126 80 '' 血压计App ''
  line 20241231235800 140 90 75 BPM-A20 ''
  line 20250101000300 138 89 74 BPM-A20 ''
  line 20250101013000 142 91 '' '李华的 iPhone' ''
} | iconv -f UTF-8 -t GBK >"$work/expected.bp"
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
