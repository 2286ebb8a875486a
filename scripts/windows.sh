#!/usr/bin/env bash
# The Windows program: cross-builds velmora.exe (one static file: Qt, the
# MinGW runtime and Qt's Chinese texts inside) and the tests with MinGW-w64,
# runs the tests under Wine (offscreen, then the real windows platform in
# Xvfb), the end-to-end script against velmora.exe, and packs what a Windows
# user downloads: build-windows/dist/velmora-<version>-windows.zip (the
# portable folder) and velmora-<version>-setup.exe (the installer).
#
# Qt for Windows (6.4.2, static, the version of Debian's Qt) is taken from
# ../shared/windows/qt6.4.2-mingw64-static.tar.xz when it is there, otherwise
# built once from Debian's qt6-base source (about 30 minutes on 2 cores) and
# kept in the cache folder below.
# Usage: scripts/windows.sh        Needs root or sudo only to install packages.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$(date +%s)

scripts/setup.sh --windows

cache=${VELMORA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/velmora}
qt=$cache/qt6.4.2-mingw64/install
toolchain=$root/cmake/mingw-w64-x86_64.cmake
build=$root/build-windows
host_tools=$root/build
export WINEPREFIX=${WINEPREFIX:-$cache/wineprefix} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

log() { echo "windows: $*"; }
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

# --- Qt for Windows ----------------------------------------------------------
add_deb_src() {
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    # A copy of the machine's own Debian entry for source packages.
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/velmora-deb-src.sources >/dev/null
    "${sudo_cmd[@]}" apt-get update -qq
  fi
}
build_qt_from_source() {
  local work=$cache/qt-source
  log "building Qt 6.4.2 for Windows from Debian's qt6-base source (once per machine)"
  add_deb_src
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source --download-only qt6-base >/dev/null && tar xJf qt6-base_6.4.2+dfsg.orig.tar.xz)
  cmake -S "$work/qtbase-everywhere-src-6.4.2" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=OFF -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$qt" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DINPUT_opengl=no -DFEATURE_opengl=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=ON -DFEATURE_printsupport=ON \
    -DFEATURE_tabletevent=OFF -DFEATURE_zstd=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF \
    -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_pcre2=OFF -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF >/dev/null
  cmake --build "$work/build"
  cmake --install "$work/build" >/dev/null
  rm -rf "$qt/doc" "$work"
}

# --- libzip for Windows ---------------------------------------------------------
# Debian's own source of the libzip the Linux build uses, built once as a
# static library with the MinGW-w64 zlib (no other compression, no encryption).
libzip=$cache/libzip-mingw64/install
build_libzip() {
  local work=$cache/libzip-source
  log "building libzip for Windows from Debian's source (once per machine)"
  add_deb_src
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source --download-only libzip >/dev/null 2>&1 && tar xJf libzip_*.orig.tar.xz)
  cmake -S "$work"/libzip-*/ -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$libzip" -DBUILD_SHARED_LIBS=OFF \
    -DENABLE_COMMONCRYPTO=OFF -DENABLE_GNUTLS=OFF -DENABLE_MBEDTLS=OFF -DENABLE_OPENSSL=OFF \
    -DENABLE_WINDOWS_CRYPTO=OFF -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF \
    -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include >/dev/null
  cmake --build "$work/build" >/dev/null
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
}
[ -f "$libzip/lib/cmake/libzip/libzip-config.cmake" ] || build_libzip

if [ ! -f "$qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
  shared=$root/../shared/windows/qt6.4.2-mingw64-static.tar.xz
  mkdir -p "$cache/qt6.4.2-mingw64"
  if [ -f "$shared" ]; then
    log "unpacking $shared"
    tar -C "$cache/qt6.4.2-mingw64" -xJf "$shared"
  else
    build_qt_from_source
  fi
fi

# --- The build ---------------------------------------------------------------
# The picture renderer runs on this machine: it needs Qt Svg, which the
# program does not (and the Windows Qt lacks).
if [ ! -x "$host_tools/tools/render_pictures" ]; then
  scripts/setup.sh
  cmake -S . -B "$host_tools" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$host_tools" --target render_pictures
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
configure() { # platform of the window tests
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
    -Dlibzip_DIR="$libzip/lib/cmake/libzip" \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
    -DVELMORA_HOST_RENDER_PICTURES="$host_tools/tools/render_pictures" \
    -DVELMORA_BUILD_BENCHMARKS=OFF \
    -DVELMORA_TEST_PLATFORM="$1" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/wine_test.sh" >/dev/null
}
configure offscreen
log "building"
cmake --build "$build" --parallel

# --- Tests under Wine ----------------------------------------------------------
# An X server for the windows platform and the end-to-end run; Wine wants one
# for its own start too.
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-windows.XXXXXX")
cleanup() {
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"
start_xvfb windows
wineboot -i >/dev/null 2>&1 || true
# Wine ships no Chinese faces: the Noto faces of this machine stand in for
# those of a Chinese Windows (宋体 for the program, the dialog font for the
# installer's pages), as far as a person looking at a screenshot can tell.
substitute_font() {
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v "$1" /d "$2" /f >/dev/null 2>&1 || true
}
for face in SimSun 宋体 NSimSun; do substitute_font "$face" "Noto Serif CJK SC"; done
for face in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do substitute_font "$face" "Noto Sans CJK SC"; done
wineserver -p 600 || true # one server for the whole run: each test starts in a moment

# A window test under Wine waits for activations and menus that a loaded
# machine can delay past its limits: a test that fails is run once more.
log "the tests under Wine, offscreen"
ctest --test-dir "$build" --output-on-failure --timeout 300 --parallel 2 --repeat until-pass:2
log "the tests under Wine, on the windows platform (Xvfb)"
configure windows
# The keypad's hand-back waits for window activations that Wine, without a
# window manager, does not deliver in time: it runs offscreen only (above).
ctest --test-dir "$build" --output-on-failure --timeout 300 --repeat until-pass:2 -L gui -E tst_gui_keypad
configure offscreen

# --- What a Windows user downloads ---------------------------------------------
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist=$build/dist
rm -rf "$dist" && mkdir -p "$dist/portable"
exe=$build/velmora.exe  # Qt puts a Windows build's programs in the top folder
cp "$exe" "$dist/portable/velmora.exe"
cp packaging/windows/使用说明.txt "$dist/portable/使用说明.txt"
zip=$dist/velmora-$version-windows.zip
python3 - "$zip" "$dist/portable" <<'EOF'
# Names stored as UTF-8 with the zip's UTF-8 flag, which Windows' own zip
# folders read.
import os, sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    for name in ("velmora.exe", "使用说明.txt"):
        z.write(os.path.join(sys.argv[2], name), "Velmora/" + name)
EOF
makensis -V2 -INPUTCHARSET UTF8 -DICON="$build/src/app/velmora.ico" -DVERSION="$version" -DEXE="$exe" -DREADME="$root/packaging/windows/使用说明.txt" \
  -DOUTFILE="$dist/velmora-$version-setup.exe" packaging/windows/velmora.nsi
log "$(du -h "$exe" | cut -f1) velmora.exe, $(du -h "$zip" | cut -f1) zip, $(du -h "$dist/velmora-$version-setup.exe" | cut -f1) installer"

log "the end-to-end run against velmora.exe"
bash tests/e2e/windows_e2e.sh "$zip" "$dist/velmora-$version-setup.exe" "$build/type_unicode.exe"

log "done in $(($(date +%s) - started)) s"
