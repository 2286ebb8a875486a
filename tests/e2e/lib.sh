# shellcheck shell=bash
# Helpers for scripts/e2e.sh: the program's windows, the mouse
# and keyboard (xdotool only), screenshots and their pixels, and the tally.
# Sourced, not run.

passed=0
failed=0

ok() { passed=$((passed + 1)); echo "  ok   $*"; }
not_ok() { failed=$((failed + 1)); echo "  FAIL $*"; }

# check DESCRIPTION COMMAND...: counts the command's success.
check() {
  local what=$1
  shift
  if "$@"; then ok "$what"; else not_ok "$what"; fi
}

# wait_until SECONDS COMMAND...: polls the command every 50 ms.
wait_until() {
  local limit=$1 tries
  shift
  tries=$((limit * 20))
  while ((tries-- > 0)); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

# start_xvfb NAME: an X server of 1024 x 700 on a display number of its own
# choice, as DISPLAY (its process in xvfb); NAME names the run in a failure.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x700x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  wait_until 10 test -s "$work/display" || { echo "$1: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  DISPLAY=":$(head -n1 "$work/display")"
  export DISPLAY
}

# prepare_run NAME PROGRAM TOOL...: stops at once when a tool or the built
# program is missing; else the work folder of a run (work): screenshots in
# SHOTS, the program copied into a folder of its own (folder), where its data
# lands, an empty home and runtime folder, and an X server; on exit all of it
# is stopped and removed but the screenshots and the logs.
prepare_run() {
  local tool
  for tool in "${@:3}"; do
    command -v "$tool" >/dev/null || { echo "$1: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
  done
  [ -x "$2" ] || { echo "$1: no program at $2 (build first)"; exit 1; }
  work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-$1.XXXXXX")
  SHOTS="$work/screenshots"
  folder="$work/run/app"
  mkdir -p "$SHOTS" "$folder" "$work/home" "$work/runtime"
  chmod 700 "$work/runtime"
  cp "$2" "$folder/velmora"
  trap end_run EXIT
  trap 'exit 130' INT TERM
  start_xvfb "$1"
}

end_run() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  mountpoint -q "$work/full" 2>/dev/null && umount "$work/full"
  rm -rf "${work:?}/run" "${work:?}/home" "${work:?}/runtime"
}

# start_program FOLDER LOG: the program in FOLDER started on the X server with
# the run's home and runtime folder, its output in the work folder's LOG (its
# process in app).
start_program() {
  (cd "$1" && HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    exec ./velmora >"$work/$2" 2>&1) &
  app=$!
}

# docs_picture SCREENSHOT NAME [CROP]: the screenshot (cropped to a region of
# the screen when asked) as docs/NAME, when VELMORA_DOCS_PICTURES=1 asks for
# the pictures again; a plain test run leaves the committed pictures alone.
docs_picture() {
  [ "${VELMORA_DOCS_PICTURES:-0}" = 1 ] || return 0
  if [ -n "${3:-}" ]; then
    convert "$SHOTS/$1" -crop "$3" +repage "docs/$2"
  else
    cp "$SHOTS/$1" "docs/$2"
  fi
}

# The program's visible top-level windows, one "id WxH+X+Y" a line.
visible_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Velmora$' 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | awk -v id="$id" '
      /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
      /Width:/ { w = $NF } /Height:/ { h = $NF }
      END { if (w) printf "%s %dx%d+%d+%d\n", id, w, h, x, y }'
  done
}

MAIN_SIZE=876x599
KEYPAD_SIZE=171x108

