#include "dialogolistapesquisa.h"
#include "ligacaobd.h"
#include "listapesquisa.h"
#include "listarespostas.h"
#include "mensagensgravadas.h"
#include "modelolista.h"
#include "testmain.h"
#include "twips.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

// The lookup list against a fresh SQLite database per test, its model, the
// real dialog driven with keys, and the presenter that answers it in tests.
class TstListaPesquisa : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete m_bd; }
    void carregaComValoresLigados();
    void falhaDeCargaDizPorque();
    void filtroEmQualquerColunaSemCaixa();
    void dialogoFiltraEscolheECancela();
    void duploCliqueEEscritaNaTabela();
    void mostraPassaPeloApresentador();
    void listaGrandeContinuaUtilizavel();

private:
    void prepara(ListaPesquisa &lista, const QString &zona);
    void abre(QWidget &w)
    {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    QTemporaryDir m_pasta;
    LigacaoBd *m_bd = nullptr;
};

void TstListaPesquisa::init()
{
    const QString ficheiro = m_pasta.filePath(QStringLiteral("%1.db").arg(QTest::currentTestFunction()));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("criacao"));
        db.setDatabaseName(ficheiro);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY2(q.exec(QStringLiteral("CREATE TABLE Fornec (Codigo TEXT PRIMARY KEY, Nome TEXT, Zona TEXT, Saldo REAL)")),
                 qPrintable(q.lastError().text()));
        QVERIFY2(q.exec(QStringLiteral("INSERT INTO Fornec VALUES ('F001', 'Lisboa Materiais', 'Sul', 12.5), "
                                       "('F002', 'Porto Ferragens', 'Norte', 0), ('F003', 'JOÃO & Filhos', 'Sul', NULL), "
                                       "('F004', 'Algarve Tintas', 'Sul', 1234.75)")),
                 qPrintable(q.lastError().text()));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("criacao"));
    m_bd = new LigacaoBd;
    QVERIFY2(m_bd->Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + ficheiro),
             qPrintable(m_bd->ultimoErro().texto()));
}

void TstListaPesquisa::prepara(ListaPesquisa &lista, const QString &zona)
{
    lista.setLigacao(*m_bd);
    lista.Titulo = QStringLiteral("Fornecedores");
    lista.setSql(QStringLiteral("SELECT Codigo AS 'Fornecedor', Nome, Saldo FROM Fornec WHERE Zona = ? ORDER BY Codigo"),
                 {zona});
    lista.Largura = 5800;
    QVERIFY2(lista.Carrega(), qPrintable(lista.erro()));
    lista.setLarguraColuna(0, 1300);
    lista.setLarguraColuna(1, 4000);
}

void TstListaPesquisa::carregaComValoresLigados()
{
    ListaPesquisa lista;
    prepara(lista, QStringLiteral("Sul"));
    const ModeloLista &m = lista.modelo();
    QCOMPARE(lista.numeroLinhas(), 3);
    QCOMPARE(m.cabecalhos(), QStringList({"Fornecedor", "Nome", "Saldo"}));
    QCOMPARE(m.codigo(2), QStringLiteral("F004"));
    // Numbers read with a decimal comma; a null shows as nothing.
    QCOMPARE(m.texto(0, 2), QStringLiteral("12,5"));
    QCOMPARE(m.texto(1, 2), QString());

    // A value holding a quote is bound, never pasted into the SQL.
    ListaPesquisa aspas;
    prepara(aspas, QStringLiteral("x' OR '1'='1"));
    QCOMPARE(aspas.numeroLinhas(), 0);

    ListaPesquisa pelaLigacao;   // through the connection handle
    pelaLigacao.setLigacao(m_bd->LigacaoAdo());
    pelaLigacao.setSql(QStringLiteral("SELECT Codigo FROM Fornec WHERE Zona = ?"), {QStringLiteral("Norte")});
    QVERIFY(pelaLigacao.Carrega());
    QCOMPARE(pelaLigacao.modelo().codigo(0), QStringLiteral("F002"));
}

