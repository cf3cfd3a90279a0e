#include "delegadogrelha.h"
#include "grelha.h"
#include "mensagensgravadas.h"
#include "testmain.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

using Pares = QList<QPair<int, int>>;

// A window holding a grid and a field to move the focus to, shown and active.
struct Janela
{
    QWidget janela;
    Grelha *g = new Grelha(&janela);
    QLineEdit *outro = new QLineEdit(&janela);
    QAbstractItemModelTester tester{g->model(), QAbstractItemModelTester::FailureReportingMode::QtTest};

    Janela()
    {
        auto *l = new QVBoxLayout(&janela);
        l->addWidget(g);
        l->addWidget(outro);
        janela.resize(900, 400);
        janela.show();
        janela.activateWindow();
    }
    bool activa()
    {
        if (!QTest::qWaitForWindowActive(&janela))
            return false;
        g->setFocus();
        return true;
    }
};

// Columns laid out like the price grid: a read-only column that takes no
// focus between editable ones, and a hidden changed flag at the end.
void colunasPreco(Grelha *g)
{
    g->limpaColunas();
    g->adicionaColuna({.chave = "Forn", .titulo = "Fornecedor", .largura = 1000, .comprimentoMax = 15,
                       .botao = BotaoCelula::Reticencias});
    g->adicionaColuna({.chave = "Descr", .titulo = "Designação", .largura = 3000, .comprimentoMax = 50,
                       .soLeitura = true, .recebeFoco = false});
    g->adicionaColuna({.chave = "DataE", .titulo = "Data", .tipo = TipoColuna::Data, .largura = 1200,
                       .comprimentoMax = 10, .botao = BotaoCelula::Lista});
    g->adicionaColuna({.chave = "Preco", .titulo = "Preço", .tipo = TipoColuna::Moeda, .largura = 1200,
                       .comprimentoMax = 10, .formato = "##,###.00"});
    g->adicionaColuna({.chave = "Altera", .titulo = "Altera", .tipo = TipoColuna::Booleano, .oculta = true,
                       .valorPredefinido = false});
}

QPair<int, int> celula(Grelha *g) { return {g->linhaActual(), g->colunaActual()}; }

void escreve(Grelha *g, const QString &texto)
{
    QTest::keyClicks(QApplication::focusWidget(), texto);
    QVERIFY(g->emEdicao());
}

} // namespace

class TstGrelha : public QObject
{
    Q_OBJECT
private slots:
    void colunasPorChaveEFormatos();
    void matrizELinhasNumeradas();
    void crescimentoERedesenho();
    void enterETabSaltamColunasSemFoco();
    void edicaoTecladoETeclasDescartadas();
    void numeroEscritoComoSeMostra_data();
    void numeroEscritoComoSeMostra();
    void validacaoCanceladaMantemCelula();
    void apagarLinhasComCancelamento();
    void botaoDaCelulaERectangulo();
    void celulaActualMudouDizAnterior();
    void novaLinhaDoUtilizador();
    void ligacaoSoLeituraEActivacao();
    void escolhaDaListaComJanelaInactiva();
    void valorRecusadoReposto();
    void popupJuntoDaCelulaActual();
    void dataInteiraAoLadoDoBotao();
};

