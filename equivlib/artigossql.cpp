#include "artigossql.h"
#include "contagemobjectos.h"
#include "ligacaobd.h"
#include "listapesquisa.h"
#include "servicomensagens.h"

#include <QStringList>

namespace {
// The query with its values shown in place, for a failure message.
QString comValores(const QString &sql, const QVariantList &valores)
{
    QString texto = sql;
    for (const QVariant &v : valores) {
        const int i = int(texto.indexOf(QLatin1Char('?')));
        if (i < 0)
            break;
        texto.replace(i, 1, QLatin1Char('\'') + v.toString().replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\''));
    }
    return texto;
}

const QString sqlNovoPar = QStringLiteral(
    "INSERT INTO mvk_equivalencias (ArtigoPai, ArtigoEquivalente) SELECT ?, ? WHERE NOT EXISTS "
    "(SELECT 1 FROM mvk_equivalencias WHERE ArtigoPai = ? AND ArtigoEquivalente = ?)");
const QString sqlNovoAcesso = QStringLiteral(
    "INSERT INTO mvk_AcessoRapido (CodigoArtigo) SELECT ? WHERE NOT EXISTS "
    "(SELECT 1 FROM mvk_AcessoRapido WHERE CodigoArtigo = ?)");

// The article's own code, or any article that has the code among its
// equivalents; each article once. Written as two index lookups joined by a
// UNION so that neither arm scans a table.
const QString sqlPesquisa = QStringLiteral(
    "SELECT a.CODIGO AS Artigo, a.NOME, a.ULTPRCOM AS UPC, "
    "CASE WHEN a.STDISP = 0 THEN 0 ELSE a.VLREXIST / a.STDISP END AS PCM, a.STDISP AS Stock, "
    "a.STDISP + a.TOTENCFO - a.TotEnccl AS Prazo, a.PVPSIVA AS PVP "
    "FROM Artigos a WHERE a.CODIGO = ? AND a.CODIGO > ? "
    "UNION "
    "SELECT a.CODIGO AS Artigo, a.NOME, a.ULTPRCOM AS UPC, "
    "CASE WHEN a.STDISP = 0 THEN 0 ELSE a.VLREXIST / a.STDISP END AS PCM, a.STDISP AS Stock, "
    "a.STDISP + a.TOTENCFO - a.TotEnccl AS Prazo, a.PVPSIVA AS PVP "
    "FROM mvk_equivalencias e INNER JOIN Artigos a ON e.ArtigoPai = a.CODIGO "
    "WHERE e.ArtigoEquivalente = ? AND a.CODIGO > ?");
} // namespace

ArtigosSql::ArtigosSql() { ContagemObjectos::nasce(); }
ArtigosSql::~ArtigosSql() { ContagemObjectos::morre(); }

void ArtigosSql::reporta(const QString &funcao, const QString &extra, const QString &modulo)
{
    PedidoMensagem p;
    p.titulo = QStringLiteral("TesselaDados2016");
    p.icone = PedidoMensagem::Critico;
    const ErroBd erro = m_bd ? m_bd->ultimoErro()
                             : ErroBd{ErroBd::ErroLigacao, QStringLiteral("Não foi indicada a ligação à base de dados")};
    p.texto = erro.texto() + QStringLiteral("\r\nNa função %1 do Módulo de classe %2").arg(funcao, modulo);
    if (!extra.isEmpty())
        p.texto += QStringLiteral("\r\n") + extra;
    ServicoMensagens::actual().mostra(p);
}

bool ArtigosSql::Apagar()
{
    if (!m_bd || !m_bd->Executa(QStringLiteral("DELETE FROM mvk_equivalencias WHERE (ArtigoPai = ?)"), {m_codigo})) {
        reporta(QStringLiteral("Apagar"));
        return false;
    }
    return true;
}

bool ArtigosSql::Equivalencia_Escrever(const QString &equivalente)
{
    if (!m_bd) {
        reporta(QStringLiteral("Equivalencia_Escrever"));
        return false;
    }
    // The pair and its quick-access code are written together or not at all
    // (a savepoint when the caller already holds a transaction).
    Transaccao t(*m_bd);
    QVariantList valores{m_codigo, equivalente, m_codigo, equivalente};
    QString ultima = comValores(sqlNovoPar, valores);
    bool ok = t.iniciada() && m_bd->Executa(sqlNovoPar, valores);
    if (ok && m_bd->linhasAfectadas() > 0) {
        valores = {equivalente, equivalente};
        ultima = comValores(sqlNovoAcesso, valores);
        ok = m_bd->Executa(sqlNovoAcesso, valores);
    }
    if (ok)
        ok = t.confirma();
    if (!ok) {
        const ErroBd erro = m_bd->ultimoErro();
        t.anula();
        PedidoMensagem p;
        p.titulo = QStringLiteral("TesselaDados2016");
        p.icone = PedidoMensagem::Critico;
        p.texto = erro.texto() + QStringLiteral("\r\nNa função Equivalencia_Escrever do Módulo de classe Artigos\r\n") + ultima;
        ServicoMensagens::actual().mostra(p);
    }
    return false;
}

bool ArtigosSql::Ler(Recordset &out_Equivalencias)
{
    m_descricao.clear();
    const QString sql = QStringLiteral(
        "SELECT mvk_equivalencias.ArtigoEquivalente FROM ARTIGOS LEFT OUTER JOIN mvk_equivalencias "
        "ON ARTIGOS.CODIGO = mvk_equivalencias.ArtigoPai WHERE (ARTIGOS.CODIGO = ?) "
        "ORDER BY mvk_equivalencias.ArtigoEquivalente");
    if (!m_bd || !m_bd->AbreConsulta(sql, out_Equivalencias, {m_codigo})) {
        reporta(QStringLiteral("Ler"), QString(), QStringLiteral("Artigos Equivalentes"));
        return false;
    }
    return out_Equivalencias.RecordCount() > 0;
}

QString ArtigosSql::MostraLista()
{
    ListaPesquisa lista;
    if (m_bd)
        lista.setLigacao(*m_bd);
    lista.Titulo = QStringLiteral("Lista de Artigos");
    lista.setSql(QStringLiteral("SELECT CODIGO as Código , NOME as Descrição From Artigos WHERE (CODIGO > ?) ORDER BY CODIGO"),
                 {QStringLiteral("")});
    return lista.Mostra();
}

QString ArtigosSql::Observacoes(const QString &chave)
{
    Recordset rs;
    if (!m_bd || !m_bd->AbreConsulta(QStringLiteral("SELECT OBSERV, BLNOTAS From Artigos WHERE (CODIGO = ?)"), rs, {chave})) {
        reporta(QStringLiteral("Observacoes"));
        return QString();
    }
    if (rs.Eof())
        return QString();
    const QVariant obs = rs.Valor(0), notas = rs.Valor(1);
    return (obs.isNull() ? QString() : obs.toString().trimmed()) + QStringLiteral("\r\n")
           + (notas.isNull() ? QString() : notas.toString().trimmed());
}

Recordset ArtigosSql::Pesquisar(const QString &codigo)
{
    Recordset rs;
    if (!m_bd || !m_bd->AbreConsulta(sqlPesquisa, rs, {codigo, QStringLiteral(""), codigo, QStringLiteral("")})) {
        reporta(QStringLiteral("Pesquisar"));
        return Recordset();
    }
    return rs;
}
