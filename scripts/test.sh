#!/usr/bin/env bash
# Set-up, build, then run every test (no display needed): the unit and
# offscreen window tests, the same suite under sanitizers, the fuzzers, the
# crash-safety test, the package check and the end-to-end test in Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600
bash scripts/e2e.sh build
bash scripts/sanitize.sh
bash scripts/fuzz.sh
bash scripts/crash_safety.sh
bash scripts/package_check.sh
