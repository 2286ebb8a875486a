#!/usr/bin/env bash
# The folders are the libraries: checks anyone can repeat with grep.
#  1. no CMake file names a file through ../ (each folder lists its own sources)
#  2. every folder of src/ with sources has its CMakeLists.txt
#  3. every include of a project header names its folder ("records/gbk.h")
#  4. the core includes only the core; widgets no window folder; ui and reports
#     not each other; only app includes app
set -uo pipefail
cd "$(dirname "$0")/.."
failed=0
fail() { echo "layout: $*"; failed=1; }

hits=$(grep -rn --include=CMakeLists.txt --include='*.cmake' '\.\./' CMakeLists.txt src tests bench fuzz tools)
[ -z "$hits" ] || fail "a CMake file reaches outside its folder:"$'\n'"$hits"

for folder in src/*/; do
  ls "$folder"*.cpp >/dev/null 2>&1 && [ ! -f "$folder/CMakeLists.txt" ] && fail "$folder has sources but no CMakeLists.txt"
done

headers=$(cd src && ls */*.h | xargs -n1 basename | sort -u | paste -sd'|')
hits=$(grep -rnE "#include \"($headers)\"" src tests bench fuzz tools)
[ -z "$hits" ] || fail "an include does not name its folder:"$'\n'"$hits"
hits=$(grep -rnE '#include "[^/"]+"' src)
[ -z "$hits" ] || fail "an include in src/ without its folder:"$'\n'"$hits"

# The core: every folder of src/ but the windows' (widgets, ui, reports, app).
core=()
for folder in src/*/; do
  case "$folder" in src/widgets/ | src/ui/ | src/reports/ | src/app/ | src/resources/) ;; *) core+=("${folder%/}") ;; esac
done
includes() { grep -rnE "#include \"($2)/" $1; } # files under $1 including folders $2
hits=$(includes "${core[*]}" 'widgets|ui|reports|app')
[ -z "$hits" ] || fail "the core includes a window header:"$'\n'"$hits"
hits=$(includes src/widgets 'ui|reports|app')
[ -z "$hits" ] || fail "widgets include a window folder:"$'\n'"$hits"
hits=$(includes src/reports 'ui|app')
[ -z "$hits" ] || fail "reports include ui:"$'\n'"$hits"
hits=$(includes src/ui 'reports|app')
[ -z "$hits" ] || fail "ui includes reports:"$'\n'"$hits"
hits=$(grep -n 'Widgets\|Gui\|PrintSupport' "${core[@]/%//CMakeLists.txt}")
[ -z "$hits" ] || fail "a core library links more than Qt::Core:"$'\n'"$hits"

[ "$failed" -eq 0 ] && echo "layout: every check holds"
exit "$failed"
