// The price grid's rules in the supplier price window: pre-filled cells, the
// check of each column with its message, the lists and the calendar behind
// the cell buttons, removed rows, the moves of the current cell and the
// observation field.
#include "baseprecos.h"
#include "calendario.h"
#include "valores.h"
#include "testmain.h"

using namespace DadosPrecos;
using namespace ColunasPrecos;

class TstGrelhaPrecos : public QObject
{
    Q_OBJECT

private:
    BasePrecos base;

    Grelha *g() const { return base.g(); }
    QVariant cel(int linha, int coluna) const { return base.cel(linha, coluna); }
    void carrega(const QString &fornecedor, const QString &artigo)
    {
        if (!fornecedor.isEmpty())
            base.escreveFiltro(0, fornecedor);
        if (!artigo.isEmpty())
            base.escreveFiltro(1, artigo);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        base.mensagens.limpa();
    }
    // Starts editing a cell with F2 (the pre-fill runs) and gives it up with Esc.
    void comecaEdicao(int linha, int coluna)
    {
        g()->setFocus();
        // One move straight to the cell (a move within a row from the date
        // cell would give it today's date).
        g()->setCurrentIndex(g()->model()->index(linha - 1, coluna));
        QTest::keyClick(g(), Qt::Key_F2);
        QVERIFY(g()->emEdicao());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!g()->emEdicao());
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void preenchimentoDasLinhasNovas()
    {
        const QVariant hoje = QDate::currentDate();
        // Supplier filter: the article cell of an empty row brings supplier, name and date.
        QVERIFY(base.abre(1));
        carrega(FX1, QString());
        comecaEdicao(5, Artigo);
        QCOMPARE(cel(5, Forn), QVariant(FX1));
        QCOMPARE(cel(5, Descr), QVariant(NomeFX1));
        QCOMPARE(cel(5, DataE), hoje);
        QCOMPARE(cel(5, Altera), QVariant(false));   // pre-filled is not changed
        // A row that has a date is left alone.
        comecaEdicao(1, Artigo);
        QCOMPARE(cel(1, DataE), QVariant(QDate(2024, 5, 1)));
        base.fecha();

        // Article filter: the supplier cell brings article, its name and date.
        QVERIFY(base.abre(1));
        carrega(QString(), AT2);
        comecaEdicao(4, Forn);
        QCOMPARE(cel(4, Artigo), QVariant(AT2));
        QCOMPARE(cel(4, DescrArtigo), QVariant(NomeAT2));
        QCOMPARE(cel(4, DataE), hoje);
        QVERIFY(cel(4, Forn).toString().isEmpty());
        base.fecha();

        // Both filters: the date cell brings both codes and names but no date;
        // the price cell brings the date too, unless the date is an empty text.
        QVERIFY(base.abre(1));
        carrega(FX1, AT1);
        comecaEdicao(6, DataE);
        QCOMPARE(cel(6, Forn), QVariant(FX1));
        QCOMPARE(cel(6, DescrArtigo), QVariant(NomeAT1));
        QVERIFY(!cel(6, DataE).isValid());
        comecaEdicao(7, Preco);
        QCOMPARE(cel(7, Artigo), QVariant(AT1));
        QCOMPARE(cel(7, Descr), QVariant(NomeFX1));
        QCOMPARE(cel(7, DataE), hoje);
        // With an empty text for a date the price cell brings no date, but the
        // row still gets the filtered codes (a priced row needs them).
        g()->setMatriz(7, DataE, QString());
        comecaEdicao(8, Preco);
        QCOMPARE(cel(8, Forn), QVariant(FX1));
        QCOMPARE(cel(8, DataE), QVariant(QString()));
    }

