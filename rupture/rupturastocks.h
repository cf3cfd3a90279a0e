#pragma once
#include "analiseruptura.h"
#include <QHash>
#include "grelhanecessidades.h"

#include <QList>
#include <QWidget>

class Botao;
class Calendario;
class CampoInput;
class Grelha;
class JanelaHistorico;
class LigacaoBd;
class PrevisaoGrelha;
class QCheckBox;
class QGroupBox;
class QLabel;
class SessaoErp;
class VisualizadorImpressao;
struct FornecedorHistorico;

// The stock rupture window, in one of two modes fixed when it is opened.
// Mode 1 ("Ruptura de Stocks") filters by article, group, family and
// sub-family ranges, takes the days of sales and "Com Previsão", and loads the
// analysis of the pending needs (AnaliseRuptura): what is left to order of
// each, from the supplier of the cheapest quote; a click on a price opens the
// details panel. Mode 2 ("Necessidades de Encomendas") lists the pending needs
// of an article range for the buyer to change, remove and type new ones, and
// saves them all at once (GravacaoNecessidades). The needs grid's rules are
// GrelhaNecessidades. A long load keeps the window painted and shows how far
// it went; Esc or Sair stops it. In mode 1 "&Geração" turns the analysed grid
// into supplier orders in the ERP (GeracaoEncomendas): it is offered while
// the grid holds rows, and the result line then names the orders created.
// In both modes F8 (or "&Histórico") opens the history of the current row's
// article (JanelaHistorico), from which a supplier can be put in the row;
// "&Imprimir" shows the grid's print preview in its place and "E&xportar"
// writes it as a CSV file, as the price windows do (PrevisaoGrelha).
// The creator sets the connection (setBd), the ERP session (setSessao) and
// the mode (setTipo) before showing it; the opening runs when it is first
// shown. Controls keep the names the program has always used.
class RupturaStocks : public QWidget, private JanelaRuptura
{
    Q_OBJECT
public:
    explicit RupturaStocks(QWidget *pai = nullptr);
    ~RupturaStocks() override;

    void setBd(LigacaoBd *bd);
    LigacaoBd *Bd() const { return m_bd; }
    // The program's one ERP session, through which orders are generated.
    void setSessao(SessaoErp *sessao) { m_sessao = sessao; }
    SessaoErp *Sessao() const { return m_sessao; }
    // 1 "Ruptura de Stocks"; any other value gives the needs layout.
    void setTipo(int tipo);
    int Tipo() const { return m_estado.Tipo; }
    void Mostra();

    // Empties the grid, the filters and the result line, hides the details
    // panel and forgets the removed needs; "Com Previsão" and the panel's
    // fields keep what they hold.
    void LimparForm();
    void Act_Grelha();
    // Locks every control but Sair; DesInibe hides the details panel and
    // unlocks them again.
    void Inibe();
    void DesInibe();

    // The buttons' actions.
    void carrega();       // btCarga
    void confirma();      // btConf (mode 2)
    void gera();          // mvkBotao1 (mode 1)
    void cancela();       // btCancelar
    void sair();          // btSair, Esc in the first article
    void fechaDetalhes(); // mvkBotao2
    void abreLista(int indice);   // btLista(indice), F4 in a filter
    void imprime();       // btImp
    QString exporta();    // btExp: the file written, or the empty text
    void historico();     // btHist, F8: the current row's article

    // The key that opens the article history.
    static constexpr Qt::Key TeclaHistorico = Qt::Key_F8;
    // The history dialog while it is open.
    JanelaHistorico *janelaHistorico() const { return m_historico; }
    // Puts a supplier of the history in a grid row (from 1) as if its code
    // were typed in Fornecedor (the same check and purchase-help reference),
    // then its reference, when it has one, and its price; false when the
    // check refused it (the row keeps its supplier).
    bool aplicaFornecedor(int linha, const FornecedorHistorico &f);

    // Printing, as the price windows print their grid: the header names the
    // mode, the filters the grid was loaded with (those standing, before a
    // load) and the day.
    QString cabecalhoImpressao() const;
    void FormataPrintGrelha();
    void ImprimeGrelha();
    bool emPrevisao() const;
    VisualizadorImpressao *Visualizador() const;

