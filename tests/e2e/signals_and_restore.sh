#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The user's keyboard layouts come back whatever ends the run. For SIGTERM,
# SIGINT and SIGHUP, sent while a drill is open, the program closes as Exit
# does: it ends by itself, saves the profile and the settings and puts the
# layouts back. After SIGKILL the layouts stay switched, the restore file
# beside the profiles says what they were, and the next start puts them back.
#   signals_and_restore.sh x11|sway TAPWREN SOURCE_DATA BUILD_DATA
# x11 runs under tests/desktop/under-xvfb, sway under
# tests/wayland/under-sway --nested (a seat whose layouts sway sets).
set -euo pipefail
desktop=$1
program=$2
source_data=$3
build_data=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

case $desktop in
x11) tools=(xdotool openbox setxkbmap) ;;
sway) tools=(wtype swaymsg python3) ;;
*) echo "usage: $0 x11|sway ..." >&2 && exit 2 ;;
esac
for tool in "${tools[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
app=
pids=()
cleanup() {
  [ -n "$app" ] && kill -9 "$app" 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL ($desktop): $*" >&2
  cat "$work"/program.log >&2 2>/dev/null || true
  exit 1
}

# The desktop's layouts, as its own tools tell them.
if [ "$desktop" = x11 ]; then
  openbox >/dev/null 2>&1 &
  pids+=($!)
  sleep 0.5
  setxkbmap -layout us -variant ''
  layouts() { setxkbmap -query | awk '$1 == "layout:" { print $2 }'; }
  press() { xdotool key --delay 100 "$@"; }
  focused() {
    local id
    id=$(xdotool getactivewindow 2>/dev/null) || return 0
    [ "$(xdotool getwindowpid "$id" 2>/dev/null || true)" = "$app" ] && echo "$id"
    return 0
  }
  own="us"
  switched="us,de"
else
  layouts() {
    swaymsg -t get_inputs -r | python3 -c '
import json, sys
for i in json.load(sys.stdin):
    if i["type"] == "keyboard" and i.get("xkb_layout_names"):
        print(",".join(i["xkb_layout_names"]) + ";" + str(i["xkb_active_layout_index"]))
        break'
  }
  press() {
    for k in "$@"; do
      case $k in
      alt+*) wtype -M alt -k "${k#alt+}" -m alt ;;
      *) wtype -k "$k" ;;
      esac
      sleep 0.1
    done
  }
  focused() {
    swaymsg -t get_tree -r | "$here"/../wayland/sway-windows "$app" |
      awk '$1 == 1 { print $2, $3, $4, $5; exit }'
  }
  own="English (US);0"
  switched="English (US),German;1"
fi

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

wait_end() {
  for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app" 2>/dev/null && fail "$1: the program did not end"
  local status=0
  wait "$app" || status=$?
  app=
  return $status
}

data=$work/data
fresh_data() {
  rm -rf "$data"
  mkdir -p "$data"
  cp "$source_data"/tw.ini "$source_data"/twgame.ini "$data"/
  sed 's/^KeyboardLayout=.*/KeyboardLayout=00000407/' "$source_data"/twc.ini >"$data"/twc.ini
  cp -R "$source_data"/Courses "$data"/
  cp "$build_data"/Courses/English/layout.twt "$data"/Courses/English/
}
start() {
  (cd "$data" && LANGUAGE=en exec "$program" en >"$work"/program.log 2>&1) &
  app=$!
}
log_on() {
  local logon main
  logon=$(wait_focus_moves none)
  press Return
  main=$(wait_focus_moves "$logon")
  [ "$(layouts)" = "$switched" ] || fail "the profile's layout was not activated: $(layouts)"
  echo "$main"
}

[ "$(layouts)" = "$own" ] || fail "the desktop does not start with its own layout: $(layouts)"
for signal in TERM INT HUP; do
  fresh_data
  start
  main=$(log_on)
  [ -f "$data"/twlayout.ini ] || fail "SIG$signal: no restore file while switched"
  press alt+c
  wait_focus_moves "$main" >/dev/null
  sleep 0.3
  kill -s "$signal" "$app"
  wait_end "SIG$signal" || fail "SIG$signal: the program ended with $?"
  [ "$(layouts)" = "$own" ] || fail "SIG$signal: the layouts were not put back: $(layouts)"
  [ ! -e "$data"/twlayout.ini ] || fail "SIG$signal: the restore file stayed"
  tr -d '\r' <"$data"/tw.ini | grep -qx 'User=Default' || fail "SIG$signal: the settings were not saved"
done

# SIGKILL: nothing can be done then; the next start puts the layouts back.
fresh_data
start
log_on >/dev/null
kill -9 "$app"
wait "$app" 2>/dev/null || true
app=
[ "$(layouts)" = "$switched" ] || fail "SIGKILL: the layouts changed: $(layouts)"
grep -q '^\[' "$data"/twlayout.ini || fail "SIGKILL: no restore file left"
start
wait_focus_moves none >/dev/null
[ "$(layouts)" = "$own" ] || fail "the next start did not put the layouts back: $(layouts)"
[ ! -e "$data"/twlayout.ini ] || fail "the restore file stayed after the next start"
kill -TERM "$app"
wait_end "SIGTERM at the logon window" || fail "SIGTERM at the logon window: ended with $?"
echo "PASS"
