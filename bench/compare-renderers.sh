#!/usr/bin/env bash
# Our --render of the largest benchmark schematic to PDF and to PNG, beside mutool and pdftoppm
# rasterising our own PDF of it to a PNG of the same size. One run each; wall-clock seconds.
# Usage: bench/compare-renderers.sh [BUILD_FOLDER]   (needs mupdf-tools and poppler-utils)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
viewer="$build/src/app/korvane-viewer"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
"$build/bench/bench_write_drawing" "$tmp/big.kdf"
echo "drawing: $(du -m "$tmp/big.kdf" | cut -f1) MB"
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$tmp/config"
w=1600 h=1000
seconds() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null 2>&1; t1=$(date +%s.%N); echo "$t1 - $t0" | bc; }
ours_pdf=$(seconds "$viewer" --render "$tmp/big.pdf" --size ${w}x$h "$tmp/big.kdf")
ours_png=$(seconds "$viewer" --render "$tmp/big.png" --size ${w}x$h "$tmp/big.kdf")
# The page is w x h pixels at 96 dpi, so 96 dpi gives the same picture size.
mutool=$(seconds mutool draw -q -r 96 -o "$tmp/mutool.png" "$tmp/big.pdf")
poppler=$(seconds pdftoppm -png -r 96 -singlefile "$tmp/big.pdf" "$tmp/poppler")
printf '%-40s %8s s\n' "ours --render PDF (open + draw + write)" "$ours_pdf" "ours --render PNG (open + draw + write)" \
  "$ours_png" "mutool draw our PDF to PNG" "$mutool" "pdftoppm our PDF to PNG" "$poppler"
echo "ratios: ours PNG / mutool = $(echo "scale=2; $ours_png / $mutool" | bc), ours PNG / pdftoppm = $(echo "scale=2; $ours_png / $poppler" | bc)"
identify "$tmp/big.png" "$tmp/mutool.png" "$tmp/poppler.png" 2>/dev/null | awk '{print $1, $3}'
ls -la "$tmp/big.pdf" | awk '{print "our PDF:", $5, "bytes"}'
