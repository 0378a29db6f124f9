#!/bin/sh
# What a screen reader hears while loto runs on a virtual display, the AT-SPI listener's lines: 2e7
# draws on 1 to 6 (long enough for the messages to be drawn), 1 draw on a grid whose sixth number
# repeats the first, then a number of draws beyond the range of numbers.
# Usage: hear_messages.sh LOTO TESTS_FOLDER (inside dbus-run-session)
loto=$1
tests=$2
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export LSAN_OPTIONS="suppressions=$tests/lsan.supp"
/usr/bin/python3 "$tests/atspi_listener.py" 6 40 &
listener=$!
sleep 2
xvfb-run -a sh -c '
    "$0" -platform xcb & loto=$!
    w=$(timeout 20 xdotool search --sync --name "^Form1$" | head -n 1)
    xdotool windowfocus --sync "$w" type 2e7
    for n in 1 2 3 4 5 6; do xdotool key Tab type $n; done
    xdotool key Tab space; sleep 4
    xdotool key shift+Tab ctrl+a type 1
    xdotool key Tab space; sleep 2
    xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
    xdotool key ctrl+a type 1e400
    xdotool key Tab Tab Tab Tab Tab Tab Tab space; sleep 2
    kill $loto' "$loto"
wait $listener
