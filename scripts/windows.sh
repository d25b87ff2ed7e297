#!/usr/bin/env bash
# Windows, checked from Debian: cross-builds the core, tolvar-cli, the window tolvar.exe and the
# tests with MinGW-w64, runs the tests and tolvar-cli under Wine (headless, a prefix of its own in
# build-windows/), checks that the .bin and .err files it writes are byte for byte the Linux
# build's, on names with "ñ", "í" and letters outside Windows-1252, drives the window on a
# virtual display (scripts/conduce_ventana.sh), packs tolvar-VERSION-win64.zip and the installer
# tolvar-VERSION-win64-setup.exe, and installs, uses and uninstalls that under Wine.
#
#   scripts/windows.sh [LINUX_TOLVAR_CLI]
#
# LINUX_TOLVAR_CLI: the Linux tolvar-cli to compare with (default build-ci/src/cli/tolvar-cli,
# built in build-windows/linux when missing, with the map preview's pixel check comprueba_plano
# when that is not beside it). PLANO_QT: the Qt window's picture of its map preview, which
# scripts/conduce_qt.sh leaves, for the window's drive to compare tolvar.exe's with. Prints what
# each stage cost, in seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz=$PWD
b=$raiz/build-windows
trabajos=$(( $(nproc) < 2 ? $(nproc) : 2 ))

scripts/instala_dependencias.sh cmake ninja-build g++-mingw-w64-x86-64-posix wine64 fonts-wine \
  googletest libgtest-dev libcli11-dev nlohmann-json3-dev nsis xvfb xdotool x11-xserver-utils \
  imagemagick

tiempos=()
reloj=0
empieza() { echo "== Windows: $1"; etapa=$1; reloj=$(date +%s%N); }
acaba() { tiempos+=("$(awk -v ns=$(( $(date +%s%N) - reloj )) 'BEGIN { printf "%7.1f", ns / 1e9 }') s  $etapa"); }
falla() { echo "windows.sh: $*" >&2; exit 1; }

empieza "GoogleTest from /usr/src/googletest"
if [ ! -f "$b/googletest/lib/cmake/GTest/GTestConfig.cmake" ]; then
  cmake -S /usr/src/googletest -B "$b/googletest-build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$b/googletest" > /dev/null
  cmake --build "$b/googletest-build" -j "$trabajos" > /dev/null
  cmake --install "$b/googletest-build" > /dev/null
fi
acaba

empieza "build of the core, tolvar-cli, tolvar.exe and the tests (warnings as errors)"
cmake -S . -B "$b/tolvar" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$raiz/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DTOLVAR_WERROR=ON \
  -DGTest_DIR="$b/googletest/lib/cmake/GTest" > /dev/null
cmake --build "$b/tolvar" -j "$trabajos"
acaba

linux_cli=${1:-$raiz/build-ci/src/cli/tolvar-cli}
# The check of the map preview's pixels, built beside that tolvar-cli.
comprueba=$(dirname "$linux_cli")/../../tests/comprueba_plano
if [ ! -x "$linux_cli" ] || [ ! -x "$comprueba" ]; then
  empieza "Linux tolvar-cli to compare with, and the preview's pixel check"
  cmake -S . -B "$b/linux" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
  cmake --build "$b/linux" -j "$trabajos" --target tolvar-cli comprueba_plano
  [ -x "$linux_cli" ] || linux_cli=$b/linux/src/cli/tolvar-cli
  comprueba=$b/linux/tests/comprueba_plano
  acaba
fi
linux_cli=$(realpath "$linux_cli")
comprueba=$(realpath "$comprueba")
exe=$b/tolvar/src/cli/tolvar-cli.exe
ventana=$b/tolvar/src/win32/tolvar.exe

