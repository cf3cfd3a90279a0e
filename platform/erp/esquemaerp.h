#pragma once
#include <QStringList>

class LigacaoBd;

// The embedded ERP's tables (articles, suppliers, customers, documents, groups,
// families, sub-families, purchase help, alternative codes, companies, users
// and the series of each document type) and the system's own price and needs
// tables, for a SQLite file. Codes compare as on the ERP's server (COLLATE
// CODIGOERP, see ComparaCodigos).
namespace EsquemaErp {
// CREATE statements for every ERP table and index.
QStringList tabelasErp();
// CREATE statements for the system's own tables that the program expects to
// exist (supplier and customer prices, order needs). SQL Server installations
// run sqlserver/tabelas_proprias.sql instead.
QStringList tabelasProprias();
// The own tables added since the first installations (the price history),
// part of tabelasProprias() too. Their statements do nothing where the table
// is there already.
QStringList tabelasAcrescentadas();
// Creates on a SQLite file the added tables it lacks (a file made by an
// earlier version), all or nothing; run by the main window at every start.
// False (with the connection's error) when they could not be created.
bool actualiza(LigacaoBd &bd);
// Creates both sets in one transaction; false (with the connection's error) on failure.
bool cria(LigacaoBd &bd);
}
