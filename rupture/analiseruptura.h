#pragma once
#include "valores.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

class LigacaoBd;
class Recordset;

// What a load asks for: the mode, the ranges of the filter fields as they
// stand (trimmed, empty = no bound), the days of sales and "Com Previsão",
// and the day the sales window ends.
struct FiltrosRuptura
{
    int Tipo = 1;   // 1 "Ruptura de Stocks", any other value "Necessidades de Encomendas"
    QString artigoDe, artigoAte;
    QString grupoDe, grupoAte;
    QString familiaDe, familiaAte;
    QString subFamiliaDe, subFamiliaAte;
    int dias = 0;
    bool comPrevisao = false;
    QDate hoje = QDate::currentDate();
};

// One row of the needs grid as a load produces it. In mode 1 every field
// carries the analysis; in mode 2 only the need's own columns, the article's
// name and stock and the quantity pending from suppliers.
struct LinhaRuptura
{
    qint64 id = 0;
    QString artigo, descr, refForn;
    Moeda stkExt, stkMin, stkMax, pendForn, enc;
    QString forn;
    Moeda ultPrec, precEc, prev;
    QString fornUlt, fornMenos;
    QDate dataUlt, dataMenos;
    // Mode 2: the need's Versao when it was read; a save changes it only
    // while it is still the same (0 in mode 1).
    qint64 versao = 0;

    bool operator==(const LinhaRuptura &) const = default;
};

// A pending need as the load reads it, before the analysis.
struct NecessidadePendente
{
    qint64 id = 0;
    QString artigo;
    QString refArt;
    Moeda qtd;
    QString nome;
    Moeda stDisp, stMin, stMax;
};

// Loading of the rupture window.
//
// Mode 1 analyses every pending need of the ranges: what is still pending
// from suppliers, the sales of the last days, the last purchase and the
// cheapest quote of its article; the quantity to order is the need's
// quantity less what is pending (less the sales too "Com Previsão"), and only
// needs with something left to order give a row, proposing the supplier of the
// cheapest quote. analisa() does it set-wise: a handful of grouped statements
// over the articles of the needs of the load, whatever their number.
// porNecessidade() is the same analysis done need by need with the four
// readers, as the window has always done it; it is kept as the reference the
// tests and the benchmark compare against, and both give the same rows (the
// tie rules are in leitoresruptura.h).
//
// Mode 2 lists the pending needs of the article range (both bounds needed)
// with the quantity pending from suppliers of each article.
//
// Progress: each step is reported before it starts, and again about every
// intervalo ms while its statement runs (SQLite), so a window stays painted
// and can stop the load in the middle of a statement.
//
// Range rules: in mode 1 each filled bound restricts on its own; the family
// bounds count only when a group bound is filled, the sub-family bounds only
// when a group bound and a family bound are. Rows come in article order (then
// by need, the order the needs were recorded). Every value is bound.
class AnaliseRuptura
{
public:
    // Told each step of a long load: what is being done, and how far (feito
    // of total, both 0 when the step has no count). Answering false stops the
    // load, which then returns false with parada() true.
    using Progresso = std::function<bool(const QString &passo, int feito, int total)>;

    // ms between two reports while one statement runs.
    static constexpr int IntervaloProgresso = 50;

    explicit AnaliseRuptura(LigacaoBd &bd) : m_bd(bd) {}

    void setProgresso(Progresso p, int intervalo = IntervaloProgresso)
    {
        m_progresso = std::move(p);
        m_intervalo = intervalo;
    }

    // The load of the filters' mode. False when a statement failed (erro()
    // says which and why) or the load was stopped (parada()).
    bool carrega(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas);
    bool analisa(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas);
    bool listaNecessidades(const FiltrosRuptura &f, QList<LinhaRuptura> &linhas);

    // The pending needs of the mode-1 ranges, in load order.
    bool necessidades(const FiltrosRuptura &f, QList<NecessidadePendente> &lista);
    // The analysis of the given needs one at a time with the readers.
    bool porNecessidade(const FiltrosRuptura &f, const QList<NecessidadePendente> &lista, QList<LinhaRuptura> &linhas);

    QString erro() const { return m_erro; }
    bool parada() const { return m_parada; }

    // The WHERE conditions (after "Processado = 0") of the needs of a load,
    // on mvk_Necessidades n joined to Artigos a, with their values.
    static QString condicoes(const FiltrosRuptura &f, QVariantList &valores);

private:
    // The figures of a need's article: pending from suppliers, sales of the
    // window, last purchase, cheapest quote and its purchase-help reference.
    struct Figuras
    {
        Moeda pend, vendas;
        Moeda ultPrec, precEc;
        QString fornUlt, fornMenos, refAjuda;
        QDate dataUlt, dataMenos;
    };
    static Moeda aEncomendar(const NecessidadePendente &n, const Figuras &x, bool comPrevisao);
    // The grid row of a need, or false when nothing is left to order.
    static bool linhaAnalisada(const NecessidadePendente &n, const Figuras &x, bool comPrevisao, LinhaRuptura &l);

    bool falha(const QString &passo);
    bool avanca(const QString &passo, int feito = 0, int total = 0);
    // Reads a step's statement, reporting the step while it runs; false when
    // it failed (with the step in the error) or the load was stopped.
    bool consulta(const QString &passo, const QString &sql, const QVariantList &valores, Recordset &rs);

    LigacaoBd &m_bd;
    Progresso m_progresso;
    int m_intervalo = IntervaloProgresso;
    QString m_erro;
    bool m_parada = false;
};
