// Printing and exporting a grid, without any window around it: the CSV a
// spreadsheet reads back field for field, the pages of the printed document
// at their boundaries, and the preview's tools.
#include "dialogosimpressao.h"
#include "exportacsv.h"
#include "grelha.h"
#include "impressaogrelha.h"
#include "mensagensgravadas.h"
#include "testmain.h"
#include "valores.h"
#include "visualizadorimpressao.h"

#include <QAction>
#include <QClipboard>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// A grid with a text, a date, an amount and a hidden column.
void colunas(Grelha &g)
{
    g.adicionaColuna({.chave = "Nome", .titulo = "Designação", .largura = 3000});
    g.adicionaColuna({.chave = "Data", .titulo = "Data", .tipo = TipoColuna::Data, .largura = 1200});
    g.adicionaColuna({.chave = "Preco", .titulo = "Preço", .tipo = TipoColuna::Moeda, .largura = 1200, .formato = "##,###.00"});
    g.adicionaColuna({.chave = "Id", .titulo = "Id", .tipo = TipoColuna::Longo, .oculta = true});
}

// Reads CSV as a spreadsheet does: ';' fields, quoted fields with doubled
// quotes and line breaks inside, CR LF lines.
QList<QStringList> leCsv(const QString &texto)
{
    QList<QStringList> linhas;
    QStringList campos;
    QString campo;
    bool aspas = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (aspas) {
            if (c == QLatin1Char('"') && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('"'))
                campo += c, ++i;
            else if (c == QLatin1Char('"'))
                aspas = false;
            else
                campo += c;
        } else if (c == QLatin1Char('"')) {
            aspas = true;
        } else if (c == QLatin1Char(';')) {
            campos << campo;
            campo.clear();
        } else if (c == QLatin1Char('\r') && texto.mid(i, 2) == QStringLiteral("\r\n")) {
            campos << campo;
            linhas << campos;
            campos.clear();
            campo.clear();
            ++i;
        } else {
            campo += c;
        }
    }
    return linhas;
}

ImpressaoGrelha documento(int linhas)
{
    ConteudoGrelha c;
    c.colunas = {{QStringLiteral("Código"), 1500, TipoColuna::Texto}, {QStringLiteral("Valor"), 1200, TipoColuna::Moeda}};
    for (int i = 1; i <= linhas; ++i)
        c.linhas << QStringList{QStringLiteral("L%1").arg(i), QString::number(i)};
    ImpressaoGrelha d;
    d.setConteudo(c);
    d.setCabecalho(QStringLiteral("Título\r\n\r\nFiltros"));
    return d;
}

} // namespace

