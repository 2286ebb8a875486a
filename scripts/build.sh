#!/usr/bin/env bash
# Configures and builds the program, its tests and benchmarks into build/
# (the preset "default"); arguments go to the configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default "$@" >/dev/null
cmake --build build --parallel
