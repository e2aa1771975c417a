#!/bin/sh
# Plays a whole print job against lumeview under Wine, in a Wine virtual
# desktop so the window has its title bar and icon as on Windows.
# --icon switches the notification-area icon on and gives the desktop its
# taskbar, and minimises the monitor before a second paper jam, which
# then raises the balloon.
# Usage: play-demo.sh [--icon] [--screenshots FOLDER]
set -eu
cd "$(dirname "$0")/.."
top=$(pwd)

icon=0
if [ "${1:-}" = "--icon" ]; then
    icon=1
    shift
fi
shots=""
if [ "${1:-}" = "--screenshots" ]; then
    shots="$top/${2:?folder}"
    rm -rf "$shots"
    mkdir -p "$shots"
fi

export WINEPREFIX="$top/build/demo-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
demo="$top/build/demo"
mkdir -p "$demo"
cp build/bin/lumeview.exe build/bin/lvsend.exe build/bin/lumeview.chm "$demo/"
# Show the monitor while printing, sound the alert on errors, help from
# the monitor's own help file.
printf '[Status Monitor]\r\nevent_notification_type=0\r\nsound_audio_alert=1\r\nnotification_area_icon=%s\r\nEngssHelp=lumeview.chm\r\n' \
    "$icon" > "$demo/lumeview.INI"

if [ ! -d "$WINEPREFIX" ]; then
    echo "Preparing a Wine prefix for the demonstration (once)..."
    wineboot -i >/dev/null 2>&1
    # wineboot returns before the prefix is fully set up.
    wineserver -w
    # This Wine does not look into the fonts-wine folder by itself; without
    # Marlett and Tahoma the title bar shows letters for its buttons.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
size=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { print $2; exit }')
# Every program of this prefix, lvsend too, joins the virtual desktop;
# the desktop is made afresh by the explorer started below.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d lumeview /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v lumeview /d "${size:-800x600}" /f >/dev/null 2>&1
# The taskbar, with its notification area, only for the icon.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops\lumeview' /v EnableShell /t REG_DWORD /d "$icon" /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true

if [ -n "$shots" ]; then pause=0.4; else pause=1.5; fi
step=0
lvsend() { wine "$demo/lvsend.exe" "$@"; }
# show TEXT NAME [SECONDS]: a step, with a longer wait where one is given.
show() {
    step=$((step + 1))
    printf '%2d. %s\n' "$step" "$1"
    sleep "${3:-$pause}"
    if [ -n "$shots" ]; then
        import -window root "$shots/$(printf '%02d' "$step")-$2.png"
    fi
}

pages=6
echo "lumeview demonstration: a print job of $pages pages with a paper jam and toner low"
wine explorer "/desktop=lumeview,${size:-800x600}" "$demo/lumeview.exe" /P &
until lvsend read >/dev/null 2>&1; do sleep 0.2; done
show "The print side starts the monitor (lumeview.exe /P): ready" ready

# The print side's job window: it enables the cancel button.
lvsend job --seconds 120 >/dev/null &
lvsend docname "Rapport annuel.doc" >/dev/null
lvsend operation 10 >/dev/null
lvsend progress total "$pages" >/dev/null
show "Printing \"Rapport annuel.doc\"" printing
for page in 1 2; do
    lvsend progress done "$page" >/dev/null
    show "Page $page of $pages printed" "page-$page"
done
lvsend error 3 2 >/dev/null
show "Paper jam: \"Incident papier\", error picture and icon, the alert" paper-jam
lvsend error 0 0 >/dev/null
lvsend operation 10 >/dev/null
show "The jam is cleared: printing again" recovered
lvsend error 4 1 >/dev/null
show "Toner low: a warning, printing goes on" toner-low
for page in 3 4 5 6; do
    lvsend progress done "$page" >/dev/null
    show "Page $page of $pages printed" "page-$page"
done
if [ "$icon" = 1 ]; then
    lvsend error 0 0 >/dev/null
    lvsend minimise >/dev/null
    show "The monitor is minimised: its icon in the notification area stays" minimised
    lvsend error 3 2 >/dev/null
    # Wine's taskbar raises a balloon two seconds after it is asked for.
    show "Paper jam while the window is minimised: the balloon" balloon 3
else
    lvsend press options >/dev/null
    show "The user opens Options to choose when the monitor shows itself" options
fi
lvsend operation 1 >/dev/null || true
show "The job has ended: the monitor closes itself (mode 0)" closed
if [ "$icon" = 0 ]; then
    # The help window stays where it opened, so it comes last. Wine shows the
    # page only with its browser engine (Gecko), which the demonstration
    # leaves out: the window and its title, toolbar and empty page.
    lvsend start >/dev/null
    lvsend error 3 2 >/dev/null
    lvsend press help >/dev/null
    show "Another paper jam; the user presses Aide: the help opens at the error page" help 2
    lvsend press close >/dev/null
    show "Fermer: the monitor closes, and its help window with it" help-closed
fi
wineserver -k 2>/dev/null || true

if [ -n "$shots" ]; then
    montage "$shots"/[0-9]*.png -tile 4x -geometry +4+4 -background '#404040' "$shots/contact-sheet.png"
    convert -delay 120 -loop 0 "$shots"/[0-9]*.png "$shots/print-job.gif"
    echo "Screenshots of each step, a contact sheet and an animation are in $shots"
fi