void TstGrelha::colunasPorChaveEFormatos()
{
    Janela j;
    Grelha *g = j.g;
    g->setLinhas(2);
    colunasPreco(g);
    QCOMPARE(g->numeroColunas(), 5);
    QCOMPARE(g->numeroColuna("preco"), 4);
    QCOMPARE(g->numeroColuna("Nada"), 0);
    QVERIFY(!g->coluna("Nada"));
    QVERIFY(g->coluna("Descr")->soLeitura && !g->coluna("Descr")->recebeFoco);
    QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(), QString("Designação"));
    QVERIFY(g->isColumnHidden(4));
    QCOMPARE(g->columnWidth(1), 200);   // 3000 twips at 96 dpi
    // Rows present before the columns get each column's default value.
    QCOMPARE(g->matriz(1, 4), QVariant(false));
    QCOMPARE(g->model()->index(0, 4).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    g->setMatriz(0, 3, 1234.5);
    g->setMatriz(0, 2, QDate(2024, 3, 5));
    g->setMatriz(1, 3, QString("abc"));
    QCOMPARE(g->textoCelula(1, 4), QString("1.234,50"));
    QCOMPARE(g->textoCelula(1, 3), QString("05-03-2024"));
    QCOMPARE(g->textoCelula(2, 4), QString("abc"));   // not a number: shown as typed
    QCOMPARE(g->model()->index(0, 3).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
    ColunaGrelha c = *g->coluna("Preco");
    c.formato = "##,###";
    g->alteraColuna(4, c);
    // A whole-number format never hides the decimals a value has.
    QCOMPARE(g->textoCelula(1, 4), QString("1.234,5"));
    g->setMatriz(0, 3, 1235.0);
    QCOMPARE(g->textoCelula(1, 4), QString("1.235"));
    g->setMatriz(0, 3, 1234.5);
    c.formato = "#,###.#0";
    g->alteraColuna(4, c);
    QCOMPARE(g->textoCelula(1, 4), QString("1.234,50"));

    g->limpaColunas();
    QCOMPARE(g->numeroColunas(), 0);
    QCOMPARE(g->linhas(), 2);
}

void TstGrelha::matrizELinhasNumeradas()
{
    Janela j;
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(2);
    // Row objects and events count from 1, the cell array from 0; the hidden
    // column counts in both.
    QVERIFY(g->linha(2).setValor(4, 9.5));
    QCOMPARE(g->matriz(1, 3), QVariant(9.5));
    QCOMPARE(g->celula("Preco", 2), QVariant(9.5));
    QCOMPARE(g->linha(2).texto(4), QString("9,50"));
    g->linha(1).setValor(5, true);
    QCOMPARE(g->matriz(0, 4), QVariant(true));
    QVERIFY(g->setCelula("forn", 1, "F1"));
    QCOMPARE(g->linha(1).valor(1), QVariant("F1"));
    QVERIFY(!g->setMatriz(2, 0, "fora"));
    QVERIFY(!g->matriz(2, 0).isValid());
    QVERIFY(!g->linha(1).setValor(6, 1));
}

void TstGrelha::crescimentoERedesenho()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(3);
    g->setMatriz(0, 0, "A");
    g->setLinhaActual(3);
    QSignalSpy mudou(g, &Grelha::celulaActualMudou);
    g->setLinhas(1);
    QCOMPARE(g->linhas(), 1);
    QCOMPARE(g->matriz(0, 0), QVariant("A"));
    QCOMPARE(g->linhaActual(), 1);
    QCOMPARE(mudou.size(), 1);   // reported once, from where it was
    QCOMPARE(mudou.at(0).at(0).toInt(), 3);
    g->setLinhas(3);
    QCOMPARE(g->matriz(2, 4), QVariant(false));
    QVERIFY(!g->matriz(2, 0).isValid());

    // With redraw off, writes raise no per-cell signal; switching it on one.
    QSignalSpy alteracoes(g->model(), &QAbstractItemModel::dataChanged);
    g->setRedesenho(false);
    for (int r = 0; r < 3; ++r)
        g->setMatriz(r, 3, r);
    QCOMPARE(alteracoes.size(), 0);
    g->setRedesenho(true);
    QCOMPARE(alteracoes.size(), 1);
}

