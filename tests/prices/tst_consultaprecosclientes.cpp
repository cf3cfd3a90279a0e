// The customer price window as a salesperson drives it: opening and filters,
// loading (and the empty result ready for typing), the date rules of its grid
// (checked when typed, Enter on an empty date, the row filled from both
// filters keeping a typed date), no row growth, and saving keyed on
// (customer, article) with deletions, atomic on failure.
#include "baseprecos.h"
#include "calendario.h"
#include "gravacaoprecos.h"
#include "testmain.h"

using namespace DadosPrecos;
using namespace ColunasPrecos;

class TstConsultaPrecosClientes : public QObject
{
    Q_OBJECT

private:
    BasePrecos base;

    Grelha *g() const { return base.g(); }
    ConsultaPrecosClientes *j() const { return base.clientes(); }
    QVariant cel(int linha, int coluna) const { return base.cel(linha, coluna); }
    void carrega(const QString &cliente, const QString &artigo)
    {
        if (!cliente.isEmpty())
            base.escreveFiltro(0, cliente);
        if (!artigo.isEmpty())
            base.escreveFiltro(1, artigo);
        base.mensagens.limpa();
        QTest::mouseClick(j()->btCarga(), Qt::LeftButton);
    }
    QStringList carregadas() const
    {
        QStringList l;
        for (int r = 1; r <= g()->linhas() && !cel(r, Cli).toString().isEmpty(); ++r)
            l << QStringLiteral("%1 %2 %3").arg(cel(r, Cli).toString(), cel(r, Artigo).toString(), g()->textoCelula(r, Preco + 1));
        return l;
    }
    // Id (or "novo"), date, price and observation of the records of a pair.
    QStringList precos(const QString &cliente, const QString &artigo)
    {
        Recordset rs;
        base.bd.AbreConsulta(QStringLiteral("SELECT Id_Preco, Data, Preco, Obs FROM mvk_Precos_Clientes WHERE Cliente = ? AND "
                                            "Artigo = ? ORDER BY Id_Preco"),
                             rs, {cliente, artigo});
        QStringList l;
        for (; !rs.Eof(); rs.MoveNext())
            l << QStringLiteral("%1 %2 %3 %4")
                     .arg(rs.Valor(0).toLongLong() > 200005 ? QStringLiteral("novo") : rs.Valor(0).toString(),
                          rs.Valor(1).toDate().toString(Qt::ISODate), QString::number(rs.Valor(2).toDouble()),
                          rs.Valor(3).isNull() ? QStringLiteral("NULL") : rs.Valor(3).toString());
        return l;
    }
    void confirma(int resposta = 0) { base.confirma(resposta); }
    // Enter on a cell outside editing, as a user presses it on the grid.
    void enterEm(int linha, int coluna)
    {
        g()->setFocus();
        g()->setCurrentIndex(g()->model()->index(linha - 1, coluna));
        QTest::keyClick(g(), Qt::Key_Return);
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void aberturaEFiltros()
    {
        QVERIFY(base.abreClientes());
        QCOMPARE(j()->windowTitle(), QStringLiteral("Consulta de Preços de Clientes"));
        QCOMPARE(j()->Label1()->text(), QStringLiteral("Consulta de Preços de Clientes"));
        QCOMPARE(j()->Label2(4)->text(), QStringLiteral("Cliente"));
        QCOMPARE(j()->btCarga()->text(), QStringLiteral("Carregar"));
        QCOMPARE(j()->Campo(0)->toolTip(), QStringLiteral("Código de Cliente."));
        QVERIFY(j()->btConf()->isEnabled() && j()->Campo(2)->isVisible());
        // The grid: the customer typed with its list while no filter is set; the
        // article's last purchase price shown, not typed; the observation kept.
        QCOMPARE(g()->numeroColunas(), 10);
        QCOMPARE(g()->coluna(1)->titulo, QStringLiteral("Cliente"));
        QCOMPARE(g()->coluna(2)->titulo, QStringLiteral("Nome Cliente"));
        QCOMPARE(g()->coluna(QStringLiteral("Cli"))->botao, BotaoCelula::Reticencias);
        const ColunaGrelha *upc = g()->coluna(QStringLiteral("UPC"));
        QVERIFY(upc && upc->soLeitura && upc->recebeFoco && upc->tipo == TipoColuna::Moeda);
        QVERIFY(g()->coluna(QStringLiteral("Obs")));

        // Article first, then the customer: each is checked on its own.
        base.escreveFiltro(1, AT1);
        QCOMPARE(j()->Label2(2)->text(), NomeAT1);
        QCOMPARE(j()->PrecoUltCompra().toDouble(), 6.5);
        base.escreveFiltro(0, QStringLiteral("FX1"));   // a supplier is no customer
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Cliente inexistente!")});
        QCOMPARE(QApplication::focusWidget(), j()->Campo(0));
        base.escreveFiltro(0, QStringLiteral("cx1"));
        QCOMPARE(j()->Label2(1)->text(), QStringLiteral("Cliente Um    Telefone: 233333333"));
        QCOMPARE(j()->NomeCliente(), NomeCX1);

        // The customer list.
        ListaRespostas listas;
        listas.responde(CX2);
        QTest::mouseClick(j()->btLista(0), Qt::LeftButton);
        QTRY_COMPARE(j()->NomeCliente(), NomeCX2);
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Clientes"));
        QVERIFY(listas.pedidos[0].codigos.contains(CX1) && !listas.pedidos[0].codigos.contains(FX1));
    }

    void cargaEResultadoVazio()
    {
        QVERIFY(base.abreClientes());
        carrega(CX1, QString());
        QCOMPARE(carregadas(), (QStringList{"CX1 AT1 16,50", "CX1 AT1 15,00", "CX1 AT2 30,00"}));
        const QVariantList esperado{CX1, NomeCX1, AT1, NomeAT1, 6.5, QDate(2024, 3, 1), 15.0, 200001, false,
                                    QStringLiteral("Condição A")};
        for (int c = 0; c < esperado.size(); ++c)
            QCOMPARE(cel(2, c), esperado[c]);
        QCOMPARE(g()->textoCelula(3, UPC + 1), QStringLiteral("2,25"));
        QCOMPARE(g()->linhaActual(), 1);
        QVERIFY(g()->coluna(QStringLiteral("Cli"))->soLeitura && !g()->coluna(QStringLiteral("Cli"))->recebeFoco);

        // Only the article: every customer's price of it, one the ERP does not know unnamed.
        j()->Campo(0)->clear();
        carrega(QString(), AT1);
        QCOMPARE(carregadas(), (QStringList{"CX1 AT1 16,50", "CX1 AT1 15,00", "CX2 AT1 14,00", "CZZ AT1 12,00"}));
        QCOMPARE(cel(4, Descr), QVariant(QString()));

        // Nothing found: the message, then the cursor on the first cell of the empty grid.
        carrega(CX2, AT2);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Não existe informação para as condições solicitadas!")});
        QVERIFY(g()->hasFocus());
        QCOMPARE(g()->linhaActual(), 1);
        QCOMPARE(g()->colunaActual(), 1);
        QVERIFY(cel(1, Cli).toString().isEmpty());
    }

    void datasDaGrelha()
    {
        const QVariant hoje = QDate::currentDate();
        QVERIFY(base.abreClientes());
        carrega(CX1, AT2);   // both filters: the row fill applies
        base.mensagens.limpa();

        // A typed date is checked; a wrong one refused and put back.
        base.escreveCelula(3, DataE + 1, QStringLiteral("32-01-2024"));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Data inválida!")});
        QVERIFY(!cel(3, DataE).isValid());
        QCOMPARE(cel(3, Altera), QVariant(false));

        // A typed valid date is kept (not replaced by today's) and the row filled.
        base.mensagens.limpa();
        base.escreveCelula(3, DataE + 1, QStringLiteral("05032024"));
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(cel(3, DataE), QVariant(QDate(2024, 3, 5)));
        QCOMPARE(cel(3, Altera), QVariant(true));
        const QVariantList preenchida{CX1, NomeCX1, AT2, NomeAT2, 2.25};
        for (int c = 0; c < preenchida.size(); ++c)
            QCOMPARE(cel(3, c), preenchida[c]);

        // Enter on an empty date: today's, the row changed and filled.
        enterEm(4, DataE);
        QCOMPARE(cel(4, DataE), hoje);
        QCOMPARE(cel(4, Altera), QVariant(true));
        QCOMPARE(cel(4, Cli), QVariant(CX1));
        QCOMPARE(cel(4, UPC), QVariant(2.25));
        // Enter on a date that is there leaves it alone.
        enterEm(1, DataE);
        QCOMPARE(cel(1, DataE), QVariant(QDate(2024, 4, 1)));
        QCOMPARE(cel(1, Altera), QVariant(false));

        // A date cleared by the user becomes today's again.
        base.escreveCelula(3, DataE + 1, QStringLiteral("x\b"));
        QCOMPARE(cel(3, DataE), hoje);

        // The calendar marks the row it was opened for.
        g()->setFocus();
        g()->setCurrentIndex(g()->model()->index(5, DataE));
        QTest::keyClick(g(), Qt::Key_F4);
        QCOMPARE(j()->LinhaCalendario(), 6);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(cel(6, DataE), hoje);
        QCOMPARE(cel(6, Altera), QVariant(true));

        // Only the customer filter: a date fills nothing more than the customer.
        j()->Campo(0)->setText(CX2);
        j()->Campo(1)->clear();
        j()->Act_Grelha();
        base.escreveCelula(2, DataE + 1, QStringLiteral("1-2-24"));
        QCOMPARE(cel(2, DataE), QVariant(QDate(2024, 2, 1)));
        QVERIFY(cel(2, Artigo).toString().isEmpty());
    }

    // With one filter only, an edit of a loaded row changes its own cell (and
    // what a typed or picked code brings: its name, the article's last
    // purchase price) and nothing else of the row, typed or picked alike.
    void umSoFiltroMudaSoACelula_data()
    {
        QTest::addColumn<QString>("cliente");
        QTest::addColumn<QString>("artigo");
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("texto");        // "F4": picked from the calendar or the list
        QTest::addColumn<QVariantList>("novos");   // the column's and its companions' values after
        const QDate amanha = QDate(2024, 6, 2);   // the day after the loaded C2's, picked with Right
        for (const char *lado : {"cliente", "artigo"}) {
            const bool cliente = QByteArray(lado) == "cliente";
            const QString c = cliente ? CX1 : QString(), a = cliente ? QString() : AT1;
            const auto linha = [&](const char *nome, int coluna, const QString &texto, const QVariantList &novos) {
                QTest::addRow("%s: %s", lado, nome) << c << a << coluna << texto << novos;
            };
            linha("data escrita", DataE, QStringLiteral("07-08-2024"), {QDate(2024, 8, 7)});
            linha("data do calendário", DataE, QStringLiteral("F4"), {amanha});
            linha("preço escrito", Preco, QStringLiteral("1.234,5"), {1234.5});
            if (cliente) {
                linha("artigo escrito", Artigo, AT2, {AT2, NomeAT2, 2.25});
                linha("artigo da lista", Artigo, QStringLiteral("F4"), {AT2, NomeAT2, 2.25});
            } else {
                linha("cliente escrito", Cli, CX2, {CX2, NomeCX2});
                linha("cliente da lista", Cli, QStringLiteral("F4"), {CX2, NomeCX2});
            }
        }
    }
    void umSoFiltroMudaSoACelula()
    {
        QFETCH(QString, cliente);
        QFETCH(QString, artigo);
        QFETCH(int, coluna);
        QFETCH(QString, texto);
        QFETCH(QVariantList, novos);
        QVERIFY(base.abreClientes());
        carrega(cliente, artigo);
        // The loaded C2 (CX1, AT1, 01-06-2024, 16.50) is the first row either way.
        QCOMPARE(cel(1, Id).toLongLong(), 200002);
        QVariantList antes;
        for (int c = 0; c <= Obs; ++c)
            antes << cel(1, c);
        ListaRespostas listas;
        if (texto == QStringLiteral("F4")) {
            listas.responde(novos.at(0).toString());
            g()->setFocus();
            g()->setCurrentIndex(g()->model()->index(0, coluna));
            QTest::keyClick(g(), Qt::Key_F4);
            if (coluna == DataE) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            // A picked code is checked as typed, by keys queued to the grid.
            QTRY_COMPARE(cel(1, Altera), QVariant(true));
        } else {
            base.escreveCelula(1, coluna + 1, texto);
        }
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(cel(1, Altera), QVariant(true));
        // The edited column and its companions (name, last purchase price) to
        // its right, then every other cell that held a value as it was.
        const QList<int> companheiras = coluna == Artigo ? QList<int>{Artigo, DescrArtigo, UPC}
                                        : coluna == Cli  ? QList<int>{Cli, Descr}
                                                         : QList<int>{coluna};
        for (int i = 0; i < novos.size(); ++i) {
            const QVariant v = cel(1, companheiras.at(i));
            QCOMPARE(v.metaType().id() == QMetaType::Double ? QVariant(v.toDouble()) : v, novos.at(i));
        }
        int iguais = 0;
        for (int c = 0; c <= Obs; ++c) {
            if (c == Altera || companheiras.contains(c) || !antes.at(c).isValid() || antes.at(c).isNull())
                continue;
            QVERIFY2(cel(1, c) == antes.at(c), qPrintable(g()->coluna(c + 1)->chave));
            ++iguais;
        }
        QVERIFY(iguais >= 5);
    }

    void grelhaNaoCresce()
    {
        QVERIFY(base.abreClientes());
        g()->setFocus();
        g()->setLinhaActual(29);
        QTest::keyClick(g(), Qt::Key_Down);
        QTest::keyClick(g(), Qt::Key_Down);
        QCOMPARE(g()->linhaActual(), 30);
        QCOMPARE(g()->linhas(), 30);
        // Nor does a date left empty get today's when the cursor moves on.
        g()->setColunaActual(DataE + 1);
        QTest::keyClick(g(), Qt::Key_Tab);
        QVERIFY(!cel(30, DataE).isValid());
    }

    void gravacaoPorClienteEArtigo()
    {
        QVERIFY(base.abreClientes());
        ListaRespostas listas;
        // A new pair typed whole, the customer picked from the cell's list.
        g()->setFocus();
        g()->setLinhaActual(1);
        g()->setColunaActual(Cli + 1);
        listas.responde(CX2);
        QTest::keyClick(g(), Qt::Key_F4);
        QTRY_COMPARE(cel(1, Descr), QVariant(NomeCX2));
        QCOMPARE(listas.pedidos[0].titulo, QStringLiteral("Clientes"));
        base.escreveCelula(1, Artigo + 1, AT2);
        QCOMPARE(cel(1, UPC), QVariant(2.25));
        base.escreveCelula(1, DataE + 1, QStringLiteral("01-07-2024"));
        base.escreveCelula(1, Preco + 1, QStringLiteral("3,75"));
        // A pair that has records: its first one is overwritten.
        base.escreveCelula(2, Cli + 1, CX1);
        base.escreveCelula(2, Artigo + 1, AT1);
        base.escreveCelula(2, DataE + 1, QStringLiteral("02-07-2024"));
        base.escreveCelula(2, Preco + 1, QStringLiteral("17"));
        confirma();
        QVERIFY2(base.textos().isEmpty(), qPrintable(base.textos().join('|')));
        QCOMPARE(precos(CX2, AT2), QStringList{"novo 2024-07-01 3.75 NULL"});
        // The typed row's (empty) observation is the record's now.
        QCOMPARE(precos(CX1, AT1), (QStringList{"200001 2024-07-02 17 NULL", "200002 2024-06-01 16.5 NULL"}));
        QCOMPARE(j()->Campo(0)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), j()->Campo(0));

        // Removed rows: the question, then deleted on OK; in the middle, then another.
        carrega(CX1, QString());
        g()->setLinhaActual(2);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        g()->setLinhaActual(2);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(j()->IdsAnulados(), (QList<qint64>{0, 200002, 200003}));
        confirma(ServicoMensagens::RespOk);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Pretende anular os registos retirados!")});
        QCOMPARE(precos(CX1, AT1), QStringList{"200001 2024-07-02 17 NULL"});
        QVERIFY(precos(CX1, AT2).isEmpty());
        // Purchase help is a supplier matter only.
        QCOMPARE(base.bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM AjudaCmp WHERE Forneced IN ('CX1', 'CX2')")).toInt(), 0);
    }

    void falhaNaoGravaNemPerde_data()
    {
        QTest::addColumn<QString>("marca");
        QTest::addColumn<QString>("onde");
        // The new pair is the middle one of three rows; the commit comes after all.
        QTest::newRow("linha do meio") << QStringLiteral("INSERT INTO mvk_Precos_Clientes") << QStringLiteral("CX2 / AT2 (linha 2)");
        QTest::newRow("confirmação") << QStringLiteral("COMMIT") << QStringLiteral("Ao terminar a gravação.");
    }
    void falhaNaoGravaNemPerde()
    {
        QFETCH(QString, marca);
        QFETCH(QString, onde);
        QVERIFY(base.abreClientes());
        carrega(CX2, QString());
        base.escreveCelula(1, Preco + 1, QStringLiteral("18"));   // C4
        base.escreveCelula(2, Artigo + 1, AT2);                    // a new pair
        base.escreveCelula(2, Preco + 1, QStringLiteral("31"));
        base.escreveCelula(3, Artigo + 1, AT1);                    // C4 again
        base.escreveCelula(3, Preco + 1, QStringLiteral("19"));
        const QStringList antes = precos(CX2, AT1);
        base.bd.falhaNoProximo(marca);
        confirma();
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY2(base.mensagens.ultimo().texto.contains(onde), qPrintable(base.mensagens.ultimo().texto));
        QCOMPARE(base.bd.nivelTransaccao(), 0);
        QCOMPARE(precos(CX2, AT1), antes);
        QVERIFY(precos(CX2, AT2).isEmpty());
        QCOMPARE(cel(2, Preco), QVariant(31.0));
        QCOMPARE(cel(3, Altera), QVariant(true));
        QCOMPARE(j()->Campo(0)->text(), CX2);
        // Confirmed again, it all goes in; the later row of a pair wins.
        confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(precos(CX2, AT1), QStringList{QStringLiteral("200004 %1 19 NULL").arg(QDate::currentDate().toString(Qt::ISODate))});
        QCOMPARE(precos(CX2, AT2).size(), 1);
    }
};

TESSELA_TEST_MAIN(TstConsultaPrecosClientes)
#include "tst_consultaprecosclientes.moc"
