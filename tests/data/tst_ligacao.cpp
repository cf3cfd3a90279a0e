#include "basetemporaria.h"
#include "dialecto.h"

#include <QFile>
#include <QTest>

class TestLigacao : public QObject
{
    Q_OBJECT
private slots:
    void abrirFalhaComMotivoSemCriarFicheiro();
    void recordsetLeituraContagemNuloEFiltro();
    void recordsetActualizavelGravaPelaChave();
    void recordsetEmMemoria();
    void transaccoesAninhadasEAnulacao();
    void dialectoParaAmbosOsMotores();
    void prefixoLiteralNoLike();
};

void TestLigacao::abrirFalhaComMotivoSemCriarFicheiro()
{
    QTemporaryDir pasta;
    const QString inexistente = pasta.filePath(QStringLiteral("nao-existe.db"));
    LigacaoBd bd;
    QVERIFY(!bd.Abre(BaseTemporaria::cadeia(inexistente)));
    QVERIFY(bd.ultimoErro().descricao.contains(inexistente));
    QVERIFY(!QFile::exists(inexistente));

    const QString lixo = pasta.filePath(QStringLiteral("lixo.db"));
    QFile f(lixo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QVERIFY(!bd.Abre(BaseTemporaria::cadeia(lixo)));
    QVERIFY2(bd.ultimoErro().descricao.contains(QStringLiteral("não é uma base de dados")), qPrintable(bd.ultimoErro().descricao));
    QVERIFY(!bd.aberta());

    QVERIFY(!bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1")));
    QVERIFY(!bd.Executa(QStringLiteral("SELECT 1")));
    QCOMPARE(bd.ultimoErro().numero, ErroBd::ErroLigacao);
}

void TestLigacao::recordsetLeituraContagemNuloEFiltro()
{
    BaseTemporaria t;
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("CREATE TABLE T (Codigo varchar(15) COLLATE NOCASE PRIMARY KEY, Nome text, Qtd real)")));
    for (const auto &[c, n, q] : {std::tuple{"A1", QVariant(QStringLiteral("um")), 1.0}, std::tuple{"B2", QVariant(QString("")), 2.0},
                                  std::tuple{"a3", QVariant(), 3.0}, std::tuple{"B4", QVariant(QStringLiteral("quatro")), 4.0}})
        VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO T VALUES (?, ?, ?)"), {QString::fromLatin1(c), n, q}));

    Recordset rs;
    VERIFICA_BD(t.bd, t.bd.AbreConsulta(QStringLiteral("SELECT * FROM T ORDER BY Codigo"), rs));
    QCOMPARE(rs.RecordCount(), 4);
    QCOMPARE(rs.Valor(QStringLiteral("codigo")).toString(), QStringLiteral("A1"));   // field names ignore case
    rs.MoveNext();
    QCOMPARE(rs.Valor(QStringLiteral("Codigo")).toString(), QStringLiteral("a3"));   // NOCASE order
    QVERIFY(rs.Valor(QStringLiteral("Nome")).isNull());
    rs.MoveNext();
    QVERIFY(!rs.Valor(QStringLiteral("Nome")).isNull());
    QCOMPARE(rs.Valor(QStringLiteral("Nome")).toString(), QString());
    rs.MoveNext();
    rs.MoveNext();
    QVERIFY(rs.Eof());

    rs.Filter(QStringLiteral("Codigo"), QStringLiteral("b2"));   // codes compare without case
    QCOMPARE(rs.RecordCount(), 1);
    QCOMPARE(rs.Valor(QStringLiteral("Qtd")).toDouble(), 2.0);
    rs.Filter(QStringLiteral("Codigo"), QStringLiteral("ZZ"));
    QVERIFY(rs.Eof());
    QCOMPARE(rs.RecordCount(), 0);
    rs.RemoveFilter();
    QCOMPARE(rs.RecordCount(), 4);
    QCOMPARE(rs.Valor(0).toString(), QStringLiteral("A1"));

    // Every row comes back with the same types as the first, whatever the
    // storage: integer, real, text, bytes, date, null.
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("CREATE TABLE Tipos (i integer, r real, t text, b blob, d datetime, n text)")));
    for (int k = 0; k < 3; ++k)
        VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO Tipos VALUES (?, ?, ?, ?, ?, NULL)"),
                                       {qlonglong(1) << 40, 2.5, QStringLiteral("ção €"), QByteArray("\0\x01", 2), QDate(2026, 3, 4)}));
    VERIFICA_BD(t.bd, t.bd.AbreConsulta(QStringLiteral("SELECT * FROM Tipos"), rs));
    QCOMPARE(rs.RecordCount(), 3);
    for (int c = 0; c < rs.numeroCampos(); ++c)
        for (int linha = 1; linha < 3; ++linha) {
            QCOMPARE(rs.valorEm(linha, c), rs.valorEm(0, c));
            QCOMPARE(rs.valorEm(linha, c).metaType(), rs.valorEm(0, c).metaType());
        }
    QCOMPARE(rs.valorEm(2, 4).toDateTime(), QDateTime(QDate(2026, 3, 4), QTime(0, 0)));
    QVERIFY(!rs.valorEm(2, 5).isValid());
    // Written: a null text is Null, the empty text is not; a flag is 1.
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO Tipos (i, t, n) VALUES (?, ?, ?)"), {true, QString(), QStringLiteral("")}));
    VERIFICA_BD(t.bd, t.bd.AbreConsulta(QStringLiteral("SELECT i, t IS NULL, n IS NULL FROM Tipos WHERE r IS NULL"), rs));
    QCOMPARE(rs.Valor(0).toInt(), 1);
    QCOMPARE(rs.Valor(1).toInt(), 1);
    QCOMPARE(rs.Valor(2).toInt(), 0);

    // A code with a quote, % and _ is only itself.
    VERIFICA_BD(t.bd, t.bd.AbreConsulta(QStringLiteral("SELECT * FROM T WHERE Codigo = ?"), rs, {QStringLiteral("A1' OR '1'='1")}));
    QVERIFY(rs.Eof());
}

