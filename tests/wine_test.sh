#!/usr/bin/env bash
# Runs a Windows test program under Wine (the emulator of the cross build's
# tests): Qt Test under Wine writes nothing to a pipe, so the log goes to a
# file, printed once the program ends.
# Usage: tests/wine_test.sh program.exe [test arguments...]
log=$(mktemp "${TMPDIR:-/tmp}/velmora-test.XXXXXX")
wine "$1" -o "$log,txt" "${@:2}"
status=$?
cat "$log"
rm -f "$log"
exit "$status"
