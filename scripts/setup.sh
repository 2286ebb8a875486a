#!/usr/bin/env bash
# Installs on Debian (12 or later) what building and running the program need,
# skipping packages that are already there. With --tests, also the tools the
# test command uses: benchmarks, sanitizers and fuzzers (clang), the X server
# and the tools that drive it, screenshots and PDF reading.
#   scripts/setup.sh           # build and run (scripts/start.sh)
#   scripts/setup.sh --tests   # build, run and test (scripts/test.sh)
#   scripts/setup.sh --windows # cross-build, test under Wine, pack (scripts/windows.sh)
set -euo pipefail

build_and_run=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins libgl-dev
  qt6-translations-l10n
  libzip-dev # zip archives: the phone's health export, the backups
  fonts-noto-cjk
  fonts-wqy-microhei
)

tests=(
  libbenchmark-dev
  xvfb xdotool x11-utils imagemagick poppler-utils
  xclip
  unzip p7zip-full # independent listings of the backups' zips in the end-to-end run
  clang-14 libclang-rt-14-dev
  adwaita-qt6 # a dark style for the screenshot under a dark palette
  python3-pyatspi at-spi2-core dbus-daemon # the screen reader's view (AT-SPI) in the end-to-end run
)

windows=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  qt6-base-dev-tools # moc, rcc, uic serve the cross build too (same Qt version)
  wine wine64 xvfb xdotool x11-utils imagemagick
  poppler-utils # the PDF report's text in the end-to-end run under Wine
  nsis python3 xz-utils
  libz-mingw-w64-dev # zlib for the Windows build of libzip (built from Debian's source)
  unzip # lists the backups the Windows program makes
)

packages=("${build_and_run[@]}")
case "${1:-}" in
  "") ;;
  --tests) packages+=("${tests[@]}") ;;
  --windows) packages+=("${windows[@]}") ;;
  *) echo "usage: scripts/setup.sh [--tests | --windows]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
