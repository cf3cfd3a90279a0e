// Each need in at most one supplier order, and processed exactly when an
// order holds it: a real generation (another program, filhoencomendas) killed
// at random instants and then resolved, and two programs generating from the
// same needs at the same moment. After each: no claim left, every processed
// need held by an order with its article, every order's lines exactly the
// needs marked with its number (nothing ordered twice, nothing marked without
// an order), numbers without gaps or repeats.
//
// TESSELA_MORTES sets the number of kills (30 by default; more for a longer
// run outside ctest); TESSELA_SEMENTE repeats the instants of a run.
#include "basejanela.h"
#include "esperalinha.h"
#include "geradordemo.h"
#include "ligacaobd.h"
#include "reservasnecessidades.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

class TstEncomendasUnicas : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir pasta;
    QString ficheiro;
    LigacaoBd bd;
    int ano = QDate::currentDate().year();
    int primeiro = 0;            // the number of the first order a generation makes
    qint64 duracao = 0;          // ms of a whole generation, from "INICIO" to its end
    int encomendasInteiras = 0;  // orders of a whole generation

    static constexpr int Limite = 60000;   // ms any one program may take

    std::unique_ptr<QProcess> inicia(qint64 inicio = 0)
    {
        auto p = std::make_unique<QProcess>();
        QStringList args{ficheiro};
        if (inicio > 0)
            args << QString::number(inicio);
        p->start(QStringLiteral(FILHO_ENCOMENDAS), args);
        return p;
    }
    // The orders a program reported, after it ended on its own.
    static QList<int> criadas(QProcess &p, bool *ok)
    {
        QList<int> numeros;
        const QStringList linhas = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        *ok = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && linhas.contains(QStringLiteral("FIM"));
        for (const QString &l : linhas)
            if (l.startsWith(QLatin1String("CRIADA ")))
                numeros << l.mid(7).toInt();
        if (!*ok)
            qWarning().noquote() << linhas.join(QLatin1Char('\n')) << p.readAllStandardError();
        return numeros;
    }
    int conta(const QString &sql, const QVariantList &valores = {})
    {
        const QVariant v = bd.valorUnico(sql, valores);
        return bd.ultimoErro().existe() ? -1 : v.toInt();
    }
    // Back to the needs and orders before any generation.
    bool repoe()
    {
        Transaccao t(bd);
        return t.iniciada()
               && bd.Executa(QStringLiteral("DELETE FROM docgclin WHERE Tpdocum = 'ENF' AND Ano = ? AND nnumdoc >= ?"), {ano, primeiro})
               && bd.Executa(QStringLiteral("DELETE FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND ano = ? AND nnumdoc >= ?"), {ano, primeiro})
               && bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Processado = 0, Reserva = NULL, ReservaDono = NULL, "
                                            "ReservaData = NULL, EncTpdoc = NULL, EncSerie = NULL, EncAno = NULL, EncNumero = NULL "
                                            "WHERE Reserva IS NOT NULL OR EncTpdoc IS NOT NULL"))
               && t.confirma();
    }
    int encomendas() { return conta(QStringLiteral("SELECT COUNT(*) FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND ano = ? AND nnumdoc >= ?"), {ano, primeiro}); }
    // The first invariant broken, or the empty text.
    QString confere()
    {
        if (int n = conta(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE Reserva IS NOT NULL")); n != 0)
            return QStringLiteral("%1 necessidades ainda reservadas").arg(n);
        if (int n = conta(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades n WHERE (n.EncNumero IS NOT NULL) <> (n.Processado = 1 "
                                         "AND n.EncTpdoc IS NOT NULL) OR (n.EncNumero IS NOT NULL AND NOT EXISTS (SELECT 1 FROM "
                                         "docgclin l WHERE l.Tpdocum = n.EncTpdoc AND l.serie = n.EncSerie AND l.Ano = n.EncAno AND "
                                         "l.nnumdoc = n.EncNumero AND l.Artigo = n.Artigo))"));
            n != 0)
            return QStringLiteral("%1 necessidades processadas sem encomenda que as tenha").arg(n);
        Recordset rs;
        if (!bd.AbreConsulta(QStringLiteral(
                                 "SELECT c.nnumdoc, (SELECT group_concat(a, ' ') FROM (SELECT l.Artigo AS a FROM docgclin l WHERE "
                                 "l.Tpdocum = c.Tpdoc AND l.serie = c.serie AND l.Ano = c.ano AND l.nnumdoc = c.nnumdoc ORDER BY 1)), "
                                 "(SELECT group_concat(a, ' ') FROM (SELECT n.Artigo AS a FROM mvk_Necessidades n WHERE "
                                 "n.EncTpdoc = c.Tpdoc AND n.EncSerie = c.serie AND n.EncAno = c.ano AND n.EncNumero = c.nnumdoc "
                                 "ORDER BY 1)) FROM DOCGCCAB c WHERE c.Tpdoc = 'ENF' AND c.ano = ? AND c.nnumdoc >= ? ORDER BY 1"),
                             rs, {ano, primeiro}))
            return bd.ultimoErro().texto();
        int esperado = primeiro;
        for (; !rs.Eof(); rs.MoveNext(), ++esperado) {
            const int numero = rs.Valor(0).toInt();
            if (numero != esperado)
                return QStringLiteral("a encomenda nº %1 vem depois da %2").arg(numero).arg(esperado - 1);
            if (rs.Valor(1).toString().isEmpty() || rs.Valor(1).toString() != rs.Valor(2).toString())
                return QStringLiteral("a encomenda nº %1 tem as linhas [%2] e as necessidades [%3]")
                    .arg(numero)
                    .arg(rs.Valor(1).toString(), rs.Valor(2).toString());
        }
        return QString();
    }
    void resolve(int *marcadas = nullptr, int *libertadas = nullptr)
    {
        ReservasNecessidades r(bd);
        QVERIFY2(r.resolve(marcadas, libertadas), qPrintable(r.erro()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(pasta.isValid());
        ficheiro = pasta.filePath(QStringLiteral("demo.db"));
        QString erro;
        QVERIFY2(criaEmpresaDemo(ficheiro, GeradorDemo::Escala::demo(), 7, QDate::currentDate(), nullptr, &erro), qPrintable(erro));
        VERIFICA_BD(bd, bd.Abre(BaseSqlite::cadeia(ficheiro)));
        primeiro = conta(QStringLiteral("SELECT COALESCE(MAX(nnumdoc), 0) + 1 FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND ano = ?"), {ano});
        QVERIFY(primeiro > 0);
    }

    // Whose claim may be resolved: never one that a live generation may
    // still hold. This process's own only once it no longer generates with
    // it; another process of this machine once it no longer runs (or, as
    // any other machine's, once older than the limit, on each side of it).
    void quemPodeResolver_data()
    {
        QTest::addColumn<QString>("dono");
        QTest::addColumn<int>("idade");   // seconds; -1: no time recorded
        QTest::addColumn<bool>("abandonada");
        const QString aqui = QSysInfo::machineHostName();
        const int limite = ReservasNecessidades::ValidadeSegundos;
        QTest::newRow("outro processo vivo, recente") << aqui + QStringLiteral(":1:u") << 5 << false;
        QTest::newRow("outro processo vivo, no limite") << aqui + QStringLiteral(":1:u") << limite << false;
        QTest::newRow("outro processo vivo, antiga") << aqui + QStringLiteral(":1:u") << limite + 1 << true;
        QTest::newRow("processo terminado") << QStringLiteral("terminado") << 5 << true;
        QTest::newRow("outra máquina, no limite") << QStringLiteral("outra-maquina:%1:u").arg(QCoreApplication::applicationPid()) << limite
                                                  << false;
        QTest::newRow("outra máquina, antiga") << QStringLiteral("outra-maquina:1:u") << limite + 1 << true;
        QTest::newRow("sem data") << QStringLiteral("outra-maquina:1:u") << -1 << true;
    }
    void quemPodeResolver()
    {
        QFETCH(QString, dono);
        QFETCH(int, idade);
        QFETCH(bool, abandonada);
        if (dono == QLatin1String("terminado")) {
            QProcess p;
            p.start(QStringLiteral(FILHO_ENCOMENDAS), {});
            QVERIFY(p.waitForStarted(Limite));
            const qint64 pid = p.processId();
            QVERIFY(p.waitForFinished(Limite));
            dono = QStringLiteral("%1:%2:u").arg(QSysInfo::machineHostName()).arg(pid);
        }
        const QDateTime agora = QDateTime::currentDateTimeUtc();
        const QDateTime quando = idade < 0 ? QDateTime() : agora.addSecs(-idade);
        QCOMPARE(ReservasNecessidades::abandonada(QStringLiteral("t"), dono, quando, agora), abandonada);
    }

    // This process's claim: kept while it generates with it, resolvable after.
    void reservaPropria()
    {
        ReservasNecessidades r(bd);
        r.nova({QStringLiteral("ENF"), QStringLiteral("1"), ano});
        const QDateTime agora = QDateTime::currentDateTimeUtc();
        QVERIFY(!ReservasNecessidades::abandonada(r.token(), ReservasNecessidades::dono(), agora, agora));
        r.termina();
        QVERIFY(ReservasNecessidades::abandonada(r.token(), ReservasNecessidades::dono(), agora, agora));
    }

    // A whole generation: the reference for the kills.
    void inteira()
    {
        auto p = inicia();
        QVERIFY2(esperaLinha(*p, "INICIO", Limite), "a geração não começou");
        QElapsedTimer relogio;
        relogio.start();
        QVERIFY2(p->waitForFinished(Limite), "a geração não terminou");
        duracao = relogio.elapsed();
        bool ok = false;
        const QList<int> numeros = criadas(*p, &ok);
        QVERIFY(ok);
        encomendasInteiras = encomendas();
        QVERIFY(encomendasInteiras >= 10);
        QCOMPARE(numeros.size(), encomendasInteiras);
        QCOMPARE(confere(), QString());
        qInfo("%d encomendas em %lld ms", encomendasInteiras, duracao);
    }

    // Killed at random instants of the generation, then resolved as the next
    // load does; the generation after it orders the rest exactly once.
    void mortaAQualquerMomento()
    {
        QVERIFY(duracao > 0);
        const int mortes = qEnvironmentVariableIsSet("TESSELA_MORTES") ? qEnvironmentVariableIntValue("TESSELA_MORTES") : 30;
        const quint32 semente = qEnvironmentVariableIsSet("TESSELA_SEMENTE") ? quint32(qEnvironmentVariableIntValue("TESSELA_SEMENTE"))
                                                                            : QRandomGenerator::global()->generate();
        qInfo("semente %u", semente);
        QRandomGenerator aleatorio(semente);
        int aMeio = 0, marcadasTotal = 0, libertadasTotal = 0;
        for (int i = 0; i < mortes; ++i) {
            QVERIFY(repoe());
            auto p = inicia();
            QVERIFY2(esperaLinha(*p, "INICIO", Limite), "a geração não começou");
            QThread::usleep(aleatorio.bounded(quint32(duracao * 1000)));
            p->kill();
            QVERIFY(p->waitForFinished(Limite));
            const int feitas = encomendas();
            aMeio += feitas > 0 && feitas < encomendasInteiras;
            int marcadas = 0, libertadas = 0;
            resolve(&marcadas, &libertadas);
            marcadasTotal += marcadas;
            libertadasTotal += libertadas;
            const QString falha = confere();
            QVERIFY2(falha.isEmpty(), qPrintable(QStringLiteral("morte %1 (semente %2): %3").arg(i).arg(semente).arg(falha)));
            // Every few kills the generation runs again to its end: what was
            // not ordered is ordered now, once.
            if (i % 10 == 9) {
                auto resto = inicia();
                QVERIFY(resto->waitForFinished(Limite));
                bool ok = false;
                criadas(*resto, &ok);
                QVERIFY(ok);
                QCOMPARE(confere(), QString());
                QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM docgclin WHERE Tpdocum = 'ENF' AND Ano = ? AND nnumdoc >= ?"),
                               {ano, primeiro}),
                         conta(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE EncNumero IS NOT NULL")));
            }
        }
        qInfo("%d mortes, %d a meio da geração; reservas resolvidas: %d necessidades marcadas, %d libertadas", mortes, aMeio,
              marcadasTotal, libertadasTotal);
        QVERIFY2(aMeio >= mortes / 4, "poucas mortes a meio da geração: o teste não a apanhou");
    }

    // Two programs generating the same needs at the same moment: no need in
    // two orders, every order reported exists, and every order written was
    // reported by one of them.
    void duasAoMesmoTempo()
    {
        for (int ronda = 0; ronda < 3; ++ronda) {
            QVERIFY(repoe());
            const qint64 inicio = QDateTime::currentMSecsSinceEpoch() + 2000;
            auto a = inicia(inicio);
            auto b = inicia(inicio);
            QVERIFY2(a->waitForFinished(Limite) && b->waitForFinished(Limite), "uma geração não terminou");
            bool okA = false, okB = false;
            const QList<int> deA = criadas(*a, &okA), deB = criadas(*b, &okB);
            QVERIFY(okA && okB);
            QCOMPARE(confere(), QString());
            QSet<int> todas(deA.cbegin(), deA.cend());
            for (int n : deB)
                QVERIFY2(!todas.contains(n), "a mesma encomenda dada por duas gerações");
            todas.unite(QSet<int>(deB.cbegin(), deB.cend()));
            QCOMPARE(todas.size(), encomendas());
            // Together they order what one alone orders (each supplier's
            // needs may be split between the two).
            QCOMPARE(conta(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE EncNumero IS NOT NULL")),
                     conta(QStringLiteral("SELECT COUNT(*) FROM docgclin WHERE Tpdocum = 'ENF' AND Ano = ? AND nnumdoc >= ?"), {ano, primeiro}));
        }
    }
};

TESSELA_TEST_MAIN(TstEncomendasUnicas)
#include "tst_encomendasunicas.moc"
