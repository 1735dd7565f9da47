#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whole-process measures of the screen-saver module on the root window of an Xvfb screen, at a
# laptop's 1280 x 800 and a 4K monitor's 3840 x 2160: CPU share of the saver and of the X server
# (each run has a server of its own, so its time is the saver's doing), peak resident memory of
# both (the server's includes its screen and the pictures the saver hands it), and the time from
# SIGTERM to exit. Each folder is measured with every program in turn, so that a
# noisy machine weighs on all of them alike.
# Usage: bench/saver.sh [path/to/pelorix [path/to/earlier/pelorix]]
#   SAVER_SECONDS  seconds measured per run, after SAVER_START seconds of start (default 60 and 3)
#   SAVER_SIZES    screens to measure (default "1280x800 3840x2160")
#   SAVER_FOLDERS  which pictures (default "mixed animated regular": all samples, the animated one
#                  alone, the regular ones alone)
#   SAVER_ROUNDS   rounds of every program on every folder and size (default 1)
#   SAVER_SOAK_SECONDS  a long run of the first program on the first size, one memory line every
#                  30 s (default 0: none)
# The desktop's own slidescreen module runs beside the programs where it is installed.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
programs=("$(realpath "${1:-build/pelorix}")")
names=("pelorix")
if [ -n "${2:-}" ]; then
  programs+=("$(realpath "$2")")
  names=("now" "before")
fi
for dir in /usr/libexec/xscreensaver /usr/lib/xscreensaver; do
  if [ -x "$dir/slidescreen" ]; then
    programs+=("$dir/slidescreen")
    names+=("slidescreen")
    break
  fi
done
seconds=${SAVER_SECONDS:-60}
start=${SAVER_START:-3}
sizes=${SAVER_SIZES:-1280x800 3840x2160}
folders=${SAVER_FOLDERS:-mixed animated regular}
rounds=${SAVER_ROUNDS:-1}
soak_seconds=${SAVER_SOAK_SECONDS:-0}

work=$(mktemp -d)
xpid=""
spid=""
cleanup() {
  [ -n "$spid" ] && kill "$spid" 2>/dev/null || true
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/mixed" "$work/animated" "$work/regular"
cp "$here"/assets/samples/* "$work/mixed/"
cp "$here"/assets/samples/*.animation_picture "$work/animated/"
cp "$here"/assets/samples/*.regular_picture "$work/regular/"

ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
peak_mb() { awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
rss_mb() { awk '/VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
hz=$(getconf CLK_TCK)
share() { awk -v a="$1" -v b="$2" -v s="$3" -v hz="$hz" 'BEGIN { printf "%5.1f%%", 100 * (b - a) / hz / s }'; }

# start_server SIZE: an X server of our own, its display in DISPLAY.
start_server() {
  rm -f "$work/display"
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 & xpid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(cat "$work/display")"
}
stop_server() {
  kill "$xpid" 2>/dev/null || true
  wait "$xpid" 2>/dev/null || true
  xpid=""
}

# start_saver PROGRAM FOLDER: on the root window, in the folder (slidescreen grabs the screen instead).
start_saver() {
  if [ "$(basename "$1")" = slidescreen ]; then
    "$1" -root >/dev/null 2>&1 & spid=$!
  else
    (cd "$2" && exec "$1" --root "$2") & spid=$!
  fi
}
# stop_saver: prints the time from SIGTERM to exit.
stop_saver() {
  local t0 t1
  t0=$(date +%s%N)
  kill -TERM "$spid"
  wait "$spid" || true
  t1=$(date +%s%N)
  spid=""
  echo "$(( (t1 - t0) / 1000000 ))"
}

# measure PROGRAM NAME FOLDER SIZE: one line of figures.
measure() {
  local s0 x0 s1 x1 peak xpeak exit_ms
  start_server "$4"
  start_saver "$1" "$work/$3"
  sleep "$start"
  s0=$(ticks "$spid"); x0=$(ticks "$xpid")
  sleep "$seconds"
  s1=$(ticks "$spid"); x1=$(ticks "$xpid")
  peak=$(peak_mb "$spid")
  xpeak=$(peak_mb "$xpid")
  exit_ms=$(stop_saver)
  stop_server
  printf '  %-11s saver %s  X server %s  together %s  peak %6s MB, X server %6s MB  exit %4s ms\n' "$2" \
    "$(share "$s0" "$s1" "$seconds")" "$(share "$x0" "$x1" "$seconds")" \
    "$(share $((s0 + x0)) $((s1 + x1)) "$seconds")" "$peak" "$xpeak" "$exit_ms"
}

for size in $sizes; do
  for folder in $folders; do
    echo "== $size, $folder pictures, ${seconds} s after ${start} s (CPU of one core)"
    for ((round = 1; round <= rounds; ++round)); do
      for i in "${!programs[@]}"; do
        # slidescreen shows the screen, not pictures: once per size is enough.
        [ "${names[$i]}" = slidescreen ] && [ "$folder" != "${folders%% *}" ] && continue
        measure "${programs[$i]}" "${names[$i]}" "$folder" "$size"
      done
    done
  done
done

if [ "$soak_seconds" -gt 0 ]; then
  size=${sizes%% *}
  folder=${folders%% *}
  echo "== memory over ${soak_seconds} s, $size, $folder pictures, ${names[0]}"
  start_server "$size"
  start_saver "${programs[0]}" "$work/$folder"
  s0=$(ticks "$spid"); x0=$(ticks "$xpid")
  for ((t = 0; t <= soak_seconds; t += 30)); do
    echo "  ${t} s: saver resident $(rss_mb "$spid") MB, X server resident $(rss_mb "$xpid") MB"
    [ "$t" -lt "$soak_seconds" ] && sleep 30
  done
  s1=$(ticks "$spid"); x1=$(ticks "$xpid")
  echo "  CPU of one core over the run: saver $(share "$s0" "$s1" "$soak_seconds"), X server $(share "$x0" "$x1" "$soak_seconds")"
  echo "  exit $(stop_saver) ms after SIGTERM"
  stop_server
fi