void TstGrelha::enterETabSaltamColunasSemFoco()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(2);
    g->setComportamentoEnter(Grelha::ProximaCelula);
    g->setComportamentoTab(Grelha::ProximaCelula);
    g->setLinhaActual(1);
    QCOMPARE(celula(g), qMakePair(1, 1));
    escreve(g, "F1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(g->matriz(0, 0), QVariant("F1"));
    QCOMPARE(celula(g), qMakePair(1, 3));   // Descr takes no focus
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(celula(g), qMakePair(1, 4));
    QTest::keyClick(g, Qt::Key_Return);     // row end (Altera hidden): next line
    QCOMPARE(celula(g), qMakePair(2, 1));
    QTest::keyClick(g, Qt::Key_Tab);
    QCOMPARE(celula(g), qMakePair(2, 3));
    QTest::keyClick(g, Qt::Key_Backtab);
    QTest::keyClick(g, Qt::Key_Backtab);
    QCOMPARE(celula(g), qMakePair(1, 4));
    QTest::keyClick(g, Qt::Key_Left);
    QCOMPARE(celula(g), qMakePair(1, 3));
    QTest::keyClick(g, Qt::Key_Left);
    QCOMPARE(celula(g), qMakePair(1, 1));
    QTest::keyClick(g, Qt::Key_Left);
    QCOMPARE(celula(g), qMakePair(1, 1));

    // Tab past the last cell leaves the grid, also from the editor; the
    // editor coming and going is not the grid receiving the focus.
    QSignalSpy foco(g, &Grelha::recebeuFoco);
    g->setLinhaActual(2);
    g->setColunaActual(4);
    escreve(g, "7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(j.outro->hasFocus());
    QCOMPARE(g->matriz(1, 3), QVariant(7.0));
    QCOMPARE(foco.size(), 0);
    g->setFocus();
    QCOMPARE(foco.size(), 1);

    // Enter behaviour 0 commits and stays.
    g->setComportamentoEnter(Grelha::FicaNaCelula);
    g->setColunaActual(1);
    escreve(g, "X");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QVERIFY(!g->emEdicao());
    QCOMPARE(celula(g), qMakePair(2, 1));
    QCOMPARE(g->matriz(1, 0), QVariant("X"));
}

void TstGrelha::edicaoTecladoETeclasDescartadas()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(1);
    g->setMatriz(0, 0, "ABC");
    g->setLinhaActual(1);
    QSignalSpy comeca(g, &Grelha::edicaoVaiComecar), terminou(g, &Grelha::edicaoTerminou);

    QTest::keyClick(g, Qt::Key_F2);
    QVERIFY(g->emEdicao());
    QCOMPARE(comeca.size(), 1);
    QCOMPARE(g->valorActual(), QVariant("ABC"));
    QTest::keyClicks(QApplication::focusWidget(), "D");
    QCOMPARE(g->textoActual(), QString("ABCD"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!g->emEdicao());
    QCOMPARE(g->matriz(0, 0), QVariant("ABC"));
    QCOMPARE(terminou.size(), 1);

    // Typing replaces the text, within the column's maximum length.
    QTest::keyClicks(g, "1234567890123456789");
    QCOMPARE(g->textoActual(), QString("123456789012345"));
    g->setValorActual("Z");
    QCOMPARE(g->textoActual(), QString("Z"));
    QVERIFY(g->terminaEdicao());
    QCOMPARE(g->matriz(0, 0), QVariant("Z"));

    // Typed dates and amounts become values; other text stays as typed.
    g->setColunaActual(3);
    escreve(g, "5-3-2024");
    QVERIFY(g->terminaEdicao());
    QCOMPARE(g->matriz(0, 2), QVariant(QDate(2024, 3, 5)));
    QCOMPARE(g->dataActual(), QDate(2024, 3, 5));
    escreve(g, "xx");
    QVERIFY(g->terminaEdicao());
    QCOMPARE(g->matriz(0, 2), QVariant("xx"));
    g->setColunaActual(4);
    escreve(g, "1.234,5");
    QVERIFY(g->terminaEdicao());
    QCOMPARE(g->matriz(0, 3), QVariant(1234.5));
    QCOMPARE(g->textoActual(), QString("1.234,50"));

    // Read-only cells never edit.
    g->setColunaActual(2);
    QTest::keyClick(g, Qt::Key_F2);
    QTest::keyClicks(g, "q");
    QVERIFY(!g->emEdicao());

    // A key set to 0 while editing is discarded; so is Esc.
    QList<int> teclas;
    connect(g, &Grelha::teclaEmEdicao, this, [&](int, int, int &tecla, int) {
        teclas << tecla;
        if (tecla == 'Q' || tecla == 27)
            tecla = 0;
    });
    g->setColunaActual(1);
    QTest::keyClicks(g, "AQB");
    QCOMPARE(teclas, QList<int>({'A', 'Q', 'B'}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(g->emEdicao());
    QCOMPARE(g->textoActual(), QString("AB"));
    g->cancelaEdicao();

    // Outside editing, a discarded key does nothing either.
    connect(g, &Grelha::teclaPremida, this, [](int &tecla, int) {
        if (tecla == 113)
            tecla = 0;
    });
    QTest::keyClick(g, Qt::Key_F2);
    QVERIFY(!g->emEdicao());
}

// A number typed as the cell shows numbers is stored as that number ("1.500"
// is 1500); the stored value shows whole (never rounded to the format's
// places), and the editor's own text typed back stores it again. Text that
// could be read two ways stays text, for the window's check to refuse.
void TstGrelha::numeroEscritoComoSeMostra_data()
{
    QTest::addColumn<QString>("formato");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QVariant>("valor");
    QTest::addColumn<QString>("mostrado");
    QTest::newRow("milhares, inteiros") << "##,###" << "1.500" << QVariant(1500.0) << "1.500";
    QTest::newRow("milhares e decimal, inteiros") << "##,###" << "1.500,5" << QVariant(1500.5) << "1.500,5";
    QTest::newRow("decimal, inteiros") << "##,###" << "12,5" << QVariant(12.5) << "12,5";
    QTest::newRow("milhares, preço") << "##,###.00" << "1.500" << QVariant(1500.0) << "1.500,00";
    QTest::newRow("milhares e decimal, preço") << "##,###.00" << "1.500,5" << QVariant(1500.5) << "1.500,50";
    QTest::newRow("três decimais, preço") << "##,###.00" << "1,505" << QVariant(1.505) << "1,505";
    QTest::newRow("dez algarismos") << "##,###.00" << "1.234.567.890,1234" << QVariant(1234567890.1234) << "1.234.567.890,1234";
    QTest::newRow("ponto e dois algarismos") << "##,###.00" << "1.50" << QVariant("1.50") << "1.50";
    QTest::newRow("duas vírgulas") << "##,###" << "1,5,0" << QVariant("1,5,0") << "1,5,0";
}

void TstGrelha::numeroEscritoComoSeMostra()
{
    QFETCH(QString, formato);
    QFETCH(QString, texto);
    QFETCH(QVariant, valor);
    QFETCH(QString, mostrado);
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    g->adicionaColuna({.chave = "Num", .titulo = "Num", .tipo = TipoColuna::Moeda, .largura = 3000, .formato = formato});
    g->setLinhas(1);
    g->setLinhaActual(1);
    g->setColunaActual(1);
    escreve(g, texto);
    QVERIFY(g->terminaEdicao());
    QCOMPARE(g->matriz(0, 0), valor);
    QCOMPARE(g->textoCelula(1, 1), mostrado);
    if (valor.metaType().id() != QMetaType::Double)
        return;
    // What the cell shows, and what its editor starts with, store the same.
    for (bool doEditor : {false, true}) {
        QTest::keyClick(g, Qt::Key_F2);
        QVERIFY(g->emEdicao());
        const QString inicial = g->textoActual();
        g->cancelaEdicao();
        escreve(g, doEditor ? inicial : mostrado);
        QVERIFY(g->terminaEdicao());
        QCOMPARE(g->matriz(0, 0), valor);
    }
}

void TstGrelha::validacaoCanceladaMantemCelula()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(2);
    g->setComportamentoEnter(Grelha::ProximaCelula);
    g->setMatriz(0, 0, "BOM0");
    bool repoe = true;
    QList<QVariantList> chamadas;
    QStringList ordem;
    connect(g, &Grelha::validaCelula, this, [&](int l, int c, const QVariant &anterior, bool &cancela) {
        ordem << "valida";
        chamadas << QVariantList{l, c, anterior, g->textoActual()};
        if (g->textoActual().startsWith("MAU")) {
            cancela = true;
            if (repoe)
                g->setValorActual(anterior);
        }
    });
    connect(g, &Grelha::edicaoTerminou, this, [&] { ordem << "terminou"; });
    g->setLinhaActual(1);
    escreve(g, "MAU");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(chamadas.last(), (QVariantList{1, 1, "BOM0", "MAU"}));
    QCOMPARE(ordem, (QStringList{"valida", "terminou"}));
    QCOMPARE(celula(g), qMakePair(1, 1));
    QCOMPARE(g->matriz(0, 0), QVariant("BOM0"));
    QVERIFY(g->hasFocus());

    // The grid restores nothing by itself.
    repoe = false;
    escreve(g, "MAU2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(g->matriz(0, 0), QVariant("MAU2"));
    QCOMPARE(celula(g), qMakePair(1, 1));

    // A refused cell is not left by a click elsewhere, nor by the focus leaving.
    escreve(g, "MAU3");
    const QModelIndex outra = g->model()->index(1, 0);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(outra).center());
    QCOMPARE(celula(g), qMakePair(1, 1));
    escreve(g, "MAU4");
    QTest::mouseClick(j.outro, Qt::LeftButton);
    QVERIFY(!g->emEdicao());
    QVERIFY(g->hasFocus());
    QCOMPARE(g->matriz(0, 0), QVariant("MAU4"));

    // Accepted: the value stays and Enter moves on.
    escreve(g, "OK");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(g->matriz(0, 0), QVariant("OK"));
    QCOMPARE(celula(g), qMakePair(1, 3));
}

void TstGrelha::apagarLinhasComCancelamento()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(3);
    for (int r = 0; r < 3; ++r)
        g->setMatriz(r, 0, QString(QChar('A' + r)));
    bool cancela = true;
    QList<int> pedidas;
    connect(g, &Grelha::linhaVaiSerApagada, this, [&](int linha, bool &c) {
        pedidas << linha;
        c = cancela;
    });
    QSignalSpy removidas(g, &Grelha::linhasRemovidas);
    g->setLinhaActual(2);
    QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);   // not allowed yet
    QVERIFY(pedidas.isEmpty());

    g->setPermiteApagar(true);
    QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(pedidas, QList<int>{2});
    QCOMPARE(g->linhas(), 3);
    QCOMPARE(removidas.size(), 0);

    cancela = false;
    QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(g->linhas(), 2);
    QCOMPARE(g->matriz(1, 0), QVariant("C"));
    QCOMPARE(removidas.size(), 1);
    QCOMPARE(g->linhaActual(), 2);

    // Delete alone only removes a row selected through its header.
    QTest::keyClick(g, Qt::Key_Delete);
    QCOMPARE(g->linhas(), 2);
    g->setColunaActual(3);
    QHeaderView *v = g->verticalHeader();
    QSignalSpy mudou(g, &Grelha::celulaActualMudou);
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, QPoint(v->width() / 2, v->sectionViewportPosition(0) + 3));
    QCOMPARE(celula(g), qMakePair(1, 3));   // the row changes, the column stays
    QCOMPARE(mudou.size(), 1);
    QTest::keyClick(g, Qt::Key_Delete);
    QCOMPARE(g->linhas(), 1);
    QCOMPARE(g->matriz(0, 0), QVariant("C"));
    QCOMPARE(removidas.size(), 2);
}

