#!/usr/bin/env bash
# Installs the Debian package (argument; default: what scripts/package.sh
# builds) into a bare Debian 12 chroot with apt, as a user would, and checks
# that what it holds works there: the three programs start, both window
# programs open a project file named on their command line (offscreen), and
# korvex-cli's bash completion offers its commands and options.
#
# The chroot is made once with debootstrap (minbase, from this machine's
# Debian mirror) under ${XDG_CACHE_HOME:-~/.cache}/korvex/bookworm-chroot and
# never changed afterwards: each run works on an overlay of it, held in
# memory and dropped at the end. Downloaded packages are kept beside it, so a
# later run fetches nothing again. Needs root (debootstrap, chroot, mounts).
# Prints "clean install: N passed, N failed" and exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

[ "$(id -u)" -eq 0 ] || { echo "clean install: needs root (debootstrap, chroot, mount)" >&2; exit 1; }
deb=${1:-}
if [ -z "$deb" ]; then
  deb=$(bash scripts/package.sh)
fi
[ -f "$deb" ] || { echo "clean install: no package $deb" >&2; exit 1; }
deb=$(realpath "$deb")
version=$(dpkg-deb -f "$deb" Version)
upstream=${version%-*}

cache=${XDG_CACHE_HOME:-$HOME/.cache}/korvex
base=$cache/bookworm-chroot
archives=$cache/bookworm-archives
mkdir -p "$cache" "$archives"
# One run at a time: two would make the chroot twice or share the archives.
exec 9>"$cache/lock"
flock 9

# The first URI of a "deb" source of this machine that serves the suite, in
# either sources format (only Debian's own mirror is reachable from here).
mirrorFor() {
  local suite=$1 f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -E 's/\[[^]]*\]//' "$f" | awk -v s="$suite" '$1 == "deb" && $3 == s { print $2; exit }'
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk -v s="$suite" 'BEGIN { RS = "" }
      { uri = ""; deb = 0; served = 0; n = split($0, line, "\n")
        for (i = 1; i <= n; i++) {
          m = split(line[i], w, /[ \t]+/)
          if (w[1] == "Types:") for (j = 2; j <= m; j++) if (w[j] == "deb") deb = 1
          if (w[1] == "URIs:") uri = w[2]
          if (w[1] == "Suites:") for (j = 2; j <= m; j++) if (w[j] == s) served = 1
        }
        if (deb && served && uri != "") { print uri; exit } }' "$f"
  done
}
mirror=${KORVEX_DEBIAN_MIRROR:-$(mirrorFor bookworm | head -1)}
security=$(mirrorFor bookworm-security | head -1)
[ -n "$mirror" ] || { echo "clean install: no bookworm mirror in /etc/apt/sources.list*" >&2; exit 1; }

# Whatever is still mounted at or under a folder (deepest first).
mountsUnder() { findmnt -rn -o TARGET | awk -v d="$1" '$0 == d || index($0, d "/") == 1' | sort -r; }
unmountAll() {
  local m
  while read -r m; do
    [ -n "$m" ] && { umount "$m" 2>/dev/null || umount -l "$m"; }
  done < <(mountsUnder "$1")
}
# Removes a folder only once nothing is mounted in it: a bind mount left
# there would have its source deleted with it.
removeTree() {
  unmountAll "$1"
  [ -z "$(mountsUnder "$1")" ] || { echo "clean install: $1 is still mounted, left in place" >&2; return 1; }
  rm -rf --one-file-system "$1"
}

