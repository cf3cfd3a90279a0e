#pragma once
#include "impressaogrelha.h"

#include <QObject>

class Grelha;
class QWidget;
class VisualizadorImpressao;

// A window's grid and its print preview shown in its place: what every window
// that prints a grid does alike. prepara() takes the document from the grid
// as it shows now, with the window's header; alterna() switches between the
// grid and the preview (laid over the grid, the pages laid out for its size,
// the PDF file named after the window) and tells which one is shown now;
// exporta() writes the grid as a CSV file (ExportaCsv). What else the window
// locks while the preview is shown is the window's own business.
class PrevisaoGrelha : public QObject
{
    Q_OBJECT
public:
    // The preview is made hidden, a child of the grid's window.
    explicit PrevisaoGrelha(Grelha *grelha);

    void prepara(const QString &cabecalho);
    // True when the preview is shown after the switch.
    bool alterna(const QString &nomeFicheiro);
    bool emPrevisao() const;
    // The file written, or the empty text.
    QString exporta(const QString &nomeFicheiro) const;

    VisualizadorImpressao *visualizador() const { return m_visualizador; }
    const ImpressaoGrelha &documento() const { return m_documento; }

private:
    Grelha *m_grelha;
    VisualizadorImpressao *m_visualizador;
    ImpressaoGrelha m_documento;
};
