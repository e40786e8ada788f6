#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` into a scratch prefix puts the program in bin/ and, in share/, the menu entry, the
# icons of every size in the hicolor theme, the AppStream metadata, the manual page and the documents.
# The entry and the metadata pass their validators and the manual page renders without a warning
# (each where its tool is installed). Usage: install_tree.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$1
work=${TEST_WORK:?}
rm -rf "$work"
mkdir -p "$work"
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
while read -r file; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done < <(installed_files)
[ -x "$prefix/bin/vq-dbd" ] || fail "bin/vq-dbd is not executable"
extra=$(cd "$prefix" && find . -type f | sed 's|^\./||' | sort | comm -23 - <(installed_files | sort))
[ -z "$extra" ] || fail "installed beyond the program's files: $extra"

for size in $ICON_SIZES; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png
    [ "$(head -c 4 "$icon" | od -An -tx1 | tr -d ' ')" = 89504e47 ] || fail "the ${size} px icon is no PNG"
    [ "$(png_size "$icon")" = "${size}x${size}" ] || fail "the ${size} px icon is $(png_size "$icon")"
done
svg=$prefix/share/icons/hicolor/scalable/apps/$APP_ID.svg
grep -q '<svg ' "$svg" || fail "the scalable icon is no SVG"
if command -v xmllint >/dev/null; then
    xmllint --noout "$svg" || fail "the scalable icon is not well-formed"
fi

desktop=$prefix/share/applications/$APP_ID.desktop
[ "$(sed -n 's/^Exec=//p' "$desktop")" = vq-dbd ] || fail "the menu entry does not start vq-dbd"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$APP_ID" ] || fail "the menu entry does not name the icons"
metainfo=$prefix/share/metainfo/$APP_ID.metainfo.xml
grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" \
    || fail "the metadata does not name the menu entry"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "the metadata names another licence"
# The newest release the metadata lists is the program's own version.
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | head -n1)
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/vq-dbd" --version | head -n1)" = "vq-dbd (VQ-DRUM-BEAT-DIAL) $release" ] \
    || fail "the metadata's newest release $release is not the program's version"

checked=()
if command -v desktop-file-validate >/dev/null; then
    report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $report"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
    checked+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1 \
        || fail "appstreamcli validate: $(cat "$work/appstream.log")"
    appstreamcli validate-tree --no-net "$prefix" >"$work/appstream-tree.log" 2>&1 \
        || fail "appstreamcli validate-tree: $(cat "$work/appstream-tree.log")"
    checked+=(appstreamcli)
fi
man_page=$prefix/share/man/man1/vq-dbd.1.gz
gzip -t "$man_page" || fail "the manual page is not gzip"
if command -v man >/dev/null; then
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man_page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the manual page: $warnings"
    man -l "$man_page" 2>/dev/null | grep -q 'vq-dbd - digital clock' || fail "the manual page has no NAME line"
    zcat "$man_page" | grep -q "^\.TH VQ-DBD 1 \"[^\"]*\" \"vq-dbd $release\"" || fail "the manual page is not of version $release"
    checked+=(man)
fi
echo "installed tree complete; checked with: ${checked[*]:-no validator}"