if [ ! -x "$base/usr/bin/apt-get" ]; then
  command -v debootstrap >/dev/null ||
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null; }
  echo "clean install: making the Debian 12 chroot from $mirror (once)" >&2
  madeAt=$SECONDS
  # Made aside and moved in place when complete, so a broken one is never reused.
  [ ! -e "$base.new" ] || removeTree "$base.new"
  nice debootstrap --variant=minbase bookworm "$base.new" "$mirror" >"$cache/debootstrap.log" 2>&1 || {
    tail -20 "$cache/debootstrap.log" >&2
    unmountAll "$base.new"
    echo "clean install: debootstrap failed (log: $cache/debootstrap.log)" >&2
    exit 1
  }
  unmountAll "$base.new"
  # A released Debian 12: its updates and security suites too, where the
  # host's libraries (which the package's Depends come from) may be from.
  {
    printf 'Types: deb\nURIs: %s\nSuites: bookworm bookworm-updates\nComponents: main\n' "$mirror"
    printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n'
    if [ -n "$security" ]; then
      printf '\nTypes: deb\nURIs: %s\nSuites: bookworm-security\nComponents: main\n' "$security"
      printf 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg\n'
    fi
  } >"$base.new/etc/apt/sources.list.d/debian.sources"
  rm -f "$base.new/etc/apt/sources.list"
  # The mirror as this machine reads it: a frozen snapshot's Release files
  # are past their Valid-Until date.
  apt-config dump | grep -E '^Acquire::Check-(Valid-Until|Date) ' >"$base.new/etc/apt/apt.conf.d/50mirror" || true
  mv "$base.new" "$base"
  echo "clean install: chroot made in $((SECONDS - madeAt)) s" >&2
fi

# This run's root: the chroot seen through an overlay whose changes live in
# memory and are dropped at the end, so the chroot stays as debootstrap made
# it (and nothing is left to delete on disk).
run=$(mktemp -d "$cache/run.XXXXXX")
root=$run/root
pids=()
# shellcheck disable=SC2317 # called by the trap
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  removeTree "$run" || true
}
trap cleanup EXIT
mount -t tmpfs -o size=4g,mode=700 run "$run"
mkdir -p "$run/upper" "$run/work" "$root"
mount -t overlay overlay -o "lowerdir=$base,upperdir=$run/upper,workdir=$run/work" "$root"
mount -t proc proc "$root/proc"
# A /dev of its own with only the common nodes: no serial device is there
# for anything to open.
mount -t tmpfs -o mode=755,nosuid dev "$root/dev"
for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
  IFS=: read -r name major minor <<<"$node"
  mknod -m 666 "$root/dev/$name" c "$major" "$minor"
done
mkdir -p "$root/dev/shm" "$root/dev/pts"
ln -s /proc/self/fd "$root/dev/fd"
for fd in stdin:0 stdout:1 stderr:2; do ln -s "/proc/self/fd/${fd#*:}" "$root/dev/${fd%%:*}"; done
mount --bind "$archives" "$root/var/cache/apt/archives"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# No service of a package installed here is started.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
cp "$deb" "$root/tmp/"

# Runs a command in the chroot with a bare environment.
bareEnv=(PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 TERM=dumb
  XDG_RUNTIME_DIR=/tmp/runtime-root DEBIAN_FRONTEND=noninteractive)
inRoot() { chroot "$root" /usr/bin/env -i "${bareEnv[@]}" "$@"; }
passed=0
failed=0
pass() { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }
finish() {
  echo "clean install: $((SECONDS - started)) s"
  echo "clean install: $passed passed, $failed failed"
  exit $((failed > 0))
}
log=$run/out

# The root is thrown away: dpkg need not sync every file it unpacks.
unsafeIo=-oDpkg::Options::=--force-unsafe-io
# The package's Depends alone, resolved from the mirror: without the
# Recommends, so a library missing from Depends shows here.
if inRoot apt-get update -qq >"$log" 2>&1 &&
  inRoot sh -c "cd /tmp && apt-get install -y -qq --no-install-recommends $unsafeIo ./${deb##*/}" >"$log" 2>&1; then
  pass "apt-get install ./$(basename "$deb") (Depends only)"
else
  fail "apt-get install ./$(basename "$deb"): $(tail -15 "$log")"
  finish
fi
for program in korvex tamlo korvex-cli; do
  if inRoot ldd "/usr/bin/$program" >"$log" 2>&1 && ! grep -q "not found" "$log"; then
    pass "$program finds its libraries"
  else
    fail "$program lacks libraries: $(grep "not found" "$log")"
  fi
done

