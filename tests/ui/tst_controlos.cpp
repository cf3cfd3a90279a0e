// The input field and button controls driven as the windows use them: the
// field's check when the user leaves it (and only then), its key and change
// notifications, the numeric format, access keys and queued keystrokes.
#include "botao.h"
#include "campoinput.h"
#include "enviateclas.h"
#include "testmain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QVBoxLayout>

class TstControlos : public QObject
{
    Q_OBJECT

private:
    QWidget *janela = nullptr;
    CampoInput *a = nullptr, *b = nullptr;
    Botao *conf = nullptr, *cancelar = nullptr;
    int validacoesA = 0, validacoesB = 0;
    bool cancelaA = false;

private slots:
    void init()
    {
        janela = new QWidget;
        auto *layout = new QVBoxLayout(janela);
        a = new CampoInput(janela);
        b = new CampoInput(janela);
        conf = new Botao(QStringLiteral("&Confirmar"), janela);
        cancelar = new Botao(QStringLiteral("Ca&ncelar"), janela);
        cancelar->setCausaValidacao(false);
        for (QWidget *w : {static_cast<QWidget *>(a), static_cast<QWidget *>(b), static_cast<QWidget *>(conf),
                           static_cast<QWidget *>(cancelar)})
            layout->addWidget(w);
        validacoesA = validacoesB = 0;
        cancelaA = false;
        connect(a, &CampoInput::valida, this, [this](bool &cancela) {
            ++validacoesA;
            cancela = cancelaA;
        });
        connect(b, &CampoInput::valida, this, [this](bool &) { ++validacoesB; });
        janela->show();
        janela->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(janela));
        a->setFocus();
        QCOMPARE(QApplication::focusWidget(), a);
    }

    void cleanup()
    {
        delete janela;
        janela = nullptr;
    }

    void validacaoPorTeclado()
    {
        QSignalSpy perdeuA(a, &CampoInput::perdeuFoco), ganhouB(b, &CampoInput::ganhouFoco);
        cancelaA = true;
        QTest::keyClick(a, Qt::Key_Tab);
        QTest::keyClick(a, Qt::Key_Backtab);
        QCOMPARE(validacoesA, 2);
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(perdeuA.count(), 0);

        cancelaA = false;
        QTest::keyClick(a, Qt::Key_Tab);
        QCOMPARE(validacoesA, 3);
        QCOMPARE(QApplication::focusWidget(), b);
        QCOMPARE(perdeuA.count(), 1);
        QCOMPARE(ganhouB.count(), 1);

        // A focus move made by the program is never checked nor held back.
        cancelaA = true;
        a->setFocus();
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(validacoesB, 0);
    }

    void validacaoPorClique()
    {
        QSignalSpy clicouConf(conf, &Botao::clicado), clicouCancelar(cancelar, &Botao::clicado);
        cancelaA = true;
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(validacoesA, 1);
        QCOMPARE(QApplication::focusWidget(), a);

        // A cancelled check holds the button's click back.
        QTest::mouseClick(conf, Qt::LeftButton);
        QCOMPARE(validacoesA, 2);
        QCOMPARE(clicouConf.count(), 0);
        QCOMPARE(QApplication::focusWidget(), a);

        // A button marked as not causing the check clicks without it.
        QTest::mouseClick(cancelar, Qt::LeftButton);
        QCOMPARE(validacoesA, 2);
        QCOMPARE(clicouCancelar.count(), 1);

        a->setFocus();
        cancelaA = false;
        QTest::mouseClick(conf, Qt::LeftButton);
        QCOMPARE(validacoesA, 3);
        QCOMPARE(clicouConf.count(), 1);
        QCOMPARE(QApplication::focusWidget(), conf);
    }

    void teclasDeAcessoDosBotoes()
    {
        QSignalSpy clicouConf(conf, &Botao::clicado), clicouCancelar(cancelar, &Botao::clicado);
        cancelaA = true;
        QTest::keyClick(a, Qt::Key_C, Qt::AltModifier);
        QCOMPARE(validacoesA, 1);
        QCOMPARE(clicouConf.count(), 0);
        QCOMPARE(QApplication::focusWidget(), a);

        QTest::keyClick(a, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(validacoesA, 1);
        QCOMPARE(clicouCancelar.count(), 1);

        a->setFocus();
        cancelaA = false;
        QTest::keyClick(a, Qt::Key_C, Qt::AltModifier);   // clicks at once
        QCOMPARE(clicouConf.count(), 1);
        QCOMPARE(QApplication::focusWidget(), conf);
        QTest::keyClick(conf, Qt::Key_Return);
        QCOMPARE(clicouConf.count(), 2);
    }

    void mudancaDeJanelaNaoValida()
    {
        // Document windows of a main window: pressing on the field's own title
        // bar or going to another document window is no change of field.
        QWidget principal;
        auto *area = new QMdiArea(&principal);
        area->resize(600, 400);
        CampoInput *campo1 = new CampoInput, *campo2 = new CampoInput;
        QMdiSubWindow *sub1 = area->addSubWindow(campo1);
        area->addSubWindow(campo2);
        int validacoes = 0;
        connect(campo1, &CampoInput::valida, this, [&](bool &cancela) {
            ++validacoes;
            cancela = true;
        });
        principal.resize(600, 400);
        principal.show();
        principal.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&principal));
        area->setActiveSubWindow(sub1);
        campo1->setFocus();
        QTest::mouseClick(sub1, Qt::LeftButton, {}, QPoint(30, 5));
        QCOMPARE(QApplication::focusWidget(), campo1);
        QTest::mouseClick(campo2, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), campo2);
        QCOMPARE(validacoes, 0);
    }

    void teclasNotificadas()
    {
        QList<int> emBaixo, shifts, premidas;
        connect(a, &CampoInput::teclaEmBaixo, this, [&](int &codigo, int shift) {
            emBaixo << codigo;
            shifts << shift;
            if (codigo == 'Q')
                codigo = 0;
        });
        connect(a, &CampoInput::teclaPremida, this, [&](int &codigo) {
            premidas << codigo;
            if (codigo == 'x')
                codigo = 0;
            else if (codigo == 'a')
                codigo = 'b';
        });
        QSignalSpy lista(a, &CampoInput::pedeLista);

        QTest::keyClicks(a, QStringLiteral("xaq1"));
        QCOMPARE(a->text(), QStringLiteral("b1"));
        QCOMPARE(emBaixo, (QList<int>{'X', 'A', 'Q', '1'}));
        QCOMPARE(premidas, (QList<int>{'x', 'a', '1'}));   // q was discarded on key down

        emBaixo.clear();
        premidas.clear();
        shifts.clear();
        QTest::keyClick(a, Qt::Key_Escape);
        QTest::keyClick(a, Qt::Key_Return);
        QTest::keyClick(a, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(a, Qt::Key_Tab);   // moves the focus; the window never sees it as a key
        a->setFocus();
        QTest::keyClick(a, Qt::Key_F4);
        QCOMPARE(emBaixo, (QList<int>{27, 13, 16, 40, 115}));   // the Shift key itself goes down too
        QCOMPARE(shifts, (QList<int>{0, 0, 1, 1, 0}));
        QCOMPARE(premidas, (QList<int>{27, 13}));
        QCOMPARE(lista.count(), 1);
        QTest::mouseDClick(a, Qt::LeftButton);
        QCOMPARE(lista.count(), 2);
    }

    void alteracaoEFormatoNumerico()
    {
        QSignalSpy alterado(a, &CampoInput::alterado);
        a->setText(QStringLiteral("ABC"));
        QCOMPARE(alterado.count(), 1);
        QTest::keyClick(a, Qt::Key_D);
        QCOMPARE(alterado.count(), 2);

        b->setFormatoNumerico(QStringLiteral("###,###.00"));
        b->setFocus();
        QTest::keyClicks(b, QStringLiteral("1234,5x"));
        QCOMPARE(b->text(), QStringLiteral("1234,5"));
        QTest::keyClick(b, Qt::Key_Tab);
        QCOMPARE(b->text(), QStringLiteral("1.234,50"));

        // Selecting as the windows do: start, then length.
        a->setText(QStringLiteral("ART01"));
        a->setInicioSeleccao(1);
        a->setComprimentoSeleccao(3);
        QCOMPARE(a->selectedText(), QStringLiteral("RT0"));
    }

    void codigoEscolhido()
    {
        // A code picked from the list: whole and selected in the field, which
        // keeps the focus until the queued Tab leaves it through its check.
        b->setFocus();
        a->setText(QStringLiteral("ANTIGO"));
        a->poeEscolhido(QStringLiteral("ART01"));
        QCOMPARE(a->text(), QStringLiteral("ART01"));
        QCOMPARE(a->selectedText(), QStringLiteral("ART01"));
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(validacoesB, 0);   // the program's focus move is no user's
        QCOMPARE(validacoesA, 0);
        QCoreApplication::processEvents();
        QCOMPARE(validacoesA, 1);
        QCOMPARE(QApplication::focusWidget(), b);

        // A check that refuses the code keeps it in the field.
        cancelaA = true;
        a->poeEscolhido(QStringLiteral("NAO"));
        QCoreApplication::processEvents();
        QCOMPARE(validacoesA, 2);
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(a->text(), QStringLiteral("NAO"));
    }

    void teclasEnviadas()
    {
        int premidas = 0;
        connect(a, &CampoInput::teclaPremida, this, [&](int &) { ++premidas; });
        EnviaTeclas(QStringLiteral("{TAB}"));
        QCOMPARE(QApplication::focusWidget(), a);   // queued until the loop runs
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), b);
        QCOMPARE(validacoesA, 1);
        QCOMPARE(premidas, 0);

        EnviaTeclas(QStringLiteral("+{TAB}"));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(validacoesB, 1);

        cancelaA = true;
        EnviaTeclas(QStringLiteral("{TAB}"));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(validacoesA, 2);

        // Each key goes to whoever has the focus when it is delivered.
        cancelaA = false;
        EnviaTeclas(QStringLiteral("ab{TAB}c"));
        QCoreApplication::processEvents();
        QCOMPARE(a->text(), QStringLiteral("ab"));
        QCOMPARE(b->text(), QStringLiteral("c"));
    }

    void escRecua()
    {
        // Esc in a field that steps back: the key is not typed and the focus
        // goes back one field (through the check of the field left); other
        // characters are typed as they come.
        QList<bool> recuos;
        connect(b, &CampoInput::teclaPremida, this, [&](int &codigo) { recuos << CampoInput::recuaComEsc(codigo); });
        b->setFocus();
        QTest::keyClicks(b, QStringLiteral("x"));
        QTest::keyClick(b, Qt::Key_Escape);
        QCOMPARE(recuos, (QList<bool>{false, true}));
        QCOMPARE(b->text(), QStringLiteral("x"));
        QCOMPARE(QApplication::focusWidget(), b);   // queued
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), a);
        QCOMPARE(validacoesB, 1);
    }

    void teclasDeJanelaQueFecha()
    {
        // Esc in the first field: go back one field and close the window.
        connect(a, &CampoInput::teclaPremida, this, [this](int &codigo) {
            if (CampoInput::recuaComEsc(codigo))
                janela->close();
        });
        QTest::keyClick(a, Qt::Key_Escape);
        QCoreApplication::processEvents();
        QVERIFY(!janela->isVisible());
        QCOMPARE(validacoesA, 0);
    }
};

TESSELA_TEST_MAIN(TstControlos)
#include "tst_controlos.moc"
