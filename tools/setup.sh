#!/usr/bin/env bash
# Installs the Debian 12 packages Quintara needs to build and test, when missing.
# Run as root (or with sudo available). Safe to run again: it installs nothing twice.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev libqt6opengl6-dev libxkbcommon-dev qt6-translations-l10n
  libqcustomplot-dev libqcustomplot2.1-qt6
  libsqlite3-dev sqlite3 libzvbi-dev pxlib-dev
  libpq-dev postgresql postgresql-contrib
  libgtest-dev libgmock-dev
  fonts-dejavu-core poppler-utils
  python3 libreoffice-writer-nogui libreoffice-calc-nogui libreoffice-base-drivers
)

bash "$(dirname "$0")/apt-install.sh" "${packages[@]}"