void TstGrelha::botaoDaCelulaERectangulo()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(3);
    QList<QPair<int, int>> botoes;
    connect(g, &Grelha::botaoCelula, this, [&](int l, int c) { botoes << qMakePair(l, c); });
    QSignalSpy cliques(g, &Grelha::clique);
    g->setLinhaActual(1);
    const QRect r1 = g->rectanguloCelulaActual();
    QCOMPARE(r1, g->visualRect(g->currentIndex()).translated(g->viewport()->geometry().topLeft()));
    QVERIFY(g->rect().contains(r1));
    g->setLinhaActual(2);
    QCOMPARE(g->rectanguloCelulaActual().top(), r1.top() + g->rowHeight(0));

    // The button shows on the current row: a click there raises the event.
    const QPoint botao2 = DelegadoGrelha::rectanguloBotao(g->visualRect(g->model()->index(1, 0))).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, botao2);
    QCOMPARE(botoes, (Pares{{2, 1}}));
    QCOMPARE(cliques.size(), 0);
    const QPoint botao3 = DelegadoGrelha::rectanguloBotao(g->visualRect(g->model()->index(2, 0))).center();
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, botao3);
    QCOMPARE(botoes.size(), 1);
    QCOMPARE(celula(g), qMakePair(3, 1));
    QCOMPARE(cliques.size(), 1);

    // F4 on a cell with a button; a click there first commits the edit.
    g->setColunaActual(3);
    QTest::keyClick(g, Qt::Key_F4);
    QCOMPARE(botoes.last(), qMakePair(3, 3));
    escreve(g, "1-2-2024");
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                      DelegadoGrelha::rectanguloBotao(g->visualRect(g->currentIndex())).center());
    QVERIFY(!g->emEdicao());
    QCOMPARE(g->matriz(2, 2), QVariant(QDate(2024, 2, 1)));
    QCOMPARE(botoes.last(), qMakePair(3, 3));
    QCOMPARE(botoes.size(), 3);
}

