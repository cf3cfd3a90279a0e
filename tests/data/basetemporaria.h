#pragma once
#include "cadeialigacao.h"
#include "ligacaobd.h"

#include <QTemporaryDir>
#include <QTest>

// A fresh SQLite file in a temporary folder, opened through LigacaoBd.
struct BaseTemporaria
{
    QTemporaryDir pasta;
    QString ficheiro;
    LigacaoBd bd;

    explicit BaseTemporaria(const QString &nome = QStringLiteral("teste.db"))
    {
        ficheiro = pasta.filePath(nome);
        QFile f(ficheiro);
        f.open(QIODevice::WriteOnly);   // an empty file is a valid, empty SQLite database
        f.close();
        bd.Abre(cadeia(ficheiro));
    }
    static QString cadeia(const QString &ficheiro)
    {
        CadeiaLigacao c;
        c.Servidor = QStringLiteral("SQLITE");
        c.BaseDados = ficheiro;
        return c.Texto();
    }
};

#define VERIFICA_BD(bd, expr) QVERIFY2((expr), qPrintable((bd).ultimoErro().texto()))
