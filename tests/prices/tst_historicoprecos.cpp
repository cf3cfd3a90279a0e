// The price history: a row per change and per deletion holding what the
// record had, none when nothing changed, newest first; F7 in both price
// windows shows the current row's pair; the dialog draws its chart only with
// two dated values or more; and a save killed at any instant leaves each
// change together with its history row, or neither.
#include "baseprecos.h"
#include "dialogohistoricoprecos.h"
#include "esperalinha.h"
#include "historicorespostas.h"
#include "programa.h"
#include "testmain.h"

#include <QChartView>
#include <QLineSeries>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QTreeWidget>

#include <cstdio>
#include <pwd.h>
#include <unistd.h>

using namespace DadosPrecos;
using namespace ColunasPrecos;

namespace {

const QString Utilizador = QStringLiteral("ana.compras");
// Records the crash test's saves delete, one a save, from this Id on.
constexpr qint64 PrimeiroRetirado = 300000;
constexpr int Retirados = 20000;

// The crash test's other program: save after save, raises the price of
// FX2/AT1 (record 100004, 9.99 at first) by one and deletes the next of the
// records from PrimeiroRetirado, each save one transaction, until killed.
// Says "gravou" after its first save.
int gravador(const QString &ficheiro)
{
    LigacaoBd bd;
    if (!bd.Abre(BaseSqlite::cadeia(ficheiro)))
        return 2;
    GravacaoPrecos gravacao(bd);
    for (bool primeira = true;; primeira = false) {
        const Moeda preco = Moeda::deValor(bd.valorUnico(QStringLiteral("SELECT Preco FROM mvk_Precos_Forn WHERE Id_Preco = 100004")));
        const qint64 feitas = (preco - Moeda::deDouble(9.99)).decimosMilesimos() / 10000;
        if (feitas >= Retirados)
            return 0;
        LinhaPreco l{1, FX2, AT1, QDate(2024, 2, 1), preco + Moeda::deDouble(1), QStringLiteral("R-4"), QStringLiteral("Proposta B")};
        if (!gravacao.grava({l}, {PrimeiroRetirado + feitas})) {
            fprintf(stderr, "%s\n", qPrintable(gravacao.erro()));
            return 3;
        }
        if (primeira) {
            fprintf(stdout, "gravou\n");
            fflush(stdout);
        }
    }
}

} // namespace

class TstHistoricoPrecos : public QObject
{
    Q_OBJECT

private:
    BasePrecos base;

    Grelha *g() const { return base.g(); }
    LigacaoBd &bd() { return base.bd; }
    void carrega(const QString &entidade)
    {
        base.escreveFiltro(0, entidade);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
    }
    // The history rows of a price table, oldest first: "Id date price
    // reference observation operation" (NULL for no value).
    QStringList historico(const QString &tabela)
    {
        Recordset rs;
        bd().AbreConsulta(QStringLiteral("SELECT Id_Preco, Data, Preco, RefForn, Obs, Operacao FROM mvk_Precos_Historico "
                                         "WHERE Tabela = ? ORDER BY Id_Historico"),
                          rs, {tabela});
        QStringList l;
        for (; !rs.Eof(); rs.MoveNext()) {
            QStringList c{rs.Valor(0).toString(), rs.Valor(1).toDate().toString(Qt::ISODate), QString::number(rs.Valor(2).toDouble())};
            for (int i = 3; i < 6; ++i)
                c << (rs.Valor(i).isNull() ? QStringLiteral("NULL") : rs.Valor(i).toString());
            l << c.join(' ');
        }
        return l;
    }
    static QString tabela(int tipo) { return tipo ? QStringLiteral("mvk_Precos_Forn") : QStringLiteral("mvk_Precos_Clientes"); }

