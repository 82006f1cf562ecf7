#!/usr/bin/env bash
# filters_file_to_file.sh BUILD_DIR: quorvane-batch's filters against
# ImageMagick 6 and libvips, file to file, on the 24-megapixel photo-like
# picture: quorvane on a 24-bit BMP, convert on the same pixels as PPM, vips
# on the same pixels in its own format. Every pair runs as bench/timing.sh's
# compare() runs it, RUNS times (default 5), and quorvane must be the faster
# of each pair. Prints a table of medians and ratios; exits 1 when a pair
# fails. Needs /usr/bin/convert (imagemagick) and vips (libvips-tools).
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/timing.sh"

magick=/usr/bin/convert
runs=${RUNS:-5}
width=6000
height=4000
bench_setup filters_file_to_file "${1:-}" "$magick" vips
vips copy photo.ppm photo.v

# Box masks of ones, scaled by their size, for vips conv.
mask() {
  local side=$1
  echo "$side $side $((side * side)) 0"
  for (( row = 0; row < side; row++ )); do
    printf '1%.0s ' $(seq "$side"); echo
  done
}
mask 11 > mean11.mat
mask 3 > mean3.mat
echo "photo: ${width}x${height}, BMP $(stat -c %s photo.bmp) bytes, PPM $(stat -c %s photo.ppm) bytes"

# pair NAME FILTER MAGICK_OPTIONS VIPS_OPERATION: quorvane's --filter FILTER
# against convert with the options and, when given, vips with the operation.
pair() {
  local name=$1 filter=$2 magickOptions=$3 vipsOperation=${4:-}
  compare "$name / ImageMagick" 1 ours.bmp "'$batch' photo.bmp ours.bmp --filter $filter" \
    magick.ppm "'$magick' photo.ppm $magickOptions magick.ppm"
  if [[ -n $vipsOperation ]]; then
    compare "$name / libvips" 1 ours.bmp "'$batch' photo.bmp ours.bmp --filter $filter" \
      vips.v "vips $vipsOperation"
  fi
}

pair "invert" invert-all "-negate" "invert photo.v vips.v"
pair "grayscale" grayscale "-colorspace gray" "colourspace photo.v vips.v b-w"
pair "mean 11x11" mean-value "-morphology Convolve Square:5" "conv photo.v vips.v mean11.mat"
pair "mean 3x3" noise-remove "-morphology Convolve Square:1" "conv photo.v vips.v mean3.mat"
pair "find edges" find-edges "-edge 1"
pair "sepia" sepia "-sepia-tone 80%"
pair "optimize" optimize "-auto-level"

exit $(( failures > 0 ))
