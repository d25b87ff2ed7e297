#!/usr/bin/env bash
# Times tolvar-cli against `wc -l` and GDAL's ogr2ogr on the same generated drawing, in one
# run, and a directory of 1,000 small drawings. Installs what is missing (Debian), builds
# Release in build-bench/, writes its drawings to bench/datos/ (git-ignored).
#
#   bench/ejecuta.sh                 200 MB drawing, the 1,000-drawing directory, 200 MB of
#                                    curves read plain and with --also all --arcs, and 100,000
#                                    INSERTs of a 50-entity block against the same entities
#                                    written out, both with --also all --blocks
#   bench/ejecuta.sh --2gb           also a 2 GB drawing, for memory that must not grow
#   bench/ejecuta.sh --veces 9       runs per program (default 5; the median is printed)
#   bench/ejecuta.sh --micro         also the Google Benchmark micro-benchmarks
#   bench/ejecuta.sh --plano         also the map preview: opening the 200 MB drawing's .bin and
#                                    redrawing it at three zooms, with the Qt window's drawing
#   bench/ejecuta.sh --regenera      write the drawings again
#   TOLVAR_CLI=/path/tolvar-cli bench/ejecuta.sh   time another build of tolvar-cli
#   TOLVAR_BUILD_BENCH=dir bench/ejecuta.sh        build somewhere else than build-bench/
set -euo pipefail

raiz=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVAR_BUILD_BENCH:-$raiz/build-bench}
datos=$raiz/bench/datos
veces=5
con_2gb=0
con_micro=0
con_plano=0
regenera=0
while [ $# -gt 0 ]; do
  case $1 in
    --2gb) con_2gb=1 ;;
    --micro) con_micro=1 ;;
    --plano) con_plano=1 ;;
    --regenera) regenera=1 ;;
    --veces) veces=$2; shift ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    *) echo "ejecuta.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
  shift
done
if [ "$veces" -lt 5 ]; then
  echo "ejecuta.sh: fewer than 5 runs make the median worthless" >&2
  exit 2
fi

# What the measurement needs, from Debian's packages.
paquetes=(cmake ninja-build g++ libbenchmark-dev libcli11-dev libgtest-dev gdal-bin time)
# The map preview's redraw is timed through the Qt window's own drawing.
if [ $con_plano -eq 1 ]; then paquetes+=(qt6-base-dev); fi
if command -v dpkg-query >/dev/null; then
  if [ "$(id -u)" -eq 0 ]; then
    "$raiz/scripts/instala_dependencias.sh" "${paquetes[@]}"
  else
    sudo "$raiz/scripts/instala_dependencias.sh" "${paquetes[@]}"
  fi
else
  for c in cmake ninja g++ ogr2ogr /usr/bin/time; do
    command -v "$c" >/dev/null || { echo "ejecuta.sh: $c is missing and this is not Debian" >&2; exit 1; }
  done
fi

# Release, as users build it; speed is never measured on a debugging build.
objetivos=(tolvar-cli tolvar-genera tolvar-bench)
gui=OFF
if [ $con_plano -eq 1 ]; then gui=ON; objetivos+=(tolvar-bench-qt); fi
cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAR_BENCH=ON -DTOLVAR_GUI=$gui >/dev/null
cmake --build "$build" --target "${objetivos[@]}" -j 2 | tail -n 1
cli=${TOLVAR_CLI:-$build/src/cli/tolvar-cli}  # TOLVAR_CLI: another build, to compare
genera=$build/bench/tolvar-genera

# The drawings are kept between runs: the same seed gives the same bytes.
grande=$datos/200mb/plano.dxf
lote=$datos/lote
curvas=$datos/curvas/plano.dxf
bloques=$datos/bloques/plano.dxf
explotado=$datos/explotado/plano.dxf
if [ $regenera -eq 1 ]; then
  rm -rf "$datos/200mb" "$datos/2gb" "$lote" "$datos/curvas" "$datos/bloques" "$datos/explotado"
