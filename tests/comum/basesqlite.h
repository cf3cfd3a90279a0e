#pragma once
#include "cadeialigacao.h"
#include "ligacaobd.h"

#include <QFile>
#include <QTest>

#include <cstdio>
#include <cstdlib>

// Checks a database step, printing the connection's error when it fails.
#define VERIFICA_BD(bd, expr) QVERIFY2((expr), qPrintable((bd).ultimoErro().texto()))

// Every test program that touches a database runs once per connection kind,
// chosen by the environment variable TESSELA_TESTE_LIGACAO (ctest registers
// each such program once per kind, the kind in the test's name, see
// tests/CMakeLists.txt):
//   sqlite     the file through Qt's SQLite driver (the default);
//   odbc       the same file through Qt's ODBC driver and the SQLite ODBC
//              driver, with the program's code comparison loaded into it;
//   sqlserver  the database named by the ODBC connection text in
//              TESSELA_TESTE_ODBC; without it the program says so and is
//              skipped (exit code 77).
// The cases open their databases with BaseSqlite::cadeia, so they need
// nothing of their own to run on every kind.
namespace BaseSqlite {

enum class Tipo { Sqlite, Odbc, SqlServer };

inline Tipo tipo()
{
    const QByteArray t = qgetenv("TESSELA_TESTE_LIGACAO").trimmed().toLower();
    if (t == "odbc")
        return Tipo::Odbc;
    if (t == "sqlserver")
        return Tipo::SqlServer;
    return Tipo::Sqlite;
}

inline const char *nomeTipo()
{
    switch (tipo()) {
    case Tipo::Odbc:
        return "odbc";
    case Tipo::SqlServer:
        return "sqlserver";
    default:
        return "sqlite";
    }
}

// The connection text of a SQLite file, through the kind of this run.
inline QString cadeia(const QString &ficheiro)
{
    CadeiaLigacao c;
    c.BaseDados = ficheiro;
    switch (tipo()) {
    case Tipo::Odbc:
#ifdef TESSELA_EXTENSAO_CODIGOS
        c.Servidor = QStringLiteral("ODBC:DRIVER={SQLite3};Database=%1;LoadExt=%2;").arg(ficheiro, QStringLiteral(TESSELA_EXTENSAO_CODIGOS));
#else
        c.Servidor = QStringLiteral("ODBC:DRIVER={SQLite3};Database=%1;").arg(ficheiro);
#endif
        break;
    case Tipo::SqlServer:
        c.Servidor = QStringLiteral("ODBC:") + QString::fromLocal8Bit(qgetenv("TESSELA_TESTE_ODBC"));
        break;
    default:
        c.Servidor = QStringLiteral("SQLITE");
    }
    return c.Texto();
}

// The connection text of a SQLite file through Qt's SQLite driver whatever
// the kind: for what a test prepares or looks at beside the connection under
// test (a model file, another program's lock).
inline QString cadeiaDirecta(const QString &ficheiro)
{
    CadeiaLigacao c;
    c.Servidor = QStringLiteral("SQLITE");
    c.BaseDados = ficheiro;
    return c.Texto();
}

// Makes ficheiro an empty file (a valid, empty SQLite database) and opens it.
inline bool criaVazia(LigacaoBd &bd, const QString &ficheiro)
{
    QFile f(ficheiro);
    f.open(QIODevice::WriteOnly);
    f.close();
    return bd.Abre(cadeia(ficheiro));
}

// Says on the first line which kind this run is, and ends a run on SQL Server
// without a server named (77: ctest's skipped).
inline bool anunciaTipo()
{
    std::fprintf(stdout, "Ligação dos casos: %s\n", nomeTipo());
    if (tipo() == Tipo::SqlServer && qEnvironmentVariableIsEmpty("TESSELA_TESTE_ODBC")) {
        std::fprintf(stdout, "SKIP: os casos em SQL Server não correm: a variável TESSELA_TESTE_ODBC não está definida "
                             "(dê-lhe o texto de ligação ODBC de uma base de ensaio).\n");
        std::fflush(stdout);
        std::_Exit(77);
    }
    std::fflush(stdout);
    return true;
}
inline const bool tipoAnunciado = anunciaTipo();

} // namespace BaseSqlite

// A case that exercises what only Qt's SQLite driver on the file itself has
// (the SQLite handle: its lock waits, journal, memory map, file identity)
// says so and is skipped on the other kinds.
#define SO_SQLITE_DIRECTO(motivo)                                                                                                 \
    do {                                                                                                                          \
        if (BaseSqlite::tipo() != BaseSqlite::Tipo::Sqlite)                                                                       \
            QSKIP(qPrintable(QStringLiteral("Só pelo SQLite directo: %1").arg(QStringLiteral(motivo))));                         \
    } while (0)
