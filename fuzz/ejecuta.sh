#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each one for a bounded time on its seed corpus. Fails when a target finds a crash,
# a sanitizer report or a broken invariant; the input is left in fuzz/hallazgos/.
#
#   FUZZ_SEGUNDOS  seconds per target (default 60)
#   FUZZ_BUILD     build directory (default build-fuzz)
set -euo pipefail

raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
segundos=${FUZZ_SEGUNDOS:-60}
build=${FUZZ_BUILD:-$raiz/build-fuzz}
hallazgos=$raiz/fuzz/hallazgos

# libFuzzer ships in libclang-rt-14-dev, not in clang itself, on Debian 12.
paquetes=(clang libclang-rt-14-dev cmake ninja-build libcli11-dev)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || faltan+=("$p")
done
if ((${#faltan[@]})); then
  echo "== installing ${faltan[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "fuzz/ejecuta.sh: missing ${faltan[*]}; install them as root" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi

echo "== building the fuzz targets in $build"
CXX=clang++ cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTOLVAR_FUZZ=ON -DTOLVAR_TESTS=OFF -DTOLVAR_WERROR=ON >/dev/null
cmake --build "$build" -j2 --target dibujo_fuzzer tabla_fuzzer

mkdir -p "$hallazgos"
fallos=0
# Inputs past these sizes only repeat what the bad-input suite checks (lines over 1 MiB,
# 5001 vertices); smaller ones keep the mutations fast.
for objetivo in dibujo:65536 tabla:8192; do
  nombre=${objetivo%%:*}
  max_len=${objetivo##*:}
  trabajo=$build/corpus-trabajo/$nombre
  registro=$build/fuzz-$nombre.log
  mkdir -p "$trabajo"
  echo "== fuzzing $nombre for ${segundos}s"
  # New inputs go to the first directory, so the seeds in the repository stay as written.
  estado=0
  "$build/fuzz/${nombre}_fuzzer" "$trabajo" "$raiz/fuzz/corpus/$nombre" \
    -max_total_time="$segundos" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$hallazgos/$nombre-" >"$registro" 2>&1 || estado=$?
  ejecutadas=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro")
  por_segundo=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro")
  echo "$nombre: ${ejecutadas:-0} inputs executed (${por_segundo:-0}/s), exit status $estado"
  if [[ $estado -ne 0 ]]; then
    fallos=1
    grep -E "tolvar fuzz:|ERROR: |SUMMARY: |runtime error|Test unit written" "$registro" >&2 || true
    echo "fuzz/ejecuta.sh: $nombre failed; full log in $registro" >&2
  fi
done
exit "$fallos"
