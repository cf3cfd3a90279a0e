#include "versaoprograma.h"

#include "acercade.h"
#include "versao.h"

namespace VersaoPrograma {
QString titulo() { return QString::fromUtf8(Versao::Titulo); }
QString descricao() { return QString::fromUtf8(Versao::Descricao); }

QString texto(int major, int minor, int build, int revision)
{
    Q_UNUSED(build)
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString texto() { return texto(Versao::Major, Versao::Minor, Versao::Build, Versao::Revision); }

void preencheAcercaDe(AcercaDe &acerca)
{
    acerca.setTitulo(titulo());
    acerca.setDescricao(descricao());
    acerca.setVersao(texto());
}
} // namespace VersaoPrograma
