#!/usr/bin/env bash
# Windows: builds the core, its tests, korvex-cli.exe, korvex.exe, tamlo.exe
# and the Qt test program with MinGW-w64 against Qt built for MinGW-w64
# (scripts/qt-windows.sh), runs the core tests under Wine, runs
# korvex-cli.exe against simulated modules with drive-letter, backslash and
# Cyrillic paths, comparing exit statuses, printed output and every file
# written byte for byte with the Linux build, runs the Qt tests under Wine on
# a virtual X display (Xvfb) with Qt's windows platform plugin, and builds
# the NSIS installer (not yet run here). Every Wine run goes through scripts/wine-run.sh
# (a mount namespace without serial devices, a throwaway prefix). Ends with
# "ui: N passed, N failed" for the Qt tests and "windows: N passed, N failed"
# for the rest, and exits non-zero on any failure. Leaves the release
# artefacts in build-windows/: korvex-windows-x64.zip (both programs,
# korvex-cli, the DLLs, plugins and translations), korvex-setup-VERSION.exe
# and korvex-cli-windows-x64.zip (the tool and its C++ runtime).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
win=$root/build-windows

if [ "${1:-}" != "--under-wine" ]; then
  # Qt's host tools and its translations; Xvfb, Wine's Tahoma stand-in and
  # the X tools that find, drive and grab the programs' windows; NSIS.
  packages=(g++-mingw-w64-x86-64-posix wine wine64 googletest libcli11-dev nlohmann-json3-dev cmake ninja-build
    qt6-base-dev qt6-base-dev-tools qt6-translations-l10n xvfb fonts-wine x11-apps x11-utils xdotool netpbm nsis)
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
  jobs=$(nproc)
  toolchain=$root/cmake/mingw-w64-x86_64.cmake

  # GoogleTest cross-built from Debian's sources; CLI11 and nlohmann-json
  # are headers, copied with their CMake files so nothing else of /usr is
  # in sight of the Windows build.
  deps=$win/deps
  if [ ! -f "$deps/lib/cmake/GTest/GTestConfig.cmake" ]; then
    cmake -S /usr/src/googletest -B "$win/gtest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" >/dev/null
    cmake --build "$win/gtest" -j "$jobs" >/dev/null
    cmake --install "$win/gtest" >/dev/null
  fi
  mkdir -p "$deps/include" "$deps/share/cmake"
  cp -r /usr/include/CLI /usr/include/nlohmann "$deps/include/"
  cp -r /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$deps/share/cmake/"

  qt=$(bash scripts/qt-windows.sh)
  echo "Qt for Windows: $qt"
  cmake -S . -B "$win/korvex" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DKORVEX_WINDOWS_DEPS="$deps" \
    -DKORVEX_WINDOWS_QT="$qt" -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_BUILD_TYPE=Release -DKORVEX_BUILD_BENCH=OFF >/dev/null
  cmake --build "$win/korvex" -j "$jobs"
  rm -rf "$win/install" "$win"/korvex-*.zip "$win"/korvex-setup-*.exe
  cmake --install "$win/korvex" --prefix "$win/install" >/dev/null
  runtime=(libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  (cd "$win/install" && cmake -E tar cf "$win/korvex-cli-windows-x64.zip" --format=zip korvex-cli.exe "${runtime[@]}")
  (cd "$win/install" && cmake -E tar cf "$win/korvex-windows-x64.zip" --format=zip -- *)
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/korvex/CMakeCache.txt")
  makensis -V2 -DVERSION="$version" -DSOURCE="$win/install" -DOUTFILE="$win/korvex-setup-$version.exe" \
    packaging/korvex.nsi
  # The test programs find Qt's DLLs (and through them its plugins) and
  # MinGW's runtime where they lie, as Wine's PATH.
  winepath="Z:$qt/bin"
  for dll in "${runtime[@]}"; do
    winepath="$winepath;Z:$(dirname "$(realpath "$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")")")"
  done
  export KORVEX_WINDOWS_PATH=$winepath KORVEX_WINDOWS_VERSION=$version

  # The Linux tool the Windows one is compared with.
  if [ ! -x build/korvex-cli ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$jobs" --target korvex-cli
  fi
  exec bash scripts/wine-run.sh bash "$0" --under-wine
fi

# ---- Inside the wrapper's namespace from here on. ----
if [ -z "${KORVEX_WINE_JAIL:-}" ]; then
  echo "windows.sh: --under-wine runs only inside scripts/wine-run.sh" >&2
  exit 70
fi
# Every Wine call goes through this: it runs only in the wrapper's own mount
# namespace, with every serial device and the console bound to /dev/null.
isolated() {
  local ns dev
  ns=$(readlink /proc/self/ns/mnt) || { echo "windows.sh: cannot read the mount namespace" >&2; exit 70; }
  [ -n "${KORVEX_WINE_HOST_NS:-}" ] && [ "$ns" != "$KORVEX_WINE_HOST_NS" ] ||
    { echo "windows.sh: not in the wrapper's mount namespace; Wine not started" >&2; exit 70; }
  for dev in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* /dev/console; do
    [ -e "$dev" ] || continue
    [ "$(stat -L -c '%t:%T' "$dev")" = "1:3" ] || { echo "windows.sh: $dev is not blanked; Wine not started" >&2; exit 70; }
  done
  "$@"
}
isolated true

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

start=$(date +%s)
isolated wineboot -i >/dev/null 2>&1
echo "Wine prefix ready in $(( $(date +%s) - start )) s"

export WINEPATH=$KORVEX_WINDOWS_PATH

# ---- The core tests. ----
for exe in "$win"/korvex/test_*.exe; do
  name=$(basename "$exe" .exe)
  [ "$name" != test_ui ] || continue
  log=$win/$name.log
  set +e
  isolated wine "$exe" --gtest_color=no >"$log" 2>&1
  status=$?
  set -e
  ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?.*/\1/p' "$log" | tail -1)
  bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$log" | tail -1)
  passed=$((passed + ${ok:-0}))
  failed=$((failed + ${bad:-0}))
  if [ "$status" -ne 0 ] && [ -z "$bad" ]; then fail "$name ended with status $status"; fi
  [ -z "$bad" ] || { grep '^\[  FAILED  \] [A-Za-z]' "$log" | sort -u; }
  echo "$name: ${ok:-0} passed, ${bad:-0} failed (status $status)"
done

# ---- korvex-cli.exe against the Linux korvex-cli. ----
# Each world has its own folder holding the same inputs; Windows reaches
# its folder as drive D: with backslashes.
work=$(mktemp -d /tmp/korvex-win-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
lin=$work/linux
wnd=$work/windows
for w in "$lin" "$wnd"; do
  mkdir -p "$w/Папка" "$w/Данные"
  cat >"$w/Папка/объект.json" <<'JSON'
{"phones": ["+79161234567", "-", "-", "-", "-", "-", "-", "-"],
 "texts": ["Тревога зона 1", "Alarm zone 2", "", "", "", ""],
 "cyrillic": [true, false, false, false, false, false],
 "objectName": "Warehouse 7", "autodialCycles": 5}
JSON
  # An 8-bit mono 22050 Hz WAV file: a short saw tooth.
  python3 - "$w/звук.wav" <<'PY'
import struct, sys
samples = bytes((i * 7) % 256 for i in range(4000))
header = b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVEfmt " + struct.pack("<IHHIIHH", 16, 1, 1, 22050, 22050, 1, 8)
open(sys.argv[1], "wb").write(header + b"data" + struct.pack("<I", len(samples)) + samples)
PY
  head -c 100 /dev/zero >"$w/Папка/короткий.rom"
done
ln -s "$wnd" "$WINEPREFIX/dosdevices/d:"
cli_linux=$root/build/korvex-cli
cli_windows=$win/korvex/korvex-cli.exe

# run NAME -- ARGS: ARGS name files as @/rel/path, which becomes the Linux
# path in one world and D:\rel\path in the other; output goes to NAME.out
# and NAME.err in each world.
to_linux() { local a=$1; [ "${a#*@}" != "$a" ] && a="${a%%@*}$lin/${a#*@}"; printf '%s' "$a"; }
to_windows() {
  local a=$1
  if [ "${a#*@}" != "$a" ]; then
    local rel=${a#*@}
    a="${a%%@*}D:\\${rel//\//\\}"
  fi
  printf '%s' "$a"
}
run() {
  local name=$1
  shift
  local largs=() wargs=() a
  for a in "$@"; do largs+=("$(to_linux "$a")"); wargs+=("$(to_windows "$a")"); done
  set +e
  (cd "$lin" && HOME="$lin" XDG_DATA_HOME="$lin/Данные" "$cli_linux" "${largs[@]}" >"$lin/$name.out" 2>"$lin/$name.err")
  lstatus=$?
  (cd "$wnd" && isolated wine "$cli_windows" "${wargs[@]}" >"$wnd/$name.out" 2>"$wnd/$name.err")
  wstatus=$?
  set -e
  if [ "$lstatus" -eq "$wstatus" ]; then pass; else fail "$name: exit status $wstatus on Windows, $lstatus on Linux: $(cat "$wnd/$name.err")"; fi
}
# same NAME STATUS FILE...: the expected status, then files identical in both worlds.
same() {
  local name=$1 want=$2 f
  shift 2
  if [ "$lstatus" -eq "$want" ]; then pass; else fail "$name: status $lstatus, expected $want: $(cat "$lin/$name.err")"; fi
  for f in "$@"; do
    case $f in
      # Printed text: a Windows console program ends its lines with CR LF.
      *.out) if tr -d '\r' <"$wnd/$f" | cmp -s "$lin/$f" -; then pass; else fail "$name: $f differs"; fi ;;
      *) if [ -f "$lin/$f" ] && cmp -s "$lin/$f" "$wnd/$f"; then pass; else fail "$name: $f differs"; fi ;;
    esac
  done
}

run build build @Папка/объект.json -o @Папка/проект.rom --date 2026-01-15
same build 0 Папка/проект.rom
run show show @Папка/проект.rom --json
same show 0 show.out
run demo-log --port demo read-log --csv @журнал.csv
same demo-log 0 журнал.csv
# Wine sets LOCALAPPDATA itself: the Windows demo module is in the prefix.
demo_windows=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/korvex/demo-full.bin' | head -1)
if [ -n "$demo_windows" ] && cmp -s "$demo_windows" "$lin/Данные/korvex/demo-full.bin"; then pass; else
  fail "demo-log: the demo module's file differs"; fi
run demo-listing --port demo read-log --show-codes
same demo-listing 0 demo-listing.out
run demo-json --port demo read-log --json
same demo-json 0 demo-json.out
# A CSV on standard output is the file's bytes, CR LF and all, in either encoding.
for encoding in cp1251 utf-8; do
  run demo-csv-$encoding --port demo read-log --csv - --encoding $encoding
  same demo-csv-$encoding 0
  if cmp -s "$lin/demo-csv-$encoding.out" "$wnd/demo-csv-$encoding.out"; then pass; else
    fail "demo-csv-$encoding: standard output differs"; fi
done
run demo-read --port demo read-config -o @демо.rom
same demo-read 0 демо.rom
run demo-show show @демо.rom
same demo-show 0 demo-show.out
# A working module for the commands below: the demo module's memory.
cp "$lin/Данные/korvex/demo-full.bin" "$lin/Папка/модуль.bin"
cp "$lin/Данные/korvex/demo-full.bin" "$wnd/Папка/модуль.bin"
run write-config --port sim:@Папка/модуль.bin write-config @Папка/проект.rom
same write-config 0 Папка/модуль.bin
run read-config --port sim:@Папка/модуль.bin read-config -o @Папка/копия.rom
same read-config 0 Папка/копия.rom
run identify --port sim:@Папка/модуль.bin --trace @Папка/трасса.txt identify
same identify 0 identify.out Папка/трасса.txt
run write-sound --port sim:@Папка/модуль.bin write-sound --slot 1 @звук.wav
same write-sound 0 Папка/модуль.bin
run read-sound --port sim:@Папка/модуль.bin read-sound -d @Папка/Звуки
same read-sound 0 Папка/Звуки/slot1.wav Папка/Звуки/slot6.wav
# --json: the same objects in both worlds (files named relatively, as for diff).
run identify-json --port sim:@Папка/модуль.bin identify --json
same identify-json 0 identify-json.out
run probe-json --port sim:@Папка/модуль.bin --sim-port ftdi probe --json
same probe-json 0 probe-json.out
run write-config-json --port sim:@Папка/модуль.bin write-config Папка/проект.rom --json
same write-config-json 0 write-config-json.out Папка/модуль.bin
run write-sound-json --port sim:@Папка/модуль.bin write-sound --slot 2 звук.wav --json
same write-sound-json 0 write-sound-json.out Папка/модуль.bin
run compact --compact --port demo read-config -o @компакт.rom
same compact 0 компакт.rom
# diff prints the names it was given: relative ones read the same in both worlds.
run diff-files diff Папка/проект.rom демо.rom
same diff-files 5 diff-files.out
run diff-json diff Папка/проект.rom демо.rom --json
same diff-json 5 diff-json.out
run diff-module --port sim:@Папка/модуль.bin diff @Папка/копия.rom
same diff-module 0 diff-module.out
run report report @Папка/проект.rom -o @Папка/отчёт.html
same report 0 Папка/отчёт.html
# Failures: the same statuses, and files left as they were.
run missing show @Папка/нет.rom
same missing 4
run short write-config --port sim:@Папка/модуль.bin @Папка/короткий.rom
same short 4 Папка/модуль.bin
run absent --port sim:@Папка/модуль.bin --sim-fault absent identify
same absent 2
run pulled --port sim:@Папка/модуль.bin --sim-fault pull:40 read-config -o @Папка/оборвано.rom
same pulled 2
run no-folder build @Папка/объект.json -o @Нет/проект.rom --date 2026-01-15
same no-folder 4
# A pulled cable speaks of a device, not of access.
if grep -q "Ошибка порта" "$wnd/pulled.err" && ! grep -qi "access" "$wnd/pulled.err"; then pass; else
  fail "pulled: $(cat "$wnd/pulled.err")"; fi
# Messages name Cyrillic files in UTF-8.
if grep -q 'D:\\Папка\\нет.rom' "$wnd/missing.err"; then pass; else fail "missing: $(cat "$wnd/missing.err")"; fi

# A console: output to a terminal goes through the wide console call, so
# Cyrillic reaches the terminal as the Linux build prints it. `script` gives
# Wine a pseudo-terminal; its cursor codes and CR are taken out before the
# comparison.
console() {
  local name=$1 command=$2
  (cd "$wnd" && LANG=C.UTF-8 isolated script -qec "$command" /dev/null >"$wnd/$name.raw" 2>&1) || true
  sed -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\r//g' "$wnd/$name.raw" >"$wnd/$name.txt"
}
console console-show "wine '$cli_windows' show 'D:\\Папка\\проект.rom' --json"
if cmp -s "$lin/show.out" "$wnd/console-show.txt"; then pass; else
  fail "console-show: the terminal shows $(grep -m1 texts "$wnd/console-show.txt")"; fi
console console-missing "wine '$cli_windows' show 'D:\\Папка\\нет.rom'"
if cmp -s <(tr -d '\r' <"$wnd/missing.err") "$wnd/console-missing.txt"; then pass; else
  fail "console-missing: the terminal shows $(cat "$wnd/console-missing.txt")"; fi

# ---- The Qt programs: a virtual X display, Qt's windows platform plugin. ----
# Wine hands a Windows program none of the variables whose names begin with
# QT_ (QT_QPA_PLATFORM set here never arrives), and the offscreen plugin in
# a Windows program finds no fonts under Wine: so the programs draw on Xvfb
# through the windows plugin, chosen with -platform where it is not Qt's own
# default.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
until [ -s "$work/display" ]; do
  kill -0 "$xvfb" 2>/dev/null || { echo "windows.sh: Xvfb did not start: $(cat "$work/xvfb.log")" >&2; exit 1; }
  sleep 0.1
done
export DISPLAY=:$(cat "$work/display")

# ---- The Qt tests. ----
# Left out under Wine, each for its reason:
ui_excluded=(
  # Sound conversion and speech: libsndfile, libsoxr and espeak-ng are not in
  # the Windows build.
  FilePageTest.WavFilesOutsideTheModulesFormatAreConvertedOrRefused
  FilePageTest.AConvertedFileGoesToTheRateChosen
  FilePageTest.SpokenTextGoesIntoTheChosenSlot
  TamloCycle.OtherFormatsAndSpokenTextAreConvertedTo22050
  TamloCycle.RefusedSoundFilesAreNamedInTheCompactWords
  # Without libsndfile nothing tells a sound file from other data: such a file
  # gets "Преобразование звука недоступно в этой сборке" instead.
  FilePageTest.AFileThatIsNotSoundIsRefusedByNameBeforeAnyQuestion
  # They expect the POSIX words for a pulled cable (EIO); Windows tells
  # ERROR_DEVICE_NOT_CONNECTED.
  FilePageTest.APortFailureDuringAReadIsReportedAndTheProgramGoesOn
  LogPageTest.FailedTransfersKeepTheList
  'EveryTransfer/*Cut.APulledCableSaysWhatAWriteMayHaveLeft/*'
  # A port typed as /dev/null, and POSIX paths on the command line.
  'KorvexTypedPort.*'
  'TamloTypedPort.*'
  StartCommand.ReadsTheFileTheHelpAndTheVersion
  # A file name holding "*", which a Windows file name cannot.
  'UnsavedEdits/*.AFileNameIsShownAsItIs'
  # A save made to fail inside /proc: Windows has none, and the dialog waits.
  FileDialogFolder.OnlyAFileUsedMovesTheStartingFolder
  # Sizes measured with the Linux fonts and style: under Wine the Tahoma
  # stand-in and the windowsvista style lay the controls out otherwise.
  'WindowLayout/*'
  TamloLayout.TheSoundGroupKeepsItsWidthAsTheFreeMemoryTextChanges
  ImageButton.ShowsTheBitmapCentredAndGreyWhenDisabled
  # They remove the module's folder while its lock file is open, which
  # Windows refuses (a sharing violation).
  'KorvexUnkeptModule.*'
  'TamloUnkeptModule.*'
  'Window/*ClosePort.StoresTheModuleOrTellsWhyNot/*FolderGone'
  # A 50 ms bound on the window's answer: Wine's event loop takes longer.
  KorvexBackground.TheWindowAnswersAtOnceWhileATransferRuns
)
filter=$(IFS=:; echo "${ui_excluded[*]}")
set +e
isolated timeout 1800 wine "$win/korvex/test_ui.exe" -platform windows --gtest_color=no \
  ${filter:+"--gtest_filter=-$filter"} >"$win/test_ui.log" 2>&1
status=$?
set -e
ui_ok=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?.*/\1/p' "$win/test_ui.log" | tail -1)
ui_bad=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?, listed below.*/\1/p' "$win/test_ui.log" | tail -1)
[ -z "$ui_bad" ] || grep '^\[  FAILED  \] [A-Za-z]' "$win/test_ui.log" | sort -u
if [ "$status" -ne 0 ] && [ -z "$ui_bad" ]; then
  echo "FAILED: test_ui ended with status $status"
  ui_bad=1
fi

echo "ui: ${ui_ok:-0} passed, ${ui_bad:-0} failed"
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "${ui_bad:-0}" -eq 0 ]