# No DLL beside the programs: only system ones.
for programa in "$exe" "$ventana"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$programa" | awk '/DLL Name:/ { print $3 }' | sort -u | tr '\n' ' ')
  for dll in $dlls; do
    case ${dll,,} in
      kernel32.dll | msvcrt.dll | shell32.dll | user32.dll | advapi32.dll | gdi32.dll | comdlg32.dll | comctl32.dll) ;;
      *) falla "${programa##*/} needs $dll" ;;
    esac
  done
  echo "${programa##*/} imports only: $dlls"
done

empieza "Wine prefix (wineboot)"
# mscoree, mshtml off: no .NET and no HTML engine, which Wine would otherwise offer to install.
export WINEDEBUG=-all WINEPREFIX=$b/wine WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
trap '"$wineserver" -k 2> /dev/null || true' EXIT
# One server for the whole run, killed at the end: a program started just as an idle server
# shuts down fails with "wine client error ... Connection reset by peer". Wine's own background
# programs start here too, with no output a test's pipe would wait on.
mkdir -p "$WINEPREFIX"  # the server starts in it
# A server left by an earlier run that was stopped: a new one would not start beside it.
"$wineserver" -k 2> /dev/null || true
"$wineserver" -w 2> /dev/null || true
"$wineserver" -p > /dev/null 2>&1
"$wine" wineboot --init > /dev/null 2>&1
acaba

empieza "tests under Wine"
ctest --test-dir "$b/tolvar" --output-on-failure -j "$trabajos"
# Why each skipped test did not apply here.
grep -h -A1 ': Skipped$' "$b/tolvar/Testing/Temporary/LastTest.log" | grep -v -e '^--$' -e ': Skipped$' |
  sort | uniq -c || true
acaba

empieza "tolvar-cli under Wine against Linux"
m=$b/muestras
rm -rf "$m"
dir="dir_ñí"
for lado in linux windows; do
  mkdir -p "$m/$lado/$dir" "$m/$lado/${dir}_roto"
  cp examples/dxfbin.tab "$m/$lado/$dir/"
  cp examples/plano_norte.dxf "$m/$lado/$dir/plano_ñí.dxf"
  cp examples/plano_sur.dxf "$m/$lado/$dir/plano_sur.dxf"
  # "ł" and "ź" are outside Windows-1252: main()'s arguments would lose them.
  cp examples/plano_norte.dxf "$m/$lado/$dir/mapa_łódź.DXF"
  # Larger than one read and one write of the disk layer: its reading and writing threads run.
  awk 'BEGIN { for (i = 0; i < 40000; i++)
                 printf "  0\r\nPOINT\r\n  8\r\n%s\r\n 10\r\n%d.%03d\r\n 20\r\n%d.5\r\n 30\r\n%d.25\r\n",
                        i % 10 ? "VERTICE" : "POZO", 452000 + i % 900, i % 1000, 4470000 + i % 700, i % 50
               printf "  0\r\nEOF\r\n" }' > "$m/$lado/$dir/puntos_ñí.dxf"
  cp examples/dxfbin.tab "$m/$lado/${dir}_roto/"
  cp examples/plano_sur.dxf "$m/$lado/${dir}_roto/a_bueno.dxf"
  printf '  0\r\nPOINT\r\n  8\r\nCAPA\r\n 10\r\n12,5\r\n' > "$m/$lado/${dir}_roto/b_roto_ñ.dxf"
done

