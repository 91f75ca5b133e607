#!/usr/bin/env bash
# Installs the cross compiler, Wine, Xvfb, NSIS, the cue readers (mkvmerge among them, and the CD
# burner cdrdao), FFmpeg (it reads the chapter exports) and the audio tools the tests use on a
# Debian 12 machine; does nothing for packages that are already there, so it is safe to run
# before every build.
set -euo pipefail

packages=(wine wine32:i386 g++-mingw-w64-i686 binutils-mingw-w64-i686 xvfb xauth cmake
          googletest make cuetools xdotool imagemagick x11-utils zip clang libclang-rt-14-dev nsis
          sox shntool flac libcue-dev python3 mkvtoolnix ffmpeg cdrdao xclip)

missing=()
for p in "${packages[@]}"; do
  name=${p%%:*}
  arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
  q=$name; [ -n "$arch" ] && q="$name:$arch"
  if ! dpkg-query -W -f='${Status}' "$q" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
