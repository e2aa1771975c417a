#!/bin/sh
# Installs what is missing, builds, and runs every test under Wine in a
# virtual X screen.
set -eu
cd "$(dirname "$0")/.."
sh scripts/install-deps.sh
sh scripts/build.sh
cd build
exec xvfb-run -a -s "-screen 0 1024x768x24" ctest -j2 --output-on-failure --timeout 900
