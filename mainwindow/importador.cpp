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

// The message of a stop: why, and what of CLART is in the tables.
void reporta(ResultadoImportacao &r, const QString &motivo, int linha, int total)
{
    r.erro = motivo;
    QString texto = motivo + QStringLiteral("\r\nNa função ImportaEquivalencias do Módulo frmMain");
    if (total > 0) {
        texto += QStringLiteral("\r\nA importação parou na linha %1 de %2 da tabela CLART; ").arg(linha).arg(total);
        texto += r.codigosGravados == 0 ? QStringLiteral("nenhum código foi gravado.")
                                        : QStringLiteral("ficaram gravados %1 códigos, das linhas 1 a %2.")
                                              .arg(r.codigosGravados)
                                              .arg(r.linhasGravadas);
    }
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
        reporta(r, erro, 0, 0);
        return r;
    }
    artigos->setBd(&bd);

    Recordset rs;
    if (!bd.AbreConsulta(QStringLiteral("SELECT * FROM  CLART "), rs)) {
        reporta(r, bd.ultimoErro().texto(), 0, 0);
        return r;
    }
    const int total = rs.RecordCount();
    static const char *const nomes[] = {"CL01", "CL02", "CL03", "CL04", "CL05"};
    int colunas[5];
    for (int c = 0; c < 5; ++c)
        colunas[c] = rs.indiceCampo(QString::fromLatin1(nomes[c]).toLower());
    const int campoCodigo = rs.indiceCampo(QStringLiteral("Codigo"));

    // One transaction per batch of whole rows (at least codigosPorLote codes).
    const int nivel = bd.nivelTransaccao();
    int linha = 0;               // the row being processed, from 1
    int noLote = 0;              // codes written in the open batch
    int ultimaDoLote = 0;        // the last row with a code in the open batch
    const auto anulaLote = [&] {
        while (bd.nivelTransaccao() > nivel)
            bd.AnulaTransaccao();
        noLote = 0;
    };
    // Commits the open batch; false (batch rolled back, stop reported) when the commit fails.
    const auto confirmaLote = [&]() -> bool {
        if (bd.nivelTransaccao() <= nivel)
            return true;
        if (!bd.TerminaTransaccao()) {
            const ErroBd e = bd.ultimoErro();
            anulaLote();
            reporta(r, e.texto(), linha, total);
            return false;
        }
        if (noLote > 0) {
            r.codigosGravados += noLote;
            r.linhasGravadas = ultimaDoLote;
        }
        noLote = 0;
        return true;
    };
    // The database itself failed: what the open batch holds is lost.
    const auto paraNaBase = [&](const ErroBd &e) {
        anulaLote();
        reporta(r, e.texto(), linha, total);
    };

    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        ++linha;
        for (int c = 0; c < 5; ++c) {
            if (colunas[c] < 0 || campoCodigo < 0) {
                // The importer's own step: what was processed stays written.
                const ErroBd e{ErroBd::ErroComando,
                               QStringLiteral("A tabela CLART não tem a coluna %1")
                                   .arg(campoCodigo < 0 ? QStringLiteral("Codigo") : QString::fromLatin1(nomes[c]))};
                if (confirmaLote())
                    reporta(r, e.texto(), linha, total);
                return r;
            }
            const QVariant valor = rs.Valor(colunas[c]);
            if (vazio(valor))
                continue;
            if (!bd.aberta()) {
                paraNaBase(ErroBd{ErroBd::ErroLigacao, QStringLiteral("Perdeu-se a ligação à base de dados")});
                return r;
            }
            if (bd.nivelTransaccao() <= nivel && !bd.IniciaTransaccao()) {
                paraNaBase(bd.ultimoErro());
                return r;
            }
            artigos->setCodigo(rs.Valor(campoCodigo).toString());
            artigos->Equivalencia_Escrever(valor.toString());
            ++r.codigos;
            // A code the database refuses (a key, a code too long) was
            // reported by the write and the import goes on; a failure of the
            // database itself (lock, disk, connection) ends it.
            const ErroBd e = bd.ultimoErro();
            if (e.daBase() || bd.nivelTransaccao() <= nivel) {
                paraNaBase(e.existe() ? e : ErroBd{ErroBd::ErroLigacao, QStringLiteral("A transacção foi anulada pela base de dados")});
                return r;
            }
            if (!e.existe()) {
                ++noLote;
                ultimaDoLote = linha;
            }
            if (r.codigos % 1000 == 0)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        ++r.linhas;
        if (noLote >= codigosPorLote) {
            if (!confirmaLote())
                return r;
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    }
    if (!confirmaLote())
        return r;
    rs.Close();
    r.completa = true;
    return r;
}
