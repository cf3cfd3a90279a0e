// Printing and exporting the needs grid, in both modes: the header with the
// mode, the filters of the load and the day; the PDF holding every row; what
// the window lets the user do while the preview is shown; the CSV file of
// the visible columns.
#include "baseruptura.h"
#include "dialogosimpressao.h"
#include "testmain.h"
#include "textopdf.h"
#include "visualizadorimpressao.h"

#include <QAction>
#include <QCheckBox>
#include <QStandardPaths>

using namespace DadosRuptura;
using namespace ColunasNecessidades;

namespace {

QString hoje() { return QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy")); }

} // namespace

class TstImpressaoRuptura : public QObject
{
    Q_OBJECT

private:
    BaseRuptura base;
    QTemporaryDir saida;

    Grelha *g() const { return base.g(); }
    QStringList artigos() const
    {
        QStringList r;
        for (int i = 0; i < g()->linhas() && !g()->matriz(i, Artigo).toString().isEmpty(); ++i)
            r << g()->matriz(i, Artigo).toString();
        return r;
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    // The header: the mode's title, a blank line, the filters the grid was
    // loaded with (not those typed since) and the day.
    void cabecalho_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("filtros");
        QTest::newRow("ruptura") << 1
                                 << " Artigo - 'RA1' a 'RA4'    Grupo - 'G1' a ''    Família - '' a ''\r\n"
                                    " Sub Família - '' a ''    Dias - '30'    Com Previsão - 'Sim'";
        QTest::newRow("necessidades") << 2 << " Artigo - 'RA1' a 'RA4'";
    }
    void cabecalho()
    {
        QFETCH(int, tipo);
        QFETCH(QString, filtros);
        QVERIFY(base.abre(tipo));
        base.janela->Campo(0)->setText(QStringLiteral("RA1"));
        base.janela->Campo(1)->setText(QStringLiteral("RA4"));
        if (tipo == 1) {
            base.janela->Campo(2)->setText(QStringLiteral("G1"));
            base.janela->Campo(11)->setText(QStringLiteral("30"));
            base.janela->Check1()->setChecked(true);
        }
        base.carrega();
        QVERIFY(!artigos().isEmpty());
        base.janela->Campo(1)->setText(QStringLiteral("RA9"));   // typed after the load: not what the grid shows
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        QVERIFY(base.janela->emPrevisao());
        const QString titulo = tipo == 1 ? QStringLiteral("Ruptura de Stocks") : QStringLiteral("Necessidades de Encomendas");
        const ImpressaoGrelha &doc = base.janela->Visualizador()->documento();
        QCOMPARE(doc.cabecalho(), titulo + QStringLiteral("\r\n\r\n") + filtros + QStringLiteral("\r\n Data - '%1'").arg(hoje()));
        QCOMPARE(doc.textos(doc.paginacao(), 1).first(), titulo);
        // Before any load, the filters as they stand.
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        QTest::mouseClick(base.janela->btCancelar(), Qt::LeftButton);
        base.janela->Campo(0)->setText(QStringLiteral("RA2"));
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        QVERIFY(base.janela->Visualizador()->documento().cabecalho().contains(QStringLiteral(" Artigo - 'RA2' a ''")));
    }

    // Saved as PDF from the preview, every row of the grid is in it.
    void pdfComAsLinhas_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::newRow("ruptura") << 1;
        QTest::newRow("necessidades") << 2;
    }
    void pdfComAsLinhas()
    {
        QFETCH(int, tipo);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
        QVERIFY(base.abre(tipo));
        base.carrega();
        const QStringList esperados = artigos();
        QVERIFY(esperados.size() >= 3);
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        DialogosImpressaoRespostas dialogos;
        const QString nome = saida.filePath(QStringLiteral("ruptura%1").arg(tipo));
        dialogos.ficheiros << nome;
        base.janela->Visualizador()->ferramenta(21)->trigger();
        const QString texto = paginasPdf(nome + QStringLiteral(".pdf")).join(QLatin1Char('\n'));
        QVERIFY2(texto.contains(tipo == 1 ? QStringLiteral("Ruptura de Stocks") : QStringLiteral("Necessidades de Encomendas")),
                 qPrintable(texto));
        QVERIFY(texto.contains(QStringLiteral("Designação Artigo")));
        for (const QString &a : esperados)
            QVERIFY2(texto.contains(a), qPrintable(a));
        QVERIFY(texto.contains(QStringLiteral("Rolamento A")));
        QVERIFY(texto.contains(QStringLiteral("Página: 1 de")));
        QCOMPARE(dialogos.sugestoes.size(), 1);
        QVERIFY(dialogos.sugestoes.first().endsWith(tipo == 1 ? QStringLiteral("Ruptura de stocks.pdf")
                                                             : QStringLiteral("Necessidades de encomendas.pdf")));
    }

