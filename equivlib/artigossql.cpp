#include "artigossql.h"
#include "comparacodigos.h"
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

// The two lookups of a write, as the failure message shows them.
const QString sqlPar = QStringLiteral(
    "SELECT ArtigoPai, ArtigoEquivalente From mvk_equivalencias WHERE (ArtigoPai = ?) AND (ArtigoEquivalente = ?)");
const QString sqlAcesso = QStringLiteral("SELECT CodigoArtigo From mvk_AcessoRapido WHERE (CodigoArtigo = ?)");

// The sizes of the equivalence table's columns.
constexpr int ComprimentoPai = 15, ComprimentoEquivalente = 25;

// A code as it is bound: the empty text is a code like any other, never Null.
QString texto(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

// A value without its leading and trailing blanks; a null value gives the
// empty text. Only blanks go: a tab or a line break at an end stays.
QString semBrancos(const QVariant &v)
{
    if (v.isNull())
        return QString();
    const QString t = v.toString();
    qsizetype i = 0, j = t.size();
    while (i < j && t.at(i) == QLatin1Char(' '))
        ++i;
    while (j > i && t.at(j - 1) == QLatin1Char(' '))
        --j;
    return t.mid(i, j - i);
}

// Writes that leave an existing row alone. SQLite settles it within the
// insert itself (one key lookup less per table); SQL Server looks first.
struct EscritaPar
{
    QString par, acesso;
    QVariantList valoresPar(const QString &pai, const QString &equivalente) const
    {
        return sqlite ? QVariantList{pai, equivalente} : QVariantList{pai, equivalente, pai, equivalente};
    }
    QVariantList valoresAcesso(const QString &equivalente) const
    {
        return sqlite ? QVariantList{equivalente} : QVariantList{equivalente, equivalente};
    }
    bool sqlite;
};

EscritaPar escrita(const Dialecto &d)
{
    static const QString parSqlite = QStringLiteral("INSERT OR IGNORE INTO mvk_equivalencias (ArtigoPai, ArtigoEquivalente) VALUES (?, ?)");
    static const QString acessoSqlite = QStringLiteral("INSERT OR IGNORE INTO mvk_AcessoRapido (CodigoArtigo) VALUES (?)");
    static const QString parServidor = QStringLiteral(
        "INSERT INTO mvk_equivalencias (ArtigoPai, ArtigoEquivalente) SELECT ?, ? WHERE NOT EXISTS "
        "(SELECT 1 FROM mvk_equivalencias WHERE ArtigoPai = ? AND ArtigoEquivalente = ?)");
    static const QString acessoServidor = QStringLiteral(
        "INSERT INTO mvk_AcessoRapido (CodigoArtigo) SELECT ? WHERE NOT EXISTS (SELECT 1 FROM mvk_AcessoRapido WHERE CodigoArtigo = ?)");
    // The values follow the engine that runs the statement.
    return {d.conforme(parServidor, parSqlite), d.conforme(acessoServidor, acessoSqlite), d.motor() == Dialecto::SQLite};
}

// The article whose own code is the given one, and every article that has it
// among its equivalents; each article once, articles with an empty code never.
// Two index lookups (the article's key, the index on the equivalent code)
// joined by a UNION, so that neither arm scans a table.
const QString sqlPesquisa = QStringLiteral(
    "SELECT a.CODIGO AS Artigo, a.NOME, a.ULTPRCOM AS UPC, "
    "CASE WHEN a.STDISP = 0 THEN 0.0 ELSE a.VLREXIST / a.STDISP END AS PCM, a.STDISP AS Stock, "
    "(a.STDISP + a.TOTENCFO - a.TotEnccl) * 1.0 AS Prazo, a.PVPSIVA AS PVP "
    "FROM Artigos a WHERE a.CODIGO = ? AND a.CODIGO > ? "
    "UNION "
    "SELECT a.CODIGO AS Artigo, a.NOME, a.ULTPRCOM AS UPC, "
    "CASE WHEN a.STDISP = 0 THEN 0.0 ELSE a.VLREXIST / a.STDISP END AS PCM, a.STDISP AS Stock, "
    "(a.STDISP + a.TOTENCFO - a.TotEnccl) * 1.0 AS Prazo, a.PVPSIVA AS PVP "
    "FROM mvk_equivalencias e INNER JOIN Artigos a ON e.ArtigoPai = a.CODIGO "
    "WHERE e.ArtigoEquivalente = ? AND a.CODIGO > ? "
    "ORDER BY 1");
} // namespace

ArtigosSql::ArtigosSql() { ContagemObjectos::nasce(); }
ArtigosSql::~ArtigosSql() { ContagemObjectos::morre(); }

void ArtigosSql::reporta(const QString &funcao, const QString &extra, const QString &modulo)
{
    reporta(m_bd ? m_bd->ultimoErro()
                 : ErroBd{ErroBd::ErroLigacao, QStringLiteral("Não foi indicada a ligação à base de dados")},
            funcao, extra, modulo);
}

