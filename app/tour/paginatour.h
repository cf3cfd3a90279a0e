#pragma once
#include <QList>
#include <QString>
#include <functional>

class ContextoTour;

// One page of the screenshot tour: it puts one or more windows in a meaningful
// state on the demo database and writes their pictures through the context.
// Each window's pages live in a file of their own, app/tour/pagina_*.cpp, and
// register themselves with a static RegistaPagina:
//
//   static RegistaPagina pesquisa(40, "pesquisa", [](ContextoTour &c) {
//       auto *janela = new frmPesquisa;
//       janela->setBd(&c.bd());
//       c.principal().colocaJanelaFilha(janela);
//       ...
//       c.grava(&c.principal(), "pesquisa");
//   });
//
// Pages run in the order of their number (then name); each gets a fresh main
// window from c.principal().
struct PaginaTour
{
    int ordem = 0;
    QString nome;
    std::function<void(ContextoTour &)> corre;

    // Every registered page, in registration order.
    static QList<PaginaTour> &todas();
};

struct RegistaPagina
{
    RegistaPagina(int ordem, const char *nome, std::function<void(ContextoTour &)> corre)
    {
        PaginaTour::todas().append({ordem, QString::fromUtf8(nome), std::move(corre)});
    }
};
