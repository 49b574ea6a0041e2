#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# wayland_timings.sh TAPWREN SOURCE_DATA BUILD_DATA [RUNS]
# Times the program on a Wayland compositor as its window tree shows it:
# from the Enter that logs on to the main window taking the focus, and from
# Alt+C to the course drill taking it. Run by hand under
# tests/wayland/under-sway, on a Release build; prints the median of RUNS.
set -euo pipefail
program=$1
source_data=$2
build_data=$3
runs=${4:-5}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
app=
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT

focused() {
  swaymsg -t get_tree -r | "$here"/../tests/wayland/sway-windows "$app" |
    awk '$1 == 1 { print $2, $3, $4, $5; exit }'
}
# Milliseconds until the focus moves away from the given window.
until_focus_moves() {
  local from=$1 start=$2 now
  while :; do
    now=$(focused)
    if [ -n "$now" ] && [ "$now" != "$from" ]; then
      echo $((($(date +%s%N) - start) / 1000000)) "$now"
      return
    fi
  done
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for _ in $(seq "$runs"); do
  rm -rf "$work/data"
  mkdir -p "$work/data"
  cp "$source_data"/tw.ini "$source_data"/twc.ini "$source_data"/twgame.ini "$work/data"/
  cp -R "$source_data"/Courses "$work/data"/
  cp "$build_data"/Courses/English/layout.twt "$work/data"/Courses/English/
  (cd "$work/data" && exec "$program" en >/dev/null 2>&1) &
  app=$!
  read -r _ logon < <(until_focus_moves none "$(date +%s%N)")
  sleep 0.5
  start=$(date +%s%N)
  wtype -k Return
  read -r ms main < <(until_focus_moves "$logon" "$start")
  echo "$ms" >>"$work/logon"
  sleep 0.5
  start=$(date +%s%N)
  wtype -M alt -k c -m alt
  read -r ms _ < <(until_focus_moves "$main" "$start")
  echo "$ms" >>"$work/drill"
  kill -TERM "$app"
  wait "$app" || true
  app=
done
echo "logon to main window: $(median <"$work/logon") ms (median of $runs)"
echo "Course button to drill window: $(median <"$work/drill") ms (median of $runs)"
