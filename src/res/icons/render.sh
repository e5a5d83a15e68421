#!/bin/sh
# Renders the program icon's PNG sizes from the two drawings (needs rsvg-convert, Debian
# package librsvg2-bin). The PNGs are committed; run this after changing a drawing.
set -eu
cd "$(dirname "$0")"
for n in 16 22 24; do rsvg-convert -w $n -h $n tarnwick-small.svg -o tarnwick-$n.png; done
for n in 32 48 64 128 256; do rsvg-convert -w $n -h $n tarnwick.svg -o tarnwick-$n.png; done
