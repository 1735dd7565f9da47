#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whole-process measures of build/pelorix under Xvfb: start-up to the first title puzzle on screen,
# peak memory, and CPU share in title mode, on the set-up screen and over a regular puzzle.
# Usage: bench/process.sh [path/to/pelorix]   (needs xvfb, xdotool, x11-utils, imagemagick)
set -euo pipefail

exe=$(realpath "${1:-build/pelorix}")
here=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${PELORIX_BENCH_DISPLAY:-}" ]; then
  exec env PELORIX_BENCH_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$exe"
fi

play=$(mktemp -d)
trap 'rm -rf "$play"' EXIT
cp "$here"/assets/samples/* "$play"/
cd "$play"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# Colour of one screen pixel as "r,g,b".
pixel() { import -silent -window root -crop "1x1+$1+$2" +repage -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:; }
# CPU seconds (user + system) the process has used so far.
cpu_s() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%.3f", ($14 + $15) / hz }' "/proc/$1/stat"; }
peak_mb() { awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
share() { awk -v a="$1" -v b="$2" -v s="$3" 'BEGIN { printf "%.2f%%", 100 * (b - a) / s }'; }

echo "== start-up to the first title puzzle on screen (5 runs)"
for run in 1 2 3 4 5; do
  rm -f title1.bmp title2.bmp
  t0=$(now_ms)
  "$exe" & pid=$!
  # The window has no frame under a bare X server: its grid line x = 0 shows colour 3 (0,128,128)
  # below the menu bar once the title puzzle is drawn.
  until [ "$(pixel 0 120 2>/dev/null)" = "0,128,128" ]; do
    [ $(( $(now_ms) - t0 )) -lt 5000 ] || { echo "  run $run: no title puzzle after 5 s"; break; }
  done
  echo "  run $run: $(( $(now_ms) - t0 )) ms (poll resolution about 30 ms), peak memory $(peak_mb $pid) MB"
  kill "$pid"; wait "$pid" 2>/dev/null || true
done

echo "== title mode for 60 s"
"$exe" & pid=$!
sleep 2; c0=$(cpu_s $pid); m0=$(peak_mb $pid)
sleep 60; c1=$(cpu_s $pid)
echo "  CPU share $(share "$c0" "$c1" 60), peak memory after 2 s $m0 MB, after 62 s $(peak_mb $pid) MB"

echo "== set-up screen, 20 s"
xdotool mousemove 300 200 click 1
sleep 1; c0=$(cpu_s $pid); sleep 20; c1=$(cpu_s $pid)
echo "  CPU share $(share "$c0" "$c1" 20)"

echo "== a regular puzzle the user ponders, 20 s"
# Begin sits at (480, 3000) twips below the menu bar: about (40, 220) on screen.
xdotool mousemove 50 225 click 1
sleep 1; c0=$(cpu_s $pid); sleep 20; c1=$(cpu_s $pid)
echo "  CPU share $(share "$c0" "$c1" 20), peak memory $(peak_mb $pid) MB"
kill "$pid"; wait "$pid" 2>/dev/null || true
