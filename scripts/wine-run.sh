#!/usr/bin/env bash
# The only way this project runs Wine. At start Wine maps COM1..COMn onto
# /dev/ttyS*, and /dev/ttyS0 is the system console on the build machines, so
# every Wine program runs in a mount namespace of its own in which each
# serial device is /dev/null, with a throwaway Wine prefix removed afterwards.
#
#   bash scripts/wine-run.sh COMMAND [ARGS...]
#
# runs COMMAND (a script that calls `wine` as often as it needs, or a single
# `wine prog.exe ...`) in that namespace and prefix and returns its exit
# status. Nothing runs when a bind mount fails. Inside, KORVEX_WINE_JAIL holds
# the prefix; scripts that call wine refuse to run without it.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 COMMAND [ARGS...]" >&2
  exit 64
fi

if [ "$1" != "--in-namespace" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "wine-run: a mount namespace needs root" >&2
    exit 70
  fi
  # Private propagation: no mount made inside ever reaches the host. The
  # namespace we leave goes along, so that the inside can prove it is
  # elsewhere.
  outer=$(readlink /proc/self/ns/mnt) || { echo "wine-run: cannot read the mount namespace" >&2; exit 70; }
  exec env KORVEX_WINE_OUTER_NS="$outer" unshare --mount --propagation private -- bash "$0" --in-namespace "$@"
fi
shift

fail() {
  echo "wine-run: $*; Wine not started" >&2
  exit 70
}

# Called directly with --in-namespace, the script would bind over the host's
# devices: it must be in a mount namespace other than the one it started in.
# unshare ran us, so our parent still lives in the outer namespace.
inner=$(readlink /proc/self/ns/mnt) || fail "cannot read the mount namespace"
parent=$(readlink "/proc/$PPID/ns/mnt") || fail "cannot read the parent's mount namespace"
[ -n "${KORVEX_WINE_OUTER_NS:-}" ] && [ -n "$inner" ] && [ "$inner" != "$KORVEX_WINE_OUTER_NS" ] &&
  [ "$inner" != "$parent" ] || fail "not in a mount namespace of its own"
# The host's namespace stays known inside, so every Wine call can check it is elsewhere.
export KORVEX_WINE_HOST_NS="$KORVEX_WINE_OUTER_NS"
unset KORVEX_WINE_OUTER_NS
mount --make-rprivate / || fail "cannot make the mounts private"

# Every device node Wine could take for a serial port, and the console,
# which on these machines is a serial line too.
devices=()
for dev in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM* /dev/console; do
  [ -e "$dev" ] && devices+=("$dev")
done
for dev in "${devices[@]}"; do
  mount --bind /dev/null "$dev" || fail "cannot bind /dev/null over $dev"
done
# Checked after binding: each must now be /dev/null's character device 1,3.
for dev in "${devices[@]}"; do
  kind=$(stat -L -c '%F %t:%T' "$dev") || fail "cannot check $dev"
  [ "$kind" = "character special file 1:3" ] || fail "$dev is still $kind"
done

jail=$(mktemp -d /tmp/korvex-wine.XXXXXX)
cleanup() {
  # The server outlives the last program by a few seconds: end it before
  # its prefix goes.
  WINEPREFIX="$jail/prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$jail/prefix" wineserver -w 2>/dev/null || true
  rm -rf "$jail"
}
trap cleanup EXIT
mkdir -p "$jail/home"

export WINEPREFIX="$jail/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer prompts, no menu entries in anybody's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$jail/home" XDG_DATA_HOME="$jail/home/.local/share" XDG_CONFIG_HOME="$jail/home/.config"
unset DISPLAY WAYLAND_DISPLAY
export KORVEX_WINE_JAIL="$WINEPREFIX"
status=0
"$@" || status=$?
exit "$status"
