#!/usr/bin/env bash
# Shared set-up of scripts/run, scripts/test and scripts/screenshot:
# packages, the project's Wine prefix, and the two builds (native host tools, cross program).
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
NATIVE_BUILD=$BUILD/native
CROSS_BUILD=$BUILD/win32
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win32
JOBS=${JOBS:-2}
# Wine converts command-line text (the font names below) through the Unix locale.
export LC_ALL=C.UTF-8

# Debian installs the Wine commands with a -stable suffix; accept either spelling.
wine_cmd() { command -v "$1" 2>/dev/null || command -v "$1-stable" 2>/dev/null || echo "$1"; }
WINE=$(wine_cmd wine); WINEBOOT=$(wine_cmd wineboot); WINESERVER=$(wine_cmd wineserver)
export WINE WINESERVER

say() { printf '== %s\n' "$*" >&2; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian packages the build and the tests need.
PACKAGES_NATIVE=(cmake make g++ clang libclang-rt-14-dev googletest ccache openssl gzip)
PACKAGES_CROSS=(g++-mingw-w64-i686-posix g++-mingw-w64-i686 wine wine32:i386 xvfb xauth
                fonts-wqy-microhei fonts-wine x11-apps imagemagick)

ensure_packages() {
  local missing=() p
  for p in "${PACKAGES_NATIVE[@]}" "${PACKAGES_CROSS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  # A mirror caught mid-sync fails an index (one architecture of the security suite, say), and
  # the i386 and amd64 halves of a library then disagree: wait for the sync and try again, and
  # if it has not settled, install from the release suites alone, which always agree.
  local attempt
  for attempt in 1 2 3; do
    if as_root apt-get update -q &&
       as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; then
      return 0
    fi
    [ "$attempt" = 3 ] && break
    say "package install failed (attempt $attempt); retrying in 60 s"
    sleep 60
  done
  say "installing from the release suites without the security suite"
  local parts
  parts=$(mktemp -d)
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "\n\n" } !/-security/' "$f" > "$parts/$(basename "$f")"
  done
  local opts=(-o "Dir::Etc::sourceparts=$parts" -o "Dir::Etc::sourcelist=/dev/null")
  if [ -f /etc/apt/sources.list ]; then
    grep -v -- '-security' /etc/apt/sources.list > "$parts/main.list" || true
  fi
  local rc=0
  as_root apt-get "${opts[@]}" update -q &&
    as_root env DEBIAN_FRONTEND=noninteractive apt-get "${opts[@]}" install -y -q --no-install-recommends "${missing[@]}" || rc=$?
  rm -rf "$parts"
  return $rc
}

# The project's own Wine prefix, with the CJK font replacements for the forms' 宋体.
PREFIX_VERSION=3
ensure_prefix() {
  mkdir -p "$BUILD"
  [ -f "$WINEPREFIX/.sealbox-ready-$PREFIX_VERSION" ] && return 0
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "creating Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    "$WINEBOOT" -i >/dev/null 2>&1 || true
    "$WINESERVER" -w || true
  fi
  say "configuring Wine prefix $WINEPREFIX"
  local key='HKCU\Software\Wine\Fonts\Replacements'
  "$WINE" reg add "$key" /v "宋体" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  "$WINE" reg add "$key" /v "SimSun" /t REG_SZ /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  # No crash dialog: a crashing test must fail, not wait for a click.
  "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Wine draws and runs the window frames itself: no window manager runs under Xvfb, and
  # waiting for one costs about two seconds per shown window.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
  # Wine's own symbol font (caption-button glyphs) from fonts-wine; this build of Wine does
  # not look in the package's folder, so the prefix gets a copy. Only that one: Wine's Tahoma
  # has no Chinese glyphs and would replace the fallback that draws the caption text.
  cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$WINESERVER" -w || true
  touch "$WINEPREFIX/.sealbox-ready-$PREFIX_VERSION"
}

build_native() {
  local type=${1:-Release}
  if [ ! -f "$NATIVE_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_BUILD_TYPE="$type" >/dev/null
  fi
  cmake --build "$NATIVE_BUILD" -j "$JOBS"
}

configure_cross() {
  if [ ! -f "$CROSS_BUILD/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$CROSS_BUILD" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686-posix.cmake" \
      -DSKINPACK_EXECUTABLE="$NATIVE_BUILD/tools/skinpack/skinpack" >/dev/null
  fi
}

# build_cross [TARGET...]: the Windows configuration, all of it or the named targets.
build_cross() {
  configure_cross
  if [ $# -eq 0 ]; then
    cmake --build "$CROSS_BUILD" -j "$JOBS"
  else
    cmake --build "$CROSS_BUILD" -j "$JOBS" --target "$@"
  fi
}

setup_all() {
  ensure_packages
  ensure_prefix
  build_native
  build_cross
}
