#!/usr/bin/env bash
# file_to_file.sh BUILD_DIR: quorvane-batch against the reference tools, file
# to file, on a 24-megapixel photo-like picture.
#
# Each pair runs interleaved (the order alternating) RUNS times after one
# warm-up; the medians and their ratio are printed with PASS or FAIL against
# the allowed ratio. Exits 1 when a pair fails. Needs cjpeg and djpeg.
set -euo pipefail

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

# Wall-clock seconds of one run of a command; its output file is removed first.
seconds() {
  local output=$1
  shift
  rm -f "$output"
  local start end
  start=$(date +%s%N)
  "$@"
  end=$(date +%s%N)
  awk -v nanoseconds=$((end - start)) 'BEGIN { printf "%.4f\n", nanoseconds / 1e9 }'
}

median() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }

failures=0

# compare NAME ALLOWED OURS_OUTPUT "OURS..." REFERENCE_OUTPUT "REFERENCE..."
compare() {
  local name=$1 allowed=$2 oursOutput=$3 ours=$4 referenceOutput=$5 reference=$6
  local oursTimes=() referenceTimes=()
  seconds "$oursOutput" bash -c "$ours" >/dev/null
  seconds "$referenceOutput" bash -c "$reference" >/dev/null
  for (( run = 0; run < runs; run++ )); do
    if (( run % 2 == 0 )); then
      oursTimes+=("$(seconds "$oursOutput" bash -c "$ours")")
      referenceTimes+=("$(seconds "$referenceOutput" bash -c "$reference")")
    else
      referenceTimes+=("$(seconds "$referenceOutput" bash -c "$reference")")
      oursTimes+=("$(seconds "$oursOutput" bash -c "$ours")")
    fi
  done
  local oursMedian referenceMedian ratio verdict
  oursMedian=$(median "${oursTimes[@]}")
  referenceMedian=$(median "${referenceTimes[@]}")
  ratio=$(awk -v ours="$oursMedian" -v reference="$referenceMedian" 'BEGIN { printf "%.3f", ours / reference }')
  if awk -v ratio="$ratio" -v allowed="$allowed" 'BEGIN { exit !(ratio <= allowed) }'; then
    verdict=PASS
  else
    verdict=FAIL
    failures=$((failures + 1))
  fi
  printf '%-22s quorvane %7.3f s   reference %7.3f s   ratio %5.2f (allowed %s)   %s\n' \
    "$name" "$oursMedian" "$referenceMedian" "$ratio" "$allowed" "$verdict"
}

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
