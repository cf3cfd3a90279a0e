#include "analiseruptura.h"

#include "consultas.h"
#include "leitoresruptura.h"
#include "ligacaobd.h"

#include <QHash>

using namespace LeitoresRuptura;

namespace {

const QString Origem = QStringLiteral(" FROM mvk_Necessidades n INNER JOIN Artigos a ON a.CODIGO = n.Artigo");
const QString Pendente = QStringLiteral(" WHERE n.Processado = 0");
const QString Ordem = QStringLiteral(" ORDER BY n.Artigo, n.Id");

// Rows handed to the grid between two reports of progress.
constexpr int Lote = 2000;

bool temTexto(const QString &s) { return !s.isEmpty(); }

qint64 idDe(const QVariant &v) { return v.toLongLong(); }

// The document types of a kind, for an IN: a test on the line's own type
// costs less than joining every line to Tpdoc.
QString tipos(const char *condicao) { return QStringLiteral("SELECT t.Codigo FROM Tpdoc t WHERE ") + QLatin1String(condicao); }

// The pending needs of a load as the grouped statements see them. The
// article table joins in only when the ranges ask for its group, family or
// sub-family: the needs' own rows say everything else.
struct Ambito
{
    QString origem, onde;
    QVariantList valores;   // of onde

    // The articles of the needs, for an IN (values: valores).
    QString artigos() const { return QStringLiteral("SELECT n.Artigo") + origem + onde; }
    // Per need (n.Id first, then campos) the rows of a statement grouped by
    // article, m, whose own values come before valores;
    // juntar: further joins after m's.
    QString porNecessidade(const QString &campos, const QString &agrupado, const QString &juntar = QString()) const
    {
        return QStringLiteral("SELECT n.Id, ") + campos + origem + QStringLiteral(" INNER JOIN (") + agrupado
               + QStringLiteral(") m ON m.Artigo = n.Artigo") + juntar + onde;
    }
};

// Per need: the quantity pending from suppliers and (comVendas) the sales of
// the window, in one pass over the document lines of the needs' articles.
// Values: with comVendas the window's start and end, then the scope's twice.
QString sqlMovimentos(const Ambito &a, bool comVendas)
{
    QString somas = QStringLiteral("SUM(CASE WHEN l.Tpdocum IN (") + tipos(CondicaoPendentes) + QStringLiteral(") THEN l.Quant ELSE 0 END) AS Pend");
    QString deTipo = QStringLiteral("l.Tpdocum IN (") + tipos(CondicaoPendentes) + QStringLiteral(")");
    if (comVendas) {
        somas += QStringLiteral(", SUM(CASE WHEN l.Tpdocum IN (") + tipos(CondicaoVendas)
                 + QStringLiteral(") AND l.Data >= ? AND l.Data < ? THEN l.Quant ELSE 0 END) AS Vendas");
        deTipo = QStringLiteral("(") + deTipo + QStringLiteral(" OR l.Tpdocum IN (") + tipos(CondicaoVendas) + QStringLiteral("))");
    }
    return a.porNecessidade(comVendas ? QStringLiteral("m.Pend, m.Vendas") : QStringLiteral("m.Pend"),
                            QStringLiteral("SELECT l.Artigo, ") + somas + QStringLiteral(" FROM docgclin l WHERE l.Linanu = 0 AND ")
                                + deTipo + QStringLiteral(" AND l.Artigo IN (") + a.artigos() + QStringLiteral(") GROUP BY l.Artigo"));
}

} // namespace

