// What is ODBC's own: the connection through Qt's ODBC driver, the engine
// behind it (SQL Server, or a SQLite file through the SQLite ODBC driver),
// and the failures it reports as ErroBd numbers.
#include "ligacaobd.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {
// The value of one attribute of an ODBC connection text ("Database=..."), braces taken off.
QString atributoOdbc(const QString &odbc, const QString &nome)
{
    const QRegularExpression re(QStringLiteral("(?:^|;)\\s*%1\\s*=\\s*(\\{(?:[^}]|\\}\\})*\\}|[^;]*)").arg(nome),
                                QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(odbc);
    if (!m.hasMatch())
        return QString();
    QString v = m.captured(1).trimmed();
    if (v.startsWith(QLatin1Char('{')) && v.endsWith(QLatin1Char('}')))
        v = v.mid(1, v.size() - 2).replace(QStringLiteral("}}"), QStringLiteral("}"));
    return v;
}
} // namespace

bool LigacaoBd::preparaOdbc(const QString &odbc)
{
    QString texto = odbc;
    // The SQLite ODBC driver makes an empty database of a file that does not
    // exist: the file is checked as on a direct opening, and the driver told
    // never to create one.
    if (atributoOdbc(odbc, QStringLiteral("DRIVER")).contains(QLatin1String("SQLite"), Qt::CaseInsensitive)) {
        m_ficheiroOdbc = atributoOdbc(odbc, QStringLiteral("Database"));
        if (!verificaFicheiro(m_ficheiroOdbc))
            return false;
        const auto junta = [&](const QString &nome, const QString &valor) {
            if (atributoOdbc(odbc, nome).isEmpty())
                texto += (texto.endsWith(QLatin1Char(';')) ? QString() : QStringLiteral(";")) + nome + QLatin1Char('=') + valor + QLatin1Char(';');
        };
        junta(QStringLiteral("NoCreat"), QStringLiteral("1"));
        // The driver runs a statement that found the file locked once more
        // after SQLite's wait ran out, and again while fewer than Timeout ms
        // have passed since (0 or less means 100 s). With 1 ms it runs it
        // exactly twice (it pauses 10 ms before the second time): esperaAte
        // gives each run half the statement's wait.
        junta(QStringLiteral("Timeout"), QStringLiteral("1"));
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_nome);
    m_db.setDatabaseName(texto);
    m_dialecto = Dialecto(Dialecto::SqlServer);
    return true;
}

void LigacaoBd::ajustaOdbc()
{
    // The dialect is the engine's, whatever the driver is called: a SQLite
    // file behind ODBC speaks SQLite's SQL and has SQLite's settings.
    m_sqliteOdbc = false;
    m_espera = -1;
    {
        QSqlQuery q(m_db);
        m_sqliteOdbc = q.exec(QStringLiteral("SELECT sqlite_version()")) && q.next();
    }
    m_dialecto = Dialecto(m_sqliteOdbc ? Dialecto::SQLite : Dialecto::SqlServer);
    if (!m_sqliteOdbc)
        return;
    // The waits, the page cache and the log as on a file opened directly
    // (the driver knows nothing of the program's waits: its own is 100 s).
    esperaAte(m_esperaEscrita);
    QSqlQuery q(m_db);
    q.exec(QStringLiteral("PRAGMA cache_size = -65536"));
    if (!soLeitura() && q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next() && q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0) {
        // Not while another program holds the file: then it stays as it is.
        q.finish();
        esperaAte(m_esperaLeitura);
        q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
        esperaAte(m_esperaEscrita);
    }
}

bool LigacaoBd::soLeTexto(const QString &sql)
{
    const QString t = sql.trimmed();
    return t.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) || t.startsWith(QLatin1String("VALUES"), Qt::CaseInsensitive);
}

bool LigacaoBd::defineErroOdbcSqlite(const QSqlError &e, const QString &texto)
{
    // The SQLite ODBC driver reports SQLite's result code as the native error
    // (SQLSTATE HY000): the same ErroBd numbers as a file opened directly.
    bool ok = false;
    const int codigo = e.nativeErrorCode().section(QLatin1Char(' '), -1).toInt(&ok);
    if (!ok || codigo <= 0 || codigo > 0xFFFF)
        return false;
    QString motor = texto;
    motor.remove(QRegularExpression(QStringLiteral("\\s*\\(\\d+\\)\\s*$")));   // the code the driver adds at the end
    defineErroSqlite(codigo, motor);
    return true;
}

void LigacaoBd::defineErroSql(const QSqlError &e)
{
    const QString base = (e.databaseText().isEmpty() ? e.driverText() : e.databaseText()).trimmed();
    if (m_sqlite && defineErroQtSqlite(e, base))
        return;
    if (m_sqliteOdbc && defineErroOdbcSqlite(e, base))
        return;
    const QString nativo = e.nativeErrorCode();
    long numero = ErroBd::ErroComando;
    QString descricao = base;
    const QString servidor = nativo.section(QLatin1Char(' '), -1);   // SQL Server's error number
    if (base.contains(QLatin1String("no such table"), Qt::CaseInsensitive)
        || base.contains(QLatin1String("Invalid object name"), Qt::CaseInsensitive) || servidor == QLatin1String("208"))
        numero = ErroBd::TabelaInexistente;
    else if (servidor == QLatin1String("1222") || servidor == QLatin1String("1205")) {
        numero = ErroBd::BaseOcupada;
        descricao = QStringLiteral("A base de dados está bloqueada por outro programa (%1)").arg(base);
    } else if (servidor == QLatin1String("2627") || servidor == QLatin1String("2601") || servidor == QLatin1String("547"))
        numero = ErroBd::Restricao;
    else if (servidor == QLatin1String("8152") || servidor == QLatin1String("2628"))
        numero = ErroBd::TextoLongo;
    else if (e.type() == QSqlError::ConnectionError)
        numero = ErroBd::ErroLigacao;
    defineErro(numero, descricao);
}
