#!/usr/bin/env bash
# Installs every Debian package the viewer needs to build, run and test.
# Idempotent: prints nothing and changes nothing when all packages are present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang clang-format clang-tidy
  qt6-base-dev qt6-pdf-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libzip-dev zlib1g-dev zipcmp zipmerge ziptool zip unzip
  libpng-dev libjpeg-dev libssl-dev libcurl4-openssl-dev gettext
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool imagemagick
  tinyproxy openssl python3
  fonts-liberation2 fonts-wqy-microhei
  help2man dpkg-dev desktop-file-utils libxml2-utils xdg-utils shared-mime-info zsh
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