void ArtigosSql::reporta(const ErroBd &erro, const QString &funcao, const QString &extra, const QString &modulo)
{
    PedidoMensagem p;
    p.titulo = QStringLiteral("TesselaDados2016");
    p.icone = PedidoMensagem::Critico;
    p.texto = erro.texto() + QStringLiteral("\r\nNa função %1 do Módulo de classe %2").arg(funcao, modulo);
    if (!extra.isEmpty())
        p.texto += QStringLiteral("\r\n") + extra;
    ServicoMensagens::actual().mostra(p);
}

bool ArtigosSql::Apagar()
{
    if (!m_bd || !m_bd->Executa(QStringLiteral("DELETE FROM mvk_equivalencias WHERE (ArtigoPai = ?)"), {texto(m_codigo)})) {
        reporta(QStringLiteral("Apagar"));
        return false;
    }
    return true;
}

bool ArtigosSql::Equivalencia_Escrever(const QString &equivalente)
{
    const QString pai = texto(m_codigo), codigo = texto(equivalente);
    if (!m_bd) {
        reporta(QStringLiteral("Equivalencia_Escrever"), comValores(sqlPar, {pai, codigo}));
        return false;
    }
    // A code longer than its column is refused before anything is written,
    // as the server refuses it (SQLite would keep it whole).
    const ErroBd longo = ComparaCodigos::comprimento(pai) > ComprimentoPai
                             ? ErroBd::textoLongo(QStringLiteral("ArtigoPai"), pai, ComprimentoPai)
                         : ComparaCodigos::comprimento(codigo) > ComprimentoEquivalente
                             ? ErroBd::textoLongo(QStringLiteral("ArtigoEquivalente"), codigo, ComprimentoEquivalente)
                             : ErroBd{};
    if (longo.existe()) {
        m_bd->repoeErro(longo);
        reporta(longo, QStringLiteral("Equivalencia_Escrever"), comValores(sqlPar, {pai, codigo}));
        return false;
    }
    // The pair is inserted only when it is new, and the quick-access code only
    // with a new pair and only when it is not one already. Both go in or
    // neither does. Called alone, the two statements run in a transaction of
    // their own. Inside the caller's transaction (the importer writes hundreds
    // of thousands of codes in a few transactions) a savepoint per code would
    // cost a tenth of the time, so a failed quick-access insert is undone by
    // deleting the pair it has just added; a crash rolls back the caller's
    // whole transaction anyway.
    const EscritaPar e = escrita(m_bd->dialecto());
    const int nivel = m_bd->nivelTransaccao();
    const bool propria = nivel == 0;
    bool acesso = false;   // the quick-access step has been reached
    bool ok = (!propria || m_bd->IniciaTransaccao()) && m_bd->Executa(e.par, e.valoresPar(pai, codigo));
    if (ok && m_bd->linhasAfectadas() > 0) {
        acesso = true;
        ok = m_bd->Executa(e.acesso, e.valoresAcesso(codigo));
        if (!ok && !propria) {
            const ErroBd erro = m_bd->ultimoErro();
            m_bd->Executa(QStringLiteral("DELETE FROM mvk_equivalencias WHERE ArtigoPai = ? AND ArtigoEquivalente = ?"),
                          {pai, codigo});
            m_bd->repoeErro(erro);
        }
    }
    if (propria)
        ok = ok && m_bd->TerminaTransaccao();
    if (!ok) {
        const ErroBd erro = m_bd->ultimoErro();
        while (m_bd->nivelTransaccao() > nivel)   // also when the commit itself failed
            m_bd->AnulaTransaccao();
        reporta(erro, QStringLiteral("Equivalencia_Escrever"),
                acesso ? comValores(sqlAcesso, {codigo}) : comValores(sqlPar, {pai, codigo}));
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
    if (!m_bd || !m_bd->AbreConsulta(sql, out_Equivalencias, {texto(m_codigo)})) {
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
    if (!m_bd || !m_bd->AbreConsulta(QStringLiteral("SELECT OBSERV, BLNOTAS From Artigos WHERE (CODIGO = ?)"), rs, {texto(chave)})) {
        reporta(QStringLiteral("Observacoes"));
        return QString();
    }
    if (rs.Eof())
        return QString();
    return semBrancos(rs.Valor(0)) + QStringLiteral("\r\n") + semBrancos(rs.Valor(1));
}

Recordset ArtigosSql::Pesquisar(const QString &codigo)
{
    Recordset rs;
    if (!m_bd || !m_bd->AbreConsulta(sqlPesquisa, rs, {texto(codigo), QStringLiteral(""), texto(codigo), QStringLiteral("")})) {
        reporta(QStringLiteral("Pesquisar"));
        return Recordset();
    }
    return rs;
}

QString ArtigosSql::consultaPesquisa() { return sqlPesquisa; }
