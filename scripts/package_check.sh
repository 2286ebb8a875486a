#!/usr/bin/env bash
# Builds the Debian package, checks that apt can install it with its
# dependencies, unpacks it into a scratch root and starts the program from
# there: an installed copy must keep its data in the per-user folder.
# Usage: scripts/package_check.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/velmora_*.deb | head -n 1)
echo "package: $deb ($(du -h "$deb" | cut -f1))"
case $deb in /*) ;; *) deb=./$deb ;; esac # apt takes a file by a path, not a bare name
apt-get install -s "$deb" >/dev/null
echo "package: apt resolves its dependencies"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root/pkg"
mkdir -p "$root/home"
set +e
HOME="$root/home" XDG_DATA_HOME="$root/home/.local/share" QT_QPA_PLATFORM=offscreen \
  timeout 3 "$root/pkg/usr/bin/velmora"
status=$?
set -e
if [ "$status" -ne 124 ]; then
  echo "package: FAIL: the installed program ended by itself (status $status)"; exit 1
fi
if [ ! -f "$root/home/.local/share/Velmora/yonghu.dat" ]; then
  echo "package: FAIL: no user list in the per-user folder"; exit 1
fi
if [ -e "$root/pkg/usr/bin/yonghu.dat" ]; then
  echo "package: FAIL: data written beside the installed program"; exit 1
fi
echo "package: 3 passed, 0 failed"
