#!/usr/bin/env bash
# The menu's PNG icons, from src/ui/iconos/tolvar.svg: menus and panels that draw no SVG, and the
# window itself (Qt reads SVG only with a module the program does not link), take these; and
# tolvar.exe's icon, src/win32/tolvar.ico, made of the sizes Windows draws.
# Run again after changing the drawing; the icons are kept in the repository so that a build
# needs no SVG renderer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/instala_dependencias.sh librsvg2-bin imagemagick
for lado in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$lado" -h "$lado" src/ui/iconos/tolvar.svg -o "src/ui/iconos/tolvar-$lado.png"
done
# Without dates, the file changes only when the drawing does.
convert src/ui/iconos/tolvar-{16,24,32,48,64,256}.png -strip -define png:exclude-chunks=date,time \
  src/win32/tolvar.ico
ls -l src/ui/iconos src/win32/tolvar.ico
