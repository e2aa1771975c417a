#!/bin/sh
# Replaces the status table in docs/protocol.md with the one the built
# lvsend prints from the program's own table.
set -eu
cd "$(dirname "$0")/.."
export WINEPREFIX="${WINEPREFIX:-$(pwd)/build/demo-prefix}" WINEDEBUG=-all
table=$(mktemp)
wine build/bin/lvsend.exe table --markdown | tr -d '\r' > "$table"
awk -v table="$table" '
    /^<!-- status table: generated/ { print; while ((getline line < table) > 0) print line; skip = 1; next }
    /^<!-- end of status table -->/ { skip = 0 }
    !skip { print }
' docs/protocol.md > docs/protocol.md.new
mv docs/protocol.md.new docs/protocol.md
rm -f "$table"
echo "docs/protocol.md updated"
