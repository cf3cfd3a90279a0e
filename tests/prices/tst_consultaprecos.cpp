// The supplier price window as a buyer drives it: the opening of both modes,
// the filters (typed, picked from a list, crossed, Esc) and the loading of the
// grid for every combination of filters.
#include "baseprecos.h"
#include "testmain.h"
#include "twips.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace DadosPrecos;

class TstConsultaPrecos : public QObject
{
    Q_OBJECT

private:
    BasePrecos base;

    // The rows filled in the grid: supplier, article and price of each.
    QStringList linhasCarregadas() const
    {
        QStringList l;
        for (int r = 0; r < base.g()->linhas() && !base.g()->matriz(r, ColunasPrecos::Forn).toString().isEmpty(); ++r)
            l << QStringLiteral("%1 %2 %3")
                     .arg(base.g()->matriz(r, ColunasPrecos::Forn).toString(), base.g()->matriz(r, ColunasPrecos::Artigo).toString(),
                          base.g()->textoCelula(r + 1, ColunasPrecos::Preco + 1));
        return l;
    }
    void carrega(const QString &fornecedor, const QString &artigo)
    {
        base.janela->Campo(0)->setText(fornecedor);
        base.janela->Campo(1)->setText(artigo);
        base.mensagens.limpa();
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
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
        ConsultaPrecos *j = base.fornecedores();
        QCOMPARE(j->windowTitle(), QStringLiteral("Consulta de Preços a Fornecedor"));
        QCOMPARE(j->Label1()->text(), QStringLiteral("Consulta de Preços a Fornecedor"));
        QCOMPARE(j->btCarga()->text(), QStringLiteral("Carregar"));
        QVERIFY(j->btConf()->isEnabled());
        QVERIFY(j->btImp()->isEnabled());
        QVERIFY(j->Campo(2)->isVisible());
        // The grid: 30 empty rows; the supplier typed with its list while no filter is set.
        Grelha *g = base.g();
        QCOMPARE(g->linhas(), 30);
        QCOMPARE(g->linhaActual(), 0);
        QCOMPARE(g->numeroColunas(), 10);
        QVERIFY(!g->coluna(QStringLiteral("Forn"))->soLeitura);
        QCOMPARE(g->coluna(QStringLiteral("Forn"))->botao, BotaoCelula::Reticencias);
        base.fecha();

        QVERIFY(base.abre(2));
        j = base.fornecedores();
        QCOMPARE(j->Label1()->text(), QStringLiteral("Consulta de Compras"));
        QCOMPARE(j->btCarga()->text(), QStringLiteral("Compras"));
        QVERIFY(!j->btConf()->isEnabled());
        QCOMPARE(j->height(), Twips::paraPixeis(7800));
        for (Botao *b : {j->btConf(), j->btCancelar(), j->btSair(), j->btImp()})
            QCOMPARE(b->y(), Twips::paraPixeis(6795));
        QVERIFY(!j->Campo(2)->isVisible());
        QVERIFY(!j->Label2(3)->isVisible());
        g = base.g();
        QCOMPARE(g->numeroColunas(), 9);   // no observation in purchases
        QVERIFY(g->coluna(QStringLiteral("Forn"))->soLeitura && g->coluna(QStringLiteral("Forn"))->recebeFoco);
        base.fecha();

        // In the main window's document area the window centres itself.
        QMdiArea area;
        area.resize(1400, 900);
        auto *janela = new ConsultaPrecos;
        janela->setBd(&base.bd);
        janela->setTipo(2);
        QMdiSubWindow *sub = area.addSubWindow(janela);
        area.show();
        QVERIFY(QTest::qWaitForWindowExposed(&area));
        QTRY_VERIFY(janela->isVisible());
        const QSize cliente = area.viewport()->size();
        QCOMPARE(sub->pos(), QPoint((cliente.width() - sub->width()) / 2, (cliente.height() - sub->height()) / 2));
        janela->sair();
        QTRY_VERIFY(area.subWindowList().isEmpty() || !sub->isVisible());

        // In an area smaller than the window its title bar stays within reach.
        area.resize(500, 300);
        auto *outra = new ConsultaPrecos;
        outra->setBd(&base.bd);
        sub = area.addSubWindow(outra);
        sub->show();
        QTRY_VERIFY(outra->isVisible());
        QCOMPARE(sub->pos(), QPoint(0, 0));
        outra->sair();
    }

