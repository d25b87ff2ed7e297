#!/usr/bin/env bash
# The menu's PNG icons, from src/ui/iconos/tolvar.svg: menus and panels that draw no SVG, and the
# window itself (Qt reads SVG only with a module the program does not link), take these.
# Run again after changing the drawing; the PNGs are kept in the repository so that a build
# needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/instala_dependencias.sh librsvg2-bin
for lado in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$lado" -h "$lado" src/ui/iconos/tolvar.svg -o "src/ui/iconos/tolvar-$lado.png"
done
ls -l src/ui/iconos
