#!/usr/bin/env bash
# file_to_file.sh BUILD_DIR: quorvane-batch against the reference tools, file
# to file, on a 24-megapixel photo-like picture.
#
# Each pair runs as bench/timing.sh's compare() runs it, RUNS times. Exits 1
# when a pair fails. Needs cjpeg and djpeg.
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/timing.sh"

runs=${RUNS:-7}
width=6000
height=4000
bench_setup file_to_file "${1:-}"
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
