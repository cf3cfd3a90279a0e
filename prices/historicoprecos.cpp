#include "historicoprecos.h"

#include "consultas.h"
#include "ligacaobd.h"

#include <algorithm>

QList<QPair<QDate, Moeda>> HistoricoPar::pontos() const
{
    QList<QPair<QDate, Moeda>> p;
    for (auto a = alteracoes.crbegin(); a != alteracoes.crend(); ++a)
        if (a->valor.data.isValid())
            p.append({a->valor.data, a->valor.preco});
    for (const ValorPreco &v : actuais)
        if (v.data.isValid())
            p.append({v.data, v.preco});
    std::stable_sort(p.begin(), p.end(), [](const auto &x, const auto &y) { return x.first < y.first; });
    return p;
}

namespace HistoricoPrecos {

namespace {

ValorPreco valor(const Recordset &rs, bool referencia)
{
    ValorPreco v;
    v.data = Valores::comoData(rs.Valor(QStringLiteral("Data")));
    v.preco = Moeda::deValor(rs.Valor(QStringLiteral("Preco")));
    if (referencia)
        v.referencia = rs.Valor(QStringLiteral("RefForn"));
    v.obs = rs.Valor(QStringLiteral("Obs"));
    return v;
}

} // namespace

bool mudou(const Recordset &rs, const LinhaPreco &l, const DestinoPrecos &destino)
{
    const ValorPreco antes = valor(rs, destino.gravaReferencia);
    // An observation without a value and an empty one read alike.
    return antes.data != l.data || antes.preco != l.preco || TextoDe(antes.obs) != TextoDe(l.obs)
           || (destino.gravaReferencia && TextoDe(antes.referencia) != l.referencia);
}

bool regista(LigacaoBd &bd, const DestinoPrecos &destino, qint64 idPreco, const QString &operacao, const QString &utilizador)
{
    // Copied by the database itself, so the history holds exactly what the
    // record held.
    const QString sql =
        QStringLiteral("INSERT INTO %1 (Tabela, Entidade, Artigo, Id_Preco, Data, Preco, RefForn, Obs, Operacao, AlteradoEm, Utilizador) "
                       "SELECT ?, %2, Artigo, Id_Preco, Data, Preco, %3, Obs, ?, %4, ? FROM %5 WHERE Id_Preco = ?")
            .arg(Tabela, destino.colunaEntidade,
                 destino.gravaReferencia ? QStringLiteral("RefForn") : QStringLiteral("NULL"), bd.dialecto().agora(), destino.tabela);
    return bd.Executa(sql, {destino.tabela, operacao, utilizador, idPreco});
}

bool le(LigacaoBd &bd, const DestinoPrecos &destino, const QString &entidade, const QString &artigo, HistoricoPar *h)
{
    h->entidade = entidade;
    h->artigo = artigo;
    h->actuais.clear();
    h->alteracoes.clear();
    Recordset rs;
    if (!bd.AbreConsulta(QStringLiteral("SELECT Data, Preco, %1 AS RefForn, Obs FROM %2 WHERE %3 = ? AND Artigo = ? ORDER BY Id_Preco")
                             .arg(destino.gravaReferencia ? QStringLiteral("RefForn") : QStringLiteral("NULL"), destino.tabela,
                                  destino.colunaEntidade),
                         rs, {entidade, artigo}))
        return false;
    for (; !rs.Eof(); rs.MoveNext())
        h->actuais << valor(rs, destino.gravaReferencia);
    if (!bd.AbreConsulta(QStringLiteral("SELECT Id_Preco, Data, Preco, RefForn, Obs, Operacao, AlteradoEm, Utilizador FROM %1 "
                                        "WHERE Tabela = ? AND Entidade = ? AND Artigo = ? ORDER BY AlteradoEm DESC, Id_Historico DESC")
                             .arg(Tabela),
                         rs, {destino.tabela, entidade, artigo}))
        return false;
    for (; !rs.Eof(); rs.MoveNext()) {
        AlteracaoPreco a;
        a.idPreco = rs.Valor(QStringLiteral("Id_Preco")).toLongLong();
        a.valor = valor(rs, destino.gravaReferencia);
        a.operacao = TextoDe(rs.Valor(QStringLiteral("Operacao")));
        a.quando = rs.Valor(QStringLiteral("AlteradoEm")).toDateTime();
        a.utilizador = TextoDe(rs.Valor(QStringLiteral("Utilizador")));
        h->alteracoes << a;
    }
    return true;
}

} // namespace HistoricoPrecos
