#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and packs it as a .deb, then
# starts the installed program as a desktop user would, under a virtual X
# server (run it under tests/desktop/under-xvfb): its data folder is seeded
# from the shipped data, a second start overwrites nothing the user changed,
# and a data folder that cannot be made is told in a window.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

for tool in xdotool cpack dpkg; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done

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

# Runs env -u XDG_DATA_HOME ARGS... from a folder that is not the data
# folder, presses each key in the window that shows next, and expects the
# program to end then with the status given.
#   drive STATUS KEY... -- ARGS...
drive() {
  local status=$1 keys=() last=none id= result=0
  shift
  while [ "$1" != -- ]; do
    keys+=("$1")
    shift
  done
  shift
  (cd "$work" && exec env -u XDG_DATA_HOME "$@") >"$work/program.log" 2>&1 &
  app=$!
  for key in "${keys[@]}"; do
    id=
    for _ in $(seq 150); do
      id=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | grep -v -x "$last" | head -1 || true)
      [ -n "$id" ] && break
      kill -0 "$app" 2>/dev/null || { cat "$work/program.log" >&2; fail "$* ended early"; }
      sleep 0.1
    done
    [ -n "$id" ] || fail "no window from $*"
    xdotool mousemove --window "$id" 5 5 click 1 key "$key"
    last=$id
  done
  for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app" 2>/dev/null && fail "$* did not end on ${keys[*]}"
  wait "$app" || result=$?
  app=
  [ "$result" -eq "$status" ] || { cat "$work/program.log" >&2; fail "$* ended with $result"; }
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/tapwren share/locale/de/LC_MESSAGES/tapwren.mo \
  share/tapwren/help/manual.html share/tapwren/help/manual.de.html \
  share/tapwren/media/media.ini share/tapwren/media/word_ok.wav \
  share/tapwren/tw.ini share/tapwren/twc.ini share/tapwren/twgame.ini \
  share/tapwren/Courses/English/course.txt share/tapwren/Courses/English/layout.twt \
  share/applications/tapwren.desktop share/metainfo/io.github.tapwren.Tapwren.metainfo.xml \
  share/icons/hicolor/48x48/apps/tapwren.png share/icons/hicolor/scalable/apps/tapwren.svg \
  share/man/man1/tapwren.1.gz share/doc/tapwren/copyright share/doc/tapwren/changelog.gz; do
  [ -e "$prefix/$f" ] || fail "the install lacks $f"
done
# Nothing of the build tree: no CMake files, no text naming the build folder.
leftovers=$(find "$prefix" -name CMakeFiles -o -name '*.cmake' -o -name CMakeCache.txt)
[ -z "$leftovers" ] || fail "the install holds build files: $leftovers"
naming=$(grep -rlI -F "$build" "$prefix" || true)
[ -z "$naming" ] || fail "the install names the build folder in: $naming"
[ "$(find "$prefix/bin" -type f)" = "$prefix/bin/tapwren" ] || fail "more than the program in bin/"

# First start: the data folder is made from the shipped data.
home=$work/home
mkdir -p "$home"
drive 0 Escape -- HOME="$home" LANGUAGE=en "$prefix/bin/tapwren"
data=$home/.local/share/tapwren
for f in tw.ini twc.ini twgame.ini Courses/English/course.txt Courses/English/layout.twt; do
  cmp -s "$prefix/share/tapwren/$f" "$data/$f" || fail "the data folder's $f is not the shipped one"
done

# The user's changes survive a second start.
printf '[Default]\r\nProgress=7\r\n' >"$data/twc.ini"
mkdir -p "$data/Courses/Mine"
echo "my own lesson" >"$data/Courses/Mine/course.txt"
drive 0 Escape -- HOME="$home" LANGUAGE=en "$prefix/bin/tapwren"
[ "$(cat "$data/twc.ini")" = "$(printf '[Default]\r\nProgress=7\r')" ] || fail "twc.ini was overwritten"
[ "$(cat "$data/Courses/Mine/course.txt")" = "my own lesson" ] || fail "an own course was touched"

# A shipped course file the user changed is kept when a new version comes,
# and the user is told so in a window before the logon window.
echo "my changed lessons" >"$data/Courses/English/course.txt"
echo "new shipped lessons" >>"$prefix/share/tapwren/Courses/English/course.txt"
drive 0 Return Escape -- HOME="$home" LANGUAGE=en "$prefix/bin/tapwren"
grep -q "Keeping your changed $data/Courses/English/course.txt" "$work/program.log" ||
  fail "the kept file is not told: $(cat "$work/program.log")"
[ "$(cat "$data/Courses/English/course.txt")" = "my changed lessons" ] ||
  fail "the changed course file was replaced"
# Told once only.
drive 0 Escape -- HOME="$home" LANGUAGE=en "$prefix/bin/tapwren"

# Without HOME there is no data folder: a window says so, and the program
# ends with status 1 when it is closed.
drive 1 Return -- -u HOME LANGUAGE=en "$prefix/bin/tapwren"
grep -q "where to keep your data" "$work/program.log" ||
  fail "the reason is not told: $(cat "$work/program.log")"

# The Debian package: only the install's files, and it runs unpacked.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack"
deb=$(ls "$work"/deb/tapwren_*.deb)
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "no Qt dependency in the package"
dpkg-deb --field "$deb" Recommends | grep -q 'gstreamer1.0-plugins-good' || fail "sound is not recommended"
dpkg-deb --field "$deb" Depends | grep -q 'gstreamer' && fail "the package depends on sound"
stray=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' |
  grep -v -E '^\./usr/(bin/tapwren$|share/(tapwren|applications|metainfo|icons|man|locale|doc/tapwren|lintian/overrides)/)' || true)
[ -z "$stray" ] || fail "the package holds files outside the install: $stray"
dpkg -x "$deb" "$work/root"
mkdir -p "$work/home2"
drive 0 Escape -- HOME="$work/home2" LANGUAGE=en "$work/root/usr/bin/tapwren"
grep -q '^\[Default\]' "$work/home2/.local/share/tapwren/twc.ini" || fail "the package's data lacks the shipped user"
echo PASS
