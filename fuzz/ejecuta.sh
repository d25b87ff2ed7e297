#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each one for a bounded time on its seed corpus. Fails when a target finds a crash,
# a sanitizer report or a broken invariant; the input is left in fuzz/hallazgos/.
#
#   FUZZ_SEGUNDOS  seconds per target (default 60)
#   FUZZ_BUILD     build directory (default build-fuzz)
#   FUZZ_MAX_LEN   the largest input, in bytes, for both targets (default: each target's own;
#                  4096 measures the speed on small inputs, as the figures in docs/ do)
set -euo pipefail

raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
segundos=${FUZZ_SEGUNDOS:-60}
build=${FUZZ_BUILD:-$raiz/build-fuzz}
hallazgos=$raiz/fuzz/hallazgos

source "$raiz/fuzz/comun.sh"
construye_fuzzers

mkdir -p "$hallazgos"
fallos=0
for nombre in dibujo tabla; do
  max_len=${FUZZ_MAX_LEN:-$(max_len_de "$nombre")}
  trabajo=$build/corpus-trabajo/$nombre
  registro=$build/fuzz-$nombre.log
  mkdir -p "$trabajo"
  echo "== fuzzing $nombre for ${segundos}s"
  # New inputs go to the first directory, so the seeds in the repository stay as written.
  estado=0
  opciones_de "$nombre"
  "$build/fuzz/${nombre}_fuzzer" "$trabajo" "$raiz/fuzz/corpus/$nombre" \
    -max_total_time="$segundos" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 "${opciones[@]}" \
    -print_final_stats=1 -artifact_prefix="$hallazgos/$nombre-" >"$registro" 2>&1 || estado=$?
  ejecutadas=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro")
  por_segundo=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$registro")
  # libFuzzer's coverage when the seeds are in and at the end: edges (cov) and features (ft).
  cobertura() { sed -n "s/^#[0-9]*[[:space:]]*$1 *cov: \([0-9]*\) ft: \([0-9]*\).*/\1 edges, \2 features/p" "$registro"; }
  echo "$nombre: ${ejecutadas:-0} inputs executed (${por_segundo:-0}/s), exit status $estado;" \
       "coverage $(cobertura INITED) from the seeds, $(cobertura DONE) at the end"
  if [[ $estado -ne 0 ]]; then
    fallos=1
    grep -E "tolvar fuzz:|ERROR: |SUMMARY: |runtime error|Test unit written" "$registro" >&2 || true
    echo "fuzz/ejecuta.sh: $nombre failed; full log in $registro" >&2
  fi
done
exit "$fallos"