# Asks and checks: the output must hold the text (fixed string).
answers() {
  local text=$1
  shift
  if inRoot "$@" >"$log" 2>&1 && grep -qF -- "$text" "$log"; then
    pass "$*"
  else
    fail "$* (wanted '$text'): $(head -5 "$log")"
  fi
}
offscreen=(QT_QPA_PLATFORM=offscreen)
answers write-config korvex-cli --help
answers "korvex-cli $upstream" korvex-cli --version
answers --version env "${offscreen[@]}" korvex --help
answers "tamlo $upstream" env "${offscreen[@]}" tamlo --version

# A project of each kind, read from korvex-cli's demo module, and one
# program opening its own. The programs tell nothing on the terminal; what
# shows that a file was opened is the folder they remember once a project
# loaded (lastFolder, written only then), awaited while the program runs.
mkdir -p "$root/root/projects/korvex" "$root/root/projects/tamlo"
for kind in korvex: tamlo:--compact; do
  program=${kind%%:*}
  flag=${kind#*:}
  project=/root/projects/$program/site.rom
  if inRoot korvex-cli ${flag:+"$flag"} --port demo read-config -o "$project" >"$log" 2>&1 &&
    inRoot korvex-cli ${flag:+"$flag"} show "$project" >"$log" 2>&1; then
    pass "korvex-cli ${flag:+$flag }--port demo read-config -o $project"
  else
    fail "korvex-cli ${flag:+$flag }--port demo read-config: $(head -5 "$log")"
    continue
  fi
  settings=$root/root/.config/$program/$program.conf
  # exec: $! is the program itself, the one to stop.
  { exec chroot "$root" /usr/bin/env -i "${bareEnv[@]}" "${offscreen[@]}" "$program" "$project"; } \
    >"$run/$program.out" 2>&1 &
  pid=$!
  pids=("$pid")
  opened=""
  for _ in $(seq 600); do
    grep -qxF "lastFolder=/root/projects/$program" "$settings" 2>/dev/null && { opened=yes; break; }
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$opened" ] && kill -0 "$pid" 2>/dev/null; then
    pass "$program $project opened it (offscreen) and runs on"
  elif [ -n "$opened" ]; then
    fail "$program $project opened it but then ended: $(head -5 "$run/$program.out")"
  elif kill -0 "$pid" 2>/dev/null; then
    fail "$program $project runs but did not open it within 60 s: $(head -5 "$run/$program.out")"
  else
    fail "$program $project ended without opening it: $(head -5 "$run/$program.out")"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  pids=()
done

# The completion file as the package installs it: sourced by a bare bash
# (no bash-completion helpers), then found by bash-completion's own loader,
# as an interactive shell finds it on the first Tab.
# shellcheck disable=SC2016 # expanded by the bash in the chroot
complete='COMP_WORDS=(korvex-cli "$@"); COMP_CWORD=$#; COMPREPLY=(); "$fn"; printf "%s\n" "${COMPREPLY[@]}"'
bare="source /usr/share/bash-completion/completions/korvex-cli; fn=_korvex_cli; $complete"
loaded="source /usr/share/bash-completion/bash_completion; _completion_loader korvex-cli
fn=\$(complete -p korvex-cli | sed -n 's/.*-F \\([^ ]*\\).*/\\1/p'); $complete"
offers() {
  local how=$1 script=$2
  shift 2
  local words=("$@") want
  want=${words[-1]}
  unset 'words[-1]'
  if inRoot bash -c "$script" complete "${words[@]}" >"$log" 2>&1 && grep -qx -- "$want" "$log"; then
    pass "$how completion of 'korvex-cli ${words[*]}' offers $want"
  else
    fail "$how completion of 'korvex-cli ${words[*]}' does not offer $want: $(head -c 300 "$log")"
  fi
}
for how in bare loaded; do
  if [ "$how" = loaded ] &&
    ! inRoot apt-get install -y -qq --no-install-recommends "$unsafeIo" bash-completion >"$log" 2>&1; then
    fail "apt-get install bash-completion: $(tail -5 "$log")"
    continue
  fi
  script=$bare
  [ "$how" = bare ] || script=$loaded
  for word in write-config read-log build; do offers "$how" "$script" "" "$word"; done
  for option in --encoding --csv --json; do offers "$how" "$script" read-log -- "$option"; done
done

finish
