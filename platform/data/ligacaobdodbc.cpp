// What is ODBC's own: the connection through Qt's ODBC driver and the
// failures it reports (SQL Server's error numbers) as ErroBd numbers.
#include "ligacaobd.h"

#include <QSqlError>

void LigacaoBd::preparaOdbc(const QString &odbc)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_nome);
    m_db.setDatabaseName(odbc);
    m_dialecto = Dialecto(odbc.contains(QLatin1String("SQLite"), Qt::CaseInsensitive) ? Dialecto::SQLite : Dialecto::SqlServer);
}

void LigacaoBd::defineErroSql(const QSqlError &e)
{
    const QString base = (e.databaseText().isEmpty() ? e.driverText() : e.databaseText()).trimmed();
    if (m_sqlite && defineErroQtSqlite(e, base))
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
