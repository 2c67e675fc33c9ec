#!/usr/bin/env bash
# `make install PREFIX=<folder>` puts the programs in <folder>/bin, where a user's PATH finds
# them, and the installed kova-cli runs. Usage: make_install_test.sh SOURCE BUILD [kova]
set -euo pipefail

source_folder=$1
build_folder=$2
window_program=${3:-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

if ! make -C "$source_folder" --no-print-directory install BUILD_DIR="$build_folder" \
     PREFIX="$prefix/installed" >"$prefix/make.log" 2>&1; then
  cat "$prefix/make.log"
  echo "make install failed" >&2
  exit 1
fi

export PATH="$prefix/installed/bin:$PATH"
found=$(command -v kova-cli)
if [ "$found" != "$prefix/installed/bin/kova-cli" ]; then
  echo "kova-cli is not found on the PATH in the prefix: $found" >&2
  exit 1
fi
help=$(cd "$prefix" && kova-cli --help)
for option in --data --community --groups --seed --randomizations; do
  if ! grep -q -e "$option" <<<"$help"; then
    echo "kova-cli --help does not list $option" >&2
    exit 1
  fi
done
if [ -n "$window_program" ] && [ ! -x "$prefix/installed/bin/$window_program" ]; then
  echo "$window_program is not installed" >&2
  exit 1
fi
echo "installed and ran: $(ls "$prefix/installed/bin" | tr '\n' ' ')"
