#!/usr/bin/env bash
# Records the pinned outputs of tests/apps/golden/cases.txt with the given kova-cli.
#
# Run it only with a program whose outputs are known to be right: every later build is
# compared against what this writes. Usage: scripts/make-golden-outputs.sh build/bin/kova-cli
set -euo pipefail

program=$(realpath "$1")
top=$(cd "$(dirname "$0")/.." && pwd)
golden="$top/tests/apps/golden"
largest=65536   # larger outputs are pinned by digest and tail
tail_lines=40

# The single-threaded run is the reference, whatever the machine.
export KOVA_THREADS=1

grep -v '^#' "$golden/cases.txt" | while read -r input seed count; do
  [ -n "$input" ] || continue
  case_folder="$golden/$(basename "$input")-s$seed-r$count"
  rm -rf "$case_folder"
  mkdir -p "$case_folder"
  work=$(mktemp -d)
  cp "$top/$input/data.txt" "$top/$input/groups.txt" "$work/"
  status=0
  (cd "$work" && printf 'data.txt\n%s\n%s\ngroups.txt\n' "$seed" "$count" |
     "$program" > console.txt 2> error.txt) || status=$?
  echo "$status" > "$case_folder/exit-code"
  for output in console.txt error.txt RESULTS.TXT; do
    if [ "$(stat -c %s "$work/$output")" -gt "$largest" ]; then
      sha256sum < "$work/$output" | cut -d' ' -f1 > "$case_folder/$output.sha256"
      tail -n "$tail_lines" "$work/$output" > "$case_folder/$output.tail"
    else
      cp "$work/$output" "$case_folder/$output"
    fi
  done
  rm -rf "$work"
  echo "$(basename "$case_folder"): exit $status"
done
