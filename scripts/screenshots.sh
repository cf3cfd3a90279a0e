#!/usr/bin/env bash
# Builds Tessela and writes a PNG of every window, offscreen on a fresh demo
# database, into ./screenshots (or the folder given as the first argument).
# Further arguments name the tour pages to run (all when none).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tessela-tour
saida="${1:-screenshots}"
shift || true
QT_QPA_PLATFORM=offscreen build/app/tessela-tour "$saida" "$@"