    void validacaoDeCadaColuna()
    {
        QVERIFY(base.abre(1));
        const auto mensagem = [this](const QString &texto) {
            if (base.textos() != QStringList{texto})
                return false;
            const PedidoMensagem p = base.mensagens.ultimo();
            base.mensagens.limpa();
            return p.titulo == QStringLiteral("Informação") && p.icone == PedidoMensagem::Informacao && g()->hasFocus();
        };
        // Supplier: unknown and empty refused, the cell back as it was.
        base.escreveCelula(1, 1, QStringLiteral("NOPE"));
        QVERIFY(mensagem(QStringLiteral("Fornecedor não existente!")));
        QVERIFY(cel(1, Forn).toString().isEmpty());
        QCOMPARE(cel(1, Altera), QVariant(false));
        QCOMPARE(g()->colunaActual(), 1);
        base.escreveCelula(1, 1, QStringLiteral("X\b"));
        QVERIFY(mensagem(QStringLiteral("Campo obrigatório")));
        // Accepted: the name, the changed flag, and no reference without an article.
        base.escreveCelula(1, 1, QStringLiteral("FX1"));
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(cel(1, Descr), QVariant(NomeFX1));
        QCOMPARE(cel(1, Altera), QVariant(true));
        QCOMPARE(cel(1, RefForn), QVariant(QString()));
        QVERIFY(!base.janela->Digitado());

        // Article: inactive and empty refused; accepted brings the purchase-help reference.
        base.escreveCelula(1, 3, ATI);
        QVERIFY(mensagem(QStringLiteral("Artigo não existente!")));
        base.escreveCelula(1, 3, QStringLiteral("X\b"));
        QVERIFY(mensagem(QStringLiteral("Campo obrigatório!")));
        base.escreveCelula(1, 3, AT1);
        QCOMPARE(cel(1, DescrArtigo), QVariant(NomeAT1));
        QCOMPARE(cel(1, RefForn), QVariant(QStringLiteral("AJ-1")));

        // Date and price: refused when they are none (their forms: below).
        base.escreveCelula(1, 6, QStringLiteral("31-02-2024"));
        QVERIFY(mensagem(QStringLiteral("Data inválida!")));
        QVERIFY(!cel(1, DataE).isValid());
        base.escreveCelula(1, 7, QStringLiteral("abc"));
        QVERIFY(mensagem(QStringLiteral("Preço inválido!")));
        QVERIFY(!cel(1, Preco).isValid());

        // Untyped, a wrong date passes but a wrong price never does.
        bool cancela = false;
        g()->setMatriz(1, DataE, QStringLiteral("amanhã"));
        g()->setMatriz(1, Preco, QStringLiteral("caro"));
        base.janela->regras()->valida(2, DataE + 1, QVariant(), cancela);
        QVERIFY(!cancela);
        QCOMPARE(base.mensagens.quantos(), 0);
        base.janela->regras()->valida(2, Preco + 1, 3.0, cancela);
        QVERIFY(cancela);
        QVERIFY(mensagem(QStringLiteral("Preço inválido!")));
        QCOMPARE(cel(2, Preco), QVariant(3.0));

        // A typed reference marks a loaded row changed.
        carrega(FX1, QString());
        QCOMPARE(cel(1, Altera), QVariant(false));
        base.escreveCelula(1, 5, QStringLiteral("NOVA"));
        QCOMPARE(cel(1, RefForn), QVariant(QStringLiteral("NOVA")));
        QCOMPARE(cel(1, Altera), QVariant(true));
    }

    // Dates and prices as users type them, at the edges of what reads.
    void datasEPrecosDigitados_data()
    {
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QVariant>("valor");   // invalid: refused
        const QVariant recusado;
        QTest::newRow("data com hífenes") << int(DataE) << "05-03-2024" << QVariant(QDate(2024, 3, 5));
        QTest::newRow("data com barras curta") << int(DataE) << "5/3/24" << QVariant(QDate(2024, 3, 5));
        QTest::newRow("data com pontos") << int(DataE) << "05.03.2024" << QVariant(QDate(2024, 3, 5));
        QTest::newRow("data sem separadores") << int(DataE) << "05032024" << QVariant(QDate(2024, 3, 5));
        QTest::newRow("data sem separadores curta") << int(DataE) << "050324" << QVariant(QDate(2024, 3, 5));
        QTest::newRow("29 de fevereiro bissexto") << int(DataE) << "29-02-2024" << QVariant(QDate(2024, 2, 29));
        QTest::newRow("29 de fevereiro comum") << int(DataE) << "29-02-2023" << recusado;
        QTest::newRow("mês 13") << int(DataE) << "01-13-2024" << recusado;
        QTest::newRow("data incompleta") << int(DataE) << "0503202" << recusado;
        QTest::newRow("preço com vírgula") << int(Preco) << "12,50" << QVariant(12.5);
        // A point groups thousands, as the cell shows them: before anything
        // but three digits it could be read two ways and is refused.
        QTest::newRow("preço com ponto") << int(Preco) << "12.5" << recusado;
        QTest::newRow("preço com ponto e dois algarismos") << int(Preco) << "12.50" << recusado;
        QTest::newRow("preço com ponto e quatro algarismos") << int(Preco) << "1.2345" << recusado;
        QTest::newRow("preço como se mostra") << int(Preco) << "1.234" << QVariant(1234.0);
        QTest::newRow("preço com milhares") << int(Preco) << "1.234,56" << QVariant(1234.56);
        QTest::newRow("preço com duas vírgulas") << int(Preco) << "1,234,56" << recusado;
        QTest::newRow("preço com vírgula antes do ponto") << int(Preco) << "1,234.5" << recusado;
        QTest::newRow("preço com euro depois") << int(Preco) << "12,50 €" << QVariant(12.5);
        QTest::newRow("preço com euro antes") << int(Preco) << "€12,50" << QVariant(12.5);
        QTest::newRow("quarta casa guardada") << int(Preco) << "0,1234" << QVariant(0.1234);
        QTest::newRow("quinta casa recusada, não arredondada") << int(Preco) << "0,12345" << recusado;
        QTest::newRow("preço com letras") << int(Preco) << "12,5x" << recusado;
        QTest::newRow("preço com dois sinais") << int(Preco) << "--3" << recusado;
    }
    void datasEPrecosDigitados()
    {
        QFETCH(int, coluna);
        QFETCH(QString, texto);
        QFETCH(QVariant, valor);
        QVERIFY(base.abre(1));
        base.escreveCelula(1, coluna + 1, texto);
        if (!valor.isValid()) {
            QCOMPARE(base.textos(), QStringList{coluna == DataE ? QStringLiteral("Data inválida!") : QStringLiteral("Preço inválido!")});
            QVERIFY(!cel(1, coluna).isValid());
            QCOMPARE(cel(1, Altera), QVariant(false));
            return;
        }
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(cel(1, Altera), QVariant(true));
        if (coluna == Preco)
            QCOMPARE(Moeda::deValor(cel(1, coluna)), Moeda::deDouble(valor.toDouble()));
        else
            QCOMPARE(cel(1, coluna), valor);
    }

