# timing.sh: what the file-to-file benchmarks share; source it after setting
# `runs`. compare() adds to `failures` for every pair that misses its ratio.

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
# Runs the pair interleaved (the order alternating) `runs` times after one
# warm-up and prints the medians and their ratio with PASS or FAIL against
# the allowed ratio.
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
  printf '%-26s quorvane %7.3f s   reference %7.3f s   ratio %6.3f (allowed %s)   %s\n' \
    "$name" "$oursMedian" "$referenceMedian" "$ratio" "$allowed" "$verdict"
}

# bench_setup NAME BUILD_DIR [TOOL...]: checks that cjpeg, djpeg and the tools
# are installed and quorvane's programs built, moves to a fresh work folder
# (removed at exit) and makes the photo there from `width` and `height`:
# photo.jpg, photo.bmp (24-bit) and photo.ppm (the same decoded pixels).
# Sets `batch` to quorvane-batch.
bench_setup() {
  local name=$1 build tool program
  build=$(cd "${2:?usage: $name.sh BUILD_DIR}" && pwd)
  shift 2
  batch=$build/tools/quorvane-batch
  local make_photo=$build/bench/make_photo
  for tool in cjpeg djpeg "$@"; do
    command -v "$tool" >/dev/null || { echo "$name: $tool is not installed" >&2; exit 2; }
  done
  for program in "$batch" "$make_photo"; do
    [[ -x $program ]] || { echo "$name: $program is not built" >&2; exit 2; }
  done
  work=$(mktemp -d "${TMPDIR:-/tmp}/quorvane-$name.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  cd "$work"
  "$make_photo" "$width" "$height" photo.ppm
  cjpeg -quality 90 -outfile photo.jpg photo.ppm
  djpeg -bmp -outfile photo.bmp photo.jpg
  djpeg -pnm -outfile photo.ppm photo.jpg
}
