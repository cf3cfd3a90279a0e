#pragma once
#include "conteudogrelha.h"

#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QString>

class Grelha;
class QPainter;
class QPrinter;

// A grid as a printed document. Every page has the header (its lines, given
// separated by CR LF, in bold 14-point Verdana, centred: for the price
// windows the title line, a blank line and the filter line), the column
// headings, as many rows as fit and the footer (12 points, at the right) in
// which "{page}" and "{pagecount}" become the page's number and the number of
// pages. The columns are the grid's visible ones with their proportions,
// narrowed when they do not fit the page; the page is landscape when they are
// wider than a portrait page. Heights are fixed in points, so the pages break
// in the same places on the preview, on paper and in a PDF file. An empty grid
// still makes one page, with the header, the headings and the footer.
class ImpressaoGrelha
{
public:
    // The footer of the price windows.
    static QString rodapePaginas() { return QStringLiteral("Página: {page} de {pagecount}"); }

    ImpressaoGrelha() = default;
    // What the grid shows now, with its font for the rows, and the header text.
    ImpressaoGrelha(const Grelha &grelha, const QString &cabecalho);

    void setConteudo(const ConteudoGrelha &conteudo) { m_conteudo = conteudo; }
    const ConteudoGrelha &conteudo() const { return m_conteudo; }
    void setCabecalho(const QString &texto) { m_cabecalho = texto; }
    QString cabecalho() const { return m_cabecalho; }
    void setRodape(const QString &texto) { m_rodape = texto; }
    QString rodape() const { return m_rodape; }
    void setFonte(const QFont &fonte) { m_fonte = fonte; }

    // A4 with 10 mm margins, landscape when the columns need it.
    QPageLayout paginacao() const;
    // Rows on each page and the number of pages for a page set-up.
    int linhasPorPagina(const QPageLayout &pagina) const;
    int paginas(const QPageLayout &pagina) const;
    // The texts of a page (from 1) in reading order: the header's lines, the
    // headings, each row (cells joined by tabs) and the footer.
    QStringList textos(const QPageLayout &pagina, int numero) const;

    // Draws the pages (the printer's page range, when it has one) with the
    // printer's own page set-up, letting the windows repaint every few pages.
    // False when the printer cannot be drawn on.
    bool imprime(QPrinter &impressora) const;
    // Writes the document as a PDF file with paginacao().
    bool gravaPdf(const QString &ficheiro, QString *erro = nullptr) const;
    // One page as a picture (white paper) at the given resolution.
    QImage imagem(const QPageLayout &pagina, int numero, int dpi) const;

private:
    struct Medidas;
    Medidas medidas(const QPageLayout &pagina) const;
    QStringList linhasCabecalho() const;
    QString textoRodape(int numero, int total) const;
    void desenhaPagina(QPainter &p, const QPageLayout &pagina, qreal dpi, int numero) const;

    ConteudoGrelha m_conteudo;
    QString m_cabecalho;
    QString m_rodape = rodapePaginas();
    QFont m_fonte{QStringLiteral("MS Sans Serif"), 8};
};
