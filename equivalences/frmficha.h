#pragma once
#include <QWidget>

#include <memory>

class Artigos;
class Botao;
class CampoInput;
class Grelha;
class LigacaoBd;
class QGroupBox;
class QLabel;
class Recordset;

// The record of one article's equivalent codes. The user types the article's
// code (or picks it from the list with "..."); leaving the field reads the
// article and shows its codes in a one-column grid, one code per line, with a
// new-line row at the end. "&Confirmar" replaces every stored code of the
// article with the non-blank lines, all or nothing: when any write fails the
// article keeps its previous codes, the user is told once (by the library's
// message when one of its writes failed, by the window's when the commit did)
// and the window keeps what was typed. "&Anular" deletes all of the article's codes after a question,
// "Ca&ncelar" clears the window and "&Sair" closes it.
//
// LbDesc shows the article's name. The main window creates one per use,
// places it in its document area, sets Bd and calls Mostra(). Each window owns
// its Artigos object.
class frmFicha : public QWidget
{
    Q_OBJECT
public:
    // Lines are counted with a 16-bit signed counter.
    static constexpr int MaximoLinhas = 32767;

    explicit frmFicha(QWidget *pai = nullptr);
    ~frmFicha() override;

    void setBd(LigacaoBd *bd) { m_bd = bd; }
    LigacaoBd *Bd() const { return m_bd; }

    // Creates the Artigos object, clears the window, takes the main window's
    // icon, centres itself in its client area and shows itself.
    void Mostra();

    // Fills the grid from field "ArtigoEquivalente" of rs, from its current
    // record to its end (a null value gives an empty line). A set of more than
    // MaximoLinhas records is refused with a message: false, grid untouched.
    bool PreencheGrelha(Recordset &rs);

    // The controls, for the main window's tour and for tests.
    CampoInput *campo() const { return m_campo; }
    QLabel *lbDesc() const { return m_lbDesc; }
    Grelha *grelha() const { return m_grelha; }
    Botao *btLista() const { return m_btLista; }
    Botao *btConf() const { return m_btConf; }
    Botao *btCancelar() const { return m_btCancelar; }
    Botao *btAnular() const { return m_btAnular; }
    Botao *btSair() const { return m_btSair; }

private:
    void LimpaFicha();
    bool GravaFicha();
    void validaCampo(bool &cancela);
    void confirma();
    void cancela();
    void anula();
    void lista();
    void falhaGravacao(const QString &motivo);

    LigacaoBd *m_bd = nullptr;
    std::unique_ptr<Artigos> m_artigos;
    // The code whose lines the grid shows: leaving the field without changing
    // it does not read the article again over what the user typed.
    QString m_codigoLido;
    QGroupBox *m_frame;
    QLabel *m_titulo;
    CampoInput *m_campo;
    Botao *m_btLista;
    QLabel *m_lbDesc;
    Grelha *m_grelha;
    Botao *m_btConf, *m_btCancelar, *m_btAnular, *m_btSair;
};
