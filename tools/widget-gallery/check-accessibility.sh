#!/bin/sh
# Shows the widget gallery on a virtual display with the AT-SPI bus running and prints the tree
# that a screen reader sees, then presses "Try Again" through the accessibility bridge.
#
#   dbus-run-session -- tools/widget-gallery/check-accessibility.sh build/tools/widget-gallery/widget-gallery
set -eu
gallery=${1:?path to the widget-gallery binary}
here=$(dirname "$0")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
Xvfb :87 -screen 0 1500x1100x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
# Qt's bridge stays off unless a screen reader asked for it or this says so.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 DISPLAY=:87 "$gallery" --window >/dev/null 2>&1 &
app=$!
sleep 3
status=0
timeout 30 /usr/bin/python3 "$here/atspi_tree.py" so.vask.widget-gallery 4 "Try Again" || status=$?
kill "$app" "$xvfb" "$launcher" 2>/dev/null || true
exit "$status"