    bool aCarregar() const { return m_aCarregar; }
    // A statement of the load is running and lets the window paint now.
    bool aMeioDeInstrucao() const;
    // ms between two paints while one statement of a load runs (0: as often
    // as the database checks).
    void setIntervaloPintura(int ms) { m_intervaloPintura = ms; }
    bool aGerar() const { return m_aGerar; }
    // The filters as they stand, as a load reads them.
    FiltrosRuptura filtros() const;

    // State shared with the grid.
    bool Digitado() const { return m_estado.Digitado; }
    const QList<qint64> &IdsAnulados() const { return m_estado.IdsAnulados; }

    // Controls.
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2(int indice) const { return m_label2[indice]; }
    CampoInput *Campo(int indice) const { return m_campo[indice]; }
    Botao *btLista(int indice) const { return m_btLista[indice]; }
    QCheckBox *Check1() const { return m_check1; }
    Botao *btCarga() const { return m_btCarga; }
    Botao *mvkBotao1() const { return m_mvkBotao1; }
    Botao *btConf() const { return m_btConf; }
    Botao *btCancelar() const { return m_btCancelar; }
    Botao *btSair() const { return m_btSair; }
    Botao *mvkBotao2() const { return m_mvkBotao2; }
    Botao *btImp() const { return m_btImp; }
    Botao *btExp() const { return m_btExp; }
    Botao *btHist() const { return m_btHist; }
    QGroupBox *Frame2() const { return m_frame2; }
    Grelha *grelha() const { return m_grelha; }
    Calendario *MonthView1() const { return m_calendario; }
    GrelhaNecessidades *regras() const { return m_regras; }

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;

private:
    // JanelaRuptura
    EstadoRuptura &estado() override { return m_estado; }
    void mostraDetalhes(const QString &fornecedor, const QVariant &data, const QVariant &preco) override;

    void criaControlos();
    void criaFiltros();
    void criaDetalhes();
    void criaImpressaoEHistorico();
    QString nomeFicheiro() const;
    void aplicaModo();
    void teclaCampo(int indice, int &codigo);
    void validaCampo(int indice, bool &cancela);
    bool existe(int indice, const QString &valor, bool *ok);
    QString texto(int indice) const;
    bool progresso(const QString &passo, int feito, int total);
    void falhaBd(const QString &texto, const QString &funcao);
    // "&Geração" is offered in mode 1 while the grid holds rows and nothing runs.
    void actualizaGeracao();
    void mostraResultado(const QString &texto);

    LigacaoBd *m_bd = nullptr;
    SessaoErp *m_sessao = nullptr;
    EstadoRuptura m_estado;
    // The Versao of each need the last load of mode 2 showed: a save changes
    // a need only while it is still that one.
    QHash<qint64, qint64> m_versoes;
    bool m_aberta = false;
    bool m_aCarregar = false;
    bool m_aGerar = false;
    bool m_parar = false;
    bool m_fecharNoFim = false;
    LigacaoBd *m_ligacaoCarga = nullptr;   // the connection a load reads through, while it runs
    int m_intervaloPintura = 50;

    QLabel *m_label1 = nullptr;
    QLabel *m_label2[14] = {};
    CampoInput *m_campo[12] = {};
    Botao *m_btLista[8] = {};
    QCheckBox *m_check1 = nullptr;
    Botao *m_btCarga = nullptr;
    Botao *m_mvkBotao1 = nullptr;
    Botao *m_btConf = nullptr;
    Botao *m_btCancelar = nullptr;
    Botao *m_btSair = nullptr;
    QGroupBox *m_frame2 = nullptr;
    Botao *m_mvkBotao2 = nullptr;
    Grelha *m_grelha = nullptr;
    Calendario *m_calendario = nullptr;
    GrelhaNecessidades *m_regras = nullptr;
    Botao *m_btImp = nullptr;
    Botao *m_btExp = nullptr;
    Botao *m_btHist = nullptr;
    PrevisaoGrelha *m_previsao = nullptr;
    JanelaHistorico *m_historico = nullptr;
    FiltrosRuptura m_filtrosCarga;
    // Every control, for Inibe and DesInibe.
    QList<QWidget *> m_controlos;
};
