#pragma once
#include <QString>

class LigacaoBd;

// The equivalence importer: reads the table CLART (an article code in Codigo
// and up to five other codes of it in CL01 … CL05) and records every code that
// is neither Null nor blank as an equivalent of its article through
// Artigos::Equivalencia_Escrever, so the write's rules hold: no pair twice,
// and a quick-access code only with a new pair. Nothing is deleted first, so
// a second run adds nothing. The codes are written in transactions of whole
// rows, at least codigosPorLote codes each, and the windows are repainted
// after each of them and every thousand codes (input waits until the end).
//
// A code the database refuses (a key, a code longer than its column) is
// reported by Equivalencia_Escrever and the import goes on. When the database
// itself fails (locked, read-only, disk full or failing, connection lost,
// a batch whose commit fails) the open batch is rolled back and the import
// stops; when the importer's own step fails (no CLART, a missing column) the
// open batch is kept. Either way one message says why, at which row it
// stopped and what is really in the tables: how many codes, from which rows.
struct ResultadoImportacao
{
    int linhas = 0;           // CLART rows read through to the end
    int codigos = 0;          // codes handed to Equivalencia_Escrever
    int codigosGravados = 0;  // codes written and committed
    int linhasGravadas = 0;   // committed codes come from rows 1 to this one
    bool completa = false;
    QString erro;             // why it stopped, when it did not finish
};

ResultadoImportacao ImportaEquivalencias(LigacaoBd &bd, int codigosPorLote = 100000);
