#include "analiseruptura.h"

#include "comparacodigos.h"
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

// The articles of the pending needs of a load, for an IN: the grouped
// statements read the documents and quotes of these articles only. The
// article table joins in only when the ranges ask for its group, family or
// sub-family.
struct Ambito
{
    QString sql;
    QVariantList valores;
};

// Per article of the needs: the quantity pending from suppliers and (with
// vendas) the sales of the window, in one pass over their document lines;
// the index on (Artigo, Tpdocum, Linanu, Data) of the embedded ERP answers it
// alone. The kind of a line is told by its joined type, not by a subquery
// inside the sums: SQL Server takes no subquery in an aggregate. Values: the
// scope's, then (with vendas) the window's start and end.
QString sqlMovimentos(const Ambito &a, bool comVendas)
{
    const QString pendentes = QStringLiteral("(") + QLatin1String(CondicaoPendentes) + QStringLiteral(")");
    const QString vendas = QStringLiteral("(") + QLatin1String(CondicaoVendas) + QStringLiteral(")");
    QString sql = QStringLiteral("SELECT l.Artigo, SUM(CASE WHEN ") + pendentes + QStringLiteral(" THEN l.Quant ELSE 0 END) AS Pend");
    if (comVendas)
        sql += QStringLiteral(", SUM(CASE WHEN ") + vendas + QStringLiteral(" THEN l.Quant ELSE 0 END) AS Vendas");
    sql += QStringLiteral(" FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum WHERE l.Artigo IN (") + a.sql
           + QStringLiteral(") AND l.Linanu = 0 AND (") + pendentes;
    if (comVendas)
        sql += QStringLiteral(" OR (") + vendas + QStringLiteral(" AND l.Data >= ? AND l.Data < ?)");
    return sql + QStringLiteral(") GROUP BY l.Artigo");
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
    a.sql = QStringLiteral("SELECT n.Artigo FROM mvk_Necessidades n");
    if (condicoes.contains(QLatin1String("a.")))
        a.sql += QStringLiteral(" INNER JOIN Artigos a ON a.CODIGO = n.Artigo");
    a.sql += Pendente + condicoes;
    return a;
}

// The figures of each article are kept under its code as the database
// matches codes ("ra1 " is "RA1"): the grouped statements give one spelling
// of it, a need may have another.
QString chave(const QVariant &artigo) { return ComparaCodigos::chave(TextoDe(artigo)); }
} // namespace

bool AnaliseRuptura::falha(const QString &passo)
{
    m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\n") + passo;
    return false;
}

bool AnaliseRuptura::avanca(const QString &passo, int feito, int total)
{
    if (m_parada)
        return false;
    if (m_progresso && !m_progresso(passo, feito, total)) {
        m_parada = true;
        m_erro = QStringLiteral("Carregamento interrompido.");
        return false;
    }
    return true;
}

