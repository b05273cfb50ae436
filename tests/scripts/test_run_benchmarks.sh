#!/usr/bin/env bash
# run-benchmarks runs every program even after one misses a target or fails,
# lists each missed target and failure at the end, and says so in its status.
set -u
runner=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

program() {  # name, what it prints, its status
  printf '#!/bin/sh\nprintf "%%s\\n" "%s"\nexit %s\n' "$2" "$3" > "$folder/$1"
  chmod +x "$folder/$1"
}
program bench_a "draw pass  7.1 ms (target at most 5 ms): NOT MET" 1
program bench_b "every figure met" 0
program bench_c "garden.skp: ratio 2.9 (target at most 1.5): MISSED" 3

output=$(bash "$runner" "$folder" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "status $status, not 1"
for expected in "every figure met" "3 benchmark programs run" "bench_a: draw pass  7.1 ms (target at most 5 ms): NOT MET" \
                "bench_c: garden.skp: ratio 2.9 (target at most 1.5): MISSED" "bench_a ended with status 1" \
                "bench_c ended with status 3"; do
  grep -qF -- "$expected" <<<"$output" || fail "no \"$expected\" in:"$'\n'"$output"
done

rm "$folder/bench_a" "$folder/bench_c"
output=$(bash "$runner" "$folder" 2>&1) || fail "all met, yet status $?:"$'\n'"$output"
grep -qF "every target met" <<<"$output" || fail "no all-met line in:"$'\n'"$output"

rm "$folder/bench_b"
bash "$runner" "$folder" >/dev/null 2>&1 && fail "an empty folder passed"
echo "PASS"