    // The purchase-help reference belongs to the pair, whichever code comes first.
    void referenciaEmAmbasAsOrdens()
    {
        QVERIFY(base.abre(1));
        base.escreveCelula(1, Forn + 1, FX1);
        base.escreveCelula(1, Artigo + 1, AT1);
        base.escreveCelula(2, Artigo + 1, AT1);
        QCOMPARE(cel(2, RefForn), QVariant(QString()));
        base.escreveCelula(2, Forn + 1, FX1);
        for (int l : {1, 2})
            QCOMPARE(cel(l, RefForn), QVariant(QStringLiteral("AJ-1")));
        // Another supplier for the same article: that pair has none.
        base.escreveCelula(2, Forn + 1, FX2);
        QCOMPARE(cel(2, RefForn), QVariant(QString()));
    }

    void listasDasCelulas()
    {
        QVERIFY(base.abre(1));
        ListaRespostas listas;
        g()->setFocus();
        g()->setLinhaActual(1);
        g()->setColunaActual(1);
        listas.responde(QStringLiteral("FX1"));
        QTest::keyClick(g(), Qt::Key_F4);
        // The code goes in and is checked as if typed: name and changed flag.
        QTRY_COMPARE(cel(1, Descr), QVariant(NomeFX1));
        QCOMPARE(cel(1, Forn), QVariant(FX1));
        QCOMPARE(cel(1, Altera), QVariant(true));
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Fornecedores"));
        QCOMPARE(listas.pedidos[0].largurasColunas, (QList<int>{1500, 4000}));

        g()->setColunaActual(3);
        listas.responde(AT1);
        QTest::keyClick(g(), Qt::Key_F4);
        QTRY_COMPARE(cel(1, RefForn), QVariant(QStringLiteral("AJ-1")));
        QCOMPARE(cel(1, DescrArtigo), QVariant(NomeAT1));
        QCOMPARE(listas.pedidos[1].largurasColunas, (QList<int>{1500, 4000, 1500}));
        QVERIFY(!listas.pedidos[1].codigos.contains(ATI));

        // Nothing picked: the cell stays.
        QTest::keyClick(g(), Qt::Key_F4);
        QTest::qWait(20);
        QCOMPARE(cel(1, Artigo), QVariant(AT1));
        QVERIFY(!base.janela->Digitado());
        QCOMPARE(base.mensagens.quantos(), 0);
    }

