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
// The columns of mvk_Necessidades that keep each need in at most one supplier
// order (see ReservasNecessidades): Versao counts the saves of the need;
// Reserva, ReservaDono and ReservaData name the generation that claimed it;
// EncTpdoc, EncSerie, EncAno and EncNumero the order that holds it (the
// expected type, series and year while claimed, the number once processed).
QStringList colunasReserva();
// Brings an existing SQLite file up to date, in one transaction: the columns
// above in mvk_Necessidades (with the index of the claims), the header's
// reference in DOCGCCAB and the added tables, each only when missing. Tables
// that do not exist are left alone; SQL Server installations run
// sqlserver/tabelas_proprias.sql. Run at every start of the main window, at
// the ERP's connection and before each load and generation. False (with the
// connection's error) on failure.
bool actualiza(LigacaoBd &bd);
// Creates both sets in one transaction; false (with the connection's error) on failure.
bool cria(LigacaoBd &bd);
}
