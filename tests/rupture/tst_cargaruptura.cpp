// A load of the rupture window whose statements run long: in the middle of a
// statement the window paints and shows the step, other windows read and
// write through the program's connection, a second load is refused, and Esc
// or Sair stops the statement there; the window is then free and empty, and
// the next load works. A load whose own connection cannot open says why.
#include "baseruptura.h"
#include "testmain.h"

#include <QLabel>
#include <QTimer>

#include <functional>

class TstCargaRuptura : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    RupturaStocks *j() const { return base.janela; }

    bool inibida() const
    {
        return !j()->btCarga()->isEnabled() && !j()->Campo(0)->isEnabled() && !j()->grelha()->isEnabled() && j()->btSair()->isEnabled();
    }

    // Customer orders of RA1 and RA3, which count for nothing but which the
    // statements of a load read: each of them runs many thousand steps.
    bool alonga()
    {
        return base.bd.Executa(QStringLiteral(
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 20000) "
            "INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Quant, Prunit, Data, Linanu) "
            "SELECT 'ECL', 'L', 2020, 1000 + x / 100, x % 100, CASE x % 2 WHEN 0 THEN 'RA1' ELSE 'RA3' END, 1, 1, "
            "'2020-01-01 00:00:00', 0 FROM n"));
    }

    // What the window was like the first time a statement of the load let it paint.
    struct Meio
    {
        bool visto = false;
        QString resultado;
        bool inibida = false;
        int lidas = -1;
        int gravadas = -1;
        bool outraCarga = false;
    };

    // Loads; the first time a statement lets the window paint, looks at it,
    // reads and writes through the program's connection as another window
    // would, tries a second load, and then runs acao.
    Meio carregaParandoNoMeio(const std::function<void()> &acao)
    {
        Meio m;
        QTimer olhar;
        olhar.setInterval(0);
        connect(&olhar, &QTimer::timeout, this, [&] {
            if (m.visto || !j()->aMeioDeInstrucao())
                return;
            m.visto = true;
            m.resultado = j()->Label2(8)->text();
            m.inibida = inibida();
            m.lidas = base.bd.valorUnico(QStringLiteral("SELECT count(*) FROM mvk_Necessidades")).toInt();
            if (base.bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Qtd = Qtd WHERE Id = 1")))
                m.gravadas = base.bd.linhasAfectadas();
            j()->carrega();   // refused: the load still runs, in the same statement
            m.outraCarga = !j()->aMeioDeInstrucao();
            acao();
        });
        olhar.start();
        j()->carrega();
        return m;
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void escParaAMeioDeUmaInstrucao_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QList<qint64>>("carregadas");
        QTest::newRow("ruptura") << 1 << QList<qint64>{1, 2, 4, 6};
        QTest::newRow("necessidades") << 2 << QList<qint64>{1, 7, 2, 3, 4, 6};
    }
    void escParaAMeioDeUmaInstrucao()
    {
        QFETCH(int, tipo);
        QFETCH(QList<qint64>, carregadas);
        QVERIFY(base.abre(tipo));
        if (!base.bd.podeAcompanhar())
            QSKIP("Uma instrução só pergunta a meio se deve continuar pelo SQLite directo: pelo ODBC não há aviso de progresso, "
                  "a carga corre até ao fim sem pintar.");
        VERIFICA_BD(base.bd, alonga());
        j()->setIntervaloPintura(0);
        const Meio m = carregaParandoNoMeio([this] { QTest::keyClick(j(), Qt::Key_Escape); });
        QVERIFY(m.visto);
        QVERIFY2(m.resultado.startsWith(QLatin1String("A ")) && m.resultado.endsWith(QLatin1String("(Esc interrompe)")),
                 qPrintable(m.resultado));
        QVERIFY(m.inibida);
        QCOMPARE(m.lidas, 7);
        QCOMPARE(m.gravadas, 1);
        QVERIFY(!m.outraCarga);
        // Stopped there: the grid empty, the window free, no message box.
        QVERIFY(base.ids().isEmpty());
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Carregamento interrompido: a grelha ficou vazia."));
        QVERIFY(!inibida() && !j()->aCarregar() && !j()->aMeioDeInstrucao());
        QCOMPARE(base.mensagens.quantos(), 0);
        // The next load runs to its end.
        base.carrega();
        QCOMPARE(base.ids(), carregadas);
        QCOMPARE(base.mensagens.quantos(), 0);
    }

    void ligacaoDaCargaQueNaoAbre()
    {
        // The file gone when the load opens its connection: said with the
        // reason, the window free; back in its place, the load works.
        QVERIFY(base.abre(1));
        if (!base.bd.podeAcompanhar())
            QSKIP("Pelo ODBC a carga lê pela ligação do programa, cujo controlador guarda o ficheiro aberto: "
                  "não vê o ficheiro mudado de nome.");
        const QString ficheiro = base.pasta.filePath(QStringLiteral("teste.db"));
        QVERIFY(QFile::rename(ficheiro, ficheiro + QStringLiteral(".fora")));
        base.carrega();
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY2(base.mensagens.ultimo().texto.contains(QStringLiteral("não existe")), qPrintable(base.mensagens.ultimo().texto));
        QVERIFY(!inibida() && !j()->aCarregar() && base.ids().isEmpty());
        QVERIFY(QFile::rename(ficheiro + QStringLiteral(".fora"), ficheiro));
        base.carrega();
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 4, 6}));
    }

    void sairAMeioDeUmaInstrucao()
    {
        QVERIFY(base.abre(1));
        if (!base.bd.podeAcompanhar())
            QSKIP("Uma instrução só pergunta a meio se deve continuar pelo SQLite directo: pelo ODBC não há aviso de progresso, "
                  "a carga corre até ao fim sem pintar.");
        VERIFICA_BD(base.bd, alonga());
        j()->setIntervaloPintura(0);
        const Meio m = carregaParandoNoMeio([this] { j()->sair(); });
        QVERIFY(m.visto);
        QVERIFY(!j()->isVisible());
        QCOMPARE(base.mensagens.quantos(), 0);
        // The program's connection is none the worse.
        QCOMPARE(base.bd.valorUnico(QStringLiteral("SELECT count(*) FROM mvk_Necessidades")).toInt(), 7);
    }
};

TESSELA_TEST_MAIN(TstCargaRuptura)
#include "tst_cargaruptura.moc"
