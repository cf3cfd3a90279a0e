#pragma once
#include "recordset.h"
#include "valores.h"

#include <QString>
#include <QVariant>

class LigacaoBd;

// Single-record lookups in the ERP's tables shared by several windows. Each
// fills rs with the matching record (all columns); the caller tests Eof() for
// "no such record". A code is looked up as the literal text it is: quotes, %
// and _ have no special meaning. A null code matches nothing.
// They return false when the query itself failed (see bd.ultimoErro()).
bool LerFornecedor(LigacaoBd &bd, Recordset &rs, const QVariant &codigo);
bool LerCliente(LigacaoBd &bd, Recordset &rs, const QVariant &codigo);
bool LerArtigo(LigacaoBd &bd, Recordset &rs, const QVariant &codigo);
bool LerAjudaCompra(LigacaoBd &bd, Recordset &rs, const QVariant &artigo, const QVariant &fornecedor);
// The supplier's reference (RefArt) in the purchase-help record of an
// article and a supplier: the reference belongs to the pair, so a pair
// without a record has none (the empty text). False when the query failed.
bool LerReferenciaCompra(LigacaoBd &bd, const QVariant &artigo, const QVariant &fornecedor, QString *referencia);

// Writes the ERP's purchase-help record (AjudaCmp) of an article and a
// supplier with the supplier's reference and next price. An existing record
// gets only its article, supplier, reference, date of change (DataPart, now)
// and next price (PrProx), and keeps every other column; a new record gets
// every column, the others with the ERP's defaults (no date, zero prices and
// discounts, quantity 1, "EUR", empty texts). False when a statement failed
// (see bd.ultimoErro()).
bool GravaAjudaCompra(LigacaoBd &bd, const QString &artigo, const QString &fornecedor, const QString &referencia,
                      Moeda precoProximo);

// A database value as text: the empty text for null.
QString TextoDe(const QVariant &valor);
