#!/usr/bin/env bash
# A person's session with kova under a real X server: the four answers typed at the keyboard,
# the final table awaited, the transcript saved with File > Save As, then File > Exit chosen
# with Alt+F, X. The process must end with code 0 without asking anything, leave the
# RESULTS.TXT kova-cli leaves, and the saved file must hold the window's lines, each
# followed by CR LF.
#   kova_window_session.sh KOVA KOVA_CLI SOURCE_DIR
set -euo pipefail

kova=$(realpath "$1")
cli=$(realpath "$2")
source=$(realpath "$3")
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run make deps" >&2; exit 1; }
done

work=$(mktemp -d)
server=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  [ -n "${KEEP_WORK:-}" ] && cat "$work/kova-errors" >&2 2>/dev/null; rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/window" "$work/cli" "$work/home"
chmod 700 "$work/home"
for folder in window cli; do
  cp "$source/examples/dune_management/data.txt" "$source/examples/dune_management/groups.txt" \
    "$work/$folder/"
done
(cd "$work/cli" && printf 'data.txt\n11\n20\ngroups.txt\n' | "$cli" >console.txt 2>/dev/null)
# The window's lines: each prompt with its answer below it, the records, the stop's three.
awk 'BEGIN { split("data.txt 11 20 groups.txt", answers, " ") }
     { sub(/\r$/, ""); printf "%s\r\n", $0; if (NR <= 4) printf "%s\r\n", answers[NR] }
     END { printf " STOP \r\n \r\n\r\n" }' "$work/cli/console.txt" >"$work/expected-transcript.txt"

# The server writes its display number once it accepts connections.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
server=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work/home" XDG_CONFIG_HOME="$work/home" XDG_CACHE_HOME="$work/home"
unset QT_QPA_PLATFORM

# Waits until a command succeeds, for at most $1 tenths of a second.
wait_for() {
  local tenths=$1
  shift
  for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
  echo "gave up waiting for: $*" >&2
  return 1
}

cd "$work/window"
"$kova" 2>"$work/kova-errors" &
program=$!
wait_for 100 xdotool search --name '^kova$' >/dev/null
sleep 0.3
for answer in data.txt 11 20 groups.txt; do
  xdotool type --delay 10 "$answer"
  xdotool key Return
  sleep 0.1
done

# The file is complete before the final table and the stop are shown.
results_complete() { cmp -s RESULTS.TXT "$work/cli/RESULTS.TXT"; }
wait_for 100 results_complete
sleep 0.5

# File > Save As..., the second item of the File menu, then the file's name.
xdotool key alt+f
sleep 0.3
xdotool key Down Return
wait_for 50 xdotool search --name '^Save As$' >/dev/null
sleep 0.5
xdotool type --delay 10 "$work/window/session"
xdotool key Return
saved() { [ -s "$work/window/session.txt" ]; }
wait_for 50 saved
sleep 0.3

# The transcript is saved: File > Exit ends the program without a question.
xdotool key alt+f
sleep 0.3
xdotool key x

ended() { ! kill -0 "$program" 2>/dev/null; }
wait_for 100 ended || { kill "$program"; exit 1; }
status=0
wait "$program" || status=$?
if [ "$status" -ne 0 ]; then
  echo "kova ended with exit code $status" >&2
  cat "$work/kova-errors" >&2
  exit 1
fi
cmp RESULTS.TXT "$work/cli/RESULTS.TXT"
cmp session.txt "$work/expected-transcript.txt"
echo "session ended with exit code 0, the RESULTS.TXT of kova-cli and the transcript saved"
