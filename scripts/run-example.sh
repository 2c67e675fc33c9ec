#!/usr/bin/env bash
# Runs kova-cli on a bundled example in a scratch folder, with the answers fed from a file,
# and shows the dialogue and the final table.
set -euo pipefail

program=$(realpath "$1")
example=${2:-dune_management}
seed=${3:-1}
randomizations=${4:-999}
top=$(cd "$(dirname "$0")/.." && pwd)
scratch="$top/scratch/$example"

rm -rf "$scratch"
mkdir -p "$scratch"
cp "$top/examples/$example/data.txt" "$top/examples/$example/groups.txt" "$scratch/"
printf 'data.txt\n%s\n%s\ngroups.txt\n' "$seed" "$randomizations" > "$scratch/answers.txt"

cd "$scratch"
status=0
"$program" < answers.txt > console.txt 2> errors.txt || status=$?

# The four prompts, each with the answer given to it.
mapfile -t answers < answers.txt
echo "== Dialogue"
head -n 4 console.txt | tr -d '\r' | while IFS= read -r prompt; do
  echo "$prompt"
  echo "   > ${answers[0]}"
  answers=("${answers[@]:1}")
done
steps=$(grep -c 'Randomization step' console.txt || true)
echo "   ... $steps randomization steps, their summary lines in $scratch/console.txt"
echo "== Final table"
sed -n '/INDEX  ACTUAL/,$p' console.txt | tr -d '\r'
tr -d '\r' < errors.txt
echo "== RESULTS.TXT is $scratch/RESULTS.TXT (exit code $status)"
exit "$status"
