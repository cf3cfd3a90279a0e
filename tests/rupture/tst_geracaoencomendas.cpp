// Generating supplier orders from "Ruptura de Stocks": the round trip from
// the analysis to the orders and back, suppliers told apart by their whole
// code, refused orders and failed marks at each place (the marks done by the
// next load), another program's write lock, the order-document defaults, the
// purchase help, and a button pressed more than once.
#include "baseruptura.h"
#include "consultas.h"
#include "ficheiroini.h"
#include "geracaoencomendas.h"
#include "gravacaonecessidades.h"
#include "leitoresruptura.h"
#include "programa.h"
#include "outroprograma.h"
#include "sessaoerp.h"
#include "testmain.h"

#include <QElapsedTimer>

#include <QKeyEvent>
#include <QLabel>

using namespace DadosRuptura;
using namespace ColunasNecessidades;

class TstGeracaoEncomendas : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    SessaoErp erp;
    int primeiro = 0;   // the number the next order gets
    RupturaStocks *j() const { return base.janela; }
    LigacaoBd &bd() { return base.bd; }

    // The window of mode 1 with the ERP session on the same database and the
    // analysis of 30 days loaded: needs 1 (RA1, FA3), 2 (RA2, no supplier),
    // 4 (RA4, FA2), 6 (RA5, FA1) and any need added by antes.
    void abre(const QString &antes = QString())
    {
        QVERIFY(base.abre(1));
        if (!antes.isEmpty())
            VERIFICA_BD(bd(), bd().Executa(antes));
        QVERIFY2(erp.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(),
                          QString::number(QDate::currentDate().year()), base.pasta.filePath(QStringLiteral("teste.db"))),
                 qPrintable(erp.mensagemResultado()));
        erp.setLigacao(&bd());
        j()->setSessao(&erp);
        primeiro = bd().valorUnico(QStringLiteral("SELECT COALESCE(MAX(nnumdoc), 0) + 1 FROM DOCGCCAB WHERE Tpdoc = 'ENF' "
                                                  "AND serie = '1' AND ano = ?"),
                                   {QDate::currentDate().year()})
                       .toInt();
        j()->Campo(11)->setText(QStringLiteral("30"));
        base.carrega();
    }
    void gera()
    {
        base.mensagens.limpa();
        QTest::mouseClick(j()->mvkBotao1(), Qt::LeftButton);
    }
    // "FA3 nº+0: RA1 6.0 x 7.5; RA5 4.0 x 5.0" per order created since
    // abre(), the number relative to the first.
    QStringList encomendas()
    {
        return bd().valorUnico(QStringLiteral(
                                   "SELECT group_concat(e, '/') FROM (SELECT Terceiro || ' nº+' || (nnumdoc - ?) || ': ' "
                                   "|| group_concat(l, '; ') AS e FROM (SELECT c.Terceiro, c.nnumdoc, l.Artigo || ' ' || l.Quant "
                                   "|| ' x ' || l.Prunit AS l FROM DOCGCCAB c JOIN docgclin l ON l.Tpdocum = c.Tpdoc AND "
                                   "l.serie = c.serie AND l.Ano = c.ano AND l.nnumdoc = c.nnumdoc WHERE c.Tpdoc = 'ENF' AND "
                                   "c.serie = '1' AND c.ano = ? AND c.nnumdoc >= ? ORDER BY c.nnumdoc, l.NumLinha) "
                                   "GROUP BY nnumdoc ORDER BY nnumdoc)"),
                               {primeiro, QDate::currentDate().year(), primeiro})
            .toString()
            .split(QLatin1Char('/'), Qt::SkipEmptyParts);
    }
    QString pendentes()
    {
        return bd().valorUnico(QStringLiteral("SELECT group_concat(Id) FROM (SELECT Id FROM mvk_Necessidades WHERE Processado = 0 "
                                              "ORDER BY Id)")).toString();
    }
    // Some columns of a purchase-help record and the day of DataPart.
    QString ajuda(const char *artigo, const char *fornecedor)
    {
        return bd().valorUnico(QStringLiteral("SELECT Forneced || '|' || RefArt || '|' || IFNULL(Data, 'NULL') || '|' || PrUltFor "
                                              "|| '|' || Qtd || '|' || Moeda || '|' || PrProx || '|' || Descr || '|' || "
                                              "substr(DataPart, 1, 10) FROM AjudaCmp WHERE Artigo = ? AND Forneced = ?"),
                               {QString::fromLatin1(artigo), QString::fromLatin1(fornecedor)})
            .toString();
    }
    QString n(int mais) const { return QString::number(primeiro + mais); }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
        Programa::setFicheiroConfiguracao(base.pasta.filePath(QStringLiteral("tessela.mvk")));
    }
    void cleanup()
    {
        erp.Desliga();
        base.fecha();
    }

    void geraEAnalisaDeNovo()
    {
        abre(QStringLiteral("INSERT INTO mvk_Necessidades (Id, Artigo, Qtd, PrUnit, Processado) VALUES (8, 'RA4', 2, 0, 0)"));
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("UPDATE AjudaCmp SET PrUltFor = 6.25, Moeda = 'USD', Descr = 'mantida' "
                                                       "WHERE Artigo = 'RA1' AND Forneced = 'FA3'")));
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 4, 8, 6}));
        QVERIFY(j()->mvkBotao1()->isEnabled());
        // Need 8 to 0; need 6 to supplier "fa3" with a reference of its own;
        // need 2 (no supplier) gets a reference.
        base.escreveCelula(4, Enc, QStringLiteral("0"));
        base.escreveCelula(5, Forn, QStringLiteral("fa3"));
        base.escreveCelula(5, RefForn, QStringLiteral("NOVA-REF"));
        base.escreveCelula(2, RefForn, QStringLiteral("SEM-FORN"));
        gera();
        QCOMPARE(base.mensagens.quantos(), 0);
        // One order per supplier in order of first occurrence, lines in grid order.
        QCOMPARE(encomendas(), (QStringList{"FA3 nº+0: RA1 6.0 x 7.5; RA5 4.0 x 5.0", "FA2 nº+1: RA4 8.0 x 12.0"}));
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Encomenda FA3 nº %1, Encomenda FA2 nº %2").arg(n(0), n(1)));
        // Ordered needs processed; no supplier, quantity 0 and needs 3 and 7 (not shown) pending.
        QCOMPARE(pendentes(), QStringLiteral("2,3,7,8"));
        // Purchase help: an existing record keeps its other columns, a new one
        // gets the defaults, a row without a supplier writes none.
        const QString hoje = QDate::currentDate().toString(Qt::ISODate);
        QCOMPARE(ajuda("RA1", "FA3"), QStringLiteral("FA3|N-REF1|NULL|6.25|1.0|USD|7.5|mantida|") + hoje);
        QCOMPARE(ajuda("RA5", "FA3"), QStringLiteral("FA3|NOVA-REF|NULL|0.0|1.0|EUR|5.0||") + hoje);
        QCOMPARE(ajuda("RA4", "FA2").section(QLatin1Char('|'), 1, 1), QStringLiteral("AJ-42"));
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT COUNT(*) FROM AjudaCmp WHERE Artigo = 'RA2' OR Forneced = ''")).toInt(), 0);
        QVERIFY(base.ids().isEmpty() && !j()->mvkBotao1()->isEnabled());

        // Analysed again: the ordered needs are gone, and the new orders are
        // pending from suppliers (need 8 is now covered by the order of RA4).
        base.carrega();
        QCOMPARE(base.ids(), QList<qint64>{2});
        Recordset rs;
        QVERIFY(LerQtdFornecedor(bd(), QStringLiteral("RA1"), QStringLiteral("RA5"), rs));
        QStringList pend;
        for (; !rs.Eof(); rs.MoveNext())
            pend << TextoDe(rs.Valor(0)) + QLatin1Char('=') + TextoDe(rs.Valor(1));
        QCOMPARE(pend, (QStringList{"RA1=10", "RA3=6", "RA4=8", "RA5=4"}));
    }

    // Rows straight to the generation: suppliers told apart by their whole
    // code ("FA3" is not "FA31"), as the ERP compares them ("fa3" is "FA3"),
    // lines of quantity 0 or below left out, a need processed meanwhile not
    // ordered again.
    void fornecedoresPorCodigoInteiro()
    {
        abre(QStringLiteral("INSERT INTO Fornec (Codigo, Nome) VALUES ('FA31', 'Fornecedor Trinta e Um')"));
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("UPDATE mvk_Necessidades SET Processado = 1 WHERE Id = 3")));
        const auto linha = [](QVariant id, const char *artigo, const char *fornecedor, double qtd) {
            LinhaNecessidade l;
            l.id = id;
            l.artigo = QString::fromLatin1(artigo);
            l.fornec = QString::fromLatin1(fornecedor);
            l.qtd = Moeda::deDouble(qtd);
            l.comQtd = true;
            l.prUnit = Moeda::deDouble(1);
            return l;
        };
        const QList<LinhaNecessidade> linhas{linha(1, "RA1", "FA31", 3), linha(2, "RA2", "FA3", 0), linha(4, "RA4", "fa3", 5),
                                             linha(6, "RA5", "FA3", -1), linha({}, "RA5", "FA31", 2), linha(3, "RA3", "FA3", 7),
                                             linha({}, "RA1", "FA3", 1)};
        GeracaoEncomendas g(bd(), erp);
        QVERIFY(g.gera(linhas, {QStringLiteral("ENF"), QStringLiteral("001"), QStringLiteral("1"), QStringLiteral("1")},
                       QDate::currentDate()));
        QCOMPARE(encomendas(), (QStringList{"FA31 nº+0: RA1 3.0 x 1.0; RA5 2.0 x 1.0", "FA3 nº+1: RA4 5.0 x 1.0; RA1 1.0 x 1.0"}));
        QCOMPARE(g.jaEncomendadas(), 1);
        QCOMPARE(pendentes(), QStringLiteral("2,6,7"));
        QCOMPARE(g.resumo(), QStringLiteral("Encomenda FA31 nº %1, Encomenda FA3 nº %2; 1 linha já estava encomendada").arg(n(0), n(1)));
    }

    // The ERP refuses the first, a middle or the last supplier's order: its
    // message is shown, its need stays pending, the others are ordered.
    void encomendaRecusada_data()
    {
        QTest::addColumn<QString>("artigo");
        QTest::addColumn<QString>("pendentes");
        QTest::addColumn<QStringList>("criadas");
        QTest::newRow("primeira") << "RA1" << "1,2,3,7" << QStringList{"FA2", "FA1"};
        QTest::newRow("do meio") << "RA4" << "2,3,4,7" << QStringList{"FA3", "FA1"};
        QTest::newRow("última") << "RA5" << "2,3,6,7" << QStringList{"FA3", "FA2"};
    }
    void encomendaRecusada()
    {
        QFETCH(QString, artigo);
        QFETCH(QString, pendentes);
        QFETCH(QStringList, criadas);
        abre();
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("UPDATE Artigos SET INACTIVO = 1 WHERE CODIGO = ?"), {artigo}));
        gera();
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Linha 1: o artigo %1 está inactivo.").arg(artigo)});
        QCOMPARE(base.mensagens.ultimo().icone, PedidoMensagem::Informacao);
        const QStringList e = encomendas();
        QCOMPARE(e.size(), 2);
        QCOMPARE((QStringList{e[0].section(QLatin1Char(' '), 0, 1), e[1].section(QLatin1Char(' '), 0, 1)}),
                 (QStringList{criadas[0] + QStringLiteral(" nº+0:"), criadas[1] + QStringLiteral(" nº+1:")}));
        QCOMPARE(this->pendentes(), pendentes);
        QVERIFY(j()->Label2(8)->text().endsWith(QStringLiteral("; 1 encomenda recusada")));
    }

    // The ERP accepted the order but its needs could not be marked (the
    // first order, the second need of an order, a database failure): the
    // buyer is told the order and the needs, which stay claimed by it (never
    // ordered again), the other orders go on, and the next load marks them.
    void marcacaoFalhada_data()
    {
        QTest::addColumn<QString>("recusa");
        QTest::addColumn<QString>("marca");
        QTest::addColumn<QString>("encomenda");
        QTest::addColumn<QList<qint64>>("porMarcar");
        const char *gatilho = "CREATE TRIGGER r BEFORE UPDATE OF Processado ON mvk_Necessidades WHEN OLD.Id = %1 "
                              "BEGIN SELECT RAISE(ABORT, 'recusada'); END";
        QTest::newRow("primeira encomenda") << QString::fromLatin1(gatilho).arg(1) << QString() << "FA3" << QList<qint64>{1};
        QTest::newRow("segunda necessidade") << QString::fromLatin1(gatilho).arg(6) << QString() << "FA2" << QList<qint64>{4, 6};
        QTest::newRow("falha da base") << QString() << "SET Processado = 1" << "FA3" << QList<qint64>{1};
    }
    void marcacaoFalhada()
    {
        QFETCH(QString, recusa);
        QFETCH(QString, marca);
        QFETCH(QString, encomenda);
        QFETCH(QList<qint64>, porMarcar);
        abre();
        base.escreveCelula(4, Forn, QStringLiteral("FA2"));   // FA2: needs 4 and 6
        if (!recusa.isEmpty())
            VERIFICA_BD(bd(), bd().Executa(recusa));
        else
            bd().falhaNoProximo(marca);
        gera();
        QCOMPARE(encomendas().size(), 2);
        QCOMPARE(base.mensagens.quantos(), 1);
        const QString texto = base.mensagens.ultimo().texto;
        const QString numero = encomenda == QLatin1String("FA3") ? n(0) : n(1);
        QVERIFY2(texto.startsWith(QStringLiteral("A Encomenda %1 nº %2 foi criada no ERP").arg(encomenda, numero)), qPrintable(texto));
        for (qint64 id : porMarcar)
            QVERIFY2(texto.contains(QStringLiteral("%1 (RA").arg(id)), qPrintable(texto));
        QVERIFY(texto.contains(QStringLiteral("Ficam reservadas para esta encomenda")));
        QVERIFY(j()->Label2(8)->toolTip().endsWith(QStringLiteral("necessidades por marcar: Encomenda %1 nº %2").arg(encomenda, numero)));
        QCOMPARE(bd().nivelTransaccao(), 0);
        // Claimed, not pending: a generation now leaves them out.
        for (qint64 id : porMarcar)
            QVERIFY(!bd().valorUnico(QStringLiteral("SELECT Reserva FROM mvk_Necessidades WHERE Id = ?"), {id}).isNull());
        // The next load marks them with their order's number.
        bd().Executa(QStringLiteral("DROP TRIGGER IF EXISTS r"));
        base.carrega();
        for (qint64 id : porMarcar)
            QCOMPARE(bd().valorUnico(QStringLiteral("SELECT Processado || ' ' || EncNumero || ' ' || IFNULL(Reserva, '-') FROM "
                                                    "mvk_Necessidades WHERE Id = ?"),
                                     {id})
                         .toString(),
                     QStringLiteral("1 %1 -").arg(numero));
        QCOMPARE(pendentes(), QStringLiteral("2,3,7"));
        QCOMPARE(encomendas().size(), 2);
    }

    // Another program holds the file's write lock for the whole generation:
    // one bounded wait, one message naming the cause, nothing written, the
    // grid as the buyer left it; once the lock goes, the same grid generates.
    void sobBloqueio()
    {
        abre();
        base.escreveCelula(1, Enc, QStringLiteral("7"));
        const QList<qint64> antes = base.ids();
        constexpr int Espera = 1000;
        bd().setEsperas(100, Espera);
        erp.ligacaoErp()->setEsperas(100, Espera);
        OutroPrograma outro(base.pasta.filePath(QStringLiteral("teste.db")));
        QCOMPARE(outro.executa("BEGIN EXCLUSIVE"), QString());
        QElapsedTimer relogio;
        relogio.start();
        gera();
        const qint64 ms = relogio.elapsed();
        QVERIFY2(ms <= Espera + 1000, qPrintable(QStringLiteral("%1 ms").arg(ms)));
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY2(base.mensagens.ultimo().texto.contains(QStringLiteral("bloqueada por outro programa")),
                 qPrintable(base.mensagens.ultimo().texto));
        QCOMPARE(j()->Label2(8)->toolTip(), QStringLiteral("Nenhuma encomenda criada; 3 encomendas não gravadas por falha da base de dados"));
        QCOMPARE(outro.executa("COMMIT"), QString());
        QVERIFY(encomendas().isEmpty());
        QCOMPARE(pendentes(), QStringLiteral("1,2,3,4,6,7"));
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE Reserva IS NOT NULL")).toInt(), 0);
        QCOMPARE(base.ids(), antes);
        QCOMPARE(GravacaoNecessidades::leLinha(*base.g(), 0).qtd, Moeda::deDouble(7));
        gera();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(encomendas(), (QStringList{"FA3 nº+0: RA1 7.0 x 7.5", "FA2 nº+1: RA4 8.0 x 12.0", "FA1 nº+2: RA5 4.0 x 5.0"}));
        QCOMPARE(pendentes(), QStringLiteral("2,3,7"));
    }

    // The ERP's own write fails after the needs were claimed: the
    // generation stops there, the claim stays (whether the order was written
    // is not known), and the second press resolves it and orders each need once.
    void falhaDaBaseNoErp()
    {
        abre();
        const QList<qint64> antes = base.ids();
        erp.ligacaoErp()->falhaNoProximo(QStringLiteral("INSERT INTO DOCGCCAB"));
        gera();
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY(base.mensagens.ultimo().texto.contains(QStringLiteral("ficam reservadas")));
        QCOMPARE(j()->Label2(8)->toolTip(), QStringLiteral("Nenhuma encomenda criada; 3 encomendas não gravadas por falha da base de dados"));
        QVERIFY(encomendas().isEmpty());
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT group_concat(Id) FROM mvk_Necessidades WHERE Reserva IS NOT NULL")).toString(),
                 QStringLiteral("1"));
        QCOMPARE(base.ids(), antes);
        gera();
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(encomendas(), (QStringList{"FA3 nº+0: RA1 6.0 x 7.5", "FA2 nº+1: RA4 8.0 x 12.0", "FA1 nº+2: RA5 4.0 x 5.0"}));
        QCOMPARE(pendentes(), QStringLiteral("2,3,7"));
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE Reserva IS NOT NULL")).toInt(), 0);
    }

    // Another buyer's "Necessidades de Encomendas", loaded before this
    // generation, confirms after it (the ordered needs are left as they are
    // and named; need 2 is saved) or before it (need 4 changed to 9 and
    // need 7 removed: the generation orders the grid's rows once, and the
    // later confirm of the same window finds nothing of its own).
    void confirmarEGeracao_data()
    {
        QTest::addColumn<bool>("confirmaPrimeiro");
        QTest::newRow("confirmar depois") << false;
        QTest::newRow("confirmar antes") << true;
    }
    void confirmarEGeracao()
    {
        QFETCH(bool, confirmaPrimeiro);
        abre();
        FiltrosRuptura f;
        f.Tipo = 2;
        QList<LinhaRuptura> lidas;
        AnaliseRuptura lista(bd());
        QVERIFY2(lista.carrega(f, lidas), qPrintable(lista.erro()));
        QList<LinhaNecessidade> linhas;
        QHash<qint64, qint64> versoes;
        for (const LinhaRuptura &r : std::as_const(lidas)) {
            versoes.insert(r.id, r.versao);
            if (r.id == 7)
                continue;   // removed from that grid
            LinhaNecessidade l;
            l.id = r.id;
            l.artigo = r.artigo;
            l.qtd = r.id == 4 ? Moeda::deDouble(9) : r.enc;
            l.comQtd = true;
            l.fornec = r.forn;
            l.prUnit = r.precEc;
            l.dataPedido = r.dataUlt;
            linhas << l;
        }
        GravacaoNecessidades outra(bd());
        if (confirmaPrimeiro) {
            QVERIFY2(outra.grava(linhas, {7}, versoes), qPrintable(outra.erro()));
            QVERIFY2(outra.saltadas().isEmpty(), qPrintable(outra.textoSaltadas()));
        }
        gera();
        QCOMPARE(base.mensagens.quantos(), 0);
        // The grid of this window was loaded before the confirm: its rows are ordered as shown.
        QCOMPARE(encomendas(), (QStringList{"FA3 nº+0: RA1 6.0 x 7.5", "FA2 nº+1: RA4 8.0 x 12.0", "FA1 nº+2: RA5 4.0 x 5.0"}));
        if (!confirmaPrimeiro) {
            QVERIFY2(outra.grava(linhas, {7}, versoes), qPrintable(outra.erro()));
            QCOMPARE(outra.textoSaltadas(),
                     QStringLiteral("As restantes necessidades foram gravadas, mas estas ficaram como estavam na base de dados:\r\n"
                                    "Necessidade 1 (RA1): já foi encomendada.\r\nNecessidade 4 (RA4): já foi encomendada.\r\n"
                                    "Necessidade 6 (RA5): já foi encomendada."));
        } else {
            // Saved again from the same load: every need is now someone else's.
            QVERIFY2(outra.grava(linhas, {}, versoes), qPrintable(outra.erro()));
            QCOMPARE(outra.saltadas().size(), linhas.size());
        }
        // Processed needs keep their order; none became pending again.
        QCOMPARE(pendentes(), QStringLiteral("2,3"));
        QCOMPARE(bd().valorUnico(QStringLiteral("SELECT group_concat(Id || ':' || Processado || ':' || EncNumero) FROM "
                                                "(SELECT * FROM mvk_Necessidades WHERE EncNumero IS NOT NULL ORDER BY Id)"))
                     .toString(),
                 QStringLiteral("1:1:%1,4:1:%2,6:1:%3").arg(n(0), n(1), n(2)));
    }

    // The order-document defaults against their columns (5 characters): at
    // the limit they are used, one past it the generation is refused naming
    // the setting and its limit, and nothing is written.
    void definicoesDoDocumento_data()
    {
        QTest::addColumn<QString>("chave");
        QTest::addColumn<QString>("valor");
        QTest::addColumn<bool>("aceite");
        QTest::newRow("sector no limite") << "Sector" << "12345" << true;
        QTest::newRow("armazém no limite") << "Armazem" << "A2345" << true;
        QTest::newRow("sector longo") << "Sector" << "123456" << false;
        QTest::newRow("armazém longo") << "Armazem" << "A23456" << false;
        QTest::newRow("série longa") << "Serie" << "123456" << false;
        QTest::newRow("tipo longo") << "Tipo documento" << "ENFXXX" << false;
    }
    void definicoesDoDocumento()
    {
        QFETCH(QString, chave);
        QFETCH(QString, valor);
        QFETCH(bool, aceite);
        abre();
        FicheiroIni ini(Programa::ficheiroConfiguracao());
        const QString seccao = QStringLiteral("Encomenda Next");
        const QString antes = ini.Le(seccao, chave);
        QVERIFY(ini.Escreve(seccao, chave, valor));
        gera();
        QVERIFY(ini.Escreve(seccao, chave, antes));
        if (aceite) {
            QCOMPARE(base.mensagens.quantos(), 0);
            QCOMPARE(encomendas().size(), 3);
            const QString coluna = chave == QLatin1String("Sector") ? QStringLiteral("Sector") : QStringLiteral("Armazem");
            QCOMPARE(bd().valorUnico(QStringLiteral("SELECT %1 FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND nnumdoc = ?").arg(coluna), {primeiro})
                         .toString(),
                     valor);
            return;
        }
        QCOMPARE(base.mensagens.quantos(), 1);
        const QString texto = base.mensagens.ultimo().texto;
        QVERIFY2(texto.contains(QStringLiteral("\"%1\" da secção \"Encomenda Next\"").arg(chave)) && texto.contains(QStringLiteral("o máximo é 5"))
                     && texto.contains(Programa::ficheiroConfiguracao()),
                 qPrintable(texto));
        QVERIFY(encomendas().isEmpty());
        QCOMPARE(pendentes(), QStringLiteral("1,2,3,4,6,7"));
        QCOMPARE(base.ids(), (QList<qint64>{1, 2, 4, 6}));
    }

    // Pressed twice quickly, with the Enter key held, or called again while it
    // runs: each order is created once, and a held key types nothing after.
    void cadaEncomendaUmaVez()
    {
        abre();
        Botao *b = j()->mvkBotao1();
        b->setFocus();
        for (int i = 0; i < 3; ++i)
            QCoreApplication::postEvent(b, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true));
        QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection);
        QMetaObject::invokeMethod(j(), &RupturaStocks::gera, Qt::QueuedConnection);
        QTest::keyPress(b, Qt::Key_Return);
        QCoreApplication::processEvents();
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(encomendas().size(), 3);
        QCOMPARE(base.mensagens.quantos(), 0);
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Encomenda FA3 nº %1, Encomenda FA2 nº %2, Encomenda FA1 nº %3").arg(n(0), n(1), n(2)));
        // The key still held: its repeats type nothing into the cleared
        // window until it is let go.
        QCOMPARE(QApplication::focusWidget(), j()->Campo(0));
        QKeyEvent repetida(QEvent::KeyPress, Qt::Key_G, Qt::AltModifier, QStringLiteral("g"), true);
        QApplication::sendEvent(j()->Campo(0), &repetida);
        QTest::keyRelease(j()->Campo(0), Qt::Key_Return);
        QTest::keyClicks(j()->Campo(0), QStringLiteral("r"));
        QCOMPARE(j()->Campo(0)->text(), QStringLiteral("r"));
    }

    // A series the ERP does not know refuses the first order and stops: the
    // others would be refused alike. What is not generated keeps the grid:
    // no ERP session, nothing to order. A purchase help that cannot be
    // written leaves the orders and marks.
    void semEncomendaOuSemAjuda()
    {
        abre();
        FicheiroIni ini(Programa::ficheiroConfiguracao());
        QVERIFY(ini.Escreve(QStringLiteral("Encomenda Next"), QStringLiteral("Serie"), QStringLiteral("Z")));
        gera();
        QVERIFY(ini.Escreve(QStringLiteral("Encomenda Next"), QStringLiteral("Serie"), QStringLiteral("1")));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("A série \"Z\" não existe para o tipo de documento ENF.")});
        QVERIFY(encomendas().isEmpty());
        QCOMPARE(pendentes(), QStringLiteral("1,2,3,4,6,7"));
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Nenhuma encomenda criada; 1 encomenda recusada; 2 encomendas por gerar"));
        base.carrega();

        j()->setSessao(nullptr);
        gera();
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Não há ligação ao ERP: as encomendas não podem ser geradas.")});
        j()->setSessao(&erp);
        // Nothing to order: the purchase help is still written for the rows
        // with a supplier and a reference, and the window is cleared.
        for (int linha : {1, 3, 4})
            base.escreveCelula(linha, Enc, QStringLiteral("0"));
        base.escreveCelula(1, RefForn, QStringLiteral("SO-AJUDA"));
        gera();
        QCOMPARE(base.mensagens.quantos(), 0);
        QVERIFY(encomendas().isEmpty());
        QCOMPARE(ajuda("RA1", "FA3").section(QLatin1Char('|'), 1, 1), QStringLiteral("SO-AJUDA"));
        QVERIFY(base.ids().isEmpty());
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Nenhuma encomenda criada"));
        base.carrega();
        for (int linha : {3, 4})
            base.escreveCelula(linha, Enc, QStringLiteral("0"));
        base.escreveCelula(1, Enc, QStringLiteral("6"));
        VERIFICA_BD(bd(), bd().Executa(QStringLiteral("CREATE TRIGGER r BEFORE UPDATE ON AjudaCmp BEGIN SELECT RAISE(ABORT, 'recusada'); END")));
        const QString antes = ajuda("RA1", "FA3");
        gera();
        QCOMPARE(encomendas().size(), 1);
        QCOMPARE(pendentes(), QStringLiteral("2,3,4,6,7"));
        QCOMPARE(base.mensagens.quantos(), 1);
        QVERIFY(base.mensagens.ultimo().texto.contains(QStringLiteral("RA1 / FA3")));
        QCOMPARE(ajuda("RA1", "FA3"), antes);
        QCOMPARE(j()->Label2(8)->text(), QStringLiteral("Encomenda FA3 nº %1; ajuda de compra por gravar").arg(n(0)));
    }
};

TESSELA_TEST_MAIN(TstGeracaoEncomendas)
#include "tst_geracaoencomendas.moc"