# compara LINUX_DIR WINDOWS_DIR: every .bin and .err, the same names and the same bytes.
compara() {
  local f n=0
  [ "$(cd "$1" && ls -- *.bin *.err)" = "$(cd "$2" && ls -- *.bin *.err)" ] ||
    falla "$2: other outputs than in $1: $(cd "$2" && ls)"
  for f in "$1"/*.bin "$1"/*.err; do
    cmp -- "$f" "$2/${f##*/}" || falla "$2/${f##*/} differs from the Linux build's"
    n=$((n + 1))
  done
  echo "${2##*/}: $n outputs byte-identical to Linux's"
}
# The Windows text with its backslashes as slashes is the Linux text; "\r" never appears.
compara_texto() {
  ! grep -q $'\r' "$2" || falla "$2 has CR line ends"
  diff <(tr '\\' / < "$2") "$1" || falla "$2 differs from $1 beyond its separators"
}
exe_z="Z:$(printf '%s' "$exe" | tr / '\\')"
# corre SIDE STATUS ARGS...: runs tolvar-cli in muestras/SIDE (linux, windows; _es: in Spanish),
# expects STATUS, leaves stdout and stderr in muestras/SIDE.out and .err.
corre() {
  local lado=$1 esperado=$2 estado=0
  shift 2
  case $lado in
    linux) (cd "$m/linux" && "$linux_cli" "$@") ;;
    linux_es) (cd "$m/linux" && LANG=es_ES.UTF-8 "$linux_cli" "$@") ;;
    windows) (cd "$m/windows" && "$wine" "$exe" "$@") ;;
    # Windows sets no LANG: its display language, which Wine takes from LC_ALL, decides. cmd
    # clears the variables Wine copies from Linux before tolvar-cli starts.
    windows_es) (cd "$m/windows" && LC_ALL=es_ES.UTF-8 "$wine" cmd /c \
                   "set LANG=&& set LC_ALL=&& set LC_MESSAGES=&& $exe_z $*") ;;
  esac > "$m/$lado.out" 2> "$m/$lado.err" || estado=$?
  [ "$estado" = "$esperado" ] || { cat "$m/$lado.err" >&2; falla "$lado: status $estado, not $esperado: $*"; }
}

# A directory named relatively, ended by a backslash.
corre linux 0 "$dir/"
corre windows 0 "$dir\\"
compara "$m/linux/$dir" "$m/windows/$dir"
compara_texto "$m/linux.out" "$m/windows.out"
grep -q "Creado el fichero : $dir\\\\mapa_łódź.bin" "$m/windows.out" || falla "no mapa_łódź.bin in the output"

# A drawing by its absolute Windows path, Z: being Wine's drive for /, without the attribute.
ruta_z="Z:$(printf '%s' "$m/windows/$dir/plano_ñí.dxf" | tr / '\\')"
corre linux 0 --no-atr "$m/linux/$dir/plano_ñí.dxf"
corre windows 0 --no-atr "$ruta_z"
compara "$m/linux/$dir" "$m/windows/$dir"
grep -qxF "Creado el fichero : ${ruta_z%.dxf}.bin" "$m/windows.out" || falla "no ${ruta_z%.dxf}.bin in the output"

# A batch that fails: the same status and message, and the outputs written before the fault.
corre linux 13 "${dir}_roto/"
corre windows 13 "${dir}_roto\\"
compara "$m/linux/${dir}_roto" "$m/windows/${dir}_roto"
compara_texto "$m/linux.err" "$m/windows.err"
cat "$m/windows.err"
# Plain names here: with LC_ALL set to a locale this machine lacks, Wine reads the names of
# Linux (arguments, files) as ASCII.
for lado in linux windows; do
  mkdir "$m/$lado/roto" && cp "$m/$lado/${dir}_roto/b_roto_ñ.dxf" "$m/$lado/roto/b.dxf"
  cp examples/dxfbin.tab "$m/$lado/roto/"
done
corre linux_es 13 roto
corre windows_es 13 roto
compara_texto "$m/linux_es.err" "$m/windows_es.err"
cat "$m/windows_es.err"

