// The rupture analysis without the window: the four readers, the figures of
// mode 1, the range rules of both modes, the listing of mode 2, the set-wise
// analysis against the need-by-need one, failures and stops.
#include "baseruptura.h"
#include "leitoresruptura.h"
#include "testmain.h"

using namespace DadosRuptura;

namespace {

FiltrosRuptura filtros(int tipo = 1, int dias = 30, bool previsao = false)
{
    FiltrosRuptura f;
    f.Tipo = tipo;
    f.dias = dias;
    f.comPrevisao = previsao;
    return f;
}

QList<qint64> ids(const QList<LinhaRuptura> &linhas)
{
    QList<qint64> r;
    for (const LinhaRuptura &l : linhas)
        r << l.id;
    return r;
}

// A reader's quantity for the article (-1 when it has no row).
double qtd(Recordset &rs, const QString &artigo)
{
    rs.Filter(QStringLiteral("Artigo"), artigo);
    const double v = rs.Eof() ? -1 : rs.Valor(QStringLiteral("Qtd")).toDouble();
    rs.RemoveFilter();
    return v;
}

} // namespace

class TstAnaliseRuptura : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    LigacaoBd &bd() { return base.bd; }

    QList<LinhaRuptura> carrega(const FiltrosRuptura &f)
    {
        AnaliseRuptura a(bd());
        QList<LinhaRuptura> linhas;
        if (!a.carrega(f, linhas))
            qWarning() << a.erro();
        return linhas;
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void init() { QVERIFY(base.copia()); }
    void cleanupTestCase() { base.fecha(); }

    void leitores()
    {
        Recordset rs;
        // Pending: cancelled lines and customer orders do not count.
        VERIFICA_BD(bd(), LerQtdFornecedor(bd(), QStringLiteral("RA1"), QStringLiteral("RA5"), rs));
        QCOMPARE(qtd(rs, QStringLiteral("RA1")), 4.0);
        QCOMPARE(qtd(rs, QStringLiteral("RA3")), 6.0);
        QCOMPARE(rs.RecordCount(), 2);
        // Sales: the window's days back from today, credit notes left out.
        const QDate hoje = QDate::currentDate();
        VERIFICA_BD(bd(), LerVendas180(bd(), QStringLiteral("RA1"), QStringLiteral("RA1"), 30, hoje, rs));
        QCOMPARE(qtd(rs, QStringLiteral("RA1")), 5.0);
        LerVendas180(bd(), QStringLiteral("RA1"), QStringLiteral("RA1"), 0, hoje, rs);
        QCOMPARE(qtd(rs, QStringLiteral("RA1")), 3.0);
        LerVendas180(bd(), QStringLiteral("RA1"), QStringLiteral("RA1"), 40, hoje, rs);
        QCOMPARE(qtd(rs, QStringLiteral("RA1")), 12.0);
        LerVendas180(bd(), QStringLiteral("RA1"), QStringLiteral("RA1"), 9, hoje, rs);
        QCOMPARE(qtd(rs, QStringLiteral("RA1")), 3.0);
        QCOMPARE(LeitoresRuptura::diasDeTexto(QStringLiteral("30,00")), 30);
        QCOMPARE(LeitoresRuptura::diasDeTexto(QString()), 0);
        QCOMPARE(LeitoresRuptura::diasDeTexto(QStringLiteral("abc")), 0);

        // Last purchase: on the same date the higher document wins; supplier
        // credit notes are no purchases.
        VERIFICA_BD(bd(), LerUltimoPreco(bd(), QStringLiteral("RA1"), QStringLiteral("RA5"), rs));
        QCOMPARE(rs.RecordCount(), 1);
        QCOMPARE(rs.Valor(QStringLiteral("Preco")).toDouble(), 8.5);
        QCOMPARE(rs.Valor(QStringLiteral("Forn")).toString(), QStringLiteral("FA1"));
        QCOMPARE(Valores::comoData(rs.Valor(QStringLiteral("Data"))), dia(20));
        // Cheapest quote: on the same price the newest, then the first recorded.
        VERIFICA_BD(bd(), LerPrecoEconomico(bd(), QStringLiteral("RA1"), QStringLiteral("RA5"), rs));
        QStringList vistos;
        for (; !rs.Eof(); rs.MoveNext()) {
            const QDate d = Valores::comoData(rs.Valor(1));
            vistos << QStringLiteral("%1 %2 %3 %4")
                          .arg(rs.Valor(0).toString(), rs.Valor(3).toString())
                          .arg(rs.Valor(2).toDouble())
                          .arg(d.isValid() ? d.daysTo(QDate::currentDate()) : -1);
        }
        QCOMPARE(vistos, (QStringList{"RA1 FA3 7.5 10", "RA4 FA2 12 7", "RA5 FA1 5 -1"}));

        // Values are bound: a quote in a code is just a character of it.
        LerQtdFornecedor(bd(), QStringLiteral("RA1' OR '1'='1"), QStringLiteral("RA1' OR '1'='1"), rs);
        QCOMPARE(rs.RecordCount(), 0);
    }

    void figurasDoModo1()
    {
        // Without "Com Previsão": covered needs (3 by its pending order, 7 by
        // the order its article shares with 1) and the processed one are left out.
        QList<LinhaRuptura> l = carrega(filtros());
        QCOMPARE(ids(l), (QList<qint64>{1, 2, 4, 6}));
        const LinhaRuptura &a = l.at(0);
        QCOMPARE(a.artigo, QStringLiteral("RA1"));
        QCOMPARE(a.descr, QStringLiteral("Rolamento A"));
        QCOMPARE(a.refForn, QStringLiteral("N-REF1"));   // the need's own reference
        QCOMPARE(a.stkExt, Moeda::deDouble(5));
        QCOMPARE(a.stkMin, Moeda::deDouble(2));
        QCOMPARE(a.stkMax, Moeda::deDouble(20));
        QCOMPARE(a.pendForn, Moeda::deDouble(4));
        QCOMPARE(a.prev, Moeda::deDouble(5));
        QCOMPARE(a.enc, Moeda::deDouble(6));
        QCOMPARE(a.ultPrec, Moeda::deDouble(8.5));
        QCOMPARE(a.fornUlt, QStringLiteral("FA1"));
        QCOMPARE(a.dataUlt, dia(20));
        QCOMPARE(a.precEc, Moeda::deDouble(7.5));
        QCOMPARE(a.fornMenos, QStringLiteral("FA3"));
        QCOMPARE(a.forn, QStringLiteral("FA3"));
        QCOMPARE(a.dataMenos, dia(10));
        // No quote: no supplier, price 0, no reference; tie on price and date:
        // the quote recorded first, with its purchase-help reference.
        QCOMPARE(l.at(1).forn, QString());
        QCOMPARE(l.at(1).precEc, Moeda());
        QCOMPARE(l.at(1).refForn, QString());
        QCOMPARE(l.at(1).ultPrec, Moeda());
        QVERIFY(!l.at(1).dataUlt.isValid());
        QCOMPARE(l.at(2).forn, QStringLiteral("FA2"));
        QCOMPARE(l.at(2).refForn, QStringLiteral("AJ-42"));
        QCOMPARE(l.at(2).prev, Moeda::deDouble(8));
        QCOMPARE(l.at(3).forn, QStringLiteral("FA1"));
        QVERIFY(!l.at(3).dataMenos.isValid());
        QCOMPARE(l.at(3).refForn, QString());   // no purchase help for that pair

        // "Com Previsão": the sales are subtracted too, so need 4 drops out.
        l = carrega(filtros(1, 30, true));
        QCOMPARE(ids(l), (QList<qint64>{1, 2, 6}));
        QCOMPARE(l.at(0).enc, Moeda::deDouble(1));
        // An empty "Dias" is today only.
        l = carrega(filtros(1, 0, true));
        QCOMPARE(ids(l), (QList<qint64>{1, 2, 4, 6}));
        QCOMPARE(l.at(0).prev, Moeda::deDouble(3));
        QCOMPARE(l.at(0).enc, Moeda::deDouble(3));
    }

    void regrasDosIntervalos_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QStringList>("limites");   // article, group, family, sub-family bounds in pairs
        QTest::addColumn<QList<qint64>>("esperados");
        const QString v;
        QTest::newRow("sem limites") << 1 << QStringList{v, v, v, v, v, v, v, v} << QList<qint64>{1, 2, 4, 6};
        QTest::newRow("só o primeiro artigo") << 1 << QStringList{"RA2", v, v, v, v, v, v, v} << QList<qint64>{2, 4, 6};
        QTest::newRow("só o último artigo") << 1 << QStringList{v, "ra2", v, v, v, v, v, v} << QList<qint64>{1, 2};
        QTest::newRow("cruzados") << 1 << QStringList{"RA5", "RA1", v, v, v, v, v, v} << QList<qint64>{};
        QTest::newRow("só o primeiro grupo") << 1 << QStringList{v, v, "G2", v, v, v, v, v} << QList<qint64>{4, 6};
        QTest::newRow("família sem grupo") << 1 << QStringList{v, v, v, v, "F21", "F21", v, v} << QList<qint64>{1, 2, 4, 6};
        QTest::newRow("grupo e família") << 1 << QStringList{v, v, "G1", "G1", "F11", "F11", v, v} << QList<qint64>{1, 2};
        QTest::newRow("sub-família sem família") << 1 << QStringList{v, v, "G1", "G1", v, v, "S112", "S112"} << QList<qint64>{1, 2};
        QTest::newRow("sub-família sem grupo") << 1 << QStringList{v, v, v, v, "F11", v, "S112", v} << QList<qint64>{1, 2, 4, 6};
        QTest::newRow("grupo, família e sub-família") << 1 << QStringList{v, v, "G1", v, v, "F11", "S112", "S112"} << QList<qint64>{2};
        QTest::newRow("modo 2 sem limites") << 2 << QStringList{v, v, v, v, v, v, v, v} << QList<qint64>{1, 7, 2, 3, 4, 6};
        QTest::newRow("modo 2 só o primeiro") << 2 << QStringList{"RA4", v, v, v, v, v, v, v} << QList<qint64>{1, 7, 2, 3, 4, 6};
        QTest::newRow("modo 2 só o último") << 2 << QStringList{v, "RA1", v, v, v, v, v, v} << QList<qint64>{1, 7, 2, 3, 4, 6};
        QTest::newRow("modo 2 os dois") << 2 << QStringList{"RA4", "RA5", v, v, v, v, v, v} << QList<qint64>{4, 6};
        QTest::newRow("modo 2 ignora o grupo") << 2 << QStringList{v, v, "G2", "G2", v, v, v, v} << QList<qint64>{1, 7, 2, 3, 4, 6};
    }
    void regrasDosIntervalos()
    {
        QFETCH(int, tipo);
        QFETCH(QStringList, limites);
        QFETCH(QList<qint64>, esperados);
        FiltrosRuptura f = filtros(tipo);
        f.artigoDe = limites[0], f.artigoAte = limites[1], f.grupoDe = limites[2], f.grupoAte = limites[3];
        f.familiaDe = limites[4], f.familiaAte = limites[5], f.subFamiliaDe = limites[6], f.subFamiliaAte = limites[7];
        QCOMPARE(ids(carrega(f)), esperados);
    }

    void listaDoModo2()
    {
        const QList<LinhaRuptura> l = carrega(filtros(2));
        QCOMPARE(l.size(), 6);
        // Need 1 as recorded, with what is pending from suppliers.
        QCOMPARE(l.at(0).refForn, QStringLiteral("N-REF1"));
        QCOMPARE(l.at(0).enc, Moeda::deDouble(10));
        QCOMPARE(l.at(0).forn, QStringLiteral("FA3"));
        QCOMPARE(l.at(0).precEc, Moeda::deDouble(1));
        QCOMPARE(l.at(0).dataUlt, dia(5));
        QCOMPARE(l.at(0).pendForn, Moeda::deDouble(4));
        QCOMPARE(l.at(0).stkExt, Moeda::deDouble(5));
        QCOMPARE(l.at(1).pendForn, Moeda::deDouble(4));   // need 7, same article
        // Need 2 has no request date: today.
        QCOMPARE(l.at(2).id, 2);
        QCOMPARE(l.at(2).dataUlt, QDate::currentDate());
        QCOMPARE(l.at(2).pendForn, Moeda());
        QCOMPARE(l.at(3).pendForn, Moeda::deDouble(6));
    }

    // "Com Previsão" on the edges of the sales window: a sale of RA2 (need 2,
    // 5 units, nothing else moves it) dated today, tomorrow, exactly "Dias"
    // back and one day more. The set-wise analysis, the need-by-need one and
    // a sum by SQLite's own date arithmetic must all count it or none.
    void previsaoNosLimitesDoPeriodo_data()
    {
        QTest::addColumn<int>("dias");
        QTest::addColumn<int>("diasAtras");   // negative: in the future
        QTest::addColumn<QString>("hora");
        QTest::addColumn<bool>("conta");
        QTest::newRow("hoje, primeira hora") << 7 << 0 << "00:00:00" << true;
        QTest::newRow("hoje, última hora") << 7 << 0 << "23:59:59" << true;
        QTest::newRow("amanhã") << 7 << -1 << "00:00:00" << false;
        QTest::newRow("exactamente Dias atrás") << 7 << 7 << "00:00:00" << true;
        QTest::newRow("Dias mais um atrás, última hora") << 7 << 8 << "23:59:59" << false;
        QTest::newRow("Dias vazio, hoje") << 0 << 0 << "00:00:00" << true;
        QTest::newRow("Dias vazio, ontem") << 0 << 1 << "23:59:59" << false;
    }
    void previsaoNosLimitesDoPeriodo()
    {
        QFETCH(int, dias);
        QFETCH(int, diasAtras);
        QFETCH(QString, hora);
        QFETCH(bool, conta);
        const QString quando = dia(diasAtras).toString(QStringLiteral("yyyy-MM-dd ")) + hora;
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, "
                                                      "Areag, tpoper, natconta, sinalct) VALUES ('VFA', 'T', 2020, 90, ?, 'C001', 1, 4, 2, 1, 1)"),
                                       {quando}));
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Quant, "
                                                      "Prunit, Data, Linanu) VALUES ('VFA', 'T', 2020, 90, 1, 'RA2', 2, 10, ?, 0)"),
                                       {quando}));
        // Independent of the program's bounds: SQLite's date() of the line
        // between "Dias" days ago and today, both ends included.
        Recordset soma;
        VERIFICA_BD(bd(), bd().AbreConsulta(QStringLiteral("SELECT COALESCE(SUM(Quant), 0) FROM docgclin WHERE Artigo = 'RA2' "
                                                           "AND date(Data) BETWEEN date('now', 'localtime', ?) AND date('now', 'localtime')"),
                                            soma, {QStringLiteral("-%1 days").arg(dias)}));
        const Moeda vendas = Moeda::deDouble(conta ? 2 : 0);
        QCOMPARE(Moeda::deValor(soma.Valor(0)), vendas);

        FiltrosRuptura f = filtros(1, dias, true);
        f.artigoDe = f.artigoAte = QStringLiteral("RA2");
        AnaliseRuptura a(bd());
        QList<NecessidadePendente> necessidades;
        QList<LinhaRuptura> conjunto, porNecessidade;
        QVERIFY2(a.necessidades(f, necessidades) && a.analisa(f, conjunto) && a.porNecessidade(f, necessidades, porNecessidade),
                 qPrintable(a.erro()));
        QCOMPARE(conjunto.size(), 1);
        QCOMPARE(porNecessidade.size(), 1);
        for (const LinhaRuptura &l : {conjunto.at(0), porNecessidade.at(0)}) {
            QCOMPARE(l.id, qint64(2));
            QCOMPARE(l.prev, vendas);
            QCOMPARE(l.enc, Moeda::deDouble(5) - vendas);
        }
        Recordset leitor;
        VERIFICA_BD(bd(), LerVendas180(bd(), QStringLiteral("RA2"), QStringLiteral("RA2"), dias, f.hoje, leitor));
        QCOMPARE(qtd(leitor, QStringLiteral("RA2")), conta ? 2.0 : -1.0);
    }

    // The set-wise analysis gives exactly the rows of the need-by-need one:
    // on the known rows and on generated needs, with every kind of filter.
    void conjuntoIgualAPorNecessidade_data()
    {
        QTest::addColumn<bool>("gerada");
        QTest::newRow("conhecida") << false;
        QTest::newRow("gerada") << true;
    }
    void conjuntoIgualAPorNecessidade()
    {
        QFETCH(bool, gerada);
        LigacaoBd outra;
        LigacaoBd *usada = &bd();
        // Needs that spell their article otherwise than its documents and
        // quotes do: the same article all the same.
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("INSERT INTO mvk_Necessidades (Id, Artigo, Qtd, Processado) "
                                                      "VALUES (8, 'ra1 ', 20, 0), (9, 'Ra4', 30, 0)")));
        if (gerada) {
            const QString ficheiro = base.pasta.filePath(QStringLiteral("gerada.db"));
            QFile::remove(ficheiro);
            QString erro;
            QVERIFY2(criaModelo(ficheiro, &erro, 120), qPrintable(erro));
            QVERIFY(outra.Abre(cadeia(ficheiro)));
            usada = &outra;
        }
        const QList<FiltrosRuptura> casos = [] {
            QList<FiltrosRuptura> c;
            for (int dias : {0, 30, 400})
                for (bool previsao : {false, true})
                    c << filtros(1, dias, previsao);
            FiltrosRuptura g = filtros(1, 60, true);
            g.grupoDe = QStringLiteral("02");
            g.grupoAte = QStringLiteral("G1");
            c << g;
            return c;
        }();
        if (!gerada) {
            const QList<LinhaRuptura> l = carrega(filtros());
            const auto daNecessidade = [&](qint64 id) {
                return *std::find_if(l.cbegin(), l.cend(), [id](const LinhaRuptura &x) { return x.id == id; });
            };
            QCOMPARE(daNecessidade(8).pendForn, Moeda::deDouble(4));
            QCOMPARE(daNecessidade(8).fornUlt, QStringLiteral("FA1"));
            QCOMPARE(daNecessidade(8).fornMenos, QStringLiteral("FA3"));
            QCOMPARE(daNecessidade(8).refForn, QStringLiteral("AJ-13"));
            QCOMPARE(daNecessidade(9).fornMenos, QStringLiteral("FA2"));
            QCOMPARE(daNecessidade(9).prev, Moeda::deDouble(8));
        }
        int comLinhas = 0;
        for (const FiltrosRuptura &f : casos) {
            AnaliseRuptura a(*usada);
            QList<NecessidadePendente> necessidades;
            QList<LinhaRuptura> conjunto, porNecessidade;
            QVERIFY2(a.necessidades(f, necessidades) && a.analisa(f, conjunto) && a.porNecessidade(f, necessidades, porNecessidade),
                     qPrintable(a.erro()));
            QCOMPARE(conjunto.size(), porNecessidade.size());
            for (int i = 0; i < conjunto.size(); ++i)
                QVERIFY2(conjunto.at(i) == porNecessidade.at(i), qPrintable(QStringLiteral("linha %1, Id %2").arg(i).arg(conjunto.at(i).id)));
            comLinhas += conjunto.isEmpty() ? 0 : 1;
        }
        QCOMPARE(comLinhas, int(casos.size()));
    }

    void falhaEInterrupcao()
    {
        // A failing statement: false, with the reason and the step.
        AnaliseRuptura a(bd());
        QList<LinhaRuptura> linhas;
        bd().falhaNoProximo(QStringLiteral("ROW_NUMBER"));
        QVERIFY(!a.analisa(filtros(), linhas));
        QVERIFY(!a.parada());
        QVERIFY(a.erro().contains(QStringLiteral("Falha provocada para ensaio")));
        QVERIFY(a.erro().contains(QStringLiteral("últimas compras")));
        bd().falhaNoProximo(QStringLiteral("SUM(CASE"));
        QVERIFY(!a.listaNecessidades(filtros(2), linhas));
        QVERIFY(a.erro().contains(QStringLiteral("encomendas pendentes")));

        // Stopped at the third report: stopped, not failed.
        int vezes = 0;
        a.setProgresso([&](const QString &, int, int) { return ++vezes < 3; });
        QVERIFY(!a.analisa(filtros(), linhas));
        QVERIFY(a.parada());
        QCOMPARE(vezes, 3);
        a.setProgresso({});
        QVERIFY(a.analisa(filtros(), linhas));
        QVERIFY(!a.parada());
    }
};

TESSELA_TEST_MAIN(TstAnaliseRuptura)
#include "tst_analiseruptura.moc"
