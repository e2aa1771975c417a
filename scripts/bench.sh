#!/bin/sh
# Installs what is missing, builds the monitor and the benchmark, then runs
# the benchmark under Wine in a virtual X screen with a Wine prefix of its
# own. Extra arguments go to the benchmark (--quick, --icon, --runs N,
# --reports N).
# LUMEVIEW_BUILD names another build folder than build/.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
build=${LUMEVIEW_BUILD:-build}
[ -f "$build/CMakeCache.txt" ] || cmake --preset mingw-i686 -B "$build" -G Ninja
cmake --build "$build" --target lumeview_bench -j"$(nproc)"

export WINEPREFIX="$(cd "$build" && pwd)/bench-wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i
    wineserver -w
fi
status=0
xvfb-run -a -s "-screen 0 1024x768x24" wine "$build/bin/lumeview_bench.exe" "$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
