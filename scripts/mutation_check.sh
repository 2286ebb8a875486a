#!/usr/bin/env bash
# Injects one real fault at a time into a copy of the sources, rebuilds and
# runs the unit and window tests: every fault must make at least one test fail.
# Usage: scripts/mutation_check.sh [work-folder [fault-pattern]]
# (default folder /tmp/velmora-mutants; the pattern picks faults by their description)
set -uo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
work="${1:-/tmp/velmora-mutants}"
only="${2:-.}"
rm -rf "$work" && mkdir -p "$work"
git -C "$here" archive HEAD | tar -x -C "$work"
cd "$work"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null || exit 2
cmake --build build -j2 >/dev/null || exit 2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build -j2 --timeout 120 >/dev/null 2>&1 || { echo "the suite fails without any fault"; exit 2; }

# file <tab> perl substitution <tab> the fault. (The final write is checked
# three times - the flush, the size, the close - so dropping one alone is no
# fault; the full-disk fault drops all three.)
mutants=$(cat <<'LIST'
src/model/risk_model.h	s/BloodSugar = 6\.11/BloodSugar = 6.21/	wrong blood-sugar threshold
src/model/risk_model.h	s/StandardWeightOffset = 105/StandardWeightOffset = 100/	wrong standard weight
src/model/score_breakdown.cpp	s/Sex::Male \? 2/Sex::Male ? 1/	men weighted like women
src/records/record_file.cpp	s/out\.append\("\\r\\n", 2\);/out.append("\\n", 1);/	a lost CR of a record line
src/records/record_file.cpp	s/safe\.replace\("\\"", FullwidthQuote\);//	a quote kept inside a quoted text
src/records/record_file.cpp	s/if \(item\.number\(\) >= 0\)\n\s*out\.append\(' '\);//	no sign blank before a number
src/records/user_list.cpp	s/content\.append\("\\r\\n", 2\);/content.append("\\n", 1);/	a lost CR in the user list
src/records/text_file.cpp	s/if \(!written \|\| !file\.flush\(\) \|\| file\.error\(\) != QFileDevice::NoError\)/if (!written)/; s/if \(file\.size\(\) != counted\.written\(\)\)\n\s*return FileResult::failure\(reasons::diskFull\(\)\);//; s/file\.close\(\);\n\s*if \(file\.error\(\) != QFileDevice::NoError\)\n\s*return FileResult::failure\(writeFailureReason\(file\.error\(\), target\)\);/file.close();/	a full disk at the final write not noticed
src/records/text_file.cpp	s/if \(!syncToDisk\(file\)\)/if (false)/	a failed sync to disk not noticed
src/records/text_file.cpp	s/if \(existing\.exists\(\) && !existing\.isWritable\(\)\)/if (false)/	read-only file not refused first
src/records/user_name.cpp	s/return UserNameProblem::UserListName;/return UserNameProblem::None;/	the user list's name accepted
src/records/user_name.cpp	s/u"\/\\\\:\*\?\\"<>\|,"/u"\\\\:*?\\"<>|,"/	a slash accepted in a name
src/records/data_folder.cpp	s/if \(found != readAs\)/if (false)/	an outside change overwritten
src/records/data_folder.cpp	s/if \(isTemporarySaveName\(entries\.fileName\(\)\) && /if (/	a person's file removed at start
src/diary/entry.cpp	s/MaximumAge = 130/MaximumAge = 131/	age limit off by one
src/diary/entry.cpp	s/\{6, 300\}/{6, 310}/	systolic limit wrong
src/diary/diary.cpp	s/if \(!m_messages\.ask\(messages::ConfirmStore\)\)\n\s*return Outcome::nothing\(\);//	store without asking
src/diary/diary.cpp	s/return Outcome::emptyFields\(\);\n    \}\n    \/\/ The old entries/return {};\n    }\n    \/\/ The old entries/	refused entry keeps its fields
src/chart/trend_chart.cpp	s/return 1\.0 \+ double\(k\)/return double(k)/	marks shifted one twip
src/chart/trend_chart.cpp	s/return std::min\(score, chart::LargestDrawnScore\);/return score;/	huge scores not clipped
src/chart/record_menu.cpp	s/std::floor/std::round/	marker offset rounded, not floored
src/records/time_order.cpp	s/a\.id < b\.id;/a.id > b.id;/	past records out of time order
src/diary/record_import.cpp	s/\+\+plan\.alreadyPresent;\n\s*continue;/++plan.alreadyPresent;/	a present row imported again
src/ui/key_filter.cpp	s/return digit \|\| c == u'\.';/return digit || c == u'.' || c == u',';/	a comma let into a number box
src/ui/form1.cpp	s/connect\(m_command8, &QPushButton::clicked, this, &Form1::ModifyRecord\);//	modify button not wired
src/ui/form1_keypad.cpp	s/m_state\.KeypadRequest\[size_t\(i\)\] = 0;//	a served box keeps asking for the keypad
src/ui/form1_keypad.cpp	s/if \(m_keypadWasActive \|\| m_keypadClosed\)/if (true)/	a return from another program hands back
src/ui/form1_keypad.cpp	s/\* 15\.0 \+ 500/* 15.0 + 400/	keypad placed off its title
src/ui/form1.cpp	s/connect\(m_command7, &QPushButton::clicked, this, &Form1::toggleStatement\);//	statement button not wired
src/diary/messages.h	s/修改完毕!/修改完毕！/	a message text changed
src/diary/diary.cpp	s/const int k = m_menuOffset \+ label;/const int k = label;/	a click loads without the scroll offset
src/diary/diary_history.cpp	s/entries\.begin\(\) \+ k\)/entries.begin())/	a delete removes the first record
src/diary/undo_history.h	s/MaxSteps = 10/MaxSteps = 9/	fewer undo steps kept
src/analysis/statistics.cpp	s/f\.mean = m_sum \/ f\.count;/f.mean = m_sum \/ (f.count + 1);/	a period's mean wrong
src/analysis/score_explanation.cpp	s/，未高于%1"/，不高于%1"/	an explanation text changed
src/records/record_columns.cpp	s/return startsLikeFormula\(text\) \? u'\\'' \+ text : text;/return text;/	a formula in a table cell not guarded
src/model/cvd_risk.cpp	s/std::floor\(100\.0 \* total \+ 0\.5\)/std::floor(100.0 * total)/	the ten-year risk's whole percent cut instead of rounded
src/model/cvd_estimate.cpp	s/\*age > OldestAge/*age > 90/	a ten-year risk above the age of 80
src/model/cvd_estimate.cpp	s/if \(\*answers\.hadHeartAttackOrStroke\)\n\s*return NoEstimate::HadEvent;//	a ten-year risk after a heart attack or stroke
src/records/cvd_answers.cpp	s/\+ "\\r\\n";/+ "\\n";/	a lost CR in the answers file
src/records/data_folder.cpp	s/for \(const UserFile file : AllUserFiles\) \{/for (const UserFile file : {UserFile::Records, UserFile::CvdAnswers}) {/	the readings and medicines left behind by a deleted user
src/readings/home_week.cpp	s/\(2 \* sum \+ count\) \/ \(2 \* count\)/sum \/ count/	home means cut instead of rounded half up
src/readings/home_week.h	s/HomeReferenceSystolic = 135/HomeReferenceSystolic = 136/	the home reference value off by one
src/readings/home_week.cpp	s/\? date\.addDays\(-1\) : date;/? date : date;/	a reading after midnight counted for its own date
src/readings/home_week.cpp	s/counted = d >= choice\.daysLeftOut;/counted = d > choice.daysLeftOut;/	one day too many left out of the home average
src/records/line_file.h	s/else\n\s*file\.kept\.push_back\(\{qsizetype\(file\.entries\.size\(\)\), line\.toByteArray\(\)\}\);//	a line that cannot be read dropped
src/records/line_file.h	s/\.stamp <= entry\.stamp/.stamp < entry.stamp/	a new entry placed before one of the same time
src/readings/bp_reading.h	s/SystolicMax = 300/SystolicMax = 301/	a systolic no person has accepted
src/diary/diary_bp.cpp	s/&& !m_messages\.ask\(/\&\& m_messages.ask(/	the same reading stored twice without asking
src/archive/zip_archive.cpp	s/if \(total > limit\) \{/if (false) {/	a zip entry beyond its limit inflated whole
src/medicines/medicine_plan.cpp	s/plan\.erase\(entry\);//	a stopped medicine still counted as taken
src/medicines/medicine_event.cpp	s/\.toCaseFolded\(\)//	a medicine's name told apart by its letter case
src/medicines/medicine_effect.h	s/DaysBefore = 14/DaysBefore = 15/	the window before a medicine change one day too long
src/medicines/medicine_effect.h	s/FewestReadings = 6/FewestReadings = 5/	a medicine change's mean of five readings
src/medicines/label_lanes.cpp	s/if \(!lanes\.lineIsFree\(lane, label\.anchor\)\)\n\s*break;[^\n]*\n//	a medicine label put across a rising line
src/diary/diary_med.cpp	s/if \(event\.action != MedicineAction::Start && !taken\)/if (false)/	a medicine adjusted or stopped while not taken
src/records/text_file.cpp	s/check\); !problem\.isEmpty\(\)\)/check); false)/	a written file that fails its check put in place
src/backup/backup_check.cpp	s/sha256Hex\(\*content\) != entry\.sha256/false/	a backup's changed byte taken for intact
src/backup/backup_check.cpp	s/if \(entry\.isLink\)/if (false)/	a link in a backup taken as a file
src/backup/backup_check.cpp	s/m_reader\.read\(index, entry\.size, &error\)/m_reader.read(index, backup_limits::File, &error)/	a zip bomb inflated up to the largest file
src/backup/restore_apply.cpp	s/putBack\(folder, steps\);\n(\s*)return swapped;/return swapped;/	a restore failing half way left half done
src/diary/diary_backup.cpp	s/&safetyBackup\); !saved\)/&safetyBackup); false)/	a restore without the backup of the diary before it
src/backup/thinning.cpp	s/if \(days > rule\.days\)/if (days > rule.days + 1)/	eight days of backups kept
src/backup/auto_backup.cpp	s/>= FailingDaysTold - 1/>= FailingDaysTold/	a week of failed backups told a day late
src/backup/restore_plan.cpp	s/return mergeLines\(now, backup, readMedicineFile, medicineFileContent\);/return {};/	a restore of chosen users without the medicine events a user lacks
LIST
)

caught=0; missed=0
while IFS=$'\t' read -r file change fault; do
    [ -n "$file" ] || continue
    [[ "$fault" =~ $only ]] || continue
    if [ "$(id -u)" = 0 ] && [[ "$fault" == "read-only file not refused first" ]]; then
        echo "skipped      $fault (root may write any file, so the check has nothing to refuse)"; continue
    fi
    cp "$file" "$file.orig"
    perl -0pi -e "$change" "$file"
    if cmp -s "$file" "$file.orig"; then
        echo "NOT APPLIED  $fault ($file)"; missed=$((missed + 1))
    elif ! cmake --build build -j2 >/dev/null 2>&1; then
        echo "NO BUILD     $fault ($file)"; missed=$((missed + 1))
    elif ctest --test-dir build -j2 --timeout 120 >"$work/ctest.log" 2>&1; then
        echo "MISSED       $fault ($file)"; missed=$((missed + 1))
    else
        by=$(sed -n '/tests FAILED/,$p' "$work/ctest.log" | grep -oE '[0-9]+ - [A-Za-z0-9_.]+' | sed 's/.* - //' | tr '\n' ' ')
        echo "caught       $fault (by $by)"; caught=$((caught + 1))
    fi
    mv "$file.orig" "$file"
    touch "$file" # the copy is older than the mutant's build: make the next build compile it again
done <<< "$mutants"
cmake --build build -j2 >/dev/null 2>&1
echo "mutation check: $caught caught, $missed missed"
[ "$missed" -eq 0 ]