fi
if [ ! -f "$grande" ]; then
  echo "Generating $grande"
  "$genera" "$grande" 200M --semilla 1
fi
if [ ! -f "$lote/plano_1000.dxf" ]; then
  echo "Generating 1,000 drawings of 10 KB in $lote"
  "$genera" "$lote" 10K --lote 1000 --semilla 1000
fi
if [ ! -f "$curvas" ]; then
  echo "Generating $curvas"
  "$genera" "$curvas" 200M --semilla 3 --curvas
fi
if [ ! -f "$bloques" ]; then
  echo "Generating $bloques and $explotado"
  "$genera" "$bloques" --bloques 100000 --semilla 4
  "$genera" "$explotado" --bloques 100000 --semilla 4 --explotado
fi
if [ $con_2gb -eq 1 ] && [ ! -f "$datos/2gb/plano.dxf" ]; then
  echo "Generating $datos/2gb/plano.dxf"
  "$genera" "$datos/2gb/plano.dxf" 2G --semilla 2
fi

# One run of a command: wall time from the shell's microsecond clock (wc -l is over in tens
# of milliseconds, below what time(1) resolves) and the peak resident set from time -v.
# Prints "seconds kilobytes".
una_vez() {
  local previo=$1
  shift
  if [ -n "$previo" ]; then eval "$previo"; fi
  local t0 t1 kb
  t0=$EPOCHREALTIME
  /usr/bin/time -v -o "$datos/.time" "$@" >/dev/null 2>"$datos/.stderr" ||
    { echo "ejecuta.sh: failed: $*" >&2; cat "$datos/.stderr" >&2; exit 1; }
  t1=$EPOCHREALTIME
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$datos/.time")
  awk -v a="$t0" -v b="$t1" -v k="$kb" 'BEGIN { printf "%.6f %d\n", b - a, k }'
}

mediana() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
maximo() { sort -g | tail -n 1; }

fgb=$datos/salida.fgb
declare -A tiempos memorias
programas=(wc tolvar ogr2ogr)
ejecuta_programa() {
  case $1 in
    wc) una_vez "" wc -l "$2" ;;
    tolvar) una_vez "" "$cli" --no-atr "$2" ;;
    tolvar_curvas) una_vez "" "$cli" --no-atr --also all --arcs "$2" ;;
    tolvar_bloques) una_vez "" "$cli" --no-atr --also all --blocks "$2" ;;
    ogr2ogr) una_vez "rm -f '$fgb'" ogr2ogr -f FlatGeobuf "$fgb" "$2" ;;
  esac
}

mide() {  # mide DRAWING PROGRAMS... : fills tiempos[] and memorias[] by program
  local dibujo=$1
  shift
  cat "$dibujo" >/dev/null  # page cache warm for all, as the figures assume
  for p in "$@"; do tiempos[$p]=""; memorias[$p]=""; ejecuta_programa "$p" "$dibujo" >/dev/null; done
  # Rounds rather than one program after the other: a burst of load from elsewhere then
  # hits every program alike.
  for ((i = 1; i <= veces; i++)); do
    for p in "$@"; do
      r=$(ejecuta_programa "$p" "$dibujo")
      read -r s kb <<<"$r"
      tiempos[$p]+="$s"$'\n'
      memorias[$p]+="$kb"$'\n'
    done
  done
}

