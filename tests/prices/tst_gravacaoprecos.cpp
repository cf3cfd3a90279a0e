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
        base.escreveCelula(linha, Forn + 1, fornecedor);
        base.escreveCelula(linha, Artigo + 1, artigo);
        base.escreveCelula(linha, DataE + 1, data);
        base.escreveCelula(linha, Preco + 1, preco);
    }
    void confirma(int resposta = 0)
    {
        base.mensagens.limpa();
        if (resposta)
            base.mensagens.responde(resposta);
        QTest::mouseClick(base.janela->btConf(), Qt::LeftButton);
    }
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
    bool janelaLimpa()
    {
        ConsultaPrecos *j = base.janela;
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
        escreveLinha(2, FX2, AT2, QStringLiteral("02-06-2024"), QStringLiteral("2.5"));
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

    void falhaNaoGravaNemPerde()
    {
        carrega(FX1);
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);   // P2
        base.escreveCelula(1, Preco + 1, QStringLiteral("10,99"));    // P1
        base.escreveCelula(2, Preco + 1, QStringLiteral("21"));       // P3 (AT2: a new purchase-help record)
        QList<QVariantList> grelha;
        for (int r = 0; r < g()->linhas(); ++r) {
            QVariantList l;
            for (int c = 0; c < g()->numeroColunas(); ++c)
                l << g()->matriz(r, c);
            grelha << l;
        }
        const QVariantList ajudaAntes = ajuda(AT1, FX1);

        // The last statement fails: prices and deletion were already written.
        bd().falhaNoProximo(QStringLiteral("INSERT INTO AjudaCmp"));
        confirma(ServicoMensagens::RespOk);
        QCOMPARE(base.mensagens.quantos(), 2);
        const QString erro = base.mensagens.ultimo().texto;
        QVERIFY2(erro.contains(QStringLiteral("Falha provocada para ensaio")) && erro.contains(QStringLiteral("AT2 / FX1"))
                     && erro.contains(QStringLiteral("Nada foi gravado")),
                 qPrintable(erro));
        QCOMPARE(bd().nivelTransaccao(), 0);
        QCOMPARE(precos(FX1, AT1), (QStringList{"100001 2024-03-01 10.5 R-1 Proposta A", "100002 2024-05-01 11.25 R-2 NULL"}));
        QCOMPARE(precos(FX1, AT2), QStringList{"100003 2024-04-01 20  NULL"});
        QCOMPARE(ajuda(AT1, FX1), ajudaAntes);
        QVERIFY(ajuda(AT2, FX1).isEmpty());
        // The window is as it was.
        QCOMPARE(base.janela->Campo(0)->text(), FX1);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 100002}));
        for (int r = 0; r < g()->linhas(); ++r)
            for (int c = 0; c < g()->numeroColunas(); ++c)
                QCOMPARE(g()->matriz(r, c), grelha[r][c]);

        // Confirmed again, it all goes in.
        confirma(ServicoMensagens::RespOk);
        QCOMPARE(base.mensagens.quantos(), 1);
        QCOMPARE(precos(FX1, AT1), QStringList{"100001 2024-03-01 10.99 R-1 Proposta A"});
        QCOMPARE(ajuda(AT2, FX1).value(7), QVariant(21.0));
        QVERIFY(janelaLimpa());
    }
};

TESSELA_TEST_MAIN(TstGravacaoPrecos)
#include "tst_gravacaoprecos.moc"
