#!/usr/bin/env bash
# Builds Tessela, registers its class library, prepares the demo database and
# the settings file on first use, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
build/app/tessela-regista build/equivlib/libTesselaDados2016.so
build/app/tessela-demo --prepara
if [ ! -x build/app/Tessela ]; then
  echo "O programa ainda não foi construído; a base de demonstração está pronta."
  exit 0
fi
if [ "${QT_QPA_PLATFORM:-}" != "offscreen" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat >&2 <<'TXT'
Não há ecrã gráfico (DISPLAY não está definido), por isso o Tessela não pode abrir a janela.
Num servidor sem ecrã, corra-o num ecrã virtual:
    xvfb-run -a -s "-screen 0 1600x1000x24" bash scripts/run.sh
TXT
  exit 1
fi
exec build/app/Tessela "$@"