    void filtrosDigitadosEEscolhidos()
    {
        QVERIFY(base.abre(1));
        ConsultaPrecos *j = base.fornecedores();
        base.escreveFiltro(0, QStringLiteral("NOPE"));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Fornecedor inexistente!")});
        QCOMPARE(base.mensagens.ultimo().titulo, QStringLiteral("Informação"));
        QCOMPARE(base.mensagens.ultimo().icone, PedidoMensagem::Informacao);
        QCOMPARE(QApplication::focusWidget(), j->Campo(0));
        QVERIFY(!j->Digitado());

        base.escreveFiltro(0, QStringLiteral("fx1"));
        QCOMPARE(j->Label2(1)->text(), QStringLiteral("Fornecedor Um    Telefone: 211111111"));
        QCOMPARE(j->NomeFornecedor(), NomeFX1);
        QCOMPARE(QApplication::focusWidget(), j->Campo(1));

        // An inactive article is no article; a refused code leaves the name shown before.
        base.escreveFiltro(1, AT1);
        QCOMPARE(j->Label2(2)->text(), NomeAT1);
        base.mensagens.limpa();
        base.escreveFiltro(1, ATI);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Artigo inexistente!")});
        QCOMPARE(j->Label2(2)->text(), NomeAT1);
        QCOMPARE(QApplication::focusWidget(), j->Campo(1));

        // Crossed without typing: not checked.
        base.mensagens.limpa();
        j->Campo(0)->setText(QStringLiteral("NADA"));
        j->Campo(0)->setFocus();
        QTest::keyClick(j->Campo(0), Qt::Key_Tab);
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(QApplication::focusWidget(), j->Campo(1));

        // Picked from the lists ("..." and F4): checked when the queued Tab leaves the field.
        ListaRespostas listas;
        listas.responde(FX2);
        QTest::mouseClick(j->btLista(0), Qt::LeftButton);
        QTRY_COMPARE(j->NomeFornecedor(), NomeFX2);
        QCOMPARE(j->Campo(0)->text(), FX2);
        QCOMPARE(QApplication::focusWidget(), j->Campo(1));
        QCOMPARE(listas.pedidos.size(), 1);
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Fornecedores"));
        QVERIFY(listas.pedidos[0].codigos.contains(FX1));
        QCOMPARE(listas.pedidos[0].largura, 5800);
        QCOMPARE(listas.pedidos[0].largurasColunas, (QList<int>{1300, 4000}));

        listas.responde(AT2);
        QTest::keyClick(j->Campo(1), Qt::Key_F4);
        QTRY_COMPARE(j->Label2(2)->text(), NomeAT2);
        QCOMPARE(listas.pedidos[1].largurasColunas, (QList<int>{1500, 5000}));
        QVERIFY(!listas.pedidos[1].codigos.contains(ATI));

        // Nothing picked: the field only gets the focus.
        QTest::mouseClick(j->btLista(0), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), j->Campo(0));
        QCOMPARE(j->Campo(0)->text(), FX2);
        QVERIFY(!j->Digitado());
    }

    void escNosFiltros()
    {
        QVERIFY(base.abre(1));
        ConsultaPrecos *j = base.fornecedores();
        // In the article filter Esc goes back to the supplier, checking nothing.
        j->Campo(1)->setFocus();
        QTest::keyClicks(j->Campo(1), QStringLiteral("NOPE"));
        QTest::keyClick(j->Campo(1), Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), j->Campo(0));
        QCOMPARE(j->Campo(1)->text(), QStringLiteral("NOPE"));
        QCOMPARE(base.mensagens.quantos(), 0);
        QVERIFY(!j->Digitado());
        // In the supplier filter it closes the window.
        QTest::keyClicks(j->Campo(0), QStringLiteral("NOPE"));
        QTest::keyClick(j->Campo(0), Qt::Key_Escape);
        QVERIFY(!j->isVisible());
        QTest::qWait(20);
        QCOMPARE(base.mensagens.quantos(), 0);
    }

    void cargaDePrecos()
    {
        QVERIFY(base.abre(1));
        Grelha *g = base.g();
        carrega(FX1, QString());
        QCOMPARE(linhasCarregadas(), (QStringList{"FX1 AT1 11,25", "FX1 AT1 10,50", "FX1 AT2 20,00"}));
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(g->linhas(), 30);
        QCOMPARE(g->linhaActual(), 1);
        QVERIFY(g->hasFocus());
        // Every column of a row, the Id and the cleared changed flag.
        const QVariantList esperado{FX1, NomeFX1, AT1, NomeAT1, QStringLiteral("R-1"), QDate(2024, 3, 1), 10.5, 100001, false,
                                    QStringLiteral("Proposta A")};
        for (int c = 0; c < esperado.size(); ++c)
            QCOMPARE(g->matriz(1, c), esperado[c]);
        QCOMPARE(g->matriz(0, ColunasPrecos::Obs), QVariant(QString()));   // NULL shows empty
        // The filtered supplier is not typed in the grid.
        QVERIFY(g->coluna(QStringLiteral("Forn"))->soLeitura);
        QVERIFY(!g->coluna(QStringLiteral("Forn"))->recebeFoco);
        QVERIFY(!g->coluna(QStringLiteral("Artigo"))->soLeitura);

        carrega(QString(), AT1);
        QCOMPARE(linhasCarregadas(), (QStringList{"FX1 AT1 11,25", "FX1 AT1 10,50", "FX2 AT1 9,99", "FZZ AT1 5,00"}));
        QCOMPARE(g->matriz(3, ColunasPrecos::Descr), QVariant(QString()));   // a supplier the ERP does not know
        QVERIFY(g->coluna(QStringLiteral("Artigo"))->soLeitura);

        carrega(FX1, AT1);
        QCOMPARE(linhasCarregadas(), (QStringList{"FX1 AT1 11,25", "FX1 AT1 10,50"}));

        carrega(FX2, AT2);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Não existe informação para as condições solicitadas!")});
        QCOMPARE(g->linhas(), 30);
        QVERIFY(g->matriz(0, ColunasPrecos::Forn).toString().isEmpty());

        // No filter: every record, by supplier, article and newest date.
        carrega(QString(), QString());
        const int total = base.bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Precos_Forn")).toInt();
        QCOMPARE(linhasCarregadas().size(), total);
        for (int r = 1; r < total; ++r) {
            const auto chave = [g](int l) {
                return QStringLiteral("%1|%2").arg(g->matriz(l, 0).toString().toUpper(), g->matriz(l, 2).toString().toUpper());
            };
            QVERIFY(chave(r - 1) <= chave(r));
            if (chave(r - 1) == chave(r))
                QVERIFY(g->matriz(r - 1, ColunasPrecos::DataE).toDate() >= g->matriz(r, ColunasPrecos::DataE).toDate());
        }

        // Forty records leave empty rows after the last one.
        for (int n = 0; n < 39; ++n)
            VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco) "
                                                                "VALUES ('FX2', 'AT2', '2023-01-01', ?)"),
                                                 {n + 1}));
        carrega(FX2, QString());
        QCOMPARE(linhasCarregadas().size(), 40);
        QCOMPARE(g->linhas(), 42);
    }

    void cargaDeCompras()
    {
        QVERIFY(base.abre(2));
        Grelha *g = base.g();
        carrega(FX1, QString());
        // Voided lines, inactive articles and sales are no purchases.
        QCOMPARE(linhasCarregadas(), (QStringList{"FX1 AT1 7,50", "FX1 AT2 3,00"}));
        const QVariantList esperado{FX1, NomeFX1, AT1, NomeAT1, QStringLiteral("AJ-1"), QDate(2024, 6, 1), 7.5};
        for (int c = 0; c < esperado.size(); ++c)
            QCOMPARE(g->matriz(0, c), esperado[c]);
        QCOMPARE(g->matriz(0, ColunasPrecos::Altera), QVariant(false));
        QCOMPARE(g->matriz(1, ColunasPrecos::RefForn), QVariant(QString()));   // no purchase-help record
        QCOMPARE(g->linhaActual(), 1);

        carrega(QString(), AT1);
        QCOMPARE(linhasCarregadas(), (QStringList{"FX1 AT1 7,50", "FX2 AT1 8,00"}));
        carrega(FX2, AT1);
        QCOMPARE(linhasCarregadas(), (QStringList{"FX2 AT1 8,00"}));
        carrega(FX2, AT2);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Não existe informação para as condições solicitadas!")});
    }

    void cancelarLimpa()
    {
        QVERIFY(base.abre(1));
        ConsultaPrecos *j = base.fornecedores();
        base.escreveFiltro(0, FX1);
        QTest::mouseClick(j->btCarga(), Qt::LeftButton);
        QVERIFY(base.g()->apagaLinhaActual());
        QCOMPARE(j->IdsAnulados().size(), 2);
        QTest::mouseClick(j->btCancelar(), Qt::LeftButton);
        QVERIFY(j->Campo(0)->text().isEmpty());
        QVERIFY(j->Label2(1)->text().isEmpty());
        QCOMPARE(j->IdsAnulados(), QList<qint64>{0});
        QVERIFY(base.g()->matriz(0, 0).toString().isEmpty());
        QCOMPARE(base.g()->linhas(), 30);
        QVERIFY(!base.g()->coluna(QStringLiteral("Forn"))->soLeitura);   // rebuilt for no filter
        QCOMPARE(QApplication::focusWidget(), j->Campo(0));

        QTest::mouseClick(j->btSair(), Qt::LeftButton);
        QVERIFY(!j->isVisible());
    }
};

TESSELA_TEST_MAIN(TstConsultaPrecos)
#include "tst_consultaprecos.moc"
