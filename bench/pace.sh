#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The animation's pace and cost in the real window, maximized to 1280 × 800 under Xvfb: the moving
# picture's speed, the frames painted per second and the pixels between two of them, and the CPU of
# the game and of the X server, at Slow and Fast in play and in the finished display, and at the
# set-up screen (waiting). Each state is measured on a quiet machine and again beside two busy
# processes, which a pace set by time must not feel.
# Usage: bench/pace.sh PACE_DRIVER [BEFORE_PACE_DRIVER]
#   PACE_SECONDS (default 15) per state; PACE_STATES picks states, e.g. "fast play,slow play";
#   PACE_LOADS picks "quiet", "busy" or both (the default).
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
busy=()
stop_busy() { [ ${#busy[@]} -eq 0 ] || kill "${busy[@]}" 2>/dev/null || true; busy=(); }
trap 'stop_busy; kill "$xpid" 2>/dev/null || true' EXIT

measure() {  # driver pace state
  local play
  play=$(mktemp -d)
  (cd "$play" && "$1" "$2" "$3" "$seconds" "$xpid" 2>/dev/null | tail -1) || echo "(failed)"
  rm -rf "$play"
}

echo "== the animation's pace: $seconds s per state, game and Xvfb CPU from /proc/<pid>/stat"
IFS=, read -r -a states <<< "${PACE_STATES:-slow play,fast play,slow finished,fast finished,slow setup}"
IFS=, read -r -a loads <<< "${PACE_LOADS:-quiet,busy}"
for load in "${loads[@]}"; do
  if [ "$load" = busy ]; then
    # Two processes that keep both cores busy for as long as they run.
    for _ in 1 2; do (while :; do :; done) & busy+=($!); done
  fi
  for state in "${states[@]}"; do
    set -- $state
    if [ -n "$before" ]; then
      printf '  %-5s %-14s before: %s\n' "$load" "$1 $2" "$(measure "$before" "$1" "$2")"
    fi
    printf '  %-5s %-14s now:    %s\n' "$load" "$1 $2" "$(measure "$after" "$1" "$2")"
  done
  stop_busy
done
