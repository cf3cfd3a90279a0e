// Printing and exporting the price grids from their windows: the header of
// each window and mode as it reaches the PDF, the page count in the footer of
// a long grid, an empty grid, the window locked while the preview is shown
// and unlocked after it, and the grid saved as a spreadsheet file.
#include "baseprecos.h"
#include "dialogosimpressao.h"
#include "testmain.h"
#include "textopdf.h"
#include "visualizadorimpressao.h"

#include <QPrintPreviewWidget>
#include <QStandardPaths>

using namespace DadosPrecos;
using namespace ColunasPrecos;

class TstImpressaoPrecos : public QObject
{
    Q_OBJECT

private:
    BasePrecos base;
    QTemporaryDir saida;

    Grelha *g() const { return base.g(); }
    // The preview's document written as a PDF (through its own tool) and read back.
    QStringList pdfDaPrevisao(const QString &nome)
    {
        DialogosImpressaoRespostas dialogos;
        dialogos.ficheiros << saida.filePath(nome);   // without ".pdf": the tool adds it
        base.janela->Visualizador()->ferramenta(21)->trigger();
        const QString ficheiro = saida.filePath(nome + QStringLiteral(".pdf"));
        if (!QFile::exists(ficheiro))
            return {};
        return paginasPdf(ficheiro);
    }

private slots:
    void initTestCase()
    {
        QString erro;
        QVERIFY2(base.cria(&erro), qPrintable(erro));
    }
    void cleanup() { base.fecha(); }

    void cabecalhoDeCadaJanelaEModo_data()
    {
        QTest::addColumn<int>("tipo");   // 1 supplier prices, 2 purchases, 0 customers
        QTest::addColumn<QString>("entidade");
        QTest::addColumn<QString>("artigo");
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("filtros");
        QTest::newRow("preços, fornecedor") << 1 << "FX1" << "" << "Consulta -  de Preços a Fornecedor"
                                            << " Fornecedor - 'FX1'    Artigo - ''";
        QTest::newRow("preços, sem filtros") << 1 << "" << "" << "Consulta -  de Preços a Fornecedor"
                                             << " Fornecedor - ''    Artigo - ''";
        QTest::newRow("compras, ambos") << 2 << "FX1" << "AT1" << "Consulta -  de Compras" << " Fornecedor - 'FX1'    Artigo - 'AT1'";
        QTest::newRow("clientes, artigo") << 0 << "" << "AT1" << "Consulta   de Preços de Clientes"
                                          << " Cliente - ''    Artigo - 'AT1'";
    }
    void cabecalhoDeCadaJanelaEModo()
    {
        QFETCH(int, tipo);
        QFETCH(QString, entidade);
        QFETCH(QString, artigo);
        QFETCH(QString, titulo);
        QFETCH(QString, filtros);
        QVERIFY(base.abre(tipo));
        base.janela->Campo(0)->setText(entidade);
        base.janela->Campo(1)->setText(artigo);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        // The header exactly as drawn: title, a blank line, the filters as
        // they stand (PDF text extraction cannot tell one space from two).
        const ImpressaoGrelha &doc = base.janela->Visualizador()->documento();
        QCOMPARE(doc.cabecalho(), titulo + QStringLiteral("\r\n\r\n") + filtros);
        QCOMPARE(doc.textos(doc.paginacao(), 1).mid(0, 2), (QStringList{titulo, filtros}));
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
        const QStringList paginas = pdfDaPrevisao(QStringLiteral("cabecalho%1").arg(tipo));
        QCOMPARE(paginas.size(), base.janela->Visualizador()->paginas());
        QStringList linhas = paginas.first().split(QLatin1Char('\n'));
        for (QString &l : linhas)
            l = l.simplified();
        linhas.removeAll(QString());
        QCOMPARE(linhas.value(0), titulo.simplified());
        QCOMPARE(linhas.value(1), filtros.simplified());
        QVERIFY2(linhas.value(2).startsWith(tipo ? QStringLiteral("Fornece") : QStringLiteral("Cliente")), qPrintable(linhas.value(2)));
        QCOMPARE(linhas.last(), QStringLiteral("Página: 1 de %1").arg(paginas.size()));
    }

