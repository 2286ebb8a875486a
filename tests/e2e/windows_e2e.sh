#!/usr/bin/env bash
# End-to-end run of the Windows program under Wine, in a real X window (Xvfb),
# driven by xdotool only: velmora.exe from the portable zip, started in an
# empty folder, creates its user list, takes a new user 张三 and stores a
# record, which must be byte for byte what the Linux program writes (GBK,
# CR LF), and draws it; one file of each kind of readings from elsewhere is
# brought in through Ctrl+Shift+I, and 张三.bp must hold what the Linux
# program makes of them; records home blood pressure readings through their
# dialog, finds them in the .bp file and the week's means in its PDF; starts,
# adjusts and stops medicines through the 用药记录 window (the .med file byte
# for byte, the plan and a before/after mean in the PDF report); the day's
# backup, a backup by hand, listed by unzip and Python's zipfile with its
# Chinese names, and one user deleted and restored from it byte for byte.
# Then the installer, silent: the installed program keeps
# its diary in %APPDATA%\Velmora, and the uninstaller leaves that diary alone.
# Usage: tests/e2e/windows_e2e.sh <velmora-windows.zip> <velmora-setup.exe> <type_unicode.exe>
# Uses the DISPLAY and WINEPREFIX it is given (scripts/windows.sh sets both),
# otherwise starts Xvfb of its own.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
zip=$1
setup=$2
type_unicode=$3 # Chinese typed as an input method does: X key events carry none into Wine
started=$(date +%s)

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-wine-e2e.XXXXXX")
SHOTS="$work/screenshots"
mkdir -p "$SHOTS"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "${work:?}/portable"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || start_xvfb "wine e2e"

# The entry boxes Text2 .. Text12, in the main window's pixels (twips / 15).
box_x() { case $1 in 2) echo 120 ;; 3) echo 184 ;; 4) echo 248 ;; 5) echo 440 ;; 6) echo 504 ;; 7) echo 568 ;;
  8) echo 632 ;; 9) echo 696 ;; 10) echo 760 ;; 11) echo 376 ;; 12) echo 312 ;; esac; }
type_into() { click "$(box_x "$1")" 452; xdotool key ctrl+a; type_text "$2"; }
gbk_zhang_san=$'\xd5\xc5\xc8\xfd' # 张三
gbk_male=$'\xc4\xd0'               # 男
gbk_none=$'\xce\xde'               # 无

# --- The portable folder -------------------------------------------------------
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' "$zip" "$work/portable"
folder=$work/portable/Velmora
check "the zip holds velmora.exe and 使用说明.txt" test -f "$folder/velmora.exe" -a -f "$folder/使用说明.txt"
(cd "$folder" && exec wine velmora.exe >"$work/velmora.log" 2>&1) &
app=$!
echo "wine e2e: $folder/velmora.exe on display $DISPLAY, screenshots in $SHOTS"