class TstImpressao : public QObject
{
    Q_OBJECT

private slots:
    void csvQueUmaFolhaLe()
    {
        Grelha g;
        colunas(g);
        g.setLinhas(6);
        const QStringList nomes{QStringLiteral("Ação ç ã é"), QStringLiteral("Diz \"olá\"; e sai"), QStringLiteral("duas\nlinhas"),
                                QStringLiteral("=SOMA(A1)"), QString()};
        for (int r = 0; r < nomes.size(); ++r)
            g.setMatriz(r, 0, nomes[r]);
        g.setMatriz(0, 1, QDate(2024, 3, 5));
        g.setMatriz(0, 2, 1234.5);
        g.setMatriz(1, 2, -0.125);
        g.setMatriz(2, 3, 77);            // hidden: never exported
        g.setMatriz(4, 2, 3.0);           // a row with only a price
        // Row 6 shows nothing: left out.
        const QByteArray bytes = ExportaCsv::texto(g);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> linhas = leCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(linhas.size(), 6);
        QCOMPARE(linhas[0], (QStringList{"Designação", "Data", "Preço"}));
        QCOMPARE(linhas[1], (QStringList{"Ação ç ã é", "05-03-2024", "1234,50"}));
        QCOMPARE(linhas[2], (QStringList{"Diz \"olá\"; e sai", "", "-0,125"}));
        QCOMPARE(linhas[3], (QStringList{"duas\nlinhas", "", ""}));
        QCOMPARE(linhas[4], (QStringList{"'=SOMA(A1)", "", ""}));
        QCOMPARE(linhas[5], (QStringList{"", "", "3,00"}));

        // Written whole, ".csv" added to a name without it; a folder that is not there fails with a message.
        QTemporaryDir pasta;
        MensagensGravadas mensagens;
        mensagens.instala();
        DialogosImpressaoRespostas dialogos;
        dialogos.ficheiros << pasta.filePath("grelha") << pasta.filePath("grelha.CSV") << pasta.filePath("nao/existe.csv");
        QCOMPARE(ExportaCsv::exporta(nullptr, g, "sugestao.csv"), pasta.filePath("grelha.csv"));
        QFile f(pasta.filePath("grelha.csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
        QCOMPARE(ExportaCsv::exporta(nullptr, g, "sugestao.csv"), pasta.filePath("grelha.CSV"));
        QVERIFY(ExportaCsv::exporta(nullptr, g, "sugestao.csv").isEmpty());
        QCOMPARE(mensagens.quantos(), 1);
        QVERIFY(mensagens.ultimo().texto.contains("nao/existe.csv"));
        QVERIFY(ExportaCsv::exporta(nullptr, g, "sugestao.csv").isEmpty());   // nothing asked: nothing done
        QCOMPARE(mensagens.quantos(), 1);
    }

    // Every text a spreadsheet would take for a formula gets the apostrophe;
    // a text that merely holds such a character, and a number, do not.
    void csvSemFormulas_data()
    {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("campo");   // as the spreadsheet reads the field
        for (const char *c : {"=", "+", "-", "@", "\t", "\r"}) {
            const QString inicio = QString::fromLatin1(c) + QStringLiteral("SOMA(A1)");
            QTest::addRow("começa por %s", c) << inicio << QLatin1Char('\'') + inicio;
            const QString meio = QStringLiteral("A") + inicio;
            QTest::addRow("contém %s", c) << meio << meio;
        }
        QTest::newRow("apóstrofo") << "'=1" << "'=1";
        QTest::newRow("espaço antes") << " =1" << " =1";
    }
    void csvSemFormulas()
    {
        QFETCH(QString, texto);
        QFETCH(QString, campo);
        Grelha g;
        colunas(g);
        g.setLinhas(1);
        g.setMatriz(0, 0, texto);
        g.setMatriz(0, 2, -5.0);   // a negative number is no formula: never guarded
        const QList<QStringList> linhas = leCsv(QString::fromUtf8(ExportaCsv::texto(g).mid(3)));
        QCOMPARE(linhas.size(), 2);
        QCOMPARE(linhas[1], (QStringList{campo, "", "-5,00"}));
    }

    // Amounts at whole parts of 1, 3, 4, 6, 7, 9 and 10 digits, negative and
    // zero: what the grid shows, the printed page and the CSV each read back
    // as the amount held, none with a decimal less than it has.
    void numerosNaGrelhaImpressaoECsv_data()
    {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("quantidade");   // "##,###"
        QTest::addColumn<QString>("preco");        // "##,###.00"
        QTest::newRow("1") << 7.0 << "7" << "7,00";
        QTest::newRow("3") << 123.5 << "123,5" << "123,50";
        QTest::newRow("4") << 1234.0 << "1.234" << "1.234,00";
        QTest::newRow("6") << 123456.125 << "123.456,125" << "123.456,125";
        QTest::newRow("7") << 1234567.0 << "1.234.567" << "1.234.567,00";
        QTest::newRow("9") << 123456789.25 << "123.456.789,25" << "123.456.789,25";
        QTest::newRow("10") << 1234567890.1234 << "1.234.567.890,1234" << "1.234.567.890,1234";
        QTest::newRow("negativo") << -1234.5 << "-1.234,5" << "-1.234,50";
        QTest::newRow("zero") << 0.0 << "0" << "0,00";
    }
    void numerosNaGrelhaImpressaoECsv()
    {
        QFETCH(double, valor);
        QFETCH(QString, quantidade);
        QFETCH(QString, preco);
        Grelha g;
        g.adicionaColuna({.chave = "Codigo", .titulo = "Código", .largura = 1200});
        g.adicionaColuna({.chave = "Qtd", .titulo = "Qtd", .tipo = TipoColuna::Moeda, .largura = 1000, .formato = "##,###"});
        g.adicionaColuna({.chave = "Preco", .titulo = "Preço", .tipo = TipoColuna::Moeda, .largura = 1200, .formato = "##,###.00"});
        g.setLinhas(1);
        g.setMatriz(0, 0, QStringLiteral("A1"));
        g.setMatriz(0, 1, valor);
        g.setMatriz(0, 2, valor);
        QCOMPARE(g.textoCelula(1, 2), quantidade);
        QCOMPARE(g.textoCelula(1, 3), preco);

        const ImpressaoGrelha documento(g, QStringLiteral("Título"));
        const QStringList pagina = documento.textos(documento.paginacao(), 1);
        QVERIFY2(pagina.contains(QStringLiteral("A1\t") + quantidade + QLatin1Char('\t') + preco), qPrintable(pagina.join('|')));

        // On paper a number too wide for its column is drawn narrower, never
        // cut: the PDF's text holds it whole.
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (!pdftotext.isEmpty()) {
            QTemporaryDir pasta;
            QVERIFY(documento.gravaPdf(pasta.filePath(QStringLiteral("g.pdf"))));
            QProcess p;
            p.start(pdftotext, {QStringLiteral("-raw"), pasta.filePath(QStringLiteral("g.pdf")), QStringLiteral("-")});
            QVERIFY(p.waitForFinished(20000));
            const QString lido = QString::fromUtf8(p.readAllStandardOutput());
            QVERIFY2(lido.contains(quantidade) && lido.contains(preco) && !lido.contains(QChar(0x2026)), qPrintable(lido));
        }

        const QList<QStringList> csv = leCsv(QString::fromUtf8(ExportaCsv::texto(g).mid(3)));
        QCOMPARE(csv.size(), 2);
        const Moeda esperado = Moeda::deDouble(valor);
        QVERIFY(!csv[1][1].contains(QLatin1Char('.')) && !csv[1][2].contains(QLatin1Char('.')));   // no groups
        for (const QString &t : {quantidade, preco, csv[1][1], csv[1][2]}) {
            Moeda lido;
            QVERIFY2(Moeda::leTexto(t, &lido), qPrintable(t));
            QCOMPARE(lido, esperado);
        }
    }

    void paginasNosLimites()
    {
        const ImpressaoGrelha umaLinha = documento(1);
        const QPageLayout pagina = umaLinha.paginacao();
        QCOMPARE(pagina.orientation(), QPageLayout::Portrait);   // two narrow columns
        const int porPagina = umaLinha.linhasPorPagina(pagina);
        QVERIFY(porPagina > 10);
        QCOMPARE(documento(0).paginas(pagina), 1);
        QCOMPARE(documento(porPagina).paginas(pagina), 1);
        const ImpressaoGrelha duas = documento(porPagina + 1);
        QCOMPARE(duas.paginas(pagina), 2);
        // Every page: the header's lines, the headings, its rows, its footer.
        QStringList esperada{"Título", "Filtros", "Código\tValor"};
        for (int i = 1; i <= porPagina; ++i)
            esperada << QStringLiteral("L%1\t%1").arg(i);
        esperada << QStringLiteral("Página: 1 de 2");
        QCOMPARE(duas.textos(pagina, 1), esperada);
        QCOMPARE(duas.textos(pagina, 2),
                 (QStringList{"Título", "Filtros", "Código\tValor", QStringLiteral("L%1\t%1").arg(porPagina + 1), "Página: 2 de 2"}));
        QVERIFY(duas.textos(pagina, 3).isEmpty());
        // Columns wider than a portrait page turn it.
        ImpressaoGrelha larga = documento(1);
        ConteudoGrelha c = larga.conteudo();
        c.colunas.append({QStringLiteral("Larga"), 9000, TipoColuna::Texto});
        larga.setConteudo(c);
        QCOMPARE(larga.paginacao().orientation(), QPageLayout::Landscape);
    }

    void ferramentasDaPrevisao()
    {
        VisualizadorImpressao v;
        v.resize(900, 500);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        const ImpressaoGrelha doc = documento(100);
        v.setDocumento(doc, QStringLiteral("precos.pdf"));
        const int total = doc.paginas(doc.paginacao());
        QVERIFY(total >= 3);
        QCOMPARE(v.paginas(), total);
        QCOMPARE(v.paginaActual(), 1);
        // The tools as the program has always named them.
        QCOMPARE(v.ferramenta(2)->text(), QStringLiteral("&Imprimir..."));
        QCOMPARE(v.ferramenta(2)->toolTip(), QStringLiteral("Imprimir"));
        const QList<QPair<int, const char *>> dicas{{4, "Copiar"}, {6, "Procurar"}, {8, "Página Simples"}, {9, "Páginas Múltiplas"},
                                                    {11, "Diminuir"}, {12, "Aumentar"}, {15, "Página anterior"},
                                                    {16, "Página seguinte"}, {19, "Avançar"}, {20, "Recuar"}};
        for (const auto &[n, dica] : dicas)
            QCOMPARE(v.ferramenta(n)->toolTip(), QString::fromUtf8(dica));
        QCOMPARE(v.ferramenta(19)->text(), QStringLiteral("Avançar"));
        QVERIFY(!v.ferramenta(0) && !v.ferramenta(1));
        QVERIFY(!v.ferramenta(15)->isEnabled() && !v.ferramenta(20)->isEnabled());

        // Pages, then back and forward through the pages seen.
        v.ferramenta(16)->trigger();
        v.ferramenta(16)->trigger();
        QCOMPARE(v.paginaActual(), 3);
        v.ferramenta(20)->trigger();
        QCOMPARE(v.paginaActual(), 2);
        v.ferramenta(20)->trigger();
        QCOMPARE(v.paginaActual(), 1);
        QVERIFY(!v.ferramenta(20)->isEnabled());
        v.ferramenta(19)->trigger();
        QCOMPARE(v.paginaActual(), 2);
        v.ferramenta(15)->trigger();   // a new move drops the pages ahead
        QCOMPARE(v.paginaActual(), 1);
        QVERIFY(!v.ferramenta(19)->isEnabled());

        // Search: the next page holding the text, round to the start; not there, a message.
        MensagensGravadas mensagens;
        mensagens.instala();
        DialogosImpressaoRespostas dialogos;
        const int ultimaLinha = doc.linhasPorPagina(doc.paginacao()) * 2 + 1;   // first row of page 3
        dialogos.textos << QStringLiteral("l%1\t").arg(ultimaLinha) << QStringLiteral("título") << QStringLiteral("nada disto");
        QVERIFY(v.procura());
        QCOMPARE(v.paginaActual(), 3);
        QVERIFY(v.procura());
        QCOMPARE(v.paginaActual(), 4 > total ? 1 : 4);
        QVERIFY(!v.procura());
        QCOMPARE(mensagens.quantos(), 1);

        // Copy: the page as a picture.
        QGuiApplication::clipboard()->clear();
        v.ferramenta(4)->trigger();
        QVERIFY(!QGuiApplication::clipboard()->image().isNull());

        // Print (to a PDF printer here) and the PDF tool, ".pdf" added when missing.
        QTemporaryDir pasta;
        dialogos.impressora = [&](QPrinter &p) {
            p.setOutputFormat(QPrinter::PdfFormat);
            p.setOutputFileName(pasta.filePath("impressa.pdf"));
            return true;
        };
        v.ferramenta(2)->trigger();
        QCOMPARE(dialogos.impressoes, 1);
        QVERIFY(QFileInfo(pasta.filePath("impressa.pdf")).size() > 0);
        dialogos.ficheiros << pasta.filePath("doc");
        QCOMPARE(v.gravaPdf(), pasta.filePath("doc.pdf"));
        QCOMPARE(dialogos.sugestoes.last(), QStringLiteral("Guardar como PDF|precos.pdf"));
        QVERIFY(QFileInfo(pasta.filePath("doc.pdf")).size() > 0);
        QCOMPARE(mensagens.quantos(), 1);
    }
};

TESSELA_TEST_MAIN(TstImpressao)
#include "tst_impressao.moc"