    static HistoricoPar par(int alteracoes, int actuais, bool comData = true)
    {
        HistoricoPar h;
        h.entidade = FX1;
        h.artigo = AT1;
        // Newest first: the changes of 2024-06, 2024-05, ...
        for (int i = 0; i < alteracoes; ++i) {
            AlteracaoPreco a;
            a.idPreco = 1;
            a.valor = {comData ? QDate(2024, 5 - i, 1) : QDate(), Moeda::deDouble(10 - i), QStringLiteral("R"), QVariant()};
            a.operacao = i == 0 && actuais == 0 ? HistoricoPrecos::Anulado : HistoricoPrecos::Alterado;
            a.quando = QDateTime(QDate(2024, 6 - i, 1), QTime(9, 30));
            a.utilizador = Utilizador;
            h.alteracoes << a;
        }
        for (int i = 0; i < actuais; ++i)
            h.actuais << ValorPreco{QDate(2024, 6, 1), Moeda::deDouble(12), QStringLiteral("R"), QVariant()};
        return h;
    }

private slots:
    void initTestCase()
    {
        qputenv("USER", Utilizador.toUtf8());
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    // Without a login name in the environment (a service, a task), the
    // account the program runs under; never a null name, which the history
    // would refuse.
    void utilizadorSemAmbiente()
    {
        qunsetenv("USER");
        const QString semUser = Programa::utilizadorSistema();
        qputenv("USER", Utilizador.toUtf8());
        QVERIFY(!semUser.isNull());
        if (qEnvironmentVariableIsEmpty("LOGNAME"))
            QCOMPARE(semUser, QString::fromLocal8Bit(getpwuid(geteuid())->pw_name));
        QCOMPARE(Programa::utilizadorSistema(), Utilizador);
    }

    // A loaded row changed in one field and saved: the record's previous
    // values in one history row; a field typed again with the value it had
    // changes nothing and adds no row.
    void umaLinhaPorAlteracao_data()
    {
        QTest::addColumn<int>("tipo");   // 1 suppliers, 0 customers
        QTest::addColumn<int>("coluna");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QStringList>("esperado");
        const QStringList p4{"100004 2024-02-01 9.99 R-4 Proposta B ALTERADO"};
        const QStringList c4{"200004 2024-02-01 14 NULL Condição B ALTERADO"};
        QTest::newRow("fornecedor, preço") << 1 << int(Preco) << "10,00" << p4;
        QTest::newRow("fornecedor, data") << 1 << int(DataE) << "05-02-2024" << p4;
        QTest::newRow("fornecedor, referência") << 1 << int(RefForn) << "R-44" << p4;
        QTest::newRow("fornecedor, observação") << 1 << int(Obs) << "Nova" << p4;
        QTest::newRow("fornecedor, o mesmo preço") << 1 << int(Preco) << "9,990" << QStringList();
        QTest::newRow("fornecedor, a mesma data") << 1 << int(DataE) << "01/02/2024" << QStringList();
        QTest::newRow("cliente, preço") << 0 << int(Preco) << "14,01" << c4;
        QTest::newRow("cliente, observação") << 0 << int(Obs) << "Outra" << c4;
        QTest::newRow("cliente, a mesma observação") << 0 << int(Obs) << "Condição B" << QStringList();
    }
    void umaLinhaPorAlteracao()
    {
        QFETCH(int, tipo);
        QFETCH(int, coluna);
        QFETCH(QString, texto);
        QFETCH(QStringList, esperado);
        QVERIFY(base.abre(tipo));
        carrega(tipo ? FX2 : CX2);
        if (coluna == Obs) {
            // Set whole (the test library types no accented letter), then left.
            g()->setLinhaActual(1);
            base.janela->Campo(2)->setFocus();
            base.janela->Campo(2)->setText(texto);
            QTest::keyClick(base.janela->Campo(2), Qt::Key_Tab);
        } else {
            base.escreveCelula(1, coluna + 1, texto);
        }
        QCOMPARE(g()->matriz(0, Altera), QVariant(true));
        const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
        base.confirma();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(historico(tabela(tipo)), esperado);
        QVERIFY(historico(tabela(1 - tipo)).isEmpty());
        if (esperado.isEmpty())
            return;
        const QVariantList quem = registo(bd(), QStringLiteral("SELECT Entidade, Artigo, Utilizador, AlteradoEm FROM mvk_Precos_Historico"), {});
        QCOMPARE(quem.mid(0, 3), (QVariantList{tipo ? FX2 : CX2, AT1, Utilizador}));
        QVERIFY2(quem.value(3).toDateTime() >= antes && quem.value(3).toDateTime() <= QDateTime::currentDateTime(),
                 qPrintable(quem.value(3).toString()));
    }

    // A removed record goes into the history when the user lets it be
    // deleted; kept (Cancel), or a typed row removed (no record), adds nothing.
    void umaLinhaPorAnulacao_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("resposta");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("fornecedor, anulado") << 1 << int(ServicoMensagens::RespOk)
                                             << QStringList{"100004 2024-02-01 9.99 R-4 Proposta B ANULADO"};
        QTest::newRow("fornecedor, mantido") << 1 << int(ServicoMensagens::RespCancelar) << QStringList();
        QTest::newRow("cliente, anulado") << 0 << int(ServicoMensagens::RespOk)
                                          << QStringList{"200004 2024-02-01 14 NULL Condição B ANULADO"};
    }
    void umaLinhaPorAnulacao()
    {
        QFETCH(int, tipo);
        QFETCH(int, resposta);
        QFETCH(QStringList, esperado);
        QVERIFY(base.abre(tipo));
        carrega(tipo ? FX2 : CX2);
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        base.escreveCelula(3, Artigo + 1, AT2);
        g()->setLinhaActual(3);
        QTest::keyClick(g(), Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(base.janela->IdsAnulados(), (QList<qint64>{0, tipo ? 100004 : 200004, 0}));
        base.confirma(resposta);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Pretende anular os registos retirados!")});
        QCOMPARE(historico(tabela(tipo)), esperado);
    }

    // Two rows of one pair in one save both overwrite its first record: two
    // history rows, the later first. Reading a pair finds it as the ERP
    // compares codes, only in its own price table, newest first by the moment
    // of the change (then by the order of writing).
    void maisRecentePrimeiro()
    {
        QVERIFY(base.abre(1));
        base.escreveLinha(1, FX1, AT1, QStringLiteral("01-07-2024"), QStringLiteral("12"));
        base.escreveLinha(2, FX1, AT1, QStringLiteral("02-07-2024"), QStringLiteral("13"));
        base.confirma();
        // The typed rows took the reference of the purchase help, AJ-1.
        QCOMPARE(historico(tabela(1)), (QStringList{"100001 2024-03-01 10.5 R-1 Proposta A ALTERADO",
                                                    "100001 2024-07-01 12 AJ-1 NULL ALTERADO"}));
        // Written by another program: an older change recorded last, and a
        // customer price with the same codes.
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral(
                              "INSERT INTO mvk_Precos_Historico (Tabela, Entidade, Artigo, Id_Preco, Data, Preco, Operacao, AlteradoEm) "
                              "VALUES ('mvk_Precos_Forn', 'FX1', 'AT1', 100009, '2023-01-01 00:00:00', 8, 'ANULADO', '2023-02-01 10:00:00'), "
                              "('mvk_Precos_Clientes', 'FX1', 'AT1', 200009, '2023-01-01 00:00:00', 7, 'ANULADO', '2030-01-01 00:00:00')")));
        HistoricoPar h;
        VERIFICA_BD(bd(), HistoricoPrecos::le(bd(), DestinoPrecos::fornecedores(), QStringLiteral("fx1 "), QStringLiteral("at1"), &h));
        QStringList precos;
        for (const AlteracaoPreco &a : h.alteracoes)
            precos << a.valor.preco.texto() + ' ' + a.operacao;
        QCOMPARE(precos, (QStringList{"12,00 ALTERADO", "10,50 ALTERADO", "8,00 ANULADO"}));
        QCOMPARE(h.alteracoes.first().utilizador, Utilizador);
        QCOMPARE(h.alteracoes.first().valor.referencia, QVariant(QStringLiteral("AJ-1")));
        QCOMPARE(h.actuais.size(), 2);   // P1 as saved, and P2
        QCOMPARE(h.actuais.first().preco, Moeda::deDouble(13));
    }

    // F7 on a row of either window shows its pair: names, current record and
    // previous values; on a row without the pair it says so and shows nothing.
    void teclaMostraOHistorico_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::newRow("fornecedores") << 1;
        QTest::newRow("clientes") << 0;
    }
    void teclaMostraOHistorico()
    {
        QFETCH(int, tipo);
        HistoricoRespostas respostas;
        QVERIFY(base.abre(tipo));
        QVERIFY(g()->toolTip().contains(QStringLiteral("F7")) && g()->statusTip().contains(QStringLiteral("F7")));
        carrega(tipo ? FX2 : CX2);
        base.escreveCelula(1, Preco + 1, QStringLiteral("20"));
        base.confirma();
        carrega(tipo ? FX2 : CX2);
        g()->setFocus();
        g()->setLinhaActual(1);
        QTest::keyClick(g(), Qt::Key_F7);
        QCOMPARE(respostas.mostrados.size(), 1);
        const HistoricoPar h = respostas.mostrados.first();
        QCOMPARE(h.lado, tipo ? LadoPrecos::Fornecedores : LadoPrecos::Clientes);
        QCOMPARE(QStringList({h.entidade, h.nomeEntidade, h.artigo, h.nomeArtigo}),
                 QStringList({tipo ? FX2 : CX2, tipo ? NomeFX2 : NomeCX2, AT1, NomeAT1}));
        QCOMPARE(h.actuais.size(), 1);
        QCOMPARE(h.actuais.first().preco, Moeda::deDouble(20));
        QCOMPARE(h.alteracoes.size(), 1);
        QCOMPARE(h.alteracoes.first().valor.preco, Moeda::deDouble(tipo ? 9.99 : 14));
        QCOMPARE(QApplication::focusWidget(), g());

        base.mensagens.limpa();
        g()->setLinhaActual(4);
        QTest::keyClick(g(), Qt::Key_F7);
        QCOMPARE(respostas.mostrados.size(), 1);
        QCOMPARE(base.textos(), QStringList{QStringLiteral("A linha actual não tem %1 e artigo.")
                                                .arg(tipo ? QStringLiteral("fornecedor") : QStringLiteral("cliente"))});
    }

    // The dialog lists every previous value newest first and draws the price
    // over time only when two values or more have a date, oldest first.
    void graficoSoComDoisValores_data()
    {
        QTest::addColumn<int>("alteracoes");
        QTest::addColumn<int>("actuais");
        QTest::addColumn<bool>("comData");
        QTest::addColumn<QList<double>>("pontos");   // empty: no chart
        QTest::newRow("nunca alterado") << 0 << 1 << true << QList<double>();
        QTest::newRow("sem nada") << 0 << 0 << true << QList<double>();
        QTest::newRow("alterado uma vez") << 1 << 1 << true << QList<double>{10, 12};
        QTest::newRow("anulado") << 1 << 0 << true << QList<double>();
        QTest::newRow("alterado e anulado") << 2 << 0 << true << QList<double>{9, 10};
        QTest::newRow("alterado três vezes") << 3 << 1 << true << QList<double>{8, 9, 10, 12};
        QTest::newRow("valores anteriores sem data") << 2 << 1 << false << QList<double>();
    }
    void graficoSoComDoisValores()
    {
        QFETCH(int, alteracoes);
        QFETCH(int, actuais);
        QFETCH(bool, comData);
        QFETCH(QList<double>, pontos);
        const HistoricoPar h = par(alteracoes, actuais, comData);
        DialogoHistoricoPrecos d(h);
        QCOMPARE(d.lista()->topLevelItemCount(), alteracoes);
        if (alteracoes)
            QCOMPARE(d.lista()->topLevelItem(0)->text(0), QStringLiteral("01-06-2024 09:30:00"));
        QCOMPARE(d.actual()->text(), actuais ? QStringLiteral("Preço actual: 12,00 de 01-06-2024") : QStringLiteral("Sem preço gravado."));
        QCOMPARE(d.grafico() != nullptr, !pontos.isEmpty());
        if (pontos.isEmpty())
            return;
        QList<double> y;
        double x = 0;
        for (const QPointF &p : d.serie()->points()) {
            QVERIFY(p.x() > x);
            x = p.x();
            y << p.y();
        }
        QCOMPARE(y, pontos);
    }

    void colunasDoLado()
    {
        HistoricoPar h = par(1, 1);
        DialogoHistoricoPrecos f(h);
        QCOMPARE(f.lista()->topLevelItem(0)->text(5), QStringLiteral("R"));
        h.lado = LadoPrecos::Clientes;
        DialogoHistoricoPrecos c(h);
        QStringList cabecalhos;
        for (int i = 0; i < c.lista()->columnCount(); ++i)
            cabecalhos << c.lista()->headerItem()->text(i);
        QCOMPARE(cabecalhos, (QStringList{"Alterado em", "Utilizador", "Operação", "Data", "Preço", "Obs"}));
        QCOMPARE(c.lista()->topLevelItem(0)->text(2), QStringLiteral("Alterado"));
        QCOMPARE(c.cabecalho()->text(), QStringLiteral("Cliente: FX1    Artigo: AT1"));
    }

    // Another program saves again and again and is killed at random instants,
    // in the middle of a save too: every price it left has exactly its
    // history, every record it deleted exactly one history row, and the
    // purchase help the last price.
    void morteAMeioDaGravacao()
    {
        QVERIFY(base.copia());
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                                      "INSERT INTO mvk_Precos_Forn (Id_Preco, Fornecedor, Artigo, Data, Preco, RefForn) "
                                                      "SELECT %2 + i, 'FX1', 'AT2', '2024-01-01 00:00:00', i, '' FROM n")
                                           .arg(Retirados - 1)
                                           .arg(PrimeiroRetirado)));
        const QString ficheiro = base.ficheiro();
        int anterior = 0;
        for (int volta = 0; volta < 6; ++volta) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gravador"), ficheiro});
            QVERIFY2(p.waitForStarted(10000), "o gravador não começou");
            QVERIFY2(esperaLinha(p, "gravou", 30000), "o gravador não gravou em 30 s");
            QThread::msleep(QRandomGenerator::global()->bounded(5, 120));
            QCOMPARE(p.state(), QProcess::Running);
            p.kill();
            QVERIFY2(p.waitForFinished(10000), "o gravador não terminou");

            const Moeda preco = Moeda::deValor(bd().valorUnico(QStringLiteral("SELECT Preco FROM mvk_Precos_Forn WHERE Id_Preco = 100004")));
            const int feitas = int((preco - Moeda::deDouble(9.99)).decimosMilesimos() / 10000);
            QVERIFY2(feitas > anterior, qPrintable(QStringLiteral("volta %1: %2 gravações").arg(volta).arg(feitas)));
            anterior = feitas;
            // Every price from the first to the one before the last, once each.
            const QVariantList alteracoes = registo(bd(), QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT Preco), MIN(Preco), MAX(Preco) "
                                                                         "FROM mvk_Precos_Historico WHERE Id_Preco = 100004 "
                                                                         "AND Operacao = 'ALTERADO'"),
                                                    {});
            QCOMPARE(alteracoes.value(0).toInt(), feitas);
            QCOMPARE(alteracoes.value(1).toInt(), feitas);
            QCOMPARE(Moeda::deValor(alteracoes.value(2)), Moeda::deDouble(9.99));
            QCOMPARE(Moeda::deValor(alteracoes.value(3)), preco - Moeda::deDouble(1));
            const QVariantList anuladas = registo(bd(), QStringLiteral("SELECT COUNT(*), MIN(Id_Preco), MAX(Id_Preco) FROM mvk_Precos_Historico "
                                                                       "WHERE Operacao = 'ANULADO'"),
                                                  {});
            QCOMPARE(anuladas, (QVariantList{feitas, PrimeiroRetirado, PrimeiroRetirado + feitas - 1}));
            QCOMPARE(bd().valorUnico(QStringLiteral("SELECT MIN(Id_Preco) || ' ' || COUNT(*) FROM mvk_Precos_Forn WHERE Id_Preco >= ?"),
                                     {PrimeiroRetirado})
                         .toString(),
                     QStringLiteral("%1 %2").arg(PrimeiroRetirado + feitas).arg(Retirados - feitas));
            QCOMPARE(Moeda::deValor(bd().valorUnico(QStringLiteral("SELECT PrProx FROM AjudaCmp WHERE Artigo = 'AT1' AND Forneced = 'FX2'"))),
                     preco);
        }
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--gravador") == 0) {
        QCoreApplication app(argc, argv);
        return gravador(QString::fromLocal8Bit(argv[2]));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoTessela app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TstHistoricoPrecos tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_historicoprecos.moc"