# Curves: every point computed with the C library's sin, cos, atan, atan2 and fmod, which are
# MinGW's here and glibc's there; the .bin files must not differ by one thousandth. Splines
# and hatch boundaries too: de Boor's rule and the arcs and ellipses of edges.
for lado in linux windows; do
  mkdir -p "$m/$lado/curvas_$dir"
  printf 'CU01 CURVAS\r\nTI01 TIN\r\n' > "$m/$lado/curvas_$dir/dxfbin.tab"
  cp tests/dibujos/r2000_curvas_y_caras.dxf tests/dibujos/r2018_contornos.dxf "$m/$lado/curvas_$dir/"
  awk 'BEGIN { for (i = 0; i < 3000; i++) {
                 x = 452000 + (i * 37) % 1000 + i / 7; y = 4470000 + (i * 53) % 1000 + i / 11
                 printf "  0\r\nARC\r\n  8\r\nCURVAS\r\n 10\r\n%.4f\r\n 20\r\n%.4f\r\n 40\r\n%.3f\r\n 50\r\n%.2f\r\n 51\r\n%.2f\r\n",
                        x, y, 0.5 + (i * 7) % 400 / 3, (i * 13) % 36000 / 100, (i * 29) % 36000 / 100
                 printf "  0\r\nLWPOLYLINE\r\n  8\r\nCURVAS\r\n 10\r\n%.3f\r\n 20\r\n%.3f\r\n 42\r\n%.4f\r\n 10\r\n%.3f\r\n 20\r\n%.3f\r\n",
                        x, y, ((i * 17) % 2000 - 1000) / 997, x + (i % 90) + 0.125, y - (i % 70) }
               printf "  0\r\nEOF\r\n" }' > "$m/$lado/curvas_$dir/arcos.dxf"
done
corre linux 0 --also all --arcs "curvas_$dir/"
corre windows 0 --also all --arcs "curvas_$dir\\"
compara "$m/linux/curvas_$dir" "$m/windows/curvas_$dir"
corre linux 0 --also all --arcs --tolerance 0.0001 "curvas_$dir/"
corre windows 0 --also all --arcs --tolerance 0.0001 "curvas_$dir\\"
compara "$m/linux/curvas_$dir" "$m/windows/curvas_$dir"

# Looking inside: the dump as text and the map.
corre linux 0 dump "$dir/mapa_łódź.bin"
corre windows 0 dump "$dir\\mapa_łódź.bin"
compara_texto "$m/linux.out" "$m/windows.out"
corre linux 0 render "$dir/plano_ñí.bin" -o "$dir/plano_ñí.svg"
corre windows 0 render "$dir\\plano_ñí.bin" -o "$dir\\plano_ñí.svg"
cmp "$m/linux/$dir/plano_ñí.svg" "$m/windows/$dir/plano_ñí.svg" || falla "the SVG maps differ"
echo "dump and render: the same text and the same SVG"
acaba

empieza "the window under Wine, driven on a virtual display"
scripts/conduce_ventana.sh "$ventana" "$linux_cli" "$b/ventana" "$comprueba"
# It stopped its server, which had the display; the next stages run headless again.
"$wineserver" -p > /dev/null 2>&1
acaba

empieza "zip and installer"
rm -rf "$b/tolvar/paquete"
(cd "$b/tolvar" && cpack > /dev/null)
zip=$(ls "$b"/tolvar/paquete/tolvar-*-win64.zip)
instalador=$(ls "$b"/tolvar/paquete/tolvar-*-win64-setup.exe)
contenido=$(cmake -E tar tf "$zip" | sort)
echo "$contenido"
for f in tolvar.exe tolvar-cli.exe README.md LICENSE.txt TERCEROS.txt examples/dxfbin.tab \
         examples/plano_norte.dxf; do
  grep -q "^tolvar-[^/]*-win64/$f\$" <<< "$contenido" || falla "$f missing from the zip"
