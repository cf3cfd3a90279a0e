#pragma once
#include "grelhaprecos.h"

#include <QWidget>

class Botao;
class Calendario;
class CampoInput;
class Grelha;
class LigacaoBd;
class PrevisaoGrelha;
class QLabel;
class VisualizadorImpressao;

// What the supplier and the customer price windows have in common: the
// controls and their places, the supplier (customer) and article filters
// (typed, or picked from a lookup list with "..." or F4; Esc steps back, and
// in the first filter closes the window), the price grid and its rules
// (GrelhaPrecos), the loading, the confirm that writes the changed and removed
// rows in one go (GravacaoPrecos) and clears the window, the print preview
// shown in place of the grid (FormataPrintGrelha / ImprimeGrelha) and the
// export of the grid as a spreadsheet file. The two windows differ only in
// what the subclasses say. The creator sets the connection (setBd) before
// showing the window; the opening (centring in the main window, a clear
// window) runs when it is first shown. F7 on the grid shows the price
// history of the current row's pair. Controls keep the names the program
// has always used.
class FormularioPrecos : public QWidget, protected JanelaPrecos
{
    Q_OBJECT
public:
    // The texts that tell the two windows apart.
    struct Textos
    {
        QString titulo;           // window caption and Label1
        QString entidade;         // caption of the first filter
        QString dicaCampo, dicaLista;
        QString tabela;           // the ERP table of the first filter's codes
        QString inexistente;      // message for a code that is not there
        QString tituloLista;
        QString sqlLista;
        QString modulo;           // named in failure reports
    };

    ~FormularioPrecos() override;

    void setBd(LigacaoBd *bd);
    LigacaoBd *Bd() const { return m_bd; }
    // Shows the window (the opening runs on the first show).
    void Mostra();

    // Empties the grid (rebuilt for the filters), the filters, their names and
    // the observation, and forgets the rows removed.
    void LimparForm();
    void Act_Grelha();
    // Prepares the printed document from the grid and the filters as they stand.
    void FormataPrintGrelha();
    // Switches between the grid and its print preview, locking the window's
    // other controls while the preview is shown.
    void ImprimeGrelha();
    bool emPrevisao() const;

    // The buttons' actions.
    void carrega();       // btCarga
    void confirma();      // btConf
    void cancela();       // btCancelar
    void imprime();       // btImp
    QString exporta();    // btExp: the file written, or the empty text
    void sair();          // btSair, Esc in the first filter
    void abreLista(int indice);   // btLista(indice), F4 in a filter
    // F7 on the grid: the price history of the current row's pair.
    void mostraHistorico();
    static constexpr int TeclaHistorico = Qt::Key_F7;

    // State shared with the grid.
    bool Digitado() const { return m_estado.Digitado; }
    const QList<qint64> &IdsAnulados() const { return m_estado.IdsAnulados; }

    // Controls.
    CampoInput *Campo(int indice) const { return m_campo[indice]; }
    QLabel *Label1() const { return m_label1; }
    QLabel *Label2(int indice) const { return m_label2[indice]; }
    Botao *btLista(int indice) const { return m_btLista[indice]; }
    Botao *btCarga() const { return m_btCarga; }
    Botao *btConf() const { return m_btConf; }
    Botao *btCancelar() const { return m_btCancelar; }
    Botao *btImp() const { return m_btImp; }
    Botao *btExp() const { return m_btExp; }
    Botao *btSair() const { return m_btSair; }
    Grelha *grelha() const { return m_grelha; }
    Calendario *MonthView1() const { return m_calendario; }
    VisualizadorImpressao *Visualizador() const;
    GrelhaPrecos *regras() const { return m_regras; }

protected:
    FormularioPrecos(LadoPrecos lado, const Textos &textos, QWidget *pai);

    // The header of the printed grid (lines separated by CR LF).
    virtual QString cabecalhoImpressao() const = 0;
    // Whether the grid is saved (its confirm button works).
    virtual bool podeGravar() const = 0;
    // A load that found nothing; the message was shown.
    virtual void cargaVazia() {}
    // The file name offered for exports and PDF files, without extension.
    virtual QString nomeFicheiro() const = 0;

    void showEvent(QShowEvent *evento) override;

    // JanelaPrecos
    EstadoPrecos &estado() override { return m_estado; }
    QString filtroEntidade() const override;
    QString filtroArtigo() const override;
    QString nomeArtigo() const override;
    void mostraObservacao(const QString &texto) override;

    static constexpr int TopoBotoes = 7275;
    EstadoPrecos m_estado;
    LadoPrecos m_lado;

private:
    void criaControlos();
    void teclaCampo(int indice, int &codigo);
    void validaCampo(int indice, bool &cancela);
    bool validaEntidade();
    bool validaArtigo();
    void falhaBd(const QString &funcao);

    Textos m_textos;
    LigacaoBd *m_bd = nullptr;
    bool m_aberta = false;

    QLabel *m_label1 = nullptr;
    QLabel *m_label2[5] = {};
    CampoInput *m_campo[3] = {};
    Botao *m_btLista[2] = {};
    Botao *m_btCarga = nullptr;
    Botao *m_btConf = nullptr;
    Botao *m_btCancelar = nullptr;
    Botao *m_btImp = nullptr;
    Botao *m_btExp = nullptr;
    Botao *m_btSair = nullptr;
    Grelha *m_grelha = nullptr;
    Calendario *m_calendario = nullptr;
    PrevisaoGrelha *m_previsao = nullptr;
    GrelhaPrecos *m_regras = nullptr;
};
