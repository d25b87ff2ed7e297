#!/usr/bin/env bash
# The Qt window's drive: the real tolvar on a virtual display (Xvfb, no window manager), used
# as a person would with the mouse and the keyboard through the real Open dialog:
#   1. both first check boxes ticked, the button, the path of an example typed into the dialog
#      (the examples and tests/dibujos/r2018_utf8.dxf in /tmp/mapas); the window after the
#      batch to docs/tolvar.png;
#   2. "Ver plano": the map preview on the batch's last drawing; plano_norte.bin chosen in its
#      choice box by the keyboard; its canvas checked pixel by pixel against the .bin by
#      comprueba_plano, and the window to docs/tolvar-plano.png;
#   3. the wheel, +, -, the arrows and a drag move the map; Home and a double click fit it
#      again, to the very pixels of the first picture;
#   4. SIGTERM ends the program with status 0.
# It leaves WORK_DIR/plano_qt.ppm, the fitted preview, for the Win32 window's drive to compare.
#
#   scripts/conduce_qt.sh TOLVAR COMPRUEBA_PLANO WORK_DIR
#
# Needs xvfb, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz=$PWD
source scripts/gestos_plano.sh
tolvar=$(realpath "$1")
comprueba=$(realpath "$2")
t=$3

falla() {
  echo "conduce_qt.sh: $*" >&2
  if [ -n "${DISPLAY:-}" ] && import -window root "$t/fallo.png" 2> /dev/null; then
    echo "the screen then: $t/fallo.png" >&2
  fi
  exit 1
}
espera() {
  local hasta=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$hasta" ] || return 1
    sleep 0.2
  done
}

rm -rf "$t" && mkdir -p "$t"
t=$(realpath "$t")
Xvfb -displayfd 3 -screen 0 1280x900x24 -noreset -nolisten tcp 3> "$t/pantalla" 2> "$t/xvfb.log" &
xvfb=$!
pid=""
acaba() {
  [ -z "$pid" ] || kill "$pid" 2> /dev/null || true
  kill "$xvfb" 2> /dev/null || true
  rm -rf /tmp/mapas
}
trap acaba EXIT
espera 20 test -s "$t/pantalla" || falla "Xvfb did not start: $(cat "$t/xvfb.log")"
export DISPLAY=:$(cat "$t/pantalla") QT_QPA_PLATFORM=xcb LANG=C.UTF-8
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

# The examples and a drawing with an entity no box reads, at a path that is the same on every
# machine: the picture shows it, and changes in git only when the window does.
d=/tmp/mapas
rm -rf "$d" && mkdir -p "$d"
cp examples/dxfbin.tab examples/plano_norte.dxf examples/plano_sur.dxf tests/dibujos/r2018_utf8.dxf "$d/"

ventanas() { xdotool search --onlyvisible --name "$1" 2> /dev/null || true; }
hay() { [ -n "$(ventanas "$1")" ]; }
# px TWIPS: the window's layout at 96 pixels per inch, 15 twips a pixel.
px() { echo $((($1 + 7) / 15)); }
# clic WINDOW X Y: the left button there, inside the window.
clic() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
foto() { import -window "$1" "$2" 2> /dev/null; }
fin_visible() {
  foto "$ventana" "$t/ventana.png" &&
    convert "$t/ventana.png" -format %c histogram:info:- > "$t/colores" && grep -qi '#C00000' "$t/colores"
}

echo "1. both first boxes, the button, a path typed into the dialog"
"$tolvar" > "$t/tolvar.out" 2>&1 &
pid=$!
espera 30 hay '^TOLVAR$' || falla "no window TOLVAR"
ventana=$(ventanas '^TOLVAR$' | head -n 1)
sleep 0.5
# Check1 and Check2 by their boxes, at the left of each (twips of src/ventana/disposicion.h).
clic "$ventana" $(($(px 2640) + 8)) $(($(px 1800) + 10))
clic "$ventana" $(($(px 240) + 8)) $(($(px 4620) + 10))
clic "$ventana" $(px $((360 + 1455 / 2))) $(px $((600 + 855 / 2)))
espera 30 hay '^Seleccinar fichero \.dxf a tratar$' || falla "no Open dialog"
xdotool type --delay 20 "$d/plano_norte.dxf"
xdotool key Return
espera 60 fin_visible || falla "no Proceso Finalizado. after the batch"
for n in plano_norte plano_sur r2018_utf8; do [ -s "$d/$n.bin" ] || falla "no $n.bin"; done
convert "$t/ventana.png" -strip -define png:exclude-chunks=date,time "$raiz/docs/tolvar.png"

echo "2. Ver plano, plano_norte.bin chosen, its pixels"
clic "$ventana" $(px $((360 + 1455 / 2))) $(px $((1620 + 435 / 2)))
espera 30 hay '^Plano — r2018_utf8\.bin$' || falla "no preview of r2018_utf8.bin, the batch's last"
plano=$(ventanas '^Plano — ' | head -n 1)
# From the canvas back to the choice, two up, back to the canvas.
xdotool key shift+Tab Up Up Tab
espera 30 hay '^Plano — plano_norte\.bin$' || falla "plano_norte.bin not chosen"
sleep 0.5
foto "$plano" "$t/ajustado.png"
# The canvas: the box of its background's colour (the map's margin shows it on every side).
read -r ancho alto x y < <(convert "$t/ajustado.png" -fill black +opaque '#FAFAF5' \
  -fill white -opaque '#FAFAF5' -trim -format '%w %h %X %Y\n' info:)
[ "$ancho" -gt 100 ] && [ "$alto" -gt 100 ] || falla "no canvas in the preview"
# The pointer on its middle, so that the status bar shows where it is.
xdotool mousemove --window "$plano" $((x + ancho / 2)) $((y + alto / 2))
sleep 0.5
foto "$plano" "$t/ajustado.png"
convert "$t/ajustado.png" "$t/plano_qt.ppm"
"$comprueba" "$d/plano_norte.bin" "$t/plano_qt.ppm" || falla "the preview's pixels are not the records'"
convert "$t/ajustado.png" -strip -define png:exclude-chunks=date,time "$raiz/docs/tolvar-plano.png"

echo "3. the wheel, the keys, a drag; Home and a double click fit again"
lienzo() { convert "$t/$1.png" -crop "${ancho}x$alto+$x+$y" +repage "$t/$1_lienzo.png"; }
lienzo ajustado
# distinto NAME: its canvas differs from the fitted one; igual NAME: not one pixel does.
pixeles_distintos() {
  lienzo "$1"
  # compare's status is 1 when they differ: the count is what matters.
  { compare -metric AE "$t/ajustado_lienzo.png" "$t/$1_lienzo.png" null: 2>&1 || true; } |
    awk '{ print $1 }'
}
diferencia() {
  sleep 0.5
  foto "$plano" "$t/$1.png"
  pixeles_distintos "$1"
}
gestos_plano "$plano" "$x" "$y" "$ancho" "$alto"

echo "4. SIGTERM"
kill -TERM "$pid"
estado=0
wait "$pid" || estado=$?
pid=""
[ "$estado" = 0 ] || falla "tolvar ended with $estado on SIGTERM"
echo "tolvar ended with status 0"
