#!/usr/bin/env bash
# A person's sessions with kova under a real X server.
# 1. The four answers typed at the keyboard, the final table awaited, the transcript saved
#    with File > Save As, then File > Exit chosen with Alt+F, X. The process must end with
#    code 0 without asking anything, leave the RESULTS.TXT kova-cli leaves, and the saved file
#    must hold the window's lines, each followed by CR LF.
# 2. The names of R's CSV files typed: the RESULTS.TXT of kova-cli --community ... --groups
#    ...; then Results > Species, sorted by a click on "value", every row copied with Ctrl+A,
#    Ctrl+C: the clipboard holds the header and the rows, tab-separated, by value; then
#    File > Exit, No: exit code 0.
# 3. The first answer chosen in File > Open File Name (Ctrl+O) by typing its name into the
#    dialog: the same RESULTS.TXT.
# 4. kova with kova-cli's options: the RESULTS.TXT kova-cli gives with them.
#   kova_window_session.sh KOVA KOVA_CLI SOURCE_DIR
set -euo pipefail

kova=$(realpath "$1")
cli=$(realpath "$2")
source=$(realpath "$3")
for tool in Xvfb xdotool xclip; do
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

# The server writes its display number once it accepts connections. It must not reset when
# its last client leaves between two sessions: a program connecting meanwhile is refused.
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
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
# The program ends by itself, with exit code 0.
expect_clean_end() {
  wait_for 100 ended || { kill "$program"; exit 1; }
  status=0
  wait "$program" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "kova ended with exit code $status" >&2
    cat "$work/kova-errors" >&2
    exit 1
  fi
}
expect_clean_end
cmp RESULTS.TXT "$work/cli/RESULTS.TXT"
cmp session.txt "$work/expected-transcript.txt"
echo "session 1 ended with exit code 0, the RESULTS.TXT of kova-cli and the transcript saved"

# ---- Sessions with R's CSV files ---------------------------------------------------------

# A folder holding R's files of the example, named $1.
csv_folder() {
  mkdir "$work/$1"
  cp "$source/examples/dune_management/community.csv" \
    "$source/examples/dune_management/groups.csv" "$work/$1/"
}
csv_folder csv-cli
(cd "$work/csv-cli" && "$cli" --community community.csv --groups groups.csv --seed 5 \
  --randomizations 99 >/dev/null 2>&1)
csv_folder options-cli
(cd "$work/options-cli" && "$cli" --community community.csv --groups groups.csv --seed 1 \
  --randomizations 99 >/dev/null 2>&1)

# Starts kova with the arguments given in the current folder and waits for its frame.
start_kova() {
  "$kova" "$@" 2>"$work/kova-errors" &
  program=$!
  shown() { xdotool search --name '^kova$' >/dev/null 2>&1; }
  wait_for 200 shown || { echo "kova is $(ended && echo gone || echo running):" >&2
                          cat "$work/kova-errors" >&2; exit 1; }
  frame=$(xdotool search --name '^kova$' | head -1)
  sleep 0.3
}

answer() {
  for text in "$@"; do
    xdotool type --delay 10 "$text"
    xdotool key Return
    sleep 0.1
  done
}

# File > Exit; the unsaved transcript's question answered No. The program must end with 0.
exit_without_saving() {
  xdotool key alt+f
  sleep 0.3
  xdotool key x
  asked() { xdotool search --name '^KOVA$' getwindowname %@ 2>/dev/null | grep -qx KOVA; }
  wait_for 50 asked
  # The box may be shown before it has the keyboard: No again until it is gone.
  answered_no() { xdotool key alt+n && sleep 0.3 && ! asked; }
  wait_for 20 answered_no
  expect_clean_end
}

# 2. The CSV names typed, the species window sorted and copied.
csv_folder typed
cd "$work/typed"
start_kova
answer community.csv 5 99 groups.csv
csv_results() { cmp -s RESULTS.TXT "$work/csv-cli/RESULTS.TXT"; }
wait_for 100 csv_results
sleep 0.5
# Results > Species; the window opens in front with the keyboard in its table. Without a
# window manager the frame stands at the screen's top left, and the species window at a fixed
# place in it: the title "value" is at (288, 119).
xdotool key alt+r
sleep 0.3
xdotool key e
# Ctrl+C in the table copies the current row under the header: the window is open.
printf 'species\tname\tgroup\tvalue\tA\tB\tp\tp Holm\tp BH\n' >"$work/header.txt"
copied_rows() {
  xclip -selection clipboard -o >"$work/copied.txt" 2>/dev/null &&
    head -1 "$work/copied.txt" | cmp -s - "$work/header.txt" &&
    [ "$(wc -l <"$work/copied.txt")" -eq "$1" ]
}
species_shown() { xdotool key ctrl+c && sleep 0.1 && copied_rows 2; }
wait_for 50 species_shown
xdotool mousemove --window "$frame" 288 119 click 1
sleep 0.3
xdotool key ctrl+a ctrl+c
wait_for 50 copied_rows 31 || { echo "the clipboard holds:" >&2; cat "$work/copied.txt" >&2; exit 1; }
# Every row has nine fields, and the values rise.
awk -F'\t' 'NR > 1 && (NF != 9 || $4 + 0 < previous) { print "out of order: " $0; bad = 1 }
             NR > 1 { previous = $4 + 0 } END { exit bad }' "$work/copied.txt" >&2
exit_without_saving
cmp RESULTS.TXT "$work/csv-cli/RESULTS.TXT"
echo "session 2: R's files typed gave kova-cli's RESULTS.TXT; the species copied, sorted by value"

# 3. The first answer chosen in the file dialog.
csv_folder chosen
cd "$work/chosen"
start_kova
xdotool key ctrl+o
wait_for 50 xdotool search --name '^Open File Name$' >/dev/null
sleep 0.5
xdotool type --delay 10 community.csv
xdotool key Return
dialog_closed() { ! xdotool search --name '^Open File Name$' >/dev/null; }
wait_for 50 dialog_closed
sleep 0.3
answer 5 99 groups.csv
wait_for 100 csv_results
sleep 0.5
exit_without_saving
cmp RESULTS.TXT "$work/csv-cli/RESULTS.TXT"
echo "session 3: the file chosen in the dialog gave the same RESULTS.TXT"

# 4. kova-cli's options.
csv_folder options
cd "$work/options"
start_kova --community community.csv --groups groups.csv --seed 1 --randomizations 99
options_results() { cmp -s RESULTS.TXT "$work/options-cli/RESULTS.TXT"; }
wait_for 100 options_results
sleep 0.5
exit_without_saving
cmp RESULTS.TXT "$work/options-cli/RESULTS.TXT"
echo "session 4: kova with kova-cli's options gave kova-cli's RESULTS.TXT"
