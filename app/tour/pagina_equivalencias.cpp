// Tour pages of the equivalence windows: the search window with its code box
// suggesting codes, the same window after a search with an article's
// observations shown, and the record window with an article and its codes.

#include "contextotour.h"
#include "paginatour.h"

#include "campoinput.h"
#include "enviateclas.h"
#include "frmficha.h"
#include "frmmain.h"
#include "frmpesquisa.h"
#include "grelha.h"
#include "ligacaobd.h"
#include "ucinput.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

// A click on a grid row as the user makes it: press and release on the cell.
void clicaLinha(Grelha *grelha, int linha)
{
    const QPoint ponto = grelha->visualRect(grelha->model()->index(linha - 1, 1)).center();
    const QPoint global = grelha->viewport()->mapToGlobal(ponto);
    QMouseEvent carrega(QEvent::MouseButtonPress, ponto, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grelha->viewport(), &carrega);
    QMouseEvent larga(QEvent::MouseButtonRelease, ponto, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grelha->viewport(), &larga);
}

RegistaPagina pesquisa(40, "pesquisa", [](ContextoTour &c) {
    frmMain &principal = c.principal();
    auto *janela = new frmPesquisa;
    janela->setBd(&c.bd());
    principal.colocaJanelaFilha(janela);
    janela->Mostra();
    ContextoTour::activa(&principal);

    // The first letters of a code typed: the suggestions open under the box.
    CampoInput *campo = janela->ucInput()->campo();
    campo->setFocus();
    campo->insert(QStringLiteral("v1"));
    ContextoTour::processa();
    c.grava(&principal, QStringLiteral("pesquisa-sugestoes"));

    // A search by an equivalent code of an article with observations, and a
    // click on its row.
    const QString codigo = c.bd()
                               .valorUnico(QStringLiteral("SELECT e.ArtigoEquivalente FROM mvk_equivalencias e "
                                                          "JOIN Artigos a ON a.CODIGO = e.ArtigoPai "
                                                          "WHERE a.OBSERV IS NOT NULL AND a.BLNOTAS IS NOT NULL "
                                                          "ORDER BY e.ArtigoEquivalente"))
                               .toString();
    campo->selectAll();
    campo->insert(codigo);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(campo, &enter);
    ContextoTour::processa();
    if (janela->grelha()->linhas() > 0)
        clicaLinha(janela->grelha(), 1);
    c.grava(&principal, QStringLiteral("pesquisa-observacoes"));
});

RegistaPagina ficha(41, "ficha", [](ContextoTour &c) {
    frmMain &principal = c.principal();
    auto *janela = new frmFicha;
    janela->setBd(&c.bd());
    principal.colocaJanelaFilha(janela);
    janela->Mostra();
    ContextoTour::activa(&principal);

    // The article with the most codes, typed and left with Tab.
    const QString artigo = c.bd()
                               .valorUnico(QStringLiteral("SELECT ArtigoPai FROM mvk_equivalencias GROUP BY ArtigoPai "
                                                          "ORDER BY COUNT(*) DESC, ArtigoPai"))
                               .toString();
    janela->campo()->setFocus();
    janela->campo()->setText(artigo);
    EnviaTeclas(QStringLiteral("{TAB}"));
    ContextoTour::processa();
    c.grava(&principal, QStringLiteral("ficha"));
});

} // namespace
