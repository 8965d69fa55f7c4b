#!/usr/bin/env bash
# Checks a built Debian package (default: build/package/korvex_*.deb): unpacks it
# into a scratch root, checks its control fields and files, starts the programs
# it holds from there (offscreen) and validates its menu entries and metainfo.
# Exits non-zero on the first fault, naming it.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(korvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=${1:-build/package/korvex_${version}_amd64.deb}
fail() { echo "package check: $*" >&2; exit 1; }
[ -f "$deb" ] || fail "no package $deb (scripts/package.sh builds it)"
[ "$(basename "$deb")" = "korvex_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "$deb is not named korvex_${version}_<arch>.deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korvex ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project's is $version"
# dpkg-shlibdeps found the Qt libraries the programs link.
# (Fields are read whole first: grep -q ends early, and pipefail would call that a fault.)
depends=$(field Depends)
for lib in libqt6widgets6 libqt6serialport6 libqt6multimedia6 libqt6printsupport6 libstdc++6 libsndfile1 libsoxr0 libespeak-ng1; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
description=$(field Description)
grep -q dialout <<<"$description" || fail "the description does not mention the dialout group"
# Every dependency is one apt can fetch (what `apt install ./korvex_*.deb` needs).
debPath=$(realpath "$deb")
apt-get install -s -qq "$debPath" >/dev/null 2>&1 || apt-get install -s "$debPath" >&2 ||
  fail "apt cannot satisfy the dependencies of $deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

expected=(
  usr/bin/korvex usr/bin/tamlo usr/bin/korvex-cli
  usr/share/man/man1/korvex-cli.1
)
for app in Korvex Tamlo; do
  expected+=(usr/share/applications/org.korvex.$app.desktop usr/share/metainfo/org.korvex.$app.metainfo.xml)
done
for icon in korvex tamlo; do
  expected+=(usr/share/icons/hicolor/scalable/apps/$icon.svg)
  for size in 16 22 24 32 48 64 128 256; do
    expected+=(usr/share/icons/hicolor/${size}x${size}/apps/$icon.png)
  done
done
for f in "${expected[@]}"; do
  [ -s "$root/$f" ] || fail "$f is missing or empty"
done
for size in 16 256; do
  kind=$(file -b "$root/usr/share/icons/hicolor/${size}x${size}/apps/korvex.png")
  grep -q "PNG image data, $size x $size" <<<"$kind" || fail "the ${size}x${size} icon is $kind"
done

bin=$root/usr/bin
for program in korvex tamlo korvex-cli; do
  missing=$(ldd "$bin/$program" | grep "not found" || true)
  [ -z "$missing" ] || fail "$program: libraries not found: $missing"
done

help=$("$bin/korvex-cli" --help) || fail "korvex-cli --help ended with status $?"
grep -q "write-config" <<<"$help" || fail "korvex-cli --help does not list its commands"
[ "$("$bin/korvex-cli" --version)" = "korvex-cli $version" ] || fail "korvex-cli --version: $("$bin/korvex-cli" --version)"
# The manual page is the help of this very binary.
grep -q '^\.TH KORVEX-CLI "1"' "$root/usr/share/man/man1/korvex-cli.1" || fail "korvex-cli.1 has no manual page header"
for text in 'write\-sound' "EXIT STATUS" "korvex-cli $version"; do
  grep -qF "$text" "$root/usr/share/man/man1/korvex-cli.1" || fail "korvex-cli.1 lacks '$text'"
done

# The window programs end only when a user closes them: one still running after
# a few seconds has started; one that ended by then has failed.
home=$root/home
mkdir -p "$home"
for program in korvex tamlo; do
  status=0
  HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=offscreen \
    timeout 5 "$bin/$program" >"$root/$program.out" 2>&1 || status=$?
  [ "$status" -eq 124 ] || fail "$program ended by itself (status $status): $(cat "$root/$program.out")"
done

for app in Korvex Tamlo; do
  desktop=$root/usr/share/applications/org.korvex.$app.desktop
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "org.korvex.$app.desktop does not validate"
  fi
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$bin/$exec_name" ] || fail "org.korvex.$app.desktop starts '$exec_name', which the package lacks"
  icon_name=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] ||
    fail "org.korvex.$app.desktop names the icon '$icon_name', which the package lacks"
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/org.korvex.$app.metainfo.xml" >&2 ||
      fail "org.korvex.$app.metainfo.xml does not validate"
  fi
done

echo "package check: $(basename "$deb") passed (${#expected[@]} files, both programs started, korvex-cli ran)"
