#!/usr/bin/env bash
# Installs what building and testing Nodalis needs on Debian 12, when missing.
# Sourced by scripts/run.sh, scripts/test.sh and scripts/sanitize.sh.
nodalis_install_deps() {
  local pkgs=(build-essential cmake python3 libgtest-dev libbenchmark-dev
              qt6-base-dev qt6-base-dev-tools qt6-svg-dev liberfa-dev
              fonts-dejavu-core xvfb xauth xdotool openbox x11-utils poppler-utils clang
              qt6-translations-l10n pkg-config desktop-file-utils)
  local missing=()
  local p
  for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

nodalis_build() {
  local dir="$1"; shift
  cmake -S "$NODALIS_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}

# What every script starts with: the missing packages, then the build in
# the folder $1 with the CMake arguments that follow.
nodalis_setup() {
  nodalis_install_deps
  nodalis_build "$@"
}
