#include "analiseruptura.h"
#include "artigossql.h"
#include "basedadossql.h"
#include "basesqlite.h"
#include "cargaprecos.h"
#include "campoinput.h"
#include "catalogo.h"
#include "consultaprecos.h"
#include "consultaprecosclientes.h"
#include "consultas.h"
#include "geracaoencomendas.h"
#include "geradordemo.h"
#include "gravacaonecessidades.h"
#include "gravacaoprecos.h"
#include "historicoartigo.h"
#include "historicoprecos.h"
#include "importador.h"
#include "lintsqlserver.h"
#include "listarespostas.h"
#include "listasgrelha.h"
#include "mensagensgravadas.h"
#include "registotestes.h"
#include "rupturastocks.h"
#include "sessaoerp.h"
#include "sugestoes.h"
#include "testmain.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// The statement catalogue (docs/instrucoes-sqlserver.md): each row drives one
// operation of a window on a fresh copy of a small demo company, through a
// recording connection (RegistoInstrucoes), so every statement the code
// builds is run on SQLite and written down in its SQL Server text. The end
// compares what was sent with the committed page: a statement the page does
// not hold fails the test. With TESSELA_ESCREVE_CATALOGO=1 (scripts/
// catalogue.sh) the page is written again instead. Every statement sent also
// goes through the SQL Server lint.
namespace {
struct Contexto
{
    LigacaoBd &bd;
    QString ficheiro;
    QString artigo, fornecedor, cliente;   // codes that exist in the demo company
    QString outroArtigo;                   // an article without prices of fornecedor or cliente
    QStringList subFamilia;                // group, family and sub-family of one sub-family
};

// A window of filters shown (tipo its mode); on each field its list asked
// for (F4, the list left without a choice), then the field typed in and left
// with Tab, as a user does, so that the field's check runs.
template <class Janela>
bool escreveFiltros(Contexto &c, int tipo, const QList<QPair<int, QString>> &campos)
{
    Janela janela;
    janela.setBd(&c.bd);
    if constexpr (!std::is_same_v<Janela, ConsultaPrecosClientes>)
        janela.setTipo(tipo);
    janela.Mostra();
    janela.activateWindow();
    if (!QTest::qWaitForWindowActive(&janela))
        return false;
    ListaRespostas listas;
    for (const auto &[indice, texto] : campos) {
        CampoInput *campo = janela.Campo(indice);
        campo->setFocus();
        QTest::keyClick(campo, Qt::Key_F4);
        janela.activateWindow();
        campo->setFocus();
        campo->selectAll();
        QTest::keyClicks(campo, texto);
        QTest::keyClick(campo, Qt::Key_Tab);
    }
    for (const auto &p : listas.pedidos)
        if (!p.erro.isEmpty())
            return false;
    return listas.pedidos.size() >= campos.size() / 2;
}

struct Operacao
{
    const char *janela;
    const char *operacao;
    std::function<bool(Contexto &)> corre;
};

QList<LinhaRuptura> analise(LigacaoBd &bd, int tipo)
{
    FiltrosRuptura f;
    f.Tipo = tipo;
    f.dias = 30;
    f.comPrevisao = true;
    QList<LinhaRuptura> linhas;
    AnaliseRuptura a(bd);
    a.carrega(f, linhas);
    return linhas;
}

bool ligaErp(SessaoErp &erp, Contexto &c)
{
    return erp.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(),
                    QString::number(QDate::currentDate().year()), c.ficheiro);
}

