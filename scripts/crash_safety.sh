#!/usr/bin/env bash
# Crash safety of saves: starts tests/crash/crash_writer on a program folder,
# kills it with SIGKILL after a random delay of 1 to 50 ms, and checks the
# folder with crash_check after every kill: the record file must be its old
# or its new complete content (whole entries, never cut off or empty), the
# user list one of its two contents, and any file left behind by a save must
# be one that no reader ever opens. Repeats that many times over.
#
#   CRASH_KILLS=300     number of kills (default 300)
#   CRASH_SEED=...      seed of the delays (default fixed, printed)
#   CRASH_DIR=...       where the program folder goes (default a temporary folder)
#   CRASH_BIN_DIR=...   folder holding crash_writer and crash_check (default: build them)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

kills=${CRASH_KILLS:-300}
seed=${CRASH_SEED:-20240611}

die() { echo "crash-safety: $*" >&2; exit 2; }

targets=(crash_writer crash_check)

# The programs: given, from the main build once tests/crash is part of it, or
# from a build of their own (core library and the two programs only).
if [ -n "${CRASH_BIN_DIR:-}" ]; then
  bin=$CRASH_BIN_DIR
elif [ -f build/build.ninja ] && grep -q 'build tests/crash/crash_writer:' build/build.ninja; then
  cmake --build build --target "${targets[@]}" >/dev/null || die "building the crash programs failed"
  bin=build/tests/crash
else
  # The program's own project, configured into build-crash/ with the crash
  # programs' CMakeLists.txt included right after its project() call (target
  # names such as velmora_core resolve later), so it finds Qt exactly as the
  # program does and needs no change to the program's CMake files.
  mkdir -p build-crash
  cat >build-crash/add_crash_programs.cmake.new <<CMAKE
include_guard(GLOBAL)
include("$root/tests/crash/CMakeLists.txt")
CMAKE
  cmp -s build-crash/add_crash_programs.cmake.new build-crash/add_crash_programs.cmake \
    || mv build-crash/add_crash_programs.cmake.new build-crash/add_crash_programs.cmake
  rm -f build-crash/add_crash_programs.cmake.new
  cmake -S . -B build-crash/build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCHMARKS=OFF \
    -DCMAKE_PROJECT_INCLUDE="$root/build-crash/add_crash_programs.cmake" >/dev/null \
    || die "configuring the crash programs failed"
  cmake --build build-crash/build --target "${targets[@]}" >/dev/null || die "building the crash programs failed"
  bin=build-crash/build
fi
writer=$bin/crash_writer
check=$bin/crash_check
[ -x "$writer" ] && [ -x "$check" ] || die "no crash_writer/crash_check in $bin"

work=$(mktemp -d "${CRASH_DIR:-${TMPDIR:-/tmp}}/velmora-crash.XXXXXX") || die "no temporary folder"
trap 'rm -rf "$work"' EXIT
folder=$work/program
log=$work/writer.out
pipe=$work/writer.pipe
mkfifo "$pipe" || die "no named pipe"
errors=$work/writer.err

confirmed=$("$check" init "$folder" | sed -n 's/^entries //p')
[ -n "$confirmed" ] || die "preparing the folder failed"

echo "crash-safety: seed $seed, $kills kills, delays 1-50 ms, folder on $(df -T "$work" | awk 'NR==2 {print $2}')"
RANDOM=$seed
failures=0
saves=0
declare -A leftovers=()
for ((k = 1; k <= kills; ++k)); do
  delay=$((RANDOM % 50 + 1))
  # The writer reports "ready" once started (that alone takes some 20 ms);
  # the delay counts from there, so that kills land in saves, not in start-up.
  "$writer" "$folder" >"$pipe" 2>"$errors" &
  pid=$!
  exec 3<"$pipe"
  ready=0
  : >"$log"
  while IFS= read -r -t 30 -u 3 line; do
    [ "$line" = ready ] && { ready=1; break; }
    echo "$line" >>"$log" # a save before "ready": taking out a leftover scratch name
  done
  [ "$ready" = 1 ] && sleep "$(printf '0.%03d' "$delay")"
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  status=$?
  cat <&3 >>"$log"
  exec 3<&-
  if [ "$ready" != 1 ] || [ "$status" -ne 137 ]; then
    # The writer stopped on its own: a read or save failed.
    echo "crash-safety: kill $k: the writer exited with status $status: $(cat "$errors")"
    failures=$((failures + 1))
  fi

  last=$(sed -n 's/^records //p' "$log" | tail -1)
  [ -n "$last" ] && confirmed=$last
  saves=$((saves + $(grep -c . "$log")))

  if ! result=$("$check" verify "$folder" "$confirmed"); then
    echo "crash-safety: kill $k (delay $delay ms, last confirmed $confirmed entries): $result"
    failures=$((failures + 1))
    # Start over from a sound folder, so one failure does not repeat itself.
    rm -rf "$folder"
    confirmed=$("$check" init "$folder" | sed -n 's/^entries //p')
    continue
  fi
  confirmed=$(sed -n 's/^entries //p' <<<"$result")
  while read -r _ name size state; do
    if [ -z "${leftovers[$name]:-}" ]; then
      leftovers[$name]=$state
      echo "crash-safety: kill $k (delay $delay ms): a save left the temporary file $name ($size bytes, $state content)"
    fi
  done < <(grep '^leftover ' <<<"$result")
done

complete=0
for name in "${!leftovers[@]}"; do [ "${leftovers[$name]}" = complete ] && complete=$((complete + 1)); done
echo "crash-safety: $saves completed saves, record file at $confirmed entries;" \
  "${#leftovers[@]} temporary files left behind ($complete with a complete content, $((${#leftovers[@]} - complete)) partial or empty)," \
  "none of them ever read (the program reads only yonghu.dat and <user>.dat)"
echo "crash-safety: $kills kills, $failures failures"
[ "$failures" -eq 0 ]
