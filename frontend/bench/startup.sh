#!/usr/bin/env bash
# Usage: startup.sh BUILD_BIN_DIR [ROUNDS]
# How long after its start each program's window is mapped: kordel, a plain Qt
# window with the same kinds of widgets, and an empty Qt window, taken in turns on
# one private Xvfb display without a window manager; prints the median and range
# of each in milliseconds. KORDEL_OTHER=PATH adds another build of kordel (an
# older one, say) to the turns. Xvfb is stopped by its process id.
set -euo pipefail
bin=$1
rounds=${2:-30}
command -v Xvfb >/dev/null || { echo "startup.sh needs Xvfb (Debian package xvfb)" >&2; exit 1; }

work=$(mktemp -d)
fifo=$work/display
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x960x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
read -r number <"$fifo"
export DISPLAY=:$number
export XDG_RUNTIME_DIR=$work
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

declare -A times
programs=(kordel plain empty)
[[ -n ${KORDEL_OTHER:-} ]] && programs+=(other)
for _ in $(seq "$rounds"); do
  for p in "${programs[@]}"; do
    case $p in
      kordel) t=$("$bin/window_map_time" "$bin/kordel" 2>/dev/null) || continue ;;
      plain) t=$("$bin/window_map_time" "$bin/plain_window" 2>/dev/null) || continue ;;
      empty) t=$("$bin/window_map_time" "$bin/plain_window" --empty 2>/dev/null) || continue ;;
      other) t=$("$bin/window_map_time" "$KORDEL_OTHER" 2>/dev/null) || continue ;;
    esac
    times[$p]+="$t "
  done
done
for p in "${programs[@]}"; do
  # shellcheck disable=SC2086
  printf '%s\n' ${times[$p]} | sort -n | awk -v name="$p" '
    { v[NR] = $1 }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%-7s median %6.1f ms  (%.1f to %.1f, %d runs)\n", name, m, v[1], v[NR], NR }'
done
