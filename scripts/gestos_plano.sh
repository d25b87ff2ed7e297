# Sourced by both windows' drives (conduce_qt.sh, conduce_ventana.sh): the gestures on a map
# preview's canvas, the same in both, each judged against the fitted picture. The caller
# defines `diferencia NAME`, which takes the canvas's picture as NAME and prints how many of
# its pixels differ from the fitted one, and `falla`.

# juzga NAME distinto|igual: the map must have moved, or be the fitted picture again.
juzga() {
  local n
  n=$(diferencia "$1")
  case $2 in
    distinto) [ "$n" != 0 ] || falla "$1: the map did not move" ;;
    igual) [ "$n" = 0 ] || falla "$1: $n pixels differ from the fitted map" ;;
  esac
  echo "  $1: $n pixels differ from the fitted map"
}

# gestos_plano WINDOW X Y WIDTH HEIGHT: the canvas's place in the window; the wheel, the keys,
# Home, a drag and a double click, in that order.
gestos_plano() {
  local v=$1 x=$2 y=$3 ancho=$4 alto=$5
  xdotool mousemove --window "$v" $((x + ancho / 3)) $((y + alto / 3))
  xdotool click 4 click 4 click 4
  juzga rueda distinto
  xdotool key plus plus Left Down minus
  juzga teclas distinto
  xdotool key Home
  juzga inicio igual
  xdotool mousemove --window "$v" $((x + ancho / 2)) $((y + alto / 2)) mousedown 1
  xdotool mousemove_relative --sync 40 25 mouseup 1
  juzga arrastre distinto
  xdotool click --repeat 2 --delay 80 1
  juzga doble_clic igual
}
