#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole program from logon to exit, driven with real X key events:
# log on, take the first lesson of the course, close the drill and the main
# window, answer the report. Then the data folder must hold exactly what the
# run changed: Progress and TimeTotal of the user, and the last User.
#   logon_to_exit.sh TAPWREN SOURCE_DATA BUILD_DATA
# Run it under tests/desktop/under-xvfb; it starts its own window manager.
set -euo pipefail
program=$1
source_data=$2
build_data=$3

for tool in xdotool openbox; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

data=$work/data
mkdir -p "$data"
cp "$source_data"/tw.ini "$source_data"/twc.ini "$source_data"/twgame.ini "$data"/
cp -R "$source_data"/Courses "$data"/
cp "$build_data"/Courses/English/layout.twt "$data"/Courses/English/
cp "$data"/tw.ini "$work"/tw.before
cp "$data"/twc.ini "$work"/twc.before

# A failure leaves a screenshot of the screen beside the test's log.
fail() {
  echo "FAIL: $*" >&2
  if command -v import >/dev/null; then
    import -window root "${TMPDIR:-/tmp}/tapwren-e2e-failure.png" 2>/dev/null &&
      echo "screenshot: ${TMPDIR:-/tmp}/tapwren-e2e-failure.png" >&2
  fi
  cat "$work"/program.log >&2 || true
  exit 1
}

# Waits until a window of the program other than the given one has the
# focus, and prints it: every window of the program is titled "Tapwren", so
# each step is told by the window that takes the focus.
wait_focus_moves() {
  local from=$1 id
  for _ in $(seq 150); do
    id=$(xdotool getactivewindow 2>/dev/null || true)
    if [ -n "$id" ] && [ "$id" != "$from" ] &&
      [ "$(xdotool getwindowpid "$id" 2>/dev/null || true)" = "$app" ]; then
      echo "$id"
      return
    fi
    sleep 0.1
  done
  fail "no other window of the program took the focus (after $from)"
}

# Waits until the given window has the focus again.
wait_focus_on() {
  for _ in $(seq 150); do
    [ "$(xdotool getactivewindow 2>/dev/null || true)" = "$1" ] && return
    sleep 0.1
  done
  fail "window $1 did not get the focus back"
}

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5
setxkbmap us

cd "$data"
LANGUAGE=en "$program" en >"$work"/program.log 2>&1 &
app=$!
pids+=($app)

# The logon window, with the remembered user selected: Enter logs on.
logon=$(wait_focus_moves none)
xdotool key Return

# The main window: Alt+C opens the course drill on the first lesson.
main=$(wait_focus_moves "$logon")
xdotool key alt+c
wait_focus_moves "$main" >/dev/null
lesson=$(head -1 "$data"/Courses/English/course.txt | tr -d '\r')
xdotool type --delay 250 "$lesson"
# Typed at a human pace (400 keys a minute), else the drill warns that it is
# too fast to be true. The key after the last character ends the line;
# Escape ends the drill.
xdotool key Return
sleep 0.5
xdotool key Escape

# Back in the main window: Escape closes it with the practice-time report,
# which Enter answers.
wait_focus_on "$main"
xdotool key Escape
wait_focus_moves "$main" >/dev/null
xdotool key Return

for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "the program did not end"
wait "$app" || fail "the program ended with $?"

# Everything but the values the run may change is as it was, byte by byte.
value() { tr -d '\r' <"$1" | sed -n "s/^$2=//p" | head -1; }
strip() { grep -v -E "^($2)=" "$1"; }
[ "$(value "$data"/twc.ini Progress)" -ge 1 ] || fail "Progress did not move on"
[ "$(value "$data"/twc.ini TimeTotal)" -gt "$(value "$work"/twc.before TimeTotal)" ] ||
  fail "TimeTotal did not grow"
[ "$(value "$data"/tw.ini User)" = Default ] || fail "tw.ini does not name the user"
cmp <(strip "$work"/twc.before 'Progress|TimeTotal') <(strip "$data"/twc.ini 'Progress|TimeTotal') ||
  fail "twc.ini changed beyond Progress and TimeTotal"
cmp <(strip "$work"/tw.before User) <(strip "$data"/tw.ini User) ||
  fail "tw.ini changed beyond User"
echo "PASS"
