// Tour pages of the article history and the printed needs grid: the analysis
// loaded with 30 days of sales, F8 on the row whose article has the richest
// history (most months with sales, several suppliers), its "Histórico do
// Artigo" with the chart, the suppliers and the pending orders; then the
// grid's print preview. Nothing is changed in the database.

#include "contextotour.h"
#include "paginatour.h"

#include "botao.h"
#include "campoinput.h"
#include "frmmain.h"
#include "grelha.h"
#include "grelhanecessidades.h"
#include "historicoartigo.h"
#include "janelahistorico.h"
#include "ligacaobd.h"
#include "rupturastocks.h"


using namespace ColunasNecessidades;

namespace {

// How much an article's history has to show.
int riqueza(const DadosHistorico &d)
{
    int meses = 0;
    for (const MesHistorico &m : d.meses)
        meses += m.vendido > Moeda() ? 1 : 0;
    int cotados = 0;
    for (const FornecedorHistorico &f : d.fornecedores)
        cotados += f.temCotacao ? 1 : 0;
    return meses + 3 * qMin(int(d.fornecedores.size()), 3) + 4 * qMin(cotados, 2) + (d.pendentes.isEmpty() ? 0 : 4);
}

RegistaPagina historico(61, "historico", [](ContextoTour &c) {
    frmMain &principal = c.principal();
    principal.resize(1260, 860);
    auto *janela = new RupturaStocks;
    janela->setBd(&c.bd());
    janela->setTipo(1);
    principal.colocaJanelaFilha(janela);
    janela->Mostra();
    ContextoTour::activa(&principal);
    janela->Campo(11)->setText(QStringLiteral("30"));
    janela->btCarga()->click();
    ContextoTour::processa();

    Grelha *g = janela->grelha();
    HistoricoArtigo leitor(c.bd());
    int melhor = 1, maior = -1;
    for (int linha = 1; linha <= qMin(g->linhas(), 80); ++linha) {
        const QString artigo = g->matriz(linha - 1, Artigo).toString();
        DadosHistorico d;
        if (artigo.isEmpty() || !leitor.le(artigo, QDate::currentDate(), d))
            continue;
        if (riqueza(d) > maior) {
            maior = riqueza(d);
            melhor = linha;
        }
    }
    g->setFocus();
    g->setLinhaActual(melhor);
    janela->historico();   // what F8 and "&Histórico" do
    ContextoTour::processa();
    if (JanelaHistorico *h = janela->janelaHistorico()) {
        c.grava(h, QStringLiteral("ruptura-historico"));
        h->reject();
        ContextoTour::processa();
    }

    janela->btImp()->click();
    ContextoTour::processa();
    c.grava(&principal, QStringLiteral("ruptura-impressao"));
});

} // namespace
