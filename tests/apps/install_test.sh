#!/usr/bin/env bash
# Installing the build (what `make install PREFIX=<folder>` does once the programs are built)
# puts the programs in <folder>/bin, where a user's PATH finds them, and the installed kova-cli
# runs. Usage: make_install_test.sh SOURCE BUILD [kova]
set -euo pipefail

source_folder=$1
build_folder=$2
window_program=${3:-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

if ! cmake --install "$build_folder" --prefix "$prefix/installed" >"$prefix/install.log" 2>&1; then
  cat "$prefix/install.log"
  echo "cmake --install failed" >&2
  exit 1
fi
# The Makefile's install goes through the same step.
grep -q 'cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"' "$source_folder/Makefile"

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
