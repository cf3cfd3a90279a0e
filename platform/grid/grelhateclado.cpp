// Keyboard navigation and in-place editing of the grid.
#include "delegadogrelha.h"
#include "grelha.h"
#include "modelogrelha.h"
#include "teclas.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

// ---- navigation ------------------------------------------------------------

bool Grelha::podeFocar(int coluna) const
{
    if (coluna < 0 || coluna >= numeroColunas() || isColumnHidden(coluna))
        return false;
    const ColunaGrelha &c = m_modelo->colunas().at(coluna);
    return c.recebeFoco && !c.oculta;
}

int Grelha::colunaFocavel(int desde, int passo) const
{
    for (int c = desde; c >= 0 && c < numeroColunas(); c += passo)
        if (podeFocar(c))
            return c;
    return -1;
}

void Grelha::vaiPara(int linha, int coluna)
{
    const QModelIndex i = m_modelo->index(linha, coluna);
    if (!i.isValid())
        return;
    setCurrentIndex(i);
    scrollTo(i);
}

Grelha::Movimento Grelha::movimentoTecla(int comportamento, bool recua) const
{
    switch (comportamento) {
    case ProximaCelula:
        return recua ? Movimento::Anterior : Movimento::Seguinte;
    case ProximaLinha:
        return recua ? Movimento::Acima : Movimento::Abaixo;
    default:
        return Movimento::Nenhum;
    }
}

bool Grelha::avanca(Movimento m)
{
    if (m == Movimento::Nenhum)
        return false;
    const QModelIndex i = currentIndex();
    const int n = m_modelo->rowCount();
    if (!i.isValid()) {
        const int c = colunaFocavel(0, 1);
        if (n == 0 || c < 0)
            return false;
        vaiPara(0, c);
        return true;
    }
    const int r = i.row(), c = i.column();
    int destinoLinha = r, destinoColuna = c;
    switch (m) {
    case Movimento::Seguinte:
        destinoColuna = colunaFocavel(c + 1, 1);
        if (destinoColuna < 0) {   // row end: the next line's first focusable cell
            destinoLinha = r + 1;
            destinoColuna = colunaFocavel(0, 1);
        }
        break;
    case Movimento::Anterior:
        destinoColuna = colunaFocavel(c - 1, -1);
        if (destinoColuna < 0) {
            destinoLinha = r - 1;
            destinoColuna = colunaFocavel(numeroColunas() - 1, -1);
        }
        break;
    case Movimento::Acima:
        destinoLinha = r - 1;
        break;
    case Movimento::Abaixo:
        destinoLinha = r + 1;
        break;
    case Movimento::Nenhum:
        break;
    }
    if (destinoLinha < 0 || destinoLinha >= n || destinoColuna < 0)
        return false;
    vaiPara(destinoLinha, destinoColuna);
    return true;
}

bool Grelha::trataNavegacao(QKeyEvent *e)
{
    const int n = m_modelo->rowCount();
    const QModelIndex i = currentIndex();
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    int r = i.isValid() ? i.row() : -1;
    int c = i.isValid() ? i.column() : colunaFocavel(0, 1);
    const int pagina = qMax(1, viewport()->height() / qMax(1, verticalHeader()->defaultSectionSize()) - 1);
    switch (e->key()) {
    case Qt::Key_Up:
        r = qMax(0, r - 1);
        break;
    case Qt::Key_Down:
        r = r < 0 ? 0 : qMin(r + 1, n - 1);
        break;
    case Qt::Key_Left:
        if (r >= 0 && colunaFocavel(c - 1, -1) >= 0)
            c = colunaFocavel(c - 1, -1);
        break;
    case Qt::Key_Right:
        if (r >= 0 && colunaFocavel(c + 1, 1) >= 0)
            c = colunaFocavel(c + 1, 1);
        break;
    case Qt::Key_Home:
        if (ctrl)
            r = 0;
        else
            c = colunaFocavel(0, 1);
        break;
    case Qt::Key_End:
        if (ctrl)
            r = n - 1;
        else
            c = colunaFocavel(numeroColunas() - 1, -1);
        break;
    case Qt::Key_PageUp:
        r = qMax(0, r - pagina);
        break;
    case Qt::Key_PageDown:
        r = qMin(n - 1, qMax(0, r + pagina));
        break;
    default:
        return false;
    }
    vaiPara(qMax(0, r), c);
    return true;
}

