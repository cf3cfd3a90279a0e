#pragma once
#include "valores.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

class Grelha;
class LigacaoBd;

// One changed row of a price grid, as it is written.
struct LinhaPreco
{
    int linha = 0;           // grid row (from 1), to name it in a failure
    QString entidade;        // supplier (or customer) code
    QString artigo;
    QDate data;
    Moeda preco;
    QString referencia;      // the empty text when the cell has none
    QVariant obs;            // as it stands; no value is written as NULL
};

// A changed row with a price that cannot be written: its grid row (from 1),
// the data column to put right and why, as the end of a sentence
// ("falta o artigo").
struct LinhaRecusada
{
    int linha = 0;
    int coluna = 0;
    QString motivo;
};

// Where a price grid is saved: its table, the column of the supplier or
// customer code, and whether the reference and the ERP's purchase-help record
// are written too.
struct DestinoPrecos
{
    QString tabela;
    QString colunaEntidade;
    bool gravaReferencia = false;
    bool ajudaCompra = false;

    static DestinoPrecos fornecedores()
    {
        return {QStringLiteral("mvk_Precos_Forn"), QStringLiteral("Fornecedor"), true, true};
    }
    static DestinoPrecos clientes() { return {QStringLiteral("mvk_Precos_Clientes"), QStringLiteral("Cliente"), false, false}; }
};

// Saves a price grid. The price of a (supplier, article) pair is one record:
// a changed row overwrites the first record of its pair and adds one only
// when the pair has none, so two rows of one pair both write it, the last
// winning. Then the removed records are deleted by Id and, for suppliers,
// each row's price becomes the next price of the ERP's purchase-help record
// of its pair (GravaAjudaCompra: an existing record gets only article,
// supplier, reference, date of change and next price; a new one every column
// with its defaults).
// Before a record is overwritten with a different value, and before one is
// deleted, its value goes into the price history (HistoricoPrecos) with the
// system user's name.
// All of it is one transaction: on any failure nothing stays written, the
// history included, and erro() names the failure.
class GravacaoPrecos
{
public:
    explicit GravacaoPrecos(LigacaoBd &bd, DestinoPrecos destino = DestinoPrecos::fornecedores())
        : m_bd(bd), m_destino(std::move(destino))
    {
    }

    // The rows to write, in grid order: changed (Altera) and with supplier
    // (customer), article, a date and a price. A changed row without a price
    // is skipped; one with a price that lacks anything else, or whose date or
    // price does not read, goes to *recusadas instead, so that no typed price
    // is dropped without a word.
    static QList<LinhaPreco> linhasAlteradas(const Grelha &grelha, const DestinoPrecos &destino = DestinoPrecos::fornecedores(),
                                             QList<LinhaRecusada> *recusadas = nullptr);
    // The message naming each refused row and why.
    static QString textoRecusadas(const QList<LinhaRecusada> &recusadas);

    // Writes the rows, deletes the records of idsAApagar (0 deletes nothing)
    // and, for suppliers, updates the purchase help; in one transaction.
    bool grava(const QList<LinhaPreco> &linhas, const QList<qint64> &idsAApagar);

    // What failed ("Erro n (descrição)" and the record it was writing).
    QString erro() const { return m_erro; }

private:
    bool gravaPreco(const LinhaPreco &l);
    bool gravaAjudaCompra(const LinhaPreco &l);
    bool falha(const QString &onde);

    LigacaoBd &m_bd;
    DestinoPrecos m_destino;
    QString m_erro;
    QString m_utilizador;
};
