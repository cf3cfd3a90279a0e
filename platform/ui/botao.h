#pragma once
#include <QPushButton>

// The button of every window. Its caption marks the access key with an
// ampersand ("&Confirmar": Alt+C clicks it at once), Enter or Space click it
// when it has the focus, and each click is reported by clicado(). A click by
// the user first runs the check of the input field that has the focus and is
// held back when that check is cancelled; buttons that must work whatever the
// field holds (cancel, close) are marked with setCausaValidacao(false).
// Buttons placed as an array carry their index.
class Botao : public QPushButton
{
    Q_OBJECT
public:
    explicit Botao(QWidget *pai = nullptr);
    explicit Botao(const QString &legenda, QWidget *pai = nullptr);

    void setCausaValidacao(bool causa);
    bool causaValidacao() const;

    // Position in the window's array of buttons; -1 for a button on its own.
    int indice() const { return m_indice; }
    void setIndice(int indice) { m_indice = indice; }

signals:
    void clicado();

protected:
    bool event(QEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;

private:
    int m_indice = -1;
};
