#!/usr/bin/env bash
# Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.
# The files are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

# GBK words the files hold.
female=$'\xC5\xAE' male=$'\xC4\xD0' none=$'\xCE\xDE' present=$'\xD3\xD0'
stroke=$'\xC4\xD4\xD1\xAA\xCB\xA8' diabetes=$'\xCC\xC7\xC4\xF2\xB2\xA1'
zhang=$'\xD5\xC5\xC8\xFD' li=$'\xC0\xEE\xCB\xC4'

# lines <end> <line>... : the lines, each followed by <end>
lines() {
  local end=$1; shift
  local line
  for line in "$@"; do printf '%s%s' "$line" "$end"; done
}

woman=(20090620210129 "$female" " 30 " " 160 " " 50 " " 1.2 " " 120 " " 80 " " 5.1 " " 0 " " 0 " " 4.5 " " 70 " "$none")
man=(20100101080000 "$male" " 58 " " 172 " " 81.5 " " 2.3 " " 162 " " 97 " " 7.4 " " 20 " " 2 " " 6.1 " " 92 " "$present")
diagnosed=(20110305120000 "$male" " 66 " " 168 " " 70 " " 1.9 " " 150 " " 95 " " 6.5 " " 0 " " 0 " "$stroke" " 88 " "$present")

write_records() {
  local dir=corpus/$1
  mkdir -p "$dir"
  lines $'\r\n' "${woman[@]}" >"$dir/woman_crlf"
  lines $'\n' "${woman[@]}" >"$dir/woman_lf"
  { lines $'\r\n' "${woman[@]}" "${man[@]}"; } | head -c -2 >"$dir/two_entries_no_final_newline"
  lines $'\r\n' "${man[@]}" "${diagnosed[@]}" 20120101000000 "$female" " 40 " >"$dir/cut_off_entry"
  # A diagnosis in the cholesterol item, quotes and commas around items.
  lines $'\r\n' 20130101000000 "\"$female\"" '"  44 "' ' 160, 55' ' 1.2e0 ' ' -3 ' '"a,b"' \
    ' 80 ' ' 5.1 ' ' 0 ' ' 0 ' "$diabetes" ' 81 ,' "\"$none\" tail" >"$dir/commas_and_quotes"
  # Texts where numbers belong, bytes that are not GBK, a lone lead byte at the end.
  lines $'\r' 20140101000000 $'\x81\x20' ' 1e999 ' ' 160cm ' $'\xff\xfe' ' 1.79769313486231e308 ' ' 4.9e-324 ' \
    ' 80 ' ' +5.1 ' ' 1d3 ' ' .5 ' ' 5. ' ' 123456789012345678 ' $'\x81' >"$dir/invalid_gbk_and_numbers"
  printf '"unterminated, quote\r\n 12 \r\n' >"$dir/unterminated_quote"
}

write_users() {
  local dir=corpus/$1
  mkdir -p "$dir"
  lines $'\r\n' "$zhang" "$li" Alice >"$dir/names_crlf"
  lines $'\n' "$zhang" "$li" Alice >"$dir/names_lf"
  lines $'\r\n' "$zhang" "$li" | head -c -2 >"$dir/no_final_newline"
  lines $'\r\n' '  padded  ' '"quoted, with comma"' 'a,b' 'x"y' '' 'last' >"$dir/commas_and_quotes"
  lines $'\r\n' $'\x81' $'\xff\xfe\xfd' $'\xC5' "$female$male" >"$dir/invalid_gbk"
  printf '' >"$dir/empty"
}

# A person's answers for the ten-year risk: as written, by hand, broken.
write_answers() {
  local dir=corpus/$1
  mkdir -p "$dir"
  local smokes=$'\xCE\xFC\xD1\xCC' diabetes_q=$'\xCC\xC7\xC4\xF2\xB2\xA1' event=$'\xD0\xC4\xB9\xA3\xBB\xF2\xD7\xE4\xD6\xD0'
  local yes=$'\xCA\xC7' no=$'\xB7\xF1'
  lines $'\r\n' "$smokes=$yes" "$diabetes_q=$no" "$event=$no" >"$dir/answers_crlf"
  lines $'\n' " $diabetes_q = $yes " "$smokes=$no" "$smokes=$yes" >"$dir/hand_edited"
  lines $'\r\n' "$event" "=$yes" "$smokes=" $'\x81=\xff' "$female=$yes" >"$dir/broken_lines"
  printf '' >"$dir/empty"
}

