#!/bin/sh
# SPDX-License-Identifier: MIT
# The program's window on a real X display (Xvfb): it starts, its window appears, it plays its
# title puzzles for half a second and is still running when it is asked to stop, with nothing
# reported on the way (a sanitized build reports what it finds on standard error and stops). The
# wait is for the window, not a fixed time, so a slow machine only takes longer.
# Usage: window_x_test.sh PELORIX
set -u
pelorix=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 1
cat >"$tmp/session" <<'EOF'
"$1" >"$2/out" 2>"$2/err" &
pid=$!
tries=0
until xwininfo -root -tree | grep -q '"Pelorix'; do
  tries=$((tries + 1))
  if [ "$tries" -gt 600 ] || ! kill -0 "$pid" 2>/dev/null; then echo "no window"; kill "$pid" 2>/dev/null; exit 1; fi
  sleep 0.05
done
sleep 0.5
kill -0 "$pid" 2>/dev/null || { echo "ended while playing"; exit 1; }
kill -TERM "$pid"
wait "$pid"
echo "ended by TERM with status $?"
EOF
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" sh "$tmp/session" "$pelorix" "$tmp" >"$tmp/result" 2>&1
if ! grep -qx "ended by TERM with status 143" "$tmp/result" || grep -q "Sanitizer" "$tmp/err"; then
  echo "FAIL the window on a real display: $(cat "$tmp/result")"
  cat "$tmp/err"
  echo "0 passed, 1 failed"
  exit 1
fi
echo "ok   the window on a real display"
echo "1 passed, 0 failed"
