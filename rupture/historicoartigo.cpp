#include "historicoartigo.h"

#include "comparacodigos.h"
#include "consultas.h"
#include "leitoresruptura.h"
#include "ligacaobd.h"

#include <QHash>
#include <algorithm>

using namespace LeitoresRuptura;

namespace {

QString condicao(const char *c) { return QStringLiteral("(") + QLatin1String(c) + QStringLiteral(")"); }

int numeroMes(const QDate &d) { return d.year() * 12 + d.month() - 1; }

} // namespace

Moeda DadosHistorico::totalPendente() const
{
    Moeda t;
    for (const EncomendaHistorico &e : pendentes)
        t = t + e.quantidade;
    return t;
}

QDate HistoricoArtigo::primeiroDia(const QDate &hoje)
{
    const QDate inicio = hoje.addMonths(-(Meses - 1));
    return QDate(inicio.year(), inicio.month(), 1);
}

bool HistoricoArtigo::falha(const QString &passo)
{
    m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\nAo ler ") + passo + QLatin1Char('.');
    return false;
}

bool HistoricoArtigo::le(const QString &artigo, const QDate &hoje, DadosHistorico &d)
{
    m_erro.clear();
    d = DadosHistorico();
    d.artigo = artigo;
    const QDate inicio = primeiroDia(hoje);
    for (int i = 0; i < Meses; ++i)
        d.meses.append({inicio.addMonths(i), Moeda(), Moeda()});
    return leArtigo(artigo, d) && leMovimentos(artigo, hoje, d) && lePendentes(artigo, d) && leFornecedores(artigo, d);
}

bool HistoricoArtigo::leArtigo(const QString &artigo, DadosHistorico &d)
{
    Recordset rs;
    if (!m_bd.AbreConsulta(QStringLiteral("SELECT CODIGO, NOME, STDISP, STMIN, STMAX FROM Artigos WHERE CODIGO = ?"), rs, {artigo}))
        return falha(QStringLiteral("o artigo"));
    if (rs.RecordCount() == 0)
        return true;
    d.existe = true;
    d.artigo = TextoDe(rs.valorEm(0, 0));
    d.nome = TextoDe(rs.valorEm(0, 1));
    d.stock = Moeda::deValor(rs.valorEm(0, 2));
    d.minimo = Moeda::deValor(rs.valorEm(0, 3));
    d.maximo = Moeda::deValor(rs.valorEm(0, 4));
    return true;
}

bool HistoricoArtigo::leMovimentos(const QString &artigo, const QDate &hoje, DadosHistorico &d)
{
    // Sales and purchases in one pass over the article's lines of the
    // period, answered by the lines' article index alone; each line is put
    // in its month here, so no engine's date functions are needed.
    const QString vendas = condicao(CondicaoVendas);
    const QString sql = QStringLiteral("SELECT CASE WHEN ") + vendas + QStringLiteral(" THEN 1 ELSE 2 END AS Tipo, l.Data, l.Quant"
                                                                                      " FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum"
                                                                                      " WHERE l.Artigo = ? AND l.Linanu = 0 AND l.Data >= ? AND l.Data < ? AND (")
                        + vendas + QStringLiteral(" OR ") + condicao(CondicaoCompras) + QStringLiteral(")");
    Recordset rs;
    if (!m_bd.AbreConsulta(sql, rs, {artigo, primeiroDia(hoje), fimVendasExclusivo(hoje)}))
        return falha(QStringLiteral("as vendas e as compras"));
    const int primeiro = numeroMes(primeiroDia(hoje));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        const int i = numeroMes(Valores::comoData(rs.valorEm(r, 1))) - primeiro;
        if (i < 0 || i >= d.meses.size())
            continue;
        MesHistorico &m = d.meses[i];
        const Moeda q = Moeda::deValor(rs.valorEm(r, 2));
        if (rs.valorEm(r, 0).toInt() == 1)
            m.vendido = m.vendido + q;
        else
            m.comprado = m.comprado + q;
    }
    return true;
}

bool HistoricoArtigo::lePendentes(const QString &artigo, DadosHistorico &d)
{
    // The lines the analysis sums as pending from suppliers, each with its
    // document; the header gives the date and the supplier when it is there.
    const QString sql =
        QStringLiteral("SELECT l.Tpdocum, l.serie, l.Ano, l.nnumdoc, c.Data, l.Data, l.Quant, c.Terceiro"
                       " FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum"
                       " LEFT JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
                       " WHERE l.Artigo = ? AND l.Linanu = 0 AND ")
        + condicao(CondicaoPendentes) + QStringLiteral(" ORDER BY l.Data, l.Tpdocum, l.serie, l.Ano, l.nnumdoc, l.NumLinha");
    Recordset rs;
    if (!m_bd.AbreConsulta(sql, rs, {artigo}))
        return falha(QStringLiteral("as encomendas pendentes"));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        EncomendaHistorico e;
        e.documento = QStringLiteral("%1 %2/%3/%4")
                          .arg(TextoDe(rs.valorEm(r, 0)), TextoDe(rs.valorEm(r, 1)), TextoDe(rs.valorEm(r, 2)), TextoDe(rs.valorEm(r, 3)));
        const QDate cabecalho = Valores::comoData(rs.valorEm(r, 4));
        e.data = cabecalho.isValid() ? cabecalho : Valores::comoData(rs.valorEm(r, 5));
        e.quantidade = Moeda::deValor(rs.valorEm(r, 6));
        e.fornecedor = TextoDe(rs.valorEm(r, 7));
        d.pendentes << e;
    }
    return true;
}

