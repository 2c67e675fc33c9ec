#!/usr/bin/env bash
# Peak memory and time of whole kova-cli runs on two large generated tables, 90 % zeros and
# small counts elsewhere: 20,000 species x 5,000 sites x 8 groups and 50,000 x 2,000 x 6 (each
# 400 MB of abundances, 10^8 entries). The tables are written once into a scratch folder
# under /tmp (about 200 MB each) and removed at the end.
#   peak_memory.sh BUILD_DIR [STEPS]
# Prints, per table: the abundance table's size, the peak resident memory (/usr/bin/time -v)
# and its ratio to the table, wall and processor seconds, for a run of STEPS steps (default 3).
set -euo pipefail

build=$(realpath "$1")
steps=${2:-3}
work=$(mktemp -d /tmp/kova-peak-memory.XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"

# A data file of `species` rows over `sites` sites and a group file dealing the groups out
# in turn.
generate() {
  local species=$1 sites=$2 groups=$3
  awk -v S="$species" -v N="$sites" -v G="$groups" 'BEGIN {
    srand(1); print "generated table"; print S, N, G
    for (i = 0; i < S; i++) {
      line = ""
      for (k = 0; k < N; k++) line = line (k ? " " : "") (rand() < 0.1 ? int(rand() * 5) + 1 : 0)
      print line
    }
  }' >data.txt
  awk -v N="$sites" -v G="$groups" 'BEGIN { for (k = 0; k < N; k++) print k % G + 1 }' >groups.txt
}

printf '%-22s %9s %9s %7s %8s %8s\n' table table_MB peak_MB ratio wall_s cpu_s
for shape in "20000 5000 8" "50000 2000 6"; do
  read -r species sites groups <<<"$shape"
  generate "$species" "$sites" "$groups"
  /usr/bin/time -v -o time.txt "$build/bin/kova-cli" --data data.txt --groups groups.txt \
    --seed 12345 --randomizations "$steps" >/dev/null 2>stop.txt || { cat stop.txt; exit 1; }
  peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' time.txt)
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0
    for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' time.txt)
  cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { print u + s }' time.txt)
  awk -v name="${species}x${sites}x${groups}" -v entries=$((species * sites)) -v peak="$peak_kb" \
    -v wall="$wall" -v cpu="$cpu" 'BEGIN {
      table = entries * 4 / 1048576; peakMb = peak / 1024
      printf "%-22s %9.0f %9.0f %7.3f %8.2f %8.2f\n", name, table, peakMb, peakMb / table, wall, cpu
    }'
done
