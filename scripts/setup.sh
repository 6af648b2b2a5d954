#!/usr/bin/env bash
# Installs what the build needs on a Debian machine (only what is missing), then configures and
# builds into BUILD_DIR (default: build). Extra arguments go to cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(build-essential cmake g++ libgtest-dev googletest libwxgtk3.2-dev
          xvfb xauth x11-utils x11-xkb-utils imagemagick fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "== installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir=${BUILD_DIR:-build}
echo "== building in $build_dir"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} "$@" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
