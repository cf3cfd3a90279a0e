#pragma once
#include <QString>

class LigacaoBd;

// The equivalence importer: reads the table CLART (an article code in Codigo
// and up to five other codes of it in CL01 … CL05) and records every code that
// is neither Null nor blank as an equivalent of its article through
// Artigos::Equivalencia_Escrever, so the write's rules hold: no pair twice,
// and a quick-access code only with a new pair. Nothing is deleted first, so
// a second run adds nothing. The codes are written in transactions of
// codigosPorLote codes, and the windows are repainted after each of them and
// every thousand codes (input waits until the end).
//
// A failure inside Equivalencia_Escrever is reported by that operation and the
// import goes on. A failure of the importer's own steps (no CLART, a missing
// column, a lost connection) stops it there: what was processed before stays
// written, and one message says where it stopped and why.
struct ResultadoImportacao
{
    int linhas = 0;       // CLART rows read through to the end
    int codigos = 0;      // codes handed to Equivalencia_Escrever
    bool completa = false;
    QString erro;         // why it stopped, when it did not finish
};

ResultadoImportacao ImportaEquivalencias(LigacaoBd &bd, int codigosPorLote = 100000);