bool HistoricoArtigo::leFornecedores(const QString &artigo, DadosHistorico &d)
{
    // Suppliers are matched as the database matches codes: "fa1" quoting and
    // "FA1" selling are one supplier.
    QHash<QString, int> indice;
    const auto fornecedor = [&](const QVariant &codigo, const QVariant &nome) -> FornecedorHistorico & {
        const QString texto = TextoDe(codigo);
        const QString chave = ComparaCodigos::chave(texto);
        auto i = indice.constFind(chave);
        if (i == indice.cend()) {
            i = indice.insert(chave, int(d.fornecedores.size()));
            d.fornecedores.append(FornecedorHistorico());
            d.fornecedores.last().codigo = texto;
            d.fornecedores.last().nome = TextoDe(nome);
        }
        return d.fornecedores[*i];
    };

    // Purchases, the winning line of each supplier first (the analysis' order).
    Recordset rs;
    const QString compras =
        QStringLiteral("SELECT c.Terceiro, c.Data, l.Prunit, f.Nome FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum"
                       " INNER JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
                       " LEFT JOIN Fornec f ON f.Codigo = c.Terceiro WHERE ")
        + condicao(CondicaoCompras) + QStringLiteral(" AND l.Artigo = ? AND l.Linanu = 0 AND c.Terceiro IS NOT NULL ORDER BY ")
        + QLatin1String(OrdemUltimaCompra);
    if (!m_bd.AbreConsulta(compras, rs, {artigo}))
        return falha(QStringLiteral("as compras por fornecedor"));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        FornecedorHistorico &f = fornecedor(rs.valorEm(r, 0), rs.valorEm(r, 3));
        if (f.temCompra)
            continue;
        f.temCompra = true;
        f.dataCompra = Valores::comoData(rs.valorEm(r, 1));
        f.precoCompra = Moeda::deValor(rs.valorEm(r, 2));
    }

    // Quotes, each supplier's newest first (a quote without a date last, then
    // the one recorded last).
    const QString cotacoes = QStringLiteral("SELECT q.Fornecedor, q.Data, q.Preco, q.RefForn, f.Nome FROM mvk_Precos_Forn q"
                                            " LEFT JOIN Fornec f ON f.Codigo = q.Fornecedor WHERE q.Artigo = ?"
                                            " ORDER BY CASE WHEN q.Data IS NULL THEN 1 ELSE 0 END, q.Data DESC, q.Id_Preco DESC");
    if (!m_bd.AbreConsulta(cotacoes, rs, {artigo}))
        return falha(QStringLiteral("as cotações por fornecedor"));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        FornecedorHistorico &f = fornecedor(rs.valorEm(r, 0), rs.valorEm(r, 4));
        if (f.temCotacao)
            continue;
        f.temCotacao = true;
        f.dataCotacao = Valores::comoData(rs.valorEm(r, 1));
        f.precoCotacao = Moeda::deValor(rs.valorEm(r, 2));
        f.referencia = TextoDe(rs.valorEm(r, 3)).trimmed();
    }

    // The purchase help's reference wins: it is the one the grid takes for
    // an article and supplier.
    if (!m_bd.AbreConsulta(QStringLiteral("SELECT Forneced, RefArt FROM AjudaCmp WHERE Artigo = ?"), rs, {artigo}))
        return falha(QStringLiteral("as referências dos fornecedores"));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        const auto i = indice.constFind(ComparaCodigos::chave(TextoDe(rs.valorEm(r, 0))));
        const QString ref = TextoDe(rs.valorEm(r, 1)).trimmed();
        if (i != indice.cend() && !ref.isEmpty())
            d.fornecedores[*i].referencia = ref;
    }

    // Cheapest first; on the same price the newest quote, as the analysis
    // settles its cheapest quote (a supplier without a quote after those with
    // one), then by code.
    std::stable_sort(d.fornecedores.begin(), d.fornecedores.end(), [](const FornecedorHistorico &a, const FornecedorHistorico &b) {
        if (a.preco() != b.preco())
            return a.preco() < b.preco();
        const QDate da = a.temCotacao ? a.dataCotacao : QDate(), db = b.temCotacao ? b.dataCotacao : QDate();
        if (da != db)
            return da > db;
        return ComparaCodigos::chave(a.codigo) < ComparaCodigos::chave(b.codigo);
    });
    if (!d.fornecedores.isEmpty())
        d.fornecedores.first().maisBarato = true;
    return true;
}
