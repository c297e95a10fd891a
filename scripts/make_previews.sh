#!/usr/bin/env bash
# Remakes the print dialog's six example pictures assets/PRN1.GIF ... assets/PRN4S.GIF: the
# game's own page layout draws them (tools/print_pages) from the shipped stock, ImageMagick
# turns them into GIF (Qt reads GIF but cannot write it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$BUILD_DIR" --target print_pages
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "./$BUILD_DIR/print_pages" --stock assets/DudEzadu.qzk --previews "$work"
for name in PRN1 PRN2 PRN4 PRN1S PRN2S PRN4S; do
  convert "$work/$name.png" "assets/$name.GIF"
done
ls -l assets/PRN*.GIF
