#!/usr/bin/env bash
# The Debian package, checked as a user meets it: makes tolvar_VERSION_amd64.deb with cpack
# from a build with the window, runs lintian on it (an error fails), installs it with apt-get,
# uses what it installed (the programs' versions, a conversion of the installed examples against
# the build's own tolvar-cli, the manual pages, the menu entry and its icon, the window started
# headless and closed), and removes it again, also when a check fails.
#
#   scripts/paquete_debian.sh [BUILD]
#
# BUILD: a build folder configured with -DTOLVAR_GUI=ON (default build-ci, configured with
# Release when missing); it is brought up to date first. Needs root, for apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
raiz=$PWD

scripts/instala_dependencias.sh build-essential cmake ninja-build pkg-config libcli11-dev \
  nlohmann-json3-dev libgtest-dev libgmock-dev qt6-base-dev help2man man-db \
  desktop-file-utils lintian dpkg-dev file

falla() { echo "paquete_debian.sh: $*" >&2; exit 1; }

b=$(realpath -m "${1:-build-ci}")
if [ ! -f "$b/CMakeCache.txt" ]; then
  cmake -S . -B "$b" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTOLVAR_GUI=ON
fi
grep -qx 'TOLVAR_GUI:BOOL=ON' "$b/CMakeCache.txt" || falla "$b is configured without the window"
# Configured again: help2man may have come in since the folder was configured.
cmake "$b" > /dev/null
cmake --build "$b" -j "$(( $(nproc) < 2 ? $(nproc) : 2 ))"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$b/CMakeCache.txt")
[ -n "$version" ] || falla "no project version in $b/CMakeCache.txt"

echo "== Debian package: cpack"
rm -rf "$b/paquete"
(cd "$b" && cpack -G DEB > /dev/null)
nombre=tolvar_${version}_$(dpkg --print-architecture).deb
[ -f "$b/paquete/$nombre" ] || falla "cpack made $(ls "$b/paquete"), not $nombre"
dpkg-deb --info "$b/paquete/$nombre" | sed -n '/^ Package:/,$p'
echo "$nombre: $(wc -c < "$b/paquete/$nombre") bytes"
depende=$(dpkg-deb --field "$b/paquete/$nombre" Depends)
for biblioteca in libc6 libstdc++6 libqt6widgets6; do
  grep -q "\b$biblioteca\b" <<< "$depende" || falla "Depends lacks $biblioteca: $depende"
done

echo "== Debian package: lintian"
informe=$(lintian --allow-root --display-info "$b/paquete/$nombre" 2>&1) || true
echo "${informe:-(nothing to report)}"
! grep -q '^E: ' <<< "$informe" || falla "lintian reports errors"

echo "== Debian package: installed with apt-get"
# A package of the same version left by an earlier run would stand in for this one.
if dpkg-query -W tolvar > /dev/null 2>&1; then apt-get remove -y -qq tolvar > /dev/null; fi
quita() {
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tolvar > /dev/null 2>&1 || true
}
trap quita EXIT
(cd "$b/paquete" && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o Dpkg::Use-Pty=0 "./$nombre" 2>&1 |
   grep -v 'unsandboxed as root' || true)
[ "$(dpkg-query -W -f='${Version}' tolvar)" = "$version" ] || falla "tolvar $version is not installed"
dpkg -L tolvar | while read -r f; do [ -f "$f" ] && echo "$f"; done |
  grep -E '^/usr/(bin|share/(applications|man|doc/tolvar/examples))/' | sort

[ "$(command -v tolvar-cli)" = /usr/bin/tolvar-cli ] || falla "tolvar-cli is $(command -v tolvar-cli)"
for programa in tolvar-cli tolvar; do
  [ "$($programa --version | head -n 1)" = "$programa $version" ] || falla "$programa --version: $($programa --version)"
  $programa --version | grep -x 'License MIT: .*' > /dev/null || falla "$programa --version states no licence"
