#!/bin/sh
# SPDX-License-Identifier: MIT
# lintian's verdict on the Debian package the install test built: no error and no warning. Where
# lintian is not installed (`make package` installs it) the test says so and exits 77, which ctest
# shows as skipped.
# Usage: lintian_test.sh DEB
set -u
deb=$1
if ! command -v lintian >/dev/null; then
  echo "skip: lintian is not installed here (make package installs it)"
  exit 77
fi
status=0
lintian --fail-on error,warning "$deb" >"$deb.lintian" 2>&1 || status=$?
# Root is warned against, not refused; that line is no finding.
grep -v "root privileges" "$deb.lintian" || true
rm -f "$deb.lintian"
if [ "$status" -ne 0 ]; then
  echo "0 passed, 1 failed"
  exit 1
fi
echo "ok   lintian: no error or warning"
echo "1 passed, 0 failed"
