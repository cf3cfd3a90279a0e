#pragma once
#include "recordset.h"

#include <QDate>
#include <QString>

class LigacaoBd;

// The per-article readers of the rupture window. Each takes the first and the
// last article code of a range (first = last for one article), reads through
// bd with every value bound, and sets rs to its result; false (with
// bd.ultimoErro()) when a query failed.
//
// Document kinds, by the flags of Tpdoc (Areag, tpoper, entidade, natconta,
// sinalct): sales (4, 2, 2, 1, 1), quantities pending from suppliers
// (2, 1, 1, 0, 2), supplier purchases (4, 1, 1, 1, 2). Cancelled lines
// (Linanu <> 0) never count.
//
// Ties are settled the same way here and in the set-wise analysis
// (AnaliseRuptura), so both always name the same supplier and date:
//  - last purchase: the newest header date; on the same date the line of the
//    highest year, then document number, then line number, then type and
//    series (all descending) - the last purchase entered that day;
//  - cheapest quote: the lowest price; on the same price the newest quote
//    date (a quote without a date comes last), then the lowest Id_Preco
//    (the quote recorded first).
namespace LeitoresRuptura {

// SQL conditions on the Tpdoc alias t that select each document kind.
extern const char *const CondicaoVendas;
extern const char *const CondicaoPendentes;
extern const char *const CondicaoCompras;
// ORDER BY that puts the winning purchase line first (aliases l and c).
extern const char *const OrdemUltimaCompra;
// ORDER BY that puts the winning quote first (table mvk_Precos_Forn, no alias).
extern const char *const OrdemPrecoEconomico;

// The sales window: from hoje minus dias to hoje, whole days. Lines dated on
// the last day count whatever their time of day, so the end is given as the
// first moment of the day after.
QDate inicioVendas(const QDate &hoje, int dias);
QDate fimVendasExclusivo(const QDate &hoje);
// The number of days as the "Dias" field holds it ("30", "30,00", empty = 0).
int diasDeTexto(const QString &texto);

}

// The price result set of LerUltimoPreco and LerPrecoEconomico, in memory:
// Artigo (text 15), Data (date), Preco (currency), Forn (text 15).
Recordset CriaRsPrecos();

// Sold quantity per article (Artigo, Qtd) over the sales window of dias days.
bool LerVendas180(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, int dias, const QDate &hoje, Recordset &rs);
// Quantity still pending from suppliers per article (Artigo, Qtd).
bool LerQtdFornecedor(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, Recordset &rs);
// The last purchase of each article that has one (price result set).
bool LerUltimoPreco(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, Recordset &rs);
// The cheapest quoted price of each article that has one (price result set).
bool LerPrecoEconomico(LigacaoBd &bd, const QString &primeiro, const QString &ultimo, Recordset &rs);
