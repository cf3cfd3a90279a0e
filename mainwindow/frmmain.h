#pragma once
#include <QList>
#include <QMainWindow>
#include <memory>

class BaseDados;
class LigacaoBd;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class SessaoErp;

// The program's multiple-document main window "Equivalência de Referências".
// Every other window is its child, opened from its menus or its toolbar (one
// new window per use) and handed the shared connection Bd. It remembers its
// place per user (see PosicaoJanela): read when it is loaded, written when it
// closes unless it is minimised. Mostra creates the class library's BaseDados
// (by its registered identity), checks the equivalence tables once and shows
// the window; the BaseDados object lives as long as the window.
//
// Menu actions carry the names the rest of the program uses (mFich,
// Mf_equivalencias, mnuFileExit, mProc, Mp_ConsultaPrecos, ...), see accao().
class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    void setBd(LigacaoBd *bd);
    LigacaoBd *Bd() const { return m_bd; }
    // The program's one ERP session, handed to the windows that write to the
    // ERP (the rupture window's order generation).
    void setSessao(SessaoErp *sessao) { m_sessao = sessao; }
    SessaoErp *Sessao() const { return m_sessao; }

    // Creates BaseDados, runs its VerificaBaseDeDados and shows the window.
    // False when the class could not be created (the user is told why; the
    // window is shown all the same).
    bool Mostra();

    // Puts the text into the wide fifth panel of the status bar.
    void EscreveStatus(const QString &texto);

    // Adds a child window to the document area, centred in it and with the
    // main window's icon, and shows it. The child closes (and is deleted) with
    // its sub-window.
    QMdiSubWindow *colocaJanelaFilha(QWidget *janela);

    // The action (menu item or menu) of that name, nullptr when unknown.
    QAction *accao(const QString &nome) const;
    // The ten toolbar buttons in order, separators included.
    QList<QAction *> botoes() const { return m_botoes; }
    // Status bar panel 1 to 6.
    QLabel *painel(int numero) const;
    QMdiArea *areaFilhas() const { return m_area; }
    QToolBar *barraFerramentas() const { return m_barra; }

public slots:
    // One per child window. The menu items and buttons that call them stay
    // disabled until their window is wired in here.
    void abreFicha();                       // Mf_equivalencias
    void abrePesquisa();                    // mProc
    void abreConsultaPrecos(int tipo);      // Mp_ConsultaPrecos (1), Mp_ConsultaPrecos2 (2)
    void abreRuptura(int modo);             // Mp_rutura (1), Mp_rutura1 (2)
    void abrePrecosClientes();              // ConPreCli
    void abreImportador();                  // Importador (not offered)

    // "Ligação ao Servidor &SQL": edits the connection values of the settings
    // file; they take effect at the next start.
    void configuraLigacaoSql();
    // The About box.
    void acercaDe();
    // "&Arrangar icons": lines the minimised child windows up along the bottom.
    void arranjaIcones();

protected:
    void closeEvent(QCloseEvent *evento) override;

private:
    void arranjaEmFaixas(Qt::Orientation sentido);
    void criaMenus();
    void criaBarraFerramentas();
    void criaBarraEstado();
    QAction *item(QMenu *menu, const QString &legenda, const QString &nome, bool disponivel);
    QAction *botao(int imagem, const QString &legenda, const QString &accaoMenu);
    void actualizaMenuJanelas();

    LigacaoBd *m_bd = nullptr;
    SessaoErp *m_sessao = nullptr;
    std::unique_ptr<BaseDados> m_baseDados;
    QMdiArea *m_area;
    QToolBar *m_barra = nullptr;
    QMenu *m_menuJanelas = nullptr;
    QAction *m_fimArranjos = nullptr;
    QList<QAction *> m_botoes;
    QList<QLabel *> m_paineis;
};
