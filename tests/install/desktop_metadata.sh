#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop entry and the AppStream metadata the build made: both pass
# their validators without a remark, speak every language of po/, and the
# AppStream release, the Debian changelog and the man page name the
# project's version.
#   desktop_metadata.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1
source=$2
version=$3
desktop=$build/packaging/tapwren.desktop
metainfo=$build/packaging/io.github.tapwren.Tapwren.metainfo.xml

for tool in desktop-file-validate appstreamcli; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

remarks=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop entry: $remarks"
[ -z "$remarks" ] || fail "desktop entry: $remarks"
appstreamcli validate --no-net --strict "$metainfo" || fail "AppStream metadata"

for po in "$source"/po/*.po; do
  lang=$(basename "$po" .po)
  for key in GenericName Comment Keywords; do
    grep -q "^$key\[$lang\]=" "$desktop" || fail "the desktop entry has no $key[$lang]"
  done
  grep -q "<summary xml:lang=\"$lang\">" "$metainfo" || fail "the metadata has no summary in $lang"
  grep -q "<p xml:lang=\"$lang\">" "$metainfo" || fail "the metadata has no description in $lang"
done

# The newest release comes first.
release=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the newest AppStream release is $release, the project $version"
changelog=$(head -n1 "$source/packaging/changelog" | sed -n 's/^tapwren (\([^)]*\)).*/\1/p')
[ "$changelog" = "$version" ] || fail "the Debian changelog's version is '$changelog', the project $version"
grep -q "^\.TH TAPWREN 1 .*\"Tapwren $version\"" "$build/packaging/tapwren.1" ||
  fail "the man page does not name version $version"
echo PASS