void TestLigacao::recordsetActualizavelGravaPelaChave()
{
    BaseTemporaria t;
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("CREATE TABLE P (Id INTEGER PRIMARY KEY AUTOINCREMENT, Forn varchar(15), Preco real, Data datetime, Obs text)")));
    Recordset rs;
    VERIFICA_BD(t.bd, t.bd.AbreTabela(QStringLiteral("SELECT * FROM P WHERE Id = ?"), rs, {-10}));
    QVERIFY(rs.Eof());
    QVERIFY(rs.AddNew());
    QVERIFY(rs.SetValor(QStringLiteral("Forn"), QStringLiteral("F001")));
    QVERIFY(rs.SetValor(QStringLiteral("Preco"), 12.5));
    QVERIFY(rs.SetValor(QStringLiteral("Data"), QDate(2026, 3, 4)));
    VERIFICA_BD(t.bd, rs.Update());
    const QVariant id = rs.Valor(QStringLiteral("Id"));
    QVERIFY(id.toInt() > 0);

    VERIFICA_BD(t.bd, t.bd.AbreTabela(QStringLiteral("SELECT * FROM P WHERE Id = ?"), rs, {id}));
    QCOMPARE(rs.RecordCount(), 1);
    QCOMPARE(rs.Valor(QStringLiteral("Data")).toDateTime().date(), QDate(2026, 3, 4));   // dates come back as dates
    QVERIFY(rs.Valor(QStringLiteral("Obs")).isNull());
    rs.SetValor(QStringLiteral("Preco"), 13.75);
    rs.SetValor(QStringLiteral("Obs"), QString(""));
    VERIFICA_BD(t.bd, rs.Update());
    Recordset leitura;
    t.bd.AbreConsulta(QStringLiteral("SELECT Preco, Obs, Forn FROM P"), leitura);
    QCOMPARE(leitura.RecordCount(), 1);
    QCOMPARE(leitura.Valor(0).toDouble(), 13.75);
    QVERIFY(!leitura.Valor(1).isNull());
    QCOMPARE(leitura.Valor(2).toString(), QStringLiteral("F001"));   // untouched column kept

    // A table without a primary key cannot be opened for updating.
    t.bd.Executa(QStringLiteral("CREATE TABLE SemChave (a text)"));
    QVERIFY(!t.bd.AbreTabela(QStringLiteral("SELECT * FROM SemChave"), rs));
    QVERIFY(!rs.aberto());
}