main_geometry() { visible_windows | awk -v s="$MAIN_SIZE" 'index($2, s "+") == 1 { print $2; exit }'; }
keypad_geometry() { visible_windows | awk -v s="$KEYPAD_SIZE" 'index($2, s "+") == 1 { print $2; exit }'; }
# Any other window of the program is a message box: "id WxH+X+Y".
box_window() {
  visible_windows | awk -v m="$MAIN_SIZE" -v k="$KEYPAD_SIZE" \
    'index($2, m "+") != 1 && index($2, k "+") != 1 { print; exit }'
}
box_geometry() { box_window | awk '{ print $2 }'; }
# A visible window of the program by its whole title ("评分构成"): its id.
named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
has_named() { [ -n "$(named "$1")" ]; }
no_named() { [ -z "$(named "$1")" ]; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
window_gone() { ! xdotool search --onlyvisible --name '^Velmora$' 2>/dev/null | grep -qx "$1"; }
has_main() { [ -n "$(main_geometry)" ]; }
has_keypad() { [ -n "$(keypad_geometry)" ]; }
no_keypad() { [ -z "$(keypad_geometry)" ]; }
has_box() { [ -n "$(box_geometry)" ]; }
no_box() { [ -z "$(box_geometry)" ]; }

# Windows of a title: the first visible one, whether one is there, whether ID is gone.
named() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
has_named() { [ -n "$(named "$1")" ]; }
named_gone() { ! xdotool search --onlyvisible --name "^$2\$" 2>/dev/null | grep -qx "$1"; }

# in_dialog TITLE SECONDS COMMAND...: once a window of that title has come
# (its id in `dialog`) and has the keys, runs the command, presses Return and
# waits for the window to go.
in_dialog() {
  local title=$1 limit=$2
  shift 2
  wait_until "$limit" has_named "$title" || return 1
  dialog=$(named "$title")
  wait_until 5 has_focus "$dialog"
  sleep 0.3
  "$@"
  xdotool key Return
  wait_until 20 named_gone "$dialog" "$title"
}
shot_dialog() { import -window "$dialog" "$SHOTS/$1.png"; }

# 导入血压读数…, its dialogs answered from the keyboard: the file dialog takes
# a path (a Windows path under Wine); the summary, photographed, is answered
# with 导入; the columns of tests/data/readings_import/other_table.csv are
# chosen (its date column is found by its cells; systolic, diastolic and
# pulse by Alt and the arrows).
import_path() { in_dialog 导入血压读数 30 type_text "$1"; }
import_confirm() { in_dialog 导入血压读数 60 shot_dialog "$1"; }
choose_columns() {
  xdotool key alt+s Down Down alt+i Down Down Down alt+p Down Down Down Down
  sleep 0.2
  shot_dialog columns-chosen
}
import_columns() { in_dialog 选择血压读数的列 30 choose_columns; }
# The .bp file (GBK, CR LF) that the four files of tests/data/readings_import
# (monitor_zones.csv, export.xml zipped, other_table.csv, own_export.csv) make
# of a user without readings.
expected_readings() {
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
  } | iconv -f UTF-8 -t GBK
}
# zip_export XML ZIP: the export zipped as the phone does.
zip_export() {
  python3 -c 'import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.write(sys.argv[2], "apple_health_export/export.xml")' "$2" "$1"
}

# Answers the message box that must come up with one key (Return, y, n ...):
# true when the box came and went (another box may follow it).
answer_box() {
  local box
  wait_until 5 has_box || return 1
  box=$(box_window)
  wait_until 3 has_focus "${box%% *}" # a modal box takes the keyboard when it maps
  xdotool key "$1"
  wait_until 5 window_gone "${box%% *}"
}

# File content: lines each ended by CR LF; a text in GBK.
crlf() { printf '%s\r\n' "$@"; }
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }

# Mouse, in the main window's pixels (the window stands at WX, WY).
WX=67
WY=33
click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep 0.12; }
middle_click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 2; sleep 0.12; }
double_click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click --repeat 2 --delay 80 1; sleep 0.15; }
type_text() { xdotool type --delay 40 "$1"; sleep 0.1; }
# Pastes a text (Chinese too: xdotool's typing of it is unreliable on a busy machine).
paste_text() { printf '%s' "$1" | xclip -selection clipboard; xdotool key ctrl+v; sleep 0.1; }

