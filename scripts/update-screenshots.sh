#!/bin/sh
# Plays the demonstration off screen and keeps its pictures of each state
# for the README.
set -eu
cd "$(dirname "$0")/.."
xvfb-run -a -s "-screen 0 560x400x24" sh scripts/play-demo.sh --screenshots demo-output
mkdir -p docs/screenshots
cp demo-output/01-ready.png docs/screenshots/ready.png
cp demo-output/04-page-2.png docs/screenshots/printing.png
cp demo-output/*-paper-jam.png docs/screenshots/error.png
cp demo-output/*-toner-low.png docs/screenshots/warning.png
cp demo-output/*-options.png docs/screenshots/options.png
cp demo-output/*-help.png docs/screenshots/help.png
xvfb-run -a -s "-screen 0 560x400x24" sh scripts/play-demo.sh --icon --screenshots demo-output
cp demo-output/01-ready.png docs/screenshots/icon-ready.png
cp demo-output/*-toner-low.png docs/screenshots/icon-warning.png
cp demo-output/*-paper-jam.png docs/screenshots/icon-error.png
cp demo-output/*-balloon.png docs/screenshots/icon-balloon.png
echo "docs/screenshots updated"
