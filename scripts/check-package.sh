#!/usr/bin/env bash
# Checks a built Debian package (default: build/package/korvex_*.deb): lintian
# (pedantic) finds no error or warning; unpacked into a scratch root, its
# control fields and files are checked, the programs it holds start from there
# (offscreen, with a project file too), the project file types are told by
# content and its menu entries and metainfo validate.
# Exits non-zero on the first fault, naming it.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^project(korvex VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
revision=$(sed -n 's/^set(KORVEX_DEBIAN_REVISION \([0-9]*\))/\1/p' packaging/packaging.cmake)
debVersion=$version-$revision
deb=${1:-build/package/korvex_${debVersion}_amd64.deb}
fail() { echo "package check: $*" >&2; exit 1; }
[ -n "$version" ] && [ -n "$revision" ] || fail "cannot read the version ('$version') or the revision ('$revision')"
[ -f "$deb" ] || fail "no package $deb (scripts/package.sh builds it)"
[ "$(basename "$deb")" = "korvex_${debVersion}_$(dpkg --print-architecture).deb" ] ||
  fail "$deb is not named korvex_${debVersion}_<arch>.deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = korvex ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$debVersion" ] || fail "Version is '$(field Version)', the project's is $debVersion"
maintainer=$(field Maintainer)
grep -q '^[^<]* <[^@ ]*@[^@ ]*\.[^@ ]*>$' <<<"$maintainer" || fail "Maintainer '$maintainer' is no 'Name <address>'"

# Debian's own checks: any error or warning fails, and so does a missing
# hardening flag (an info tag); the other info and pedantic tags are shown.
# (--show-overrides would count the package's one override, README.md says
# which, as a warning.)
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps.sh installs it)"
lintianStatus=0
findings=$(lintian --pedantic --info --fail-on error,warning --tag-display-limit 0 "$deb" 2>&1) ||
  lintianStatus=$?
[ -z "$findings" ] || echo "$findings" >&2
[ "$lintianStatus" -eq 0 ] || fail "lintian found errors or warnings in $deb (status $lintianStatus)"
hardening=$(grep -E '^[A-Z]: korvex: hardening-' <<<"$findings" || true)
[ -z "$hardening" ] || fail "binaries built without dpkg-buildflags' hardening: $hardening"
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
  usr/share/man/man1/korvex-cli.1.gz usr/share/man/man1/korvex.1.gz usr/share/man/man1/tamlo.1.gz
  usr/share/doc/korvex/copyright usr/share/doc/korvex/changelog.Debian.gz
  usr/share/mime/packages/korvex.xml
  usr/share/bash-completion/completions/korvex-cli usr/share/zsh/vendor-completions/_korvex-cli
)
for app in korvex tamlo; do
  expected+=(usr/share/applications/org.korvex.$app.desktop usr/share/metainfo/org.korvex.$app.metainfo.xml)
done
for icon in korvex tamlo; do
  expected+=(usr/share/icons/hicolor/scalable/apps/$icon.svg)
  for size in 16 22 24 32 48 64 128 256; do
    expected+=(usr/share/icons/hicolor/${size}x${size}/apps/$icon.png)
  done
done
for lang in ru en; do
  expected+=(usr/share/korvex/manual/$lang/index.html)
done
for f in "${expected[@]}"; do
  [ -s "$root/$f" ] || fail "$f is missing or empty"
done
# Every picture and page the manual points at is in the package beside it.
for lang in ru en; do
  page=$root/usr/share/korvex/manual/$lang/index.html
  for ref in $(grep -o -E '(src|href)="[^"#:]+"' "$page" | sed -E 's/^(src|href)="//; s/"$//'); do
    [ -s "$(dirname "$page")/$ref" ] || fail "the $lang manual points at $ref, which the package lacks"
  done
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
man1=$root/usr/share/man/man1
zcat "$man1/korvex-cli.1.gz" | grep -q '^\.TH KORVEX-CLI "1"' || fail "korvex-cli.1 has no manual page header"
for text in 'write\-sound' "EXIT STATUS" ".SH ENVIRONMENT" ".SH FILES" "KORVEX_PORT" "korvex-cli $version"; do
  zcat "$man1/korvex-cli.1.gz" | grep -qF "$text" || fail "korvex-cli.1 lacks '$text'"
done
# The installed completion offers the commands, and a command's options.
completion=$root/usr/share/bash-completion/completions/korvex-cli
offered() {
  bash -c 'source "$1"; shift; COMP_WORDS=(korvex-cli "$@"); COMP_CWORD=$#; _korvex_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    offered "$completion" "$@"
}
grep -qx write-config <<<"$(offered "")" || fail "the bash completion does not offer the commands: $(offered "")"
grep -qx -- --encoding <<<"$(offered read-log --)" || fail "the bash completion does not offer read-log's options"
command -v zsh >/dev/null || fail "zsh is not installed (scripts/install-deps.sh installs it)"
zsh -n "$root/usr/share/zsh/vendor-completions/_korvex-cli" || fail "zsh refuses _korvex-cli"

for program in korvex tamlo; do
  page=$(zcat "$man1/$program.1.gz")
  for text in "$program $version" '\-\-version' '\-\-help' file.rom FILES dialout XDG_DATA_HOME DEMO; do
    grep -qF -- "$text" <<<"$page" || fail "$program.1 lacks '$text'"
  done
