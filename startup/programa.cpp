#include "programa.h"

namespace {
struct Estado
{
    QString pastaPrograma;
    QString ficheiroConfiguracao;
    QString pastaTemporaria;
};

Estado &estado()
{
    static Estado e;
    return e;
}
} // namespace

namespace Programa {
QString pastaPrograma() { return estado().pastaPrograma; }
void setPastaPrograma(const QString &pasta) { estado().pastaPrograma = pasta; }

QString ficheiroConfiguracao() { return estado().ficheiroConfiguracao; }
void setFicheiroConfiguracao(const QString &ficheiro) { estado().ficheiroConfiguracao = ficheiro; }

QString pastaTemporaria() { return estado().pastaTemporaria; }
void setPastaTemporaria(const QString &pasta) { estado().pastaTemporaria = pasta; }

QString catalogoSql() { return pastaPrograma() + QStringLiteral("/catalogos/bd.sql"); }
} // namespace Programa