informe() {  # informe DRAWING PROGRAMS...
  local dibujo=$1
  shift
  local mb
  mb=$(stat -c %s "$dibujo" | awk '{ printf "%.1f", $1 / 1e6 }')
  printf '\n%s (%s MB), median of %d runs, page cache warm\n\n' "${dibujo#"$raiz"/}" "$mb" "$veces"
  printf '| %-28s | %9s | %9s | %14s |\n' "Program" "Time (s)" "MB/s" "Peak RSS (MB)"
  printf '|%s|%s|%s|%s|\n' "------------------------------" "-----------" "-----------" "----------------"
  for p in "$@"; do
    local t kb
    t=$(printf '%s' "${tiempos[$p]}" | mediana)
    kb=$(printf '%s' "${memorias[$p]}" | maximo)
    eval "t_$p=$t; kb_$p=$kb"
    local nombre=$p
    case $p in
      wc) nombre='wc -l' ;;
      tolvar) nombre='tolvar-cli --no-atr' ;;
      tolvar_curvas) nombre='... --also all --arcs' ;;
      tolvar_bloques) nombre='... --also all --blocks' ;;
      ogr2ogr) nombre='ogr2ogr -f FlatGeobuf' ;;
    esac
    awk -v n="$nombre" -v t="$t" -v mb="$mb" -v kb="$kb" \
      'BEGIN { printf "| %-28s | %9.3f | %9.0f | %14.1f |\n", n, t, mb / t, kb / 1024 }'
  done
}

echo
version=$(git -C "$raiz" describe --always --dirty 2>/dev/null || echo '?')
echo "tolvar-cli: ${TOLVAR_CLI:-$version}, $(nproc) cores, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)"

mide "$grande" "${programas[@]}"
informe "$grande" "${programas[@]}"
awk -v w="$t_wc" -v t="$t_tolvar" -v o="$t_ogr2ogr" -v kb="$kb_tolvar" 'BEGIN {
  printf "\ntolvar-cli / wc -l:    %5.1f %% of its throughput   (target >= 25 %%: %s)\n", 100 * w / t, (w / t >= 0.25) ? "met" : "NOT met"
  printf "tolvar-cli / ogr2ogr:  %5.1f x its throughput      (target >= 5 x: %s)\n", o / t, (o / t >= 5) ? "met" : "NOT met"
  printf "tolvar-cli peak RSS:   %5.1f MB                     (target <= 8 MB: %s)\n", kb / 1024, (kb <= 8192) ? "met" : "NOT met"
}'

# The small drawings: per-drawing overhead (table load, file creation) is what counts here.
lote_tiempos=""
lote_kb=""
una_vez "" "$cli" --no-atr "$lote" >/dev/null
for ((i = 1; i <= veces; i++)); do
  r=$(una_vez "" "$cli" --no-atr "$lote")
  read -r s kb <<<"$r"
  lote_tiempos+="$s"$'\n'
  lote_kb+="$kb"$'\n'
done
t_lote=$(printf '%s' "$lote_tiempos" | mediana)
kb_lote=$(printf '%s' "$lote_kb" | maximo)
awk -v t="$t_lote" -v kb="$kb_lote" 'BEGIN {
  printf "1,000 drawings of 10 KB: %.3f s, peak RSS %.1f MB (target < 2 s: %s)\n", t, kb / 1024, (t < 2) ? "met" : "NOT met"
}'

# A drawing full of arcs: what drawing them costs beside leaving them as chords.
mide "$curvas" wc tolvar tolvar_curvas
informe "$curvas" wc tolvar tolvar_curvas
awk -v t="$t_tolvar" -v c="$t_tolvar_curvas" -v kb="$kb_tolvar_curvas" 'BEGIN {
  printf "\n--also all --arcs: %.1f x the time of the plain reading, peak RSS %.1f MB\n", c / t, kb / 1024
}'

# Blocks: 5,000,000 entities drawn from 100,000 INSERTs, against the same entities written
# out in ENTITIES; both write the same 5,000,000 records, byte for byte.
mide "$bloques" tolvar_bloques
informe "$bloques" tolvar_bloques
t_desde_bloques=$t_tolvar_bloques
kb_desde_bloques=$kb_tolvar_bloques
cat "$explotado" >/dev/null
mide "$explotado" tolvar_bloques
informe "$explotado" tolvar_bloques
cmp -s "${bloques%.dxf}.bin" "${explotado%.dxf}.bin" || { echo "ejecuta.sh: the two drawings of the blocks wrote different .bin files" >&2; exit 1; }
awk -v b="$t_desde_bloques" -v e="$t_tolvar_bloques" -v kb="$kb_desde_bloques" 'BEGIN {
  printf "\n5,000,000 records from blocks: %.0f a second; written out: %.0f a second (target: at least as fast: %s); peak RSS %.1f MB\n",
    5e6 / b, 5e6 / e, (b <= e) ? "met" : "NOT met", kb / 1024
}'