bool AnaliseRuptura::consulta(const QString &passo, const QString &sql, const QVariantList &valores, Recordset &rs)
{
    if (!avanca(passo))
        return false;
    bool ok;
    {
        // A long statement reports the same step while it runs; a stop
        // interrupts it.
        LigacaoBd::Acompanhamento acompanha(m_bd, [this, &passo] { return avanca(passo); }, m_intervalo);
        ok = m_bd.AbreConsulta(sql, rs, valores);
    }
    if (m_parada)
        return false;
    return ok || falha(QStringLiteral("Ao %1.").arg(passo.mid(2)));
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
    if (!consulta(QStringLiteral("A ler as necessidades pendentes"),
                  QStringLiteral("SELECT n.Id, n.Artigo, n.RefArt, n.Qtd, a.NOME, a.STDISP, a.STMIN, a.STMAX") + Origem + onde + Ordem,
                  valores, rs))
        return false;
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
    m_erro.clear();
    m_parada = false;
    linhas.clear();
    QList<NecessidadePendente> lista;
    if (!necessidades(f, lista))
        return false;
    if (lista.isEmpty())
        return true;

    const Ambito a = ambito(f);
    QHash<QString, Figuras> figuras;
    figuras.reserve(lista.size());

    // Pending from suppliers and sales, in one pass over the document lines
    // of the needs' articles.
    Recordset rs;
    if (!consulta(QStringLiteral("A somar as encomendas pendentes e as vendas"), sqlMovimentos(a, true),
                  a.valores + QVariantList{inicioVendas(f.hoje, f.dias), fimVendasExclusivo(f.hoje)}, rs))
        return false;
    for (int r = 0; r < rs.RecordCount(); ++r) {
        Figuras &x = figuras[chave(rs.valorEm(r, 0))];
        x.pend = Moeda::deValor(rs.valorEm(r, 1));
        x.vendas = Moeda::deValor(rs.valorEm(r, 2));
    }

    // The last purchase of each article: its purchase lines numbered newest first.
    const QString sqlUltima =
        QStringLiteral("SELECT x.Artigo, x.Data, x.Prunit, x.Terceiro FROM (SELECT l.Artigo, c.Data, l.Prunit, c.Terceiro,"
                       " ROW_NUMBER() OVER (PARTITION BY l.Artigo ORDER BY ")
        + QLatin1String(OrdemUltimaCompra)
        + QStringLiteral(") AS Ordem FROM docgclin l"
                         " INNER JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
                         " WHERE l.Artigo IN (")
        + a.sql + QStringLiteral(") AND l.Tpdocum IN (") + tipos(CondicaoCompras) + QStringLiteral(") AND l.Linanu = 0) x WHERE x.Ordem = 1");
    if (!consulta(QStringLiteral("A procurar as últimas compras"), sqlUltima, a.valores, rs))
        return false;
    for (int r = 0; r < rs.RecordCount(); ++r) {
        Figuras &x = figuras[chave(rs.valorEm(r, 0))];
        x.dataUlt = Valores::comoData(rs.valorEm(r, 1));
        x.ultPrec = Moeda::deValor(rs.valorEm(r, 2));
        x.fornUlt = TextoDe(rs.valorEm(r, 3));
    }

    // The cheapest quote of each article, and the reference of the purchase
    // help of the article and that supplier.
    const QString sqlEconomico =
        QStringLiteral("SELECT x.Artigo, x.Data, x.Preco, x.Fornecedor, h.RefArt FROM (SELECT Artigo, Data, Preco, Fornecedor,"
                       " ROW_NUMBER() OVER (PARTITION BY Artigo ORDER BY ")
        + QLatin1String(OrdemPrecoEconomico) + QStringLiteral(") AS Ordem FROM mvk_Precos_Forn WHERE Artigo IN (") + a.sql
        + QStringLiteral(")) x LEFT JOIN AjudaCmp h ON h.Artigo = x.Artigo AND h.Forneced = x.Fornecedor WHERE x.Ordem = 1");
    if (!consulta(QStringLiteral("A procurar os preços mais económicos"), sqlEconomico, a.valores, rs))
        return false;
    for (int r = 0; r < rs.RecordCount(); ++r) {
        Figuras &x = figuras[chave(rs.valorEm(r, 0))];
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
        if (linhaAnalisada(lista.at(i), figuras.value(ComparaCodigos::chave(lista.at(i).artigo)), f.comPrevisao, l))
            linhas << l;
    }
    return true;
}

bool AnaliseRuptura::listaNecessidades(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas)
{
    m_erro.clear();
    m_parada = false;
    linhas.clear();
    QVariantList valores;
    const QString onde = Pendente + condicoes(f, valores);
    Recordset rs;
    if (!consulta(QStringLiteral("A ler as necessidades pendentes"),
                  QStringLiteral("SELECT n.Id, n.Artigo, n.RefArt, n.Qtd, n.Fornec, n.PrUnit, a.NOME, a.STDISP, n.DataPedido, n.Versao")
                      + Origem + onde
                      + Ordem,
                  valores, rs))
        return false;
    if (rs.RecordCount() == 0)
        return true;
    Recordset pendentes;
    const Ambito a = ambito(f);
    if (!consulta(QStringLiteral("A somar as encomendas pendentes"), sqlMovimentos(a, false), a.valores, pendentes))
        return false;
    QHash<QString, Moeda> pend;
    pend.reserve(pendentes.RecordCount());
    for (int r = 0; r < pendentes.RecordCount(); ++r)
        pend.insert(chave(pendentes.valorEm(r, 0)), Moeda::deValor(pendentes.valorEm(r, 1)));

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
        l.pendForn = pend.value(ComparaCodigos::chave(l.artigo));
        l.versao = rs.valorEm(r, 9).toLongLong();
        linhas << l;
    }
    return true;
}