void TestLigacao::recordsetEmMemoria()
{
    Recordset rs = Recordset::emMemoria({{QStringLiteral("Artigo"), QMetaType::QString, 15},
                                         {QStringLiteral("Preco"), QMetaType::Double, 0}});
    QCOMPARE(rs.RecordCount(), 0);
    QVERIFY(rs.Eof());
    for (const char *a : {"X1", "X2", "X1"}) {
        rs.AddNew();
        rs.SetValor(QStringLiteral("Artigo"), QString::fromLatin1(a));
        rs.SetValor(QStringLiteral("Preco"), 1.5);
        QVERIFY(rs.Update());
    }
    QCOMPARE(rs.RecordCount(), 3);
    rs.Filter(QStringLiteral("Artigo"), QStringLiteral("x1"));
    QCOMPARE(rs.RecordCount(), 2);
    rs.RemoveFilter();
    rs.MoveFirst();
    QCOMPARE(rs.Valor(QStringLiteral("Artigo")).toString(), QStringLiteral("X1"));
}

void TestLigacao::transaccoesAninhadasEAnulacao()
{
    BaseTemporaria t;
    t.bd.Executa(QStringLiteral("CREATE TABLE N (v integer)"));
    auto conta = [&] { return t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM N")).toInt(); };
    {
        Transaccao exterior(t.bd);
        QVERIFY(exterior.iniciada());
        t.bd.Executa(QStringLiteral("INSERT INTO N VALUES (1)"));
        {
            Transaccao interior(t.bd);
            t.bd.Executa(QStringLiteral("INSERT INTO N VALUES (2)"));
            // not confirmed: the savepoint rolls back on leaving the scope
        }
        QCOMPARE(conta(), 1);
        {
            Transaccao interior(t.bd);
            t.bd.Executa(QStringLiteral("INSERT INTO N VALUES (3)"));
            QVERIFY(interior.confirma());
        }
        QVERIFY(exterior.confirma());
    }
    QCOMPARE(conta(), 2);
    {
        Transaccao tudo(t.bd);
        t.bd.Executa(QStringLiteral("DELETE FROM N"));
    }
    QCOMPARE(conta(), 2);
    QCOMPARE(t.bd.nivelTransaccao(), 0);

    // A second connection sees nothing of an unconfirmed transaction.
    LigacaoBd outra;
    VERIFICA_BD(outra, outra.Abre(BaseTemporaria::cadeia(t.ficheiro)));
    QVERIFY(t.bd.IniciaTransaccao());
    t.bd.Executa(QStringLiteral("INSERT INTO N VALUES (9)"));
    QCOMPARE(outra.valorUnico(QStringLiteral("SELECT count(*) FROM N")).toInt(), 2);
    QVERIFY(t.bd.AnulaTransaccao());
    QCOMPARE(conta(), 2);
}

void TestLigacao::dialectoParaAmbosOsMotores()
{
    const Dialecto sqlite(Dialecto::SQLite), sqlServer(Dialecto::SqlServer);
    QCOMPARE(sqlServer.primeiros(25, QStringLiteral("Codigo FROM V ORDER BY Codigo"), true),
             QStringLiteral("SELECT DISTINCT TOP 25 Codigo FROM V ORDER BY Codigo"));
    QCOMPARE(sqlite.primeiros(25, QStringLiteral("Codigo FROM V ORDER BY Codigo"), true),
             QStringLiteral("SELECT DISTINCT Codigo FROM V ORDER BY Codigo LIMIT 25"));
    QVERIFY(sqlServer.criaIndiceSeNaoExiste(QStringLiteral("IX"), QStringLiteral("T"), QStringLiteral("c")).contains(QStringLiteral("sys.indexes")));
    QCOMPARE(sqlite.paraParametro(QDate(2026, 1, 5)).toString(), QStringLiteral("2026-01-05 00:00:00"));
    QCOMPARE(sqlServer.paraParametro(QDate(2026, 1, 5)).metaType().id(), int(QMetaType::QDate));

    // Every SQLite rendering runs.
    BaseTemporaria t;
    const Dialecto &d = t.bd.dialecto();
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("CREATE TABLE D (Id %1, Cod %2, Data %3, Preco %4)")
                                       .arg(d.tipoChaveAutomatica(), d.tipoTexto(15), d.tipoData(), d.tipoMoeda())));
    VERIFICA_BD(t.bd, t.bd.Executa(d.criaIndiceSeNaoExiste(QStringLiteral("IX_D"), QStringLiteral("D"), QStringLiteral("Cod"))));
    VERIFICA_BD(t.bd, t.bd.Executa(d.criaIndiceSeNaoExiste(QStringLiteral("IX_D"), QStringLiteral("D"), QStringLiteral("Cod"))));
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO D (Cod, Data, Preco) VALUES (?, %1, ?)").arg(d.parametroData()),
                                   {QStringLiteral("ab"), QDate(2026, 2, 1), 1.25}));
    VERIFICA_BD(t.bd, t.bd.Executa(d.apaga(QStringLiteral("D")) + QStringLiteral(" WHERE Cod = ?"), {QStringLiteral("AB ")}));
    QCOMPARE(t.bd.linhasAfectadas(), 1);
    Recordset rs;
    VERIFICA_BD(t.bd, t.bd.AbreConsulta(d.primeiros(1, QStringLiteral("Cod FROM D")), rs));
    VERIFICA_BD(t.bd, t.bd.valorUnico(QStringLiteral("SELECT ") + d.agora()).isValid());
}

