// Printing and exporting the needs grid, as the price windows do it
// (PrevisaoGrelha): the preview shown in place of the grid, from which it is
// printed or saved as PDF, and the CSV file of its visible columns. Also the
// buttons of these and of the article history.
#include "rupturastocks.h"

#include "botao.h"
#include "grelha.h"
#include "janelafilha.h"
#include "previsaogrelha.h"
#include "valores.h"

#include <QLabel>
#include <QKeySequence>
#include <QShortcut>

namespace {
constexpr int TopoBotoes = 8880;

QString intervalo(const char *nome, const QString &de, const QString &ate)
{
    return QStringLiteral("%1 - '%2' a '%3'").arg(QString::fromUtf8(nome), de, ate);
}
} // namespace

void RupturaStocks::criaImpressaoEHistorico()
{
    const auto botao = [this](const char *legenda, const char *dica, int esquerda) {
        auto *b = new Botao(QString::fromUtf8(legenda), this);
        b->setToolTip(QString::fromUtf8(dica));
        b->setGeometry(JanelaFilha::twips(esquerda, TopoBotoes, 1300, 400));
        m_controlos << b;
        return b;
    };
    m_btImp = botao("&Imprimir", "Impressão.", 5535);
    m_btExp = botao("E&xportar", "Guardar a grelha num ficheiro para folha de cálculo (CSV).", 6885);
    m_btHist = botao("&Histórico", "Histórico do Artigo da linha actual (F8).", 8235);
    const QString aviso = QStringLiteral("F8 - Histórico do Artigo da linha actual");
    m_btHist->setStatusTip(aviso);
    m_grelha->setStatusTip(aviso);
    connect(m_btImp, &Botao::clicado, this, &RupturaStocks::imprime);
    connect(m_btExp, &Botao::clicado, this, &RupturaStocks::exporta);
    connect(m_btHist, &Botao::clicado, this, &RupturaStocks::historico);
    // Anywhere in the window, also while a cell is edited (the edit ends first).
    auto *tecla = new QShortcut(QKeySequence(TeclaHistorico), this);
    tecla->setContext(Qt::WidgetWithChildrenShortcut);
    connect(tecla, &QShortcut::activated, this, &RupturaStocks::historico);
    m_previsao = new PrevisaoGrelha(m_grelha);
}

QString RupturaStocks::nomeFicheiro() const
{
    return m_estado.Tipo == 1 ? QStringLiteral("Ruptura de stocks") : QStringLiteral("Necessidades de encomendas");
}

QString RupturaStocks::cabecalhoImpressao() const
{
    // The filters of the load that filled the grid; before any, those standing.
    const bool carregada = m_grelha->linhas() > 0 && !m_grelha->matriz(0, ColunasNecessidades::Artigo).toString().isEmpty();
    const FiltrosRuptura f = carregada ? m_filtrosCarga : filtros();
    const QString quebra = QStringLiteral("\r\n");
    QString texto = m_label1->text() + quebra + quebra + QLatin1Char(' ') + intervalo("Artigo", f.artigoDe, f.artigoAte);
    if (m_estado.Tipo == 1) {
        texto += QStringLiteral("    ") + intervalo("Grupo", f.grupoDe, f.grupoAte) + QStringLiteral("    ")
                 + intervalo("Família", f.familiaDe, f.familiaAte) + quebra + QLatin1Char(' ')
                 + intervalo("Sub Família", f.subFamiliaDe, f.subFamiliaAte)
                 + QStringLiteral("    Dias - '%1'    Com Previsão - '%2'").arg(f.dias).arg(f.comPrevisao ? QStringLiteral("Sim") : QStringLiteral("Não"));
    }
    return texto + quebra + QStringLiteral(" Data - '%1'").arg(Valores::textoData(f.hoje));
}

void RupturaStocks::imprime()
{
    FormataPrintGrelha();
    ImprimeGrelha();
}

void RupturaStocks::FormataPrintGrelha() { m_previsao->prepara(cabecalhoImpressao()); }

bool RupturaStocks::emPrevisao() const { return m_previsao->emPrevisao(); }

VisualizadorImpressao *RupturaStocks::Visualizador() const { return m_previsao->visualizador(); }

void RupturaStocks::ImprimeGrelha()
{
    if (m_aCarregar || m_aGerar)
        return;
    const bool previsao = m_previsao->alterna(nomeFicheiro());
    // While the preview is shown only the exit, the export and this button work.
    if (previsao) {
        Inibe();
        m_btImp->setEnabled(true);
        m_btExp->setEnabled(true);
    } else {
        DesInibe();
        m_grelha->setFocus();
    }
    m_btImp->setText(previsao ? QStringLiteral("&Grelha") : QStringLiteral("&Imprimir"));
}

QString RupturaStocks::exporta() { return m_previsao->exporta(nomeFicheiro()); }
