# shellcheck shell=bash
# Home blood pressure in a real window, for the Linux run (scripts/e2e_home_bp.sh)
# and the Windows one under Wine (tests/e2e/windows_e2e.sh): a week of readings
# laid in the user's .bp file, two more typed into 记录血压… (Ctrl+B), the file
# checked byte for byte, then 家庭血压报告… (Ctrl+Shift+B) exported as PDF
# (Ctrl+Shift+P there) and its means found in pdftotext's text.
# Sourced after tests/e2e/lib.sh, with the main window at WX, WY and the
# program's user current. Not run.

bp_gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }

# seed_week FILE: the seven days before today, each with 07:00 140/90 pulse 70,
# 07:02 136/86 pulse 74, 21:00 140/90 pulse 70 and 21:02 136/86 pulse 74: every
# mean 138/88, every pulse mean 72, however many of them a week counts.
seed_week() {
  local day d
  {
    printf '%s\r\n' "$(bp_gbk $'时间\t收缩压\t舒张压\t脉搏\t来源\t备注')"
    for d in 7 6 5 4 3 2 1; do
      day=$(date -d "-$d day" +%Y%m%d)
      printf '%s\t140\t90\t70\t%s\t\r\n' "${day}070000" "$(bp_gbk 手动)"
      printf '%s\t136\t86\t74\t%s\t\r\n' "${day}070200" "$(bp_gbk 手动)"
      printf '%s\t140\t90\t70\t%s\t\r\n' "${day}210000" "$(bp_gbk 手动)"
      printf '%s\t136\t86\t74\t%s\t\r\n' "${day}210200" "$(bp_gbk 手动)"
    done
  } >"$1"
}

# record_readings: 139/89 pulse 72 "left arm", then 137/87 pulse 72, typed into
# the dialog, which stays open for the second; Escape closes it.
record_readings() {
  local dialog
  xdotool key ctrl+b
  check "Ctrl+B opens 记录血压" wait_until 20 has_named 记录血压
  dialog=$(named 记录血压)
  wait_until 5 has_focus "$dialog"
  sleep 0.3
  shot bp-dialog
  type_text 139; xdotool key Tab; type_text 89; xdotool key Tab; type_text 72; xdotool key Tab
  type_text "left arm"
  xdotool key Return
  sleep 1
  check "the dialog stays open for the second reading" has_named 记录血压
  shot bp-stored
  type_text 137; xdotool key Tab; type_text 87; xdotool key Tab; type_text 72
  xdotool key Return
  sleep 1
  xdotool key Escape
  check "Escape closes the dialog" wait_until 10 no_named 记录血压
}

# check_readings FILE SEEDED BEFORE AFTER: the file is the seeded week and the
# two readings typed, each at its minute between BEFORE and AFTER (14 digits).
check_readings() {
  local stamps first second
  stamps=$(tail -n 2 "$1" | cut -f1)
  first=${stamps%%$'\n'*}
  second=${stamps##*$'\n'}
  # shellcheck disable=SC2016 # the test runs in its own shell, with its own arguments
  check "the readings' times are the minutes they were typed" bash -c \
    '[[ $1 =~ ^[0-9]{12}00$ && $2 =~ ^[0-9]{12}00$ && ! $1 > $2 && ! $1 < ${3:0:12}00 && ! $2 > $4 ]]' \
    _ "$first" "$second" "$3" "$4"
  check "the .bp file: the week, then the two readings (GBK, CR LF)" cmp "$1" <(
    cat "$2"
    printf '%s\t139\t89\t72\t%s\tleft arm\r\n' "$first" "$(bp_gbk 手动)"
    printf '%s\t137\t87\t72\t%s\t\r\n' "$second" "$(bp_gbk 手动)"
  )
  bp_typed=$first
}

# export_week_pdf PATH: the report window of the latest week, its page saved
# at PATH (as the program names it).
export_week_pdf() {
  local window
  click 400 100 # the chart: the main window takes the keys again
  xdotool key ctrl+shift+b
  check "Ctrl+Shift+B opens the week's report" wait_until 20 has_named "家庭血压报告 - $1"
  window=$(named "家庭血压报告 - $1")
  wait_until 5 has_focus "$window" || xdotool windowfocus "$window"
  sleep 0.5
  shot bp-report
  xdotool key ctrl+shift+p
  check "Ctrl+Shift+P there asks where to save the PDF" wait_until 20 has_named "导出 PDF"
  sleep 0.5
  xdotool key ctrl+a
  xdotool type --delay 20 "$2"
  xdotool key Return
  wait_until 10 no_named "导出 PDF"
}

# close_week_report USER: the report window closed with its 关闭 button, the
# last at its bottom right (a click, which works under Wine too, where the
# keys may stay with the main window after the save dialog).
close_week_report() {
  local window X Y WIDTH HEIGHT SCREEN
  window=$(named "家庭血压报告 - $1")
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1
  check "关闭 closes the week's report" wait_until 10 no_named "家庭血压报告 - $1"
}

# check_week_pdf PDF: the means and counts of the week the typed readings end
# (their minute in bp_typed): every mean 138/88 and pulse 72; the counts follow
# from the sessions the week holds.
check_week_pdf() {
  local hour morning=10 evening=10 text
  hour=$((10#${bp_typed:8:2}))
  if ((hour < 2)); then # the evening before: the week of the seven seeded days, the first left out
    morning=12 evening=14
  elif ((hour >= 4 && hour < 12)); then
    morning=12
  elif ((hour >= 18)); then
    evening=12
  fi
  check "the PDF is written" wait_until 15 test -s "$1"
  sleep 0.5
  text=$(pdftotext -enc UTF-8 "$1" - | tr -d ' \n')
  check "its page says 早晨平均 138/88 mmHg（$morning 次）" grep -q "早晨平均138/88mmHg（${morning}次）" <<<"$text"
  check "... 晚间平均 138/88 mmHg（$evening 次）" grep -q "晚间平均138/88mmHg（${evening}次）" <<<"$text"
  check "... 总平均 138/88 mmHg（$((morning + evening)) 次）" grep -q "总平均138/88mmHg（$((morning + evening))次）" <<<"$text"
  check "... 脉搏 72 次/分 of as many" grep -q "脉搏72次/分（$((morning + evening))次）" <<<"$text"
  check "... 高于家庭血压参考值 135/85 mmHg" grep -q "高于家庭血压参考值135/85mmHg" <<<"$text"
  check "... and the first reading typed, ${bp_typed:8:2}:${bp_typed:10:2} 139/89" \
    grep -q "${bp_typed:8:2}:${bp_typed:10:2}139/89" <<<"$text"
}