void TstGrelha::celulaActualMudouDizAnterior()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(3);
    Pares anteriores, actuais;
    connect(g, &Grelha::celulaActualMudou, this, [&](int l, int c) {
        anteriores << qMakePair(l, c);
        actuais << celula(g);
        // The windows keep a further empty row below the current one.
        if (g->linhaActual() > g->linhas() - 1)
            g->setLinhas(g->linhas() + 1);
    });
    g->setLinhaActual(1);
    QTest::keyClick(g, Qt::Key_Right);
    QTest::keyClick(g, Qt::Key_Down);
    g->setColunaActual(4);
    QCOMPARE(anteriores, (Pares{{0, 0}, {1, 1}, {1, 3}, {2, 3}}));
    QCOMPARE(actuais, (Pares{{1, 1}, {1, 3}, {2, 3}, {2, 4}}));
    QTest::keyClick(g, Qt::Key_Down);   // onto the last row: one more row, one event
    QCOMPARE(g->linhas(), 4);
    QCOMPARE(anteriores.size(), 5);
    QCOMPARE(anteriores.last(), qMakePair(2, 4));
    const QModelIndex descr = g->model()->index(0, 1);   // a click on Descr keeps the column
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(descr).center());
    QCOMPARE(actuais.last(), qMakePair(1, 4));
    g->setLinhaActual(0);
    QCOMPARE(anteriores.last(), qMakePair(1, 4));
    QCOMPARE(g->linhaActual(), 0);
    QCOMPARE(g->tipoLinha(), Grelha::LinhaCabecalho);
}

