#!/usr/bin/env bash
# Set-up (what building and running need), build, then start the program.
# Started from the build tree, the program keeps its data in the per-user
# folder (~/.local/share/Velmora), so cleaning the build loses nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/src/app/velmora
