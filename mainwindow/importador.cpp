#include "importador.h"

#include "artigos.h"
#include "criaobjecto.h"
#include "ligacaobd.h"
#include "mensagens.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace {
// A value the import skips: Null, or made of blanks only.
bool vazio(const QVariant &v)
{
    if (v.isNull())
        return true;
    const QString t = v.toString();
    for (QChar c : t)
        if (c != QLatin1Char(' '))
            return false;
    return true;
}

// The message of the importer's own failure, and where it stopped.
void reporta(ResultadoImportacao &r, const QString &motivo, int total)
{
    r.erro = motivo;
    QString texto = motivo + QStringLiteral("\r\nNa função ImportaEquivalencias do Módulo frmMain");
    if (total > 0)
        texto += QStringLiteral("\r\nA importação parou na linha %1 de %2 da tabela CLART; as linhas anteriores ficaram gravadas.")
                     .arg(r.linhas + 1)
                     .arg(total);
    MensagemErro(texto);
}
} // namespace

ResultadoImportacao ImportaEquivalencias(LigacaoBd &bd, int codigosPorLote)
{
    ResultadoImportacao r;
    if (codigosPorLote < 1)
        codigosPorLote = 1;

    QString erro;
    std::unique_ptr<Artigos> artigos = CriaObjecto<Artigos>(&erro);
    if (!artigos) {
        reporta(r, erro, 0);
        return r;
    }
    artigos->setBd(&bd);

    Recordset rs;
    if (!bd.AbreConsulta(QStringLiteral("SELECT * FROM  CLART "), rs)) {
        reporta(r, bd.ultimoErro().texto(), 0);
        return r;
    }
    const int total = rs.RecordCount();
    static const char *const nomes[] = {"CL01", "CL02", "CL03", "CL04", "CL05"};
    int colunas[5];
    for (int c = 0; c < 5; ++c)
        colunas[c] = rs.indiceCampo(QString::fromLatin1(nomes[c]).toLower());
    const int campoCodigo = rs.indiceCampo(QStringLiteral("Codigo"));

    // One transaction per batch of codes. Whatever stops the import commits
    // the batch in hand first, so the rows processed before stay written.
    const int nivel = bd.nivelTransaccao();
    int noLote = 0;
    auto terminaLote = [&]() -> bool {
        if (bd.nivelTransaccao() <= nivel)
            return true;
        if (bd.TerminaTransaccao())
            return true;
        const ErroBd e = bd.ultimoErro();
        while (bd.nivelTransaccao() > nivel)
            bd.AnulaTransaccao();
        reporta(r, e.texto(), total);
        return false;
    };
    auto para = [&](const ErroBd &e) {
        if (terminaLote())
            reporta(r, e.texto(), total);
    };

    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        for (int c = 0; c < 5; ++c) {
            if (colunas[c] < 0 || campoCodigo < 0) {
                para(ErroBd{ErroBd::ErroComando,
                            QStringLiteral("A tabela CLART não tem a coluna %1")
                                .arg(campoCodigo < 0 ? QStringLiteral("Codigo") : QString::fromLatin1(nomes[c]))});
                return r;
            }
            const QVariant valor = rs.Valor(colunas[c]);
            if (vazio(valor))
                continue;
            if (!bd.aberta()) {
                para(ErroBd{ErroBd::ErroLigacao, QStringLiteral("Perdeu-se a ligação à base de dados")});
                return r;
            }
            if (bd.nivelTransaccao() <= nivel && !bd.IniciaTransaccao()) {
                para(bd.ultimoErro());
                return r;
            }
            artigos->setCodigo(rs.Valor(campoCodigo).toString());
            artigos->Equivalencia_Escrever(valor.toString());
            ++r.codigos;
            // The write reported its own failure; a lost connection also ends the import.
            if (bd.ultimoErro().numero == ErroBd::ErroLigacao) {
                para(bd.ultimoErro());
                return r;
            }
            const bool fimDeLote = ++noLote >= codigosPorLote;
            if (fimDeLote) {
                noLote = 0;
                if (!terminaLote())
                    return r;
            }
            if (fimDeLote || r.codigos % 1000 == 0)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        ++r.linhas;
    }
    if (!terminaLote())
        return r;
    rs.Close();
    r.completa = true;
    return r;
}
