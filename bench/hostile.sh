#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Each hostile picture file imported by the whole program (`pelorix --add`), with an earlier build
# beside this one: wall time, peak resident memory and what the program said. The worst of each
# column closes the table.
# Usage: bench/hostile.sh PICTURE_BENCH PELORIX [BEFORE_PELORIX]
set -euo pipefail
bench=$(realpath "$1")
now=$(realpath "$2")
before=${3:+$(realpath "$3")}
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
"$bench" --write-hostile "$files"

measure() {  # program file -> "seconds peakMB said"
  local into out
  into=$(mktemp -d)
  # Run in a folder of its own: the import lands in the working folder.
  out=$( { cd "$into" && /usr/bin/time -f '%e %M' "$1" --add "$2" 2>&1 | grep -av XDG_RUNTIME_DIR; } || true)
  rm -rf "$into"
  local said times
  # The program's own line names the file; the decoders' warnings may come before it.
  said=$(echo "$out" | grep -aF "$(basename "$2"): " | head -1 | sed 's/.*: //; s/; nothing added//; s/added as .*/added/')
  times=$(echo "$out" | tail -1)
  echo "$times $said"
}

echo "== importing each hostile file: seconds, peak MB, outcome"
worst_now=0; worst_before=0
for f in "$files"/*; do
  name=$(basename "$f")
  read -r t m said <<< "$(measure "$now" "$f")"
  line=$(printf '  %-28s now: %6.2f s %5d MB  %-22s' "$name" "$t" $((m / 1024)) "$said")
  worst_now=$(awk -v a="$worst_now" -v b="$t" 'BEGIN { print (b > a ? b : a) }')
  if [ -n "$before" ]; then
    read -r bt bm bsaid <<< "$(measure "$before" "$f")"
    line+=$(printf '  before: %6.2f s %5d MB  %s' "$bt" $((bm / 1024)) "$bsaid")
    worst_before=$(awk -v a="$worst_before" -v b="$bt" 'BEGIN { print (b > a ? b : a) }')
  fi
  echo "$line"
done
echo "  worst time: now $worst_now s${before:+, before $worst_before s}"
