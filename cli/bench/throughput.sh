#!/usr/bin/env bash
# End-to-end throughput and memory of kordel-decode: a file of generated VINs to
# JSON Lines, text and CSV on one core, with the maximum resident set size.
# Usage: throughput.sh path/to/kordel-decode [count]   (count defaults to 10 million)
set -euo pipefail
decode=$1
count=${2:-10000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A mix like a club registry: three of four 13-character VINs (some of them leave
# the model year open, some are rejected), one of four 17-character VINs.
awk -v n="$count" 'BEGIN {
  split("A1F031B3 A8A855H1 A9X855H1 A1A050A1 A9A439A1 A1F031BQ A3A350A1", p13, " ")
  split("1AMCM3877BK1 1AMCM3577BK1 2AMCM3877BK1", p17, " ")
  srand(1)
  for (i = 0; i < n; i++) {
    if (i % 4 == 3) printf "%s%05d\n", p17[int(rand() * 3) + 1], i % 100000
    else printf "%s%05d\n", p13[int(rand() * 7) + 1], i % 100000
  }
}' >"$work/vins.txt"

for format in json text csv; do
  /usr/bin/time -f "%e %U %S %M" -o "$work/time" \
    taskset -c 0 "$decode" --format "$format" --input "$work/vins.txt" >/dev/null 2>&1 || true
  read -r wall user sys rss < <(tail -n 1 "$work/time")
  awk -v f="$format" -v n="$count" -v w="$wall" -v u="$user" -v s="$sys" -v r="$rss" 'BEGIN {
    printf "%-5s %d VINs: %.2f s wall, %.2f s CPU, %.2f million VINs/s of CPU, max RSS %d KiB\n",
           f, n, w, u + s, n / (u + s) / 1e6, r }'
done
