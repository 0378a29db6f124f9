#!/bin/sh
# What a screen reader hears while loto runs on a virtual display: the AT-SPI listener's lines.
# A run of 1000 draws on 1 to 6, then one on a grid whose sixth number repeats the first.
# Usage: hear_messages.sh LOTO TESTS_FOLDER (inside dbus-run-session)
loto=$1
tests=$2
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export LSAN_OPTIONS="suppressions=$tests/lsan.supp"
/usr/bin/python3 "$tests/atspi_listener.py" 6 30 &
listener=$!
sleep 2
xvfb-run -a sh -c '
    "$0" -platform xcb & loto=$!
    w=$(timeout 20 xdotool search --sync --name "^Form1$" | head -n 1)
    xdotool windowfocus --sync "$w" type 1000
    for n in 1 2 3 4 5 6; do xdotool key Tab type $n; done
    xdotool key Tab space; sleep 2
    xdotool key shift+Tab ctrl+a type 1
    xdotool key Tab space; sleep 2
    kill $loto' "$loto"
wait $listener
