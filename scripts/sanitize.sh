#!/usr/bin/env bash
# Builds the program and every test with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer into build-asan/ and runs the whole ctest suite.
# Any sanitizer report fails the run.
#
#   CXX=clang++ scripts/sanitize.sh     # pick the compiler (default: c++, i.e. gcc)
#   SANITIZE_BUILD_DIR=/tmp/asan ...    # build somewhere else
#   SANITIZE_JOBS=2 ...                 # parallel build jobs / test jobs
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${SANITIZE_BUILD_DIR:-build-asan}
jobs=${SANITIZE_JOBS:-$(nproc 2>/dev/null || echo 2)}
cxx=${CXX:-c++}

# The flags are the CMake preset "asan" (CMakePresets.json).
cmake --preset asan -B "$build_dir" -DCMAKE_CXX_COMPILER="$cxx" >/dev/null
cmake --build "$build_dir" --parallel "$jobs"

export QT_QPA_PLATFORM=offscreen
asan_options="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
asan_options+=":check_initialization_order=1:halt_on_error=1"
export ASAN_OPTIONS="${asan_options}${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
# Suppressions only ever name leaks inside system libraries, never project code.
if [ -f scripts/lsan.supp ]; then
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
fi

# Sanitized programs run several times slower; the per-test timeout is generous.
ctest --test-dir "$build_dir" --output-on-failure --timeout 1500 --parallel "$jobs"
echo "sanitize: all tests passed under address, leak and undefined-behaviour checks"
