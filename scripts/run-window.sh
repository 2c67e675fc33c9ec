#!/usr/bin/env bash
# Starts the windowed program in a scratch copy of a bundled example, so that a person can
# type the answers: data.txt, a seed, a number of randomizations, groups.txt.
set -euo pipefail

program=$(realpath "$1")
example=${2:-dune_management}
top=$(cd "$(dirname "$0")/.." && pwd)
scratch="$top/scratch/window-$example"

rm -rf "$scratch"
mkdir -p "$scratch"
cp "$top/examples/$example/data.txt" "$top/examples/$example/groups.txt" "$scratch/"
echo "Starting kova in $scratch"
echo "Answer: data.txt, a seed (e.g. 1), a number of randomizations (e.g. 999), groups.txt"
cd "$scratch"
exec "$program"
