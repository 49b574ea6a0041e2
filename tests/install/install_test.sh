#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and packs it as a .deb, then
# starts the installed program as a desktop user would, under a virtual X
# server (run it under tests/desktop/under-xvfb): its data folder is seeded
# from the shipped data, and a second start overwrites nothing the user
# changed.
#   install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)

for tool in xdotool desktop-file-validate appstreamcli cpack dpkg; do
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

# Starts the launcher with a fresh or given home, from a folder that is not
# the data folder, waits for its logon window and closes it with Escape.
run_launcher() {
  local launcher=$1 home=$2 id=
  (cd "$work" && HOME=$home LANGUAGE=en exec "$launcher") >"$work/launcher.log" 2>&1 &
  app=$!
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --pid "$app" --name '^Tapwren' 2>/dev/null | head -1 || true)
    [ -n "$id" ] && break
    kill -0 "$app" 2>/dev/null || { cat "$work/launcher.log" >&2; fail "$launcher ended early"; }
    sleep 0.1
  done
  [ -n "$id" ] || fail "no logon window from $launcher"
  xdotool mousemove --window "$id" 5 5 click 1 key Escape
  for _ in $(seq 100); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$app" 2>/dev/null && fail "$launcher did not end on Escape"
  wait "$app" || fail "$launcher ended with $?"
  app=
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/tapwren libexec/tapwren/tapwren libexec/tapwren/prepare-data \
  libexec/tapwren/locale/de/LC_MESSAGES/tapwren.mo \
  libexec/tapwren/help/manual.html libexec/tapwren/help/manual.de.html \
  share/tapwren/tw.ini share/tapwren/twc.ini share/tapwren/twgame.ini \
  share/tapwren/Courses/English/course.txt share/tapwren/Courses/English/layout.twt \
  share/applications/tapwren.desktop share/metainfo/io.github.tapwren.Tapwren.metainfo.xml \
  share/icons/hicolor/48x48/apps/tapwren.png share/icons/hicolor/scalable/apps/tapwren.svg \
  share/man/man1/tapwren.1.gz; do
  [ -e "$prefix/$f" ] || fail "the install lacks $f"
done
desktop-file-validate "$prefix/share/applications/tapwren.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.tapwren.Tapwren.metainfo.xml" \
  >/dev/null || fail "AppStream metadata"

# First start: the data folder is made from the shipped data.
home=$work/home
mkdir -p "$home"
run_launcher "$prefix/bin/tapwren" "$home"
data=$home/.local/share/tapwren
for f in tw.ini twc.ini twgame.ini Courses/English/course.txt Courses/English/layout.twt; do
  cmp -s "$prefix/share/tapwren/$f" "$data/$f" || fail "the data folder's $f is not the shipped one"
done

# The user's changes survive a second start.
printf '[Default]\r\nProgress=7\r\n' >"$data/twc.ini"
mkdir -p "$data/Courses/Mine"
echo "my own lesson" >"$data/Courses/Mine/course.txt"
run_launcher "$prefix/bin/tapwren" "$home"
[ "$(cat "$data/twc.ini")" = "$(printf '[Default]\r\nProgress=7\r')" ] || fail "twc.ini was overwritten"
[ "$(cat "$data/Courses/Mine/course.txt")" = "my own lesson" ] || fail "an own course was touched"

# The Debian package: only the install's files, and it runs unpacked.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null) || fail "cpack"
deb=$(ls "$work"/deb/tapwren_*.deb)
dpkg-deb --field "$deb" Depends | grep -q 'libqt6widgets6' || fail "no Qt dependency in the package"
stray=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' |
  grep -v -E '^\./usr/(bin/tapwren|libexec/tapwren/|share/(tapwren|applications|metainfo|icons|man|doc)/)' || true)
[ -z "$stray" ] || fail "the package holds files outside the install: $stray"
dpkg -x "$deb" "$work/root"
mkdir -p "$work/home2"
run_launcher "$work/root/usr/bin/tapwren" "$work/home2"
grep -q '^\[Default\]' "$work/home2/.local/share/tapwren/twc.ini" || fail "the package's data lacks the shipped user"
echo PASS
