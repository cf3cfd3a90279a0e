#!/usr/bin/env bash
# Writes docs/instrucoes-sqlserver.md again: the statements the program sends
# to SQL Server, by window and operation, with the permissions to grant. Run
# it after any change to a statement (ctest's tst_instrucoes fails until then).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target tst_instrucoes
QT_QPA_PLATFORM=offscreen TESSELA_ESCREVE_CATALOGO=1 build/tests/catalogo/tst_instrucoes -silent
echo "docs/instrucoes-sqlserver.md escrito."
