#pragma once
#include "impressaogrelha.h"

#include <QList>
#include <QPrinter>
#include <QWidget>

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QToolBar;

// The print preview shown in place of a grid: a toolbar over the pages of an
// ImpressaoGrelha. Its tools, numbered as the program has always numbered
// them (ferramenta(n)): 2 "&Imprimir..." (the printer dialog, then the
// printing), 4 "Copiar" (the current page as a picture), 6 "Procurar" (the
// next page holding a text), 8 "Página Simples", 9 "Páginas Múltiplas",
// 11 "Diminuir", 12 "Aumentar", 15 "Página anterior", 16 "Página seguinte",
// 19 "Avançar" and 20 "Recuar" (through the pages seen, as a browser does),
// and 21 "Guardar PDF" (the document as a PDF file, ".pdf" added when the
// name lacks it). 13 shows the zoom and 17 the page; 0 and 1 are not offered.
// Dialogs go through DialogosImpressao.
class VisualizadorImpressao : public QWidget
{
    Q_OBJECT
public:
    explicit VisualizadorImpressao(QWidget *pai = nullptr);
    ~VisualizadorImpressao() override;

    // Shows a document from its first page; the file name offered for the PDF.
    void setDocumento(const ImpressaoGrelha &documento, const QString &nomePdf = QString());
    const ImpressaoGrelha &documento() const { return m_documento; }

    QAction *ferramenta(int numero) const { return m_ferramentas.value(numero); }
    QToolBar *barra() const { return m_barra; }
    QPrintPreviewWidget *previsao() const { return m_previsao; }
    int paginaActual() const;
    int paginas() const;
    void vaiParaPagina(int pagina);

    // The tools' actions.
    void imprime();
    void copia();
    bool procura();
    QString gravaPdf();
    void recua();
    void avanca();

private:
    QAction *ferramentaNova(int numero, const QIcon &icone, const QString &legenda, const QString &dica);
    void separador(int numero);
    void mudou();
    void mostraTopo(int pagina);
    void actualizaEstado();

    ImpressaoGrelha m_documento;
    QString m_nomePdf;
    QPrinter m_impressora{QPrinter::ScreenResolution};
    QToolBar *m_barra;
    QPrintPreviewWidget *m_previsao;
    QLabel *m_zoom;
    QLabel *m_pagina;
    QList<QAction *> m_ferramentas;
    QList<int> m_historico;
    int m_posicao = -1;
    bool m_aNavegar = false;
    QString m_procurado;
};

// Icons of the preview's tools.
namespace IconesImpressao {
QIcon imprimir();
QIcon copiar();
QIcon procurar();
QIcon paginaSimples();
QIcon paginasMultiplas();
QIcon diminuir();
QIcon aumentar();
QIcon pdf();
}
