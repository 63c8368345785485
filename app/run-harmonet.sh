#!/bin/sh
# Opens the player window: run-harmonet.sh PROGRAM [FILE]
# The player is a desktop program; without a display it explains how to give it one.
program="$1"
shift
if [ -z "$DISPLAY" ] && [ -z "$WAYLAND_DISPLAY" ]; then
    echo "Harmonet is a desktop program and needs a display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "On a machine without one, run it on a virtual display:" >&2
    echo "    xvfb-run -a $program $*" >&2
    exit 1
fi
exec "$program" "$@"
