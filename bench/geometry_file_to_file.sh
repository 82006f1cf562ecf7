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

build=$(cd "${1:?usage: geometry_file_to_file.sh BUILD_DIR}" && pwd)
batch=$build/tools/quorvane-batch
make_photo=$build/bench/make_photo
magick=/usr/bin/convert
runs=${RUNS:-5}
width=6000
height=4000

for tool in "$magick" vips cjpeg djpeg; do
  command -v "$tool" >/dev/null || { echo "geometry_file_to_file: $tool is not installed" >&2; exit 2; }
done
for program in "$batch" "$make_photo"; do
  [[ -x $program ]] || { echo "geometry_file_to_file: $program is not built" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-geometry-file-to-file.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

# The photo as file_to_file.sh makes it, then its decoded pixels in each
# tool's format.
"$make_photo" $width $height photo.ppm
cjpeg -quality 90 -outfile photo.jpg photo.ppm
djpeg -bmp -outfile photo.bmp photo.jpg
djpeg -pnm -outfile photo.ppm photo.jpg
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
