#!/usr/bin/env bash
# Runs a test program with a private CUPS scheduler and one print queue whose
# backend writes each job's PDF into a folder, and tells the test the queue and the
# folder (KORDEL_CUPS_QUEUE, KORDEL_CUPS_OUTPUT; CUPS_SERVER points the test's CUPS
# client at the private scheduler).
#
# Everything lives in one temporary folder: the scheduler's configuration, spool,
# logs, socket and the output. The system's scheduler, queues and files are never
# touched; the private scheduler is stopped by its process id and the folder
# removed. Where the scheduler cannot run, the print test is skipped with the
# reason (the other tests still run); under CI that is a failure instead.
set -euo pipefail

queue=kordel-pdf
cupsd=/usr/sbin/cupsd
lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)
cups_lib=/usr/lib/cups

without_cups() {
  echo "The CUPS print test is skipped: $1." >&2
  shift
  if [[ ${CI:-} == true ]]; then
    echo "CI needs the CUPS print test to run." >&2
    exit 1
  fi
  exec "$@"
}
[[ -x $cupsd ]] || without_cups "no CUPS scheduler ($cupsd; Debian package cups-daemon)" "$@"
[[ -x $lpadmin ]] || without_cups "no lpadmin (Debian package cups-client)" "$@"
[[ -x $cups_lib/daemon/cups-exec ]] || without_cups "no $cups_lib/daemon/cups-exec" "$@"

dir=$(mktemp -d "${TMPDIR:-/tmp}/kordel-cups.XXXXXX")
pid=
cleanup() {
  if [[ -n $pid ]]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

mkdir -p "$dir"/{root/ppd,spool/tmp,cache,state,log,output,bin/backend}
# The scheduler's programs, with one backend of our own: it copies each job into
# the output folder, renaming it into place only once it is complete.
for sub in daemon filter notifier cgi-bin monitor; do
  [[ -e $cups_lib/$sub ]] && ln -s "$cups_lib/$sub" "$dir/bin/$sub"
done
cat >"$dir/bin/backend/kordel-file" <<'BACKEND'
#!/bin/sh
if [ $# -eq 0 ]; then
  echo 'file kordel-file "Unknown" "Job to file"'
  exit 0
fi
out=${DEVICE_URI#kordel-file:}
target="$out/job-$1.pdf"
if [ -n "${6:-}" ]; then cp "$6" "$target.part"; else cat >"$target.part"; fi
mv "$target.part" "$target"
BACKEND
# Mode 0700: the scheduler runs a backend that only its owner may run as that owner.
chmod 0700 "$dir/bin/backend/kordel-file"
chmod 0755 "$dir/output"

user=$(id -un)
group=$(id -gn)
{
  echo "ServerRoot $dir/root"
  echo "ServerBin $dir/bin"
  echo "DataDir /usr/share/cups"
  echo "RequestRoot $dir/spool"
  echo "TempDir $dir/spool/tmp"
  echo "CacheDir $dir/cache"
  echo "StateDir $dir/state"
  echo "AccessLog $dir/log/access_log"
  echo "ErrorLog $dir/log/error_log"
  echo "PageLog $dir/log/page_log"
  echo "SystemGroup $group"
  # As root the scheduler keeps its default user for filters; otherwise it runs as
  # the user who runs the test.
  [[ $user == root ]] || echo "User $user"
  [[ $user == root ]] || echo "Group $group"
} >"$dir/cups-files.conf"
cat >"$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

"$cupsd" -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
pid=$!
export CUPS_SERVER=$dir/cups.sock
for _ in $(seq 100); do
  [[ -S $CUPS_SERVER ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if ! [[ -S $CUPS_SERVER ]]; then
  reason="the private scheduler did not start: $(tail -n 3 "$dir/log/cupsd.out" "$dir/log/error_log" 2>/dev/null | tr '\n' ' ')"
  cleanup
  trap - EXIT
  unset CUPS_SERVER
  without_cups "$reason" "$@"
fi

# A raw queue hands the program's PDF to the backend unchanged.
if ! "$lpadmin" -p "$queue" -E -v "kordel-file:$dir/output" -m raw 2>"$dir/log/lpadmin.err"; then
  reason="lpadmin could not add the queue: $(cat "$dir/log/lpadmin.err")"
  cleanup
  trap - EXIT
  unset CUPS_SERVER
  without_cups "$reason" "$@"
fi

export KORDEL_CUPS_QUEUE=$queue KORDEL_CUPS_OUTPUT=$dir/output
status=0
"$@" || status=$?
exit "$status"
