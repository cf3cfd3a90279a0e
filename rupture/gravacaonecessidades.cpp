#include "gravacaonecessidades.h"

#include "consultas.h"
#include "grelha.h"
#include "grelhanecessidades.h"
#include "ligacaobd.h"

using namespace ColunasNecessidades;

namespace {

bool semValor(const QVariant &v) { return !v.isValid() || v.isNull(); }

// A cell as text to write: never a null string, which would be written as NULL.
QString texto(const QVariant &v)
{
    const QString t = TextoDe(v).trimmed();
    return t.isNull() ? QStringLiteral("") : t;
}

// A number cell; a text that is no number (the cells' checks let none
// through) counts as none.
Moeda numero(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QString) {
        Moeda m;
        return Moeda::leTexto(v.toString(), &m) ? m : Moeda();
    }
    return Moeda::deValor(v);
}

} // namespace

LinhaNecessidade GravacaoNecessidades::leLinha(const Grelha &g, int r)
{
    LinhaNecessidade l;
    l.linha = r + 1;
    const QVariant id = g.matriz(r, Id);
    if (!semValor(id) && !texto(id).isEmpty())
        l.id = id.toLongLong();
    l.artigo = texto(g.matriz(r, Artigo));
    l.refArt = texto(g.matriz(r, RefForn));
    const QVariant qtd = g.matriz(r, Enc);
    l.qtd = numero(qtd);
    l.comQtd = !semValor(qtd) && !texto(qtd).isEmpty();
    l.fornec = texto(g.matriz(r, Forn));
    l.prUnit = numero(g.matriz(r, PrecEc));
    l.dataPedido = Valores::comoData(g.matriz(r, DataUlt));
    return l;
}

QList<LinhaNecessidade> GravacaoNecessidades::linhasAGravar(const Grelha &g)
{
    QList<LinhaNecessidade> linhas;
    for (int r = 0; r < g.linhas(); ++r) {
        LinhaNecessidade l = leLinha(g, r);
        if (!l.artigo.isEmpty() && l.qtd > Moeda())
            linhas << l;
    }
    return linhas;
}

bool GravacaoNecessidades::falha(const QString &onde)
{
    m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\n") + onde;
    return false;
}

bool GravacaoNecessidades::gravaLinha(const LinhaNecessidade &l)
{
    const QString onde = QStringLiteral("Ao gravar a necessidade do artigo %1 (linha %2).").arg(l.artigo).arg(l.linha);
    Recordset rs;
    // A row typed in the grid has no Id: -10 finds no need and a new one is added,
    // as for a need that someone else deleted meanwhile.
    if (!m_bd.AbreTabela(QStringLiteral("SELECT * FROM mvk_Necessidades WHERE Id = ?"), rs, {l.id.isValid() ? l.id : QVariant(-10)}))
        return falha(onde);
    if (rs.Eof())
        rs.AddNew();
    rs.SetValor(QStringLiteral("Artigo"), l.artigo);
    rs.SetValor(QStringLiteral("RefArt"), l.refArt);
    rs.SetValor(QStringLiteral("Qtd"), l.qtd.paraValor());
    rs.SetValor(QStringLiteral("Fornec"), l.fornec);
    rs.SetValor(QStringLiteral("PrUnit"), l.prUnit.paraValor());
    // A null of the column's type, which every driver can bind.
    rs.SetValor(QStringLiteral("DataPedido"), l.dataPedido.isValid() ? QVariant(l.dataPedido) : QVariant(QMetaType::fromType<QDate>()));
    rs.SetValor(QStringLiteral("Processado"), 0);
    return rs.Update() || falha(onde);
}

bool GravacaoNecessidades::grava(const QList<LinhaNecessidade> &linhas, const QList<qint64> &idsAApagar)
{
    m_erro.clear();
    Transaccao t(m_bd);
    if (!t.iniciada())
        return falha(QStringLiteral("Ao iniciar a gravação."));
    for (const LinhaNecessidade &l : linhas)
        if (!gravaLinha(l))
            return false;
    for (qint64 id : idsAApagar)
        if (!m_bd.Executa(QStringLiteral("DELETE FROM mvk_Necessidades WHERE Id = ?"), {id}))
            return falha(QStringLiteral("Ao anular a necessidade %1.").arg(id));
    if (!t.confirma())
        return falha(QStringLiteral("Ao terminar a gravação."));
    return true;
}