QString AnaliseRuptura::condicoes(const FiltrosRuptura &f, QVariantList &valores)
{
    QString sql;
    const auto limite = [&](const QString &coluna, const char *operador, const QString &valor) {
        if (valor.isEmpty())
            return;
        sql += QStringLiteral(" AND ") + coluna + QLatin1Char(' ') + QLatin1String(operador) + QStringLiteral(" ?");
        valores << valor;
    };
    if (f.Tipo != 1) {
        // Listing needs: the article range only with both bounds.
        if (temTexto(f.artigoDe) && temTexto(f.artigoAte)) {
            limite(QStringLiteral("n.Artigo"), ">=", f.artigoDe);
            limite(QStringLiteral("n.Artigo"), "<=", f.artigoAte);
        }
        return sql;
    }
    limite(QStringLiteral("n.Artigo"), ">=", f.artigoDe);
    limite(QStringLiteral("n.Artigo"), "<=", f.artigoAte);
    const bool grupo = temTexto(f.grupoDe) || temTexto(f.grupoAte);
    const bool familia = temTexto(f.familiaDe) || temTexto(f.familiaAte);
    limite(QStringLiteral("a.Grupo"), ">=", f.grupoDe);
    limite(QStringLiteral("a.Grupo"), "<=", f.grupoAte);
    if (grupo) {
        limite(QStringLiteral("a.Familia"), ">=", f.familiaDe);
        limite(QStringLiteral("a.Familia"), "<=", f.familiaAte);
    }
    if (grupo && familia) {
        limite(QStringLiteral("a.SubFamil"), ">=", f.subFamiliaDe);
        limite(QStringLiteral("a.SubFamil"), "<=", f.subFamiliaAte);
    }
    return sql;
}

namespace {
Ambito ambito(const FiltrosRuptura &f)
{
    Ambito a;
    const QString condicoes = AnaliseRuptura::condicoes(f, a.valores);
    a.origem = QStringLiteral(" FROM mvk_Necessidades n");
    if (condicoes.contains(QLatin1String("a.")))
        a.origem += QStringLiteral(" INNER JOIN Artigos a ON a.CODIGO = n.Artigo");
    a.onde = Pendente + condicoes;
    return a;
}
} // namespace

bool AnaliseRuptura::falha(const QString &passo)
{
    m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\n") + passo;
    return false;
}

bool AnaliseRuptura::avanca(const QString &passo, int feito, int total)
{
    if (m_progresso && !m_progresso(passo, feito, total)) {
        m_parada = true;
        m_erro = QStringLiteral("Carregamento interrompido.");
        return false;
    }
    return true;
}

bool AnaliseRuptura::carrega(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas)
{
    return f.Tipo == 1 ? analisa(f, linhas) : listaNecessidades(f, linhas);
}

bool AnaliseRuptura::necessidades(const FiltrosRuptura &f, QList<NecessidadePendente> &lista)
{
    m_erro.clear();
    m_parada = false;
    lista.clear();
    QVariantList valores;
    const QString onde = Pendente + condicoes(f, valores);
    Recordset rs;
    if (!m_bd.AbreConsulta(QStringLiteral("SELECT n.Id, n.Artigo, n.RefArt, n.Qtd, a.NOME, a.STDISP, a.STMIN, a.STMAX") + Origem + onde
                               + Ordem,
                           rs, valores))
        return falha(QStringLiteral("Ao ler as necessidades pendentes."));
    lista.reserve(rs.RecordCount());
    for (int r = 0; r < rs.RecordCount(); ++r) {
        NecessidadePendente n;
        n.id = idDe(rs.valorEm(r, 0));
        n.artigo = TextoDe(rs.valorEm(r, 1));
        n.refArt = TextoDe(rs.valorEm(r, 2));
        n.qtd = Moeda::deValor(rs.valorEm(r, 3));
        n.nome = TextoDe(rs.valorEm(r, 4));
        n.stDisp = Moeda::deValor(rs.valorEm(r, 5));
        n.stMin = Moeda::deValor(rs.valorEm(r, 6));
        n.stMax = Moeda::deValor(rs.valorEm(r, 7));
        lista << n;
    }
    return true;
}

Moeda AnaliseRuptura::aEncomendar(const NecessidadePendente &n, const Figuras &x, bool comPrevisao)
{
    return comPrevisao ? n.qtd - x.vendas - x.pend : n.qtd - x.pend;
}

