#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Screen-saver soak under Xvfb (maximized 1280 × 800): random pictures from a folder of hostile and
# large files, memory and CPU of the game and the X server every 30 s.
# Usage: bench/soak.sh SOAK_DRIVER [MINUTES]   (default 10 minutes)
set -euo pipefail
driver=$(realpath "$1")
minutes=${2:-10}
exec 3< <(Xvfb -displayfd 1 -screen 0 1280x800x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xpid <&3
read -r display <&3
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
play=$(mktemp -d)
trap 'kill "$xpid" 2>/dev/null || true; rm -rf "$play"' EXIT
echo "== screen-saver soak, $minutes min, random pictures from the hostile set"
cd "$play" && "$driver" "$minutes" "$xpid" 2>/dev/null
