#!/usr/bin/env bash
# Installs the Debian packages the build needs that are missing (when run as
# root; otherwise names them and fails).
#   tools/deps.sh        what every build needs
#   tools/deps.sh fuzz   that and the fuzzing compiler (clang and its libFuzzer)
set -euo pipefail

packages=(
  g++ make cmake pkg-config python3 xxd
  libsqlite3-dev googletest libgtest-dev libbenchmark-dev
  libcairo2-dev libpango1.0-dev libgumbo-dev fontconfig fonts-dejavu-core fonts-dejavu-extra
  binutils-mingw-w64-x86-64 ccache
  libsdl2-dev libx11-dev xvfb xdotool
  libphonenumber-dev
)
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq || true
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "missing packages: ${missing[*]}" >&2
  echo "install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