const QList<Operacao> &operacoes()
{
    static const QList<Operacao> lista{
        {"Arranque", "Ligação ao ERP", [](Contexto &c) { SessaoErp erp; return ligaErp(erp, c); }},
        {"Arranque", "Verificação das tabelas de equivalências", [](Contexto &c) {
             BaseDadosSql b;
             b.setBd(&c.bd);
             b.VerificaBaseDeDados();
             return !c.bd.ultimoErro().existe();
         }},
        {"Arranque", "Criação das tabelas de equivalências (base sem elas)", [](Contexto &c) {
             {
                 RegistoInstrucoes::activa(false);
                 LigacaoBd outra;
                 outra.Abre(BaseSqlite::cadeia(c.ficheiro));
                 for (const char *sql : {"DROP VIEW mvk_view_JuntaCodigoArtigos", "DROP TABLE mvk_equivalencias", "DROP TABLE mvk_AcessoRapido"})
                     if (!outra.Executa(QLatin1String(sql)))
                         return false;
                 RegistoInstrucoes::activa(true);
             }
             BaseDadosSql b;
             b.setBd(&c.bd);
             return b.VerificaBaseDeDados();
         }},
        {"Pesquisa de equivalências", "Sugestões da caixa de código", [](Contexto &c) {
             QStringList codigos;
             return Sugestoes::le(c.bd, c.artigo.left(2), codigos) && !codigos.isEmpty();
         }},
        {"Pesquisa de equivalências", "Pesquisar e observações", [](Contexto &c) {
             ArtigosSql a;
             a.setBd(&c.bd);
             Recordset rs = a.Pesquisar(c.artigo);
             a.Observacoes(c.artigo);
             return rs.RecordCount() > 0;
         }},
        {"Ficha de equivalências", "Ler, escrever e apagar equivalências", [](Contexto &c) {
             ArtigosSql a;
             a.setBd(&c.bd);
             a.setCodigo(c.artigo);
             Recordset rs;
             const bool lido = a.Ler(rs);
             a.Equivalencia_Escrever(QStringLiteral("CAT-EQ-1"));
             return lido && a.Apagar();
         }},
        {"Ficha de equivalências", "Lista de artigos", [](Contexto &c) {
             ListaRespostas listas;
             ArtigosSql a;
             a.setBd(&c.bd);
             a.MostraLista();
             return !listas.pedidos.isEmpty() && listas.pedidos.first().erro.isEmpty();
         }},
        {"Janela principal", "Importação de equivalências", [](Contexto &c) { return ImportaEquivalencias(c.bd).completa; }},
        {"Consultas partilhadas", "Fornecedor, cliente, artigo e ajuda de compra", [](Contexto &c) {
             Recordset rs;
             QString ref;
             return LerFornecedor(c.bd, rs, c.fornecedor) && LerCliente(c.bd, rs, c.cliente) && LerArtigo(c.bd, rs, c.artigo)
                    && LerAjudaCompra(c.bd, rs, c.artigo, c.fornecedor) && LerReferenciaCompra(c.bd, c.artigo, c.fornecedor, &ref);
         }},
        {"Consultas partilhadas", "Gravação da ajuda de compra (registo novo e existente)", [](Contexto &c) {
             return GravaAjudaCompra(c.bd, c.artigo, c.fornecedor, QStringLiteral("CAT-1"), Moeda::deDouble(2.5))
                    && GravaAjudaCompra(c.bd, c.artigo, c.fornecedor, QStringLiteral("CAT-2"), Moeda::deDouble(3));
         }},
        {"Consultas partilhadas", "Listas de fornecedores, clientes e artigos", [](Contexto &c) {
             ListaRespostas listas;
             EscolheFornecedorGrelha(c.bd);
             EscolheClienteGrelha(c.bd);
             EscolheArtigoGrelha(c.bd);
             EscolheArtigoFiltro(c.bd);
             for (const auto &p : listas.pedidos)
                 if (!p.erro.isEmpty() || p.codigos.isEmpty())
                     return false;
             return listas.pedidos.size() == 4;
         }},
        {"Consulta de Preços", "Carga (preços de fornecedores e compras)", [](Contexto &c) {
             Recordset rs;
             for (int tipo : {1, 2})
                 for (const QString &f : {c.fornecedor, QString()})
                     if (!CargaPrecos::consulta(c.bd, LadoPrecos::Fornecedores, tipo, f, c.artigo, rs))
                         return false;
             return true;
         }},
        {"Consulta de Preços", "Campos do filtro", [](Contexto &c) {
             return escreveFiltros<ConsultaPrecos>(c, 1, {{0, c.fornecedor}, {1, c.artigo}});
         }},
        {"Consulta de Preços de Clientes", "Campos do filtro", [](Contexto &c) {
             return escreveFiltros<ConsultaPrecosClientes>(c, 1, {{0, c.cliente}, {1, c.artigo}});
         }},
        {"Ruptura de Stocks", "Campos do filtro", [](Contexto &c) {
             // Each range from and to one code: a family is looked up within
             // the group range, a sub-family within both.
             const QStringList &g = c.subFamilia;
             return escreveFiltros<RupturaStocks>(c, 1, {{0, c.artigo}, {2, g.value(0)}, {3, g.value(0)}, {4, g.value(1)},
                                                         {5, g.value(1)}, {6, g.value(2)}, {7, g.value(2)}});
         }},
        {"Consulta de Preços", "Gravação", [](Contexto &c) {
             const qint64 id = c.bd.valorUnico(QStringLiteral("SELECT MIN(Id_Preco) FROM mvk_Precos_Forn")).toLongLong();
             GravacaoPrecos g(c.bd);
             // A pair with a record (changed) and one without (added).
             return g.grava({LinhaPreco{1, c.fornecedor, c.artigo, QDate::currentDate(), Moeda::deDouble(4.5), QStringLiteral("R"), {}},
                             LinhaPreco{2, c.fornecedor, c.outroArtigo, QDate::currentDate(), Moeda::deDouble(5), QStringLiteral(""), {}}},
                            {id});
         }},
        {"Consulta de Preços", "Histórico de preços do par", [](Contexto &c) {
             HistoricoPar h;
             return HistoricoPrecos::le(c.bd, DestinoPrecos::fornecedores(), c.fornecedor, c.artigo, &h)
                    && HistoricoPrecos::le(c.bd, DestinoPrecos::clientes(), c.cliente, c.artigo, &h);
         }},
        {"Consulta de Preços de Clientes", "Carga", [](Contexto &c) {
             Recordset rs;
             return CargaPrecos::consulta(c.bd, LadoPrecos::Clientes, 1, c.cliente, c.artigo, rs)
                    && CargaPrecos::consulta(c.bd, LadoPrecos::Clientes, 1, QString(), QString(), rs);
         }},
        {"Consulta de Preços de Clientes", "Gravação", [](Contexto &c) {
             Recordset primeiro;
             if (!c.bd.AbreConsulta(QStringLiteral("SELECT Id_Preco, Artigo FROM mvk_Precos_Clientes ORDER BY Id_Preco"), primeiro))
                 return false;
             const qint64 id = primeiro.Valor(0).toLongLong();
             GravacaoPrecos g(c.bd, DestinoPrecos::clientes());
             return g.grava({LinhaPreco{1, c.cliente, primeiro.Valor(1).toString(), QDate::currentDate(), Moeda::deDouble(6), QString(), {}},
                             LinhaPreco{2, c.cliente, c.outroArtigo, QDate::currentDate(), Moeda::deDouble(7), QString(), {}}},
                            {id});
         }},
        {"Ruptura de Stocks", "Análise", [](Contexto &c) { return !analise(c.bd, 1).isEmpty(); }},
        {"Ruptura de Stocks", "Análise necessidade a necessidade (referência)", [](Contexto &c) {
             FiltrosRuptura f;
             f.dias = 30;
             AnaliseRuptura a(c.bd);
             QList<NecessidadePendente> lista;
             QList<LinhaRuptura> linhas;
             return a.necessidades(f, lista) && a.porNecessidade(f, lista.mid(0, 5), linhas);
         }},
        {"Ruptura de Stocks", "Geração de encomendas", [](Contexto &c) {
             SessaoErp erp;
             if (!ligaErp(erp, c))
                 return false;
             erp.setLigacao(&c.bd);
             QList<LinhaNecessidade> linhas;
             for (const LinhaRuptura &l : analise(c.bd, 1)) {
                 if (l.forn.isEmpty() || linhas.size() >= 6)
                     continue;
                 LinhaNecessidade n;
                 n.linha = int(linhas.size()) + 1;
                 n.id = l.id;
                 n.artigo = l.artigo;
                 n.qtd = Moeda::deDouble(1);
                 n.comQtd = true;
                 n.fornec = l.forn;
                 n.refArt = QStringLiteral("CAT-R");
                 n.prUnit = Moeda::deDouble(1.5);
                 linhas << n;
             }
             GeracaoEncomendas g(c.bd, erp);
             return g.gera(linhas, DocumentoEncomenda{QStringLiteral("ENF"), QStringLiteral("001"), QStringLiteral("1"), QStringLiteral("1")},
                           QDate::currentDate())
                    && !g.criadas().isEmpty();
         }},
        {"Ruptura de Stocks", "Histórico do artigo", [](Contexto &c) {
             DadosHistorico d;
             return HistoricoArtigo(c.bd).le(c.artigo, QDate::currentDate(), d) && d.existe;
         }},
        {"Necessidades de Encomendas", "Carga", [](Contexto &c) { return !analise(c.bd, 2).isEmpty(); }},
        {"Necessidades de Encomendas", "Gravação", [](Contexto &c) {
             const QList<LinhaRuptura> linhas = analise(c.bd, 2);
             if (linhas.size() < 2)
                 return false;
             LinhaNecessidade alterada;
             alterada.linha = 1;
             alterada.id = linhas.first().id;
             alterada.artigo = linhas.first().artigo;
             alterada.qtd = Moeda::deDouble(3);
             alterada.comQtd = true;
             alterada.dataPedido = QDate::currentDate();
             LinhaNecessidade nova = alterada;
             nova.linha = 2;
             nova.id = QVariant();
             nova.fornec = c.fornecedor;
             GravacaoNecessidades g(c.bd);
             return g.grava({alterada, nova}, {linhas.last().id});
         }},
    };
    return lista;
}
} // namespace