void Grelha::keyPressEvent(QKeyEvent *e)
{
    if (m_editor) {
        // A key sent to the grid while a cell is edited belongs to the editor;
        // the guard stops a key the editor ignores from coming back here.
        if (!m_aReencaminhar) {
            m_aReencaminhar = true;
            QCoreApplication::sendEvent(m_editor, e);
            m_aReencaminhar = false;
        }
        return;
    }
    int tecla = Teclas::codigoTecla(e->key(), e->modifiers());
    if (tecla != 0) {
        emit teclaPremida(tecla, Teclas::estadoShift(e->modifiers()));
        if (tecla == 0)
            return;   // discarded by the handler
    }
    const QModelIndex i = currentIndex();
    const Qt::KeyboardModifiers mods = e->modifiers();
    const ColunaGrelha *c = i.isValid() ? &m_modelo->colunas().at(i.column()) : nullptr;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (soLeitura()) {
            if (tipoLinha() == LinhaDados)
                emit linhaActivada(linhaActual());
        } else {
            avanca(movimentoTecla(m_enter, false));
        }
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // Ignored, the key moves the focus on to the next control.
        if (!avanca(movimentoTecla(m_tab, e->key() == Qt::Key_Backtab)))
            e->ignore();
        return;
    case Qt::Key_F2:
        iniciaEdicao();
        return;
    case Qt::Key_F4:
        if (c && c->botao != BotaoCelula::Nenhum)
            emit botaoCelula(i.row() + 1, i.column() + 1);
        return;
    case Qt::Key_Delete:
        if (m_permiteApagar && i.isValid() && ((mods & Qt::ControlModifier) || m_linhaMarcada == i.row()))
            apagaLinhaActual();
        return;
    case Qt::Key_Space:
        if (c && c->tipo == TipoColuna::Booleano) {
            iniciaEdicao();
            return;
        }
        break;
    case Qt::Key_Down:
        if ((mods & Qt::AltModifier) && c && c->botao != BotaoCelula::Nenhum) {
            emit botaoCelula(i.row() + 1, i.column() + 1);
            return;
        }
        break;
    default:
        break;
    }
    if (trataNavegacao(e))
        return;
    if (e->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(textoActual());
        return;
    }
    const QString texto = e->text();
    if (!texto.isEmpty() && texto.at(0).isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        iniciaEdicaoCom(e);
        return;
    }
    e->ignore();
}

void Grelha::inputMethodEvent(QInputMethodEvent *e)
{
    // A letter composed with a dead key starts editing like a typed one.
    if (!m_editor && !e->commitString().isEmpty() && iniciaEdicao() && m_editor) {
        m_editor->selectAll();
        QCoreApplication::sendEvent(m_editor, e);
        return;
    }
    e->ignore();
}

// ---- editing ---------------------------------------------------------------

void Grelha::materializaNovaLinha()
{
    // The new-row line becomes a data row where it stands; a new one follows.
    semNotificar([this] { m_modelo->setLinhas(m_modelo->linhas() + 1); });
}

bool Grelha::iniciaEdicao()
{
    if (m_editor)
        return true;
    QModelIndex i = currentIndex();
    if (!i.isValid() || !(m_modelo->flags(i) & Qt::ItemIsEditable))
        return false;
    if (m_modelo->colunas().at(i.column()).tipo == TipoColuna::Booleano)
        return alternaBooleano();
    if (m_modelo->eNovaLinha(i.row()))
        materializaNovaLinha();
    emit edicaoVaiComecar(i.row() + 1, i.column() + 1);
    i = currentIndex();   // the handler may have moved the current cell
    if (!i.isValid() || !(m_modelo->flags(i) & Qt::ItemIsEditable) || m_modelo->eNovaLinha(i.row()))
        return false;
    m_valorAntes = m_modelo->valor(i.row(), i.column());
    m_linhaEdicao = i.row();
    m_colunaEdicao = i.column();
    m_delegado->esqueceEditor();
    edit(i);
    m_editor = m_delegado->editor();
    if (!m_editor)
        return false;
    m_editor->deselect();
    m_editor->end(false);
    return true;
}

bool Grelha::iniciaEdicaoCom(QKeyEvent *tecla)
{
    if (!iniciaEdicao() || !m_editor)
        return false;
    // The typed key replaces the old text, going through the editor's key
    // handling like every other key typed while editing.
    m_editor->selectAll();
    QKeyEvent copia(QEvent::KeyPress, tecla->key(), tecla->modifiers(), tecla->text());
    QCoreApplication::sendEvent(m_editor, &copia);
    return true;
}

