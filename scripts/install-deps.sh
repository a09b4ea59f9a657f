#!/usr/bin/env bash
# Installs, with apt-get, whatever Stavlin needs to build, test and run that
# this Debian machine lacks. Quiet and quick when everything is there.
set -euo pipefail

# The JACK server and its headers come before RtMidi's: librtmidi-dev takes
# whichever JACK headers are there, and on its own would pull the older JACK
# (libjack-dev), which cannot stand beside jackd2.
jack_packages=(jackd2 libjack-jackd2-dev)
packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-qpa-plugins libgl1-mesa-dev
  librtmidi-dev libgsf-1-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 python3 python3-olefile ghostscript midicsv
  xvfb xauth x11-apps x11-utils imagemagick xdotool openbox
  poppler-utils pngcheck abcmidi abcm2ps
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
updated=0

# Installs whichever of the named packages are missing, in one go (options
# for apt-get first, up to "--").
install_missing() {
  local options=() missing=()
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  if [ $updated -eq 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${options[@]}" "${missing[@]}"
}

# jackd2 asks about real-time priority (the default, no, suits a build
# machine) and recommends a desktop patchbay that a build does not need.
install_missing --no-install-recommends -- "${jack_packages[@]}"
install_missing -- "${packages[@]}"