class TstInstrucoes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void operacao_data();
    void operacao();
    void lint_data();
    void lint();
    void cleanupTestCase();

private:
    RegistoTestes m_registo;
    MensagensGravadas m_mensagens;
    QTemporaryDir m_pasta;
    QString m_modelo;
    QString m_artigo, m_fornecedor, m_cliente, m_outroArtigo;
    QStringList m_subFamilia;
    bool m_todas = true;
};

void TstInstrucoes::initTestCase()
{
    // The SQL Server text is recorded by the direct SQLite connection, which
    // runs the SQLite side of each marked statement; over ODBC the same
    // operations already run in their own test programs.
    SO_SQLITE_DIRECTO("o catálogo é gravado pela ligação directa ao SQLite");
    QVERIFY2(m_registo.ok, qPrintable(m_registo.erro));
    m_mensagens.instala();
    m_modelo = m_pasta.filePath(QStringLiteral("modelo.db"));
    LigacaoBd bd;
    VERIFICA_BD(bd, BaseSqlite::criaVazia(bd, m_modelo));
    GeradorDemo g(20261206, QDate::currentDate());
    const GeradorDemo::Escala escala = GeradorDemo::Escala::pequena();
    QVERIFY2(g.gera(bd, escala), qPrintable(g.erro()));
    BaseDadosSql esquema;
    esquema.setBd(&bd);
    QVERIFY(esquema.VerificaBaseDeDados());
    QVERIFY2(g.geraEquivalencias(bd, 50, escala.artigos), qPrintable(g.erro()));
    // Codes that have what the operations read: an article with a pending
    // need, quotes and purchase help; a supplier and a customer with prices.
    m_artigo = bd.valorUnico(QStringLiteral("SELECT n.Artigo FROM mvk_Necessidades n JOIN mvk_Precos_Forn p ON p.Artigo = n.Artigo "
                                            "WHERE n.Processado = 0 ORDER BY n.Id LIMIT 1"))
                   .toString();
    m_fornecedor = bd.valorUnico(QStringLiteral("SELECT Fornecedor FROM mvk_Precos_Forn WHERE Artigo = ? LIMIT 1"), {m_artigo}).toString();
    m_cliente = bd.valorUnico(QStringLiteral("SELECT Cliente FROM mvk_Precos_Clientes ORDER BY Id_Preco LIMIT 1")).toString();
    m_outroArtigo = bd.valorUnico(QStringLiteral("SELECT CODIGO FROM Artigos a WHERE INACTIVO = 0 AND ARTOUDES = 0 "
                                                 "AND NOT EXISTS (SELECT 1 FROM mvk_Precos_Forn p WHERE p.Artigo = a.CODIGO AND p.Fornecedor = ?) "
                                                 "AND NOT EXISTS (SELECT 1 FROM mvk_Precos_Clientes p WHERE p.Artigo = a.CODIGO AND p.Cliente = ?) "
                                                 "ORDER BY CODIGO LIMIT 1"),
                                  {m_fornecedor, m_cliente})
                        .toString();
    QVERIFY(!m_artigo.isEmpty() && !m_fornecedor.isEmpty() && !m_cliente.isEmpty() && !m_outroArtigo.isEmpty());
    Recordset sub;
    QVERIFY(bd.AbreConsulta(QStringLiteral("SELECT Grupo, Familia, Cod FROM SUBFamil ORDER BY Grupo, Familia, Cod"), sub));
    m_subFamilia = {sub.Valor(0).toString(), sub.Valor(1).toString(), sub.Valor(2).toString()};
    bd.Fecha();
    RegistoInstrucoes::limpa();
}

