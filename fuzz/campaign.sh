#!/usr/bin/env bash
# A long fuzzing campaign: both targets at once on all cores for HOURS hours (fractions too),
# then what they found that reaches new code is merged into the seed corpus, kept small by
# libFuzzer's merge (an input goes in only if it adds coverage to what is there). Crashes,
# sanitizer reports and broken invariants are kept in fuzz/hallazgos/ with a note of how to
# replay each one; the campaign goes on past them.
#
# Usage: fuzz/campaign.sh HOURS
#   FUZZ_BUILD   build directory (default build-fuzz)
set -euo pipefail

if [[ $# -ne 1 ]] || ! awk -v h="$1" 'BEGIN { exit !(h + 0 > 0) }'; then
  echo "usage: fuzz/campaign.sh HOURS (a positive number, 0.5 for half an hour)" >&2
  exit 1
fi
raiz=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${FUZZ_BUILD:-$raiz/build-fuzz}
hallazgos=$raiz/fuzz/hallazgos
segundos=$(awk -v h="$1" 'BEGIN { printf "%d", h * 3600 }')

source "$raiz/fuzz/comun.sh"
construye_fuzzers

nucleos=$(nproc)
# Each target gets half of the cores, one at least.
procesos=$(( nucleos / 2 > 0 ? nucleos / 2 : 1 ))
mkdir -p "$hallazgos"
echo "== campaign: ${segundos}s, $procesos processes per target on $nucleos cores"

pids=()
for nombre in dibujo tabla; do
  trabajo=$build/campana/$nombre
  mkdir -p "$trabajo"
  # -fork runs the target in child processes and goes on after a crash (-ignore_crashes),
  # keeping each crashing input under its own name in fuzz/hallazgos/.
  opciones_de "$nombre"
  "$build/fuzz/${nombre}_fuzzer" "$trabajo" "$raiz/fuzz/corpus/$nombre" \
    -fork="$procesos" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$segundos" -max_len="$(max_len_de "$nombre")" -timeout=10 "${opciones[@]}" \
    -rss_limit_mb=2048 -artifact_prefix="$hallazgos/$nombre-" \
    >"$build/campana-$nombre.log" 2>&1 &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || true; done

# The seed corpus anew: the seeds with a name (written by hand, or kept as regressions) stay
# as they are; of the inputs named by their hash, old and new, the merge keeps those that reach
# code the rest does not, smallest first. Edges only (-use_counters=0): counting how often
# each is taken would keep thousands of inputs for little more.
fusiona() {
  local nombre=$1 corpus=$raiz/fuzz/corpus/$1
  local nuevo=$build/fusion/$1/nuevo viejos=$build/fusion/$1/viejos
  rm -rf "$build/fusion/$nombre"
  mkdir -p "$nuevo" "$viejos"
  find "$corpus" -maxdepth 1 -regextype posix-extended -type f ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$nuevo/" \;
  find "$corpus" -maxdepth 1 -regextype posix-extended -type f -regex '.*/[0-9a-f]{40}' -exec cp {} "$viejos/" \;
  "$build/fuzz/${nombre}_fuzzer" -merge=1 -use_counters=0 -max_len="$(max_len_de "$nombre")" \
    "$nuevo" "$viejos" "$build/campana/$nombre" >"$build/merge-$nombre.log" 2>&1
  find "$corpus" -maxdepth 1 -regextype posix-extended -type f -regex '.*/[0-9a-f]{40}' -delete
  find "$nuevo" -maxdepth 1 -regextype posix-extended -type f -regex '.*/[0-9a-f]{40}' -exec cp {} "$corpus/" \;
}

for nombre in dibujo tabla; do
  registro=$build/campana-$nombre.log
  # Fork mode reports "#<inputs>: cov: ... exec/s: ... oom/timeout/crash: a/b/c ..." lines.
  ultima=$(grep -E '^#[0-9]+: cov:' "$registro" | tail -n 1 || true)
  ejecutadas=$(sed -n 's/^#\([0-9]*\):.*/\1/p' <<<"$ultima")
  # Its own exec/s is of the last moment only; the campaign's rate is the total over the time.
  por_segundo=$(( ${ejecutadas:-0} / (segundos > 0 ? segundos : 1) ))
  fallos=$(sed -n 's/.* oom\/timeout\/crash: \([0-9\/]*\).*/\1/p' <<<"$ultima")
  antes=$(find "$raiz/fuzz/corpus/$nombre" -type f | wc -l)
  fusiona "$nombre"
  despues=$(find "$raiz/fuzz/corpus/$nombre" -type f | wc -l)
  echo "$nombre: ${ejecutadas:-0} inputs (${por_segundo:-0}/s), oom/timeout/crash ${fallos:-0/0/0}," \
       "corpus $antes -> $despues inputs"
done

# What to do with each finding, beside it.
shopt -s nullglob
hallados=("$hallazgos"/dibujo-* "$hallazgos"/tabla-*)
if ((${#hallados[@]})); then
  {
    echo "Inputs that crashed a fuzz target, broke an invariant or hit a sanitizer."
    echo "Replay one (it prints the report and the invariant that broke):"
    echo
    for f in "${hallados[@]}"; do
      base=$(basename "$f")
      echo "  $build/fuzz/${base%%-*}_fuzzer fuzz/hallazgos/$base"
    done
    echo
    echo "Once fixed, keep the input as fuzz/corpus/<target>/regresion-<what-it-broke> and a test."
  } >"$hallazgos/LEEME.txt"
  echo "campaign: ${#hallados[@]} findings kept in fuzz/hallazgos/ (see LEEME.txt)" >&2
  exit 1
fi
echo "campaign: no findings"
