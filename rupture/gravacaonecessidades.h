#pragma once
#include "valores.h"

#include <QDate>
#include <QHash>
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

// A need the save left alone, and why.
struct NecessidadeSaltada
{
    qint64 id = 0;
    QString artigo;
    QString motivo;   // "já foi encomendada", "está a ser encomendada", "foi alterada noutra janela"
};

// Saves the needs grid of "Necessidades de Encomendas": every row with an
// article and a quantity above zero rewrites all the columns of its need, or
// becomes a new pending need when it has no Id or its need no longer exists;
// then the needs removed from the grid are deleted. A need is written or
// deleted only while it is still pending, unclaimed by a generation and (when
// the version read by the load is given) unchanged since the load: every save
// counts up its Versao. The others are left alone and listed by saltadas(),
// and the rest is saved. All of it is one transaction: on any failure nothing
// stays written and erro() names what failed, so the window can keep the grid
// and the removed rows as they are.
class GravacaoNecessidades
{
public:
    explicit GravacaoNecessidades(LigacaoBd &bd) : m_bd(bd) {}

    // The rows to write, in grid order; the others are skipped without a word.
    static QList<LinhaNecessidade> linhasAGravar(const Grelha &grelha);
    // Any row of the grid (r from 0) as it would be written; an empty
    // article when the row has none.
    static LinhaNecessidade leLinha(const Grelha &grelha, int r);

    // Writes the rows (Processado = 0) and deletes idsAApagar, in one
    // transaction. versoes: the Versao of each need as the load read it.
    bool grava(const QList<LinhaNecessidade> &linhas, const QList<qint64> &idsAApagar,
               const QHash<qint64, qint64> &versoes = {});

    // What failed ("Erro n (descrição)" and the row or need concerned).
    QString erro() const { return m_erro; }
    // The needs left alone by the last grava, in grid order, the removed ones after.
    const QList<NecessidadeSaltada> &saltadas() const { return m_saltadas; }
    // One text naming them and why, for the buyer; empty when there are none.
    QString textoSaltadas() const;

private:
    bool gravaLinha(const LinhaNecessidade &l, const QHash<qint64, qint64> &versoes);
    bool apaga(qint64 id, const QHash<qint64, qint64> &versoes);
    // Why the need id was not changed: false when it no longer exists.
    bool saltada(qint64 id, const QString &artigo, bool *existe);
    bool falha(const QString &onde);

    LigacaoBd &m_bd;
    QString m_erro;
    QList<NecessidadeSaltada> m_saltadas;
};
