#pragma once
#include <QCalendarWidget>
#include <QDate>

// The pop-up calendar a window keeps as a hidden child and shows next to a date
// cell: the window sets the date, moves it (mostraEm does both and gives it the
// focus) and reacts to its signals. A double-click on a day gives
// dataEscolhida, Enter gives enterPremido with the selected date, Esc gives
// escPremido. The window's slots run while the calendar still has the focus,
// so they can move it straight to the grid. After any of these, and when the
// focus goes to a widget outside it, the calendar hides itself (unless the
// window already did) and says so with fechado(), once per opening.
class Calendario : public QCalendarWidget
{
    Q_OBJECT
public:
    explicit Calendario(QWidget *parent = nullptr);

    void setData(const QDate &data);
    QDate data() const { return selectedDate(); }

    // Sets the date (today when it is not valid), places the calendar at pos in
    // its parent's coordinates, brings it to the front, shows it and focuses it.
    void mostraEm(const QPoint &pos, const QDate &data);

signals:
    void dataEscolhida(const QDate &data);
    void enterPremido(const QDate &data);
    void escPremido();
    void fechado();

protected:
    bool eventFilter(QObject *objecto, QEvent *evento) override;
    void showEvent(QShowEvent *evento) override;

private:
    void focoMudou(QWidget *antes, QWidget *agora);
    bool contem(const QWidget *w) const;
    void fecha();

    bool m_aberto = false;   // shown and not yet closed by itself
};