# Home blood pressure readings: as written, by hand, broken.
write_readings() {
  local dir=corpus/$1
  mkdir -p "$dir"
  local header=$'\xCA\xB1\xBC\xE4\t\xCA\xD5\xCB\xF5\xD1\xB9\t\xCA\xE6\xD5\xC5\xD1\xB9\t\xC2\xF6\xB2\xAB\t\xC0\xB4\xD4\xB4\t\xB1\xB8\xD7\xA2'
  local manual=$'\xCA\xD6\xB6\xAF'
  lines $'\r\n' "$header" $'20241121073000\t138\t88\t72\t'"$manual"$'\t' \
    $'20241121210500\t132\t84\t\tOMRON HEM-7136\t'"$zhang" >"$dir/readings_crlf"
  lines $'\n' $'20241121073000\t138\t88\t\t'"$manual"$'\t' '' $'20241120073000\t098\t68\t\tx\t' \
    $'20241122073000\t138\t88\t72\tx\ty\tz' >"$dir/no_header_out_of_order"
  lines $'\r\n' "$header" $'20240230073000\t138\t88\t\tx\t' $'20241121073000\t120\t120\t\t\xff\t' \
    $'20241121073000\t130\t80\t0\tx\ta\rb' '2024112107' >"$dir/broken_lines"
  printf '' >"$dir/empty"
}

# Medicine diaries: as written, by hand, broken.
write_medicines() {
  local dir=corpus/$1
  mkdir -p "$dir"
  local header=$'\xCA\xB1\xBC\xE4\t\xCA\xC2\xBC\xFE\t\xD2\xA9\xC3\xFB\t\xBC\xC1\xC1\xBF\t\xD3\xC3\xB7\xA8\t\xB1\xB8\xD7\xA2'
  local start=$'\xBF\xAA\xCA\xBC' adjust=$'\xB5\xF7\xD5\xFB' stop=$'\xCD\xA3\xD3\xC3' single=$'\xB5\xA5\xB4\xCE'
  local amlodipine=$'\xB0\xB1\xC2\xC8\xB5\xD8\xC6\xBD' half=$'\xB0\xEB\xC6\xAC'
  lines $'\r\n' "$header" $'20240301080000\t'"$start"$'\t'"$amlodipine"$'\t5 mg\t\t'"$zhang" \
    $'20240302213000\t'"$single"$'\tAspirin\t'"$half"$'\t\t' \
    $'20240315080000\t'"$adjust"$'\t'"$amlodipine"$'\t10 mg\t\t' \
    $'20240320080000\t'"$stop"$'\t'"$amlodipine"$'\t\t\t' >"$dir/events_crlf"
  lines $'\n' $'20240320080000\t'"$stop"$'\t ASPIRIN \t\t\t' '' $'20240301080000\t'"$start"$'\tA\t5 mg\tx' \
    $'20240301080000\tstart\tA\t\t\t' >"$dir/no_header_out_of_order"
  lines $'\r\n' "$header" $'20240230080000\t'"$start"$'\tA\t\t\t' $'20240301080000\t'"$start"$'\t\t\t\t' \
    $'20240301080000\t'"$start"$'\t\xff\t\t\t' $'20240301080000\t'"$single"$'\tA\t\t\ta\rb' '2024030108' >"$dir/broken_lines"
  printf '' >"$dir/empty"
}

