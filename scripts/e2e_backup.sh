#!/usr/bin/env bash
# End-to-end run of the backups in a real X window (Xvfb, no window manager),
# driven by xdotool only. Two people with Chinese names and every kind of
# file: the day's backup lands in 备份 once the window shows; 备份日记…
# (Ctrl+Shift+K) writes the zip into a folder typed into its dialog, which
# unzip, Python's zipfile and 7-Zip list with the Chinese names; 张三 is
# deleted; 恢复备份… → 选择其他备份文件… (Ctrl+O) brings him back alone, and
# his files are found byte for byte, the diary backed up before.
# Usage: scripts/e2e_backup.sh [build-dir]   (default: build)
# Needs: xvfb, xdotool, x11-utils, imagemagick, unzip, python3 (p7zip-full when there).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$PWD
build=${1:-build}
program="$build/src/app/velmora"
started=$(date +%s)

# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

prepare_run e2e-backup "$program" Xvfb xdotool xwininfo import unzip python3

crlf() { printf '%s\r\n' "$@"; }
gbk() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
entry() { crlf "$1" "$(gbk 男)" " $2 " " 172 " " 80 " " 1.8 " " 150 " " 90 " " 5.6 " " 10 " " 5 " " 6.2 " " 92 " "$(gbk 有)"; }
crlf "$(gbk 张三)" "$(gbk 李四)" >"$folder/yonghu.dat"
{ entry 20240105080000 55; entry 20250310080000 56; } >"$folder/张三.dat"
crlf "$(gbk 吸烟=是)" "$(gbk 糖尿病=否)" >"$folder/张三.cvd"
{ crlf "$(gbk $'时间\t收缩压\t舒张压\t脉搏\t来源\t备注')"; crlf $'20241121073000\t138\t88\t72\t'"$(gbk 手动)"$'\t'; } >"$folder/张三.bp"
crlf "$(gbk $'时间\t药名')" "$(gbk $'20241121080000\t阿司匹林')" >"$folder/张三.med"
entry 20240105080000 60 >"$folder/李四.dat"
mkdir -p "$work/before" "$work/stick"
cp "$folder"/*.dat "$folder"/*.cvd "$folder"/*.bp "$folder"/*.med "$work/before/"

start_program "$folder" velmora.log
check "the main window opens" wait_until 15 has_main
today=$(date +%Y年%m月%d日)
zip_name="Velmora备份-张三、李四-$today.zip"
check "the day's backup is made once the window shows" wait_until 10 test -f "$folder/备份/$zip_name"

# --- 备份日记… ---------------------------------------------------------------------
click 400 100 # the chart: the main window has the keyboard
xdotool key ctrl+shift+k
check "Ctrl+Shift+K opens the folder dialog" wait_until 10 has_named '备份日记：选择存放备份的文件夹'
wait_until 3 has_focus "$(named '备份日记：选择存放备份的文件夹')"
sleep 0.3
type_text "$work/stick"
xdotool key Return
sleep 0.5
shot backed-up
check "the backup is told, dismissed with Return" answer_box Return
check "the stick is offered for the daily ones, \"n\" declines" answer_box n
zip="$work/stick/$zip_name"
check "one zip on the stick, named after the users and the day" eq "$(ls "$work/stick")" "$zip_name"
listing=$(unzip -l "$zip" 2>&1)
echo "$listing" | sed 's/^/    /'
names='清单.txt yonghu.dat 张三.dat 张三.cvd 张三.bp 张三.med 李四.dat'
check "unzip -l lists the Chinese names" eq "$(awk 'NR > 3 && $4 != "" && $1 ~ /^[0-9]+$/ { print $4 }' <<<"$listing" | tr '\n' ' ')" "$names "
check "Python's zipfile lists them" eq "$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")" "$names"
if command -v 7z >/dev/null; then
  check "7-Zip lists them" eq "$(7z l -ba -slt "$zip" | sed -n 's/^Path = //p' | tr '\n' ' ')" "$names "
fi
check "the manifest opens as UTF-8 for a person" eq "$(unzip -p "$zip" 清单.txt | head -n1 | tr -d '\r')" $'\xef\xbb\xbfVelmora 日记备份清单'
check "its line for 张三.dat has the file's SHA-256" \
  grep -q "^张三.dat	$(stat -c %s "$folder/张三.dat")	$(sha256sum <"$folder/张三.dat" | cut -d' ' -f1)	2 条记录" \
  <(unzip -p "$zip" 清单.txt | tr -d '\r')
mkdir -p "$work/unpacked"
(cd "$work/unpacked" && unzip -q "$zip")
# shellcheck disable=SC2016 # the test runs in its own shell, with its own arguments
check "unpacked, the files are the diary's byte for byte" \
  bash -c 'for f in "$1"/*; do cmp -s "$f" "$2/${f##*/}" || exit 1; done' _ "$work/before" "$work/unpacked"

# --- 张三 deleted, then brought back alone from the zip ------------------------------
delete_first_user 5
check "the user list holds 李四 only" cmp -s "$folder/yonghu.dat" <(crlf "$(gbk 李四)")
check "张三's files are gone" bash -c '! ls "$1"/张三.* 2>/dev/null' _ "$folder"
restore_first_user "$zip" 10 type_text
for file in 张三.dat 张三.cvd 张三.bp 张三.med 李四.dat; do
  check "$file is back byte for byte" cmp -s "$folder/$file" "$work/before/$file"
done
check "the user list holds 李四, then 张三" cmp -s "$folder/yonghu.dat" <(crlf "$(gbk 李四)" "$(gbk 张三)")
check "the diary was backed up before the restore" test -f "$folder/备份/Velmora备份-李四-$today-恢复前.zip"
click 740 570 # 退出
wait_until 5 bash -c "! kill -0 $app 2>/dev/null"
docs_picture restore-chosen.png screenshot-restore.png "$(screen_region 876x599+0+0)"

echo "e2e-backup: $passed passed, $failed failed in $(($(date +%s) - started)) s"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
