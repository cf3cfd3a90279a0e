#include "botao.h"

#include "aplicacaotessela.h"

#include <QKeyEvent>
#include <QShortcutEvent>

Botao::Botao(QWidget *pai)
    : Botao(QString(), pai)
{
}

Botao::Botao(const QString &legenda, QWidget *pai)
    : QPushButton(legenda, pai)
{
    setAutoDefault(false);
    connect(this, &QAbstractButton::clicked, this, &Botao::clicado);
}

void Botao::setCausaValidacao(bool causa)
{
    AplicacaoTessela::setCausaValidacao(this, causa);
}

bool Botao::causaValidacao() const
{
    return AplicacaoTessela::causaValidacao(this);
}

bool Botao::event(QEvent *evento)
{
    // The access key clicks at once (Qt would animate the press for a moment
    // first, and the window's next keystrokes would race with the click).
    if (evento->type() == QEvent::Shortcut && !static_cast<QShortcutEvent *>(evento)->isAmbiguous()) {
        if (isEnabled() && isVisible()) {
            if (focusPolicy() != Qt::NoFocus)
                setFocus(Qt::ShortcutFocusReason);
            click();
        }
        return true;
    }
    return QPushButton::event(evento);
}

void Botao::keyPressEvent(QKeyEvent *evento)
{
    if ((evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter)
        && !(evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        evento->accept();
        click();
        return;
    }
    QPushButton::keyPressEvent(evento);
}
