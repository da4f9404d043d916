#!/bin/sh
# Renders the application icon's PNG sizes from the scalable drawing, for
# the hicolor theme of the desktop. The PNGs are kept in the repository, so
# building needs no renderer; run this after changing the SVG
# (rsvg-convert: package librsvg2-bin).
#
# Usage: sh render-icons.sh        (run from any directory)
set -eu
cd "$(dirname "$0")"
id=org.quorvellabs.Tarvo
for size in 48 64 128; do
    mkdir -p "${size}x${size}"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "${size}x${size}/$id.png" "$id.svg"
done