if [ $con_2gb -eq 1 ]; then
  mide "$datos/2gb/plano.dxf" wc tolvar
  informe "$datos/2gb/plano.dxf" wc tolvar
  awk -v kb="$kb_tolvar" 'BEGIN {
    printf "\ntolvar-cli peak RSS on 2 GB: %.1f MB (target <= 8 MB: %s)\n", kb / 1024, (kb <= 8192) ? "met" : "NOT met"
  }'
fi

if [ $con_micro -eq 1 ]; then
  echo
  "$build/bench/tolvar-bench" --benchmark_min_time=0.5 --benchmark_filter=-plano
fi

if [ $con_plano -eq 1 ]; then
  # The .bin the 200 MB drawing's runs above wrote beside it.
  bin=${grande%.dxf}.bin
  "$cli" --no-atr "$grande" >/dev/null
  printf '\nMap preview of %s (%s MB)\n\n' "${bin#"$raiz"/}" "$(stat -c %s "$bin" | awk '{ printf "%.1f", $1 / 1e6 }')"
  export TOLVAR_PLANO_BIN=$bin
  /usr/bin/time -v -o "$datos/.time" "$build/bench/tolvar-bench" --benchmark_filter=abre_plano \
    --benchmark_format=json > "$datos/.abre.json"
  "$build/bench/tolvar-bench" --benchmark_filter=redibuja_plano --benchmark_min_time=0.5 \
    --benchmark_format=json > "$datos/.redibuja.json"
  "$build/bench/tolvar-bench-qt" --benchmark_min_time=0.5 --benchmark_format=json > "$datos/.qt.json"
  kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$datos/.time")
  python3 - "$datos/.abre.json" "$datos/.redibuja.json" "$datos/.qt.json" "$kb" <<'FIN'
import json, sys
abre = json.load(open(sys.argv[1]))["benchmarks"][0]
redibuja = {b["name"]: b for b in json.load(open(sys.argv[2]))["benchmarks"]}
qt = {b["name"]: b for b in json.load(open(sys.argv[3]))["benchmarks"]}
kb = int(sys.argv[4])
puntos = abre["puntos"]
print(f"opening: {abre['real_time']:.0f} ms (target < 2 s: {'met' if abre['real_time'] < 2000 else 'NOT met'}), "
      f"{abre['registros']:.0f} records, {puntos:.0f} points")
print(f"display list: {abre['MB_lista']:.1f} MB, {abre['bytes_punto']:.1f} bytes a point; "
      f"peak RSS of the process that opens it: {kb / 1024:.1f} MB "
      f"({kb * 1024 / puntos:.1f} bytes a point; target 16 plus a few MB: "
      f"{'met' if kb * 1024 <= 16 * puntos + 8e6 else 'NOT met'})")
print()
print("| Zoom | Records drawn | Composed (ms) | Composed and drawn by Qt (ms) |")
print("|---|---|---|---|")
peor = 0
for z in (1, 16, 256):
    c = redibuja[f"redibuja_plano/zoom:{z}"]
    q = qt[f"pinta_plano_qt/zoom:{z}"]
    peor = max(peor, q["real_time"])
    print(f"| {z} | {c['registros']:.0f} | {c['real_time']:.2f} | {q['real_time']:.2f} |")
print(f"\nslowest redraw: {peor:.1f} ms (target < 100 ms: {'met' if peor < 100 else 'NOT met'})")
FIN
  rm -f "$datos/.abre.json" "$datos/.redibuja.json" "$datos/.qt.json"
fi
rm -f "$datos/.time" "$datos/.stderr" "$fgb"