void TstGrelha::novaLinhaDoUtilizador()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    g->adicionaColuna({.chave = "Equivalencia", .titulo = "Equivalencia", .largura = 1500});
    g->setComportamentoEnter(Grelha::ProximaCelula);
    g->setLinhas(1);
    g->setMatriz(0, 0, "A");
    g->setPermiteAdicionar(true);
    QCOMPARE(g->model()->rowCount(), 2);
    QCOMPARE(g->model()->headerData(1, Qt::Vertical).toString(), QString("*"));
    g->setLinhaActual(1);
    QCOMPARE(g->tipoLinha(), Grelha::LinhaDados);
    QTest::keyClick(g, Qt::Key_Down);
    QCOMPARE(g->linhaActual(), 2);
    QCOMPARE(g->tipoLinha(), Grelha::LinhaNova);
    QCOMPARE(g->linhas(), 1);
    escreve(g, "B");
    QCOMPARE(g->linhas(), 2);   // writing on the new-row line adds the row
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(g->matriz(1, 0), QVariant("B"));
    QCOMPARE(g->linhaActual(), 3);
    QCOMPARE(g->tipoLinha(), Grelha::LinhaNova);
    QTest::keyClick(g, Qt::Key_Return);   // nothing past the new-row line
    QCOMPARE(g->linhaActual(), 3);
    g->setPermiteAdicionar(false);
    QCOMPARE(g->model()->rowCount(), 2);
    QCOMPARE(g->linhaActual(), 2);
}

