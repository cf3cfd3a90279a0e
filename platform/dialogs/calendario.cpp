#include "calendario.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QTableView>

Calendario::Calendario(QWidget *parent) : QCalendarWidget(parent)
{
    setLocale(QLocale(QLocale::Portuguese, QLocale::Portugal));
    setFirstDayOfWeek(Qt::Monday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Portuguese abbreviated day names are whole words; one letter keeps it compact.
    setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    setGridVisible(true);
    setAutoFillBackground(true);
    resize(sizeHint());   // callers place it by its height before it is shown
    hide();

    // The keys arrive at the inner day table (the focus proxy); catch them there
    // before it turns Enter into an activation.
    installEventFilter(this);
    if (auto *dias = findChild<QTableView *>())
        dias->installEventFilter(this);
    // The inner table reports a double-click on a day as activated; Enter never
    // reaches it because the filter above takes it.
    connect(this, &QCalendarWidget::activated, this, [this](const QDate &d) {
        emit dataEscolhida(d);
        fecha();
    });
    connect(qApp, &QApplication::focusChanged, this, &Calendario::focoMudou);
}

void Calendario::setData(const QDate &data) { setSelectedDate(data); }

void Calendario::mostraEm(const QPoint &pos, const QDate &data)
{
    setData(data.isValid() ? data : QDate::currentDate());
    move(pos);
    raise();
    show();
    setFocus();
}

bool Calendario::eventFilter(QObject *objecto, QEvent *evento)
{
    if (evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            emit enterPremido(selectedDate());
            fecha();
            return true;
        }
        if (tecla == Qt::Key_Escape) {
            emit escPremido();
            fecha();
            return true;
        }
    }
    return QCalendarWidget::eventFilter(objecto, evento);
}

void Calendario::showEvent(QShowEvent *evento)
{
    m_aberto = true;
    QCalendarWidget::showEvent(evento);
}

bool Calendario::contem(const QWidget *w) const
{
    // Walks up across windows too: the month menu is a pop-up of its own.
    for (; w; w = w->parentWidget())
        if (w == this)
            return true;
    return false;
}

void Calendario::focoMudou(QWidget *antes, QWidget *agora)
{
    Q_UNUSED(antes);
    // No new focus widget means the program itself lost the focus: stay open.
    if (m_aberto && isVisible() && agora && !contem(agora))
        fecha();
}

void Calendario::fecha()
{
    if (!m_aberto)
        return;
    m_aberto = false;
    if (isVisible())
        hide();
    emit fechado();
}
