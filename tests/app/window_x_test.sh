#!/bin/sh
# SPDX-License-Identifier: MIT
# The program's window on a real X display (Xvfb): it starts, plays its title puzzles for a few
# seconds and is still running when it is asked to stop, with nothing reported on the way (a
# sanitized build reports what it finds on standard error and stops).
# Usage: window_x_test.sh PELORIX
set -u
pelorix=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" timeout -s TERM 3 "$pelorix" >"$tmp/out" 2>"$tmp/err"
status=$?
if [ "$status" -ne 124 ] || grep -q "Sanitizer" "$tmp/err"; then
  echo "FAIL the window on a real display: exit status $status"
  cat "$tmp/err"
  echo "0 passed, 1 failed"
  exit 1
fi
echo "ok   the window on a real display"
echo "1 passed, 0 failed"
