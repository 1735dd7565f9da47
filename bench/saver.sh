#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whole-process measures of the screen-saver module under Xvfb on a 1280 x 800 screen: CPU share of
# the saver plus the X server with the stored animation pace Fast and Slow, the time from SIGTERM
# to exit, and resident memory over a long run (one line every 30 s).
# Usage: bench/saver.sh [path/to/pelorix]
#   SAVER_CPU_SECONDS  seconds measured per pace (default 60)
#   SAVER_SOAK_SECONDS length of the memory run (default 600; 0 skips it)
# Needs xvfb and x11-utils.
set -euo pipefail

exe=$(realpath "${1:-build/pelorix}")
here=$(cd "$(dirname "$0")/.." && pwd)
cpu_seconds=${SAVER_CPU_SECONDS:-60}
soak_seconds=${SAVER_SOAK_SECONDS:-600}

work=$(mktemp -d)
xpid=""
spid=""
cleanup() {
  [ -n "$spid" ] && kill "$spid" 2>/dev/null || true
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# An X server of our own, so that its CPU time can be read too.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & xpid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')

# One folder of animated pictures only, one of still pictures only, and one of both.
mkdir "$work/animated" "$work/regular" "$work/both"
cp "$here"/assets/samples/*.animation_picture "$work/animated/"
cp "$here"/assets/samples/*.regular_picture "$work/regular/"
cp "$here"/assets/samples/* "$work/both/"

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_mb() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
share() { awk -v a="$1" -v b="$2" -v s="$3" -v hz="$hz" 'BEGIN { printf "%5.1f%%", 100 * (b - a) / hz / s }'; }

# start_saver FOLDER
start_saver() {
  XSCREENSAVER_WINDOW="$root" "$exe" "$1" & spid=$!
  sleep 2
}
stop_saver() {
  local t0 t1
  t0=$(date +%s%N)
  kill -TERM "$spid"
  wait "$spid" || true
  t1=$(date +%s%N)
  echo "  exit $(( (t1 - t0) / 1000000 )) ms after SIGTERM"
  spid=""
}

for kind in animated regular; do
  for pace in Fast Slow; do
    echo "== $kind puzzles, stored pace $pace, window $root 1280x800, ${cpu_seconds} s"
    [ "$pace" = Fast ] && printf ' 0 \r\n' > "$work/$kind/animation.Time" || printf ' 1 \r\n' > "$work/$kind/animation.Time"
    start_saver "$work/$kind"
    s0=$(ticks "$spid"); x0=$(ticks "$xpid")
    sleep "$cpu_seconds"
    s1=$(ticks "$spid"); x1=$(ticks "$xpid")
    echo "  CPU of one core: saver $(share "$s0" "$s1" "$cpu_seconds"), X server $(share "$x0" "$x1" "$cpu_seconds"), together $(share $((s0 + x0)) $((s1 + x1)) "$cpu_seconds")"
    echo "  resident memory $(rss_mb "$spid") MB"
    stop_saver
  done
done

if [ "$soak_seconds" -gt 0 ]; then
  echo "== memory over ${soak_seconds} s, pictures of both kinds, stored pace Fast"
  printf ' 0 \r\n' > "$work/both/animation.Time"
  printf ' 20 \r\n' > "$work/both/newpuzzle.Time"  # two seconds of finished display: more puzzles
  start_saver "$work/both"
  s0=$(ticks "$spid"); x0=$(ticks "$xpid")
  for ((t = 0; t <= soak_seconds; t += 30)); do
    echo "  ${t} s: saver resident $(rss_mb "$spid") MB, X server resident $(rss_mb "$xpid") MB"
    [ "$t" -lt "$soak_seconds" ] && sleep 30
  done
  s1=$(ticks "$spid"); x1=$(ticks "$xpid")
  echo "  CPU of one core over the run: saver $(share "$s0" "$s1" "$soak_seconds"), X server $(share "$x0" "$x1" "$soak_seconds")"
  stop_saver
fi
