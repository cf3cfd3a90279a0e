#include "basetemporaria.h"
#include "consultas.h"
#include "geradordemo.h"
#include "sessaoerp.h"

#include <QCryptographicHash>
#include <QTest>

namespace {
GeradorDemo::Escala pequena()
{
    GeradorDemo::Escala e;
    e.artigos = 300;
    e.fornecedores = 10;
    e.clientes = 20;
    e.linhasDocumento = 3000;
    e.clart = 50;
    e.precosFornecedor = 60;
    e.precosCliente = 30;
    e.necessidades = 20;
    return e;
}

// Every table's content in a fixed order, hashed.
QByteArray impressao(LigacaoBd &bd)
{
    QCryptographicHash h(QCryptographicHash::Sha1);
    Recordset tabelas;
    bd.AbreConsulta(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name"), tabelas);
    for (; !tabelas.Eof(); tabelas.MoveNext()) {
        Recordset rs;
        bd.AbreConsulta(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3").arg(tabelas.Valor(0).toString()), rs);
        for (; !rs.Eof(); rs.MoveNext())
            for (int i = 0; i < rs.numeroCampos(); ++i)
                h.addData(rs.Valor(i).toString().toUtf8() + '|');
    }
    return h.result();
}
} // namespace

class TestErp : public QObject
{
    Q_OBJECT
private slots:
    void geradorDeterministicoComOsTiposDeDocumento();
    void consultasPorCodigoLiteral();
    void sessaoErpRecusaOQueNaoExiste();
};

void TestErp::geradorDeterministicoComOsTiposDeDocumento()
{
    const QDate hoje(2026, 12, 6);
    BaseTemporaria a(QStringLiteral("a.db")), b(QStringLiteral("b.db"));
    GeradorDemo ga(7, hoje), gb(7, hoje);
    QVERIFY2(ga.gera(a.bd, pequena()), qPrintable(ga.erro()));
    QVERIFY2(gb.gera(b.bd, pequena()), qPrintable(gb.erro()));
    QCOMPARE(impressao(a.bd), impressao(b.bd));

    QCOMPARE(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM Artigos")).toInt(), 300);
    QCOMPARE(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM docgclin")).toInt(), 3000);
    // Each document kind the program selects is there, and so are kinds it must leave out.
    const auto linhas = [&](int areag, int tpoper, int entidade, int natconta, int sinalct) {
        return a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM docgclin JOIN Tpdoc ON Codigo = Tpdocum WHERE Areag = ? "
                                              "AND tpoper = ? AND entidade = ? AND natconta = ? AND sinalct = ? AND Linanu = 0"),
                               {areag, tpoper, entidade, natconta, sinalct}).toInt();
    };
    QVERIFY(linhas(4, 2, 2, 1, 1) > 0);   // sales
    QVERIFY(linhas(2, 1, 1, 0, 2) > 0);   // pending supplier orders
    QVERIFY(linhas(4, 1, 1, 1, 2) > 0);   // purchases
    QVERIFY(linhas(4, 1, 1, 1, 1) > 0);   // supplier credit notes: never selected
    QVERIFY(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM docgclin WHERE Linanu <> 0")).toInt() > 0);
    QVERIFY(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM DOCGCCAB WHERE nvias = -1")).toInt() > 0);
    QVERIFY(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM Artigos WHERE INACTIVO <> 0")).toInt() > 0);
    QVERIFY(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM Artigos WHERE STDISP = 0")).toInt() > 0);
    QVERIFY(a.bd.valorUnico(QStringLiteral("SELECT count(*) FROM mvk_Necessidades WHERE Processado = 0")).toInt() > 0);
    // Codes compare without regard to case.
    Recordset rs;
    QVERIFY(LerArtigo(a.bd, rs, GeradorDemo::codigoArtigo(5).toLower()));
    QVERIFY(!rs.Eof());
}

void TestErp::consultasPorCodigoLiteral()
{
    BaseTemporaria t;
    GeradorDemo g(1, QDate(2026, 1, 1));
    QVERIFY(g.gera(t.bd, pequena()));
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO Fornec (Codigo, Nome) VALUES (?, ?)"),
                                   {QStringLiteral("O'BRIEN"), QStringLiteral("O'Brien & Filhos")}));
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO AjudaCmp (Artigo, Forneced, RefArt) VALUES (?, ?, ?)"),
                                   {QStringLiteral("A%_1"), QStringLiteral("O'BRIEN"), QStringLiteral("R-1")}));
    Recordset rs;
    QVERIFY(LerFornecedor(t.bd, rs, QStringLiteral("o'brien")));
    QCOMPARE(rs.Valor(QStringLiteral("Nome")).toString(), QStringLiteral("O'Brien & Filhos"));
    QVERIFY(LerFornecedor(t.bd, rs, QStringLiteral("F%")));
    QVERIFY(rs.Eof());
    QVERIFY(LerAjudaCompra(t.bd, rs, QStringLiteral("A%_1"), QStringLiteral("O'BRIEN")));
    QCOMPARE(rs.Valor(QStringLiteral("RefArt")).toString(), QStringLiteral("R-1"));
    QVERIFY(LerAjudaCompra(t.bd, rs, QStringLiteral("AX_1"), QStringLiteral("O'BRIEN")));
    QVERIFY(rs.Eof());
    QVERIFY(LerArtigo(t.bd, rs, QVariant()));
    QVERIFY(rs.Eof());
    QVERIFY(LerArtigo(t.bd, rs, QStringLiteral("NAOEXISTE")));
    QVERIFY(rs.Eof());
    // Codes typed with a blank at the end, or accented in the other case,
    // find their record (as the price grid's checks look them up), in
    // whichever order article and supplier are given.
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO Artigos (CODIGO, NOME) VALUES ('çedilha', 'Cedilha')")));
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO AjudaCmp (Artigo, Forneced, RefArt) VALUES ('çedilha', 'F001', 'R-2')")));
    QVERIFY(LerFornecedor(t.bd, rs, QStringLiteral("F001 ")));
    QCOMPARE(rs.Valor(QStringLiteral("Codigo")).toString(), QStringLiteral("F001"));
    QVERIFY(LerArtigo(t.bd, rs, QStringLiteral("ÇEDILHA")));
    QCOMPARE(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("Cedilha"));
    QVERIFY(LerAjudaCompra(t.bd, rs, QStringLiteral("ÇEDILHA "), QStringLiteral("f001 ")));
    QCOMPARE(rs.Valor(QStringLiteral("RefArt")).toString(), QStringLiteral("R-2"));
    QVERIFY(LerAjudaCompra(t.bd, rs, QStringLiteral("f001"), QStringLiteral("çedilha")));
    QVERIFY(rs.Eof());
    // The reference belongs to the pair: a pair without a record has none.
    QString referencia;
    QVERIFY(LerReferenciaCompra(t.bd, QStringLiteral("ÇEDILHA "), QStringLiteral("f001 "), &referencia));
    QCOMPARE(referencia, QStringLiteral("R-2"));
    QVERIFY(LerReferenciaCompra(t.bd, QStringLiteral("f001"), QStringLiteral("çedilha"), &referencia));
    QVERIFY(referencia.isEmpty());
    QVERIFY(LerArtigo(t.bd, rs, QStringLiteral("cedilha")));   // the accent counts
    QVERIFY(rs.Eof());

    QCOMPARE(TextoDe(QVariant()), QString());
    QCOMPARE(TextoDe(12), QStringLiteral("12"));
    QCOMPARE(TextoDe(12.0), QStringLiteral("12"));
    QCOMPARE(TextoDe(QString("")), QString());

    t.bd.Fecha();   // a lost connection fails the lookup instead of finding nothing
    QVERIFY(!LerArtigo(t.bd, rs, QStringLiteral("X")));
    referencia = QStringLiteral("R-2");
    QVERIFY(!LerReferenciaCompra(t.bd, QStringLiteral("ÇEDILHA"), QStringLiteral("F001"), &referencia));
    QVERIFY(referencia.isEmpty());
}

void TestErp::sessaoErpRecusaOQueNaoExiste()
{
    BaseTemporaria t;
    GeradorDemo g(1, QDate(2026, 1, 1));
    QVERIFY(g.gera(t.bd, pequena()));
    SessaoErp s;
    long codigo = 0;
    QString msg;
    QVERIFY(s.Liga(QStringLiteral("demo"), QString(), QStringLiteral("admin"), QStringLiteral("2026"), t.ficheiro));
    s.Resultado(codigo, msg);
    QCOMPARE(codigo, -1L);
    s.Desliga();

    QVERIFY(!s.Liga(QStringLiteral("NOVA"), QString(), QStringLiteral("admin"), QStringLiteral("2026"), t.ficheiro));
    QVERIFY(s.mensagemResultado().contains(QStringLiteral("NOVA")));
    QVERIFY(s.codigoResultado() != -1);
    QVERIFY(!s.Liga(QStringLiteral("DEMO"), QString(), QStringLiteral("admin"), QStringLiteral("1990"), t.ficheiro));
    QVERIFY(!s.Liga(QStringLiteral("DEMO"), QStringLiteral("errada"), QStringLiteral("admin"), QStringLiteral("2026"), t.ficheiro));
    QVERIFY(!s.Liga(QStringLiteral("DEMO"), QString(), QStringLiteral("admin"), QStringLiteral("2026"), t.ficheiro + QStringLiteral(".x")));
    QVERIFY(s.mensagemResultado().contains(QStringLiteral("não existe")));
    QVERIFY(!QFile::exists(t.ficheiro + QStringLiteral(".x")));
}

QTEST_GUILESS_MAIN(TestErp)
#include "tst_erp.moc"
