// Tour pages of the stock rupture window: the analysis loaded with 30 days of
// sales, the price details panel open on a row's cheapest price; the needs
// listed in "Necessidades de Encomendas", the calendar on a need's date, and
// a need typed in the grid; the supplier orders generated from the analysis,
// with the result line naming them. The generation page runs last: it marks
// the demo's needs processed.

#include "contextotour.h"
#include "paginatour.h"

#include "botao.h"
#include "campoinput.h"
#include "frmmain.h"
#include "geradordemo.h"
#include "grelha.h"
#include "grelhanecessidades.h"
#include "ligacaobd.h"
#include "rupturastocks.h"
#include "sessaoerp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

using namespace ColunasNecessidades;

namespace {

RupturaStocks *abre(ContextoTour &c, int tipo)
{
    frmMain &principal = c.principal();
    // The needs grid is wide: the main window grows so the window fits.
    principal.resize(1260, 860);
    auto *janela = new RupturaStocks;
    janela->setBd(&c.bd());
    janela->setSessao(principal.Sessao());
    janela->setTipo(tipo);
    principal.colocaJanelaFilha(janela);
    janela->Mostra();
    ContextoTour::activa(&principal);
    return janela;
}

void tecla(QWidget *alvo, int qt, const QString &texto = QString())
{
    QKeyEvent e(QEvent::KeyPress, qt, Qt::NoModifier, texto);
    QApplication::sendEvent(alvo, &e);
    ContextoTour::processa(1);
}

// Types into a grid cell as the user does and leaves it with Tab.
void escreveCelula(Grelha *g, int linha, int coluna, const QString &texto)
{
    g->setFocus();
    g->setLinhaActual(linha);
    g->setColunaActual(coluna + 1);
    for (const QChar ch : texto)
        tecla(QApplication::focusWidget(), 0, QString(ch));
    tecla(QApplication::focusWidget(), Qt::Key_Tab);
}

RegistaPagina ruptura(60, "ruptura", [](ContextoTour &c) {
    RupturaStocks *janela = abre(c, 1);
    janela->Campo(11)->setText(QStringLiteral("30"));
    janela->btCarga()->click();
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("ruptura-stocks"));

    // A click on the cheapest price of a row with a quote.
    Grelha *g = janela->grelha();
    int linha = 1;
    while (linha < g->linhas() && g->matriz(linha - 1, FornMenos).toString().isEmpty())
        ++linha;
    const QPoint ponto = g->visualRect(g->model()->index(linha - 1, PrecEc)).center();
    const QPoint global = g->viewport()->mapToGlobal(ponto);
    QMouseEvent carrega(QEvent::MouseButtonPress, ponto, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &carrega);
    QMouseEvent larga(QEvent::MouseButtonRelease, ponto, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &larga);
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("ruptura-detalhes"));
});

RegistaPagina necessidades(61, "necessidades", [](ContextoTour &c) {
    RupturaStocks *janela = abre(c, 2);
    janela->btCarga()->click();
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("necessidades"));

    // The calendar on the first need's request date.
    Grelha *g = janela->grelha();
    g->setFocus();
    g->setLinhaActual(1);
    g->setColunaActual(DataUlt + 1);
    tecla(g, Qt::Key_F4);
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("necessidades-calendario"));
    tecla(QApplication::focusWidget(), Qt::Key_Escape);

    // A need typed on the new row: an article with quotes, then its quantity.
    const QString artigo = c.bd()
                               .valorUnico(QStringLiteral("SELECT p.Artigo FROM mvk_Precos_Forn p JOIN Artigos a ON a.CODIGO = p.Artigo "
                                                          "WHERE a.INACTIVO = 0 AND a.ARTOUDES = 0 ORDER BY p.Artigo"))
                               .toString();
    const int nova = g->linhas();
    escreveCelula(g, nova, Artigo, artigo);
    escreveCelula(g, nova, Enc, QStringLiteral("24"));
    g->setLinhaActual(nova);
    g->setColunaActual(Enc + 1);
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("necessidades-digitada"));
});

RegistaPagina geracao(62, "geracao", [](ContextoTour &c) {
    // The ERP session as the start-up opens it on the demo database.
    SessaoErp erp;
    if (!erp.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(),
                  QString::number(ContextoTour::hoje().year()), c.baseDados()))
        return;
    erp.setLigacao(&c.bd());
    c.principal().setSessao(&erp);
    RupturaStocks *janela = abre(c, 1);
    janela->Campo(11)->setText(QStringLiteral("30"));
    janela->btCarga()->click();
    ContextoTour::processa();
    janela->mvkBotao1()->click();
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("ruptura-geracao"));
    c.fechaPrincipal();
    erp.Desliga();
});

} // namespace