void TestLigacao::prefixoLiteralNoLike()
{
    BaseTemporaria t;
    t.bd.Executa(QStringLiteral("CREATE TABLE C (Codigo varchar(25) COLLATE NOCASE PRIMARY KEY)"));
    for (const char *c : {"AB1", "ab2", "A%B", "AXB", "A_B", "A[B", "O'BRIEN", "ZZ"})
        t.bd.Executa(QStringLiteral("INSERT INTO C VALUES (?)"), {QString::fromLatin1(c)});
    auto procura = [&](const QString &prefixo) {
        Recordset rs;
        t.bd.AbreConsulta(QStringLiteral("SELECT Codigo FROM C WHERE Codigo LIKE ?") + Dialecto::escapeLike()
                              + QStringLiteral(" ORDER BY Codigo"),
                          rs, {Dialecto::padraoPrefixo(prefixo)});
        QStringList r;
        for (; !rs.Eof(); rs.MoveNext())
            r << rs.Valor(0).toString();
        return r;
    };
    QCOMPARE(procura(QStringLiteral("ab")), (QStringList{"AB1", "ab2"}));
    QCOMPARE(procura(QStringLiteral("A%")), QStringList{"A%B"});
    QCOMPARE(procura(QStringLiteral("A_")), QStringList{"A_B"});
    QCOMPARE(procura(QStringLiteral("A[")), QStringList{"A[B"});
    QCOMPARE(procura(QStringLiteral("o'b")), QStringList{"O'BRIEN"});
}

QTEST_GUILESS_MAIN(TestLigacao)
#include "tst_ligacao.moc"
