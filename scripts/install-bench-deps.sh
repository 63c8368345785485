#!/usr/bin/env bash
# Installs what only the benchmarks need (beyond scripts/install-deps.sh):
# FluidSynth's command-line file renderer, the peer of the render benchmark.
# Does nothing when it is present. Must run as root (or through sudo).
set -euo pipefail

packages=(fluidsynth)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "install-bench-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