void TstGrelha::ligacaoSoLeituraEActivacao()
{
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    Recordset rs = Recordset::emMemoria({{"Artigo", QMetaType::QString, 15}, {"Nome", QMetaType::QString, 50},
                                         {"PCM", QMetaType::Double, 0}, {"Stock", QMetaType::Int, 0}});
    for (int i = 1; i <= 3; ++i) {
        rs.AddNew();
        rs.SetValor("Artigo", QString("A%1").arg(i));
        rs.SetValor("Nome", QString("Artigo %1").arg(i));
        rs.SetValor("PCM", 1234.5 * i);
        rs.SetValor("Stock", 10 * i);
        rs.Update();
    }
    g->liga(rs);
    QCOMPARE(g->numeroColunas(), 4);
    QCOMPARE(g->model()->headerData(2, Qt::Horizontal).toString(), QString("PCM"));
    QCOMPARE(g->linhas(), 3);
    QCOMPARE(g->matriz(1, 0), QVariant("A2"));
    QCOMPARE(g->textoCelula(1, 3), QString("1.234,50"));
    QCOMPARE(g->textoCelula(3, 4), QString("30"));
    QCOMPARE(g->recordset().RecordCount(), 3);
    QVERIFY(g->soLeitura());
    QVERIFY(g->tipoLinha() != Grelha::LinhaDados);

    QSignalSpy cliques(g, &Grelha::clique), duplos(g, &Grelha::duploClique);
    QList<int> activadas, teclas;
    connect(g, &Grelha::linhaActivada, this, [&](int l) { activadas << l; });
    connect(g, &Grelha::teclaPremida, this, [&](int &t, int) { teclas << t; });
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(1, 1)).center());
    QCOMPARE(cliques.size(), 1);
    QCOMPARE(g->linhaActual(), 2);
    QCOMPARE(g->tipoLinha(), Grelha::LinhaDados);
    QTest::keyClick(g, Qt::Key_F2);
    QTest::keyClicks(g, "x");
    QVERIFY(!g->emEdicao());
    QTest::keyClick(g, Qt::Key_Return);
    QCOMPARE(teclas.last(), 13);
    QCOMPARE(activadas, QList<int>{2});
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(2, 0)).center());
    QCOMPARE(duplos.size(), 1);
    QVERIFY(!g->emEdicao());
    QHeaderView *v = g->verticalHeader();
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, QPoint(v->width() / 2, v->sectionViewportPosition(0) + 3));
    QCOMPARE(activadas, (QList<int>{2, 1}));

    g->liga(Recordset());   // no result set: an empty grid
    QCOMPARE(g->numeroColunas(), 0);
    QCOMPARE(g->linhas(), 0);
}

void TstGrelha::escolhaDaListaComJanelaInactiva()
{
    // The windows' pick: the cell's list (a modal dialog) gives a code, the
    // cell takes it and the queued F2 and Tab commit it and move on. Under a
    // window manager those keys arrive before the window is active again. A
    // field comes before the grid in the window: a window that lost its focus
    // widget would give the focus to it when activated.
    QWidget janela;
    auto *campo = new QLineEdit(&janela);
    auto *g = new Grelha(&janela);
    auto *l = new QVBoxLayout(&janela);
    l->addWidget(campo);
    l->addWidget(g);
    janela.resize(900, 400);
    janela.show();
    janela.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&janela));
    colunasPreco(g);
    g->setComportamentoTab(Grelha::ProximaCelula);
    g->setLinhas(3);
    g->setFocus();
    QWidget dialogo;
    connect(g, &Grelha::botaoCelula, this, [&](int, int) {
        dialogo.show();
        dialogo.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialogo));
        dialogo.close();
        g->aceitaEscolha("F1");
    });
    QList<QVariant> validados;
    connect(g, &Grelha::validaCelula, this, [&](int, int, const QVariant &, bool &) { validados << g->matriz(0, 0); });
    g->setLinhaActual(1);
    QTest::keyClick(g, Qt::Key_F4);
    QTRY_COMPARE(validados, QList<QVariant>{"F1"});
    QVERIFY(!QApplication::activeWindow());
    QCOMPARE(celula(g), qMakePair(1, 3));
    // Active again, the grid has the focus and the next keys go to its next cell.
    janela.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&janela));
    QCOMPARE(QApplication::focusWidget(), g);
    QTest::keyClicks(g, "7");
    QVERIFY(g->emEdicao());
    QVERIFY(campo->text().isEmpty());
}

