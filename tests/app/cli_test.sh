#!/bin/sh
# SPDX-License-Identifier: MIT
# The built program's command line: help, version and usage errors open no window, write no file,
# and exit with the right status and one line on the right stream.
# Usage: cli_test.sh PELORIX VERSION
set -u
pelorix=$1
version=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/work"
failures=0
export QT_QPA_PLATFORM=offscreen  # a window opened by mistake would write title1.bmp, not hang

# check NAME STATUS STDOUT-PATTERN STDERR-LINES ARGS...
check() {
  name=$1 status=$2 pattern=$3 errlines=$4
  shift 4
  (cd "$tmp/work" && timeout 20 "$pelorix" "$@" >"$tmp/out" 2>"$tmp/err")
  got=$?
  problem=""
  [ "$got" -eq "$status" ] || problem="exit status $got, wanted $status"
  grep -q -- "$pattern" "$tmp/out" || [ -z "$pattern" ] || problem="$problem; stdout lacks '$pattern'"
  [ -n "$pattern" ] || [ ! -s "$tmp/out" ] || problem="$problem; unexpected stdout"
  [ "$(wc -l <"$tmp/err")" -eq "$errlines" ] || problem="$problem; stderr has $(wc -l <"$tmp/err") lines, wanted $errlines"
  [ -z "$(ls -A "$tmp/work")" ] || problem="$problem; files written: $(ls -A "$tmp/work")"
  if [ -n "$problem" ]; then
    echo "FAIL $name: $problem"; cat "$tmp/out" "$tmp/err"; failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
}

check "--help"            0 "Usage: pelorix"          0 --help
check "-h"                0 "--user-folder"           0 -h
check "--version"         0 "^pelorix $version\$"     0 --version
check "unknown option"    2 ""                        1 --bogus
check "two folders"       2 ""                        1 . .
check "missing folder"    2 ""                        1 "$tmp/nowhere"
check "a file as folder"  2 ""                        1 /etc/hostname
check "--add, no files"   2 ""                        1 --add
check "--add, not a picture" 1 ""                     1 --add /etc/hostname

# A name that is not UTF-8 (Latin-1 "café.png") names its file: --add reads it by its bytes. The
# picture is a 1 x 1 PNG.
mkdir "$tmp/add"
printf '\211PNG\015\012\032\012\000\000\000\015IHDR\000\000\000\001\000\000\000\001\010\002\000\000\000\220wS\336\000\000\000\014IDATx\234c\370\317\300\000\000\003\001\001\000\311\376\222\357\000\000\000\000IEND\256B`\202' >"$tmp/add/caf$(printf '\351').png"
if (cd "$tmp/add" && timeout 20 "$pelorix" --add "caf$(printf '\351').png" >"$tmp/out" 2>"$tmp/err") &&
   [ "$(find "$tmp/add" -name '*.regular_picture' | wc -l)" -eq 1 ]; then
  echo "ok   --add, a Latin-1 name"
else
  echo "FAIL --add, a Latin-1 name"; cat "$tmp/out" "$tmp/err"; failures=$((failures + 1))
fi

echo "$((10 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
