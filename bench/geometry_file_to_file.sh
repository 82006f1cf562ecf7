#!/usr/bin/env bash
# geometry_file_to_file.sh BUILD_DIR: quorvane-batch's rotation, mirrors and
# 2x nearest-neighbour enlargement against ImageMagick 6 and libvips, file to
# file, on the 24-megapixel photo-like picture: quorvane on a 24-bit BMP,
# convert on the same pixels as PPM, vips on the same pixels in its own
# format. Every pair runs as bench/timing.sh's compare() runs it, RUNS times
# (default 5), and quorvane must be the faster of each pair. Prints a table of
# medians and ratios; exits 1 when a pair fails. Needs /usr/bin/convert
# (imagemagick) and vips (libvips-tools).
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/timing.sh"

magick=/usr/bin/convert
runs=${RUNS:-5}
width=6000
height=4000
bench_setup geometry_file_to_file "${1:-}" "$magick" vips
vips copy photo.ppm photo.v
echo "photo: ${width}x${height}, BMP $(stat -c %s photo.bmp) bytes, PPM $(stat -c %s photo.ppm) bytes"

# pair NAME QUORVANE_OPTIONS MAGICK_OPTIONS VIPS_OPERATION: quorvane-batch with
# the options against convert with its options and vips with the operation.
pair() {
  local name=$1 oursOptions=$2 magickOptions=$3 vipsOperation=$4
  compare "$name / ImageMagick" 1 ours.bmp "'$batch' photo.bmp ours.bmp $oursOptions" \
    magick.ppm "'$magick' photo.ppm $magickOptions magick.ppm"
  compare "$name / libvips" 1 ours.bmp "'$batch' photo.bmp ours.bmp $oursOptions" \
    vips.v "vips $vipsOperation"
}

pair "rotate right" "--filter rotate-right" "-rotate 90" "rot photo.v vips.v d90"
pair "mirror horiz" "--filter mirror-horizontal" "-flop" "flip photo.v vips.v horizontal"
pair "mirror vert" "--filter mirror-vertical" "-flip" "flip photo.v vips.v vertical"
pair "enlarge 2x" "--resize $((2 * width)),$((2 * height))" "-sample 200%" \
  "resize photo.v vips.v 2 --kernel nearest"

exit $(( failures > 0 ))
