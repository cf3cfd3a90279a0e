#include "baseequiv.h"
#include "importador.h"
#include "mensagensgravadas.h"
#include "registotestes.h"
#include "testmain.h"

#include <QTimer>
#include <QtTest>

// The importer of CLART: its per-code rules, its batches, and where it stops
// when its own steps fail.
class TstImportador : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_registo.ok, qPrintable(m_registo.erro));
        m_mensagens.instala();
    }
    void init()
    {
        m_base = new BaseEquiv;
        m_mensagens.limpa();
    }
    void cleanup() { delete m_base; }
    void regrasPorCodigo();
    void falhaNaEscritaContinua();
    void falhaDaBaseParaEDizOQueFicou_data();
    void falhaDaBaseParaEDizOQueFicou();
    void falhasDoProprioImportador();
    void ligacaoPerdidaGuardaOsLotesAnteriores();

private:
    bool linha(const QString &codigo, QVariantList valores)
    {
        valores.prepend(codigo);
        while (valores.size() < 6)
            valores << QVariant();
        return m_base->bd.Executa(QStringLiteral("INSERT INTO CLART VALUES (?, ?, ?, ?, ?, ?)"), valores);
    }
    void linhas(int n)
    {
        for (int i = 0; i < n; ++i)
            QVERIFY(linha(QStringLiteral("A%1").arg(i, 4, 10, QLatin1Char('0')), {QStringLiteral("E%1").arg(i)}));
    }

    RegistoTestes m_registo;
    MensagensGravadas m_mensagens;
    BaseEquiv *m_base = nullptr;
};

void TstImportador::regrasPorCodigo()
{
    BaseEquiv &b = *m_base;
    QVERIFY(linha(QStringLiteral("FIX100000"), {QStringLiteral("C1"), QVariant(), QStringLiteral("C3")}));
    QVERIFY(linha(QStringLiteral("TRA100001"), {QStringLiteral("   "), QString(), QStringLiteral(" P1 "), QStringLiteral("\tT")}));
    // Repeated in one row, and a code already paired with the article.
    QVERIFY(linha(QStringLiteral("HID100002"), {QStringLiteral("R1"), QStringLiteral("R1"), QStringLiteral("r1"),
                                                 QStringLiteral("JA"), QStringLiteral("C1")}));
    QVERIFY(b.par(QStringLiteral("HID100002"), QStringLiteral("JA")));

    // Inside a caller's transaction, in batches of two codes.
    Transaccao t(b.bd);
    const ResultadoImportacao r = ImportaEquivalencias(b.bd, 2);
    QVERIFY(r.completa);
    QCOMPARE(b.bd.nivelTransaccao(), 1);
    QVERIFY(t.confirma());
    QCOMPARE(r.linhas, 3);
    QCOMPARE(r.codigos, 2 + 2 + 5);
    QCOMPARE(b.codigosDe(QStringLiteral("FIX100000")), QStringLiteral("C1|C3"));
    // Blanks only: skipped; blanks around a code: kept; a tab is not a blank.
    QCOMPARE(b.codigosDe(QStringLiteral("TRA100001")), QStringLiteral("\tT| P1 "));
    QCOMPARE(b.codigosDe(QStringLiteral("HID100002")), QStringLiteral("C1|JA|R1"));
    // Quick-access codes only with new pairs, each once: C1 C3 " P1 " "\tT" R1.
    QCOMPARE(b.acessos(), 5);

    // A second run adds nothing.
    QVERIFY(ImportaEquivalencias(b.bd).completa);
    QCOMPARE(b.pares(), 7);
    QCOMPARE(b.acessos(), 5);
    QCOMPARE(m_mensagens.quantos(), 0);
    QCOMPARE(b.bd.nivelTransaccao(), 0);
}

void TstImportador::falhaNaEscritaContinua()
{
    BaseEquiv &b = *m_base;
    linhas(6);
    // A code longer than its column, and a code the database refuses: each
    // reported by the write, and the import goes on.
    QVERIFY(linha(QStringLiteral("LONGO"), {QString(26, QLatin1Char('X')), QString(25, QLatin1Char('Y'))}));
    b.bd.falhaNoProximo(QStringLiteral("mvk_AcessoRapido"), ErroBd::Restricao);
    const ResultadoImportacao r = ImportaEquivalencias(b.bd, 4);
    QVERIFY(r.completa);
    QCOMPARE(m_mensagens.quantos(), 2);
    QVERIFY(m_mensagens.pedidos().at(0).texto.contains(QStringLiteral("Na função Equivalencia_Escrever do Módulo de classe Artigos")));
    QVERIFY2(m_mensagens.pedidos().at(1).texto.startsWith(
                 QStringLiteral("Erro -2147217833 (O valor \"%1\" tem 26 caracteres e a coluna ArtigoEquivalente só aceita 25)")
                     .arg(QString(26, QLatin1Char('X')))),
             qPrintable(m_mensagens.pedidos().at(1).texto));
    // The failed codes left neither their pair nor their quick-access code.
    QCOMPARE(b.codigosDe(QStringLiteral("A0000")), QString());
    QCOMPARE(b.codigosDe(QStringLiteral("LONGO")), QString(25, QLatin1Char('Y')));
    QCOMPARE(b.pares(), 6);
    QCOMPARE(b.acessos(), 6);
    QCOMPARE(r.codigos, 8);
    QCOMPARE(r.codigosGravados, 6);
}