check "the main window opens" wait_until 60 has_main
geometry=$(main_geometry)
xy=${geometry#*+}
WX=${xy%+*}
WY=${xy#*+}
check "the user list is created empty beside the program" eq "$(wc -c <"$folder/yonghu.dat" 2>/dev/null)" 0
sleep 0.5
shot start

click 520 546 # 选择用户
click 532 436 # the name box
wine "$type_unicode" 张三
click 532 508 # 确定返回
sleep 0.5
shot confirmed
check "confirming the new user brings its OK box, dismissed with Return" answer_box Return
check "the user list holds 张三 in GBK with CR LF" cmp -s "$folder/yonghu.dat" <(crlf "$gbk_zhang_san")
check "张三's empty record file exists" eq "$(wc -c <"$folder/张三.dat" 2>/dev/null)" 0

type_into 2 45
type_into 3 175
type_into 4 72
type_into 12 88
type_into 11 5.2
type_into 5 1.8
type_into 6 135
type_into 7 85
type_into 8 5.6
type_into 9 10
type_into 10 0
click 816 556 # 存储数据
sleep 0.5
shot question
check "Return answers Yes to storing" answer_box Return
records=$folder/张三.dat
wait_until 10 bash -c '[ "$(wc -l <"$1")" -ge 14 ]' _ "$records"
record_id=$(head -n1 "$records" | tr -d '\r')
check "the RecordId is 14 digits" bash -c '[[ $1 =~ ^[0-9]{14}$ ]]' _ "$record_id"
check "the stored entry, byte for byte as the Linux program writes it" cmp "$records" <(crlf "$record_id" "$gbk_male" \
  " 45 " " 175 " " 72 " " 1.8 " " 135 " " 85 " " 5.6 " " 10 " " 0 " " 5.2 " " 88 " "$gbk_none")
sleep 0.5
shot stored
chart=721x401+24+24
check "the record is drawn in red" gt "$(count_pixels stored "$chart" pure-red)" 0
check "the entry column shows the record" not same_pixels start 80x17+768+24 stored 80x17+768+24

# --- Readings from elsewhere: one file of each kind through Ctrl+Shift+I ----------
data=$root/tests/data/readings_import
zip_export "$data/export.xml" "$work/export.zip"
import_file() { # the file's path as Windows sees it, into the file dialog that Ctrl+Shift+I opens
  click 400 200
  xdotool key ctrl+shift+i
  import_path "$(winepath -w "$1" 2>/dev/null)"
}
check "Ctrl+Shift+I takes the monitor app's table" import_file "$data/monitor_zones.csv"
check "... its summary: 导入 with Return" import_confirm wine-summary-monitor
check "... then the count" answer_box Return
check "... the phone's export.zip" import_file "$work/export.zip"
check "... its summary" import_confirm wine-summary-phone
check "... then the count" answer_box Return
check "... a table of unknown columns" import_file "$data/other_table.csv"
check "... its columns chosen from the keyboard" import_columns
check "... its summary" import_confirm wine-summary-columns
check "... then the count" answer_box Return
check "... the program's own table of readings" import_file "$data/own_export.csv"
check "... its summary" import_confirm wine-summary-own
check "... then the count" answer_box Return
check "张三.bp holds the readings of all four, byte for byte as the Linux program writes them" \
  cmp "$folder/张三.bp" <(expected_readings)

# --- Home blood pressure: the steps of the Linux run (tests/e2e/home_bp.sh) ------
# shellcheck source=tests/e2e/home_bp.sh
source "$root/tests/e2e/home_bp.sh"
readings=$folder/张三.bp
seed_week "$readings"
cp "$readings" "$work/seeded.bp"
click 400 100
before=$(date +%Y%m%d%H%M%S)
record_readings
after=$(date +%Y%m%d%H%M%S)
check_readings "$readings" "$work/seeded.bp" "$before" "$after"
export_week_pdf 张三 "$(winepath -w "$work/week.pdf" 2>/dev/null)"
check_week_pdf "$work/week.pdf"
close_week_report 张三

# --- The medicine diary: the window, its dialogs, the .med file, the PDF ------------------
enter_text() { wine "$type_unicode" "$1"; }
medicine_diary 张三 "$folder" "$(winepath -w "$work/report.pdf" 2>/dev/null)"
check "the record file is untouched by them" cmp "$records" <(crlf "$record_id" "$gbk_male" \
  " 45 " " 175 " " 72 " " 1.8 " " 135 " " 85 " " 5.6 " " 10 " " 0 " " 5.2 " " 88 " "$gbk_none")

# --- Backups ------------------------------------------------------------------------
# The first change of the day (the new user) brought the day's backup; 备份日记…
# writes another into a folder typed into its dialog; 张三 is deleted and
# brought back from that zip through 恢复备份… and 选择其他备份文件…, byte for byte.
today=$(date +%Y年%m月%d日)
check "the first change of the day brings the day's backup" wait_until 20 test -f "$folder/备份/Velmora备份-张三-$today.zip"
cp "$records" "$work/records.before"
stick=$work/stick
mkdir -p "$stick"
click 400 100 # the chart: the main window has the keyboard
xdotool key ctrl+shift+k
check "Ctrl+Shift+K opens the folder dialog" wait_until 20 has_named '备份日记：选择存放备份的文件夹'
sleep 1
wine "$type_unicode" "$(winepath -w "$stick" 2>/dev/null)"
xdotool key Return
check "the backup is told, dismissed with Return" answer_box Return
check "the folder is offered for the daily ones, \"n\" declines" answer_box n
zip=$stick/Velmora备份-张三-$today.zip
check "the zip is in the folder" test -f "$zip"
check "unzip -l lists its Chinese names" eq "$(unzip -Z1 "$zip" 2>/dev/null | tr '\n' ' ')" "清单.txt yonghu.dat 张三.dat 张三.bp 张三.med "
check "Python's zipfile lists them" eq "$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")" \
  "清单.txt yonghu.dat 张三.dat 张三.bp 张三.med"
check "its 张三.dat is the record file byte for byte" cmp -s <(unzip -p "$zip" 张三.dat) "$records"
delete_first_user 5
check "张三's record file is gone" test ! -e "$records"
restore_first_user "$(winepath -w "$zip" 2>/dev/null)" 20 wine "$type_unicode"
check "张三's record file is back byte for byte" cmp -s "$records" "$work/records.before"
check "the user list holds 张三 again" cmp -s "$folder/yonghu.dat" <(crlf "$gbk_zhang_san")
check "the diary was backed up before the restore" test -f "$folder/备份/Velmora备份-无用户-$today-恢复前.zip"

click 740 570 # 退出
check "退出 ends the program" wait_until 20 bash -c '! pgrep -f "[V]elmora.velmora.exe" >/dev/null' 
app=

# --- The installer ---------------------------------------------------------------
drive_c=$(winepath -u 'C:\' 2>/dev/null)
program_files=$(winepath -u 'C:\Program Files' 2>/dev/null)/Velmora
appdata=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)/Velmora
rm -rf "$program_files" "$appdata"
check "the installer runs silently" wine "$setup" /S
check "it installs velmora.exe with its marker" test -f "$program_files/velmora.exe" -a -f "$program_files/velmora.installed"
check "it makes a desktop shortcut" bash -c 'ls "$1"/users/*/Desktop/*.lnk "$1"/users/Public/Desktop/*.lnk 2>/dev/null | grep -q Velmora' _ "$drive_c"
(cd "$program_files" && exec wine velmora.exe >"$work/installed.log" 2>&1) &
app=$!
check "the installed program opens" wait_until 60 has_main
check "it keeps its diary in %APPDATA%\\Velmora" wait_until 10 test -f "$appdata/yonghu.dat"
check "... not beside the program" test ! -e "$program_files/yonghu.dat"
geometry=$(main_geometry)
xy=${geometry#*+}
WX=${xy%+*}
WY=${xy#*+}
click 740 570 # 退出
check "退出 ends the installed program" wait_until 20 bash -c '! pgrep -f "[V]elmora.velmora.exe" >/dev/null'
app=
# Wine keeps a program's file held for a while after it ends (Windows lets go
# at once): a fresh Wine server lets go of it.
wineserver -k
wineserver -w
check "the uninstaller runs silently" wine "$program_files/uninstall.exe" /S "_?=C:\\Program Files\\Velmora"
# The uninstaller goes on after wine returns (it starts itself again as an
# administrator): its work is waited for.
check "it removes the program" wait_until 30 test ! -e "$program_files/velmora.exe"
check "it leaves the diary" test -f "$appdata/yonghu.dat"

echo "wine e2e: $passed passed, $failed failed in $(($(date +%s) - started)) s"
[ "$failed" -eq 0 ]
