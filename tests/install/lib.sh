# SPDX-License-Identifier: GPL-3.0-or-later
# Helpers of the install and package tests; sourced by each test script.

APP_ID=net.vela_quill.vq_dbd
ICON_SIZES="16 24 48 64 128"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Width and height of a PNG file from its header: "WxH".
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", (($1 * 256 + $2) * 256 + $3) * 256 + $4, (($5 * 256 + $6) * 256 + $7) * 256 + $8 }'
}

# The files an installed clock brings beside its program, relative to the prefix.
installed_files() {
    echo "bin/vq-dbd"
    echo "share/applications/$APP_ID.desktop"
    echo "share/metainfo/$APP_ID.metainfo.xml"
    for size in $ICON_SIZES; do
        echo "share/icons/hicolor/${size}x${size}/apps/$APP_ID.png"
    done
    echo "share/icons/hicolor/scalable/apps/$APP_ID.svg"
    echo "share/man/man1/vq-dbd.1.gz"
    echo "share/doc/vq-dbd/copyright"
    echo "share/doc/vq-dbd/changelog.gz"
}
