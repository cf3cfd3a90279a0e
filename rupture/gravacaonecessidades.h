#pragma once
#include "valores.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

class Grelha;
class LigacaoBd;

// One row of the needs grid as it is saved.
struct LinhaNecessidade
{
    int linha = 0;           // grid row (from 1), to name it in a failure
    QVariant id;             // the need's Id; none for a row typed in the grid
    QString artigo;
    QString refArt;
    Moeda qtd;
    bool comQtd = false;     // the quantity cell holds a number (0 included)
    QString fornec;          // the empty text when the row has no supplier
    Moeda prUnit;
    QDate dataPedido;        // invalid: written as NULL
};

// Saves the needs grid of "Necessidades de Encomendas": every row with an
// article and a quantity above zero rewrites all the columns of its need, or
// becomes a new pending need when it has no Id or its need no longer exists;
// then the needs removed from the grid are deleted. All of it is one
// transaction: on any failure nothing stays written and erro() names what
// failed, so the window can keep the grid and the removed rows as they are.
class GravacaoNecessidades
{
public:
    explicit GravacaoNecessidades(LigacaoBd &bd) : m_bd(bd) {}

    // The rows to write, in grid order; the others are skipped without a word.
    static QList<LinhaNecessidade> linhasAGravar(const Grelha &grelha);
    // Any row of the grid (r from 0) as it would be written; an empty
    // article when the row has none.
    static LinhaNecessidade leLinha(const Grelha &grelha, int r);

    // Writes the rows (Processado = 0) and deletes idsAApagar, in one transaction.
    bool grava(const QList<LinhaNecessidade> &linhas, const QList<qint64> &idsAApagar);

    // What failed ("Erro n (descrição)" and the row or need concerned).
    QString erro() const { return m_erro; }

private:
    bool gravaLinha(const LinhaNecessidade &l);
    bool falha(const QString &onde);

    LigacaoBd &m_bd;
    QString m_erro;
};
