#!/usr/bin/env bash
# Installs the Debian packages that building and testing need; the one list of them.
set -euo pipefail

PACKAGES=(
  build-essential
  cmake
  pkg-config
  libgtest-dev
  libgmock-dev
  libjpeg62-turbo-dev
  libpng-dev
  libraw-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
