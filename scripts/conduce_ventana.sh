#!/usr/bin/env bash
# The window's test: drives the real tolvar.exe under Wine on a virtual display, as a person
# would, with the mouse and the keyboard and through the real Open dialog, and compares every
# .bin and .err it writes with the Linux tolvar-cli's from the same drawings:
#   1. the button clicked, the path of a drawing in a directory named with "ñ" and "í" typed
#      into the dialog, Enter: the window as it opens (attribute on, no other kinds); then a
#      screenshot of the window, to docs/tolvar-windows.png;
#   2. a new window, by the keyboard alone: "No", the first two check boxes, the button, another
#      drawing of the directory; then the button again and the dialog cancelled, which converts the
#      same directory again;
#   3. a directory without dxfbin.tab: the error box, closed with Enter, and exit status 53;
#   4. at 144 pixels per inch, the window half again as large as at 96; F1 shows the about box;
#   5. the map: a batch of the examples, "Ver plano" by the keyboard, plano_norte.bin chosen in
#      the preview's choice box; its canvas checked pixel by pixel against the .bin by
#      comprueba_plano (and against the Qt window's canvas, PLANO_QT, when given), the window
#      to docs/tolvar-windows-plano.png; the wheel, the keys and a drag move the map, Home and a
#      double click fit it again to the very pixels of the first picture; a torn .bin chosen
#      shows its message instead of a map.
#
#   scripts/conduce_ventana.sh TOLVAR_EXE LINUX_TOLVAR_CLI WORK_DIR COMPRUEBA_PLANO
#
# PLANO_QT: the Qt window's fitted preview of the same plano_norte.bin (scripts/conduce_qt.sh
# leaves it), in PPM; the two canvases must agree.
# WINEPREFIX names a prefix that wineboot has made (windows.sh's); its wineserver is stopped and
# started again inside the display, and stopped at the end. Needs xvfb, xdotool,
# x11-xserver-utils and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz=$PWD
source scripts/gestos_plano.sh
exe=$(realpath "$1")
linux_cli=$(realpath "$2")
t=$3
comprueba=$(realpath "$4")
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
: "${WINEPREFIX:?a Wine prefix made by wineboot}"

falla() {
  echo "conduce_ventana.sh: $*" >&2
  if [ -n "${DISPLAY:-}" ] && import -window root "$t/fallo.png" 2> /dev/null; then
    echo "the screen then: $t/fallo.png" >&2
  fi
  exit 1
}
# espera SECONDS COMMAND...: until COMMAND succeeds, at most SECONDS.
espera() {
  local hasta=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$hasta" ] || return 1
    sleep 0.2
  done
}

rm -rf "$t" && mkdir -p "$t"
# Xvfb picks a display nobody uses and writes its number once it takes clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -noreset -nolisten tcp 3> "$t/pantalla" 2> "$t/xvfb.log" &
xvfb=$!
acaba() {
  "$wineserver" -k 2> /dev/null || true
  "$wineserver" -w 2> /dev/null || true
  kill "$xvfb" 2> /dev/null || true
}
trap acaba EXIT
espera 20 test -s "$t/pantalla" || falla "Xvfb did not start: $(cat "$t/xvfb.log")"
export DISPLAY=:$(cat "$t/pantalla")