done
copyright=$root/usr/share/doc/korvex/copyright
for text in "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" "License: Expat" \
  "Upstream-Contact: $maintainer"; do
  grep -qxF "$text" "$copyright" || fail "the copyright file lacks '$text'"
done
zcat "$root/usr/share/doc/korvex/changelog.Debian.gz" | head -1 | grep -qF "korvex ($debVersion) " ||
  fail "changelog.Debian.gz does not begin with version $debVersion"

# Project files of either kind: the program's marker, then zeros to the
# image's size; and one cut short.
projects=$root/projects
mkdir -p "$projects"
{ printf 'KORVEX GSM-DIAL\n'; head -c $((1120 - 16)) /dev/zero; } >"$projects/full.rom"
{ printf 'TAMLO GSM AUTODIALER\r\n4 ZONES CONFIGURATION MEMORY\r\nMAP REV 01\r\n'; head -c $((768 - 64)) /dev/zero; } \
  >"$projects/compact.rom"
head -c 100 "$projects/full.rom" >"$projects/short"
cp "$projects/full.rom" "$projects/full-backup"
cp "$projects/compact.rom" "$projects/compact-backup"

# The window programs end only when a user closes them: one still running after
# a few seconds has started; one that ended by then has failed. --help and
# --version answer and end.
home=$root/home
mkdir -p "$home"
inHome() { HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config QT_QPA_PLATFORM=offscreen "$@"; }
for program in korvex:full.rom tamlo:compact.rom; do
  project=$projects/${program#*:}
  program=${program%%:*}
  for args in "" "$project"; do
    status=0
    inHome timeout 5 "$bin/$program" ${args:+"$args"} >"$root/$program.out" 2>&1 || status=$?
    [ "$status" -eq 124 ] || fail "$program $args ended by itself (status $status): $(cat "$root/$program.out")"
  done
  [ "$(inHome "$bin/$program" --version 2>/dev/null)" = "$program $version" ] ||
    fail "$program --version: $(inHome "$bin/$program" --version 2>&1)"
  help=$(inHome "$bin/$program" --help 2>/dev/null) || fail "$program --help ended with status $?"
  grep -q -- "--version" <<<"$help" || fail "$program --help does not list its options: $help"
  status=0
  inHome "$bin/$program" --no-such-option >/dev/null 2>&1 || status=$?
  [ "$status" -eq 1 ] || fail "$program --no-such-option ended with status $status, not 1"
done

# The file types are told by content: marker and size, with or without the
# extension. (The types' cache is built in the scratch root, as the package's
# trigger builds it on a system.)
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  update-mime-database "$root/usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database refuses korvex.xml"
  typeOf() {
    XDG_DATA_DIRS=$root/usr/share:/usr/share XDG_DATA_HOME=$home/data \
      gio info -a standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
  }
  for case in full.rom:application/x-korvex-project compact.rom:application/x-tamlo-project \
    full-backup:application/x-korvex-project compact-backup:application/x-tamlo-project; do
    kind=$(typeOf "$projects/${case%%:*}")
    [ "$kind" = "${case#*:}" ] || fail "${case%%:*} is taken for $kind, not ${case#*:}"
  done
  kind=$(typeOf "$projects/short")
  [ "$kind" != application/x-korvex-project ] || fail "a 100-byte file is taken for a project"
  # A file manager opens each kind with its own program (the menu entries'
  # cache, as the package's trigger builds it).
  update-desktop-database "$root/usr/share/applications" || fail "update-desktop-database refuses the menu entries"
  for case in korvex:org.korvex.korvex.desktop tamlo:org.korvex.tamlo.desktop; do
    opener=$(PATH=$bin:$PATH XDG_DATA_DIRS=$root/usr/share XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config \
      gio mime "application/x-${case%%:*}-project" | sed -n 's/^Default application for .*: //p')
    [ "$opener" = "${case#*:}" ] || fail "application/x-${case%%:*}-project opens with '$opener', not ${case#*:}"
  done
else
  fail "update-mime-database or gio is missing (scripts/install-deps.sh installs them)"
fi

for app in korvex tamlo; do
  desktop=$root/usr/share/applications/org.korvex.$app.desktop
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "org.korvex.$app.desktop does not validate"
  fi
  exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -x "$bin/$exec_name" ] || fail "org.korvex.$app.desktop starts '$exec_name', which the package lacks"
  grep -qx "Exec=$exec_name %f" "$desktop" || fail "org.korvex.$app.desktop does not pass the file (%f)"
  mime=application/x-${exec_name}-project
  grep -qx "MimeType=$mime;" "$desktop" || fail "org.korvex.$app.desktop does not open $mime"
  grep -q "type=\"$mime\"" "$root/usr/share/mime/packages/korvex.xml" || fail "korvex.xml does not define $mime"
  icon_name=$(sed -n 's/^Icon=//p' "$desktop")
  [ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] ||
    fail "org.korvex.$app.desktop names the icon '$icon_name', which the package lacks"
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --pedantic --no-net "$root/usr/share/metainfo/org.korvex.$app.metainfo.xml" >&2 ||
      fail "org.korvex.$app.metainfo.xml does not validate"
  fi
done

echo "package check: $(basename "$deb") passed (lintian clean, ${#expected[@]} files, both programs started, korvex-cli ran)"