    void calendario()
    {
        QVERIFY(base.abre(1));
        carrega(FX1, QString());
        Calendario *cal = base.janela->MonthView1();
        // Below the cell, with the cell's date.
        g()->setLinhaActual(1);
        g()->setColunaActual(DataE + 1);
        QTest::keyClick(g(), Qt::Key_F4);
        QVERIFY(cal->isVisible());
        const QRect celula = g()->rectanguloCelulaActual();
        QCOMPARE(cal->pos(), QPoint(g()->x() + celula.left(), g()->y() + celula.bottom() + 1));
        QCOMPARE(cal->data(), QDate(2024, 5, 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!cal->isVisible());
        QCOMPARE(cel(1, DataE), QVariant(QDate(2024, 5, 2)));
        QCOMPARE(cel(1, Altera), QVariant(true));   // so the save takes the picked date
        QVERIFY(g()->hasFocus());

        // Near the window's bottom it opens above the cell; an empty cell shows today.
        int linha = 1;
        while (linha < g()->linhas()
               && g()->y() + g()->visualRect(g()->model()->index(linha, 0)).bottom() + cal->height() <= base.janela->height())
            ++linha;
        g()->setLinhaActual(linha + 1);
        g()->setColunaActual(DataE + 1);
        QTest::keyClick(g(), Qt::Key_F4);
        QVERIFY(cal->isVisible());
        QCOMPARE(cal->y(), g()->y() + g()->rectanguloCelulaActual().top() - cal->height());
        QCOMPARE(cal->data(), QDate::currentDate());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!cal->isVisible());
        QVERIFY(g()->hasFocus());
        QVERIFY(!cel(linha + 1, DataE).isValid());
    }

    void linhasApagadas()
    {
        QVERIFY(base.abre(1));
        carrega(FX1, QString());
        QCOMPARE(cel(1, Id).toLongLong(), 100002);
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 100002}));
        QCOMPARE(cel(1, Id).toLongLong(), 100001);   // the next row moved up
        // A typed row leaves 0.
        base.escreveCelula(3, 3, AT2);
        g()->setLinhaActual(3);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 100002, 0}));
        base.fecha();

        // A row in the middle, then the one that took its place.
        QVERIFY(base.abre(1));
        carrega(FX1, QString());
        g()->setLinhaActual(2);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(cel(2, Id).toLongLong(), 100003);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 100001, 100003}));
        QCOMPARE(cel(1, Id).toLongLong(), 100002);
        QVERIFY(!cel(2, Id).isValid());
        base.fecha();

        // Purchases are not removed.
        QVERIFY(base.abre(2));
        carrega(FX1, QString());
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(cel(1, Artigo), QVariant(AT1));
        QCOMPARE(base.janela->IdsAnulados(), QList<qint64>{0});
    }

    void celulaActualEObservacao()
    {
        QVERIFY(base.abre(1));
        carrega(FX1, QString());
        ConsultaPrecos *j = base.fornecedores();
        // The observation field follows the current row.
        QCOMPARE(j->Campo(2)->text(), QString());
        g()->setLinhaActual(2);
        QCOMPARE(j->Campo(2)->text(), QStringLiteral("Proposta A"));
        // Its text goes to the row, which then counts as changed.
        j->Campo(2)->setFocus();
        j->Campo(2)->selectAll();
        QTest::keyClicks(j->Campo(2), QStringLiteral("Sem IVA"));
        QTest::mouseClick(g()->viewport(), Qt::LeftButton, {}, g()->visualRect(g()->model()->index(0, Artigo)).center());
        QCOMPARE(cel(2, Obs), QVariant(QStringLiteral("Sem IVA")));
        QCOMPARE(cel(2, Altera), QVariant(true));
        QCOMPARE(g()->linhaActual(), 1);
        QCOMPARE(j->Campo(2)->text(), QString());
        g()->setLinhaActual(2);
        QCOMPARE(j->Campo(2)->text(), QStringLiteral("Sem IVA"));

        // Tab out of an empty date cell gives it today's date.
        g()->setFocus();
        g()->setLinhaActual(6);
        g()->setColunaActual(DataE + 1);
        QTest::keyClick(g(), Qt::Key_Tab);
        QCOMPARE(g()->colunaActual(), Preco + 1);
        QCOMPARE(cel(6, DataE), QVariant(QDate::currentDate()));

        // Reaching the last row adds one.
        g()->setLinhaActual(29);
        QTest::keyClick(g(), Qt::Key_Down);
        QCOMPARE(g()->linhaActual(), 30);
        QCOMPARE(g()->linhas(), 31);
        QTest::keyClick(g(), Qt::Key_Down);
        QCOMPARE(g()->linhas(), 32);
    }
};

TESSELA_TEST_MAIN(TstGrelhaPrecos)
#include "tst_grelhaprecos.moc"