void TstInstrucoes::operacao_data()
{
    QTest::addColumn<int>("indice");
    for (int i = 0; i < operacoes().size(); ++i)
        QTest::addRow("%s: %s", operacoes().at(i).janela, operacoes().at(i).operacao) << i;
}

void TstInstrucoes::operacao()
{
    QFETCH(int, indice);
    const Operacao &op = operacoes().at(indice);
    const QString ficheiro = m_pasta.filePath(QStringLiteral("op%1.db").arg(indice));
    QVERIFY(QFile::copy(m_modelo, ficheiro));
    m_todas = false;
    RegistoInstrucoes::activa(true);
    bool ok;
    {
        LigacaoBd bd;
        VERIFICA_BD(bd, bd.Abre(BaseSqlite::cadeia(ficheiro)));
        QVERIFY(bd.dialecto().registo());
        RegistoInstrucoes::Operacao escopo(QString::fromUtf8(op.janela), QString::fromUtf8(op.operacao));
        Contexto c{bd, ficheiro, m_artigo, m_fornecedor, m_cliente, m_outroArtigo, m_subFamilia};
        m_mensagens.limpa();
        ok = op.corre(c);
        RegistoInstrucoes::activa(false);
        QVERIFY2(ok, qPrintable(bd.ultimoErro().texto() + QLatin1Char(' ') + m_mensagens.pedidos().value(0).texto));
    }
    QCOMPARE(m_mensagens.quantos(), 0);
    m_todas = true;
}

