#!/usr/bin/env bash
# Qt for the Windows build: prints the prefix of a Qt 6.4.2 built for
# MinGW-w64 x86-64 (posix threads, shared DLLs; qtbase's Core, Gui, Widgets,
# PrintSupport, Network, Test, the windows, offscreen and minimal platform
# plugins), building it first when none is at hand.
#
#   bash scripts/qt-windows.sh        # prints PREFIX on standard output
#
# Looked for, in this order: $KORVEX_WINDOWS_QT; shared/qt6-mingw beside the
# clone or beside any folder above it; the cache
# ${XDG_CACHE_HOME:-~/.cache}/korvex/qt6-mingw-6.4.2. A prefix counts only
# when its Qt6ConfigVersionImpl.cmake says 6.4.2. When none does, qtbase
# 6.4.2 is built into the cache from Debian's own source package, the host's
# Qt tools (qt6-base-dev) serving as moc, rcc and uic: about 1 min to
# configure and 25-30 min to build on two cores. The source package comes
# through a private apt list of deb-src entries (Dir::Etc::SourceList), so
# the machine's apt sources stay as they were. Needs root for apt-get.
# KORVEX_QT_JOBS (default 2) sets the build's parallelism.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
want=6.4.2

version_of() { sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' "$1/lib/cmake/Qt6/Qt6ConfigVersionImpl.cmake" 2>/dev/null; }
usable() { [ -n "$1" ] && [ "$(version_of "$1")" = "$want" ] && [ -f "$1/bin/Qt6Widgets.dll" ] &&
  [ -f "$1/plugins/platforms/qwindows.dll" ]; }

candidates=()
[ -n "${KORVEX_WINDOWS_QT:-}" ] && candidates+=("$KORVEX_WINDOWS_QT")
dir=$root
while [ "$dir" != / ]; do
  dir=$(dirname "$dir")
  candidates+=("$dir/shared/qt6-mingw")
done
cache=${XDG_CACHE_HOME:-$HOME/.cache}/korvex/qt6-mingw-$want
candidates+=("$cache")
for c in "${candidates[@]}"; do
  if usable "$c"; then
    realpath "$c"
    exit 0
  fi
done

# ---- None at hand: build it. ----
echo "qt-windows: no Qt $want for MinGW-w64 found; building it into $cache (about 30 min)" >&2
packages=(dpkg-dev cmake ninja-build perl xz-utils g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  apt-get -o DPkg::Lock::Timeout=600 update -qq
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends \
    "${missing[@]}" >&2
fi
host=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${host#*:}
upstream=${upstream%-*}
upstream=${upstream%%+*}
[ "$upstream" = "$want" ] || { echo "qt-windows: the host's qt6-base-dev is $host, not Qt $want" >&2; exit 1; }

work=$cache.work
mkdir -p "$work/src" "$work/apt/lists/partial" "$work/apt/sources.list.d"
src=$(find "$work/src" -maxdepth 1 -type d -name "qtbase-everywhere-src-$want*" | head -1)
if [ -z "$src" ]; then
  # deb-src twins of the machine's deb entries, in a list of our own.
  list=$work/apt/sources.list
  : >"$list"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" >"$work/apt/sources.list.d/$(basename "$f")"
  done
  [ -f /etc/apt/sources.list ] && sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list >"$list"
  apt_private=(-o "Dir::Etc::SourceList=$list" -o "Dir::Etc::SourceParts=$work/apt/sources.list.d"
    -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=")
  apt-get "${apt_private[@]}" update -qq >&2
  (cd "$work/src" && apt-get "${apt_private[@]}" source -qq "qt6-base=$host" >&2)
  src=$(find "$work/src" -maxdepth 1 -type d -name "qtbase-everywhere-src-$want*" | head -1)
  [ -n "$src" ] || { echo "qt-windows: apt-get source qt6-base=$host gave no source folder" >&2; exit 1; }
fi

toolchain=$cache/lib/cmake/mingw-w64-x86_64-posix.cmake
mkdir -p "$(dirname "$toolchain")"
cat >"$toolchain" <<'CMAKE'
# MinGW-w64 x86-64, posix thread model; shared libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
CMAKE

# The features as the shared copy has them: no OpenGL, SQL, D-Bus, ICU or
# Concurrent; tablet events off (Debian's +dfsg source has no wintab
# headers); direct2d on, as Qt 6.4.2's DirectWrite font engine, which
# PrintSupport uses, is built only with it.
b=$work/build-qtbase
if [ ! -f "$b/CMakeCache.txt" ]; then
  nice cmake -G Ninja -S "$src" -B "$b" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON -DCMAKE_INSTALL_PREFIX="$cache" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF \
    -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=ON -DFEATURE_direct2d1_1=OFF \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_icu=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_androiddeployqt=OFF -DFEATURE_glib=OFF -DFEATURE_openssl=OFF \
    -DFEATURE_zstd=OFF -DFEATURE_brotli=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF >"$work/configure.log"
fi
nice cmake --build "$b" --parallel "${KORVEX_QT_JOBS:-2}" >&2
cmake --install "$b" >/dev/null
usable "$cache" || { echo "qt-windows: the build in $cache is incomplete" >&2; exit 1; }
realpath "$cache"
