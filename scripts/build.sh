#!/bin/sh
# Configures and builds lumeview, lvsend and the tests into build/.
set -eu
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake --preset mingw-i686 -G Ninja
cmake --build build -j"$(nproc)"
