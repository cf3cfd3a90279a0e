#pragma once
#include "basesqlite.h"

#include <QTemporaryDir>

// A fresh SQLite file in a temporary folder, opened through LigacaoBd.
struct BaseTemporaria
{
    QTemporaryDir pasta;
    QString ficheiro;
    LigacaoBd bd;

    explicit BaseTemporaria(const QString &nome = QStringLiteral("teste.db"))
    {
        ficheiro = pasta.filePath(nome);
        BaseSqlite::criaVazia(bd, ficheiro);
    }
    static QString cadeia(const QString &ficheiro) { return BaseSqlite::cadeia(ficheiro); }
};
