#!/usr/bin/env bash
# Runs the built kordel-decode as a user would and checks outputs and exit statuses.
set -uo pipefail
decode=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS DESCRIPTION -- COMMAND...: runs COMMAND, keeps its output in $work/out
# and $work/err, and checks its exit status.
expect() {
  local status=$1 what=$2
  shift 3
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [[ $got -ne $status ]]; then
    echo "FAIL: $what: exit status $got, expected $status"; cat "$work/err"; failures=$((failures + 1))
  fi
}
# holds FILE TEXT WHAT: FILE contains TEXT.
holds() {
  if ! grep -qF -- "$2" "$work/$1"; then
    echo "FAIL: $3: $1 lacks: $2"; head -c 600 "$work/$1"; echo; failures=$((failures + 1))
  fi
}
lines() {
  local n
  n=$(wc -l <"$work/$1")
  if [[ $n -ne $2 ]]; then echo "FAIL: $3: $n lines in $1, expected $2"; failures=$((failures + 1)); fi
}

expect 0 "one VIN" -- "$decode" A1F031B300011
holds out "This was the 200011th car ordered from the Kenosha plant in 1971" "one VIN"
expect 1 "a rejected VIN among good ones" -- "$decode" A1F031B300011 A1F031BQ00011
holds err 'A1F031BQ00011: The 8th digit is a invalid assembly code for a Hornet. (position 8 holds "Q"; accepted: K0123456789)' "rejected"

# Exit status 3: every VIN has a report, but one is incomplete or has a warning.
expect 3 "an unknown body code" -- "$decode" -f csv A1F031B300011 A0A8S7H123442
holds out $',incomplete,1970,AMC,Ambassador,Brougham,,304 2v,' "incomplete in CSV"
expect 3 "a letter in the sequence number" -- "$decode" A1F031B0000O1
holds err 'A1F031B0000O1: warning: the sequence number (positions 9-13) is 000O1,' "sequence warning"
expect 0 "blanks, dashes and lower case" -- "$decode" "1amc w385 5dk-100001"
holds out "Your VIN# of 1AMCW3855DK100001 decodes as follows" "the VIN as read"
printf 'A1F031B300011\r\n\n  A8A855H100001\n1AMCM3877BK123456' >"$work/vins.txt"
# A wrong check digit is a report with a warning: status 3.
expect 3 "lines from a file" -- "$decode" --format json --input "$work/vins.txt"
lines out 3 "lines from a file"
holds out '"check_digit":{"given":"7","expected":"1","valid":false}' "check digit"
expect 3 "lines from standard input" -- bash -c "\"$decode\" -f csv - <\"$work/vins.txt\""
lines out 5 "CSV rows: header, one, two candidates, one"

printf 'id,VIN\r\n1,"A1F031B300011"\r\n2,"A1F0,31"\r\n' >"$work/vins.csv"
expect 1 "CSV column" -- "$decode" -f json -c VIN -i "$work/vins.csv"
holds out '"row":{"id":"2","VIN":"A1F0,31"}' "CSV row member"
expect 2 "missing column" -- "$decode" -c vin -i "$work/vins.csv"
holds err 'the CSV header has no column "vin"' "missing column"
printf 'VIN\n"A1F031B300011\n' >"$work/open.csv"
expect 2 "unbalanced quotes" -- "$decode" -c VIN -i "$work/open.csv"
holds err "unbalanced or misplaced quotes" "unbalanced quotes"

{ head -c 100000 /dev/zero | tr '\0' 'A'; printf '\nA1F031B3\x000011\nA1F031B3000\xff\xfe\nA1F031B300011\n'; } >"$work/bad.txt"
expect 1 "long line, NUL, not UTF-8" -- "$decode" -f json -i "$work/bad.txt"
lines out 4 "every bad line gets its record"
holds out '(the line holds more than 1024 bytes)' "long line"
holds out 'NUL byte' "NUL"
holds out $'A1F031B3000\xef\xbf\xbd\xef\xbf\xbd' "U+FFFD"

# Suggestions and position meanings, in each format.
expect 1 "suggestions in text" -- "$decode" --suggest A1F031B300011 A8AB55H100001
holds err 'A8AB55H100001: did you mean: A8A855H100001 (position 4: B -> 8 [model: Ambassador]), 1968 AMC Ambassador DPL 4dr sedan' "did you mean"
if [[ $(sed -n 7p "$work/err") != "A8AB55H100001: did you mean: A8A855H100001 "* ]]; then
  echo "FAIL: suggestions come after the VIN's messages"; failures=$((failures + 1))
