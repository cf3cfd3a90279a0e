// Tour pages of the price windows: the supplier prices of the supplier with
// most quotes, loaded, with a row's observation shown; the calendar open on a
// date cell; the print preview of those prices; the purchases mode loaded for
// the supplier with most purchase lines, and its preview; the customer prices
// of the customer with most prices, loaded, and their preview.

#include "contextotour.h"
#include "paginatour.h"

#include "botao.h"
#include "calendario.h"
#include "campoinput.h"
#include "consultaprecos.h"
#include "consultaprecosclientes.h"
#include "enviateclas.h"
#include "frmmain.h"
#include "grelha.h"
#include "ligacaobd.h"
#include "visualizadorimpressao.h"

#include <QApplication>
#include <QKeyEvent>
#include <type_traits>

namespace {

template <typename Janela> Janela *abre(ContextoTour &c, int tipo = 1)
{
    auto *janela = new Janela;
    janela->setBd(&c.bd());
    if constexpr (std::is_same_v<Janela, ConsultaPrecos>)
        janela->setTipo(tipo);
    c.principal().colocaJanelaFilha(janela);
    janela->Mostra();
    ContextoTour::activa(&c.principal());
    return janela;
}

// The window's print preview, at its first page.
void previsao(ContextoTour &c, FormularioPrecos *janela, const QString &nome)
{
    janela->btImp()->click();
    ContextoTour::processa();
    c.grava(&c.principal(), nome);
}

RegistaPagina precos(50, "precos", [](ContextoTour &c) {
    auto *janela = abre<ConsultaPrecos>(c, 1);
    const QString fornecedor = c.bd()
                                   .valorUnico(QStringLiteral("SELECT Fornecedor FROM mvk_Precos_Forn GROUP BY Fornecedor "
                                                              "ORDER BY COUNT(*) DESC, Fornecedor"))
                                   .toString();
    ContextoTour::escreveCampo(janela->Campo(0), fornecedor);
    janela->btCarga()->click();
    ContextoTour::processa();
    // The first row with an observation becomes current.
    Grelha *g = janela->grelha();
    for (int r = 0; r < g->linhas(); ++r)
        if (!g->matriz(r, ColunasPrecos::Obs).toString().isEmpty()) {
            g->setLinhaActual(r + 1);
            break;
        }
    c.grava(&c.principal(), QStringLiteral("precos-fornecedor"));

    // The calendar under the date cell of the first row.
    g->setFocus();
    g->setLinhaActual(1);
    g->setColunaActual(ColunasPrecos::DataE + 1);
    QKeyEvent f4(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
    QApplication::sendEvent(g, &f4);
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("precos-calendario"));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &esc);
    previsao(c, janela, QStringLiteral("precos-impressao"));
});

RegistaPagina compras(51, "compras", [](ContextoTour &c) {
    auto *janela = abre<ConsultaPrecos>(c, 2);
    const QString fornecedor = c.bd()
                                   .valorUnico(QStringLiteral(
                                       "SELECT c.Terceiro FROM docgclin l JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie "
                                       "AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc WHERE c.Areag = 4 AND c.tpoper = 1 AND c.TpTerc = 1 "
                                       "AND l.Linanu = 0 GROUP BY c.Terceiro ORDER BY COUNT(*) DESC, c.Terceiro"))
                                   .toString();
    ContextoTour::escreveCampo(janela->Campo(0), fornecedor);
    janela->btCarga()->click();
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("precos-compras"));
    previsao(c, janela, QStringLiteral("precos-compras-impressao"));
});

RegistaPagina clientes(52, "clientes", [](ContextoTour &c) {
    auto *janela = abre<ConsultaPrecosClientes>(c);
    const QString cliente = c.bd()
                                .valorUnico(QStringLiteral("SELECT Cliente FROM mvk_Precos_Clientes GROUP BY Cliente "
                                                           "ORDER BY COUNT(*) DESC, Cliente"))
                                .toString();
    ContextoTour::escreveCampo(janela->Campo(0), cliente);
    janela->btCarga()->click();
    ContextoTour::processa();
    c.grava(&c.principal(), QStringLiteral("precos-clientes"));
    previsao(c, janela, QStringLiteral("precos-clientes-impressao"));
});

} // namespace
