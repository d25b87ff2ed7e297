#!/usr/bin/env bash
# Line and branch coverage of src/ by every test, folder by folder. Fails when the line coverage
# of one of the folders that hold the conversion (core, dxf, codes, output, inspeccion) is
# below COBERTURA_MINIMA percent (95 unless set). Builds in build-cobertura/.
# Usage: scripts/cobertura.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/instala_dependencias.sh build-essential cmake ninja-build pkg-config libcli11-dev \
  libgtest-dev libgmock-dev nlohmann-json3-dev qt6-base-dev gcovr python3

minimo=${COBERTURA_MINIMA:-95}
dir=build-cobertura
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOLVAR_GUI=ON -DTOLVAR_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$dir" -j "$(nproc)"
find "$dir" -name '*.gcda' -delete
ctest --test-dir "$dir" -j "$(nproc)" --output-on-failure >/dev/null

# A throw's hidden branches and the ones the compiler cannot take are no paths of ours.
# The data is looked for in the build folder only: the root holds other build folders, Wine's
# among them, whose drive Z: leads to the whole file system.
gcovr -r . --object-directory "$dir" --filter 'src/' --exclude-directories "$dir/CMakeFiles" \
  --exclude-unreachable-branches --exclude-throw-branches --json-summary "$dir/cobertura.json" \
  "$dir"
python3 - "$dir/cobertura.json" "$minimo" <<'PY'
import json, sys
from collections import defaultdict
datos = json.load(open(sys.argv[1]))
minimo = float(sys.argv[2])
vigiladas = {"core", "dxf", "codes", "output", "inspeccion"}
suma = defaultdict(lambda: [0, 0, 0, 0])
for f in datos["files"]:
    partes = f["filename"].split("/")
    carpeta = partes[1] if len(partes) > 2 else "."
    s = suma[carpeta]
    s[0] += f["line_covered"]; s[1] += f["line_total"]
    s[2] += f["branch_covered"]; s[3] += f["branch_total"]
def pc(a, b): return 100.0 * a / b if b else 100.0
mal = []
print(f"{'src/':14} {'lines':>18} {'branches':>18}")
for carpeta in sorted(suma):
    lc, lt, bc, bt = suma[carpeta]
    marca = ""
    if carpeta in vigiladas and pc(lc, lt) < minimo:
        mal.append(carpeta); marca = f"  < {minimo:g} %"
    print(f"{carpeta + '/':14} {pc(lc, lt):6.1f} % {lc:5}/{lt:<5} {pc(bc, bt):6.1f} % {bc:5}/{bt:<5}{marca}")
t = [sum(v[i] for v in suma.values()) for i in range(4)]
print(f"{'all':14} {pc(t[0], t[1]):6.1f} % {t[0]:5}/{t[1]:<5} {pc(t[2], t[3]):6.1f} % {t[2]:5}/{t[3]:<5}")
if mal:
    print("line coverage below the minimum in: " + ", ".join(mal), file=sys.stderr)
    sys.exit(1)
PY
