#pragma once
#include "valores.h"

#include <QDate>
#include <QList>
#include <QString>

class LigacaoBd;

// One month of an article's history: what was sold and what was bought
// (received from suppliers) in it. A month without documents holds zeros.
struct MesHistorico
{
    QDate mes;   // its first day
    Moeda vendido, comprado;
};

// A supplier that quoted or sold the article: its last purchase (the same
// document kind and tie rules as the analysis' last purchase), its current
// quote (the newest of its quotes for the article), and its reference for the
// article (the purchase help's, else the quote's).
struct FornecedorHistorico
{
    QString codigo, nome, referencia;
    bool temCompra = false;
    QDate dataCompra;
    Moeda precoCompra;
    bool temCotacao = false;
    QDate dataCotacao;
    Moeda precoCotacao;
    bool maisBarato = false;

    // The price the supplier would sell at now: its quote, else its last purchase.
    Moeda preco() const { return temCotacao ? precoCotacao : precoCompra; }
};

// A line of a supplier order still pending for the article.
struct EncomendaHistorico
{
    QString documento;   // "ENF T/2020/12"
    QString fornecedor;
    QDate data;
    Moeda quantidade;
};

// Everything the article history shows.
struct DadosHistorico
{
    QString artigo, nome;
    bool existe = false;
    Moeda stock, minimo, maximo;
    QList<MesHistorico> meses;                 // oldest first, always Meses of them
    QList<FornecedorHistorico> fornecedores;   // cheapest first
    QList<EncomendaHistorico> pendentes;       // oldest first

    Moeda totalPendente() const;
};

// Reads one article's history from the ERP's tables, by the rules of the
// rupture analysis (LeitoresRuptura): sales and purchases are the lines of the
// document kinds the analysis counts, cancelled lines never count, dates are
// bound as date values over whole days (from the first day of the month
// Meses - 1 months before today's to the start of tomorrow), pending orders
// have no date bound, and the article's code is compared by the columns'
// collation, so "ra1 " reads the documents of "RA1". Six statements, each a
// search of one article in its index.
class HistoricoArtigo
{
public:
    static constexpr int Meses = 24;

    explicit HistoricoArtigo(LigacaoBd &bd) : m_bd(bd) {}

    // False when a statement failed (erro() says which and why); an article
    // that does not exist gives true with existe false and zeros everywhere.
    bool le(const QString &artigo, const QDate &hoje, DadosHistorico &d);
    QString erro() const { return m_erro; }

    // The first day of the oldest month shown.
    static QDate primeiroDia(const QDate &hoje);

private:
    bool falha(const QString &passo);
    bool leArtigo(const QString &artigo, DadosHistorico &d);
    bool leMovimentos(const QString &artigo, const QDate &hoje, DadosHistorico &d);
    bool lePendentes(const QString &artigo, DadosHistorico &d);
    bool leFornecedores(const QString &artigo, DadosHistorico &d);

    LigacaoBd &m_bd;
    QString m_erro;
};
