#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, clang + libFuzzer + ASan + UBSan) into
# build-fuzz/ and fuzzes each for a bounded time, starting from a temporary
# copy of its seed corpus (the committed corpus is never changed).
# Inputs under fuzz/regressions/<target>/ are replayed first.
# Any crash, leak, timeout or broken property makes the script fail; the
# offending input is kept under the printed artifact folder.
#
#   FUZZ_SECONDS=60      fuzzing time per target (default 60)
#   FUZZ_BUILD_DIR=...   build folder (default build-fuzz)
#   FUZZ_CXX=...         clang compiler (default clang++, else clang++-14)
#   FUZZ_KEEP=1          keep the temporary folder with corpora and artifacts
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
cxx=${FUZZ_CXX:-$(command -v clang++ || command -v clang++-14 || echo clang++)}
targets=(fuzz_item_reader fuzz_record_read fuzz_user_list fuzz_cvd_answers fuzz_bp_file fuzz_zip_read fuzz_med_file
  fuzz_readings_table fuzz_health_xml fuzz_backup_check)

# The CMake preset "fuzz" (fuzz/CMakePresets.json), here with its folder and compiler given.
cmake -S fuzz --preset fuzz -B "$build_dir" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build_dir"

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-fuzz.XXXXXX")
if [ "${FUZZ_KEEP:-0}" = 1 ]; then
  echo "fuzz: keeping $work"
else
  trap 'rm -rf "$work"' EXIT
fi

export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"

failed=0
summary=()
for target in "${targets[@]}"; do
  program=$build_dir/$target
  regression_note=""

  # Inputs that once broke a target must keep passing.
  regressions=(fuzz/regressions/"$target"/*)
  if [ -e "${regressions[0]}" ]; then
    if ! "$program" "${regressions[@]}" >"$work/$target.regressions.log" 2>&1; then
      echo "fuzz: $target fails on a regression input:"
      grep -B2 -A12 -E 'property broken|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error|ERROR: libFuzzer' \
        "$work/$target.regressions.log" | head -40 || tail -40 "$work/$target.regressions.log"
      failed=1
      regression_note=" (a regression input FAILS)"
    fi
  fi

  corpus=$work/corpus/$target
  artifacts=$work/artifacts/$target/
  mkdir -p "$corpus" "$artifacts"
  cp fuzz/corpus/"$target"/* "$corpus"/
  log=$work/$target.log
  status=0
  "$program" "$corpus" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -dict=fuzz/velmora.dict -print_final_stats=1 \
    -artifact_prefix="$artifacts" >"$log" 2>&1 || status=$?

  runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\).*/\1/p' "$log" | tail -1)
  [ -n "$runs" ] || runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -1)
  [ -n "$runs" ] || runs=?
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "fuzz: $target FAILED (exit $status); log: $log"
    grep -B2 -A25 -E 'property broken|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer|runtime error|ERROR: libFuzzer|ALARM' \
      "$log" | head -60 || tail -60 "$log"
    for artifact in "$artifacts"*; do
      [ -e "$artifact" ] || continue
      echo "fuzz: input: $artifact ($(wc -c <"$artifact") bytes): $(head -c 200 "$artifact" | od -An -c | tr -s ' ' | tr -d '\n')"
      if [ "${FUZZ_KEEP:-0}" != 1 ]; then
        mkdir -p "$build_dir/artifacts/$target"
        cp "$artifact" "$build_dir/artifacts/$target/"
        echo "fuzz: copied to $build_dir/artifacts/$target/$(basename "$artifact")"
      fi
    done
    summary+=("$target: FAILED after $runs runs$regression_note")
  else
    summary+=("$target: $runs runs$regression_note")
  fi
done

echo "fuzz (${seconds} s each): $(IFS=';'; echo "${summary[*]}" | sed 's/;/; /g')"
exit "$failed"