# Keypad keys by caption, in the keypad's pixels.
declare -A KEY_X=([1]=20 [2]=52 [3]=84 [4]=116 [5]=148 [6]=20 [7]=52 [8]=84 [9]=116 [0]=148 [.]=68 [c]=100 [back]=140)
declare -A KEY_Y=([1]=18 [2]=18 [3]=18 [4]=18 [5]=18 [6]=50 [7]=50 [8]=50 [9]=50 [0]=50 [.]=84 [c]=84 [back]=84)

# press_keys "1 7 5 back": clicks the keys of the open keypad.
press_keys() {
  local geometry x y key
  geometry=$(keypad_geometry)
  x=${geometry#*+}; y=${x#*+}; x=${x%+*}
  for key in $1; do
    xdotool mousemove $((x + KEY_X[$key])) $((y + KEY_Y[$key])) click 1
    sleep 0.1
  done
}

# Screenshots and pixels. Regions are "WxH+X+Y" in the main window's pixels.
shot() { import -window root "$SHOTS/$1.png"; }
screen_region() {
  local w=${1%%x*} rest=${1#*x}
  local h=${rest%%+*} xy=${rest#*+}
  echo "${w}x${h}+$((WX + ${xy%+*}))+$((WY + ${xy#*+}))"
}
# pixel_test CONDITION: an awk test on r, g, b.
pixel_test() {
  case $1 in
    red) echo 'r > 200 && g < 60 && b < 60' ;;             # the red of the marks, or nearly
    pure-red) echo 'r > 240 && g < 20 && b < 20' ;;        # the drawing colour (255, 0, 0) itself
    dark) echo 'r + g + b < 240' ;;                        # text
    keypad-green) echo 'r < 20 && g > 180 && g < 205 && b < 20' ;; # RGB(0, 192, 0)
    marker) echo 'r < 60 && g > 120 && b < 60' ;;          # the marker's green
  esac
}
# count_pixels SHOT REGION CONDITION: how many pixels of the region meet it.
count_pixels() {
  convert "$SHOTS/$1.png" -crop "$(screen_region "$2")" +repage -depth 8 -format %c histogram:info:- |
    awk -F'[(),:]' "{ n_ = \$1 + 0; r = \$3 + 0; g = \$4 + 0; b = \$5 + 0; if ($(pixel_test "$3")) n += n_ } END { print n + 0 }"
}
# first_row SHOT REGION CONDITION: the first row (window pixels) of the region
# holding such a pixel, or -1.
first_row() {
  local width=${2%%x*} top=${2##*+}
  convert "$SHOTS/$1.png" -crop "$(screen_region "$2")" +repage -depth 8 rgb:- | od -An -tu1 -v -w3 |
    awk -v width="$width" -v top="$top" \
      "{ r = \$1; g = \$2; b = \$3; if ($(pixel_test "$3")) { print int((NR - 1) / width) + top; found = 1; exit } }
       END { if (!found) print -1 }"
}
# same_pixels SHOT-A REGION-A SHOT-B REGION-B: the two crops are identical.
same_pixels() {
  local a=$SHOTS/.a.png b=$SHOTS/.b.png diff
  convert "$SHOTS/$1.png" -crop "$(screen_region "$2")" +repage "$a"
  convert "$SHOTS/$3.png" -crop "$(screen_region "$4")" +repage "$b"
  diff=$(compare -metric AE "$a" "$b" null: 2>&1)
  rm -f "$a" "$b"
  [ "${diff%% *}" = 0 ]
}
not() { ! "$@"; }
gt() { [ "$1" -gt "$2" ]; }
eq() { [ "$1" = "$2" ]; }

# ---- The medicine diary (scripts/e2e_medicines.sh, tests/e2e/windows_e2e.sh) ----

# enter_text TEXT: into the box with the keyboard's focus, Chinese too; the
# Wine run puts its own way in place of this one.
enter_text() { paste_text "$1"; }

# medicine_event KEY TITLE YEARS-BACK NAME TEXT...: a button of the 用药记录
# window by its Alt key, its dialog, the year of the time moved back, the
# name and the further boxes typed, Enter.
medicine_event() {
  local i text
  xdotool key "alt+$1"
  check "alt+$1 opens the $2 dialog" wait_until 10 has_named "$2"
  wait_until 5 has_focus "$(named "$2")"
  sleep 0.3
  if [ "$3" -gt 0 ]; then
    # From the name back into the time (its minute), on to its year, down, and out again.
    xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
    for ((i = 0; i < $3; i++)); do xdotool key Down; done
    xdotool key Tab Tab Tab Tab Tab
  fi
  xdotool key ctrl+a
  [ -n "$4" ] && enter_text "$4"
  for text in "${@:5}"; do
    xdotool key Tab
    enter_text "$text"
  done
  sleep 0.3
  import -window "$(named "$2")" "$SHOTS/dialog-$1-$3.png"
  xdotool key Return
  check "... Enter stores and closes it" wait_until 10 no_named "$2"
}

# medicine_diary USER FOLDER PDF: with USER's records shown in the main window,
# Ctrl+M opens 用药记录; 氨氯地平 is started two years back, adjusted a year
# back, 阿托伐他汀 started now and 氨氯地平 stopped now, each through its
# button and dialog; the .med file is checked byte for byte. Home readings
# written around the start (FOLDER/USER.bp) give a before/after mean, which
# the PDF report (saved as PDF, the path as typed into the save dialog)
# holds with the plan.
medicine_diary() {
  local user=$1 folder=$2 pdf=$3 year first second third fourth start_day day d header
  local medicines="$folder/$user.med" readings="$folder/$user.bp"
  year=$(date +%Y)
  header=$(gbk $'时间\t事件\t药名\t剂量\t用法\t备注')
  xdotool key ctrl+m
  check "Ctrl+M opens 用药记录" wait_until 10 has_named "用药记录 - $user"
  wait_until 5 has_focus "$(named "用药记录 - $user")"
  sleep 0.3
  shot medicines-empty

  medicine_event s 开始服用 2 氨氯地平 "5 mg" 每日1次
  first=$(sed -n 2p "$medicines" | cut -c1-14)
  # shellcheck disable=SC2016 # the test runs in its own shell, with its own arguments
  check "the start carries a time two years back, from its minute" bash -c '[[ $1 =~ ^$2[0-9]{8}00$ ]]' _ "$first" $((year - 2))
  check "the .med file: the header and the start" cmp "$medicines" <(crlf "$header" "$first$(gbk $'\t开始\t氨氯地平\t5 mg\t每日1次\t')")

  # Home readings around the start: 148/92 twice a day in the 14 days before,
  # 136/84 twice a day on days 15 to 28 after.
  start_day=${first:0:8}
  {
    gbk $'时间\t收缩压\t舒张压\t脉搏\t来源\t备注'
    printf '\r\n'
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

  medicine_event a 调整用药 1 "" "10 mg" 每日1次
  medicine_event s 开始服用 0 阿托伐他汀 "20 mg" 每晚1次
  xdotool key Tab # from the buttons into the table of what is taken: 氨氯地平 first
  medicine_event t 停用 0 ""
  sleep 0.3
  shot medicines-done
  second=$(sed -n 3p "$medicines" | cut -c1-14)
  third=$(sed -n 4p "$medicines" | cut -c1-14)
  fourth=$(sed -n 5p "$medicines" | cut -c1-14)
  # shellcheck disable=SC2016 # the test runs in its own shell, with its own arguments
  check "the adjustment a year back, the start and the stop now" \
    bash -c '[[ ${1:0:4} = $4 && ${2:0:4} = $5 && ${3:0:4} = $5 && ! $3 < $2 ]]' _ "$second" "$third" "$fourth" $((year - 1)) "$year"
  check "the .med file, byte for byte" cmp "$medicines" <(crlf "$header" \
    "$first$(gbk $'\t开始\t氨氯地平\t5 mg\t每日1次\t')" "$second$(gbk $'\t调整\t氨氯地平\t10 mg\t每日1次\t')" \
    "$third$(gbk $'\t开始\t阿托伐他汀\t20 mg\t每晚1次\t')" "$fourth$(gbk $'\t停用\t氨氯地平\t\t\t')")
  check "the readings are untouched" cmp "$readings" "$work/readings.before"
  xdotool key alt+c
  check "关闭 closes the window" wait_until 10 no_named "用药记录 - $user"

  # The PDF report: the plan and the pressure around the first start.
  click 400 100
  xdotool key ctrl+shift+p # 导出 PDF…: the period (all records), then the save dialog
  check "Ctrl+Shift+P asks for the period" wait_until 20 has_named "导出 PDF：选择时段"
  wait_until 5 has_focus "$(named "导出 PDF：选择时段")"
  xdotool key Return
  check "... then for the file" wait_until 20 has_named "导出 PDF"
  wait_until 5 has_focus "$(named "导出 PDF")"
  sleep 0.5
  xdotool key ctrl+a
  xdotool type --delay 20 "$pdf"
  xdotool key Return
  check "the PDF report is written" wait_until 60 test -s "$work/report.pdf"
  sleep 1
  pdftotext -enc UTF-8 "$work/report.pdf" "$work/report.txt"
  check "the PDF names what is taken now: 阿托伐他汀 20 mg 每晚1次" \
    grep -q "阿托伐他汀 20 mg 每晚1次（$(date +%Y年%m月%d日)起）" "$work/report.txt"
  check "... and the pressure before and after the start of 氨氯地平" grep -qF \
    "1. $(date -d "$start_day" +%Y年%m月%d日) 开始 氨氯地平 5 mg 每日1次：之前平均 148/92（28 次），之后平均 136/84（28 次）" \
    "$work/report.txt"
  check "... and what those figures are not" grep -q "不是用药建议" "$work/report.txt"
}

# delete_first_user SECONDS: the user panel's first name deleted with 删除用户,
# its question and notice answered (each waited for up to SECONDS).
delete_first_user() {
  click 520 546    # 选择用户
  click 532 436    # the name box
  xdotool key Down # the list's first name
  click 740 544    # 删除用户
  check "\"y\" answers Yes to deleting the first user" answer_box y
  check "the deletion notice dismissed with Return" answer_box Return
}

# restore_first_user ZIP SECONDS TYPE...: 恢复备份… (the menu's last entry),
# then 选择其他备份文件… (Ctrl+O) with ZIP typed by the command TYPE..., and
# the backup's first user ticked and restored alone; each window waited for
# up to SECONDS, the screen shot as backup-list, restore-choice, restore-chosen.
restore_first_user() {
  local zip=$1 seconds=$2
  shift 2
  xdotool mousemove $((WX + 400)) $((WY + 200)) click 3
  sleep 0.5
  xdotool key Up Return
  check "恢复备份… lists the automatic backups" wait_until "$seconds" has_named 恢复备份
  wait_until 3 has_focus "$(named 恢复备份)"
  sleep 0.5
  shot backup-list
  xdotool key ctrl+o
  check "Ctrl+O (选择其他备份文件…) opens the file dialog" wait_until "$seconds" has_named 选择备份文件
  wait_until 3 has_focus "$(named 选择备份文件)"
  sleep 0.5
  "$@" "$zip"
  xdotool key Return
  check "the checked backup's summary opens" wait_until "$seconds" has_named 恢复备份
  wait_until 3 has_focus "$(named 恢复备份)"
  sleep 0.5
  shot restore-choice
  xdotool key Down Tab space # 只恢复选中的用户, the first user ticked
  sleep 0.3
  shot restore-chosen
  xdotool key Return # 恢复
  check "the restore is told, dismissed with Return" answer_box Return
}
