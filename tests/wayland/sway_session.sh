#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The whole program on a Wayland compositor, driven with keys (wtype):
# log on with no box in the way, open each drill and the game and read the
# window tree back (every window on the output; the guidance inside the
# drill window, no window of its own to be covered), pass a lesson that has a
# dead-key character, and leave. Screenshots of each window go to SHOTS.
#   sway_session.sh TAPWREN SOURCE_DATA BUILD_DATA SHOTS
# Run it under tests/wayland/under-sway.
set -euo pipefail
program=$1
source_data=$2
build_data=$3
shots=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d)
mkdir -p "$shots" 2>/dev/null || shots=$work/shots
mkdir -p "$shots"
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

data=$work/data
mkdir -p "$data"
cp "$source_data"/tw.ini "$source_data"/twc.ini "$source_data"/twgame.ini "$data"/
cp -R "$source_data"/Courses "$data"/
cp "$build_data"/Courses/English/layout.twt "$data"/Courses/English/
# A first lesson with a dead-key character (Windows-1252 "ê"), typed as a
# user of a German or French keyboard types it.
{ printf 'f\xeaj j\xeaf\r\n'; cat "$source_data"/Courses/English/course.txt; } >"$data"/Courses/English/course.txt

fail() {
  echo "FAIL: $*" >&2
  command -v grim >/dev/null && grim "$shots/failure.png" 2>/dev/null && echo "screenshot: $shots/failure.png" >&2
  cat "$work"/program.log >&2 || true
  exit 1
}
windows() { swaymsg -t get_tree -r | "$here"/sway-windows "$app"; }
focused() { windows | awk '$1 == 1 { print $2, $3, $4, $5; exit }'; }
count() { windows | grep -vc '^output' || true; }

# Waits until a window of the program other than the given one has the focus,
# and prints its rectangle.
wait_focus_moves() {
  local from=$1 now
  for _ in $(seq 150); do
    now=$(focused)
    if [ -n "$now" ] && [ "$now" != "$from" ]; then
      echo "$now"
      return
    fi
    sleep 0.1
  done
  fail "no other window of the program took the focus (after $from)"
}

# Every window of the program lies on the output, whole.
all_on_output() {
  windows | python3 -c '
import sys
rows = [l.split() for l in sys.stdin]
out = [int(v) for v in rows[-1][1:5]]
for r in rows[:-1]:
    x, y, w, h = map(int, r[1:5])
    if x < out[0] or y < out[1] or x + w > out[0] + out[2] or y + h > out[1] + out[3]:
        sys.exit("off the output: " + " ".join(r))
' || fail "$1: a window does not fit the output"
}

key() { wtype "$@"; sleep 0.3; }

cd "$data"
LANGUAGE=en "$program" en >"$work"/program.log 2>&1 &
app=$!

logon=$(wait_focus_moves none)
key -k Return
main=$(wait_focus_moves "$logon")
sleep 0.5
[ "$(count)" = 1 ] || fail "more than the main window after logon: $(windows)"
grim "$shots/main.png"

# Each activity: its window takes the focus, lies on the output and is the
# only window besides the main one (the guidance shows inside it).
for activity in c:course s:sentence f:free p:paragraph; do
  letter=${activity%%:*}
  name=${activity#*:}
  key -M alt -k "$letter" -m alt
  drill=$(wait_focus_moves "$main")
  sleep 0.8
  [ "$(count)" = 2 ] || fail "$name: windows besides the main one and the drill: $(windows)"
  all_on_output "$name"
  read -r _ _ _ height <<<"$drill"
  if [ "$name" != paragraph ] && [ "$height" -lt 380 ]; then
    fail "$name: the drill window ($drill) has no room for the guidance"
  fi
  grim "$shots/$name.png"
  if [ "$name" = course ]; then
    # The lesson with its dead-key characters, at a human pace; the key
    # after the last character ends the line.
    for ch in f ê j space j ê f; do
      case $ch in
      ê) key -k dead_circumflex -k e ;;
      space) key -k space ;;
      *) key -k "$ch" ;;
      esac
    done
    key -k Return
    sleep 0.5
  fi
  # Escape ends the drill; the free drill first asks for its next line,
  # and Escape answers that too.
  for _ in 1 2 3; do
    key -k Escape
    sleep 0.5
    [ "$(focused)" = "$main" ] && break
  done
  [ "$(focused)" = "$main" ] || fail "$name: the main window did not come back"
done

key -M alt -k g -m alt
prompt=$(wait_focus_moves "$main")
key -k Return
game=$(wait_focus_moves "$prompt")
sleep 0.5
all_on_output game
grim "$shots/game.png"
# Under sway the game window does not take the Escape that closes it on X11
# (a known fault, not this test's): the run ends as the session's end ends
# it, with SIGTERM, which saves the profile without the report.
kill -TERM "$app"
for _ in $(seq 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$app" 2>/dev/null && fail "the program did not end"
wait "$app" || fail "the program ended with $?"
app=

value() { tr -d '\r' <"$1" | sed -n "s/^$2=//p" | head -1; }
[ "$(value "$data"/twc.ini Progress)" -ge 1 ] || fail "the lesson with dead keys did not pass"
grep -q "could not be activated" "$work"/program.log && fail "a layout box was shown"
echo "PASS"
