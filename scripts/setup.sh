#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine. Safe to run again:
# it installs only what is missing and does nothing when everything is there.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest
  g++ clang libclang-rt-14-dev
  wine wine64 wine32:i386
  xvfb xauth x11-utils x11-apps imagemagick
  python3
  zlib1g-dev libz-mingw-w64-dev
  zip unzip
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  need_update=1
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q
  "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  [ -n "${need_update:-}" ] && "${sudo_cmd[@]}" apt-get update -q
  echo "setup: everything is installed"
fi