# Zip archives: a backup's names in UTF-8, stored and deflated entries, a
# phone export's folder, names that try to leave the folder.
write_zips() {
  mkdir -p "corpus/$1"
  python3 - "corpus/$1" <<'PY'
import sys, zipfile
def write(name, entries, method=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(f"{sys.argv[1]}/{name}", "w", method) as z:
        for entry, data in entries:
            z.writestr(entry, data)
write("two_files_utf8.zip", [("张三.dat", b"records\r\n"), ("清单.txt", b"x" * 1000)])
write("stored.zip", [("yonghu.dat", b"A\r\n"), ("a/b.txt", b"x" * 50)], zipfile.ZIP_STORED)
write("deflated_dirs.zip", [("apple_health_export/", b""),
                            ("apple_health_export/export.xml", b'<HealthData><Record type="x"/></HealthData>' * 20)])
write("traversal.zip", [("../evil.dat", b"x"), ("/abs.dat", b"y"), ("C:/z.dat", b"z")])
PY
}

# Tables of readings from elsewhere: the hand-made files of the tests, and
# the odd ones (a tab-separated table, dates without a year first, a
# quoted line break, units in the cells).
write_reading_tables() {
  local dir=corpus/$1
  mkdir -p "$dir"
  cp ../tests/data/readings_import/*.csv "$dir"/
  printf 'Date\tTime\tSYS\tDIA\tPulse\n03/04/2024\t7:30 PM\t128 mmHg\t82\t70 bpm\n' >"$dir/tabs_year_last"
  printf '%s\r\n' '日期时间,高压,低压,心率,备注' '2024-11-21T07:30:00+08:00,"135","85",,"两行' '备注"' \
    '2024年11月21日 下午9:05,128,80,72,-' | iconv -f UTF-8 -t GBK >"$dir/gbk_offsets_and_quotes"
}

# The phone's export: a small one whole, and broken and hostile ones.
write_health_xml() {
  local dir=corpus/$1
  mkdir -p "$dir"
  local bp='<Correlation type="HKCorrelationTypeIdentifierBloodPressure" sourceName="Phone" startDate="2024-12-31 09:30:00 -0800" endDate="x">'
  local sys='<Record type="HKQuantityTypeIdentifierBloodPressureSystolic" sourceName="Phone" unit="mmHg" startDate="x" endDate="x" value="142"/>'
  local dia='<Record type="HKQuantityTypeIdentifierBloodPressureDiastolic" sourceName="Phone" unit="kPa" startDate="x" endDate="x" value="12.1"/>'
  local zone='<MetadataEntry key="HKTimeZone" value="Asia/Shanghai"/>'
  local rate='<Record type="HKQuantityTypeIdentifierHeartRate" sourceName="Watch" unit="count/min" startDate="2024-12-31 09:31:00 -0800" endDate="x" value="71.5"/>'
  printf '<?xml version="1.0"?>\n<!DOCTYPE HealthData [\n<!ELEMENT HealthData ANY>\n<!ATTLIST HealthData locale CDATA #REQUIRED>\n]>\n<HealthData locale="zh_CN">\n%s\n%s%s%s%s</Correlation>\n</HealthData>\n' \
    "$rate" "$bp" "$zone" "$sys" "$dia" >"$dir/one_reading"
  printf '<HealthData>%s%s</Correlation>' "$bp" "$sys" >"$dir/cut_off"
  printf '<!DOCTYPE HealthData [<!ENTITY a "aaaa"><!ENTITY b "&a;&a;&a;">]><HealthData>&b;</HealthData>' >"$dir/entities"
  head -c 4000 ../tests/data/readings_import/export.xml >"$dir/export_start"
}

# Backups as the program makes them (the manifest's digests right), one with
# a changed byte, one with a name that leaves the folder, a manifest alone.
write_backups() {
  mkdir -p "corpus/$1"
  python3 - "corpus/$1" <<'PY'
import hashlib, sys, zipfile
gbk = lambda text: text.encode("gbk")
files = {"yonghu.dat": gbk("张三\r\n"),
         "张三.dat": b"20100101000000\r\n" + gbk("女") + b"\r\n 30 \r\n 160 \r\n 50 \r\n 1.2 \r\n 120 \r\n 80 \r\n 5.1 \r\n 0 \r\n 0 \r\n 4.5 \r\n 70 \r\n" + gbk("无") + b"\r\n",
         "张三.cvd": gbk("吸烟=是\r\n"),
         "张三.bp": gbk("时间\t收缩压\t舒张压\t脉搏\t来源\t备注\r\n") + b"20241121073000\t138\t88\t72\t" + gbk("手动") + b"\t\r\n"}
counts = {"yonghu.dat": "1 位用户", "张三.dat": "1 条记录", "张三.cvd": "1 项回答", "张三.bp": "1 次血压读数"}
def manifest(files):
    lines = ["Velmora 日记备份清单", "格式：1", "程序版本：1.0.0", "备份时间：2026年12月08日 09:30:00", "用户（1 位）：张三", "",
             "文件名\t字节数\tSHA-256\t内容"]
    lines += [f"{name}\t{len(data)}\t{hashlib.sha256(data).hexdigest()}\t{counts[name]}" for name, data in files.items()]
    return ("\ufeff" + "\r\n".join(lines + ["", ""])).encode("utf-8")
def write(name, entries):
    with zipfile.ZipFile(f"{sys.argv[1]}/{name}", "w", zipfile.ZIP_DEFLATED) as z:
        for entry, data in entries:
            z.writestr(entry, data)
good = [("清单.txt", manifest(files))] + list(files.items())
write("backup.zip", good)
write("changed_byte.zip", good[:-1] + [("张三.bp", files["张三.bp"][:-3] + b"x\r\n")])
write("traversal.zip", good + [("../张三.dat", b"x")])
open(f"{sys.argv[1]}/manifest.txt", "wb").write(manifest(files))
PY
}

rm -rf corpus
write_reading_tables fuzz_readings_table
write_health_xml fuzz_health_xml
write_backups fuzz_backup_check
write_zips fuzz_zip_read
write_medicines fuzz_med_file
write_readings fuzz_bp_file
write_answers fuzz_cvd_answers
write_records fuzz_item_reader
write_users fuzz_item_reader
write_records fuzz_record_read
write_users fuzz_user_list
# The user-list target also reads record files: any text file of the program.
lines $'\r\n' "${woman[@]}" >corpus/fuzz_user_list/woman_record
