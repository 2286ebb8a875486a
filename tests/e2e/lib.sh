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
# A visible window of that exact title (a dialog): its id.
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

# Mouse, in the main window's pixels (the window stands at WX, WY).
WX=67
WY=33
click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep 0.12; }
middle_click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 2; sleep 0.12; }
double_click() { xdotool mousemove $((WX + $1)) $((WY + $2)) click --repeat 2 --delay 80 1; sleep 0.15; }
type_text() { xdotool type --delay 40 "$1"; sleep 0.1; }

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
