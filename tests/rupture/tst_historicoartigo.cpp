// The article history: its monthly figures against sums written here
// independently of the reader, on the rows of known content and on the demo
// company's own documents (months without movement, an article without any);
// the suppliers that quoted or sold, cheapest first; the pending orders; the
// chart drawing the figures read; and, from the rupture window, F8 opening it
// on the current row and a supplier chosen there put in the row as if typed.
#include "baseruptura.h"
#include "consultas.h"
#include "graficohistorico.h"
#include "historicoartigo.h"
#include "janelahistorico.h"
#include "leitoresruptura.h"
#include "testmain.h"

#include <QBarSet>
#include <QLineSeries>
#include <QTableWidget>

using namespace DadosRuptura;
using namespace ColunasNecessidades;

namespace {

struct Soma
{
    double vendido = 0, comprado = 0;
};

// Sold and bought per month ("yyyy-MM") of an article, summed by SQLite's own
// date functions with the document kinds' flags spelt out here.
QHash<QString, Soma> somasIndependentes(LigacaoBd &bd, const QString &artigo, const QDate &inicio, const QDate &fim, bool *ok)
{
    QHash<QString, Soma> r;
    Recordset rs;
    *ok = bd.AbreConsulta(
        QStringLiteral("SELECT strftime('%Y-%m', l.Data),"
                       " SUM(CASE WHEN t.Areag = 4 AND t.tpoper = 2 AND t.entidade = 2 AND t.natconta = 1 AND t.sinalct = 1 THEN l.Quant ELSE 0 END),"
                       " SUM(CASE WHEN t.Areag = 4 AND t.tpoper = 1 AND t.entidade = 1 AND t.natconta = 1 AND t.sinalct = 2 THEN l.Quant ELSE 0 END)"
                       " FROM docgclin l, Tpdoc t WHERE t.Codigo = l.Tpdocum AND l.Artigo = ? AND l.Linanu = 0"
                       " AND substr(l.Data, 1, 10) >= ? AND substr(l.Data, 1, 10) <= ? GROUP BY 1"),
        rs, {artigo, inicio.toString(Qt::ISODate), fim.toString(Qt::ISODate)});
    for (int i = 0; *ok && i < rs.RecordCount(); ++i)
        r.insert(rs.valorEm(i, 0).toString(), {rs.valorEm(i, 1).toDouble(), rs.valorEm(i, 2).toDouble()});
    return r;
}

// The suppliers that quoted or sold an article, as codes in upper case.
QStringList fornecedoresIndependentes(LigacaoBd &bd, const QString &artigo, bool *ok)
{
    Recordset rs;
    *ok = bd.AbreConsulta(QStringLiteral("SELECT upper(Fornecedor) FROM mvk_Precos_Forn WHERE upper(Artigo) = upper(?) UNION "
                                         "SELECT upper(c.Terceiro) FROM docgclin l, Tpdoc t, DOCGCCAB c WHERE t.Codigo = l.Tpdocum"
                                         " AND t.Areag = 4 AND t.tpoper = 1 AND t.entidade = 1 AND t.natconta = 1 AND t.sinalct = 2"
                                         " AND c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
                                         " AND upper(l.Artigo) = upper(?) AND l.Linanu = 0 ORDER BY 1"),
                          rs, {artigo, artigo});
    QStringList r;
    for (int i = 0; *ok && i < rs.RecordCount(); ++i)
        r << rs.valorEm(i, 0).toString();
    return r;
}

QStringList codigos(const DadosHistorico &d)
{
    QStringList r;
    for (const FornecedorHistorico &f : d.fornecedores)
        r << f.codigo.toUpper();
    return r;
}

int mesDe(const QDate &d, const QDate &hoje)
{
    const QDate inicio = HistoricoArtigo::primeiroDia(hoje);
    return (d.year() - inicio.year()) * 12 + d.month() - inicio.month();
}

} // namespace

