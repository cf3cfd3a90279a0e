// The needs grid's rules: the article and supplier checks with what they
// fill, the quantity and date checks, the cell lists and the calendar, the
// removal of loaded and typed rows with the compaction after, and the rows
// added by moving past the last one.
#include "baseruptura.h"
#include "calendario.h"
#include "testmain.h"
#include "twips.h"

using namespace DadosRuptura;
using namespace ColunasNecessidades;

class TstGrelhaNecessidades : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    Grelha *g() const { return base.g(); }
    QVariant cel(int linha, int coluna) const { return base.cel(linha, coluna); }
    // Exactly that one message, an information box; then forgotten.
    bool mensagem(const QString &texto)
    {
        const bool ok = base.textos() == QStringList{texto} && base.mensagens.ultimo().icone == PedidoMensagem::Informacao;
        base.mensagens.limpa();
        return ok;
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void artigoDigitado()
    {
        QVERIFY(base.abre(2));
        base.escreveCelula(1, Artigo, QStringLiteral("RAI"));
        QVERIFY(mensagem(QStringLiteral("Artigo não existente!")));
        QVERIFY(cel(1, Artigo).toString().isEmpty());
        QVERIFY(g()->hasFocus());
        base.escreveCelula(1, Artigo, QStringLiteral("X\b"));
        QVERIFY(mensagem(QStringLiteral("Campo obrigatório!")));
        // An article fills its name, stock, pending quantity, cheapest quote,
        // that supplier and its reference at once.
        base.escreveCelula(1, Artigo, QStringLiteral("RA1"));
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(cel(1, Descr), QVariant(QStringLiteral("Rolamento A")));
        QCOMPARE(cel(1, StkExt), QVariant(5.0));
        QCOMPARE(cel(1, PendForn), QVariant(4.0));
        QCOMPARE(cel(1, PrecEc), QVariant(7.5));
        QCOMPARE(cel(1, Forn), QVariant(QStringLiteral("FA3")));
        QCOMPARE(cel(1, RefForn), QVariant(QStringLiteral("AJ-13")));
        QVERIFY(!base.janela->Digitado());
        // Without quotes: no price, no supplier, no reference.
        base.escreveCelula(2, Artigo, QStringLiteral("RA2"));
        QCOMPARE(cel(2, PrecEc), QVariant(0.0));
        QCOMPARE(cel(2, Forn), QVariant(QString()));
        QCOMPARE(cel(2, RefForn), QVariant(QString()));
        // Tabbing through without typing looks nothing up.
        g()->setMatriz(1, Descr, QStringLiteral("mantido"));
        g()->setLinhaActual(2);
        g()->setColunaActual(Artigo + 1);
        QTest::keyClick(g(), Qt::Key_Tab);
        QCOMPARE(g()->colunaActual(), RefForn + 1);
        QCOMPARE(cel(2, Descr), QVariant(QStringLiteral("mantido")));

        // Picked from the cell's list: checked as if typed.
        ListaRespostas listas;
        listas.responde(QStringLiteral("RA4"));
        g()->setLinhaActual(3);
        g()->setColunaActual(Artigo + 1);
        QTest::keyClick(g(), Qt::Key_F4);
        QTRY_COMPARE(cel(3, Forn), QVariant(QStringLiteral("FA2")));
        QCOMPARE(cel(3, RefForn), QVariant(QStringLiteral("AJ-42")));
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Artigos"));
        QCOMPARE(listas.pedidos[0].largurasColunas, (QList<int>{1500, 4000, 1500}));
    }

    void fornecedor()
    {
        QVERIFY(base.abre(2));
        base.escreveCelula(1, Artigo, QStringLiteral("RA1"));
        // Another supplier replaces the reference by its own, or by none.
        base.escreveCelula(1, Forn, QStringLiteral("fa1"));
        QCOMPARE(cel(1, RefForn), QVariant(QStringLiteral("AJ-11")));
        base.escreveCelula(1, Forn, QStringLiteral("FA2"));
        QCOMPARE(cel(1, RefForn), QVariant(QString()));
        base.escreveCelula(1, Forn, QStringLiteral("FZZ"));
        QVERIFY(mensagem(QStringLiteral("Fornecedor não existente!")));
        QCOMPARE(cel(1, Forn), QVariant(QStringLiteral("FA2")));
        // Mode 2 takes a need without a supplier.
        base.escreveCelula(1, Forn, QStringLiteral("X\b"));
        QCOMPARE(base.mensagens.quantos(), 0);
        ListaRespostas listas;
        listas.responde(QStringLiteral("FA3"));
        g()->setColunaActual(Forn + 1);
        QTest::keyClick(g(), Qt::Key_F4);
        QTRY_COMPARE(cel(1, RefForn), QVariant(QStringLiteral("AJ-13")));
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Fornecedores"));
        base.fecha();

        // Mode 1 does not: every row orders from someone.
        QVERIFY(base.abre(1));
        base.carrega();
        base.escreveCelula(1, Forn, QStringLiteral("X\b"));
        QVERIFY(mensagem(QStringLiteral("Campo obrigatório")));
        QCOMPARE(cel(1, Forn), QVariant(QStringLiteral("FA3")));
    }

    void quantidadeEData()
    {
        QVERIFY(base.abre(2));
        base.carrega();
        // A quantity is a number not below zero; a refusal puts the old one back.
        for (const char *errada : {"abc", "-3", "1x"}) {
            base.escreveCelula(1, Enc, QString::fromUtf8(errada));
            QVERIFY2(mensagem(QStringLiteral("Quantidade inválida!")), errada);
            QCOMPARE(cel(1, Enc), QVariant(10.0));
        }
        base.escreveCelula(1, Enc, QStringLiteral("12,5"));
        QCOMPARE(cel(1, Enc), QVariant(12.5));
        base.escreveCelula(1, Enc, QStringLiteral("0"));
        QCOMPARE(cel(1, Enc), QVariant(0.0));
        QCOMPARE(base.mensagens.quantos(), 0);
        // Dates as a user writes them.
        base.escreveCelula(1, DataUlt, QStringLiteral("31-02-2024"));
        QVERIFY(mensagem(QStringLiteral("Data inválida!")));
        QCOMPARE(cel(1, DataUlt), QVariant(dia(5)));
        base.escreveCelula(1, DataUlt, QStringLiteral("3/4/2025"));
        QCOMPARE(cel(1, DataUlt), QVariant(QDate(2025, 4, 3)));

        // The calendar: at its fixed left edge, on the cell's date; Enter takes it.
        Calendario *cal = base.janela->MonthView1();
        g()->setLinhaActual(1);
        g()->setColunaActual(DataUlt + 1);
        QTest::keyClick(g(), Qt::Key_F4);
        QVERIFY(cal->isVisible());
        QCOMPARE(cal->x(), Twips::paraPixeis(14000));
        QCOMPARE(cal->y(), g()->y() + g()->rectanguloCelulaActual().bottom() + 1);
        QCOMPARE(cal->data(), QDate(2025, 4, 3));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!cal->isVisible() && g()->hasFocus());
        QCOMPARE(cel(1, DataUlt), QVariant(QDate(2025, 4, 4)));
        // On an empty cell it shows today; Esc leaves the cell alone.
        g()->setLinhaActual(7);
        g()->setColunaActual(DataUlt + 1);
        QTest::keyClick(g(), Qt::Key_F4);
        QCOMPARE(cal->data(), QDate::currentDate());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!cal->isVisible());
        QVERIFY(!cel(7, DataUlt).isValid());
    }

    // "a Encom." reads back what it shows ("1.500" is one thousand five
    // hundred, as the cell shows 1500) and shows what it holds (12,5 is
    // never shown as 13): what is saved is what the buyer sees. What could
    // be read two ways is refused and the cell keeps its quantity.
    void quantidadeComoSeMostra_data()
    {
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<double>("guardado");   // -1: refused, 10 kept
        QTest::addColumn<QString>("mostrado");
        QTest::newRow("mil e quinhentos") << "1.500" << 1500.0 << "1.500";
        QTest::newRow("sem separador") << "1500" << 1500.0 << "1.500";
        QTest::newRow("milhares com decimal") << "1.500,5" << 1500.5 << "1.500,5";
        QTest::newRow("decimal") << "12,5" << 12.5 << "12,5";
        QTest::newRow("inteiro") << "13" << 13.0 << "13";
        QTest::newRow("quatro decimais") << "0,0001" << 0.0001 << "0,0001";
        QTest::newRow("sete algarismos") << "1.234.567" << 1234567.0 << "1.234.567";
        QTest::newRow("ponto e dois algarismos") << "1.50" << -1.0 << "10";
        QTest::newRow("ponto e um algarismo") << "1.5" << -1.0 << "10";
        QTest::newRow("ponto e quatro algarismos") << "1.5000" << -1.0 << "10";
        QTest::newRow("duas virgulas") << "1,2,3" << -1.0 << "10";
        QTest::newRow("virgula antes do ponto") << "1,500.5" << -1.0 << "10";
        QTest::newRow("cinco decimais") << "0,00001" << -1.0 << "10";
        QTest::newRow("negativo") << "-3" << -1.0 << "10";
        QTest::newRow("texto") << "abc" << -1.0 << "10";
    }
    void quantidadeComoSeMostra()
    {
        QFETCH(QString, escrito);
        QFETCH(double, guardado);
        QFETCH(QString, mostrado);
        QVERIFY(base.abre(2));
        base.carrega();
        QCOMPARE(cel(1, Enc), QVariant(10.0));
        base.escreveCelula(1, Enc, escrito);
        if (guardado < 0) {
            QVERIFY(mensagem(QStringLiteral("Quantidade inválida!")));
            QCOMPARE(cel(1, Enc), QVariant(10.0));
        } else {
            QCOMPARE(base.mensagens.quantos(), 0);
            QCOMPARE(cel(1, Enc), QVariant(guardado));
        }
        QCOMPARE(g()->textoCelula(1, Enc + 1), mostrado);
        // Typing back what the cell shows changes nothing.
        base.escreveCelula(1, Enc, g()->textoCelula(1, Enc + 1));
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(g()->textoCelula(1, Enc + 1), mostrado);
        // Saved as held and shown so again when loaded.
        base.confirma();
        Recordset rs;
        VERIFICA_BD(base.bd, base.bd.AbreConsulta(QStringLiteral("SELECT Qtd FROM mvk_Necessidades WHERE Id = 1"), rs));
        QCOMPARE(Moeda::deValor(rs.Valor(0)), Moeda::deDouble(guardado < 0 ? 10.0 : guardado));
        base.carrega();
        QCOMPARE(base.ids().value(0), qint64(1));
        QCOMPARE(g()->textoCelula(1, Enc + 1), mostrado);
    }

    void linhasRetiradasECrescimento()
    {
        QVERIFY(base.abre(2));
        base.carrega();
        QCOMPARE(g()->linhas(), 7);
        // A typed row has no need to remove: refused.
        base.escreveCelula(7, Artigo, QStringLiteral("RA2"));
        g()->setLinhaActual(7);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(cel(7, Artigo), QVariant(QStringLiteral("RA2")));
        QCOMPARE(base.janela->IdsAnulados(), QList<qint64>{0});
        // Loaded rows leave their Ids; the rows below move up, empty ones go.
        g()->setLinhaActual(2);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 7, 1}));
        QCOMPARE(base.ids(), (QList<qint64>{2, 3, 4, 6, 0}));
        QCOMPARE(g()->linhas(), 5);
        QCOMPARE(cel(5, Artigo), QVariant(QStringLiteral("RA2")));
        QCOMPARE(cel(1, Descr), QVariant(QStringLiteral("Rolamento B")));
        // Moving past the last row adds one.
        g()->setLinhaActual(4);
        QTest::keyClick(g(), Qt::Key_Down);
        QCOMPARE(g()->linhas(), 6);
        // Loading again shows the removed needs again and forgets the removal.
        base.carrega();
        QCOMPARE(base.ids(), (QList<qint64>{1, 7, 2, 3, 4, 6}));
        QCOMPARE(base.janela->IdsAnulados(), QList<qint64>{0});
        base.fecha();

        // The analysis neither grows nor loses rows.
        QVERIFY(base.abre(1));
        base.carrega();
        g()->setLinhaActual(5);
        QTest::keyClick(g(), Qt::Key_Down);
        QCOMPARE(g()->linhas(), 5);
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 4, 6}));
    }
};

TESSELA_TEST_MAIN(TstGrelhaNecessidades)
#include "tst_grelhanecessidades.moc"
