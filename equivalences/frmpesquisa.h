#pragma once
#include <QWidget>

#include <memory>

class Artigos;
class Botao;
class Grelha;
class LigacaoBd;
class QGroupBox;
class QPlainTextEdit;
class UcInput;

// The search of equivalences: the user types any code of an article (its own
// or an equivalent one) in the code box, which suggests known codes, and
// presses Enter or "&Pesquisar". The grid then lists the matching articles
// with their name, last purchase price, average cost, stock, expected stock and
// retail price (Artigos::Pesquisar). A click on a row shows the article's
// observations under the grid; a double-click puts the article's code on the
// clipboard and minimises the main window, so the code can be pasted into the
// ERP; Enter on a row first shows the code in a message box.
//
// The main window creates one per use, places it in its document area, sets
// Bd and calls Mostra(). Each window owns its Artigos object.
class frmPesquisa : public QWidget
{
    Q_OBJECT
public:
    explicit frmPesquisa(QWidget *pai = nullptr);
    ~frmPesquisa() override;

    void setBd(LigacaoBd *bd) { m_bd = bd; }
    LigacaoBd *Bd() const { return m_bd; }

    // Takes the main window's icon, centres itself in its client area, gives
    // the code box the connection, creates the Artigos object and shows itself.
    void Mostra();

    // The controls, for the main window's tour and for tests.
    UcInput *ucInput() const { return m_ucInput; }
    Botao *btConf() const { return m_btConf; }
    Grelha *grelha() const { return m_grelha; }
    QPlainTextEdit *campo() const { return m_campo; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *evento) override;

private:
    void pesquisa();
    void CarregaGrelha();
    void CopiaCodigo(const QString &codigo);
    QString codigoDaLinha(int linha) const;
    void cliqueGrelha();
    void duploCliqueGrelha();
    void teclaGrelha(int &tecla, int shift);
    void activaLinha(int linha);
    void dispoe();

    LigacaoBd *m_bd = nullptr;
    std::unique_ptr<Artigos> m_artigos;
    QGroupBox *m_frame;
    UcInput *m_ucInput;
    Botao *m_btConf;
    Grelha *m_grelha;
    QPlainTextEdit *m_campo;
};
