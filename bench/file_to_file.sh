#!/usr/bin/env bash
# file_to_file.sh BUILD_DIR: quorvane-batch against the reference tools, file
# to file, on a 24-megapixel photo-like picture.
#
# Each pair runs as bench/timing.sh's compare() runs it, RUNS times. Exits 1
# when a pair fails. Needs cjpeg and djpeg.
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/timing.sh"

build=$(cd "${1:?usage: file_to_file.sh BUILD_DIR}" && pwd)
batch=$build/tools/quorvane-batch
make_photo=$build/bench/make_photo
runs=${RUNS:-7}
width=6000
height=4000

for tool in cjpeg djpeg; do
  command -v "$tool" >/dev/null || { echo "file_to_file: $tool is not installed" >&2; exit 2; }
done
for program in "$batch" "$make_photo"; do
  [[ -x $program ]] || { echo "file_to_file: $program is not built" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-file-to-file.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

"$make_photo" $width $height photo.ppm
cjpeg -quality 90 -outfile photo.jpg photo.ppm
djpeg -bmp -outfile photo.bmp photo.jpg
echo "photo: ${width}x${height}, JPEG $(stat -c %s photo.jpg) bytes, BMP $(stat -c %s photo.bmp) bytes"

# The bash -c wrappers cost the same on both sides of a pair.
compare "JPEG to BMP" 1.15 ours.bmp "'$batch' photo.jpg ours.bmp" \
  reference.bmp "djpeg -bmp photo.jpg > reference.bmp"
cmp -s <(tail -c +55 ours.bmp) <(tail -c +55 reference.bmp) ||
  echo "  note: the decoded pixels differ from djpeg's"

compare "BMP to JPEG" 1.15 ours.jpg "'$batch' photo.bmp ours.jpg" \
  reference.jpg "cjpeg -quality 90 -baseline photo.bmp > reference.jpg"
cmp -s ours.jpg reference.jpg || echo "  note: the JPEG differs from cjpeg's"

compare "BMP to BMP" 2 ours-copy.bmp "'$batch' photo.bmp ours-copy.bmp" \
  copy.bmp "cp photo.bmp copy.bmp"
cmp -s <(tail -c +55 ours-copy.bmp) <(tail -c +55 photo.bmp) ||
  echo "  note: the copied pixels differ from the input's"

exit $(( failures > 0 ))
