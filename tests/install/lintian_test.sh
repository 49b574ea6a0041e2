#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Packs the build as a .deb and holds it to Debian's policy checker: any
# error or warning of lintian fails; its pedantic report is shown in full.
#   lintian_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
for tool in cpack lintian; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log") || {
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack" >&2
  exit 1
}
deb=$(ls "$work"/tapwren_*.deb)
status=0
lintian --pedantic --display-info --display-experimental --show-overrides \
  --fail-on error,warning "$deb" || status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: lintian found errors or warnings" >&2
  exit 1
fi
echo PASS
