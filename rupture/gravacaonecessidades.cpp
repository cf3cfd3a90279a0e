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

namespace {
// The condition of a need a save may change: pending, unclaimed and, when
// the load's version is known, unchanged since.
QString podeMudar(const QHash<qint64, qint64> &versoes, qint64 id, QVariantList &valores)
{
    QString sql = QStringLiteral(" WHERE Id = ? AND Processado = 0 AND Reserva IS NULL");
    valores << id;
    if (versoes.contains(id)) {
        sql += QStringLiteral(" AND Versao = ?");
        valores << versoes.value(id);
    }
    return sql;
}
} // namespace

bool GravacaoNecessidades::saltada(qint64 id, const QString &artigo, bool *existe)
{
    Recordset rs;
    if (!m_bd.AbreConsulta(QStringLiteral("SELECT Processado, Reserva, Artigo FROM mvk_Necessidades WHERE Id = ?"), rs, {id}))
        return falha(QStringLiteral("Ao ler a necessidade %1.").arg(id));
    *existe = !rs.Eof();
    if (!*existe)
        return true;
    QString motivo = QStringLiteral("foi alterada noutra janela desde que foi carregada");
    if (rs.Valor(0).toInt() != 0)
        motivo = QStringLiteral("já foi encomendada");
    else if (!rs.Valor(1).isNull())
        motivo = QStringLiteral("está a ser encomendada noutro posto");
    m_saltadas << NecessidadeSaltada{id, artigo.isEmpty() ? TextoDe(rs.Valor(2)) : artigo, motivo};
    return true;
}

bool GravacaoNecessidades::gravaLinha(const LinhaNecessidade &l, const QHash<qint64, qint64> &versoes)
{
    const QString onde = QStringLiteral("Ao gravar a necessidade do artigo %1 (linha %2).").arg(l.artigo).arg(l.linha);
    // A null of the column's type, which every driver can bind.
    const QVariant pedido = l.dataPedido.isValid() ? QVariant(l.dataPedido) : QVariant(QMetaType::fromType<QDate>());
    if (l.id.isValid()) {
        const qint64 id = l.id.toLongLong();
        QVariantList valores{l.artigo, l.refArt, l.qtd.paraValor(), l.fornec, l.prUnit.paraValor(), pedido};
        const QString sql = QStringLiteral("UPDATE mvk_Necessidades SET Artigo = ?, RefArt = ?, Qtd = ?, Fornec = ?, PrUnit = ?, "
                                           "DataPedido = ?, Processado = 0, Versao = Versao + 1")
                            + podeMudar(versoes, id, valores);
        if (!m_bd.Executa(sql, valores))
            return falha(onde);
        if (m_bd.linhasAfectadas() > 0)
            return true;
        bool existe = true;
        if (!saltada(id, l.artigo, &existe))
            return false;
        if (existe)
            return true;
    }
    // A row typed in the grid, or a need someone else deleted meanwhile: a
    // new need (-10 finds none, so the result has the table's columns).
    Recordset rs;
    if (!m_bd.AbreTabela(QStringLiteral("SELECT * FROM mvk_Necessidades WHERE Id = ?"), rs, {QVariant(-10)}))
        return falha(onde);
    rs.AddNew();
    rs.SetValor(QStringLiteral("Artigo"), l.artigo);
    rs.SetValor(QStringLiteral("RefArt"), l.refArt);
    rs.SetValor(QStringLiteral("Qtd"), l.qtd.paraValor());
    rs.SetValor(QStringLiteral("Fornec"), l.fornec);
    rs.SetValor(QStringLiteral("PrUnit"), l.prUnit.paraValor());
    rs.SetValor(QStringLiteral("DataPedido"), pedido);
    rs.SetValor(QStringLiteral("Processado"), 0);
    return rs.Update() || falha(onde);
}

bool GravacaoNecessidades::apaga(qint64 id, const QHash<qint64, qint64> &versoes)
{
    // Processed needs are never deleted, nor one a generation has claimed or
    // someone changed since the load.
    QVariantList valores;
    const QString sql = QStringLiteral("DELETE FROM mvk_Necessidades") + podeMudar(versoes, id, valores);
    if (!m_bd.Executa(sql, valores))
        return falha(QStringLiteral("Ao anular a necessidade %1.").arg(id));
    bool existe = false;
    return m_bd.linhasAfectadas() > 0 || saltada(id, QString(), &existe);
}

bool GravacaoNecessidades::grava(const QList<LinhaNecessidade> &linhas, const QList<qint64> &idsAApagar,
                                 const QHash<qint64, qint64> &versoes)
{
    m_erro.clear();
    m_saltadas.clear();
    Transaccao t(m_bd);
    if (!t.iniciada())
        return falha(QStringLiteral("Ao iniciar a gravação."));
    for (const LinhaNecessidade &l : linhas)
        if (!gravaLinha(l, versoes))
            return false;
    for (qint64 id : idsAApagar)
        if (!apaga(id, versoes))
            return false;
    if (!t.confirma())
        return falha(QStringLiteral("Ao terminar a gravação."));
    return true;
}

QString GravacaoNecessidades::textoSaltadas() const
{
    if (m_saltadas.isEmpty())
        return QString();
    QStringList linhas;
    for (const NecessidadeSaltada &s : m_saltadas)
        linhas << QStringLiteral("Necessidade %1 (%2): %3.").arg(s.id).arg(s.artigo, s.motivo);
    return QStringLiteral("As restantes necessidades foram gravadas, mas estas ficaram como estavam na base de dados:\r\n")
           + linhas.join(QStringLiteral("\r\n"));
}
