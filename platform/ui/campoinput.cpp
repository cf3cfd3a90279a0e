#include "campoinput.h"

#include "enviateclas.h"
#include "teclas.h"
#include "valores.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPointer>

CampoInput::CampoInput(QWidget *pai)
    : QLineEdit(pai)
{
    connect(this, &QLineEdit::textChanged, this, &CampoInput::alterado);
    // While its window is not active a field can lose the focus without a
    // focus-out event (the program moved the focus); the application still
    // reports the new focus widget when the window comes back.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *agora) {
        if (m_focoAvisado && agora && agora != this && agora->window() == window())
            deixouFoco();
    });
}

void CampoInput::setFormatoNumerico(const QString &formato)
{
    m_formato = formato.trimmed();
    const qsizetype ponto = m_formato.indexOf(QLatin1Char('.'));
    m_casas = ponto < 0 ? 0 : int(m_formato.size() - ponto - 1);
    m_agrupa = m_formato.contains(QLatin1Char(','));
    setAlignment(m_formato.isEmpty() ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
    if (!hasFocus())
        formata();
}

void CampoInput::setInicioSeleccao(int inicio)
{
    setCursorPosition(inicio);
}

void CampoInput::setComprimentoSeleccao(int comprimento)
{
    setSelection(inicioSeleccao(), comprimento);
}

int CampoInput::inicioSeleccao() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void CampoInput::poeEscolhido(const QString &codigo)
{
    setText(codigo);
    setInicioSeleccao(0);
    setComprimentoSeleccao(int(codigo.size()));
    setFocus();
    EnviaTeclas(QStringLiteral("{TAB}"));
}

bool CampoInput::recuaComEsc(int &codigoCaracter)
{
    if (codigoCaracter != Teclas::Esc)
        return false;
    EnviaTeclas(QStringLiteral("+{TAB}"));
    codigoCaracter = 0;
    return true;
}

bool CampoInput::validaSaida()
{
    if (m_validando)
        return false;
    if (!isVisible() || !isEnabled() || !window()->isVisible())
        return true;
    QPointer<CampoInput> guarda(this);
    m_validando = true;
    bool cancela = false;
    emit valida(cancela);
    if (!guarda)
        return true;
    m_validando = false;
    return !cancela;
}

void CampoInput::keyPressEvent(QKeyEvent *evento)
{
    const int tecla = evento->key();
    // Tab and Shift+Tab move the focus; the window only sees them through valida().
    if (tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab) {
        QLineEdit::keyPressEvent(evento);
        return;
    }
    int codigo = Teclas::codigoTecla(tecla, evento->modifiers());
    if (codigo != 0) {
        emit teclaEmBaixo(codigo, Teclas::estadoShift(evento->modifiers()));
        if (codigo == 0) {
            evento->accept();
            return;
        }
    }
    if (tecla == Qt::Key_F4 && !(evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        evento->accept();
        emit pedeLista();
        return;
    }
    tratarCaracter(evento);
}

void CampoInput::tratarCaracter(QKeyEvent *evento)
{
    const int original = Teclas::codigoCaracter(*evento);
    if (original == 0) {
        QLineEdit::keyPressEvent(evento);
        return;
    }
    int codigo = original;
    emit teclaPremida(codigo);
    if (codigo == 0 || !aceitaCaracter(codigo)) {
        evento->accept();
        return;
    }
    if (codigo == original) {
        QLineEdit::keyPressEvent(evento);
        return;
    }
    // The window asked for another character: type that one instead.
    int tecla = Teclas::teclaDeCaracter(codigo);
    Qt::KeyboardModifiers mods = evento->modifiers() & Qt::ShiftModifier;
    if (codigo >= 1 && codigo <= 26 && codigo != Teclas::Backspace && codigo != Teclas::Enter) {
        tecla = Qt::Key_A + codigo - 1;
        mods = Qt::ControlModifier;
    }
    QKeyEvent outro(QEvent::KeyPress, tecla, mods, QString(QChar(codigo)));
    QLineEdit::keyPressEvent(&outro);
    evento->setAccepted(outro.isAccepted());
}

void CampoInput::inputMethodEvent(QInputMethodEvent *evento)
{
    // Composed characters (an accent followed by a letter) arrive here and not
    // as key presses; the window sees each of them all the same.
    const QString entrada = evento->commitString();
    if (entrada.isEmpty()) {
        QLineEdit::inputMethodEvent(evento);
        return;
    }
    QString saida;
    for (const QChar c : entrada) {
        int codigo = c.unicode();
        emit teclaPremida(codigo);
        if (codigo >= 32 && aceitaCaracter(codigo))
            saida += QChar(codigo);
    }
    if (saida == entrada) {
        QLineEdit::inputMethodEvent(evento);
        return;
    }
    QInputMethodEvent outro(evento->preeditString(), evento->attributes());
    outro.setCommitString(saida, evento->replacementStart(), evento->replacementLength());
    QLineEdit::inputMethodEvent(&outro);
}

bool CampoInput::aceitaCaracter(int codigo) const
{
    if (m_formato.isEmpty() || codigo < 32)
        return true;
    const QChar c(codigo);
    return c.isDigit() || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-')
        || c == QLatin1Char('+') || c == QLatin1Char(' ');
}

void CampoInput::mouseDoubleClickEvent(QMouseEvent *evento)
{
    QLineEdit::mouseDoubleClickEvent(evento);
    emit pedeLista();
}

void CampoInput::focusInEvent(QFocusEvent *evento)
{
    QLineEdit::focusInEvent(evento);
    // A menu or pop-up taking the keyboard for a moment is not a change of field.
    if (evento->reason() == Qt::PopupFocusReason || m_focoAvisado)
        return;
    m_focoAvisado = true;
    emit ganhouFoco();
}

void CampoInput::focusOutEvent(QFocusEvent *evento)
{
    QLineEdit::focusOutEvent(evento);
    // Another window or a message box becoming active leaves the field current
    // in its own window: it gets the keyboard back when the window does.
    if (evento->reason() == Qt::PopupFocusReason || evento->reason() == Qt::ActiveWindowFocusReason)
        return;
    deixouFoco();
}

void CampoInput::deixouFoco()
{
    if (!m_focoAvisado)
        return;
    m_focoAvisado = false;
    formata();
    emit perdeuFoco();
}

void CampoInput::formata()
{
    if (m_formato.isEmpty())
        return;
    Moeda valor;
    if (Moeda::leTexto(text(), &valor))
        setText(valor.textoCompleto(m_casas, m_agrupa));
}