done
# The licence the package grants is the repository's, word for word.
copyright=/usr/share/doc/tolvar/copyright
grep -qx 'License: Expat' "$copyright" || falla "$copyright grants no Expat (MIT) licence"
diff <(sed -n '/^License: Expat/,/^$/p' "$copyright" | sed '1d; /^$/d; s/^ //; s/^\.$//') \
     <(sed -n '/^Permission/,$p' LICENSE) > /dev/null || falla "$copyright's licence is not LICENSE's"
echo "tolvar-cli --version and tolvar --version: $version"

# The installed examples, converted by the installed program, give the build's bytes.
t=$(mktemp -d)
trap 'quita; rm -rf "$t"' EXIT
mkdir "$t/instalado" "$t/compilado"
for f in examples/*.dxf examples/dxfbin.tab; do
  cmp "$f" "/usr/share/doc/tolvar/$f" || falla "the installed $f differs from the source's"
done
cp /usr/share/doc/tolvar/examples/* "$t/instalado/"
cp /usr/share/doc/tolvar/examples/* "$t/compilado/"
(cd "$t" && tolvar-cli instalado > instalado.out)
(cd "$t" && "$b/src/cli/tolvar-cli" compilado > compilado.out)
diff <(sed 's#instalado/#DIR/#' "$t/instalado.out") <(sed 's#compilado/#DIR/#' "$t/compilado.out") ||
  falla "the installed tolvar-cli prints otherwise than the build's"
n=0
for f in "$t"/compilado/*.bin "$t"/compilado/*.err; do
  cmp "$f" "$t/instalado/${f##*/}" || falla "${f##*/} differs from the build's"
  n=$((n + 1))
done
[ "$n" -eq 4 ] || falla "$n outputs of the examples, not 4"
echo "tolvar-cli on a copy of the installed examples: $n outputs byte-identical to the build's"

for pagina in tolvar-cli tolvar; do
  donde=$(man -w "$pagina") || falla "no manual page $pagina"
  echo "man -w $pagina: $donde"
done
# The page holds both halves: the options from --help and the statuses from the include file.
texto=$(MANWIDTH=100 man -P cat tolvar-cli 2> /dev/null)
for parte in '--codepage NAME' 'EXIT STATUS' 'FILES' 'EXAMPLES'; do
  grep -qF -- "$parte" <<< "$texto" || falla "man tolvar-cli shows no \"$parte\""
done

entrada=/usr/share/applications/tolvar.desktop
desktop-file-validate "$entrada" || falla "desktop-file-validate: $entrada"
icono=$(sed -n 's/^Icon=//p' "$entrada")
for f in scalable/apps/$icono.svg 16x16/apps/$icono.png 48x48/apps/$icono.png; do
  [ -s "/usr/share/icons/hicolor/$f" ] || falla "the menu's icon $f is not installed"
done
programa=$(sed -n 's/^Exec=//p' "$entrada")
[ "$(command -v "${programa%% *}")" = /usr/bin/tolvar ] || falla "the menu runs $programa"
echo "$entrada: valid, Exec=$programa, Icon=$icono in hicolor (SVG and PNG)"

# The window, started as installed on the offscreen platform: once Qt has loaded that
# platform, SIGTERM closes it, which the window answers from its event loop with status 0.
QT_QPA_PLATFORM=offscreen tolvar > "$t/ventana.out" 2>&1 &
ventana=$!
for _ in $(seq 100); do
  grep -q libqoffscreen "/proc/$ventana/maps" 2> /dev/null && break
  kill -0 "$ventana" 2> /dev/null || break
  sleep 0.2
done
kill -0 "$ventana" 2> /dev/null || { cat "$t/ventana.out"; falla "the window ended by itself"; }
sleep 1
kill -TERM "$ventana"
estado=0
wait "$ventana" || estado=$?
[ "$estado" = 0 ] || { cat "$t/ventana.out"; falla "the window ended with status $estado on SIGTERM"; }
echo "the installed window started headless and closed with status 0"

echo "== Debian package: removed"
apt-get remove -y -qq tolvar > /dev/null
! dpkg-query -W -f='${Status}' tolvar 2> /dev/null | grep -q ' installed' || falla "tolvar is still installed"
[ ! -e /usr/bin/tolvar-cli ] && [ ! -e "$entrada" ] || falla "files of tolvar remain"
echo "$nombre installed, checked and removed"