done
# The installer asks the user to accept Tolvar's licence, as written in LICENSE.
nsi=$(ls "$b"/tolvar/paquete/_CPack_Packages/win64/NSIS/project.nsi)
grep -q 'MUI_PAGE_LICENSE' "$nsi" || falla "the installer has no licence page"
licencia_nsis=$(sed -n 's/.*MUI_PAGE_LICENSE *"\(.*\)".*/\1/p' "$nsi" | head -n 1)
cmp -s "$licencia_nsis" LICENSE || falla "the installer's licence page is not LICENSE: $licencia_nsis"
! grep -q -e '\.bin$' -e '\.err$' <<< "$contenido" || falla "outputs of a run in the zip"
# Unpacked alone, it converts its own examples as Linux does.
rm -rf "$b/zip" && mkdir -p "$b/zip/linux" && (cd "$b/zip" && cmake -E tar xf "$zip")
cp examples/*.dxf examples/dxfbin.tab "$b/zip/linux/"
"$linux_cli" "$b/zip/linux" > /dev/null
(cd "$b"/zip/tolvar-*-win64 && "$wine" tolvar-cli.exe examples > /dev/null)
cmp -s "$(echo "$b"/zip/tolvar-*-win64/LICENSE.txt)" LICENSE || falla "the zip's LICENSE.txt is not LICENSE"
(cd "$b"/zip/tolvar-*-win64 && "$wine" tolvar-cli.exe --version) | tr -d '\r' | grep -x 'License MIT: .*' > /dev/null ||
  falla "tolvar-cli.exe --version does not state its licence"
compara "$b/zip/linux" "$(echo "$b"/zip/tolvar-*-win64/examples)"
echo "$zip ($(wc -c < "$zip") bytes)"
echo "$instalador ($(wc -c < "$instalador") bytes)"
acaba

empieza "installer under Wine: silent install, use, uninstall"
destino="$WINEPREFIX/drive_c/Program Files/Tolvar"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tolvar"
listado() { "$wine" uninstaller --list 2> /dev/null | tr -d '\r'; }
rm -rf "$destino"
"$wine" "$instalador" /S || falla "the installer failed"
# Once more over itself, as an update would be: it still installs, and is listed once.
"$wine" "$instalador" /S || falla "the installer failed over an installed copy"
for f in tolvar.exe tolvar-cli.exe README.md LICENSE.txt TERCEROS.txt Uninstall.exe examples/dxfbin.tab \
         examples/plano_norte.dxf examples/plano_sur.dxf; do
  [ -f "$destino/$f" ] || falla "the installer left no Program Files\\Tolvar\\$f"
done
[ -f "$menu/Tolvar.lnk" ] || falla "no Start-menu entry for the window"
[ "$(grep -c "|||Tolvar " <<< "$(listado)")" = 1 ] ||
  falla "Tolvar is not once among the installed programs: $(listado)"
echo "installed: $(cd "$destino" && find . -type f | sort | tr '\n' ' ')"
rm -rf "$b/instalado" && mkdir -p "$b/instalado"
cp examples/*.dxf examples/dxfbin.tab "$b/instalado/"
"$linux_cli" "$b/instalado" > /dev/null
"$wine" 'C:\Program Files\Tolvar\tolvar-cli.exe' 'C:\Program Files\Tolvar\examples' > /dev/null
compara "$b/instalado" "$destino/examples"
# The uninstaller runs a copy of itself from the temporary folder and returns at once.
"$wine" "$destino/Uninstall.exe" /S || falla "the uninstaller failed"
desinstalado() { [ ! -e "$destino/Uninstall.exe" ] && [ ! -e "$menu" ] && ! grep -q "|||Tolvar " <<< "$(listado)"; }
for _ in $(seq 60); do desinstalado && break; sleep 0.5; done
desinstalado || falla "the uninstaller left the program, its menu or its entry"
# What the conversion wrote is the user's, not the installer's: it stays, and nothing else.
quedan=$(cd "$destino" && find . -type f | sort)
[ "$quedan" = "$(cd "$b/instalado" && ls -- *.bin *.err | sed 's|^|./examples/|' | sort)" ] ||
  falla "the uninstaller left $quedan"
echo "uninstalled: only the outputs of the conversion stay"
acaba

"$wineserver" -k 2> /dev/null || true
echo "== Windows: seconds per stage"
printf '%s\n' "${tiempos[@]}"
