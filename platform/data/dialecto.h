#pragma once
#include <QString>
#include <QVariant>

// The one place that knows how SQLite and SQL Server differ. Everything else
// writes portable SQL with ? placeholders and asks here for the few pieces
// that are not portable.
//
// Recording (the statement catalogue, RegistoInstrucoes): a SQLite connection
// opened while recording gets Dialecto(SQLite, true). Its pieces of text then
// carry both dialects, marked: conforme(sqlServer, sqlite) gives
// "\uE000<sqlServer>\uE001<sqlite>\uE002", and the pieces nest. The connection
// runs lado(sql, SQLite) and records lado(sql, SqlServer), so the statement
// written down for the server is the very one the code built, while the test
// runs it on SQLite. motor() is the engine that runs the statements (SQLite),
// so values and types follow it.
class Dialecto
{
public:
    enum Motor { SQLite, SqlServer };

    explicit Dialecto(Motor m = SQLite, bool registo = false) : m_motor(m), m_registo(registo && m == SQLite) {}
    Motor motor() const { return m_motor; }
    bool registo() const { return m_registo; }

    // The text of each dialect: the SQL Server one or the SQLite one, by the
    // engine; both, marked, while recording.
    QString conforme(const QString &sqlServer, const QString &sqlite) const;
    // One side of a text made by conforme (a text without marks is both).
    static QString lado(const QString &sql, Motor motor);
    static bool temMarcas(const QString &sql);

    // "SELECT [DISTINCT] TOP n <resto>" or "SELECT [DISTINCT] <resto> LIMIT n".
    // <resto> is everything after the select keyword(s), including any ORDER BY.
    QString primeiros(int n, const QString &resto, bool distinto = false) const;
    // A date parameter placeholder (the bound value is a QDate or QDateTime).
    QString parametroData() const;
    // The current date and time as an SQL expression.
    QString agora() const;
    // "DELETE FROM <tabela>": SQL Server allows the FROM to be left out, SQLite does not.
    QString apaga(const QString &tabela) const;
    // Text column type of the given length that compares as codes do on the
    // ERP's server (on SQLite: COLLATE CODIGOERP, see ComparaCodigos).
    QString tipoTexto(int comprimento) const;
    // Integer key assigned by the database.
    QString tipoChaveAutomatica() const;
    QString tipoData() const;
    // CREATE INDEX that does nothing when an index of that name exists.
    QString criaIndiceSeNaoExiste(const QString &indice, const QString &tabela, const QString &colunas) const;
    QString tipoMoeda() const;
    // The condition "coluna begins with a literal prefix", with the values to
    // bind from valoresComecaPor(). On SQLite an index range under the
    // column's collation (>= prefix and < prefix + the highest character), so
    // that it matches as the column compares and its index serves it; on SQL
    // Server a LIKE with an escaped pattern. Quotes, %, _, [ and \ in the
    // prefix match only themselves.
    QString comecaPor(const QString &coluna) const;
    QVariantList valoresComecaPor(const QString &prefixo) const;
    // A LIKE pattern matching texts that begin with the literal text prefixo:
    // %, _, [ and the escape character itself match only themselves.
    // Use with " LIKE ? ESCAPE '\\'".
    static QString padraoPrefixo(const QString &prefixo);
    static QString escapeLike() { return QStringLiteral(" ESCAPE '\\'"); }
    // The table of a read whose answer decides a write in the same
    // transaction (the next free number): on SQL Server the rows read keep an
    // update lock to the end of the transaction, so a second writer waits
    // instead of reading the same answer; on SQLite the write transaction
    // (BEGIN IMMEDIATE) already keeps every other writer out.
    QString tabelaReservada(const QString &tabela) const;
    // Converts a value for binding (dates as text in SQLite).
    QVariant paraParametro(const QVariant &v) const;

private:
    Motor m_motor;
    bool m_registo = false;
};
