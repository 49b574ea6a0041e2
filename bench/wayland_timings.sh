#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# wayland_timings.sh TAPWREN SOURCE_DATA BUILD_DATA [RUNS]
# Times the program on a Wayland compositor by the compositor's own window
# events (wayland_timings.py): from the Enter that logs on to the main window
# taking the focus, and from Alt+C to the course drill taking it. Run by hand
# under tests/wayland/under-sway, on a Release build; prints the median of RUNS.
set -euo pipefail
program=$1
source_data=$2
build_data=$3
runs=${4:-5}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

for _ in $(seq "$runs"); do
  rm -rf "$work/data"
  mkdir -p "$work/data"
  cp "$source_data"/tw.ini "$source_data"/twc.ini "$source_data"/twgame.ini "$work/data"/
  cp -R "$source_data"/Courses "$work/data"/
  cp "$build_data"/Courses/English/layout.twt "$work/data"/Courses/English/
  { read -r logon && read -r drill; } < <("$here"/wayland_timings.py "$program" "$work/data")
  echo "$logon" >>"$work/logon"
  echo "$drill" >>"$work/drill"
done
echo "logon to main window: $(median <"$work/logon") ms (median of $runs)"
echo "Course button to drill window: $(median <"$work/drill") ms (median of $runs)"
