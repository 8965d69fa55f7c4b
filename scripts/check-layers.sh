#!/usr/bin/env bash
# Fails on an include that points up the layers, or sideways between the three
# programs, and on a Qt header in the core. The order is docs/architecture.md's.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder:level, bottom first. Folders on one level may not include each other.
layers=(link:0 model:1 voice:2 log:3 sim:4 report:4 audio:5 ftdi:5 app:6 widgets:7 pages:8 korvex:9 tamlo:9 cli:9)
core_top=4
# Folders above the core that stay without Qt all the same.
no_qt=(audio ftdi cli)

declare -A level
for entry in "${layers[@]}"; do level[${entry%%:*}]=${entry##*:}; done

faults=0
for entry in "${layers[@]}"; do
  folder=${entry%%:*}
  own=${level[$folder]}
  [ -d "$folder" ] || continue
  while IFS= read -r -d '' file; do
    while IFS=: read -r line text; do
      if [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([a-z_]+)/ ]]; then
        target=${BASH_REMATCH[1]}
        [ "$target" = "$folder" ] && continue
        if [ -z "${level[$target]+set}" ]; then
          echo "$file:$line: includes from $target/, which has no layer" >&2
          faults=$((faults + 1))
        elif [ "${level[$target]}" -ge "$own" ]; then
          echo "$file:$line: $folder/ (layer $own) includes $target/ (layer ${level[$target]})" >&2
          faults=$((faults + 1))
        fi
      elif { [ "$own" -le "$core_top" ] || [[ " ${no_qt[*]} " == *" $folder "* ]]; } && [[ $text =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\<Q ]]; then
        echo "$file:$line: $folder/ includes a Qt header, and stays without Qt" >&2
        faults=$((faults + 1))
      fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \) -print0)
done

if [ "$faults" -gt 0 ]; then
  echo "layers: $faults include(s) against the layer order" >&2
  exit 1
fi
echo "layers: no include points up"
