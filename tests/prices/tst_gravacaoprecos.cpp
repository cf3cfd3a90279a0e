// Confirming the supplier price window: prices keyed on (supplier, article),
// the removed records after the question, the ERP's purchase-help records,
// the clearing of the window, and a failing save that leaves nothing written
// and nothing lost.
#include "baseprecos.h"
#include "testmain.h"

using namespace DadosPrecos;
using namespace ColunasPrecos;

class TstGravacaoPrecos : public QObject
{
    Q_OBJECT

private:
    BasePrecos base;

    Grelha *g() const { return base.g(); }
    LigacaoBd &bd() { return base.bd; }
    void carrega(const QString &fornecedor)
    {
        base.escreveFiltro(0, fornecedor);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
    }
    // Types a whole row (supplier, article, date, price) in an empty grid row.
    void escreveLinha(int linha, const QString &fornecedor, const QString &artigo, const QString &data, const QString &preco)
    {
        base.escreveLinha(linha, fornecedor, artigo, data, preco);
    }
    void confirma(int resposta = 0) { base.confirma(resposta); }
    // Id, date and price of the records of a pair, by Id.
    QStringList precos(const QString &fornecedor, const QString &artigo)
    {
        Recordset rs;
        bd().AbreConsulta(QStringLiteral("SELECT Id_Preco, Data, Preco, RefForn, Obs FROM mvk_Precos_Forn WHERE Fornecedor = ? "
                                         "AND Artigo = ? ORDER BY Id_Preco"),
                          rs, {fornecedor, artigo});
        QStringList l;
        for (; !rs.Eof(); rs.MoveNext())
            l << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(rs.Valor(0).toLongLong() > 100005 ? QStringLiteral("novo") : rs.Valor(0).toString(),
                          rs.Valor(1).toDate().toString(Qt::ISODate), QString::number(rs.Valor(2).toDouble()),
                          rs.Valor(3).toString(), rs.Valor(4).isNull() ? QStringLiteral("NULL") : rs.Valor(4).toString());
        return l;
    }
    QVariantList ajuda(const QString &artigo, const QString &fornecedor)
    {
        return registo(bd(),
                       QStringLiteral("SELECT RefArt, Data, PrUltFor, EncUltCp, Desconto, Qtd, Moeda, PrProx, DescProx, CustAd1, CustAd2, "
                                      "CustAd3, CustAd4, CustAd5, PrazoEnt, Descr FROM AjudaCmp WHERE Artigo = ? AND Forneced = ?"),
                       {artigo, fornecedor});
    }
    QDateTime dataPart(const QString &artigo, const QString &fornecedor)
    {
        return bd().valorUnico(QStringLiteral("SELECT DataPart FROM AjudaCmp WHERE Artigo = ? AND Forneced = ?"), {artigo, fornecedor})
            .toDateTime();
    }
    QList<QVariantList> conteudo() const
    {
        QList<QVariantList> linhas;
        for (int r = 0; r < g()->linhas(); ++r) {
            QVariantList l;
            for (int c = 0; c < g()->numeroColunas(); ++c)
                l << g()->matriz(r, c);
            linhas << l;
        }
        return linhas;
    }
    QStringList tabela(const QString &nome)
    {
        Recordset rs;
        bd().AbreConsulta(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2").arg(nome), rs);
        QStringList l;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList campos;
            for (int c = 0; c < rs.numeroCampos(); ++c)
                campos << rs.Valor(c).toString();
            l << campos.join('|');
        }
        return l;
    }
    bool janelaLimpa()
    {
        ConsultaPrecos *j = base.fornecedores();
        return j->Campo(0)->text().isEmpty() && j->Campo(1)->text().isEmpty() && j->IdsAnulados() == QList<qint64>{0}
               && g()->linhas() == 30 && g()->matriz(0, Forn).toString().isEmpty() && QApplication::focusWidget() == j->Campo(0);
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void init() { QVERIFY(base.abre(1)); }
    void cleanup() { base.fecha(); }

    void precosPorPar()
    {
        // The same new pair twice: one record, the last row's price.
        escreveLinha(1, FX2, AT2, QStringLiteral("01-06-2024"), QStringLiteral("1,00"));
        escreveLinha(2, FX2, AT2, QStringLiteral("02-06-2024"), QStringLiteral("2,5"));
        // A pair that has records: its first record is overwritten.
        escreveLinha(3, FX1, AT1, QStringLiteral("03-06-2024"), QStringLiteral("1.234,56"));
        base.escreveCelula(3, RefForn + 1, QStringLiteral("RN"));
        // A typed row that misses its price is skipped.
        base.escreveCelula(4, Forn + 1, FX1);
        base.escreveCelula(4, Artigo + 1, AT2);
        confirma();
        QVERIFY2(base.textos().isEmpty(), qPrintable(base.textos().join("|")));
        QCOMPARE(precos(FX2, AT2), QStringList{"novo 2024-06-02 2.5  NULL"});
        QCOMPARE(precos(FX1, AT1), (QStringList{"100001 2024-06-03 1234.56 RN NULL", "100002 2024-05-01 11.25 R-2 NULL"}));
        QCOMPARE(precos(FX1, AT2), QStringList{"100003 2024-04-01 20  NULL"});
        QVERIFY(janelaLimpa());
    }

    void codigoAlteradoGravaNovoPar()
    {
        // A loaded row moved to another article is saved under the new pair.
        carrega(FX2);
        QCOMPARE(g()->matriz(0, Id).toLongLong(), 100004);
        base.escreveCelula(1, Artigo + 1, AT2);
        QCOMPARE(g()->matriz(0, Altera), QVariant(true));
        confirma();
        QCOMPARE(precos(FX2, AT1), QStringList{"100004 2024-02-01 9.99 R-4 Proposta B"});
        QCOMPARE(precos(FX2, AT2), QStringList{"novo 2024-02-01 9.99  Proposta B"});
        // Only changed rows are written: P4 was not, so nothing else moved.
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Precos_Forn WHERE Fornecedor = 'FX2'")).toInt(), 2);
    }

    void registosRetirados()
    {
        carrega(FX1);
        g()->setLinhaActual(1);   // P2
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        base.escreveCelula(1, Preco + 1, QStringLiteral("10,75"));   // P1, now the first row
        // Cancel keeps the removed record; the changed row is saved all the same.
        confirma();
        QCOMPARE(base.mensagens.quantos(), 1);
        const PedidoMensagem p = base.mensagens.ultimo();
        QCOMPARE(p.texto, QStringLiteral("Pretende anular os registos retirados!"));
        QCOMPARE(p.botoes, PedidoMensagem::OkCancelar);
        QCOMPARE(p.botaoPredefinido, 2);
        QCOMPARE(precos(FX1, AT1), (QStringList{"100001 2024-03-01 10.75 R-1 Proposta A", "100002 2024-05-01 11.25 R-2 NULL"}));
        QVERIFY(janelaLimpa());

        // OK deletes it, and a typed row removed (Id 0) deletes nothing.
        carrega(FX1);
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        base.escreveCelula(4, Artigo + 1, AT2);
        g()->setLinhaActual(4);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 100002, 0}));
        confirma(ServicoMensagens::RespOk);
        QCOMPARE(precos(FX1, AT1), QStringList{"100001 2024-03-01 10.75 R-1 Proposta A"});
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Precos_Forn WHERE Fornecedor = 'FX1'")).toInt(), 2);
    }

    void ajudaDeCompra()
    {
        const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
        // Existing AT1/FX1: only reference, date of change and next price change.
        escreveLinha(1, FX1, AT1, QStringLiteral("01-06-2024"), QStringLiteral("12,34"));
        base.escreveCelula(1, RefForn + 1, QStringLiteral("NOVAREF"));
        // New AT2/FX2.
        escreveLinha(2, FX2, AT2, QStringLiteral("01-06-2024"), QStringLiteral("4,5"));
        confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(ajuda(AT1, FX1), (QVariantList{"NOVAREF", QDateTime(QDate(2023, 1, 1), QTime(0, 0)), 8, 2, 3, 5, "USD", 12.34, "D",
                                                 "C1", "", "", "", "", 7, "Antiga"}));
        QVERIFY(dataPart(AT1, FX1) >= antes);
        QCOMPARE(ajuda(AT2, FX2), (QVariantList{"", QVariant(), 0, 0, 0, 1, "EUR", 4.5, "", "", "", "", "", "", 0, ""}));
        QVERIFY(dataPart(AT2, FX2) >= antes);
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT RefForn FROM mvk_Precos_Forn WHERE Id_Preco = 100001")).toString(),
                 QStringLiteral("NOVAREF"));
    }

    // Every step of a save can fail: a price row first, in the middle or
    // last, the history of a changed or a deleted record, the deletion, the
    // purchase help (updated or added), the commit. Nothing stays written
    // (the history included), the one message names the cause, the window
    // keeps everything and a second confirm writes it all.
    void falhaNaoGravaNemPerde_data()
    {
        QTest::addColumn<QStringList>("pares");
        QTest::addColumn<QString>("marca");
        QTest::addColumn<QString>("onde");
        QTest::addColumn<int>("saltar");   // statements with the mark let through first
        const QStringList normal{"FX1/AT1", "FX2/AT2", "FX1/AT2"};
        const QString historico = QStringLiteral("INSERT INTO mvk_Precos_Historico");
        QTest::newRow("primeira linha") << QStringList{"FX2/AT2", "FX1/AT1", "FX1/AT2"} << "INSERT INTO mvk_Precos_Forn" << "FX2 / AT2" << 0;
        QTest::newRow("linha do meio") << normal << "INSERT INTO mvk_Precos_Forn" << "FX2 / AT2" << 0;
        QTest::newRow("última linha") << QStringList{"FX1/AT1", "FX1/AT2", "FX2/AT2"} << "INSERT INTO mvk_Precos_Forn" << "FX2 / AT2" << 0;
        QTest::newRow("histórico da primeira linha") << normal << historico << "preço anterior de FX1 / AT1" << 0;
        QTest::newRow("histórico da última linha") << normal << historico << "preço anterior de FX1 / AT2" << 1;
        QTest::newRow("histórico do retirado") << normal << historico << "Ao anular o registo 100004" << 2;
        QTest::newRow("registo retirado") << normal << "DELETE FROM mvk_Precos_Forn" << "Ao anular o registo 100004" << 0;
        QTest::newRow("ajuda existente") << normal << "UPDATE AjudaCmp" << "AT1 / FX1" << 0;
        QTest::newRow("ajuda nova") << normal << "INSERT INTO AjudaCmp" << "AT2 / FX2" << 0;
        QTest::newRow("confirmação") << normal << "COMMIT" << "Ao terminar a gravação" << 0;
    }
    void falhaNaoGravaNemPerde()
    {
        QFETCH(QStringList, pares);
        QFETCH(QString, marca);
        QFETCH(QString, onde);
        QFETCH(int, saltar);
        // Everything loaded; P4 removed; three rows typed after the loaded ones.
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        int linha = 1;
        while (g()->matriz(linha - 1, Id).toLongLong() != 100004)
            ++linha;
        g()->setLinhaActual(linha);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        int n = 1;
        while (!g()->matriz(n - 1, Forn).toString().isEmpty())
            ++n;
        for (const QString &par : pares)
            escreveLinha(n++, par.section('/', 0, 0), par.section('/', 1), QStringLiteral("01-09-2024"), QStringLiteral("7,25"));
        const QList<QVariantList> grelha = conteudo();
        const auto tabelas = [this] {
            return tabela(QStringLiteral("mvk_Precos_Forn")) + tabela(QStringLiteral("AjudaCmp"))
                   + tabela(QStringLiteral("mvk_Precos_Historico"));
        };
        const QStringList antes = tabelas();

        bd().falhaNoProximo(marca, ErroBd::ErroComando, saltar);
        confirma(ServicoMensagens::RespOk);
        QCOMPARE(base.textos().size(), 2);   // the question, then the one failure
        const QString erro = base.mensagens.ultimo().texto;
        QVERIFY2(erro.contains(QStringLiteral("Falha provocada para ensaio")) && erro.contains(onde)
                     && erro.contains(QStringLiteral("Nada foi gravado")),
                 qPrintable(erro));
        QCOMPARE(bd().nivelTransaccao(), 0);
        QCOMPARE(tabelas(), antes);
        QCOMPARE(conteudo(), grelha);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 100004}));

        confirma(ServicoMensagens::RespOk);
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY(precos(FX2, AT1).isEmpty());
        QCOMPARE(precos(FX2, AT2), QStringList{"novo 2024-09-01 7.25  NULL"});
        QCOMPARE(precos(FX1, AT2), QStringList{"100003 2024-09-01 7.25  NULL"});
        QCOMPARE(ajuda(AT2, FX1).value(7), QVariant(7.25));
        // The previous values of P1 and P3, changed, and of P4, deleted.
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT group_concat(Id_Preco || ' ' || Preco || ' ' || Operacao, ', ') "
                                                "FROM mvk_Precos_Historico"))
                     .toString(),
                 QStringLiteral("100001 10.5 ALTERADO, 100003 20.0 ALTERADO, 100004 9.99 ANULADO"));
        QVERIFY(janelaLimpa());
    }

    // A price typed under a filter is saved with the filtered code, whatever
    // was typed first; a priced row that still lacks something is named,
    // with the reason, and nothing is written or lost.
    void precoNuncaPerdido_data()
    {
        QTest::addColumn<int>("tipo");   // 1 suppliers, 0 customers
        QTest::newRow("fornecedores") << 1;
        QTest::newRow("clientes") << 0;
    }
    void precoNuncaPerdido()
    {
        QFETCH(int, tipo);
        base.fecha();
        QVERIFY(base.abre(tipo));
        const QString entidade = tipo ? FX2 : CX2;
        const QString tabela = tipo ? QStringLiteral("mvk_Precos_Forn") : QStringLiteral("mvk_Precos_Clientes");
        const QString coluna = tipo ? QStringLiteral("Fornecedor") : QStringLiteral("Cliente");
        const auto registos = [&] { return bd().valorUnico(QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabela)).toInt(); };
        const int antes = registos();
        base.escreveFiltro(0, entidade);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        // The date first, then the price: the row has the filtered code but no article.
        base.escreveCelula(3, DataE + 1, QStringLiteral("02-09-2024"));
        base.escreveCelula(3, Preco + 1, QStringLiteral("4,40"));
        QCOMPARE(g()->matriz(2, Forn), QVariant(entidade));
        confirma();
        QCOMPARE(base.textos(), QStringList{QStringLiteral("A linha 3 tem um preço que não pode ser gravado: falta o artigo.\r\n"
                                                           "Nada foi gravado: complete essas linhas ou retire-as.")});
        QCOMPARE(registos(), antes);
        QCOMPARE(g()->matriz(2, Preco), QVariant(4.4));
        QCOMPARE(base.janela->Campo(0)->text(), entidade);
        QCOMPARE(qMakePair(g()->linhaActual(), g()->colunaActual()), qMakePair(3, Artigo + 1));
        // Completed, it is saved with the filtered code and the typed date.
        base.escreveCelula(3, Artigo + 1, AT2);
        confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(registos(), antes + 1);
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT %1 || ' ' || Data || ' ' || Preco FROM %2 WHERE Artigo = 'AT2' AND %1 = ?")
                                     .arg(coluna, tabela),
                                 {entidade})
                     .toString(),
                 entidade + QStringLiteral(" 2024-09-02 00:00:00 4.4"));
        if (!tipo)
            return;

        // Suppliers, both filters: Tab out of an empty date (today's), then the price.
        base.escreveFiltro(0, FX2);
        base.escreveFiltro(1, AT1);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        g()->setFocus();
        g()->setCurrentIndex(g()->model()->index(4, DataE));
        QTest::keyClick(g(), Qt::Key_Tab);
        QCOMPARE(g()->matriz(4, DataE), QVariant(QDate::currentDate()));
        base.escreveCelula(5, Preco + 1, QStringLiteral("9"));
        confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(precos(FX2, AT1), QStringList{QStringLiteral("100004 %1 9  NULL").arg(QDate::currentDate().toString(Qt::ISODate))});
    }
};

TESSELA_TEST_MAIN(TstGravacaoPrecos)
#include "tst_gravacaoprecos.moc"
