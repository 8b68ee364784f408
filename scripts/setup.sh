#!/usr/bin/env bash
# Installs the Debian 12 packages Vernalith needs to build, test, run and package, where they are missing.
# Runs apt-get as root, or through sudo for other users.
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev libgmock-dev libbenchmark-dev libicu-dev qt6-base-dev
  libqscintilla2-qt6-dev qt6-translations-l10n oxygen-icon-theme fonts-dejavu-core fonts-liberation xvfb xauth
  desktop-file-utils man-db groff-base dpkg-dev)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
