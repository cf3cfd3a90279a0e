#!/usr/bin/env bash
# Builds Tessela and runs every test offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir build --output-on-failure -j"$(nproc)" || status=$?
if [ -z "${TESSELA_TESTE_ODBC:-}" ]; then
  echo "Os casos em SQL Server (tst_*.sqlserver) foram saltados: a variável TESSELA_TESTE_ODBC não está definida."
fi
exit $status