# Wine reads the keyboard map once, as it starts: "ñ" and "í", which the US map lacks, go on two
# key codes that hold nothing. Left to xdotool, which maps a letter just before typing it, they
# would come too late and be lost.
libres=($(xmodmap -pke | awk 'NF == 3 && $2 > 8 { print $2 }' | head -n 2))
[ ${#libres[@]} = 2 ] || falla "no free key codes for ñ and í"
xmodmap -e "keycode ${libres[0]} = ntilde Ntilde" -e "keycode ${libres[1]} = iacute Iacute"

export LANG=C.UTF-8
"$wineserver" -k 2> /dev/null || true
"$wineserver" -w 2> /dev/null || true
# The glyphs of the title bar's buttons, which are letters without it.
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
"$wineserver" -p
# There is no window manager: Wine draws the frames itself and moves the focus with the
# active window (managed, each closing waits 2 s for a manager and the dialog gets no focus).
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f > /dev/null 2>&1

# The drawings: the examples under names with "ñ", "í" and letters outside Windows-1252, and a
# path with an arc and two kinds read on request only.
pon_dibujos() {
  mkdir -p "$1"
  cp examples/dxfbin.tab "$1/"
  cp examples/plano_norte.dxf "$1/plano_ñí.dxf"
  cp examples/plano_sur.dxf "$1/plano_sur.dxf"
  cp examples/plano_norte.dxf "$1/mapa_łódź.DXF"
  printf '%s\r\n' '  0' SECTION '  2' ENTITIES \
    '  0' POLYLINE '  8' CAMINO ' 66' 1 ' 70' 0 \
    '  0' VERTEX '  8' CAMINO ' 10' 452000.0 ' 20' 4470000.0 ' 30' 0.0 ' 42' 1.0 \
    '  0' VERTEX '  8' CAMINO ' 10' 452010.0 ' 20' 4470000.0 ' 30' 0.0 '  0' SEQEND \
    '  0' LINE '  8' CERCA ' 10' 452000.0 ' 20' 4470005.0 ' 30' 0.0 \
    ' 11' 452010.0 ' 21' 4470005.0 ' 31' 0.0 \
    '  0' CIRCLE '  8' POZO ' 10' 452005.0 ' 20' 4470010.0 ' 30' 0.0 ' 40' 2.0 \
    '  0' ENDSEC '  0' EOF > "$1/planta_ñí.dxf"
}
# C:\Mapas: a place a Windows user would use, and the same path in the screenshot wherever the
# repository is.
w=$WINEPREFIX/drive_c/Mapas
rm -rf "$w"
pon_dibujos "$w/dir_ñí"
mkdir -p "$w/sin_tabla_ñí" && cp examples/plano_sur.dxf "$w/sin_tabla_ñí/"
mkdir -p "$w/ejemplos" && cp examples/dxfbin.tab examples/plano_norte.dxf examples/plano_sur.dxf "$w/ejemplos/"
for n in uno dos; do pon_dibujos "$t/linux/$n/dir_ñí"; done
(cd "$t/linux/uno" && "$linux_cli" dir_ñí > /dev/null)
(cd "$t/linux/dos" && "$linux_cli" --no-atr --also all --arcs dir_ñí > /dev/null)
mkdir -p "$t/linux/sin_tabla" && cp examples/plano_sur.dxf "$t/linux/sin_tabla/"
estado=0
"$linux_cli" "$t/linux/sin_tabla" > /dev/null 2>&1 || estado=$?
[ "$estado" = 53 ] || falla "the Linux tolvar-cli ended with $estado without dxfbin.tab, not 53"

# iguales LINUX_DIR WINDOWS_DIR: the same .bin and .err files, byte for byte.
iguales() {
  local f
  [ "$(cd "$1" && ls -- *.bin *.err)" = "$(cd "$2" && ls -- *.bin *.err 2> /dev/null)" ] || return 1
  for f in "$1"/*.bin "$1"/*.err; do
    cmp -s -- "$f" "$2/${f##*/}" || return 1
  done
}
compara() {
  iguales "$1" "$2" || { diff -r "$1" "$2" >&2 || true; falla "$2 differs from $1"; }
  echo "$3: $(cd "$1" && ls -- *.bin *.err | wc -l) outputs byte-identical to Linux's"
}

ventanas() { xdotool search --onlyvisible --name "$1" 2> /dev/null || true; }
hay() { [ "$(ventanas "$1" | wc -l)" -ge "${2:-1}" ]; }
no_hay() { ! hay "$1"; }
# tamano WINDOW: its width and height on the screen, frame included.
tamano() { xdotool getwindowgeometry "$1" | awk '/Geometry:/ { split($2, t, "x"); print t[1], t[2] }'; }
# Starts tolvar.exe and waits for its window.
arranca() {
  rm -f "$t/estado"
  (
    estado=0
    "$wine" "$exe" > "$t/tolvar.out" 2>&1 || estado=$?
    echo "$estado" > "$t/estado"
  ) &
  espera 30 hay '^TOLVAR$' || falla "no window TOLVAR"
  ventana=$(ventanas '^TOLVAR$' | head -n 1)
}
# termina STATUS: tolvar.exe ends by itself with STATUS.
termina() {
  espera 60 test -s "$t/estado" || falla "tolvar.exe did not end"
  [ "$(cat "$t/estado")" = "$1" ] || falla "tolvar.exe ended with $(cat "$t/estado"), not $1"
}
# The end message is the one red thing in the window.
fin_visible() {
  import -window "$ventana" "$t/ventana.png" 2> /dev/null &&
    convert "$t/ventana.png" -format %c histogram:info:- > "$t/colores" &&
    grep -qi '#C00000' "$t/colores"
}
# con_foco WINDOW: the keyboard's input goes to WINDOW.
con_foco() { espera 10 test "$(xdotool getwindowfocus)" = "$1" || falla "the focus is not on $1"; }
# Closes the window with the keyboard, once it has the focus back. Wine without a window
# manager now and then leaves no window active when the Open dialog closes and a batch runs at
# once; a person would click the title bar.
cierra() {
  if ! espera 3 test "$(xdotool getwindowfocus)" = "$ventana"; then
    read -r ancho_v _ < <(tamano "$ventana")
    echo "(no window active: the title bar clicked)"
    xdotool mousemove --window "$ventana" $((ancho_v / 2)) 5 click 1
  fi
  con_foco "$ventana"
  xdotool key alt+F4
}
# escribe_en_dialogo TEXT KEY: waits for the Open dialog, types TEXT into its file name and
# presses KEY; waits for it to close.
escribe_en_dialogo() {
  espera 30 hay '^Seleccinar fichero \.dxf a tratar$' || falla "no Open dialog"
  [ -z "$1" ] || xdotool type --delay 20 "$1"
  xdotool key "$2"
  espera 30 no_hay '^Seleccinar' || falla "the Open dialog stays"
}

echo "1. the mouse on the button, a path typed into the dialog"
arranca
# The button is where its grey face is, once the window is drawn.
boton() {
  import -window "$ventana" "$t/ventana.png" 2> /dev/null &&
    read -r ancho alto x y < <(convert "$t/ventana.png" -fill black +opaque '#E0E0E0' \
      -fill white -opaque '#E0E0E0' -trim -format '%w %h %X %Y\n' info:) &&
    [ "$ancho" -gt 20 ] && [ "$alto" -gt 20 ]
}
espera 30 boton || falla "no button in the window"
read -r ancho_96 alto_96 < <(tamano "$ventana")
! fin_visible || falla "Proceso Finalizado. shown before any batch"
xdotool mousemove --window "$ventana" $((x + ancho / 2)) $((y + alto / 2)) click 1
escribe_en_dialogo 'C:\Mapas\dir_ñí\plano_ñí.dxf' Return
espera 60 fin_visible || falla "no Proceso Finalizado. after the batch"
# Without its dates, the picture changes only when the window does.
convert "$t/ventana.png" -strip -define png:exclude-chunks=date,time "$raiz/docs/tolvar-windows.png"
cierra
termina 0
compara "$t/linux/uno/dir_ñí" "$w/dir_ñí" "the window as it opens"

echo "2. the keyboard alone: No, the first two check boxes, the button; then the dialog cancelled"
arranca
# The focus starts on the button; the tab stops follow: three boxes (the map's button, greyed
# before a batch, is no stop), the options, the checks; the third, the blocks, left as it is.
xdotool key Tab Tab Tab Tab Down Tab space Tab space Tab Tab space
escribe_en_dialogo 'C:\Mapas\dir_ñí\plano_sur.dxf' Return
espera 60 fin_visible || falla "no Proceso Finalizado. after the batch"
compara "$t/linux/dos/dir_ñí" "$w/dir_ñí" "No, every kind, arcs"
rm "$w"/dir_ñí/*.bin "$w"/dir_ñí/*.err
xdotool key space
escribe_en_dialogo '' Escape
# The end message already shows: the batch has ended once its outputs are whole again. Keys
# pressed before that would reach no window.
espera 60 iguales "$t/linux/dos/dir_ñí" "$w/dir_ñí" || true
cierra
termina 0
compara "$t/linux/dos/dir_ñí" "$w/dir_ñí" "the dialog cancelled, the same directory again"

echo "3. no dxfbin.tab: the error box, then status 53"
arranca
xdotool key space
escribe_en_dialogo 'C:\Mapas\sin_tabla_ñí\plano_sur.dxf' Return
# The box has the window's title.
espera 60 hay '^TOLVAR$' 2 || falla "no error box"
caja=$(ventanas '^TOLVAR$' | grep -vx "$ventana" | head -n 1)
con_foco "$caja"
import -window root "$t/error.png"
xdotool key Return
termina 53
[ "$(ls "$w/sin_tabla_ñí")" = plano_sur.dxf ] || falla "outputs without a code table: $(ls "$w/sin_tabla_ñí")"
echo "the error box closed, status 53, no output"

echo "4. at 144 pixels per inch"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f > /dev/null 2>&1
arranca
read -r ancho_144 alto_144 < <(tamano "$ventana")
"$wine" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f > /dev/null 2>&1
con_foco "$ventana"
xdotool key F1
espera 30 hay '^Acerca de Tolvar$' || falla "F1 shows no about box"
acerca=$(ventanas '^Acerca de Tolvar$' | head -n 1)
con_foco "$acerca"
import -window "$acerca" "$t/acerca.png"
xdotool key Return
espera 30 no_hay '^Acerca de Tolvar$' || falla "the about box stays"
cierra
termina 0
# One and a half times as large, give or take the frame's rounding.
for par in "$ancho_96 $ancho_144" "$alto_96 $alto_144"; do
  read -r a96 a144 <<< "$par"
  [ $((a144 * 100)) -ge $((a96 * 145)) ] && [ $((a144 * 100)) -le $((a96 * 155)) ] ||
    falla "${ancho_96}x$alto_96 at 96 pixels per inch, ${ancho_144}x$alto_144 at 144"
done
echo "${ancho_96}x$alto_96 at 96 pixels per inch, ${ancho_144}x$alto_144 at 144"

echo "5. the map: Ver plano after a batch of the examples, its pixels, the wheel, the keys"
arranca
xdotool key space
escribe_en_dialogo 'C:\Mapas\ejemplos\plano_norte.dxf' Return
espera 60 fin_visible || falla "no Proceso Finalizado. after the batch"
# The focus is back on the button once the window is active; the map's button is next.
if ! espera 3 test "$(xdotool getwindowfocus)" = "$ventana"; then
  read -r ancho_v _ < <(tamano "$ventana")
  echo "(no window active: the title bar clicked)"
  xdotool mousemove --window "$ventana" $((ancho_v / 2)) 5 click 1
fi
con_foco "$ventana"
xdotool key Tab space
espera 30 hay '^Plano — plano_sur\.bin$' || falla "no preview of plano_sur.bin, the batch's last"
plano=$(ventanas '^Plano — ' | head -n 1)
con_foco "$plano"
# From the canvas back to the choice, the one before, back to the canvas.
xdotool key shift+Tab Up Tab
espera 30 hay '^Plano — plano_norte\.bin$' || falla "plano_norte.bin not chosen"
# The pointer on the middle of the canvas, so that the status bar shows where it is.
sleep 1
import -window "$plano" "$t/ajustado.png"
read -r ancho alto x y < <(convert "$t/ajustado.png" -fill black +opaque '#FAFAF5' \
  -fill white -opaque '#FAFAF5' -trim -format '%w %h %X %Y\n' info:)
[ "$ancho" -gt 100 ] && [ "$alto" -gt 100 ] || falla "no canvas in the preview"
xdotool mousemove --window "$plano" $((x + ancho / 2)) $((y + alto / 2))
sleep 1
import -window "$plano" "$t/ajustado.png"
convert "$t/ajustado.png" "$t/plano_windows.ppm"
bin_norte=$w/ejemplos/plano_norte.bin
if [ -n "${PLANO_QT:-}" ]; then
  "$comprueba" "$bin_norte" "$t/plano_windows.ppm" "$PLANO_QT" ||
    falla "the preview's pixels are not the records', or not the Qt window's"
else
  "$comprueba" "$bin_norte" "$t/plano_windows.ppm" || falla "the preview's pixels are not the records'"
  echo "(not compared with the Qt window's: PLANO_QT unset; scripts/conduce_qt.sh leaves it)"
fi
convert "$t/ajustado.png" -strip -define png:exclude-chunks=date,time "$raiz/docs/tolvar-windows-plano.png"
lienzo() { convert "$t/$1.png" -crop "${ancho}x$alto+$x+$y" +repage "$t/$1_lienzo.png"; }
lienzo ajustado
diferencia() {
  sleep 1
  import -window "$plano" "$t/$1.png"
  lienzo "$1"
  # compare's status is 1 when they differ: the count is what matters.
  { compare -metric AE "$t/ajustado_lienzo.png" "$t/$1_lienzo.png" null: 2>&1 || true; } | awk '{ print $1 }'
}
gestos_plano "$plano" "$x" "$y" "$ancho" "$alto"
# A torn file chosen: the reader's message where the map was, in the system's text colour, and
# the window goes on.
head -c 30 "$w/ejemplos/plano_sur.bin" > "$t/roto.bin" && cp "$t/roto.bin" "$w/ejemplos/plano_sur.bin"
xdotool key shift+Tab Down Tab
espera 30 hay '^Plano — plano_sur\.bin$' || falla "plano_sur.bin not chosen"
sleep 1
import -window "$plano" "$t/roto.png"
convert "$t/roto.png" -crop "${ancho}x$alto+$x+$y" +repage -format %c histogram:info:- > "$t/colores"
grep -qi '#000000' "$t/colores" || falla "no message where the torn file's map would be"
# Black text smoothed into the background: greys only, none of a code's colours.
awk -F'[(),]' '/srgb|#/ { d = ($2 > $3 ? $2 : $3); d = (d > $4 ? d : $4)
                          e = ($2 < $3 ? $2 : $3); e = (e < $4 ? e : $4); if (d - e > 10) exit 1 }' \
  "$t/colores" || falla "a map drawn from a torn file"
echo "  a torn plano_sur.bin: its message instead of a map"
# The preview closed (hidden) by the keyboard, then the main window.
xdotool key alt+F4
espera 30 no_hay '^Plano — ' || falla "the preview stays"
cierra
termina 0
echo "the preview closed, then the window, status 0"
