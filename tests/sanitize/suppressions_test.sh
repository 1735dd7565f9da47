#!/bin/sh
# SPDX-License-Identifier: MIT
# The leak suppressions of the sanitizer run name system libraries only, one shared library file
# per line, each installed in a system library folder and none that calls the project's code: a
# leak in the project's code is never hidden.
# Usage: suppressions_test.sh SUPPRESSION_FILE
set -u
file=$1
failures=0
entries=0

# True when a system library folder holds the library (a version suffix may follow the name).
installed() {
  for found in /lib/*/"$1"* /usr/lib/*/"$1"* /lib/"$1"* /usr/lib/"$1"*; do
    [ -f "$found" ] && return 0
  done
  return 1
}

while IFS= read -r line || [ -n "$line" ]; do
  case $line in '' | '#'*) continue ;; esac
  entries=$((entries + 1))
  library=${line#leak:}
  problem=""
  if [ "$library" = "$line" ]; then
    problem="not a leak suppression"
  elif ! printf '%s\n' "$library" | grep -Eqx 'lib[A-Za-z0-9_+-]+(-[0-9.]+)?\.so(\.[0-9]+)*'; then
    problem="not the file name of a shared library"
  elif printf '%s\n' "$library" | grep -qi pelorix; then
    problem="names the project"
  elif printf '%s\n' "$library" | grep -Eq '^lib(c|stdc\+\+|Qt6[A-Za-z]*|gtest[a-z_]*|gmock[a-z_]*)[.-]'; then
    # A suppression matches any frame of a leak's stack, and these run the project's code.
    problem="calls the project's code, so it would hide the project's own leaks"
  elif ! installed "$library"; then
    problem="no such library in the system's library folders"
  fi
  if [ -n "$problem" ]; then
    echo "FAIL $line: $problem"
    failures=$((failures + 1))
  fi
done <"$file"
echo "$entries entries, $failures refused"
[ "$failures" -eq 0 ]