void TstImportador::falhaDaBaseParaEDizOQueFicou_data()
{
    QTest::addColumn<QString>("marca");
    QTest::addColumn<int>("saltar");
    QTest::addColumn<long>("numero");
    QTest::addColumn<int>("pares");
    QTest::addColumn<QString>("fim");
    // 12 rows of one code each, in batches of 5 codes: rows 1-5, 6-10, 11-12.
    const QString nada = QStringLiteral("nenhum código foi gravado.");
    const QString cinco = QStringLiteral("ficaram gravados 5 códigos, das linhas 1 a 5.");
    QTest::newRow("primeira escrita, disco cheio") << "INTO mvk_equivalencias" << 0 << ErroBd::DiscoCheio << 0
                                                   << QStringLiteral("linha 1 de 12 da tabela CLART; ") + nada;
    QTest::newRow("confirmação do primeiro lote") << "COMMIT" << 0 << ErroBd::BaseOcupada << 0 << QStringLiteral("linha 5 de 12 da tabela CLART; ") + nada;
    QTest::newRow("começo do segundo lote") << "BEGIN" << 1 << ErroBd::BaseOcupada << 5 << QStringLiteral("linha 6 de 12 da tabela CLART; ") + cinco;
    QTest::newRow("escrita a meio do lote") << "INTO mvk_equivalencias" << 7 << ErroBd::SoLeitura << 5
                                           << QStringLiteral("linha 8 de 12 da tabela CLART; ") + cinco;
    QTest::newRow("código rápido a meio do lote") << "INTO mvk_AcessoRapido" << 7 << ErroBd::ErroDisco << 5
                                                 << QStringLiteral("linha 8 de 12 da tabela CLART; ") + cinco;
    QTest::newRow("confirmação do lote do meio") << "COMMIT" << 1 << ErroBd::BaseOcupada << 5 << QStringLiteral("linha 10 de 12 da tabela CLART; ") + cinco;
    QTest::newRow("confirmação do último lote") << "COMMIT" << 2 << ErroBd::DiscoCheio << 10
                                               << QStringLiteral("linha 12 de 12 da tabela CLART; ficaram gravados 10 códigos, das linhas 1 a 10.");
}

void TstImportador::falhaDaBaseParaEDizOQueFicou()
{
    QFETCH(QString, marca);
    QFETCH(int, saltar);
    QFETCH(long, numero);
    QFETCH(int, pares);
    QFETCH(QString, fim);
    BaseEquiv &b = *m_base;
    linhas(12);
    b.bd.falhaNoProximo(marca, numero, saltar);
    const ResultadoImportacao r = ImportaEquivalencias(b.bd, 5);
    QVERIFY(!r.completa);
    QCOMPARE(b.pares(), pares);
    QCOMPARE(b.acessos(), pares);
    QCOMPARE(r.codigosGravados, pares);
    QCOMPARE(b.bd.nivelTransaccao(), 0);
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("Erro %1 (Falha provocada para ensaio)\r\n"
                                                        "Na função ImportaEquivalencias do Módulo frmMain\r\n"
                                                        "A importação parou na ")
                                             .arg(numero)
                                             + fim);
}

void TstImportador::falhasDoProprioImportador()
{
    BaseEquiv &b = *m_base;
    VERIFICA_BD(b.bd, b.bd.Executa(QStringLiteral("DROP TABLE CLART")));
    QVERIFY(!ImportaEquivalencias(b.bd).completa);
    QVERIFY(m_mensagens.ultimo().texto.startsWith(QStringLiteral("Erro -2147217865 (")));
    QVERIFY(m_mensagens.ultimo().texto.endsWith(QStringLiteral("\r\nNa função ImportaEquivalencias do Módulo frmMain")));

    // A CLART without CL03: the first row's CL01 and CL02 are written, then it stops.
    VERIFICA_BD(b.bd, b.bd.Executa(QStringLiteral("CREATE TABLE CLART (codigo varchar(15), cl01 varchar(25), cl02 varchar(25))")));
    VERIFICA_BD(b.bd, b.bd.Executa(QStringLiteral("INSERT INTO CLART VALUES ('A1', 'X1', 'X2'), ('A2', 'Y1', NULL)")));
    const ResultadoImportacao r = ImportaEquivalencias(b.bd);
    QVERIFY(!r.completa);
    QCOMPARE(b.pares(), 2);
    QCOMPARE(m_mensagens.quantos(), 2);
    QCOMPARE(m_mensagens.ultimo().texto,
             QStringLiteral("Erro -2147217900 (A tabela CLART não tem a coluna CL03)\r\n"
                            "Na função ImportaEquivalencias do Módulo frmMain\r\n"
                            "A importação parou na linha 1 de 2 da tabela CLART; ficaram gravados 2 códigos, das linhas 1 a 1."));
    QCOMPARE(b.bd.nivelTransaccao(), 0);
}

void TstImportador::ligacaoPerdidaGuardaOsLotesAnteriores()
{
    BaseEquiv &b = *m_base;
    linhas(12);
    // The connection goes while the window repaints after the first batch.
    QTimer perde;
    perde.setSingleShot(true);
    connect(&perde, &QTimer::timeout, this, [&] { b.bd.Fecha(); });
    perde.start(0);
    const ResultadoImportacao r = ImportaEquivalencias(b.bd, 5);
    QVERIFY(!r.completa);
    QCOMPARE(r.codigos, 5);
    QCOMPARE(m_mensagens.quantos(), 1);
    QVERIFY(m_mensagens.ultimo().texto.endsWith(
        QStringLiteral("A importação parou na linha 6 de 12 da tabela CLART; ficaram gravados 5 códigos, das linhas 1 a 5.")));
    VERIFICA_BD(b.bd, b.bd.Abre(BaseEquiv::cadeia(b.ficheiro)));
    QCOMPARE(b.pares() + b.acessos(), 10);
}

TESSELA_TEST_MAIN(TstImportador)
#include "tst_importador.moc"
