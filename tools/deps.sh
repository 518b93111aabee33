#!/usr/bin/env bash
# Installs what building, testing and running need on a Debian 12 machine
# (as root). Quick when everything is already there.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/velk-arch.sh"

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }

# Only the chosen width's compiler and Wine: a machine that runs no 32-bit
# code needs no i386 packages.
if [ "$VELK_ARCH" = x64 ]; then
  have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
  have_cmd x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
  [ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
else
  have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686)
  have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
  [ -x /usr/lib/wine/wine ] || need+=(wine wine32:i386)
fi
# OpenGL for the tests of the panel items' OpenGL drawing: Wine hands its
# contexts to the X server's GL, which under Xvfb is Mesa's software
# renderer (llvmpipe), for the width of the Wine that runs the tests.
if [ "$VELK_ARCH" = x64 ]; then gl_dir=/usr/lib/x86_64-linux-gnu; gl_arch=""; else gl_dir=/usr/lib/i386-linux-gnu; gl_arch=":i386"; fi
[ -f "$gl_dir/libGL.so.1" ] || need+=("libgl1$gl_arch")
[ -f "$gl_dir/libGLX_mesa.so.0" ] || need+=("libglx-mesa0$gl_arch")
[ -f "$gl_dir/dri/swrast_dri.so" ] || need+=("libgl1-mesa-dri$gl_arch")
have_cmd cmake || need+=(cmake)
have_cmd ninja || need+=(ninja-build)
have_cmd Xvfb || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd xdotool || need+=(xdotool)
have_cmd import || need+=(imagemagick)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
have_cmd locale-gen || need+=(locales)

if [ ${#need[@]} -gt 0 ]; then
  echo "deps: installing ${need[*]}"
  if [ "$VELK_ARCH" = x86 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi

# Wine needs a generated ru_RU.UTF-8 locale to hand Cyrillic command-line
# arguments over intact (the programs then run with code page 1251).
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  echo "deps: generating ru_RU.UTF-8"
  sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
