#!/bin/sh
# Installs what is missing, builds, and plays a print job against the real
# monitor under Wine: live on the display, or into screenshots without one.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec sh scripts/play-demo.sh
fi
exec xvfb-run -a -s "-screen 0 560x400x24" sh scripts/play-demo.sh --screenshots demo-output
