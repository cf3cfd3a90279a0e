#pragma once
#include "recordset.h"

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

// A database value as text: the empty text for null.
QString TextoDe(const QVariant &valor);
