#!/usr/bin/env bash
# Installs whatever the build, the game and the tests need and is not yet on this machine
# (Debian 12). Does nothing when everything is there.
set -euo pipefail
PKGS=(g++ cmake ninja-build qt6-base-dev qt6-multimedia-dev libgtest-dev libgmock-dev
      libbenchmark-dev fonts-dejavu-core fonts-liberation xvfb xauth x11-utils xdotool imagemagick
      poppler-utils cups printer-driver-cups-pdf)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=(); [ "$(id -u)" -eq 0 ] || SUDO=(sudo)
  "${SUDO[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