    // While the preview is shown only Sair, the export and the button that
    // goes back work; back at the grid the window is as before.
    void controlosNaPrevisao()
    {
        QVERIFY(base.abre(1));
        base.carrega();
        RupturaStocks *j = base.janela;
        const QList<QWidget *> bloqueados{j->btCarga(), j->mvkBotao1(), j->btCancelar(), j->btHist(), j->Campo(0), j->Campo(11),
                                          j->btLista(0), j->Check1()};
        const QRect lugar = g()->geometry();
        QVERIFY(j->mvkBotao1()->isEnabled());
        QTest::mouseClick(j->btImp(), Qt::LeftButton);
        QVERIFY(!g()->isVisible() && j->Visualizador()->isVisible());
        QCOMPARE(j->Visualizador()->geometry(), lugar);
        QCOMPARE(j->btImp()->text(), QStringLiteral("&Grelha"));
        for (QWidget *w : bloqueados)
            QVERIFY2(!w->isEnabled(), qPrintable(w->toolTip()));
        for (QWidget *w : {static_cast<QWidget *>(j->btImp()), static_cast<QWidget *>(j->btExp()), static_cast<QWidget *>(j->btSair())})
            QVERIFY2(w->isEnabled(), qPrintable(w->toolTip()));
        // F8 does nothing over the preview.
        QTest::keyClick(j, RupturaStocks::TeclaHistorico);
        QVERIFY(!j->janelaHistorico());
        QTest::mouseClick(j->btImp(), Qt::LeftButton);
        QVERIFY(g()->isVisible() && !j->Visualizador()->isVisible());
        QCOMPARE(j->btImp()->text(), QStringLiteral("&Imprimir"));
        for (QWidget *w : bloqueados)
            QVERIFY2(w->isEnabled(), qPrintable(w->toolTip()));
        QVERIFY(g()->hasFocus());
    }

    // The CSV file: the visible columns of the mode, numbers with a decimal
    // comma, dates dd-mm-yyyy, every row.
    void exportaCsv_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("titulos");
        QTest::addColumn<QString>("linhaRa4");
        QTest::newRow("ruptura") << 1
                                 << "Artigo;Ref.Forn.;Designação Artigo;Stk. Exist.;Stk. Min.;Stk. Max.;Pend.Forn.;a Encom.;"
                                    "Fornecedor;Ult.Prç;Prç.+ Econ.;Previsão"
                                 << "RA4;AJ-42;Tubo D;2;1;9;0;8;FA2;0,00;12,00;0,00";
        QTest::newRow("necessidades") << 2
                                      << "Artigo;Ref.Forn.;Designação Artigo;Stk. Exist.;Pend.Forn.;a Encom.;Fornecedor;"
                                         "Prç.+ Econ.;Data"
                                      << "RA4;;Tubo D;2;0;8;FA2;3,25;" + dia(2).toString(QStringLiteral("dd-MM-yyyy"));
    }
    void exportaCsv()
    {
        QFETCH(int, tipo);
        QFETCH(QString, titulos);
        QFETCH(QString, linhaRa4);
        QVERIFY(base.abre(tipo));
        VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET PrUnit = 3.25 WHERE Id = 4")));
        base.carrega();
        const int linhas = int(artigos().size());
        DialogosImpressaoRespostas dialogos;
        const QString nome = saida.filePath(QStringLiteral("grelha%1").arg(tipo));
        dialogos.ficheiros << nome;
        QCOMPARE(base.janela->exporta(), nome + QStringLiteral(".csv"));
        QFile f(nome + QStringLiteral(".csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList l = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(l.value(0), titulos);
        QCOMPARE(l.size(), linhas + 2);   // the headings, the rows and the end of the last line
        QVERIFY2(l.contains(linhaRa4), qPrintable(l.join(QLatin1Char('\n'))));
    }
};

TESSELA_TEST_MAIN(TstImpressaoRuptura)
#include "tst_impressaoruptura.moc"
