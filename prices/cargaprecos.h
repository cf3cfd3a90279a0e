#pragma once
#include "grelhaprecos.h"

#include <QString>

class Grelha;
class LigacaoBd;
class Recordset;

// Loading the price grid: the supplier prices of the system's own table
// (mode 1) or the purchase lines of the ERP's purchase documents (any other
// mode), filtered by supplier and/or article, ordered by supplier, article and
// date (newest first); or the customer prices, filtered by customer and/or
// article in the same way. One query brings each row with the supplier's (or
// customer's) and the article's names and, for purchases, the reference of
// the purchase-help record, for customers the article's last purchase price,
// so the load costs one statement however many rows it has; a name or
// reference that does not exist comes as the empty text. Filter values are
// bound, never pasted into the statement.
namespace CargaPrecos {

// Runs the query of the side and mode. The fields come in the grid's
// data-column order: supplier (customer), its name, article, its name,
// reference (last purchase price), date, price and, but for purchases, the
// record's Id and observation.
bool consulta(LigacaoBd &bd, LadoPrecos lado, int tipo, const QString &entidade, const QString &artigo, Recordset &rs);

// Writes the rows of consulta() into a grid whose columns are set up, from its
// first row on, growing it so that at least one empty row follows the last
// one filled. Gives the number of rows filled. The caller switches redraw off.
int preenche(Grelha &grelha, const Recordset &rs, LadoPrecos lado, int tipo);

// Both, as the load button does: false (with bd.ultimoErro()) when the query
// failed; *linhas receives the rows filled.
bool carrega(LigacaoBd &bd, Grelha &grelha, LadoPrecos lado, int tipo, const QString &entidade, const QString &artigo,
             int *linhas);
// The supplier prices (tipo 1) or the purchases.
inline bool carrega(LigacaoBd &bd, Grelha &grelha, int tipo, const QString &fornecedor, const QString &artigo, int *linhas)
{
    return carrega(bd, grelha, LadoPrecos::Fornecedores, tipo, fornecedor, artigo, linhas);
}

// Rows of a grid that started with linhasIniciais once registos rows have
// been filled, one at a time: a row is added whenever the count of filled
// rows reaches the last row.
int linhasDepois(int registos, int linhasIniciais);

}
