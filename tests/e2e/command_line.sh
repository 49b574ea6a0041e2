#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The command line as a user meets it in a terminal: the help and the version
# are printed without a display, an unknown option is told with the usage
# and exit status 2, and a language with no catalogue is told in one line.
#   command_line.sh PROGRAM VERSION
set -euo pipefail
program=$1
version=$2
work=$(mktemp -d)
app=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
cd "$work"

# Printing needs no display.
headless() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LANG=C.UTF-8 "$@"; }
for args in --help -h "-platform xcb --help"; do
  # shellcheck disable=SC2086
  headless LANGUAGE=en "$program" $args >out 2>err || fail "'$args' ended with $?: $(cat err)"
  grep -q '^Usage: .*tapwren \[options\] \[language\]$' out || fail "'$args' printed: $(cat out)"
  grep -q -- '--version' out || fail "'$args' does not name --version: $(cat out)"
done
# The help speaks the language the command line or the environment names.
headless LANGUAGE=en "$program" de --help >out
grep -q 'Zehnfingerschreiben' out || fail "'de --help' is not German: $(cat out)"
headless LANGUAGE=xx:fr "$program" --help >out
grep -q 'dactylographie' out || fail "LANGUAGE=xx:fr gives no French help: $(cat out)"

for args in --version -v; do
  out=$(headless "$program" $args) || fail "'$args' ended with $?"
  [ "$out" = "tapwren $version" ] || fail "'$args' printed '$out'"
done

# A wrong option: the usage on standard error, nothing on standard output.
for args in --bogus-option -x; do
  status=0
  QT_QPA_PLATFORM=offscreen LANGUAGE=en "$program" $args >out 2>err || status=$?
  [ "$status" -eq 2 ] || fail "'$args' ended with $status"
  [ ! -s out ] || fail "'$args' printed on standard output: $(cat out)"
  grep -q "Unknown option" err || fail "'$args' does not say what is wrong: $(cat err)"
  grep -q '^Usage: ' err || fail "'$args' shows no usage: $(cat err)"
done

# A language with no catalogue: one line, and the program starts in English.
QT_QPA_PLATFORM=offscreen LANGUAGE=en "$program" xx extra >out 2>err &
app=$!
for _ in $(seq 100); do
  grep -q 'xx' err && break
  kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat err)"
  sleep 0.1
done
sleep 0.5
kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat err)"
kill "$app"
wait "$app" 2>/dev/null || true
app=
[ "$(grep -c '^tapwren: ' err)" -eq 1 ] || fail "not one line about the language: $(cat err)"
grep -q '^tapwren: .*"xx".*English' err || fail "the line says: $(cat err)"
echo PASS
