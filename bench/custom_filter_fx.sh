#!/usr/bin/env bash
# custom_filter_fx.sh BUILD_DIR: custom filters in quorvane-batch against
# ImageMagick 6's -fx with the equivalent expression, file to file, on the
# 24-megapixel photo-like picture (quorvane on a 24-bit BMP, convert on the
# same pixels as PPM). -fx takes minutes on this picture, so each pair runs
# RUNS times (default 1) after a warm-up; quorvane must take at most 1/50 of
# -fx's time. Exits 1 when a pair fails. Needs /usr/bin/convert, cjpeg, djpeg.
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/timing.sh"

magick=/usr/bin/convert
runs=${RUNS:-1}
width=${WIDTH:-6000}
height=${HEIGHT:-4000}
bench_setup custom_filter_fx "${1:-}" "$magick"
echo "photo: ${width}x${height}"

# pair NAME 'RED;GREEN;BLUE' FX_OPTIONS: -fx sees channels scaled to 0..1.
pair() {
  compare "$1" 0.02 ours.bmp "'$batch' photo.bmp ours.bmp --custom '$2'" \
    magick.ppm "'$magick' photo.ppm $3 magick.ppm"
}

pair "invert red" '255-R1;G1;B1' "-channel R -fx '1-r' +channel"
pair "average" '(R1+G1+B1)/3;(R1+G1+B1)/3;(R1+G1+B1)/3' "-fx '(r+g+b)/3'"
heavy='ROUND(SQRT(R1*G1)+SIN(B1)*20)'
pair "heavy" "$heavy;$heavy;$heavy" "-fx 'round(sqrt(r*255*g*255)+sin(b*255)*20)/255'"

exit $(( failures > 0 ))