void TstInstrucoes::lint_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("problemas");
    // The lint itself: each construct caught, its right form passed.
    QTest::newRow("TOP") << QStringLiteral("SELECT TOP 25 Codigo FROM Artigos ORDER BY Codigo") << 0;
    QTest::newRow("LIMIT") << QStringLiteral("SELECT Codigo FROM Artigos LIMIT 25") << 1;
    QTest::newRow("OFFSET FETCH") << QStringLiteral("SELECT a FROM t ORDER BY a OFFSET 5 ROWS FETCH NEXT 5 ROWS ONLY") << 0;
    QTest::newRow("OFFSET sem FETCH") << QStringLiteral("SELECT a FROM t ORDER BY a OFFSET 5 ROWS") << 1;
    QTest::newRow("||") << QStringLiteral("SELECT a || b FROM t") << 1;
    QTest::newRow("|| num literal") << QStringLiteral("SELECT 'a || b' FROM t") << 0;
    QTest::newRow("IFNULL") << QStringLiteral("SELECT IFNULL(a, 0) FROM t") << 1;
    QTest::newRow("TRUE") << QStringLiteral("SELECT a FROM t WHERE b = TRUE") << 1;
    QTest::newRow("aspas") << QStringLiteral("SELECT \"a\" FROM t") << 1;
    QTest::newRow("aspas num literal") << QStringLiteral("SELECT 'o \"a\"' FROM t WHERE x = 'it''s'") << 0;
    QTest::newRow("INSERT OR") << QStringLiteral("INSERT OR IGNORE INTO t (a) VALUES (?)") << 1;
    QTest::newRow("NOCASE") << QStringLiteral("SELECT a FROM t WHERE a = ? COLLATE NOCASE") << 1;
    QTest::newRow("colação do servidor") << QStringLiteral("SELECT a FROM t WHERE a = ? COLLATE Latin1_General_CI_AS") << 0;
    QTest::newRow("subconsulta em SUM") << QStringLiteral("SELECT SUM(CASE WHEN EXISTS (SELECT 1 FROM u) THEN 1 END) FROM t") << 1;
    QTest::newRow("SUM de coluna") << QStringLiteral("SELECT SUM(CASE WHEN t.k = 1 THEN q ELSE 0 END) FROM t WHERE a IN (SELECT a FROM u)")
                                   << 0;
    QTest::newRow("datetime") << QStringLiteral("SELECT datetime('now','localtime')") << 1;
}

