#pragma once
#include "basedados.h"
#include "basesqlite.h"
#include "criaobjecto.h"
#include "esquemaerp.h"
#include "ligacaobd.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A fresh SQLite file: empty, with the ERP's tables, or with those and the
// equivalence schema installed by BaseDados (the class registry must be set
// up first). Empty codes are bound as '' (never Null).
struct BaseEquiv
{
    enum Conteudo { Vazia, SoErp, Instalada };
    QTemporaryDir pasta;
    QString ficheiro = pasta.filePath(QStringLiteral("teste.db"));
    LigacaoBd bd;

    explicit BaseEquiv(Conteudo conteudo = Instalada)
    {
        BaseSqlite::criaVazia(bd, ficheiro);
        if (conteudo != Vazia)
            EsquemaErp::cria(bd);
        if (auto esquema = conteudo == Instalada ? CriaObjecto<BaseDados>() : nullptr) {
            esquema->setBd(&bd);
            esquema->VerificaBaseDeDados();
        }
    }
    static QString cadeia(const QString &ficheiro) { return BaseSqlite::cadeia(ficheiro); }
    static QString texto(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }
    bool artigo(const QString &codigo, double stock = 10, double valor = 25, int inactivo = 0,
                const QVariant &obs = QVariant(), const QVariant &notas = QVariant())
    {
        return bd.Executa(QStringLiteral("INSERT INTO Artigos (CODIGO, NOME, ULTPRCOM, VLREXIST, STDISP, TOTENCFO, TotEnccl, "
                                         "PVPSIVA, INACTIVO, OBSERV, BLNOTAS) VALUES (?, ?, 1.5, ?, ?, 4, 1, 9.9, ?, ?, ?)"),
                          {texto(codigo), QStringLiteral("Artigo ") + codigo, valor, stock, inactivo, obs, notas});
    }
    bool par(const QString &pai, const QString &equivalente)
    {
        return bd.Executa(QStringLiteral("INSERT INTO mvk_equivalencias VALUES (?, ?)"), {texto(pai), texto(equivalente)});
    }
    int conta(const QString &sql, const QVariantList &valores = {}) { return bd.valorUnico(sql, valores).toInt(); }
    int pares() { return conta(QStringLiteral("SELECT count(*) FROM mvk_equivalencias")); }
    int acessos() { return conta(QStringLiteral("SELECT count(*) FROM mvk_AcessoRapido")); }
    // An article's equivalent codes in order, as "a|b|c".
    QString codigosDe(const QString &pai)
    {
        return bd.valorUnico(QStringLiteral("SELECT group_concat(ArtigoEquivalente, '|') FROM (SELECT ArtigoEquivalente "
                                            "FROM mvk_equivalencias WHERE ArtigoPai = ? ORDER BY 1)"),
                             {pai})
            .toString();
    }
};
