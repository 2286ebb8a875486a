#!/usr/bin/env bash
# Set-up, build, then run every test (no display needed): the unit and
# offscreen window tests, the end-to-end test in Xvfb, the same suite under
# sanitizers, the fuzzers, the crash-safety test and the package check.
# The end-to-end, crash-safety and package checks are CTest tests of the
# build (labels e2e, crash, package: the preset "system-tests"); the
# sanitizers and the fuzzers are the presets "asan" and "fuzz".
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
scripts/build.sh -DVELMORA_SYSTEM_TESTS=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600 -LE '^(e2e|crash|package)$'
ctest --test-dir build --output-on-failure --verbose -L '^e2e$'
bash scripts/sanitize.sh
bash scripts/fuzz.sh
ctest --test-dir build --output-on-failure --verbose -L '^crash$'
ctest --test-dir build --output-on-failure --verbose -L '^package$'
