#include "gravacaoprecos.h"

#include "consultas.h"
#include "grelha.h"
#include "grelhaprecos.h"
#include "historicoprecos.h"
#include "ligacaobd.h"
#include "programa.h"

using namespace ColunasPrecos;

namespace {

bool vazio(const QVariant &v)
{
    return !v.isValid() || v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

// A cell as text to write: never a null string, which would be written as NULL.
QString texto(const QVariant &v)
{
    const QString t = TextoDe(v);
    return t.isNull() ? QStringLiteral("") : t;
}

// A price cell: a number, or a text as the user typed it.
bool lePreco(const QVariant &v, Moeda *m)
{
    if (v.metaType().id() == QMetaType::QString)
        return Moeda::leTexto(v.toString(), m);
    *m = Moeda::deValor(v);
    return true;
}

} // namespace

QList<LinhaPreco> GravacaoPrecos::linhasAlteradas(const Grelha &g, const DestinoPrecos &destino, QList<LinhaRecusada> *recusadas)
{
    QList<LinhaPreco> linhas;
    for (int r = 0; r < g.linhas(); ++r) {
        if (!g.matriz(r, Altera).toBool())
            continue;
        const QVariant entidade = g.matriz(r, Forn), artigo = g.matriz(r, Artigo), data = g.matriz(r, DataE),
                       preco = g.matriz(r, Preco);
        if (vazio(preco))
            continue;
        LinhaPreco l;
        l.linha = r + 1;
        l.data = Valores::comoData(data);
        // The cells' checks let no unreadable date or price through; should
        // one be there all the same, the row is named, not written.
        const auto recusa = [&](int coluna, const QString &motivo) {
            if (recusadas)
                recusadas->append({r + 1, coluna, motivo});
        };
        if (vazio(entidade))
            recusa(Forn, QStringLiteral("falta o ") + destino.colunaEntidade.toLower());
        else if (vazio(artigo))
            recusa(Artigo, QStringLiteral("falta o artigo"));
        else if (vazio(data))
            recusa(DataE, QStringLiteral("falta a data"));
        else if (!l.data.isValid())
            recusa(DataE, QStringLiteral("a data não é válida"));
        else if (!lePreco(preco, &l.preco))
            recusa(Preco, QStringLiteral("o preço não é válido"));
        else {
            l.entidade = texto(entidade);
            l.artigo = texto(artigo);
            l.referencia = texto(g.matriz(r, RefForn));
            const QVariant obs = g.matriz(r, Obs);
            l.obs = !obs.isValid() || obs.isNull() ? QVariant(QMetaType::fromType<QString>()) : QVariant(texto(obs));
            linhas << l;
        }
    }
    return linhas;
}

QString GravacaoPrecos::textoRecusadas(const QList<LinhaRecusada> &recusadas)
{
    QStringList linhas;
    for (const LinhaRecusada &r : recusadas)
        linhas << QStringLiteral("A linha %1 tem um preço que não pode ser gravado: %2.").arg(r.linha).arg(r.motivo);
    linhas << QStringLiteral("Nada foi gravado: complete essas linhas ou retire-as.");
    return linhas.join(QStringLiteral("\r\n"));
}

bool GravacaoPrecos::falha(const QString &onde)
{
    m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\n") + onde;
    return false;
}

bool GravacaoPrecos::gravaPreco(const LinhaPreco &l)
{
    const QString onde = QStringLiteral("Ao gravar o preço de %1 / %2 (linha %3).").arg(l.entidade, l.artigo).arg(l.linha);
    Recordset rs;
    // The pair is the key of the price: its first record is overwritten.
    if (!m_bd.AbreTabela(QStringLiteral("SELECT * FROM %1 WHERE %2 = ? AND Artigo = ? ORDER BY Id_Preco")
                             .arg(m_destino.tabela, m_destino.colunaEntidade),
                         rs, {l.entidade, l.artigo}))
        return falha(onde);
    if (rs.Eof())
        rs.AddNew();
    else if (HistoricoPrecos::mudou(rs, l, m_destino)
             && !HistoricoPrecos::regista(m_bd, m_destino, rs.Valor(QStringLiteral("Id_Preco")).toLongLong(),
                                          HistoricoPrecos::Alterado, m_utilizador))
        return falha(QStringLiteral("Ao guardar o preço anterior de %1 / %2 (linha %3).").arg(l.entidade, l.artigo).arg(l.linha));
    rs.SetValor(m_destino.colunaEntidade, l.entidade);
    rs.SetValor(QStringLiteral("Artigo"), l.artigo);
    rs.SetValor(QStringLiteral("Data"), l.data);
    rs.SetValor(QStringLiteral("Preco"), l.preco.paraValor());
    if (m_destino.gravaReferencia)
        rs.SetValor(QStringLiteral("RefForn"), l.referencia);
    rs.SetValor(QStringLiteral("Obs"), l.obs);
    return rs.Update() || falha(onde);
}

bool GravacaoPrecos::gravaAjudaCompra(const LinhaPreco &l)
{
    return GravaAjudaCompra(m_bd, l.artigo, l.entidade, l.referencia, l.preco)
           || falha(QStringLiteral("Ao gravar a ajuda de compra de %1 / %2 (linha %3).").arg(l.artigo, l.entidade).arg(l.linha));
}

bool GravacaoPrecos::grava(const QList<LinhaPreco> &linhas, const QList<qint64> &idsAApagar)
{
    m_erro.clear();
    m_utilizador = Programa::utilizadorSistema();
    Transaccao t(m_bd);
    if (!t.iniciada())
        return falha(QStringLiteral("Ao iniciar a gravação."));
    for (const LinhaPreco &l : linhas)
        if (!gravaPreco(l))
            return false;
    for (qint64 id : idsAApagar)
        if (!HistoricoPrecos::regista(m_bd, m_destino, id, HistoricoPrecos::Anulado, m_utilizador)
            || !m_bd.Executa(QStringLiteral("DELETE FROM %1 WHERE Id_Preco = ?").arg(m_destino.tabela), {id}))
            return falha(QStringLiteral("Ao anular o registo %1.").arg(id));
    if (m_destino.ajudaCompra)
        for (const LinhaPreco &l : linhas)
            if (!gravaAjudaCompra(l))
                return false;
    if (!t.confirma())
        return falha(QStringLiteral("Ao terminar a gravação."));
    return true;
}