void TstGrelha::dataInteiraAoLadoDoBotao()
{
    // On the current row a date cell has its calendar button at the right: the
    // whole date must still fit beside it, in the grid's font as it is now.
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(2);
    g->setMatriz(0, 2, QDate(2026, 8, 28));
    g->setLinhaActual(1);
    g->setColunaActual(3);
    for (int pontos : {8, 14}) {
        g->setFont(QFont(QStringLiteral("MS Sans Serif"), pontos));
        const QRect celula = g->visualRect(g->currentIndex());
        const int espaco = DelegadoGrelha::rectanguloBotao(celula).left() - celula.left();
        const int margens = 2 * (g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1);
        QVERIFY2(QFontMetrics(g->font()).horizontalAdvance(g->textoCelula(1, 3)) + margens <= espaco,
                 qPrintable(QString("%1 pt").arg(pontos)));
    }
    QCOMPARE(g->columnWidth(0), 67);   // other columns keep their twips
}

void TstGrelha::valorRecusadoReposto()
{
    // A window's check refuses a value: its message, the previous value back,
    // the focus in the grid; in both a cell being left and one already left.
    MensagensGravadas mensagens;
    mensagens.instala();
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(2);
    g->setComportamentoEnter(Grelha::ProximaCelula);
    g->setMatriz(0, 0, "BOM");
    connect(g, &Grelha::validaCelula, this, [&](int l, int c, const QVariant &anterior, bool &cancela) {
        if (!g->textoActual().startsWith("MAU"))
            return;
        cancela = true;
        g->recusaValor(l, c, anterior, g->textoActual() == "MAU" ? QStringLiteral("Fornecedor não existente!") : QString());
    });
    g->setLinhaActual(1);
    escreve(g, "MAU");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(mensagens.quantos(), 1);
    QCOMPARE(mensagens.ultimo().texto, QStringLiteral("Fornecedor não existente!"));
    QCOMPARE(mensagens.ultimo().icone, PedidoMensagem::Informacao);
    QCOMPARE(g->matriz(0, 0), QVariant("BOM"));
    QCOMPARE(celula(g), qMakePair(1, 1));
    QVERIFY(g->hasFocus() && !g->emEdicao());

    // Without a message nothing is shown; the value goes back all the same.
    escreve(g, "MAU2");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(mensagens.quantos(), 1);
    QCOMPARE(g->matriz(0, 0), QVariant("BOM"));

    // A check run after the cursor moved on restores the cell it checked.
    g->setMatriz(1, 0, "MAU3");
    j.outro->setFocus();
    g->recusaValor(2, 1, "ANTES", QString());
    QCOMPARE(g->matriz(1, 0), QVariant("ANTES"));
    QCOMPARE(g->matriz(0, 0), QVariant("BOM"));
    QVERIFY(g->hasFocus());
}

void TstGrelha::popupJuntoDaCelulaActual()
{
    // Below the current cell while it fits in the window to the last pixel,
    // above the cell from one pixel more.
    Janela j;
    QVERIFY(j.activa());
    Grelha *g = j.g;
    colunasPreco(g);
    g->setLinhas(3);
    g->setLinhaActual(2);
    const QRect c = g->rectanguloCelulaActual();
    const int abaixo = g->y() + c.bottom() + 1;
    QWidget popup(&j.janela);
    popup.resize(50, j.janela.height() - abaixo);
    QCOMPARE(g->topoJuntoCelulaActual(popup), abaixo);
    popup.resize(50, popup.height() + 1);
    QCOMPARE(g->topoJuntoCelulaActual(popup), g->y() + c.top() - popup.height());
}

TESSELA_TEST_MAIN(TstGrelha)
#include "tst_grelha.moc"