void TstListaPesquisa::falhaDeCargaDizPorque()
{
    ListaPesquisa lista;
    lista.setLigacao(*m_bd);
    lista.Titulo = QStringLiteral("Artigos");
    lista.setSql(QStringLiteral("SELECT Codigo FROM NaoExiste"));
    QVERIFY(!lista.Carrega());
    QVERIFY2(lista.erro().contains(QLatin1String("NaoExiste")), qPrintable(lista.erro()));

    // The program's presenter reports it through the message service and
    // answers empty, without showing the list.
    QVERIFY(!ApresentadorLista::instalado());
    MensagensGravadas mensagens;
    mensagens.instala();
    QCOMPARE(lista.Mostra(), QString());
    QCOMPARE(mensagens.quantos(), 1);
    QCOMPARE(mensagens.ultimo().titulo, QStringLiteral("Artigos"));
    QCOMPARE(mensagens.ultimo().icone, PedidoMensagem::Critico);
    QVERIFY(mensagens.ultimo().texto.contains(QLatin1String("NaoExiste")));

    m_bd->Fecha();
    lista.setSql(QStringLiteral("SELECT Codigo FROM Fornec"));
    QVERIFY(!lista.Carrega());
    QVERIFY2(lista.erro().contains(QStringLiteral("não está aberta")), qPrintable(lista.erro()));
}

void TstListaPesquisa::filtroEmQualquerColunaSemCaixa()
{
    ListaPesquisa lista;
    prepara(lista, QStringLiteral("Sul"));
    ModeloLista &m = lista.modelo();
    QAbstractItemModelTester tester(&m);
    const auto codigos = [&m] {
        QStringList c;
        for (int l = 0; l < m.rowCount(); ++l)
            c << m.codigo(l);
        return c;
    };
    m.setFiltro(QStringLiteral("joão"));   // case folds beyond ASCII
    QCOMPARE(codigos(), QStringList{"F003"});
    m.setFiltro(QStringLiteral("f00"));    // the code column counts
    QCOMPARE(m.rowCount(), 3);
    m.setFiltro(QStringLiteral("f004"));   // narrowing
    QCOMPARE(codigos(), QStringList{"F004"});
    m.setFiltro(QStringLiteral("f00"));    // widening brings the rows back
    QCOMPARE(codigos(), QStringList({"F001", "F003", "F004"}));
    m.setFiltro(QStringLiteral("1234,7"));   // the formatted number
    QCOMPARE(codigos(), QStringList{"F004"});
    m.setFiltro(QStringLiteral("zzz"));
    QCOMPARE(m.rowCount(), 0);
    m.setFiltro(QString());
    QCOMPARE(m.rowCount(), 3);
}

void TstListaPesquisa::dialogoFiltraEscolheECancela()
{
    ListaPesquisa lista;
    prepara(lista, QStringLiteral("Sul"));
    DialogoListaPesquisa d(lista);
    abre(d);
    QCOMPARE(d.windowTitle(), QStringLiteral("Fornecedores"));
    QCOMPARE(d.tabela()->columnWidth(0), Twips::paraPixeis(1300));
    QCOMPARE(QApplication::focusWidget(), d.filtro());

    QTest::keyClicks(d.filtro(), QStringLiteral("a"));   // Lisboa Materiais, Algarve Tintas
    QCOMPARE(lista.modelo().rowCount(), 2);
    QTest::keyClick(d.filtro(), Qt::Key_Down);
    QTest::keyClick(d.filtro(), Qt::Key_Down);   // stays on the last row
    QCOMPARE(d.tabela()->currentIndex().row(), 1);
    QTest::keyClick(d.filtro(), Qt::Key_Up);
    QTest::keyClicks(d.filtro(), QStringLiteral("lg"));   // "alg": the first row again
    QCOMPARE(lista.modelo().rowCount(), 1);
    QTest::keyClick(d.filtro(), Qt::Key_Return);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.codigo(), QStringLiteral("F004"));

    // A new window starts unfiltered; Enter with nothing to pick keeps it
    // open; Esc gives up with the empty text.
    DialogoListaPesquisa outro(lista);
    abre(outro);
    QCOMPARE(lista.modelo().rowCount(), 3);
    QTest::keyClicks(outro.filtro(), QStringLiteral("nada disto"));
    QTest::keyClick(outro.filtro(), Qt::Key_Enter);
    QVERIFY(outro.isVisible());
    QTest::keyClick(outro.filtro(), Qt::Key_Escape);
    QCOMPARE(outro.result(), int(QDialog::Rejected));
    QVERIFY(!outro.isVisible());
    QCOMPARE(outro.codigo(), QString());
}

