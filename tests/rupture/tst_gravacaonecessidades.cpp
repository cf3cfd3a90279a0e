// Saving "Necessidades de Encomendas": new, changed, ignored and removed
// rows, a need that vanished meanwhile, needs ordered, being ordered or saved
// elsewhere since the load left alone, and a failure at every step leaving
// the database, the grid and the removed needs as they were.
#include "baseruptura.h"
#include "consultas.h"
#include "gravacaonecessidades.h"
#include "testmain.h"

using namespace DadosRuptura;
using namespace ColunasNecessidades;

class TstGravacaoNecessidades : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    Grelha *g() const { return base.g(); }

    // Every need as stored, one text per row.
    QStringList necessidades()
    {
        Recordset rs;
        base.bd.AbreConsulta(QStringLiteral("SELECT Id, Artigo, RefArt, Qtd, Fornec, PrUnit, DataPedido, Processado FROM mvk_Necessidades "
                                            "ORDER BY Id"),
                             rs);
        QStringList r;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList campos;
            for (int i = 0; i < rs.numeroCampos(); ++i)
                campos << (rs.Valor(i).isNull() ? QStringLiteral("NULL") : TextoDe(rs.Valor(i)));
            r << campos.join(QLatin1Char('|'));
        }
        return r;
    }
    QString registo(qint64 id)
    {
        for (const QString &l : necessidades())
            if (l.startsWith(QString::number(id) + QLatin1Char('|')))
                return l;
        return QString();
    }
    static QString data(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-ddT00:00:00.000")); }

    // Loaded, then: need 4 to 9, need 3 to 0, need 7 and need 6 removed, a
    // typed need of 3 RA2 and a typed RA3 without a quantity.
    void prepara()
    {
        QVERIFY(base.abre(2));
        base.carrega();
        base.escreveCelula(5, Enc, QStringLiteral("9"));
        base.escreveCelula(4, Enc, QStringLiteral("0"));
        base.escreveCelula(7, Artigo, QStringLiteral("RA2"));
        base.escreveCelula(7, Enc, QStringLiteral("3"));
        base.escreveCelula(8, Artigo, QStringLiteral("RA3"));
        for (int linha : {6, 2}) {
            g()->setLinhaActual(linha);
            QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        }
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 6, 7}));
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 3, 4, 0, 0}));
        base.mensagens.limpa();
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void gravaNovasAlteradasERetiradas()
    {
        prepara();
        // Need 1 vanished meanwhile: it comes back as a new need.
        base.bd.Executa(QStringLiteral("DELETE FROM mvk_Necessidades WHERE Id = 1"));
        base.confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        const QString hoje = data(QDate::currentDate());
        // Changed: every column rewritten (a need without a date gets today's).
        QCOMPARE(registo(4), QStringLiteral("4|RA4||9|FA2|3|%1|0").arg(data(dia(2))));
        QCOMPARE(registo(2), QStringLiteral("2|RA2||5||0|%1|0").arg(hoje));
        // Quantity 0: left as it was; removed: gone; processed: untouched.
        QCOMPARE(registo(3), QStringLiteral("3|RA3||6|FA1|2|%1|0").arg(data(dia(1))));
        QVERIFY(registo(6).isEmpty() && registo(7).isEmpty() && registo(1).isEmpty());
        QVERIFY(registo(5).endsWith(QStringLiteral("|1")));
        // New: the vanished need and the typed one (its cheapest quote's supplier
        // is none); the row without a quantity is not saved.
        const QStringList todas = necessidades();
        QCOMPARE(todas.size(), 6);
        QCOMPARE(todas.at(4).section(QLatin1Char('|'), 1), QStringLiteral("RA1|N-REF1|10|FA3|1|%1|0").arg(data(dia(5))));
        QCOMPARE(todas.at(5).section(QLatin1Char('|'), 1), QStringLiteral("RA2||3||0|NULL|0"));
        // The window is clear.
        QVERIFY(base.ids().isEmpty());
        QCOMPARE(base.janela->IdsAnulados(), QList<qint64>{0});
    }

    // After the load, needs 4 (changed in the grid) and 7 (removed) were
    // ordered by a generation, are being ordered (claimed by a generation
    // that runs), or were saved by another window: both are left as they
    // are, the buyer is told which and why in one message, and the rest is
    // saved in the same confirm.
    void saltaAsQueMudaram_data()
    {
        QTest::addColumn<QString>("entretanto");
        QTest::addColumn<QString>("motivo");
        QTest::newRow("encomendadas") << "UPDATE mvk_Necessidades SET Processado = 1, EncTpdoc = 'ENF', EncSerie = '1', EncAno = 2020, "
                                         "EncNumero = 9 WHERE Id IN (4, 7)"
                                      << "já foi encomendada";
        QTest::newRow("a ser encomendadas") << "UPDATE mvk_Necessidades SET Reserva = 'x', ReservaDono = 'outra:1:u', "
                                               "ReservaData = '2020-01-01 00:00:00' WHERE Id IN (4, 7)"
                                            << "está a ser encomendada noutro posto";
        QTest::newRow("gravadas noutra janela") << QString() << "foi alterada noutra janela desde que foi carregada";
    }
    void saltaAsQueMudaram()
    {
        QFETCH(QString, entretanto);
        QFETCH(QString, motivo);
        prepara();
        if (entretanto.isEmpty()) {
            // The other window loaded the same needs and saved first.
            GravacaoNecessidades outra(base.bd);
            LinhaNecessidade l4 = GravacaoNecessidades::leLinha(*g(), 3);
            l4.qtd = Moeda::deDouble(11);
            LinhaNecessidade l7 = l4;
            l7.id = 7;
            l7.artigo = QStringLiteral("RA1");
            QVERIFY2(outra.grava({l4, l7}, {}, {{4, 0}, {7, 0}}), qPrintable(outra.erro()));
            QVERIFY(outra.saltadas().isEmpty());
        } else {
            VERIFICA_BD(base.bd, base.bd.Executa(entretanto));
        }
        const QString antes4 = registo(4), antes7 = registo(7);
        base.confirma();
        QCOMPARE(base.mensagens.quantos(), 1);
        QCOMPARE(base.mensagens.ultimo().texto,
                 QStringLiteral("As restantes necessidades foram gravadas, mas estas ficaram como estavam na base de dados:\r\n"
                                "Necessidade 4 (RA4): %1.\r\nNecessidade 7 (RA1): %1.")
                     .arg(motivo));
        QCOMPARE(registo(4), antes4);
        QCOMPARE(registo(7), antes7);
        // The rest: need 2 rewritten, need 6 deleted, the typed RA2 added.
        QCOMPARE(registo(2), QStringLiteral("2|RA2||5||0|%1|0").arg(data(QDate::currentDate())));
        QVERIFY(registo(6).isEmpty());
        QCOMPARE(necessidades().last().section(QLatin1Char('|'), 1), QStringLiteral("RA2||3||0|NULL|0"));
        QVERIFY(base.ids().isEmpty());
    }

    // A refusal at the first, a middle and the last row written, at a
    // deletion, or at the commit: nothing written, everything kept.
    void falhaNaoPerdeNada_data()
    {
        QTest::addColumn<QString>("recusa");
        QTest::addColumn<QString>("marca");
        QTest::newRow("primeira linha") << "CREATE TRIGGER r BEFORE UPDATE ON mvk_Necessidades WHEN OLD.Id = 1 BEGIN SELECT RAISE(ABORT, 'recusada'); END"
                                        << QString();
        QTest::newRow("linha do meio") << "CREATE TRIGGER r BEFORE UPDATE ON mvk_Necessidades WHEN OLD.Id = 4 BEGIN SELECT RAISE(ABORT, 'recusada'); END"
                                       << QString();
        QTest::newRow("última linha") << "CREATE TRIGGER r BEFORE INSERT ON mvk_Necessidades BEGIN SELECT RAISE(ABORT, 'recusada'); END"
                                      << QString();
        QTest::newRow("anulação") << "CREATE TRIGGER r BEFORE DELETE ON mvk_Necessidades WHEN OLD.Id = 7 BEGIN SELECT RAISE(ABORT, 'recusada'); END"
                                  << QString();
        QTest::newRow("confirmação") << QString() << QStringLiteral("COMMIT");
    }
    void falhaNaoPerdeNada()
    {
        QFETCH(QString, recusa);
        QFETCH(QString, marca);
        prepara();
        if (!recusa.isEmpty())
            VERIFICA_BD(base.bd, base.bd.Executa(recusa));
        const QStringList antes = necessidades();
        if (!marca.isEmpty())
            base.bd.falhaNoProximo(marca);
        base.confirma();
        QCOMPARE(base.mensagens.quantos(), 1);
        const QString texto = base.mensagens.ultimo().texto;
        QVERIFY2(texto.contains(recusa.isEmpty() ? QStringLiteral("Falha provocada para ensaio") : QStringLiteral("recusada")), qPrintable(texto));
        QVERIFY(texto.contains(QStringLiteral("Nada foi gravado")));
        QCOMPARE(necessidades(), antes);
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 3, 4, 0, 0}));
        QCOMPARE(base.cel(5, Artigo), QVariant(QStringLiteral("RA2")));
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, 6, 7}));
        QCOMPARE(base.bd.nivelTransaccao(), 0);
        // Put right, the same confirm saves.
        base.bd.Executa(QStringLiteral("DROP TRIGGER IF EXISTS r"));
        base.confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        QVERIFY(registo(7).isEmpty());
    }
};

TESSELA_TEST_MAIN(TstGravacaoNecessidades)
#include "tst_gravacaonecessidades.moc"
