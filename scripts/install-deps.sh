#!/usr/bin/env bash
# Installs, with apt-get, whatever Stavlin needs to build, test and run that
# this Debian machine lacks. Quiet and quick when everything is there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-qpa-plugins libgl1-mesa-dev
  librtmidi-dev libgsf-1-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 python3 python3-olefile ghostscript midicsv
  xvfb xauth x11-apps imagemagick xdotool openbox
  poppler-utils pngcheck abcmidi abcm2ps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}"
fi