void TstListaPesquisa::duploCliqueEEscritaNaTabela()
{
    ListaPesquisa lista;
    prepara(lista, QStringLiteral("Sul"));
    DialogoListaPesquisa d(lista);
    abre(d);
    d.tabela()->setFocus();
    QTest::keyClicks(d.tabela(), QStringLiteral("Tin"));   // goes to the filter line
    QCOMPARE(d.filtro()->text(), QStringLiteral("Tin"));
    QCOMPARE(QApplication::focusWidget(), d.filtro());
    d.filtro()->clear();

    const QPoint celula = d.tabela()->visualRect(lista.modelo().index(1, 1)).center();
    QTest::mouseClick(d.tabela()->viewport(), Qt::LeftButton, {}, celula);
    QTest::mouseDClick(d.tabela()->viewport(), Qt::LeftButton, {}, celula);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(d.codigo(), QStringLiteral("F003"));
}

void TstListaPesquisa::mostraPassaPeloApresentador()
{
    ListaRespostas respostas;
    QCOMPARE(&ApresentadorLista::actual(), &respostas);
    respostas.responde(QStringLiteral("F999"));
    respostas.respondeLinha(1);

    ListaPesquisa lista;
    prepara(lista, QStringLiteral("Sul"));
    QCOMPARE(lista.Mostra(), QStringLiteral("F999"));
    QCOMPARE(lista.Mostra(), QStringLiteral("F003"));
    QCOMPARE(lista.Mostra(), QString());   // queue empty: as if Esc

    QCOMPARE(respostas.pedidos.size(), 3);
    const ListaRespostas::Pedido &p = respostas.pedidos.first();
    QCOMPARE(p.titulo, QStringLiteral("Fornecedores"));
    QCOMPARE(p.valores, QVariantList{QStringLiteral("Sul")});
    QCOMPARE(p.largura, 5800);
    QCOMPARE(p.largurasColunas, (QList<int>{1300, 4000, 0}));
    QCOMPARE(p.codigos, QStringList({"F001", "F003", "F004"}));

    ListaPesquisa semCarga;   // shown without loading: loaded first
    semCarga.setLigacao(*m_bd);
    semCarga.setSql(QStringLiteral("SELECT Codigo FROM Fornec WHERE Zona = 'Norte'"));
    semCarga.Mostra();
    QCOMPARE(respostas.pedidos.last().codigos, QStringList{"F002"});
}

void TstListaPesquisa::listaGrandeContinuaUtilizavel()
{
    ListaPesquisa lista;
    lista.setLigacao(*m_bd);
    lista.setSql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                                "SELECT printf('A%06d', i), 'Artigo número ' || i, i * 0.5 FROM n"),
                 {200000});
    QElapsedTimer relogio;
    relogio.start();
    QVERIFY2(lista.Carrega(), qPrintable(lista.erro()));
    QCOMPARE(lista.numeroLinhas(), 200000);
    DialogoListaPesquisa d(lista);
    abre(d);
    QTest::keyClicks(d.filtro(), QStringLiteral("mero 1999"));   // 1999, 19990..19999, 199900..199999
    QCOMPARE(lista.modelo().rowCount(), 111);
    QTest::keyClick(d.filtro(), Qt::Key_PageDown);
    QTest::keyClick(d.filtro(), Qt::Key_Return);
    QVERIFY2(d.codigo().startsWith(QLatin1String("A1999")), qPrintable(d.codigo()));
    qInfo("200000 linhas: carga, janela e filtro em %lld ms", relogio.elapsed());
    QVERIFY(relogio.elapsed() < 20000);
}

TESSELA_TEST_MAIN(TstListaPesquisa)
#include "tst_listapesquisa.moc"
