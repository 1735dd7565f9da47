#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Whole-process measures of pictures at the screen's density, each beside an earlier program in
# one run (the two take turns, so a noisy machine weighs on both alike):
#   - ratio 1 (1280 x 800): launch to the first title puzzle; Begin on the first sample to its
#     board on screen; peak memory with that puzzle in play;
#   - ratio 2 (2560 x 1600, QT_SCALE_FACTOR=2): peak memory with a prepared photo in play;
#   - --add of a 60-megapixel photo: time, peak memory and the size of the stored picture;
#   - a 24-megapixel progressive JPEG in play at ratio 1: whether it loads, and peak memory.
# Usage: bench/density.sh NOW_PELORIX BEFORE_PELORIX [BEFORE_SAMPLES_DIR]
#   BEFORE_SAMPLES_DIR: the samples the earlier program shipped (default: the ones here).
#   DENSITY_RUNS: runs of each measure (default 3).
# Needs xvfb, xdotool, imagemagick and libjpeg-turbo-progs (cjpeg).
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
now=$(realpath "$1")
before=$(realpath "$2")
before_samples=$(realpath "${3:-$here/assets/samples}")
runs=${DENSITY_RUNS:-3}
work=$(mktemp -d)
xpid=""
cleanup() {
  [ -n "$xpid" ] && kill "$xpid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
peak_mb() { awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
# Colour of one screen pixel as "r,g,b".
pixel() { DISPLAY=$display import -silent -window root -crop "1x1+$1+$2" +repage -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:; }
# Waits until the pixel at ($1, $2) is $3, for at most $4 ms; prints the time waited, or "none".
wait_pixel() {
  local t0; t0=$(now_ms)
  until [ "$(pixel "$1" "$2" 2>/dev/null)" = "$3" ]; do
    [ $(( $(now_ms) - t0 )) -lt "$4" ] || { echo none; return; }
  done
  echo $(( $(now_ms) - t0 ))
}
# Starts an X server of the size $1 on display :$2.
xserver() {
  display=":$2"
  Xvfb ":$2" -screen 0 "$1x24" -nolisten tcp >/dev/null 2>&1 & xpid=$!
  for _ in $(seq 50); do xdpyinfo -display ":$2" >/dev/null 2>&1 && return; sleep 0.1; done
}
display=""
stop_x() { kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; xpid=""; }

# Starts $1 in the folder $2 at scale $3 on the X server, waits for its first title puzzle (its
# grid line at x = 0 shows colour 3 below the menu bar), clicks through to the set-up screen and
# Begin, and waits for the new board's hole (colour 3). Sets launch and begin (ms, or "none") and
# peak (MB). Positions are the window's units times the scale.
play_to_board() {
  local exe=$1 dir=$2 scale=$3 t0 pid
  rm -f "$dir"/title*.bmp
  t0=$(now_ms)
  (cd "$dir" && DISPLAY=$display QT_SCALE_FACTOR=$scale exec "$exe") & pid=$!
  launch=$(wait_pixel 0 $((120 * scale)) "0,128,128" 5000)
  [ "$launch" != none ] && launch=$(( $(now_ms) - t0 ))
  sleep 1
  DISPLAY=$display xdotool mousemove $((300 * scale)) $((200 * scale)) click 1; sleep 1
  # Begin lies about (50, 225); the hole of the new board covers (100, 100).
  DISPLAY=$display xdotool mousemove $((50 * scale)) $((225 * scale)) click 1
  begin=$(wait_pixel $((100 * scale)) $((100 * scale)) "0,128,128" 5000)
  sleep 1
  peak=$(peak_mb $pid)
  kill "$pid"; wait "$pid" 2>/dev/null || true
}

# The pictures: a 60-megapixel photo, and a 24-megapixel one written progressive; both noisy, as
# photos are, so that they compress as photos do.
echo "== making the test photos"
convert -size 1200x800 plasma:fractal -blur 0x1 "$work/base.ppm"
convert "$work/base.ppm" -resize 9600x6250! -attenuate 0.4 +noise Gaussian "$work/big.ppm"
cjpeg -quality 90 "$work/big.ppm" > "$work/photo60.jpg"
convert "$work/base.ppm" -resize 6000x4000! -fill '#c000c0' -colorize 60 -attenuate 0.4 +noise Gaussian "$work/p24.ppm"
cjpeg -quality 90 -progressive "$work/p24.ppm" > "$work/progressive24.jpg"
rm -f "$work"/*.ppm
ls -l "$work/photo60.jpg" "$work/progressive24.jpg" | awk '{ printf "  %s: %.1f MB\n", $9, $5 / 1048576 }'

# A play folder for each program: its own samples, or one picture alone.
folder() {  # name, files...
  local dir="$work/$1"; shift
  mkdir -p "$dir"; cp "$@" "$dir/"; echo "$dir"
}
now_play=$(folder now-play "$here"/assets/samples/*)
before_play=$(folder before-play "$before_samples"/*)

echo "== ratio 1: launch to the title puzzle, Begin on the first sample, peak memory (1280x800)"
xserver 1280x800 91
for run in $(seq "$runs"); do
  for which in now before; do
    exe=$now; dir=$now_play
    [ "$which" = before ] && { exe=$before; dir=$before_play; }
    play_to_board "$exe" "$dir" 1
    echo "  run $run $which: launch $launch ms, Begin $begin ms (poll about 30 ms), peak $peak MB"
  done
done
stop_x

# A folder holding the 60-megapixel photo as each program prepares it.
for which in now before; do
  exe=$now; [ "$which" = before ] && exe=$before
  mkdir -p "$work/$which-photo"
  (cd "$work/$which-photo" && QT_QPA_PLATFORM=offscreen "$exe" --add "$work/photo60.jpg" >/dev/null 2>&1)
done

echo "== --add of the 60-megapixel photo: wall time, peak memory, stored size"
for run in $(seq "$runs"); do
  for which in now before; do
    exe=$now; [ "$which" = before ] && exe=$before
    rm -rf "$work/add"; mkdir "$work/add"
    out=$( { cd "$work/add" && QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%e s, %M KB" "$exe" --add "$work/photo60.jpg" >/dev/null; } 2>&1 | tail -1)
    size=$(stat -c %s "$work/add"/*.regular_picture 2>/dev/null || echo 0)
    echo "  run $run $which: $out, stored $(awk -v b="$size" 'BEGIN { printf "%.2f MB", b / 1048576 }') ($(identify -format '%wx%h' "$work/add"/*.regular_picture 2>/dev/null))"
  done
done

echo "== ratio 2: the prepared photo in play (2560x1600, scale 2)"
xserver 2560x1600 92
for run in $(seq "$runs"); do
  for which in now before; do
    exe=$now; [ "$which" = before ] && exe=$before
    play_to_board "$exe" "$work/$which-photo" 2
    echo "  run $run $which: launch $launch ms, board after $begin ms, peak $peak MB"
  done
done
stop_x

echo "== ratio 1: a 24-megapixel progressive JPEG in play (1280x800)"
xserver 1280x800 93
for which in now before; do
  exe=$now; [ "$which" = before ] && exe=$before
  dir="$work/$which-progressive"; mkdir -p "$dir"
  cp "$work/progressive24.jpg" "$dir/photo.regular_picture"
  (cd "$dir" && DISPLAY=:93 exec "$exe") & pid=$!
  sleep 2
  DISPLAY=:93 xdotool mousemove 300 200 click 1; sleep 1
  DISPLAY=:93 xdotool mousemove 50 225 click 1; sleep 3
  # A piece of the photo is purple; one of the title picture it falls back on is not.
  colour=$(pixel 400 300)
  echo "  $which: piece colour $colour, peak $(peak_mb $pid) MB"
  kill "$pid"; wait "$pid" 2>/dev/null || true
done
stop_x
