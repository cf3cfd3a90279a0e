#pragma once
#include <QApplication>
#include <QList>
#include <QPointer>

class QAbstractButton;
class QKeySequence;
class QShortcutEvent;
class CampoInput;
class QKeyEvent;

// The program's application object. Besides running the event loop it runs
// the check of the input field (CampoInput::valida) that a user gesture is
// about to leave: Tab and Shift+Tab in the field, a mouse press on another
// control of the same window that takes the focus, and an access key of
// another control of that window. When the window cancels the check, the
// gesture is dropped and the focus stays in the field. This has to happen
// here, before Qt itself moves the focus on a mouse press. Focus moves made by
// the program (setFocus), window switches and controls marked as not causing
// the check (a cancel button) never run it. Test programs create it through
// TESSELA_TEST_MAIN (testmain.h).
class AplicacaoTessela : public QApplication
{
    Q_OBJECT
public:
    AplicacaoTessela(int &argc, char **argv);

    bool notify(QObject *receptor, QEvent *evento) override;

    // Whether moving the focus onto a control checks the field being left
    // (true unless marked otherwise).
    static void setCausaValidacao(QWidget *controlo, bool causa);
    static bool causaValidacao(const QWidget *controlo);

    // The window a control belongs to for the checks: its document sub-window
    // inside the main window, or its top-level window.
    static QWidget *formulario(QWidget *controlo);
    // The visible, enabled buttons of a window whose caption marks that access key.
    static QList<QAbstractButton *> botoesComTecla(QWidget *form, const QKeySequence &tecla);

    // The window that most recently had the focus and is still shown (also
    // while, right after a dialog closed, no window is active).
    static QWidget *janelaRecente();

private:
    bool deixaPassarTecla(QObject *receptor, const QKeyEvent *evento);
    bool deixaPassarRato(QObject *receptor);
    bool deixaPassarAtalho(QObject *receptor);
    // An access key shared by the child window that has the focus and the
    // main menu bar goes to the window's button on every press; true when
    // handled here.
    bool atalhoDaJanelaActiva(const QShortcutEvent *evento);
    void lembraJanela(QWidget *agora);

    bool m_engoleLibertacao = false;
    QList<QPointer<QWidget>> m_janelas;
};
