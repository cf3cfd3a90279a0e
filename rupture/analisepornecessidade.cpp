// The rupture analysis done need by need, as the window has always done it:
// for each pending need the four readers run for its article alone, and the
// value for the article is taken from each result. It costs several queries a
// need, which is why loading uses the set-wise AnaliseRuptura::analisa; this
// one stays as the reference both must agree with.
#include "analiseruptura.h"

#include "consultas.h"
#include "leitoresruptura.h"
#include "ligacaobd.h"

namespace {

// The reader's row for the article: the set positioned on its first row and
// restricted to the article; the row counts when one is left and the field is
// not null. The restriction is removed again.
bool linhaDoArtigo(Recordset &rs, const QString &artigo, const QString &campo, QVariantList &valores, const QStringList &campos)
{
    rs.MoveFirst();
    rs.Filter(QStringLiteral("Artigo"), artigo);
    const bool ha = !rs.Eof() && !rs.Valor(campo).isNull();
    if (ha)
        for (const QString &c : campos)
            valores << rs.Valor(c);
    rs.RemoveFilter();
    return ha;
}

Moeda quantidade(Recordset &rs, const QString &artigo)
{
    QVariantList v;
    return linhaDoArtigo(rs, artigo, QStringLiteral("Qtd"), v, {QStringLiteral("Qtd")}) ? Moeda::deValor(v.at(0)) : Moeda();
}

// Price, supplier and date of a price result set, or 0 and empty texts.
void preco(Recordset &rs, const QString &artigo, Moeda &valor, QString &fornecedor, QDate &data)
{
    QVariantList v;
    if (linhaDoArtigo(rs, artigo, QStringLiteral("Preco"), v,
                      {QStringLiteral("Preco"), QStringLiteral("Forn"), QStringLiteral("Data")})) {
        valor = Moeda::deValor(v.at(0));
        fornecedor = TextoDe(v.at(1));
        data = Valores::comoData(v.at(2));
    } else {
        valor = Moeda();
        fornecedor.clear();
        data = QDate();
    }
}

} // namespace

bool AnaliseRuptura::porNecessidade(const FiltrosRuptura &f, const QList<NecessidadePendente> &lista, QList<LinhaRuptura> &linhas)
{
    m_erro.clear();
    m_parada = false;
    linhas.clear();
    for (int i = 0; i < lista.size(); ++i) {
        if (!avanca(QStringLiteral("A analisar"), i, int(lista.size())))
            return false;
        const NecessidadePendente &n = lista.at(i);
        const QString &a = n.artigo;
        Recordset pendentes, ultimo, economico, vendas;
        if (!LerQtdFornecedor(m_bd, a, a, pendentes) || !LerUltimoPreco(m_bd, a, a, ultimo)
            || !LerPrecoEconomico(m_bd, a, a, economico) || !LerVendas180(m_bd, a, a, f.dias, f.hoje, vendas))
            return falha(QStringLiteral("Ao analisar a necessidade %1 (artigo %2).").arg(n.id).arg(a));
        Figuras x;
        x.pend = quantidade(pendentes, a);
        x.vendas = quantidade(vendas, a);
        preco(ultimo, a, x.ultPrec, x.fornUlt, x.dataUlt);
        preco(economico, a, x.precEc, x.fornMenos, x.dataMenos);
        if (aEncomendar(n, x, f.comPrevisao) <= Moeda())
            continue;
        // Without a reference of its own, the purchase help's for the
        // proposed supplier (there is none without a quote).
        if (n.refArt.isEmpty() && !x.fornMenos.isEmpty()) {
            Recordset ajuda;
            if (!LerAjudaCompra(m_bd, ajuda, a, x.fornMenos))
                return falha(QStringLiteral("Ao ler a ajuda de compra do artigo %1.").arg(a));
            if (!ajuda.Eof())
                x.refAjuda = TextoDe(ajuda.Valor(QStringLiteral("RefArt")));
        }
        LinhaRuptura l;
        linhaAnalisada(n, x, f.comPrevisao, l);
        linhas << l;
    }
    return true;
}
