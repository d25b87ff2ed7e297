#!/usr/bin/env bash
# Installs, from Debian's packages, whatever of the given list this machine lacks.
# Usage: scripts/instala_dependencias.sh PACKAGE...
set -euo pipefail
faltan=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  echo "Installing: ${faltan[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
