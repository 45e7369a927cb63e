#!/usr/bin/env bash
# Runs a test program with a CUPS queue that prints to PDF files: starts the CUPS
# daemon when none runs, adds the queue, and tells the test where the files appear.
set -euo pipefail
queue=kordel-pdf
if [[ $(id -u) -eq 0 ]] && command -v cupsd >/dev/null; then
  # Start a scheduler unless one answers; one that is still shutting down must
  # finish first. lpstat -r exits 0 either way: only its words tell.
  scheduler_up() { [[ $(lpstat -r 2>/dev/null) == *'is running'* ]]; }
  if ! scheduler_up; then
    for _ in $(seq 50); do pgrep -x cupsd >/dev/null || break; sleep 0.1; done
    cupsd
    for _ in $(seq 50); do scheduler_up && break; sleep 0.1; done
  fi
  # pdftocairo turns the program's PDF into PostScript with its text kept whole,
  # so that the PDF the queue writes can be read back. A scheduler that has just
  # started may refuse the first attempts.
  added=no
  for _ in $(seq 20); do
    if lpadmin -p "$queue" -v cups-pdf:/ -E -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
         -o pdftops-renderer-default=pdftocairo 2>/dev/null; then
      added=yes
      break
    fi
    sleep 0.5
  done
  [[ $added == yes ]] || { echo "lpadmin could not add the CUPS queue $queue." >&2; exit 1; }
  export KORDEL_CUPS_QUEUE=$queue KORDEL_CUPS_OUTPUT="$HOME/PDF"
  mkdir -p "$KORDEL_CUPS_OUTPUT"
else
  echo "No CUPS queue: not root or cupsd missing; the CUPS test is skipped." >&2
fi
exec "$@"