    void paginasDeUmaGrelhaLonga()
    {
        QVERIFY(base.abre(1));
        for (int n = 0; n < 300; ++n)
            VERIFICA_BD(base.bd, base.bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco) "
                                                                "VALUES ('FX2', 'AT2', '2023-01-01', ?)"),
                                                 {n + 1}));
        base.escreveFiltro(0, FX2);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        VisualizadorImpressao *v = base.janela->Visualizador();
        const ImpressaoGrelha &doc = v->documento();
        const int porPagina = doc.linhasPorPagina(doc.paginacao());
        const int esperado = (301 + porPagina - 1) / porPagina;
        QVERIFY(esperado > 3);
        QCOMPARE(v->paginas(), esperado);
        QCOMPARE(doc.conteudo().linhas.size(), 301);   // the empty rows are not printed
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
        const QStringList paginas = pdfDaPrevisao(QStringLiteral("longa"));
        QCOMPARE(paginas.size(), esperado);
        for (int p = 0; p < esperado; ++p) {
            // Every page has the header, the headings and its own footer.
            QVERIFY2(paginas[p].contains(QStringLiteral("Fornecedor - 'FX2'")), qPrintable(QString::number(p + 1)));
            QVERIFY(paginas[p].contains(QStringLiteral("Designação Fornecedor")));
            QVERIFY(paginas[p].contains(QStringLiteral("Página: %1 de %2").arg(p + 1).arg(esperado)));
        }
    }

    void grelhaVazia()
    {
        QVERIFY(base.abreClientes());
        QTest::mouseClick(base.janela->btImp(), Qt::LeftButton);
        QCOMPARE(base.janela->Visualizador()->paginas(), 1);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed: the PDF's text is not checked");
        const QString texto = pdfDaPrevisao(QStringLiteral("vazia")).value(0);
        for (const char *parte : {"Consulta", "Cliente - ''", "Nome Cliente", "UPC", "Preço", "Página: 1 de 1"})
            QVERIFY2(texto.contains(QString::fromUtf8(parte)), parte);
    }

    // What works while the preview is shown, and after it, per window and mode.
    void controlosNaPrevisao_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::newRow("preços") << 1;
        QTest::newRow("compras") << 2;
        QTest::newRow("clientes") << 0;
    }
    void controlosNaPrevisao()
    {
        QFETCH(int, tipo);
        QVERIFY(base.abre(tipo));
        FormularioPrecos *j = base.janela;
        const QList<QWidget *> bloqueados{j->btCarga(), j->btConf(), j->btCancelar(), j->Campo(0), j->Campo(1), j->btLista(0),
                                          j->btLista(1)};
        const QList<QWidget *> livres{j->btImp(), j->btSair(), j->btExp(), j->Campo(2)};
        const QRect lugar = g()->geometry();
        QTest::mouseClick(j->btImp(), Qt::LeftButton);
        QVERIFY(j->emPrevisao());
        QVERIFY(!g()->isVisible());
        QVERIFY(j->Visualizador()->isVisible());
        QCOMPARE(j->Visualizador()->geometry(), lugar);
        QCOMPARE(j->btImp()->text(), QStringLiteral("&Grelha"));
        for (QWidget *w : bloqueados)
            QVERIFY2(!w->isEnabled(), qPrintable(w->toolTip()));
        for (QWidget *w : livres)
            QVERIFY2(w->isEnabled(), qPrintable(w->toolTip()));
        QCOMPARE(j->Campo(2)->isVisible(), tipo != 2);

        QTest::mouseClick(j->btImp(), Qt::LeftButton);
        QVERIFY(g()->isVisible() && !j->Visualizador()->isVisible());
        QCOMPARE(j->btImp()->text(), QStringLiteral("&Imprimir"));
        QCOMPARE(j->btConf()->isEnabled(), tipo != 2);
        for (QWidget *w : bloqueados + livres)
            if (w != j->btConf())
                QVERIFY2(w->isEnabled(), qPrintable(w->toolTip()));
        QVERIFY(g()->hasFocus());
        // The header is built anew on every press: the filters as they stand then.
        j->Campo(1)->setText(AT2);
        QTest::mouseClick(j->btImp(), Qt::LeftButton);
        QVERIFY(j->Visualizador()->documento().cabecalho().endsWith(QStringLiteral("Artigo - 'AT2'")));
        // The window closes from the preview.
        QTest::mouseClick(j->btSair(), Qt::LeftButton);
        QVERIFY(!j->isVisible());
    }

    void exportaDaJanela()
    {
        QVERIFY(base.abreClientes());
        base.escreveFiltro(0, CX1);
        QTest::mouseClick(base.janela->btCarga(), Qt::LeftButton);
        DialogosImpressaoRespostas dialogos;
        dialogos.ficheiros << saida.filePath(QStringLiteral("clientes"));
        QCOMPARE(base.janela->exporta(), saida.filePath(QStringLiteral("clientes.csv")));
        QCOMPARE(dialogos.sugestoes, QStringList{QStringLiteral("Exportar a grelha|Precos de clientes.csv")});
        QFile f(saida.filePath(QStringLiteral("clientes.csv")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList linhas = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(linhas.value(0), QStringLiteral("Cliente;Nome Cliente;Artigo;Designação Artigo;UPC;Data;Preço"));
        QCOMPARE(linhas.value(1), QStringLiteral("CX1;Cliente Um;AT1;Artigo Um;6,50;01-06-2024;16,50"));
        QCOMPARE(linhas.size(), 5);   // three rows and the end of the last line
    }
};

TESSELA_TEST_MAIN(TstImpressaoPrecos)
#include "tst_impressaoprecos.moc"
