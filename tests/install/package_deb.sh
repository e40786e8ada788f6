#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPack builds the Debian package: its contents are the installed tree under /usr, owned by root; its
# library dependencies come from dpkg-shlibdeps, beside setcap for its postinst; lintian finds no error and no warning in it (where
# installed); its copyright file is machine-readable and names the GPL, version 3 or later. The
# package is left unpacked in WORK/root for the test that runs the program from it.
# Usage: package_deb.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib.sh"
build=$1
work=${TEST_WORK:?}
rm -rf "$work"
mkdir -p "$work"

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 \
    || fail "cpack: $(cat "$work/cpack.log")"
debs=("$work"/out/vq-dbd_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack wrote no single package: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb")"

dpkg-deb -c "$deb" | tee "$work/contents"
while read -r file; do
    grep -q " \./usr/$file\$" "$work/contents" || fail "the package lacks /usr/$file"
done < <(installed_files)
files=$(grep -c '^-' "$work/contents")
[ "$files" -eq "$(installed_files | wc -l)" ] || fail "the package holds $files files"
awk '$2 != "root/root" { exit 1 }' "$work/contents" || fail "a file of the package is not root's"

dpkg-deb -f "$deb" Package Version Architecture Depends Recommends Section | tee "$work/control"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libstdc++6; do
    [[ ", $depends" =~ ", $library (>= " ]] || fail "Depends has no versioned $library: $depends"
done
case ", $depends," in
*", libxcb1,"* | *", libxcb1 ("*) ;;
*) fail "Depends has no libxcb1: $depends" ;;
esac
[[ ", $depends," == *", libcap2-bin,"* ]] || fail "Depends has no libcap2-bin for setcap: $depends"
# Installed, the package lets alarms wake the computer: its postinst grants the one capability.
dpkg-deb -e "$deb" "$work/control.d"
[ -x "$work/control.d/postinst" ] || fail "the package has no executable postinst"
grep -qx '    if ! setcap cap_wake_alarm+ep /usr/bin/vq-dbd; then' "$work/control.d/postinst" \
    || fail "the postinst does not grant cap_wake_alarm: $(cat "$work/control.d/postinst")"
version=$(dpkg-deb -f "$deb" Version)
zcat < <(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/vq-dbd/changelog.gz) | head -n1 \
    | grep -q "^vq-dbd ($version) " || fail "the changelog's newest entry is not version $version"
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/vq-dbd/copyright)
[ "$(head -n1 <<<"$copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] \
    || fail "the copyright file is not machine-readable"
grep -qx 'License: GPL-3.0+' <<<"$copyright" || fail "the copyright file does not name GPL-3.0+"
grep -q '"/usr/share/common-licenses/GPL-3"' <<<"$copyright" || fail "the copyright file does not point at the GPL's text"

if command -v lintian >/dev/null; then
    status=0
    lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 || status=$?
    echo "lintian:"
    grep -v 'running with root privileges' "$work/lintian.log" || true
    [ "$status" -eq 0 ] || fail "lintian reports errors or warnings (status $status)"
fi

dpkg -x "$deb" "$work/root"
# The program says the package's version and its licence, and needs no display for it.
program_version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/vq-dbd" --version) || fail "vq-dbd --version failed"
[ "$(head -n1 <<<"$program_version")" = "vq-dbd (VQ-DRUM-BEAT-DIAL) $version" ] \
    || fail "vq-dbd --version says $(head -n1 <<<"$program_version") in package $version"
grep -q 'GPL-3.0-or-later' <<<"$program_version" || fail "vq-dbd --version names no licence"
echo "package built, listed and unpacked in $work/root"
