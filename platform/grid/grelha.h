#pragma once
#include "colunagrelha.h"
#include "linhagrelha.h"
#include "recordset.h"

#include <QDate>
#include <QPointer>
#include <QTableView>

class DelegadoGrelha;
class ModeloGrelha;
#include <QLineEdit>

// The grid control of every window: columns set up by key with their type,
// width (twips), limits and behaviour; cells reached through a 0-based cell
// array by (row, data column) or through 1-based row and column numbers, the
// numbering every event uses (hidden columns count in both). It either edits
// its own cells in place (F2, typing, a double-click, Space on a Boolean;
// Enter and Tab commit and move as comportamentoEnter/comportamentoTab say,
// Up and Down commit and move, Esc drops the edit) or shows a bound Recordset
// read-only, where Enter activates the current row. Handlers must connect
// directly: several signals pass values by reference for the handler to change.
class Grelha : public QTableView
{
    Q_OBJECT
public:
    // How Enter and Tab move once a cell is committed.
    enum Comportamento {
        FicaNaCelula = 0,   // Enter stays; Tab leaves the grid
        ProximaCelula = 1,  // the next focusable cell, the next line's first at a row end
        ProximaLinha = 2    // the cell below
    };
    // What the current row is (tipoLinha).
    enum TipoLinha { LinhaDados = 0, LinhaCabecalho = 1, LinhaNova = 2 };

    explicit Grelha(QWidget *parent = nullptr);
    ~Grelha() override;

    // Columns.
    void limpaColunas();
    int adicionaColuna(const ColunaGrelha &c);     // returns its column number (from 1)
    int numeroColunas() const;
    int numeroColuna(const QString &chave) const;  // 0 when there is no such column
    const ColunaGrelha *coluna(int numero) const;
    const ColunaGrelha *coluna(const QString &chave) const;
    void alteraColuna(int numero, const ColunaGrelha &c);

    // Rows and the current cell (numbers from 1; 0 = none). Moving the current
    // cell from code drops an edit in progress.
    int linhas() const;
    void setLinhas(int n);
    int linhaActual() const;
    void setLinhaActual(int linha);
    int colunaActual() const;
    void setColunaActual(int coluna);
    TipoLinha tipoLinha() const;
    // The current cell's value; while it is being edited, the editor's text.
    QVariant valorActual() const;
    void setValorActual(const QVariant &v);
    QDate dataActual() const;
    QString textoActual() const;
    // The current cell's rectangle in the grid's own coordinates.
    QRect rectanguloCelulaActual() const;
    // The top at which a pop-up (a calendar, a panel) opens next to the
    // current cell, in the coordinates of its parent, which must be the
    // grid's: just below the cell, or just above it when it would not fit
    // below within the parent.
    int topoJuntoCelulaActual(const QWidget &popup) const;
    // A code picked from a cell button's list: it becomes the current cell's
    // value, and the grid takes the focus and queues F2 and Tab, which open
    // the cell's editor and leave it, so that the code is checked like a
    // typed one.
    void aceitaEscolha(const QString &codigo);
    // The end of a cell check that refused the value of a cell (numbered as
    // the events number it): the message, when there is one, is shown, the
    // cell gets anterior back and the grid keeps the focus.
    void recusaValor(int linha, int coluna, const QVariant &anterior, const QString &mensagem);

    // Cells: the cell array by (row from 0, data column from 0), rows by number.
    QVariant matriz(int linha, int coluna) const;
    bool setMatriz(int linha, int coluna, const QVariant &v);
    LinhaGrelha linha(int numero) { return LinhaGrelha(this, numero); }
    QVariant celula(const QString &chave, int linha) const;   // row from 1
    bool setCelula(const QString &chave, int linha, const QVariant &v);
    QString textoCelula(int linha, int coluna) const;         // as shown; numbers from 1
    void redesenhaCelula(int linha, int coluna);              // coluna 0 = the whole row

    // Display and behaviour. With redraw off nothing repaints and cell writes
    // raise no signals; switching it on refreshes everything once.
    void setRedesenho(bool ligado);
    bool redesenho() const;
    void setFonteCabecalho(const QFont &fonte);
    void setCorFundo(const QColor &cor);
    void setComportamentoEnter(int c) { m_enter = c; }
    int comportamentoEnter() const { return m_enter; }
    void setComportamentoTab(int c) { m_tab = c; }
    int comportamentoTab() const { return m_tab; }
    // A new-row line (header "*") follows the last row: Down and Enter reach
    // it, and starting to write on it makes it a row (linhas() grows by one).
    void setPermiteAdicionar(bool sim);
    bool permiteAdicionar() const;
    void setPermiteApagar(bool sim) { m_permiteApagar = sim; }
    bool permiteApagar() const { return m_permiteApagar; }
    // No cell edits (rows are selected whole); liga turns it on.
    void setSoLeitura(bool sim);
    bool soLeitura() const;

