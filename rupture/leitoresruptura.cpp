#include "leitoresruptura.h"

#include "ligacaobd.h"
#include "valores.h"

#include <QDateTime>
#include <cmath>

namespace LeitoresRuptura {

const char *const CondicaoVendas = "t.Areag = 4 AND t.tpoper = 2 AND t.entidade = 2 AND t.natconta = 1 AND t.sinalct = 1";
const char *const CondicaoPendentes = "t.Areag = 2 AND t.tpoper = 1 AND t.entidade = 1 AND t.natconta = 0 AND t.sinalct = 2";
const char *const CondicaoCompras = "t.Areag = 4 AND t.tpoper = 1 AND t.entidade = 1 AND t.natconta = 1 AND t.sinalct = 2";
const char *const OrdemUltimaCompra = "c.Data DESC, l.Ano DESC, l.nnumdoc DESC, l.NumLinha DESC, l.Tpdocum DESC, l.serie DESC";
const char *const OrdemPrecoEconomico = "Preco, Data DESC, Id_Preco";

QDate inicioVendas(const QDate &hoje, int dias) { return hoje.addDays(-qint64(dias)); }
QDate fimVendasExclusivo(const QDate &hoje) { return hoje.addDays(1); }

int diasDeTexto(const QString &texto)
{
    bool ok = false;
    const double v = Valores::leNumero(texto, &ok);
    // Far beyond any document date; keeps the date arithmetic in range.
    return ok ? int(qBound(-3650000.0, std::round(v), 3650000.0)) : 0;
}

} // namespace LeitoresRuptura

using namespace LeitoresRuptura;

namespace {

QString sqlSoma(const char *condicao, bool comDatas)
{
    return QStringLiteral("SELECT l.Artigo, SUM(l.Quant) AS Qtd FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum WHERE ")
           + QLatin1String(condicao) + QStringLiteral(" AND l.Artigo >= ? AND l.Artigo <= ?")
           + (comDatas ? QStringLiteral(" AND l.Data >= ? AND l.Data < ?") : QString())
           + QStringLiteral(" AND l.Linanu = 0 GROUP BY l.Artigo");
}

// Fills a price result set with one row per article of the first query,
// taken from the first row of the per-article query (which orders the winner
// first). Fields of the per-article query: Artigo, Data, Preco, Forn.
bool lePrecos(LigacaoBd &bd, const QString &sqlArtigos, const QString &sqlPrimeiro, const QString &primeiro,
              const QString &ultimo, Recordset &rs)
{
    rs = CriaRsPrecos();
    Recordset artigos;
    if (!bd.AbreConsulta(sqlArtigos, artigos, {primeiro, ultimo}))
        return false;
    for (; !artigos.Eof(); artigos.MoveNext()) {
        Recordset um;
        if (!bd.AbreConsulta(sqlPrimeiro, um, {artigos.Valor(0)}))
            return false;
        if (um.Eof())
            continue;
        rs.AddNew();
        rs.SetValor(QStringLiteral("Artigo"), um.Valor(0));
        rs.SetValor(QStringLiteral("Data"), um.Valor(1));
        rs.SetValor(QStringLiteral("Preco"), um.Valor(2));
        rs.SetValor(QStringLiteral("Forn"), um.Valor(3));
        rs.Update();
    }
    rs.MoveFirst();
    return true;
}

} // namespace

Recordset CriaRsPrecos()
{
    return Recordset::emMemoria({{QStringLiteral("Artigo"), QMetaType::QString, 15},
                                 {QStringLiteral("Data"), QMetaType::QDateTime, 0},
                                 {QStringLiteral("Preco"), QMetaType::Double, 0},
                                 {QStringLiteral("Forn"), QMetaType::QString, 15}});
}

bool LerVendas180(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, int dias, const QDate &hoje, Recordset &rs)
{
    // The dates go as bound date values: the connection's dialect gives each
    // engine the form it compares with its own date columns.
    return bd.AbreConsulta(sqlSoma(CondicaoVendas, true), rs,
                           {primeiro, ultimo, inicioVendas(hoje, dias), fimVendasExclusivo(hoje)});
}

bool LerQtdFornecedor(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, Recordset &rs)
{
    return bd.AbreConsulta(sqlSoma(CondicaoPendentes, false), rs, {primeiro, ultimo});
}

bool LerUltimoPreco(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, Recordset &rs)
{
    const QString artigos = QStringLiteral("SELECT l.Artigo FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum WHERE ")
                            + QLatin1String(CondicaoCompras)
                            + QStringLiteral(" AND l.Artigo >= ? AND l.Artigo <= ? AND l.Linanu = 0 GROUP BY l.Artigo ORDER BY l.Artigo");
    const QString primeiro1 = bd.dialecto().primeiros(
        1, QStringLiteral("l.Artigo, c.Data AS Data, l.Prunit, c.Terceiro FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum"
                          " INNER JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
                          " WHERE ")
               + QLatin1String(CondicaoCompras) + QStringLiteral(" AND l.Artigo = ? AND l.Linanu = 0 ORDER BY ")
               + QLatin1String(OrdemUltimaCompra));
    return lePrecos(bd, artigos, primeiro1, primeiro, ultimo, rs);
}

bool LerPrecoEconomico(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, Recordset &rs)
{
    const QString artigos = QStringLiteral("SELECT Artigo FROM mvk_Precos_Forn WHERE Artigo >= ? AND Artigo <= ? GROUP BY Artigo ORDER BY Artigo");
    const QString primeiro1 = bd.dialecto().primeiros(
        1, QStringLiteral("Artigo, Data, Preco, Fornecedor FROM mvk_Precos_Forn WHERE Artigo = ? ORDER BY ")
               + QLatin1String(OrdemPrecoEconomico));
    return lePrecos(bd, artigos, primeiro1, primeiro, ultimo, rs);
}
