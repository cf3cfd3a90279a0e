// Tour page of a price history: a supplier's quote for an article changed
// three times over the months (saved as the window saves), then the
// supplier price window loaded for that pair and F7 pressed on its row: the
// history dialog with its list and chart.

#include "contextotour.h"
#include "paginatour.h"

#include "apresentadorhistorico.h"
#include "botao.h"
#include "campoinput.h"
#include "consultaprecos.h"
#include "dialogohistoricoprecos.h"
#include "enviateclas.h"
#include "frmmain.h"
#include "gravacaoprecos.h"
#include "grelha.h"
#include "ligacaobd.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

// Shows the dialog without exec() and writes its picture.
class ApresentadorTour : public ApresentadorHistorico
{
public:
    explicit ApresentadorTour(ContextoTour &c) : m_c(c) { ApresentadorHistorico::instala(this); }
    ~ApresentadorTour() override { ApresentadorHistorico::instala(nullptr); }

    void mostra(QWidget *pai, const HistoricoPar &historico) override
    {
        DialogoHistoricoPrecos dialogo(historico, pai);
        m_c.grava(&dialogo, QStringLiteral("precos-historico"));
    }

private:
    ContextoTour &m_c;
};

RegistaPagina historico(53, "precos-historico", [](ContextoTour &c) {
    Recordset rs;
    // A quote older than the new ones, of the supplier with most quotes.
    c.bd().AbreConsulta(QStringLiteral("SELECT Fornecedor, Artigo, Preco, RefForn FROM mvk_Precos_Forn "
                                       "WHERE Fornecedor = (SELECT Fornecedor FROM mvk_Precos_Forn GROUP BY Fornecedor "
                                       "ORDER BY COUNT(*) DESC, Fornecedor) AND Data < ? ORDER BY Artigo"),
                        rs, {ContextoTour::hoje().addDays(-300)});
    if (rs.Eof())
        return;
    LinhaPreco l;
    l.linha = 1;
    l.entidade = rs.Valor(0).toString();
    l.artigo = rs.Valor(1).toString();
    l.referencia = rs.Valor(3).toString();
    l.obs = QVariant(QMetaType::fromType<QString>());
    const Moeda preco = Moeda::deValor(rs.Valor(2));
    // Three new quotes: up, up again, then a little down.
    const int dias[] = {-240, -150, -45};
    const int permilagens[] = {1060, 1150, 1110};
    GravacaoPrecos gravacao(c.bd());
    for (int i = 0; i < 3; ++i) {
        l.data = ContextoTour::hoje().addDays(dias[i]);
        l.preco = Moeda::deDecimos(preco.decimosMilesimos() * permilagens[i] / 1000);
        if (i == 2)
            l.obs = QStringLiteral("Proposta revista");
        if (!gravacao.grava({l}, {}))
            return;
    }

    auto *janela = new ConsultaPrecos;
    janela->setBd(&c.bd());
    janela->setTipo(1);
    c.principal().colocaJanelaFilha(janela);
    janela->Mostra();
    ContextoTour::activa(&c.principal());
    ContextoTour::escreveCampo(janela->Campo(0), l.entidade);
    ContextoTour::escreveCampo(janela->Campo(1), l.artigo);
    janela->btCarga()->click();
    ContextoTour::processa();
    Grelha *g = janela->grelha();
    g->setFocus();
    g->setLinhaActual(1);
    ApresentadorTour apresentador(c);
    QKeyEvent f7(QEvent::KeyPress, FormularioPrecos::TeclaHistorico, Qt::NoModifier);
    QApplication::sendEvent(g, &f7);
});

} // namespace