fi
lines err 9 "six model years tried, three suggestions"
expect 1 "suggestions and positions in JSON" -- "$decode" -f json --suggest --explain 1AMCM3877BK100021 A1F031B00011 A1F031BQ00011
holds out '"suggestions":[{"vin":"1AMCM3877BK100201","edit":"swap","changes":[{"position":15,"before":"0","after":"2","meaning":null},{"position":16,"before":"2","after":"0","meaning":null}],"model_years":[1981],"summary":"1981 AMC Eagle 4wd 4 dr wagon Passenger car"},' "JSON suggestions"
holds out '"positions":[{"position":1,"character":"1","field":null,"meaning":"checked: accepts 12","text":null},' "JSON positions"
holds out '{"position":9,"character":"7","field":"check_digit","meaning":"check digit","text":"7"}' "JSON check digit position"
holds out '"accepted":"K0123456789"}],"positions":null}],"check_digit":null,"warnings":[],"suggestions":[{"vin":"A1F031B000011","edit":"look_alike"' "JSON: no positions for a rejected result"
holds out '"error":"13 or 17 Characters only.","check_digit":null,"warnings":[],"suggestions":[{"vin":"A1F031B000011","edit":"insertion","changes":[{"position":8,"before":null,"after":"0","meaning":"plant: Kenosha"}]' "JSON suggestions for 12 characters"
expect 1 "suggestions in CSV" -- "$decode" -f csv --suggest 1AMMC3875BK100021 A1F031B300011
holds out $',message,suggestions\r' "CSV suggestions column"
holds out $',"The 4th digit of the vin was invalid.; check digit is 5, expected 6: the VIN may be mistyped","1AMCM3875BK100021 (position 4: M -> C [engine: AMC 4.2l (258cid) 2v I6], position 5: C -> M [transmission: 4spd manual floor shift )])"\r' "CSV suggestions"
holds out $'A1F031B300011,,decoded,1971,AMC,Hornet,SC 360,2dr hatchback,232 1v,3speed manual on floor,Kenosha,,,,,200011,,\r' "CSV no suggestions"

expect 2 "empty input" -- "$decode" -i /dev/null
holds err "the input holds no VIN" "empty input"
expect 2 "missing file" -- "$decode" -i "$work/none.txt"
holds err "cannot open" "missing file"
expect 2 "bad year" -- "$decode" --year 81 A8A855H100001
expect 1 "year not a candidate" -- "$decode" --year 1970 A8A855H100001
holds err "model year 1970 is not a candidate of this VIN (candidates: 1968, 1978)" "year"
expect 2 "unknown option" -- "$decode" --colour
expect 0 "help" -- "$decode" --help
holds out "--column" "help"
expect 0 "version" -- "$decode" --version
holds out "kordel-decode " "version"

# A reader that goes away: a clear message and status 2, and no more reading of
# an endless input.
expect 2 "closed standard output" -- timeout 60 \
  bash -c "yes A1F031B300011 | \"$decode\" -f json | head -n 1 >/dev/null; exit \${PIPESTATUS[1]}"
holds err "cannot write the output" "closed output"

# A byte-order mark before a plain list is no part of the first VIN.
printf '\xEF\xBB\xBFA1F031B300011\n' >"$work/bom.txt"
expect 0 "byte-order mark before a list" -- "$decode" -i "$work/bom.txt"

# CSV for spreadsheets: a formula's start neutralised, unless --csv-raw; a
# character typed at position 9 written as typed, in UTF-8.
expect 1 "formulas in CSV" -- "$decode" -f csv =2*3 1AMCM387éBK100021
holds out $'\'=2*3,,error,' "formula neutralised"
holds out $',é,5,21,"check digit is é, expected 5: the VIN may be mistyped"\r' "check digit as typed"
expect 1 "formulas in raw CSV" -- "$decode" -f csv --csv-raw =2*3
[[ $(tail -n 1 "$work/out") == '=2*3,,error,'* ]] ||
  { echo "FAIL: --csv-raw changed the cell"; failures=$((failures + 1)); }
