#pragma once
#include "colunagrelha.h"

#include <QList>
#include <QStringList>

class Grelha;

// What a grid shows, taken at one moment, for printing and exporting: its
// visible columns in order (heading, width in twips, kind) and the rows that
// show anything in them, each as the texts of those columns. Rows with
// nothing shown (the empty rows kept for typing) are left out.
struct ConteudoGrelha
{
    // How cells become text: as the grid shows them, or for a spreadsheet
    // (numbers without thousands separators, Booleans "Sim" / "Não").
    enum Forma { ComoApresentado, ParaFolha };

    struct Coluna
    {
        QString titulo;
        int largura = 0;   // twips
        TipoColuna tipo = TipoColuna::Texto;
        bool numerica() const { return tipo == TipoColuna::Moeda || tipo == TipoColuna::Longo; }
    };

    QList<Coluna> colunas;
    QList<QStringList> linhas;

    static ConteudoGrelha de(const Grelha &grelha, Forma forma = ComoApresentado);
};
