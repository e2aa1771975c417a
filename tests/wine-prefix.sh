#!/bin/sh
# Makes (setup) or stops (cleanup) the tests' own Wine prefix.
set -e
action=$1
prefix=$2
work=$3
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
setup)
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix" "$work"
    mkdir -p "$work"
    wineboot -i
    # A crashing program must fail its test, not wait for a dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    wineserver -w
    # One server and its system processes for the whole run, started here
    # away from CTest's output pipes: a server or service started by a test
    # would keep that test's pipe open, and CTest would wait for it.
    wineserver -p >/dev/null 2>&1
    wine cmd /c exit >/dev/null 2>&1
    ;;
cleanup)
    wineserver -k 2>/dev/null || true
    ;;
esac