bool AnaliseRuptura::linhaAnalisada(const NecessidadePendente &n, const Figuras &x, bool comPrevisao, LinhaRuptura &l)
{
    const Moeda enc = aEncomendar(n, x, comPrevisao);
    if (enc <= Moeda())
        return false;
    l = LinhaRuptura();
    l.id = n.id;
    l.artigo = n.artigo;
    l.descr = n.nome;
    // The need's own reference, else the purchase help's for the proposed supplier.
    l.refForn = !n.refArt.isEmpty() ? n.refArt : x.refAjuda;
    l.stkExt = n.stDisp;
    l.stkMin = n.stMin;
    l.stkMax = n.stMax;
    l.pendForn = x.pend;
    l.enc = enc;
    l.forn = x.fornMenos;
    l.ultPrec = x.ultPrec;
    l.precEc = x.precEc;
    l.prev = x.vendas;
    l.fornUlt = x.fornUlt;
    l.fornMenos = x.fornMenos;
    l.dataUlt = x.dataUlt;
    l.dataMenos = x.dataMenos;
    return true;
}

bool AnaliseRuptura::analisa(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas)
{
    linhas.clear();
    if (!avanca(QStringLiteral("A ler as necessidades pendentes")))
        return false;
    QList<NecessidadePendente> lista;
    if (!necessidades(f, lista))
        return false;
    if (lista.isEmpty())
        return true;

    const Ambito a = ambito(f);
    const QVariantList valores = a.valores + a.valores;
    QHash<qint64, Figuras> figuras;
    figuras.reserve(lista.size());

    // Pending from suppliers and sales, in one pass over the document lines
    // of the needs' articles.
    if (!avanca(QStringLiteral("A somar as encomendas pendentes e as vendas")))
        return false;
    Recordset rs;
    if (!m_bd.AbreConsulta(sqlMovimentos(a, true), rs, QVariantList{inicioVendas(f.hoje, f.dias), fimVendasExclusivo(f.hoje)} + valores))
        return falha(QStringLiteral("Ao somar as encomendas pendentes e as vendas."));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        Figuras &x = figuras[idDe(rs.valorEm(r, 0))];
        x.pend = Moeda::deValor(rs.valorEm(r, 1));
        x.vendas = Moeda::deValor(rs.valorEm(r, 2));
    }

    // The last purchase of each article: its purchase lines numbered newest first.
    if (!avanca(QStringLiteral("A procurar as últimas compras")))
        return false;
    const QString sqlUltima = a.porNecessidade(
        QStringLiteral("m.Data, m.Prunit, m.Terceiro"),
        QStringLiteral("SELECT x.Artigo, x.Data, x.Prunit, x.Terceiro FROM (SELECT l.Artigo, c.Data, l.Prunit, c.Terceiro,"
                       " ROW_NUMBER() OVER (PARTITION BY l.Artigo ORDER BY ")
            + QLatin1String(OrdemUltimaCompra)
            + QStringLiteral(") AS Ordem FROM docgclin l"
                             " INNER JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
                             " WHERE l.Tpdocum IN (")
            + tipos(CondicaoCompras) + QStringLiteral(") AND l.Linanu = 0 AND l.Artigo IN (") + a.artigos()
            + QStringLiteral(")) x WHERE x.Ordem = 1"));
    if (!m_bd.AbreConsulta(sqlUltima, rs, valores))
        return falha(QStringLiteral("Ao procurar as últimas compras."));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        Figuras &x = figuras[idDe(rs.valorEm(r, 0))];
        x.dataUlt = Valores::comoData(rs.valorEm(r, 1));
        x.ultPrec = Moeda::deValor(rs.valorEm(r, 2));
        x.fornUlt = TextoDe(rs.valorEm(r, 3));
    }

    // The cheapest quote of each article, and the reference of the purchase
    // help of the article and that supplier.
    if (!avanca(QStringLiteral("A procurar os preços mais económicos")))
        return false;
    const QString sqlEconomico = a.porNecessidade(
        QStringLiteral("m.Data, m.Preco, m.Fornecedor, h.RefArt"),
        QStringLiteral("SELECT x.Artigo, x.Data, x.Preco, x.Fornecedor FROM (SELECT Artigo, Data, Preco, Fornecedor,"
                       " ROW_NUMBER() OVER (PARTITION BY Artigo ORDER BY ")
            + QLatin1String(OrdemPrecoEconomico) + QStringLiteral(") AS Ordem FROM mvk_Precos_Forn WHERE Artigo IN (") + a.artigos()
            + QStringLiteral(")) x WHERE x.Ordem = 1"),
        QStringLiteral(" LEFT JOIN AjudaCmp h ON h.Artigo = n.Artigo AND h.Forneced = m.Fornecedor"));
    if (!m_bd.AbreConsulta(sqlEconomico, rs, valores))
        return falha(QStringLiteral("Ao procurar os preços mais económicos."));
    for (int r = 0; r < rs.RecordCount(); ++r) {
        Figuras &x = figuras[idDe(rs.valorEm(r, 0))];
        x.dataMenos = Valores::comoData(rs.valorEm(r, 1));
        x.precEc = Moeda::deValor(rs.valorEm(r, 2));
        x.fornMenos = TextoDe(rs.valorEm(r, 3));
        x.refAjuda = TextoDe(rs.valorEm(r, 4));
    }

    linhas.reserve(lista.size());
    for (int i = 0; i < lista.size(); ++i) {
        if (i % Lote == 0 && !avanca(QStringLiteral("A analisar"), i, int(lista.size())))
            return false;
        LinhaRuptura l;
        if (linhaAnalisada(lista.at(i), figuras.value(lista.at(i).id), f.comPrevisao, l))
            linhas << l;
    }
    return true;
}

