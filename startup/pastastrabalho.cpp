#include "pastastrabalho.h"

#include "mensagens.h"
#include "pastas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Error numbers of the file routines, as the messages show them.
constexpr int ErroAcessoFicheiro = 75;
constexpr int ErroCaminhoInexistente = 76;

QString comSeparador(const QString &pasta)
{
    return pasta.endsWith(QLatin1Char('/')) ? pasta : pasta + QLatin1Char('/');
}

QString falhaPreparacao(int numero, const QString &descricao)
{
    MensagemErro(QStringLiteral("Erro %1 (%2)\r\nNa função PreparaPercursoUtilizador do Módulo mod_main")
                     .arg(numero)
                     .arg(descricao));
    return comSeparador(QDir::currentPath());
}
} // namespace

QString PastaDoUtilizador(const QString &pastaPrograma)
{
    const QString pasta = PastasSistema::PastaUtilizador() + QStringLiteral("/morvik");
    return Ficheiros::GarantePasta(pasta) ? pasta : pastaPrograma;
}

QString PreparaPercursoUtilizador()
{
    const QString base = PastasSistema::PastaTemporaria();
    if (base.isEmpty())
        return falhaPreparacao(ErroCaminhoInexistente,
                               QStringLiteral("Não existe uma pasta temporária reservada a este utilizador"));
    const QString pasta = base + QStringLiteral("tmpMORVIK");
    Ficheiros::GarantePasta(pasta);
    if (!QFileInfo(pasta).isDir())
        return falhaPreparacao(ErroCaminhoInexistente, QStringLiteral("Caminho não encontrado: %1").arg(pasta));

    // Only files: whatever an earlier run left in subfolders stays there.
    const QDir dir(pasta);
    const QStringList ficheiros = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &nome : ficheiros) {
        QFile ficheiro(dir.filePath(nome));
        if (!ficheiro.remove())
            return falhaPreparacao(ErroAcessoFicheiro, QStringLiteral("Não foi possível apagar %1: %2")
                                                           .arg(ficheiro.fileName(), ficheiro.errorString()));
    }
    return comSeparador(pasta);
}
