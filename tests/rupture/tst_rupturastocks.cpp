// The rupture window as a buyer drives it: the opening of both modes, the
// filters (typed, picked, crossed, Esc), loading with its result line and
// messages, a failing and a stopped load, and the price details panel.
#include "baseruptura.h"
#include "calendario.h"
#include "testmain.h"
#include "twips.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

using namespace DadosRuptura;
using namespace ColunasNecessidades;

class TstRupturaStocks : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    RupturaStocks *j() const { return base.janela; }

    // Every control of the window but Sair (and the panel) locked?
    bool inibida() const
    {
        return !j()->btCarga()->isEnabled() && !j()->Campo(0)->isEnabled() && !j()->grelha()->isEnabled()
               && !j()->btCancelar()->isEnabled() && j()->btSair()->isEnabled();
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void aberturaDosModos()
    {
        QVERIFY(base.abre(1));
        QCOMPARE(j()->windowTitle(), QStringLiteral("Ruptura de Stocks"));
        QCOMPARE(j()->Label1()->text(), QStringLiteral("Ruptura de Stocks"));
        QVERIFY(!j()->btConf()->isVisible());
        QVERIFY(j()->Campo(7)->isVisible() && j()->Check1()->isVisible() && j()->mvkBotao1()->isVisible());
        QCOMPARE(j()->Campo(11)->formatoNumerico(), QStringLiteral("###,###.00"));
        QCOMPARE(j()->btLista(6)->toolTip(), QStringLiteral("Acesso à lista de Sub Famílias."));
        QCOMPARE(j()->Campo(4)->toolTip(), QStringLiteral("Família de Artigos."));
        QCOMPARE(j()->mvkBotao1()->toolTip(), QStringLiteral("Geração de Encomendas a Fornecedores."));
        QVERIFY(!j()->mvkBotao1()->isEnabled());   // nothing to generate from an empty grid
        QVERIFY(!j()->Frame2()->isVisible() && !j()->MonthView1()->isVisible());
        // The grid: 17 columns by key, two empty rows, the analysis only adjusted.
        Grelha *g = base.g();
        QCOMPARE(g->numeroColunas(), 17);
        QCOMPARE(g->linhas(), 2);
        QVERIFY(g->coluna(QStringLiteral("Artigo"))->soLeitura);
        QVERIFY(!g->coluna(QStringLiteral("Enc"))->soLeitura && !g->coluna(QStringLiteral("RefForn"))->soLeitura);
        QCOMPARE(g->coluna(QStringLiteral("Forn"))->botao, BotaoCelula::Reticencias);
        QCOMPARE(g->coluna(QStringLiteral("UltPrec"))->formato, QStringLiteral("#,###.#0"));
        QVERIFY(g->coluna(QStringLiteral("DataUlt"))->oculta && !g->coluna(QStringLiteral("StkMin"))->oculta);
        QVERIFY(!g->permiteAdicionar() && !g->permiteApagar());
        base.fecha();

        QVERIFY(base.abre(2));
        QCOMPARE(j()->windowTitle(), QStringLiteral("Necessidades de Encomendas"));
        QCOMPARE(j()->Label1()->text(), QStringLiteral("Necessidades de Encomendas"));
        for (int i : {1, 2, 3, 5, 6, 7, 13})
            QVERIFY2(!j()->Label2(i)->isVisible(), qPrintable(QString::number(i)));
        for (int i : {2, 3, 4, 5, 6, 7, 11})
            QVERIFY(!j()->Campo(i)->isVisible());
        QVERIFY(!j()->btLista(2)->isVisible() && !j()->Check1()->isVisible() && !j()->mvkBotao1()->isVisible());
        QVERIFY(j()->Campo(0)->isVisible() && j()->Campo(1)->isVisible() && j()->btConf()->isVisible());
        QCOMPARE(j()->btConf()->x(), Twips::paraPixeis(120));
        QCOMPARE(j()->btCancelar()->x(), Twips::paraPixeis(1485));
        QCOMPARE(j()->btSair()->x(), Twips::paraPixeis(2835));
        g = base.g();
        QCOMPARE(g->coluna(QStringLiteral("Descr"))->largura, 6400);
        QCOMPARE(g->coluna(QStringLiteral("Artigo"))->botao, BotaoCelula::Reticencias);
        QCOMPARE(g->coluna(QStringLiteral("DataUlt"))->botao, BotaoCelula::Lista);
        QVERIFY(g->coluna(QStringLiteral("StkMin"))->oculta && g->coluna(QStringLiteral("UltPrec"))->oculta);
        QVERIFY(g->permiteAdicionar() && g->permiteApagar());
    }

    void filtros()
    {
        QVERIFY(base.abre(1));
        // Unknown and inactive codes are refused and keep the focus.
        base.escreveFiltro(0, QStringLiteral("RAI"));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Artigo inexistente!")});
        QCOMPARE(base.mensagens.ultimo().icone, PedidoMensagem::Informacao);
        QCOMPARE(QApplication::focusWidget(), j()->Campo(0));
        base.mensagens.limpa();
        base.escreveFiltro(0, QStringLiteral("ra1"));
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(QApplication::focusWidget(), j()->Campo(1));
        base.escreveFiltro(2, QStringLiteral("G9"));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Grupo inexistente!")});
        // A family is checked within the group range, empty as it is.
        base.mensagens.limpa();
        j()->Campo(2)->clear();
        base.escreveFiltro(4, QStringLiteral("F11"));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Família inexistente!")});
        base.mensagens.limpa();
        j()->Campo(2)->setText(QStringLiteral("G1"));
        j()->Campo(3)->setText(QStringLiteral("G1"));
        base.escreveFiltro(4, QStringLiteral("F11"));
        base.escreveFiltro(6, QStringLiteral("S112"));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Sub Família inexistente!")});   // family range still open
        base.mensagens.limpa();
        j()->Campo(5)->setText(QStringLiteral("F11"));
        base.escreveFiltro(6, QStringLiteral("S112"));
        QCOMPARE(base.mensagens.quantos(), 0);
        // Crossed without typing: no check.
        j()->Campo(7)->setText(QStringLiteral("NADA"));
        j()->Campo(7)->setFocus();
        QTest::keyClick(j()->Campo(7), Qt::Key_Tab);
        QCOMPARE(base.mensagens.quantos(), 0);

        // Picked: not checked again; the family list restricted by the group range.
        ListaRespostas listas;
        listas.responde(QStringLiteral("F12"));
        QTest::keyClick(j()->Campo(5), Qt::Key_F4);
        QTRY_COMPARE(QApplication::focusWidget(), j()->Campo(6));
        QCOMPARE(j()->Campo(5)->text(), QStringLiteral("F12"));
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Famílias "));
        QCOMPARE(listas.pedidos[0].valores, (QVariantList{QStringLiteral("G1"), QStringLiteral("G1")}));
        QCOMPARE(listas.pedidos[0].codigos, (QStringList{QStringLiteral("F11"), QStringLiteral("F12")}));
        QCOMPARE(listas.pedidos[0].largurasColunas, (QList<int>{1300, 4000}));
        listas.responde(QStringLiteral("RA4"));
        QTest::mouseClick(j()->btLista(1), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), j()->Campo(2));
        QCOMPARE(j()->Campo(1)->text(), QStringLiteral("RA4"));
        QVERIFY(!listas.pedidos[1].codigos.contains(QStringLiteral("RAI")));
        QCOMPARE(base.mensagens.quantos(), 0);

        // Esc steps back without a check; in the first article it closes the window.
        j()->Campo(1)->setFocus();
        QTest::keyClicks(j()->Campo(1), QStringLiteral("X"));
        QTest::keyClick(j()->Campo(1), Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), j()->Campo(0));
        QCOMPARE(base.mensagens.quantos(), 0);
        QVERIFY(!j()->Digitado());
        QTest::keyClick(j()->Campo(0), Qt::Key_Escape);
        QTRY_VERIFY(!j()->isVisible());
    }

    void carregamento()
    {
        QVERIFY(base.abre(1));
        j()->Campo(11)->setText(QStringLiteral("30"));
        base.carrega();
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 4, 6}));
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Analisar 4 linhas"));
        QCOMPARE(base.g()->linhas(), 5);
        QCOMPARE(base.g()->textoCelula(1, PrecEc + 1), QStringLiteral("7,50"));
        QCOMPARE(base.cel(1, Forn), QVariant(QStringLiteral("FA3")));
        QCOMPARE(base.cel(1, Prev), QVariant(5.0));
        QCOMPARE(base.mensagens.quantos(), 0);
        QVERIFY(base.g()->hasFocus() && !inibida() && j()->mvkBotao1()->isEnabled());
        // "Com Previsão" takes the sales off too.
        j()->Check1()->setChecked(true);
        base.carrega();
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 6}));
        // Nothing in a crossed range.
        j()->Campo(0)->setText(QStringLiteral("RA5"));
        j()->Campo(1)->setText(QStringLiteral("RA1"));
        base.carrega();
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Não existe informação para as condições solicitadas!")});
        QCOMPARE(j()->Label2(8)->text(), QString());
        QVERIFY(base.ids().isEmpty() && !j()->mvkBotao1()->isEnabled());
        // Clearing keeps "Com Previsão".
        QTest::mouseClick(j()->btCancelar(), Qt::LeftButton);
        QVERIFY(j()->Campo(0)->text().isEmpty() && j()->Campo(11)->text().isEmpty() && j()->Check1()->isChecked());
        base.fecha();

        // Mode 2: every pending need; one without a date shows today.
        QVERIFY(base.abre(2));
        base.carrega();
        QCOMPARE(base.ids(), (QList<qint64>{1, 7, 2, 3, 4, 6}));
        QCOMPARE(base.cel(3, DataUlt), QVariant(QDate::currentDate()));
        QCOMPARE(base.cel(1, PendForn), QVariant(4.0));
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Analisar 6 linhas"));
    }

    void cargaQueFalhaOuEInterrompida()
    {
        QVERIFY(base.abre(1));
        j()->Campo(0)->setText(QStringLiteral("RA1"));
        // A failing statement: its reason told, the window free, the filters kept.
        base.bd.falhaNoProximo(QStringLiteral("ROW_NUMBER"));
        base.carrega();
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY(base.mensagens.ultimo().texto.contains(QStringLiteral("Falha provocada para ensaio")));
        QVERIFY(base.mensagens.ultimo().texto.contains(QStringLiteral("btCarga_Click")));
        QVERIFY(!inibida() && j()->btCarga()->isEnabled());
        QCOMPARE(j()->Campo(0)->text(), QStringLiteral("RA1"));
        QVERIFY(base.ids().isEmpty());

        // Esc while loading stops it: nothing loaded, the window free, said so.
        base.mensagens.limpa();
        QCoreApplication::postEvent(j(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        j()->carrega();
        QVERIFY(base.ids().isEmpty());
        QVERIFY(j()->Label2(8)->text().startsWith(QStringLiteral("Carregamento interrompido")));
        QVERIFY(!inibida() && !j()->aCarregar());
        QCOMPARE(base.mensagens.quantos(), 0);
        base.carrega();
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 4, 6}));

        // Sair while loading: the load stops and the window closes after it.
        QMetaObject::invokeMethod(j(), &RupturaStocks::sair, Qt::QueuedConnection);
        j()->carrega();
        QVERIFY(!j()->isVisible());
    }

    void painelDeDetalhes()
    {
        QVERIFY(base.abre(1));
        base.carrega();
        Grelha *g = base.g();
        const auto clica = [g](int linha, int coluna) {
            const QRect r = g->visualRect(g->model()->index(linha - 1, coluna));
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        };
        clica(1, PrecEc);
        QVERIFY(j()->Frame2()->isVisible());
        QCOMPARE(j()->Campo(8)->text(), QStringLiteral("FA3"));
        QCOMPARE(j()->Campo(9)->text(), Valores::textoData(dia(10)));
        QCOMPARE(j()->Campo(10)->text(), QStringLiteral("7,50"));
        QCOMPARE(j()->Label2(12)->text(), QStringLiteral("Fornecedor Gama"));
        QCOMPARE(j()->Frame2()->x(), Twips::paraPixeis(12000));
        QVERIFY(inibida() && j()->mvkBotao2()->isEnabled());
        QTest::mouseClick(j()->mvkBotao2(), Qt::LeftButton);
        QVERIFY(!j()->Frame2()->isVisible() && !inibida());

        clica(1, UltPrec);
        QCOMPARE(j()->Campo(8)->text(), QStringLiteral("FA1"));
        QCOMPARE(j()->Label2(12)->text(), QStringLiteral("Fornecedor Alfa"));
        QCOMPARE(j()->Campo(10)->text(), QStringLiteral("8,50"));
        QTest::mouseClick(j()->mvkBotao2(), Qt::LeftButton);
        // No quote: the panel opens all the same.
        clica(2, PrecEc);
        QVERIFY(j()->Frame2()->isVisible());
        QCOMPARE(j()->Campo(8)->text(), QString());
        QCOMPARE(j()->Label2(12)->text(), QStringLiteral("(sem fornecedor)"));
        QTest::mouseClick(j()->mvkBotao2(), Qt::LeftButton);
        // Other columns open nothing.
        clica(1, Enc);
        QVERIFY(!j()->Frame2()->isVisible());
    }

    // The panel with the cheapest quote's supplier named at every length and
    // its price at whole parts of 1 to 10 digits, negative and zero: the name
    // whole or cut with "…" and whole in the tooltip, the price as the grid
    // shows it (never fewer decimals than it has), both reading back.
    void painelComNomesEPrecosDeTodosOsTamanhos_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<double>("preco");
        QTest::addColumn<QString>("texto");
        const QString longo = QStringLiteral("Tintas Atlântico, Unipessoal Lda - Armazém de Aveiro");
        QTest::newRow("1 algarismo") << "Gama" << 7.5 << "7,50";
        QTest::newRow("3 algarismos") << "Tintas Atlântico, Lda" << 123.25 << "123,25";
        QTest::newRow("4 algarismos") << longo << 1234.0 << "1.234,00";
        QTest::newRow("6 algarismos") << longo << 123456.789 << "123.456,789";
        QTest::newRow("7 algarismos") << longo << 1234567.5 << "1.234.567,50";
        QTest::newRow("9 algarismos") << longo << 123456789.0 << "123.456.789,00";
        QTest::newRow("10 algarismos") << longo << 1234567890.1234 << "1.234.567.890,1234";
        QTest::newRow("negativo") << longo << -1234.5 << "-1.234,50";
        QTest::newRow("zero") << longo << 0.0 << "0,00";
    }
    void painelComNomesEPrecosDeTodosOsTamanhos()
    {
        QFETCH(QString, nome);
        QFETCH(double, preco);
        QFETCH(QString, texto);
        QVERIFY(base.copia());
        // FA3's quote stays the cheapest of RA1: the others one unit above it.
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("UPDATE Fornec SET Nome = ? WHERE Codigo = 'FA3'"), {nome}));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("UPDATE mvk_Precos_Forn SET Preco = ? + (Fornecedor <> 'FA3') "
                                                            "WHERE Artigo = 'RA1'"),
                                             {preco}));
        base.janela = new RupturaStocks;
        base.janela->setBd(&base.bd);
        base.janela->setTipo(1);
        QVERIFY(base.mostra());
        base.carrega();
        Grelha *g = base.g();
        QCOMPARE(g->matriz(0, Artigo).toString(), QStringLiteral("RA1"));
        QCOMPARE(g->textoCelula(1, PrecEc + 1), texto);
        const QRect r = g->visualRect(g->model()->index(0, PrecEc));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(j()->Frame2()->isVisible());
        QCOMPARE(j()->Campo(10)->text(), texto);
        Moeda lida;
        QVERIFY(Moeda::leTexto(j()->Campo(10)->text(), &lida));
        QCOMPARE(lida, Moeda::deDouble(preco));

        QLabel *rotulo = j()->Label2(12);
        const QString mostrado = rotulo->text();
        QCOMPARE(rotulo->toolTip(), nome);
        QVERIFY2(rotulo->fontMetrics().horizontalAdvance(mostrado) <= rotulo->width(), qPrintable(mostrado));
        if (rotulo->fontMetrics().horizontalAdvance(nome) <= rotulo->width()) {
            QCOMPARE(mostrado, nome);
        } else {
            QVERIFY2(mostrado.endsWith(QChar(0x2026)), qPrintable(mostrado));
            QVERIFY(nome.startsWith(mostrado.chopped(1)));
        }
    }
};

TESSELA_TEST_MAIN(TstRupturaStocks)
#include "tst_rupturastocks.moc"
