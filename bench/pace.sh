#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Frames per second and CPU of the game and of the X server, on a maximized 1280 × 800 window under
# Xvfb: Slow and Fast animated play, the finished display in Slow, and the set-up screen (waiting).
# Usage: bench/pace.sh PACE_DRIVER [BEFORE_PACE_DRIVER]
#   PACE_SECONDS (default 15) per state; PACE_STATES picks states, e.g. "fast play,slow play".
#   With two drivers (see bench/build-before.sh), each state is measured with both, in turns.
set -euo pipefail
after=$(realpath "$1")
before=${2:+$(realpath "$2")}
seconds=${PACE_SECONDS:-15}

# An X server of our own, so that its process id is known and its CPU can be read.
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xpid <&3
read -r display <&3
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
trap 'kill "$xpid" 2>/dev/null || true' EXIT

measure() {  # driver pace state
  local play
  play=$(mktemp -d)
  (cd "$play" && "$1" "$2" "$3" "$seconds" "$xpid" 2>/dev/null | tail -1) || echo "(failed)"
  rm -rf "$play"
}

echo "== frames at the display's pace: $seconds s per state, game and Xvfb CPU from /proc/<pid>/stat"
IFS=, read -r -a states <<< "${PACE_STATES:-slow play,fast play,slow finished,slow setup}"
for state in "${states[@]}"; do
  set -- $state
  if [ -n "$before" ]; then
    printf '  %-14s before: %s\n' "$1 $2" "$(measure "$before" "$1" "$2")"
  fi
  printf '  %-14s now:    %s\n' "$1 $2" "$(measure "$after" "$1" "$2")"
done
