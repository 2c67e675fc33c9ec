#!/usr/bin/env bash
# Times whole runs of dune_management through the window (offscreen, answers typed by a
# scripted user) against the same runs through kova-cli, median of five each; the window's
# start-up alone is timed too, so the cost of showing the lines can be told apart from it.
#   window_run_bench.sh BUILD_DIR [STEPS...]
set -euo pipefail

build=$(realpath "$1")
shift
steps=("${@:-2000 20000}")
read -r -a steps <<<"${steps[*]}"
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$top/examples/dune_management/data.txt" "$top/examples/dune_management/groups.txt" "$work/"
mkdir -m 700 "$work/runtime"
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
cd "$work"

# Median wall time in seconds of five runs of a command.
median() {
  local times=()
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    times+=("$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

cli_run() { printf 'data.txt\n1\n%s\ngroups.txt\n' "$1" | "$build/bin/kova-cli"; }
window_run() {
  "$build/tests/host/win/scripted_kova" type:data.txt type:1 "type:$1" type:groups.txt \
    await-end close:No
}

startup=$(median "$build/tests/host/win/scripted_kova" close:No)
printf 'window start-up and close alone: %.3f s\n' "$startup"
printf '%8s %8s %10s %10s %14s\n' steps lines cli_s window_s "window-startup"
for count in "${steps[@]}"; do
  cli=$(median cli_run "$count")
  window=$(median window_run "$count")
  printf '%8d %8d %10.3f %10.3f %14.3f\n' "$count" $((count * 16)) "$cli" "$window" \
    "$(awk -v a="$window" -v b="$startup" 'BEGIN { printf "%.4f", a - b }')"
done
