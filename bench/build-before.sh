#!/usr/bin/env bash
# Builds the pace driver against an earlier commit of the game, for before/after figures in one run.
# Usage: bench/build-before.sh [COMMIT] [DIR]   (default: fa4feba into build-before/)
set -euo pipefail
commit=${1:-fa4feba}
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$(realpath -m "${2:-$here/build-before}")
mkdir -p "$dir/src"
git -C "$here" archive "$commit" | tar -x -C "$dir/src"
cp "$here/bench/pacedriver.cpp" "$dir/src/bench/pacedriver.cpp"
grep -q pelorix_pace "$dir/src/CMakeLists.txt" || cat >> "$dir/src/CMakeLists.txt" <<'CMAKE'
add_executable(pelorix_pace bench/pacedriver.cpp)
target_link_libraries(pelorix_pace PRIVATE pelorix_qt)
CMAKE
cmake -S "$dir/src" -B "$dir/out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELORIX_TESTS=OFF -DPELORIX_BENCH=OFF >/dev/null
cmake --build "$dir/out" --target pelorix_pace -j 2 >/dev/null
echo "$dir/out/pelorix_pace"
