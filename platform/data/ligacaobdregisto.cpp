// The connection's part in the statement catalogue (RegistoInstrucoes): what
// a recording connection writes down of each statement it runs.

#include "ligacaobd.h"

#include <QSqlQuery>

#include <sqlite3.h>

void LigacaoBd::instalaRegisto()
{
    if (m_sqlite && m_dialecto.registo())
        sqlite3_set_authorizer(m_sqlite, &LigacaoBd::autorizaSqlite, this);
}

int LigacaoBd::autorizaSqlite(void *ligacao, int accao, const char *a, const char *b, const char *, const char *)
{
    auto *bd = static_cast<LigacaoBd *>(ligacao);
    const auto nome = [](const char *t) { return t ? QString::fromUtf8(t) : QString(); };
    RegistoInstrucoes::Tipo tipo;
    QString tabela = nome(a), coluna;
    switch (accao) {
    case SQLITE_READ:
        tipo = RegistoInstrucoes::Le;
        coluna = nome(b);
        break;
    case SQLITE_UPDATE:
        tipo = RegistoInstrucoes::Altera;
        coluna = nome(b);
        break;
    case SQLITE_INSERT:
        tipo = RegistoInstrucoes::Insere;
        break;
    case SQLITE_DELETE:
        tipo = RegistoInstrucoes::Apaga;
        break;
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_VIEW:
        tipo = RegistoInstrucoes::Cria;
        break;
    case SQLITE_CREATE_INDEX:
        tipo = RegistoInstrucoes::Cria;
        tabela = nome(b);
        break;
    default:
        return SQLITE_OK;
    }
    // SQLite's own catalogue stands for the server's INFORMATION_SCHEMA, which
    // needs no grant.
    if (tabela.isEmpty() || tabela.startsWith(QLatin1String("sqlite_")) || tabela.startsWith(QLatin1String("pragma_")))
        return SQLITE_OK;
    const RegistoInstrucoes::Acesso acesso{tipo, tabela, coluna};
    if (!bd->m_acessos.contains(acesso))
        bd->m_acessos << acesso;
    return SQLITE_OK;
}

void LigacaoBd::anota(const QString &sql)
{
    if (!m_dialecto.registo())
        return;
    // A statement without a SQL Server side is SQLite's own (its settings).
    const QString servidor = Dialecto::lado(sql, Dialecto::SqlServer);
    if (!servidor.trimmed().isEmpty())
        RegistoInstrucoes::anota(servidor, m_acessos);
}

bool LigacaoBd::soNoServidor(const QString &sql)
{
    if (!m_dialecto.registo() || !Dialecto::lado(sql, Dialecto::SQLite).trimmed().isEmpty())
        return false;
    m_acessos.clear();
    anota(sql);
    return true;
}

QString LigacaoBd::textoParaPreparar(const QString &sql)
{
    if (!m_dialecto.registo() || !m_sqlite)
        return sql;
    const QString sqlite = Dialecto::lado(sql, Dialecto::SQLite);
    // Prepared once here only for SQLite's authorizer to tell what it touches.
    m_acessos.clear();
    const QByteArray texto = sqlite.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(m_sqlite, texto.constData(), int(texto.size()), &stmt, nullptr) == SQLITE_OK)
        anota(sql);
    sqlite3_finalize(stmt);
    m_acessos.clear();
    return sqlite;
}
