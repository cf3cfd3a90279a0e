#include "acercade.h"
#include "calendario.h"
#include "testmain.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

// The pop-up calendar inside a window, as the grids use it, and the About box.
class TstCalendario : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete m_janela; }
    void enterEscEDuploClique();
    void fechaAoPerderOFoco();
    void acercaDeMostraOsTextos();

private:
    void abre(const QDate &data)
    {
        m_cal->mostraEm(QPoint(40, 30), data);
        QCOMPARE(m_cal->pos(), QPoint(40, 30));
        QTRY_VERIFY(m_cal->isAncestorOf(QApplication::focusWidget()));
    }
    static void tecla(int t) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(t)); }

    QWidget *m_janela = nullptr;
    QLineEdit *m_campo = nullptr;
    Calendario *m_cal = nullptr;
};

void TstCalendario::init()
{
    m_janela = new QWidget;
    m_janela->resize(600, 400);
    m_campo = new QLineEdit(m_janela);
    m_cal = new Calendario(m_janela);
    m_janela->show();
    m_janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_janela));
    QVERIFY(!m_cal->isVisible());
    QVERIFY(m_cal->height() > 0);   // known before showing, to place it
}

void TstCalendario::enterEscEDuploClique()
{
    QSignalSpy escolhida(m_cal, &Calendario::dataEscolhida);
    QSignalSpy enter(m_cal, &Calendario::enterPremido);
    QSignalSpy esc(m_cal, &Calendario::escPremido);
    QSignalSpy fechado(m_cal, &Calendario::fechado);

    abre(QDate(2024, 3, 13));   // a Wednesday
    tecla(Qt::Key_Right);
    tecla(Qt::Key_Return);
    QCOMPARE(enter.size(), 1);
    QCOMPARE(enter.first().first().toDate(), QDate(2024, 3, 14));
    QCOMPARE(escolhida.size(), 0);   // Enter is not a double-click
    QVERIFY(!m_cal->isVisible());
    QCOMPARE(fechado.size(), 1);

    abre(QDate(2024, 3, 13));
    tecla(Qt::Key_Escape);
    QCOMPARE(esc.size(), 1);
    QVERIFY(!m_cal->isVisible());
    QCOMPARE(fechado.size(), 2);

    abre(QDate(2024, 3, 13));   // double-click on the next day
    auto *dias = m_cal->findChild<QTableView *>();
    const QModelIndex hoje = dias->currentIndex();
    const QPoint amanha = dias->visualRect(hoje.sibling(hoje.row(), hoje.column() + 1)).center();
    QTest::mouseClick(dias->viewport(), Qt::LeftButton, {}, amanha);
    QTest::mouseDClick(dias->viewport(), Qt::LeftButton, {}, amanha);
    QCOMPARE(escolhida.size(), 1);
    QCOMPARE(escolhida.first().first().toDate(), QDate(2024, 3, 14));
    QCOMPARE(enter.size(), 1);
    QVERIFY(!m_cal->isVisible());
    QCOMPARE(fechado.size(), 3);

    // An invalid date opens on today. When the window hides it and moves the
    // focus itself, as the grids do, the closing is still told once.
    abre(QDate());
    QCOMPARE(m_cal->data(), QDate::currentDate());
    connect(m_cal, &Calendario::enterPremido, m_cal, [this] {
        m_cal->hide();
        m_campo->setFocus();
    });
    tecla(Qt::Key_Enter);
    QCOMPARE(enter.last().first().toDate(), QDate::currentDate());
    QCOMPARE(QApplication::focusWidget(), m_campo);
    QCOMPARE(fechado.size(), 4);
}

void TstCalendario::fechaAoPerderOFoco()
{
    QSignalSpy fechado(m_cal, &Calendario::fechado);
    QSignalSpy enter(m_cal, &Calendario::enterPremido);
    abre(QDate(2024, 1, 10));
    tecla(Qt::Key_Down);   // moving inside keeps it open
    QVERIFY(m_cal->isVisible());
    m_campo->setFocus();
    QTRY_VERIFY(!m_cal->isVisible());
    QCOMPARE(fechado.size(), 1);
    QTest::keyClick(m_campo, Qt::Key_Return);
    QCOMPARE(enter.size(), 0);
}

void TstCalendario::acercaDeMostraOsTextos()
{
    AcercaDe a;
    a.setTitulo(QStringLiteral("Tessela"));
    a.setDescricao(QStringLiteral("Equivalência de Referências"));
    a.setVersao(QStringLiteral("22.5.1"));
    a.show();
    a.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&a));
    QCOMPARE(a.findChild<QLabel *>(QStringLiteral("titulo"))->text(), QStringLiteral("Tessela"));
    QCOMPARE(a.findChild<QLabel *>(QStringLiteral("descricao"))->text(), QStringLiteral("Equivalência de Referências"));
    QCOMPARE(a.findChild<QLabel *>(QStringLiteral("versao"))->text(), QStringLiteral("Versão 22.5.1"));
    QTest::keyClick(&a, Qt::Key_Return);   // OK is the default button
    QCOMPARE(a.result(), int(QDialog::Accepted));
}

TESSELA_TEST_MAIN(TstCalendario)
#include "tst_calendario.moc"