    // Shows rs read-only: one column per field (key and heading = field name),
    // every row in the set's order. The grid keeps the set.
    void liga(const Recordset &rs);
    Recordset recordset() const { return m_recordset; }

    // Editing, also for windows that drive the grid from code.
    bool emEdicao() const { return !m_editor.isNull(); }
    bool iniciaEdicao();
    bool terminaEdicao();   // false when the validation refused the value
    void cancelaEdicao();
    // Asks linhaVaiSerApagada for the current row and removes it unless cancelled.
    bool apagaLinhaActual();

    // Called by the delegate for its editor.
    bool teclaNoEditor(QKeyEvent *e);
    void editorPerdeuFoco(Qt::FocusReason motivo);

signals:
    // The focus came into the grid from outside it (not back from its editor).
    void recebeuFoco();
    // Before the editor opens; the handler may still write cells (pre-filling).
    void edicaoVaiComecar(int linha, int coluna);
    // After every edit: committed, refused or dropped.
    void edicaoTerminou(int linha, int coluna);
    // The typed value is already in the cell. A cancel keeps the focus in the
    // cell and restores nothing: setValorActual(anterior) does, if wanted.
    void validaCelula(int linha, int coluna, const QVariant &anterior, bool &cancela);
    // Desktop key codes (Enter 13, Esc 27, Left 37, Down 40) and shift state
    // (Shift 1, Ctrl 2, Alt 4); setting tecla to 0 discards the key, Esc and
    // Enter included. The key that starts an edit by typing raises
    // teclaPremida and then teclaEmEdicao.
    void teclaEmEdicao(int linha, int coluna, int &tecla, int shift);
    void teclaPremida(int &tecla, int shift);
    // Ctrl+Del on the current row, or Delete on a row selected through its
    // header, when permiteApagar; the row is the current one while this runs.
    void linhaVaiSerApagada(int linha, bool &cancela);
    void linhasRemovidas();
    // A click on the cell button of the current row, F4 or Alt+Down.
    void botaoCelula(int linha, int coluna);
    // Raised once per change, whether by the user, by code or by rows going.
    void celulaActualMudou(int linhaAnterior, int colunaAnterior);
    void clique();
    void duploClique();
    // Enter on a data row of a read-only grid, or a double-click on a row header.
    void linhaActivada(int linha);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void inputMethodEvent(QInputMethodEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void changeEvent(QEvent *e) override;
    void currentChanged(const QModelIndex &actual, const QModelIndex &anterior) override;

private:
    enum class Movimento { Nenhum, Seguinte, Anterior, Acima, Abaixo };

    // Navigation (model rows and columns, from 0).
    bool podeFocar(int coluna) const;
    int colunaFocavel(int desde, int passo) const;
    void vaiPara(int linha, int coluna);
    bool avanca(Movimento m);
    Movimento movimentoTecla(int comportamento, bool recua) const;
    bool trataNavegacao(QKeyEvent *e);
    bool iniciaEdicaoCom(QKeyEvent *tecla);
    bool alternaBooleano();
    bool confirmaValor(int linha, int coluna, const QVariant &anterior);
    // Commits, then moves; with sai, a move that cannot be made leaves the grid
    // (forwards, or backwards with recua), as Tab does at the last cell.
    bool terminaEdicaoE(Movimento m, bool sai = false, bool recua = false);
    void linhaCabecalhoPremida(int linha);
    void materializaNovaLinha();
    void fechaEditor();
    void ajustaAlturaLinhas();
    // A column's width on screen: its twips, widened where a date would not
    // fit beside the cell button.
    int larguraPixeis(const ColunaGrelha &c) const;
    void notificaCelulaActual();
    // Runs a change of rows or columns without reporting the moves of the
    // current cell it causes half-way; the net change is reported once at the end.
    template <typename F> void semNotificar(F f)
    {
        ++m_semNotificar;
        f();
        --m_semNotificar;
        notificaCelulaActual();
    }

    ModeloGrelha *m_modelo;
    DelegadoGrelha *m_delegado;
    Recordset m_recordset;
    QPointer<QLineEdit> m_editor;
    int m_linhaEdicao = -1, m_colunaEdicao = -1;
    QVariant m_valorAntes;
    bool m_aTerminar = false;
    bool m_aReencaminhar = false;
    int m_enter = FicaNaCelula, m_tab = FicaNaCelula;
    bool m_permiteApagar = false;
    int m_colunaPendente = 0;              // current column asked for while no row is current
    int m_linhaNotificada = 0, m_colunaNotificada = 0;
    int m_semNotificar = 0;
    int m_linhaMarcada = -1;               // row selected through its header
    QModelIndex m_premido;                 // cell under the last mouse press
    bool m_focoDentro = false;
};
