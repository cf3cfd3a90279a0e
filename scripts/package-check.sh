#!/usr/bin/env bash
# Checks the Debian package: builds it, unpacks it into a scratch root
# (dpkg -x, as root is not needed), and starts the unpacked program offscreen
# on a fresh HOME. The first start must register the class library, create the
# demo database and the settings file as scripts/run.sh does, and reach the
# main window; --version must print the package's version.
set -euo pipefail
cd "$(dirname "$0")/.."
# TESSELA_PACOTE names a package already built (the build is skipped).
pacote=${TESSELA_PACOTE:-$(bash scripts/package.sh | tail -1)}
raiz=$(mktemp -d)
trap 'rm -rf "$raiz"' EXIT
falha() { echo "FALHOU: $*" >&2; exit 1; }

versao=$(dpkg-deb -f "$pacote" Version)
dpkg-deb -f "$pacote" Depends | grep -q "libqt6sql6-sqlite" || falha "o pacote não depende do controlador SQLite"
dpkg-deb -f "$pacote" Depends | grep -q "libqt6widgets6" || falha "o pacote não depende do Qt Widgets"
dpkg-deb -f "$pacote" Recommends | grep -q "tdsodbc" || falha "o pacote não recomenda o FreeTDS"
dpkg -x "$pacote" "$raiz/fs"
for f in usr/bin/tessela usr/bin/tessela-demo usr/lib/tessela/Tessela usr/lib/tessela/libTesselaDados2016.so \
         usr/share/applications/tessela.desktop usr/share/icons/hicolor/scalable/apps/tessela.svg \
         usr/share/tessela/sqlserver/tabelas_proprias.sql; do
  [ -e "$raiz/fs/$f" ] || falha "falta $f no pacote"
done

# A fresh user: nothing of a build or an earlier run may help.
mkdir -p "$raiz/home"
limpo=(env -i PATH=/usr/bin:/bin HOME="$raiz/home" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8)

saida=$("${limpo[@]}" "$raiz/fs/usr/bin/tessela" --version)
[ "$saida" = "Tessela $versao" ] || falha "--version deu '$saida', o pacote é $versao"

"${limpo[@]}" TESSELA_VERIFICA_ARRANQUE=1 timeout 120 "$raiz/fs/usr/bin/tessela" >"$raiz/arranque.txt" 2>&1 \
  || { cat "$raiz/arranque.txt" >&2; falha "o programa instalado não chegou à janela principal (estado $?)"; }
grep -q "Arranque concluído" "$raiz/arranque.txt" || falha "o arranque não terminou"
dados="$raiz/home/.local/share/morvik"
[ -s "$dados/tessela-demo.db" ] || falha "a base de demonstração não foi criada em $dados"
[ -s "$dados/mvkTesselaArtigos.mvk" ] || falha "a configuração não foi escrita em $dados"
grep -q "$raiz/fs/usr/lib/tessela/libTesselaDados2016.so" "$raiz/home/.config/tessela/classes.ini" \
  || falha "a biblioteca de classes instalada não ficou registada"

# A second start reuses what the first made.
antes=$(stat -c %i "$dados/tessela-demo.db")
"${limpo[@]}" TESSELA_VERIFICA_ARRANQUE=1 timeout 120 "$raiz/fs/usr/bin/tessela" >/dev/null 2>&1 \
  || falha "o segundo arranque falhou"
[ "$(stat -c %i "$dados/tessela-demo.db")" = "$antes" ] || falha "o segundo arranque refez a base de demonstração"
echo "Pacote $pacote verificado: versão $versao, arranque num HOME novo."
