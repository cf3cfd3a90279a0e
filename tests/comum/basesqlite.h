#pragma once
#include "cadeialigacao.h"
#include "ligacaobd.h"

#include <QFile>
#include <QTest>

// Checks a database step, printing the connection's error when it fails.
#define VERIFICA_BD(bd, expr) QVERIFY2((expr), qPrintable((bd).ultimoErro().texto()))

namespace BaseSqlite {

// The connection text of a SQLite file.
inline QString cadeia(const QString &ficheiro)
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

} // namespace BaseSqlite
