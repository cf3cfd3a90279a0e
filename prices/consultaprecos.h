#pragma once
#include "grelhaprecos.h"

#include <QWidget>

class Botao;
class Calendario;
class CampoInput;
class Grelha;
class LigacaoBd;
class QFrame;
class QLabel;

// The supplier price window. In mode 1 ("Consulta de Preços a Fornecedor") a
// buyer filters by supplier and/or article (typed, or picked from a lookup
// list with "..." or F4), loads the quoted prices of the system's own table,
// edits them in the price grid (GrelhaPrecos) and confirms: the changed rows
// and the removed ones are written in one go (GravacaoPrecos), together with
// the ERP's purchase-help records, and the window is cleared. In mode 2
// ("Consulta de Compras") the same window shows the purchase prices of the
// ERP's purchase documents, read-only, with a reduced layout. The creator sets
// the connection (setBd) and the mode (setTipo) before showing it; the
// opening (layout of the mode, centring in the main window) runs when it is
// first shown. Controls keep the names the program has always used.
class ConsultaPrecos : public QWidget, private JanelaPrecos
{
    Q_OBJECT
public:
    explicit ConsultaPrecos(QWidget *pai = nullptr);
    ~ConsultaPrecos() override;

    void setBd(LigacaoBd *bd);
    LigacaoBd *Bd() const { return m_bd; }
    // 1 supplier prices, 2 purchases; set before the window is placed and
    // shown (it gives the window its title, buttons and, for 2, its height).
    void setTipo(int tipo);
    int Tipo() const { return m_estado.Tipo; }
    // Shows the window (the opening runs on the first show).
    void Mostra();

    // Empties the grid (rebuilt for the mode), the filters, their names and
    // the observation, and forgets the rows removed.
    void LimparForm();
    void Act_Grelha();

    // The buttons' actions.
    void carrega();       // btCarga
    void confirma();      // btConf
    void cancela();       // btCancelar
    void sair();          // btSair, Esc in the supplier filter
    void abreLista(int indice);   // btLista(indice), F4 in a filter

    // State shared with the grid.
    bool Digitado() const { return m_estado.Digitado; }
    const QList<qint64> &IdsAnulados() const { return m_estado.IdsAnulados; }
    QString NomeFornecedor() const { return m_estado.NomeFornecedor; }

    // Controls.
    CampoInput *Campo(int indice) const { return m_campo[indice]; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2(int indice) const { return m_label2[indice]; }
    Botao *btLista(int indice) const { return m_btLista[indice]; }
    Botao *btCarga() const { return m_btCarga; }
    Botao *btConf() const { return m_btConf; }
    Botao *btCancelar() const { return m_btCancelar; }
    Botao *btImp() const { return m_btImp; }
    Botao *btSair() const { return m_btSair; }
    Grelha *grelha() const { return m_grelha; }
    Calendario *MonthView1() const { return m_calendario; }
    GrelhaPrecos *regras() const { return m_regras; }

protected:
    void showEvent(QShowEvent *evento) override;

private:
    // JanelaPrecos
    EstadoPrecos &estado() override { return m_estado; }
    QString filtroFornecedor() const override;
    QString filtroArtigo() const override;
    QString nomeArtigo() const override;
    void mostraObservacao(const QString &texto) override;

    void criaControlos();
    void aplicaModo();
    void centra();
    void teclaCampo(int indice, int &codigo);
    void validaCampo(int indice, bool &cancela);
    bool validaFornecedor();
    bool validaArtigo();
    void falhaBd(const QString &funcao);

    LigacaoBd *m_bd = nullptr;
    EstadoPrecos m_estado;
    bool m_aberta = false;

    QFrame *m_frame2 = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2[5] = {};
    CampoInput *m_campo[3] = {};
    Botao *m_btLista[2] = {};
    Botao *m_btCarga = nullptr;
    Botao *m_btConf = nullptr;
    Botao *m_btCancelar = nullptr;
    Botao *m_btImp = nullptr;
    Botao *m_btSair = nullptr;
    Grelha *m_grelha = nullptr;
    Calendario *m_calendario = nullptr;
    GrelhaPrecos *m_regras = nullptr;
};