bool AnaliseRuptura::listaNecessidades(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas)
{
    m_erro.clear();
    m_parada = false;
    linhas.clear();
    if (!avanca(QStringLiteral("A ler as necessidades pendentes")))
        return false;
    QVariantList valores;
    const QString onde = Pendente + condicoes(f, valores);
    Recordset rs;
    if (!m_bd.AbreConsulta(QStringLiteral("SELECT n.Id, n.Artigo, n.RefArt, n.Qtd, n.Fornec, n.PrUnit, a.NOME, a.STDISP, n.DataPedido")
                               + Origem + onde + Ordem,
                           rs, valores))
        return falha(QStringLiteral("Ao ler as necessidades pendentes."));
    if (rs.RecordCount() == 0)
        return true;
    if (!avanca(QStringLiteral("A somar as encomendas pendentes")))
        return false;
    Recordset pendentes;
    const Ambito a = ambito(f);
    if (!m_bd.AbreConsulta(sqlMovimentos(a, false), pendentes, a.valores + a.valores))
        return falha(QStringLiteral("Ao somar as encomendas pendentes."));
    QHash<qint64, Moeda> pend;
    pend.reserve(pendentes.RecordCount());
    for (int r = 0; r < pendentes.RecordCount(); ++r)
        pend.insert(idDe(pendentes.valorEm(r, 0)), Moeda::deValor(pendentes.valorEm(r, 1)));

    linhas.reserve(rs.RecordCount());
    for (int r = 0; r < rs.RecordCount(); ++r) {
        if (r % Lote == 0 && !avanca(QStringLiteral("A preparar"), r, rs.RecordCount()))
            return false;
        LinhaRuptura l;
        l.id = idDe(rs.valorEm(r, 0));
        l.artigo = TextoDe(rs.valorEm(r, 1));
        l.refForn = TextoDe(rs.valorEm(r, 2));
        l.enc = Moeda::deValor(rs.valorEm(r, 3));
        l.forn = TextoDe(rs.valorEm(r, 4));
        l.precEc = Moeda::deValor(rs.valorEm(r, 5));
        l.descr = TextoDe(rs.valorEm(r, 6));
        l.stkExt = Moeda::deValor(rs.valorEm(r, 7));
        // A need recorded without a date is shown (and saved) as of today.
        const QDate pedido = Valores::comoData(rs.valorEm(r, 8));
        l.dataUlt = pedido.isValid() ? pedido : f.hoje;
        l.pendForn = pend.value(l.id);
        linhas << l;
    }
    return true;
}