expect 3 "check digit as typed in text" -- "$decode" 1AMCM387éBK100021
holds err "warning: check digit is é, expected 5" "text warning in UTF-8"

# A semicolon-separated Windows-1252 file with a header such as "VIN number" comes
# back as it came; the dialect can be chosen; cells past the header are named.
printf 'Nr;VIN number;Besitzer, Name\r\n1;A1F031B300011;J\xFCrgen, =2*3\r\n' >"$work/eu.csv"
expect 0 "semicolons in Windows-1252" -- "$decode" -f csv -c "VIN number" -i "$work/eu.csv"
holds out $'Nr;VIN number;Besitzer, Name;model_year;status;' "semicolon header"
holds out $'1;A1F031B300011;J\xFCrgen, =2*3;;decoded;1971;AMC;Hornet;' "Windows-1252 row"
expect 0 "Windows-1252 to JSON" -- "$decode" -f json -c "VIN number" -i "$work/eu.csv"
holds out '"row":{"Nr":"1","VIN number":"A1F031B300011","Besitzer, Name":"Jürgen, =2*3"}' "UTF-8 row"
expect 2 "a delimiter chosen" -- "$decode" -f csv --delimiter , -c "VIN number" -i "$work/eu.csv"
holds err 'the CSV header has no column "VIN number"' "--delimiter ,"
printf '\xEF\xBB\xBFVIN\tx\tx\nA1F031B300011\ta\tb\tc\n' >"$work/tabs.csv"
expect 0 "tabs with a byte-order mark" -- "$decode" -f csv -c VIN -i "$work/tabs.csv"
holds out $'\xEF\xBB\xBFVIN\tx\tx\tmodel_year\t' "BOM and tabs kept"
holds err "1 row holds more cells than the header names" "cells past the header"
expect 0 "cells past the header in JSON" -- "$decode" -f json -c VIN -i "$work/tabs.csv"
holds out '"row":{"VIN":"A1F031B300011","x":"a","x_2":"b","column_4":"c"}' "row member names"

# --line-buffered: a record and its messages come out while the input is still
# open (the 60 s only keep a failure from hanging the test).
coproc decoding { "$decode" --line-buffered 2>&1; }
echo A1F031BQ00011 >&"${decoding[1]}"
message='' report=''
read -r -t 60 -u "${decoding[0]}" message
echo A1F031B300011 >&"${decoding[1]}"
read -r -t 60 -u "${decoding[0]}" report
exec {decoding[1]}>&-
wait "$decoding_PID"
[[ $message == 'A1F031BQ00011: The 8th digit'* && $report == 'Your VIN# of A1F031B300011'* ]] ||
  { echo "FAIL: --line-buffered: got \"$message\" \"$report\""; failures=$((failures + 1)); }

# A write that fails halfway (here past the file size limit, as on a full disk):
# status 2, and the file holds exactly what it held before, appended to or not;
# a pipe whose reader goes gives the same status in every format.
for _ in $(seq 4000); do echo A1F031B300011; done >"$work/many.txt"
head -c 90000 /dev/zero | tr '\0' 'x' >"$work/before.log"
for format in text json csv; do
  cp "$work/before.log" "$work/results.log"
  expect 2 "$format appended past the size limit" -- \
    bash -c "ulimit -f 100; \"$decode\" -f $format -i \"$work/many.txt\" >>\"$work/results.log\""
  holds err "cannot write the output: File too large" "$format appended past the size limit"
  cmp -s "$work/before.log" "$work/results.log" ||
    { echo "FAIL: $format: the appended file lost or kept bytes"; failures=$((failures + 1)); }
  expect 2 "$format written past the size limit" -- \
    bash -c "ulimit -f 100; \"$decode\" -f $format -i \"$work/many.txt\" >\"$work/new.log\""
  [[ ! -s $work/new.log ]] ||
    { echo "FAIL: $format: a partial output was left"; failures=$((failures + 1)); }
  expect 2 "$format into a pipe that closes" -- \
    bash -c "\"$decode\" -f $format -i \"$work/many.txt\" | head -c 10 >/dev/null; exit \${PIPESTATUS[0]}"
  holds err "cannot write the output" "$format into a pipe that closes"
done

if [[ $failures -ne 0 ]]; then echo "$failures failures"; exit 1; fi
echo "all end-to-end checks passed"
