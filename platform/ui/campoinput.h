#pragma once
#include <QLineEdit>

// The input field of every window: a line editor that tells its window what
// the user does, through notifications whose reference arguments let the
// window change or refuse it. Before a key goes down the window sees its key
// code (teclaEmBaixo) and before a character is typed its character code
// (teclaPremida); setting either to 0 discards the key, changing the character
// types the other one. F4 and a double-click ask for the field's lookup list,
// every change of the text is reported (also when the program sets it), and so
// are getting and losing the focus. When a user gesture is about to take the
// focus away (Tab, Shift+Tab, a click on another control, an access key) the
// application (AplicacaoTessela) asks the field's window through valida():
// a cancel keeps the focus here. A numeric format makes the field accept a
// Portuguese number and show it formatted once the focus leaves. Fields placed
// as an array carry their index.
class CampoInput : public QLineEdit
{
    Q_OBJECT
public:
    explicit CampoInput(QWidget *pai = nullptr);

    // Position in the window's array of fields; -1 for a field on its own.
    int indice() const { return m_indice; }
    void setIndice(int indice) { m_indice = indice; }

    // "###,###.00": a number with as many decimal places as the format has
    // after the point, thousands grouped when it has a comma. Empty: plain text.
    void setFormatoNumerico(const QString &formato);
    QString formatoNumerico() const { return m_formato; }

    // The selection as the windows set it: first its start, then its length.
    void setInicioSeleccao(int inicio);
    void setComprimentoSeleccao(int comprimento);
    int inicioSeleccao() const;
    int comprimentoSeleccao() const { return selectionLength(); }

    // A code picked from the field's lookup list: it fills the field, wholly
    // selected, and the field takes the focus and queues a Tab, so that the
    // code leaves the field through the window's check like a typed one.
    void poeEscolhido(const QString &codigo);
    // Esc in a field that steps back (the windows' filter fields): queues a
    // Shift+Tab and discards the key. True when the key was Esc.
    static bool recuaComEsc(int &codigoCaracter);

    // Asks the window whether the focus may leave the field (raises valida).
    // True when it may. Hidden or disabled fields, fields of a window that is
    // no longer shown, and a request made while the check is already running
    // are not checked again; the latter is refused.
    bool validaSaida();

signals:
    void ganhouFoco();
    void perdeuFoco();
    void valida(bool &cancela);
    void pedeLista();
    void teclaEmBaixo(int &codigoTecla, int shift);
    void teclaPremida(int &codigoCaracter);
    void alterado();

protected:
    void keyPressEvent(QKeyEvent *evento) override;
    void inputMethodEvent(QInputMethodEvent *evento) override;
    void mouseDoubleClickEvent(QMouseEvent *evento) override;
    void focusInEvent(QFocusEvent *evento) override;
    void focusOutEvent(QFocusEvent *evento) override;

private:
    void tratarCaracter(QKeyEvent *evento);
    bool aceitaCaracter(int codigo) const;
    void deixouFoco();
    void formata();

    int m_indice = -1;
    QString m_formato;
    int m_casas = 0;
    bool m_agrupa = false;
    bool m_validando = false;
    bool m_focoAvisado = false;
};