bool Grelha::alternaBooleano()
{
    const QModelIndex i = currentIndex();
    if (m_modelo->eNovaLinha(i.row()))
        materializaNovaLinha();
    emit edicaoVaiComecar(i.row() + 1, i.column() + 1);
    const QVariant anterior = m_modelo->valor(i.row(), i.column());
    m_modelo->setValor(i.row(), i.column(), !anterior.toBool());
    return confirmaValor(i.row(), i.column(), anterior);
}

bool Grelha::confirmaValor(int linha, int coluna, const QVariant &anterior)
{
    bool cancela = false;
    emit validaCelula(linha + 1, coluna + 1, anterior, cancela);
    emit edicaoTerminou(linha + 1, coluna + 1);
    if (!cancela)
        return true;
    // Refused: the focus stays in that cell, whatever the value now is.
    if (currentIndex() != m_modelo->index(linha, coluna))
        vaiPara(linha, coluna);
    setFocus();
    return false;
}

void Grelha::fechaEditor()
{
    QLineEdit *e = m_editor;
    m_editor = nullptr;
    if (!e)
        return;
    // The item view hands the focus back to the grid only when the editor has
    // it at that moment. Right after a dialog (a lookup list) closes, the
    // window manager has not yet made the window active again: the editor is
    // then the window's focus widget without having the focus, and once it is
    // gone the window, when activated, would give the focus to some other
    // control. The grid takes the window's focus back itself.
    if (!e->hasFocus() && e->window()->focusWidget() == e)
        setFocus(Qt::OtherFocusReason);
    QAbstractItemView::closeEditor(e, QAbstractItemDelegate::NoHint);
}

bool Grelha::terminaEdicao()
{
    if (!m_editor)
        return true;
    if (m_aTerminar)
        return false;
    m_aTerminar = true;
    const QString texto = m_editor->text();
    const int l = m_linhaEdicao, c = m_colunaEdicao;
    const QVariant anterior = m_valorAntes;
    fechaEditor();
    m_modelo->setValor(l, c, m_modelo->colunas().at(c).valorDoTexto(texto));
    const bool aceite = confirmaValor(l, c, anterior);
    m_aTerminar = false;
    return aceite;
}

bool Grelha::terminaEdicaoE(Movimento m, bool sai, bool recua)
{
    if (!terminaEdicao())
        return false;
    if (!avanca(m) && sai)
        QAbstractScrollArea::focusNextPrevChild(!recua);
    return true;
}

void Grelha::cancelaEdicao()
{
    if (!m_editor)
        return;
    const int l = m_linhaEdicao, c = m_colunaEdicao;
    fechaEditor();
    emit edicaoTerminou(l + 1, c + 1);
}

bool Grelha::teclaNoEditor(QKeyEvent *e)
{
    if (!m_editor)
        return false;
    int tecla = Teclas::codigoTecla(e->key(), e->modifiers());
    if (tecla != 0) {
        emit teclaEmEdicao(m_linhaEdicao + 1, m_colunaEdicao + 1, tecla, Teclas::estadoShift(e->modifiers()));
        if (tecla == 0 || !m_editor)
            return true;   // discarded, or the handler ended the edit
    }
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        terminaEdicaoE(movimentoTecla(m_enter, false));
        return true;
    case Qt::Key_Tab:
        terminaEdicaoE(movimentoTecla(m_tab, false), true);
        return true;
    case Qt::Key_Backtab:
        terminaEdicaoE(movimentoTecla(m_tab, true), true, true);
        return true;
    case Qt::Key_Escape:
        cancelaEdicao();
        return true;
    case Qt::Key_Up:
        terminaEdicaoE(Movimento::Acima);
        return true;
    case Qt::Key_Down:
        terminaEdicaoE(Movimento::Abaixo);
        return true;
    case Qt::Key_F4:
        if (m_modelo->colunas().at(m_colunaEdicao).botao != BotaoCelula::Nenhum)
            emit botaoCelula(m_linhaEdicao + 1, m_colunaEdicao + 1);
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;   // of no use to a line editor
    default:
        return e->key() >= Qt::Key_F1 && e->key() <= Qt::Key_F35;
    }
}

void Grelha::editorPerdeuFoco(Qt::FocusReason motivo)
{
    if (!m_editor || m_aTerminar || motivo == Qt::ActiveWindowFocusReason || motivo == Qt::PopupFocusReason)
        return;
    QWidget *novo = QApplication::focusWidget();
    if (novo && (novo == this || isAncestorOf(novo)))
        return;   // a click in the grid: the grid commits before it moves
    terminaEdicao();
}