class TstHistoricoArtigo : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    Grelha *g() const { return base.g(); }

    DadosHistorico le(const QString &artigo, QDate hoje = QDate::currentDate())
    {
        HistoricoArtigo h(base.bd);
        DadosHistorico d;
        if (!h.le(artigo, hoje, d))
            qWarning() << h.erro();
        return d;
    }
    // The row of the window's grid that holds an article.
    int linhaDe(const QString &artigo) const
    {
        for (int i = 0; i < g()->linhas(); ++i)
            if (g()->matriz(i, Artigo).toString() == artigo)
                return i + 1;
        return 0;
    }
    // Opens the history on a row with F8 pressed in the grid.
    JanelaHistorico *abreHistorico(int linha)
    {
        g()->setFocus();
        g()->setLinhaActual(linha);
        QTest::keyClick(g(), RupturaStocks::TeclaHistorico);
        return base.janela->janelaHistorico();
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void init() { QVERIFY(base.copia()); }
    void cleanup() { base.fecha(); }

    // Known rows, per month: the sales (not the customer credit note) and
    // the purchases (not the supplier credit note) land in their own month;
    // every month of the 24 is there, the empty ones at zero.
    void mesesDasLinhasConhecidas_data()
    {
        QTest::addColumn<QString>("artigo");
        QTest::newRow("RA1") << "RA1";
        QTest::newRow("escrito em minúsculas, com espaço") << "ra1 ";
        QTest::newRow("RA2 sem nenhum movimento") << "RA2";
        QTest::newRow("RA4") << "RA4";
    }
    void mesesDasLinhasConhecidas()
    {
        QFETCH(QString, artigo);
        const QDate hoje = QDate::currentDate();
        const DadosHistorico d = le(artigo);
        QVERIFY(d.existe);
        QCOMPARE(d.meses.size(), HistoricoArtigo::Meses);
        QCOMPARE(d.meses.first().mes, HistoricoArtigo::primeiroDia(hoje));
        QCOMPARE(d.meses.last().mes, QDate(hoje.year(), hoje.month(), 1));
        QVector<double> vendas(HistoricoArtigo::Meses), compras(HistoricoArtigo::Meses);
        if (artigo.trimmed().toUpper() == QLatin1String("RA1")) {
            for (const auto &[dias, q] : {std::pair{0, 3}, {10, 2}, {40, 7}})
                vendas[mesDe(dia(dias), hoje)] += q;
            for (int dias : {100, 20, 20})
                compras[mesDe(dia(dias), hoje)] += 1;
        } else if (artigo == QLatin1String("RA4")) {
            vendas[mesDe(dia(3), hoje)] += 8;
        }
        for (int i = 0; i < HistoricoArtigo::Meses; ++i) {
            QCOMPARE(d.meses[i].vendido.paraDouble(), vendas[i]);
            QCOMPARE(d.meses[i].comprado.paraDouble(), compras[i]);
        }
    }

    // The demo company's generated documents: every month of several
    // articles against the independent sums, including months without
    // movement (the documents cover one year of the two).
    void mesesDaEmpresaDemo()
    {
        const QDate hoje = QDate::currentDate();
        int comMovimento = 0, semMovimento = 0;
        for (int n = 0; n < 40; ++n) {
            const QString artigo = GeradorDemo::codigoArtigo(n);
            bool ok = false;
            const QHash<QString, Soma> esperado = somasIndependentes(base.bd, artigo, HistoricoArtigo::primeiroDia(hoje), hoje, &ok);
            QVERIFY2(ok, qPrintable(base.bd.ultimoErro().texto()));
            const DadosHistorico d = le(artigo);
            QCOMPARE(d.meses.size(), HistoricoArtigo::Meses);
            for (const MesHistorico &m : d.meses) {
                const Soma s = esperado.value(m.mes.toString(QStringLiteral("yyyy-MM")));
                const QString onde = artigo + QLatin1Char(' ') + m.mes.toString(QStringLiteral("MM-yyyy"));
                QVERIFY2(qAbs(m.vendido.paraDouble() - s.vendido) < 1e-6, qPrintable(onde));
                QVERIFY2(qAbs(m.comprado.paraDouble() - s.comprado) < 1e-6, qPrintable(onde));
                (s.vendido != 0 || s.comprado != 0 ? comMovimento : semMovimento)++;
            }
        }
        QVERIFY(comMovimento > 40);
        QVERIFY(semMovimento > 40 * 10);
    }

    // A month's bounds are whole days: a line of the first day of the
    // oldest month counts in it, one of the day before does not, nor one
    // dated tomorrow.
    void limitesDoPeriodo_data()
    {
        QTest::addColumn<int>("deslocamento");   // days from the first day of the oldest month
        QTest::addColumn<int>("mes");            // where it counts, -1 nowhere
        const QDate hoje = QDate::currentDate();
        const QDate inicio = HistoricoArtigo::primeiroDia(hoje);
        QTest::newRow("primeiro dia") << 0 << 0;
        QTest::newRow("dia anterior") << -1 << -1;
        QTest::newRow("hoje") << int(inicio.daysTo(hoje)) << HistoricoArtigo::Meses - 1;
        QTest::newRow("amanhã") << int(inicio.daysTo(hoje) + 1) << -1;
    }
    void limitesDoPeriodo()
    {
        QFETCH(int, deslocamento);
        QFETCH(int, mes);
        const QDate quando = HistoricoArtigo::primeiroDia(QDate::currentDate()).addDays(deslocamento);
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, "
                                                            "Areag, tpoper, natconta, sinalct) VALUES ('VFA', 'T', 2020, 90, ?, 'C001', "
                                                            "2, 4, 2, 1, 1)"),
                                             {quando}));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, "
                                                            "Quant, Prunit, Data, Linanu) VALUES ('VFA', 'T', 2020, 90, 1, 'RA2', 5, 1, ?, 0)"),
                                             {QDateTime(quando, QTime(18, 30))}));
        const DadosHistorico d = le(QStringLiteral("RA2"));
        for (int i = 0; i < d.meses.size(); ++i)
            QCOMPARE(d.meses[i].vendido.paraDouble(), i == mes ? 5.0 : 0.0);
    }

    // Every supplier that quoted or sold, none twice, cheapest first (on the
    // same price the newest quote), the cheapest marked; the purchase help's
    // reference over the quote's.
    void fornecedores()
    {
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("UPDATE mvk_Precos_Forn SET RefForn = 'Q-2' WHERE Fornecedor = 'FA2'")));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("UPDATE mvk_Precos_Forn SET RefForn = 'Q-3' WHERE Fornecedor = 'FA3'")));
        const DadosHistorico d = le(QStringLiteral("RA1"));
        QCOMPARE(codigos(d), (QStringList{"FA3", "FA2", "FA1"}));
        const FornecedorHistorico &fa3 = d.fornecedores[0], &fa2 = d.fornecedores[1], &fa1 = d.fornecedores[2];
        QVERIFY(fa3.maisBarato && !fa2.maisBarato && !fa1.maisBarato);
        QCOMPARE(fa3.nome, QStringLiteral("Fornecedor Gama"));
        QVERIFY(fa3.temCotacao && !fa3.temCompra);
        QCOMPARE(fa3.precoCotacao.paraDouble(), 7.5);
        QCOMPARE(fa3.dataCotacao, dia(10));
        QCOMPARE(fa3.referencia, QStringLiteral("AJ-13"));
        QCOMPARE(fa2.referencia, QStringLiteral("Q-2"));
        // FA1's last purchase is document 6 of d-20 (8.50), its quote 9.00.
        QVERIFY(fa1.temCompra && fa1.temCotacao);
        QCOMPARE(fa1.dataCompra, dia(20));
        QCOMPARE(fa1.precoCompra.paraDouble(), 8.5);
        QCOMPARE(fa1.preco().paraDouble(), 9.0);
        QCOMPARE(fa1.referencia, QStringLiteral("AJ-11"));
        QCOMPARE(fa2.precoCompra.paraDouble(), 8.0);
        // The marked supplier is the one the analysis proposes.
        Recordset rs;
        QVERIFY(LerPrecoEconomico(base.bd, QStringLiteral("RA1"), QStringLiteral("RA1"), rs));
        QCOMPARE(TextoDe(rs.Valor(QStringLiteral("Forn"))), fa3.codigo);

        QVERIFY(le(QStringLiteral("RA2")).fornecedores.isEmpty());
        // A supplier that only sold, spelt otherwise in the quotes, is one supplier.
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco) "
                                                            "VALUES ('fa2 ', 'RA3', ?, 3)"),
                                             {dia(2)}));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, "
                                                            "tpoper, natconta, sinalct) VALUES ('FCF', 'T', 2020, 9, ?, 'FA2', 1, 4, 1, 1, 2)"),
                                             {dia(4)}));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Quant, "
                                                            "Prunit, Data, Linanu) VALUES ('FCF', 'T', 2020, 9, 1, 'RA3', 2, 2.5, ?, 0)"),
                                             {dia(4)}));
        const DadosHistorico ra3 = le(QStringLiteral("RA3"));
        QCOMPARE(ra3.fornecedores.size(), 1);
        QVERIFY(ra3.fornecedores[0].temCompra && ra3.fornecedores[0].temCotacao);
        QCOMPARE(ra3.fornecedores[0].preco().paraDouble(), 3.0);
    }

    // On the demo company: no supplier missing, none added.
    void fornecedoresDaEmpresaDemo()
    {
        int comFornecedores = 0;
        for (int n = 0; n < 150; n += 3) {
            const QString artigo = GeradorDemo::codigoArtigo(n);
            bool ok = false;
            const QStringList esperado = fornecedoresIndependentes(base.bd, artigo, &ok);
            QVERIFY(ok);
            QStringList lidos = codigos(le(artigo));
            lidos.sort();
            QCOMPARE(lidos, esperado);
            comFornecedores += !esperado.isEmpty();
        }
        QVERIFY(comFornecedores > 10);
    }

    // The pending orders: the lines the analysis counts as pending, each
    // with its document; their sum is the grid's "Pend.Forn.".
    void encomendasPendentes()
    {
        const DadosHistorico d = le(QStringLiteral("RA1"));
        QCOMPARE(d.pendentes.size(), 1);
        QCOMPARE(d.pendentes[0].documento, QStringLiteral("ENF T/2020/1"));
        QCOMPARE(d.pendentes[0].data, dia(5));
        QCOMPARE(d.pendentes[0].fornecedor, QStringLiteral("FA1"));
        QCOMPARE(d.pendentes[0].quantidade.paraDouble(), 4.0);
        QVERIFY(le(QStringLiteral("RA2")).pendentes.isEmpty());
        for (int n = 0; n < 150; n += 7) {
            const QString artigo = GeradorDemo::codigoArtigo(n);
            Recordset rs;
            QVERIFY(LerQtdFornecedor(base.bd, artigo, artigo, rs));
            QCOMPARE(le(artigo).totalPendente().paraDouble(), rs.Eof() ? 0.0 : rs.Valor(QStringLiteral("Qtd")).toDouble());
        }
    }

    void artigoInexistente()
    {
        const DadosHistorico d = le(QStringLiteral("NAOHA"));
        QVERIFY(!d.existe);
        QCOMPARE(d.meses.size(), HistoricoArtigo::Meses);
        QVERIFY(d.fornecedores.isEmpty() && d.pendentes.isEmpty());
    }

    // The chart draws what was read: bars per month, zeros included, and the
    // stock, minimum and maximum as lines across every month.
    void graficoMostraOsValores()
    {
        const DadosHistorico d = le(QStringLiteral("RA1"));
        JanelaHistorico j;
        j.setDados(d);
        GraficoHistorico *gr = j.grafico();
        QCOMPARE(gr->vendido()->count(), HistoricoArtigo::Meses);
        QCOMPARE(gr->meses().size(), HistoricoArtigo::Meses);
        QCOMPARE(gr->meses().last(), QDate::currentDate().toString(QStringLiteral("MM-yy")));
        for (int i = 0; i < HistoricoArtigo::Meses; ++i) {
            QCOMPARE(gr->vendido()->at(i), d.meses[i].vendido.paraDouble());
            QCOMPARE(gr->comprado()->at(i), d.meses[i].comprado.paraDouble());
        }
        for (const auto &[serie, valor] : {std::pair{gr->stock(), 5.0}, {gr->minimo(), 2.0}, {gr->maximo(), 20.0}}) {
            QCOMPARE(serie->count(), HistoricoArtigo::Meses);
            for (const QPointF &p : serie->points())
                QCOMPARE(p.y(), valor);
        }
        QCOMPARE(j.fornecedores()->rowCount(), 3);
        QCOMPARE(j.fornecedores()->item(0, 0)->text(), QStringLiteral("FA3"));
        QCOMPARE(j.fornecedores()->item(0, 7)->text(), JanelaHistorico::marcaMaisBarato());
        QVERIFY(j.fornecedores()->item(1, 7)->text().isEmpty());
        QCOMPARE(j.pendentes()->rowCount(), 1);
    }

    // F8 on a row opens its article's history, in both modes; a supplier
    // chosen with Enter goes into the row: its code, the purchase help's
    // reference and its price.
    void escolheFornecedorNaJanela_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::newRow("ruptura") << 1;
        QTest::newRow("necessidades") << 2;
    }
    void escolheFornecedorNaJanela()
    {
        QFETCH(int, tipo);
        QVERIFY(base.abre(tipo));
        base.carrega();
        const int linha = linhaDe(QStringLiteral("RA1"));
        QVERIFY(linha > 0);
        JanelaHistorico *h = abreHistorico(linha);
        QVERIFY(h);
        QVERIFY(h->isVisible());
        QCOMPARE(h->windowTitle(), QStringLiteral("Histórico do Artigo"));
        QCOMPARE(h->dados().artigo, QStringLiteral("RA1"));
        // FA1 is the third, the dearest.
        h->fornecedores()->setFocus();
        h->fornecedores()->setCurrentCell(2, 0);
        QTest::keyClick(h->fornecedores(), Qt::Key_Return);
        QTRY_VERIFY(!base.janela->janelaHistorico());
        QCOMPARE(base.cel(linha, Forn).toString(), QStringLiteral("FA1"));
        QCOMPARE(base.cel(linha, RefForn).toString(), QStringLiteral("AJ-11"));
        QCOMPARE(base.cel(linha, PrecEc).toDouble(), 9.0);
        QVERIFY(base.textos().isEmpty());

        // Double-click on FA2: no purchase-help record, so the check empties
        // the reference, and its quote's price is put in.
        h = abreHistorico(linha);
        QVERIFY(h);
        QTableWidget *t = h->fornecedores();
        QVERIFY(QTest::qWaitForWindowExposed(h));
        const QRect r = t->visualItemRect(t->item(1, 0));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTest::mouseDClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTRY_VERIFY(!base.janela->janelaHistorico());
        QCOMPARE(base.cel(linha, Forn).toString(), QStringLiteral("FA2"));
        QCOMPARE(base.cel(linha, RefForn).toString(), QString());
        QCOMPARE(base.cel(linha, PrecEc).toDouble(), 7.5);
    }

    // The supplier goes through the typed code's check: one the ERP does not
    // know is refused with its message and the row keeps its supplier.
    void fornecedorRecusadoPelaValidacao()
    {
        QVERIFY(base.abre(1));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco) "
                                                            "VALUES ('FZ9', 'RA1', ?, 1)"),
                                             {dia(1)}));
        base.carrega();
        const int linha = linhaDe(QStringLiteral("RA1"));
        const QString antes = base.cel(linha, Forn).toString();
        const double preco = base.cel(linha, PrecEc).toDouble();
        JanelaHistorico *h = abreHistorico(linha);
        QVERIFY(h);
        QCOMPARE(h->dados().fornecedores.first().codigo, QStringLiteral("FZ9"));
        h->fornecedores()->setCurrentCell(0, 0);
        QTest::keyClick(h->fornecedores(), Qt::Key_Enter);
        QTRY_VERIFY(!base.janela->janelaHistorico());
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Fornecedor não existente!")});
        QCOMPARE(base.cel(linha, Forn).toString(), antes);
        QCOMPARE(base.cel(linha, PrecEc).toDouble(), preco);
    }

    // F8 on an empty row says so; Esc closes the history without a change.
    void semArtigoESemEscolha()
    {
        QVERIFY(base.abre(2));
        base.carrega();
        const int vazia = g()->linhas();
        QVERIFY(!abreHistorico(vazia));
        QCOMPARE(base.textos(), QStringList{QStringLiteral("Escolha na grelha uma linha com artigo.")});
        base.mensagens.limpa();
        const int linha = linhaDe(QStringLiteral("RA4"));
        const QString antes = base.cel(linha, Forn).toString();
        JanelaHistorico *h = abreHistorico(linha);
        QVERIFY(h);
        QTest::keyClick(h->fornecedores(), Qt::Key_Escape);
        QTRY_VERIFY(!base.janela->janelaHistorico());
        QCOMPARE(base.cel(linha, Forn).toString(), antes);
        QVERIFY(base.textos().isEmpty());
        QCOMPARE(base.janela->btHist()->toolTip(), QStringLiteral("Histórico do Artigo da linha actual (F8)."));
        QVERIFY(g()->statusTip().contains(QStringLiteral("F8")));
    }
};

TESSELA_TEST_MAIN(TstHistoricoArtigo)
#include "tst_historicoartigo.moc"
