#!/usr/bin/env bash
# Installs the Debian packages Tessela needs, only those that are missing.
# (qt6-charts-dev does not pull in the OpenGL module its CMake files ask for.)
set -euo pipefail
pkgs=(cmake g++ make dpkg-dev file qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libqt6sql6-odbc unixodbc tdsodbc
      libsqliteodbc libsqlite3-dev sqlite3 xvfb xauth poppler-utils)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "A instalar: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
