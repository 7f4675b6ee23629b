#!/usr/bin/env bash
# Runs every libFuzzer target (tests/fuzz/<name>_fuzz.cpp, built by the fuzz preset into
# build/fuzz/targets/) one after the other and prints one line per target.
#
#   scripts/fuzz.sh long    make fuzz: each target for FUZZ_SECONDS (default 60), starting
#                           from its committed seeds and from its working corpus
#                           build/fuzz/corpus/<name>/, which keeps what the runs find. The
#                           committed folder is only read: new coverage never lands in git.
#   scripts/fuzz.sh check   make test: each target over every committed seed and regression
#                           case, then a short run with a fixed seed from an empty working
#                           corpus (FUZZ_CHECK_SECONDS, default 4): the same inputs every
#                           time, so it does not flake.
#
# A crash, a sanitizer report or a failed check fails the run. The input that caused it is
# copied into the target's committed folder tests/fuzz/corpus/<name>/, to be committed with
# the fix, so that every later check replays it.
set -uo pipefail
cd "$(dirname "$0")/.."

mode=${1:-}
case "$mode" in
long) seconds=${FUZZ_SECONDS:-60} ;;
check) seconds=${FUZZ_CHECK_SECONDS:-4} ;;
*)
  echo "usage: $0 long|check" >&2
  exit 2
  ;;
esac
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || {
  echo "fuzz: the time per target must be a whole number of seconds, not \"$seconds\"" >&2
  exit 2
}

build=build/fuzz
mkdir -p "$build/logs"
fail=0
shopt -s nullglob
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" .cpp)
  target=$build/targets/$name
  seeds=tests/fuzz/corpus/$name
  log=$build/logs/$name.log
  if [ ! -x "$target" ]; then
    echo "fuzz: $name: $target is missing (build it with: cmake --build --preset fuzz)"
    fail=1
    continue
  fi
  if [ ! -d "$seeds" ] || [ -z "$(ls -A "$seeds")" ]; then
    echo "fuzz: $name: no seeds in $seeds/ (add a few small meaningful inputs)"
    fail=1
    continue
  fi

  artifacts=$build/artifacts/$name
  mkdir -p "$artifacts"
  if [ "$mode" = long ]; then
    work=$build/corpus/$name
    mkdir -p "$work"
    options=()
  else
    # A fresh working corpus and no rereading of it: the run depends on the seed alone.
    work=$build/check-corpus/$name
    rm -rf "$work"
    mkdir -p "$work"
    options=(-seed=1 -reload=0)
  fi

  # libFuzzer adds what it finds to the first folder only. Each committed input is run once
  # before the mutations start.
  "$target" "${options[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" "$seeds" >"$log" 2>&1
  rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1 s/p' "$log" | tail -n1)
  line="fuzz: $name: ${runs:-?} runs${took:+ in $took}, $(ls "$seeds" | wc -l) committed inputs"
  if [ "$rc" = 0 ]; then
    echo "$line, crashes: 0"
    continue
  fi

  fail=1
  artifact=$(sed -n 's/^.*Test unit written to \(.*\)$/\1/p' "$log" | tail -n1)
  if [ -z "$artifact" ] || [ ! -f "$artifact" ]; then
    echo "$line, failed (exit $rc) without an input to keep; the end of $log:"
    tail -n 20 "$log" | sed 's/^/  /'
    continue
  fi
  echo "$line, crashes: 1, $artifact (log: $log)"
  # The failed check or the sanitizer's one-line summary says what went wrong.
  grep -E '^(check failed|SUMMARY):' "$log" | head -n 3 | sed 's/^/  /'
  known=""
  for kept in "$seeds"/*; do
    cmp -s "$artifact" "$kept" && known=$kept
  done
  if [ -n "$known" ]; then
    echo "  the committed input $known fails"
  else
    cp "$artifact" "$seeds/"
    echo "  copied to $seeds/$(basename "$artifact"): commit it with the fix as a regression case"
  fi
done
[ -n "${name:-}" ] || { echo "fuzz: no targets in tests/fuzz/"; exit 1; }
exit $fail
