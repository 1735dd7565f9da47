#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the pace driver against an earlier commit of the game, for before/after figures in one run.
# Usage: bench/build-before.sh [COMMIT] [DIR] [BUILD_TYPE]
#   (default: fa4feba into build-before/, built the way build/ is, so both compare fairly)
set -euo pipefail
commit=${1:-fa4feba}
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${2:-$here/build-before}")
type=${3:-$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$here/build/CMakeCache.txt" 2>/dev/null)}
type=${type:-RelWithDebInfo}
mkdir -p "$dir/src"
git -C "$here" archive "$commit" | tar -x -C "$dir/src"
cp "$here/bench/pacedriver.cpp" "$dir/src/bench/pacedriver.cpp"
# The window's library was called pelorix_qt before it had a folder of its own.
window=pelorix_qt
[ -f "$dir/src/src/window/CMakeLists.txt" ] && window="pelorix_core pelorix_window"
grep -q pelorix_pace "$dir/src/CMakeLists.txt" || cat >> "$dir/src/CMakeLists.txt" <<CMAKE
add_executable(pelorix_pace bench/pacedriver.cpp)
target_link_libraries(pelorix_pace PRIVATE $window)
CMAKE
cmake -S "$dir/src" -B "$dir/out" -DCMAKE_BUILD_TYPE="$type" -DPELORIX_TESTS=OFF -DPELORIX_BENCH=OFF >/dev/null
cmake --build "$dir/out" --target pelorix_pace -j 2 >/dev/null
echo "$dir/out/pelorix_pace"
