#!/usr/bin/env bash
# Builds Tessela and its Debian package: build/pacote/tessela_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
rm -rf build/pacote
cpack --config build/CPackConfig.cmake -G DEB -B build/pacote >/dev/null
ls build/pacote/tessela_*_amd64.deb
