#!/usr/bin/env bash
# Usage: with_weston.sh QT_WAYLAND_PLUGIN PROGRAM [ARGS...]
# Runs a test program on Qt's Wayland platform against a private, headless weston
# compositor (pixman renderer, one 1280x960 output, its screenshot protocol on).
#
# The compositor gets a runtime folder of its own (XDG_RUNTIME_DIR, mode 0700),
# which holds its socket and log; it is stopped by its process id and the folder
# removed. Where weston or Qt's Wayland plugin is missing the test is skipped with
# the reason (exit status 77); under CI that is a failure instead.
set -euo pipefail

if [[ $# -lt 2 ]]; then
  echo "usage: $0 QT_WAYLAND_PLUGIN PROGRAM [ARGS...]" >&2
  exit 2
fi
plugin=$1
shift

without_weston() {
  echo "The Wayland test is skipped: $1." >&2
  if [[ ${CI:-} == true ]]; then
    echo "CI needs the Wayland test to run." >&2
    exit 1
  fi
  exit 77
}
command -v weston >/dev/null || without_weston "no weston (Debian package weston)"
[[ -e $plugin ]] || without_weston "no Qt Wayland platform plugin (Debian package qt6-wayland)"

runtime=$(mktemp -d "${TMPDIR:-/tmp}/kordel-weston.XXXXXX")
chmod 0700 "$runtime"
pid=
cleanup() {
  if [[ -n $pid ]]; then
    # weston's own clients (its shell and keyboard) end when it does; they are
    # waited for, and ended by their process ids should they linger.
    local children
    children=$(pgrep -P "$pid" || true)
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    for child in $children; do
      for _ in $(seq 50); do
        kill -0 "$child" 2>/dev/null || break
        sleep 0.1
      done
      kill "$child" 2>/dev/null || true
    done
  fi
  rm -rf "$runtime"
}
trap cleanup EXIT

socket=kordel-test
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --use-pixman --no-config \
  --socket="$socket" --width=1280 --height=960 --idle-time=0 --debug \
  --log="$runtime/weston.log" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do
  [[ -S $runtime/$socket ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if ! [[ -S $runtime/$socket ]]; then
  reason="weston did not start: $(tail -n 3 "$runtime/weston.log" 2>/dev/null | tr '\n' ' ')"
  cleanup
  trap - EXIT
  without_weston "$reason"
fi

status=0
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
  "$@" || status=$?
if [[ $status -ne 0 ]]; then
  echo "--- weston's log:" >&2
  tail -n 20 "$runtime/weston.log" >&2 || true
fi
exit "$status"
