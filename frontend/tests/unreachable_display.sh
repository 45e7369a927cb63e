#!/usr/bin/env bash
# Starts the program on a display nobody serves and checks how it ends.
set -u
output=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=:199 "$1" 2>&1 </dev/null)
status=$?
printf '%s\n' "$output"
[[ $status -eq 1 ]] || { echo "exit status $status, expected 1" >&2; exit 1; }
[[ $(printf '%s\n' "$output" | wc -l) -eq 1 ]] || { echo "expected one line" >&2; exit 1; }
[[ $output == kordel:* ]] || { echo "expected the program's own message" >&2; exit 1; }