void TstInstrucoes::lint()
{
    QFETCH(QString, sql);
    QFETCH(int, problemas);
    QCOMPARE(LintSqlServer::problemas(sql).size(), problemas);
}

void TstInstrucoes::cleanupTestCase()
{
    const auto porOperacao = RegistoInstrucoes::porOperacao();
    if (!m_todas || porOperacao.isEmpty())
        return;   // an operation failed: its failure says why, the page is not judged
    // Every statement sent is one the server takes.
    QStringList erradas;
    QSet<QString> enviadas;
    for (const QStringList &lista : porOperacao)
        for (const QString &sql : lista) {
            enviadas.insert(Catalogo::normaliza(sql));
            const QStringList p = LintSqlServer::problemas(sql);
            if (!p.isEmpty())
                erradas << p.join(QStringLiteral("; ")) + QStringLiteral(": ") + Catalogo::normaliza(sql);
        }
    QVERIFY2(erradas.isEmpty(), qPrintable(erradas.join(QLatin1Char('\n'))));

    QFile f(QStringLiteral(TESSELA_CATALOGO));
    if (qEnvironmentVariableIntValue("TESSELA_ESCREVE_CATALOGO") == 1) {
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.fileName()));
        f.write(Catalogo::pagina(porOperacao).toUtf8());
        qInfo("Catálogo escrito em %s (%lld instruções)", qPrintable(f.fileName()), qint64(enviadas.size()));
        return;
    }
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    const QSet<QString> conhecidas = Catalogo::instrucoesDe(QString::fromUtf8(f.readAll()));
    QStringList novas;
    for (const QString &sql : enviadas)
        if (!conhecidas.contains(sql))
            novas << sql;
    novas.sort();
    QVERIFY2(novas.isEmpty(), qPrintable(QStringLiteral("%1 instruções enviadas que o catálogo não tem (refaça-o com "
                                                        "bash scripts/catalogue.sh):\n")
                                             .arg(novas.size())
                                         + novas.join(QLatin1Char('\n'))));
    int antigas = 0;
    for (const QString &sql : conhecidas)
        antigas += enviadas.contains(sql) ? 0 : 1;
    if (antigas)
        qWarning("O catálogo tem %d instruções que já não são enviadas: refaça-o com bash scripts/catalogue.sh", antigas);
}

TESSELA_TEST_MAIN(TstInstrucoes)
#include "tst_instrucoes.moc"
