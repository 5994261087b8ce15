#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a configured build tree, unpacks it the way dpkg would and
# checks what a user gets: the files in their places, a binary that runs, and the verdicts of
# lintian, desktop-file-validate and appstreamcli.
#   package_check.sh BUILD_DIR
set -euo pipefail

build=$(cd "$1" && pwd)
work=$(mktemp -d /tmp/binzo-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "package_check: $*" >&2; exit 1; }

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb=$(ls "$work"/out/binzo_*_amd64.deb 2>/dev/null | head -n 1)
[[ -n $deb ]] || fail "no binzo_<version>_amd64.deb in $(ls "$work/out")"

root=$work/root
dpkg-deb -x "$deb" "$root"
for path in usr/bin/binzo usr/share/binzo/smartfind.model usr/share/binzo/WordNet-LICENSE.txt \
            usr/share/binzo/GloVe-NOTICE.txt \
            usr/share/applications/binzo.desktop usr/share/icons/hicolor/scalable/apps/binzo.svg \
            usr/share/metainfo/com.qorvastine.binzo.metainfo.xml usr/share/man/man1/binzo.1.gz \
            usr/share/doc/binzo/copyright usr/share/doc/binzo/changelog.gz; do
  [[ -f $root/$path ]] || fail "missing /$path"
done
grep -q '^MimeType=x-scheme-handler/binzo;' "$root/usr/share/applications/binzo.desktop" ||
  fail "the desktop file no longer handles binzo: links"

version=$(dpkg-deb -f "$deb" Version)
printed=$("$root/usr/bin/binzo" --version) || fail "the unpacked binzo --version failed"
[[ $printed == *"$version"* ]] || fail "binzo --version printed '$printed', the package is $version"

dpkg-deb -f "$deb" Depends | grep -q 'libqt6core6' || fail "no shared-library dependencies"
! readelf -d "$root/usr/bin/binzo" | grep -qE 'RPATH|RUNPATH' ||
  fail "the binary carries a library search path"
! man --warnings -l "$root/usr/share/man/man1/binzo.1.gz" 2>&1 >/dev/null | grep . ||
  fail "the man page has warnings"

desktop-file-validate "$root/usr/share/applications/binzo.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net \
  "$root/usr/share/metainfo/com.qorvastine.binzo.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; fail "appstreamcli validate"; }
# lintian's errors fail the check; its warnings and notes are printed for whoever reads the log.
lintian --allow-root --tag-display-limit 0 --display-info "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
! grep -q '^E:' "$work/lintian.log" || fail "lintian reported errors"
echo "package_check: $(basename "$deb") $(du -h "$deb" | cut -f1) ok"
