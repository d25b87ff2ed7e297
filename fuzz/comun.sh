# Sourced by fuzz/ejecuta.sh and fuzz/campaign.sh: installs what the fuzz targets need and
# builds them with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer).
#   raiz   the repository        build  the build directory

# libFuzzer ships in libclang-rt-14-dev, not in clang itself, on Debian 12.
construye_fuzzers() {
  local paquetes=(clang libclang-rt-14-dev cmake ninja-build libcli11-dev)
  local faltan=() p
  for p in "${paquetes[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || faltan+=("$p")
  done
  if ((${#faltan[@]})); then
    echo "== installing ${faltan[*]}"
    if [[ $(id -u) -ne 0 ]]; then
      echo "fuzz: missing ${faltan[*]}; install them as root" >&2
      return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${faltan[@]}"
  fi
  echo "== building the fuzz targets in $build"
  CXX=clang++ cmake -S "$raiz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTOLVAR_FUZZ=ON -DTOLVAR_TESTS=OFF -DTOLVAR_WERROR=ON >/dev/null
  cmake --build "$build" -j "$(nproc)" --target dibujo_fuzzer tabla_fuzzer
}

# libFuzzer's options of a target beyond the shared ones, into the array `opciones`: the
# words of drawings, for dibujo.
opciones_de() {
  opciones=()
  if [[ $1 == dibujo ]]; then opciones=("-dict=$raiz/fuzz/dibujo.dict"); fi
}

# AddressSanitizer keeps the stack of every allocation for its reports, and the converters
# each input makes allocate often: keeping none makes the fuzzing a fifth faster. A finding
# loses nothing by it: replayed alone, its report has every stack again.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}

# Inputs past these sizes only repeat what the bad-input suite checks (lines over 1 MiB,
# 5001 vertices); smaller ones keep the mutations fast.
max_len_de() {
  case "$1" in
    dibujo) echo 65536 ;;
    tabla) echo 8192 ;;
  esac
}
