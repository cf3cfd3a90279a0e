// The SQLite file under the program: codes compared as on the ERP's server,
// the shell extension, older files, locks held by another program, failures
// told apart, and the file deleted, renamed or replaced while it is open.
#include "basetemporaria.h"
#include "comparacodigos.h"
#include "dialecto.h"
#include "outroprograma.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <thread>

namespace {
const QStringList codigos = {"ABC", "çedilha", "ãb", "é1", "E1", "F001 ", "a\\b", "a%b", "a_b", "O'BRIEN", "z"};

QStringList coluna(LigacaoBd &bd, const QString &sql, const QVariantList &valores = {})
{
    Recordset rs;
    QStringList r;
    if (!bd.AbreConsulta(sql, rs, valores))
        return {QStringLiteral("FALHOU: ") + bd.ultimoErro().texto()};
    for (; !rs.Eof(); rs.MoveNext())
        r << rs.Valor(0).toString();
    return r;
}

// A table of codes as the program's schema declares them.
void criaCodigos(LigacaoBd &bd)
{
    QVERIFY(bd.Executa(QStringLiteral("CREATE TABLE C (Codigo %1 NOT NULL PRIMARY KEY, Nome text)").arg(bd.dialecto().tipoTexto(15))));
    for (const QString &c : codigos)
        QVERIFY(bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES (?)"), {c}));
}
} // namespace

class TestSqlite : public QObject
{
    Q_OBJECT
private slots:
    void codigosComparadosComoNoServidor();
    void extensaoDoShellEFicheirosAntigos();
    void falhasComNumerosProprios();
    void ficheiroSoDeLeituraAoAbrir();
    void leiturasNaoEsperamPorQuemEscreve();
    void ficheiroApagadoMudadoOuSubstituido();
    void instrucaoLongaPerguntaEPara();
};

void TestSqlite::codigosComparadosComoNoServidor()
{
    BaseTemporaria t;
    criaCodigos(t.bd);
    const QString um = QStringLiteral("SELECT Codigo FROM C WHERE Codigo = ?");
    // Equality: any letter case, accented letters included; the accent counts;
    // blanks at the end do not; the stored code comes back as it was written.
    QCOMPARE(coluna(t.bd, um, {QStringLiteral("abc  ")}), QStringList{"ABC"});
    QCOMPARE(coluna(t.bd, um, {QStringLiteral("ÇEDILHA")}), QStringList{"çedilha"});
    QCOMPARE(coluna(t.bd, um, {QStringLiteral("ÃB")}), QStringList{"ãb"});
    QCOMPARE(coluna(t.bd, um, {QStringLiteral("e1")}), QStringList{"E1"});
    QCOMPARE(coluna(t.bd, um, {QStringLiteral("É1")}), QStringList{"é1"});
    QCOMPARE(coluna(t.bd, um, {QStringLiteral("F001")}), QStringList{"F001 "});
    QCOMPARE(coluna(t.bd, um, {QStringLiteral(" F001")}), QStringList());
    QVERIFY(!t.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES (?)"), {QStringLiteral("abc ")}));
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::Restricao);

    // Order: an accented letter right after its plain one, character by character.
    QCOMPARE(coluna(t.bd, QStringLiteral("SELECT Codigo FROM C ORDER BY Codigo")),
             (QStringList{"a%b", "a\\b", "a_b", "ABC", "ãb", "çedilha", "E1", "é1", "F001 ", "O'BRIEN", "z"}));
    QCOMPARE(coluna(t.bd, QStringLiteral("SELECT Codigo FROM C WHERE Codigo > ? AND Codigo <= ? ORDER BY Codigo"),
                    {QStringLiteral("abc"), QStringLiteral("E1 ")}),
             (QStringList{"ãb", "çedilha", "E1"}));

    // Prefixes as index ranges: in either case, quotes, %, _ and \ only themselves.
    const Dialecto &d = t.bd.dialecto();
    Recordset rs;
    const QString prefixo = QStringLiteral("SELECT Codigo FROM C WHERE %1 ORDER BY Codigo").arg(d.comecaPor(QStringLiteral("Codigo")));
    const auto comeca = [&](const QString &p) { return coluna(t.bd, prefixo, d.valoresComecaPor(p)); };
    QCOMPARE(comeca(QStringLiteral("a")), (QStringList{"a%b", "a\\b", "a_b", "ABC"}));
    QCOMPARE(comeca(QStringLiteral("A%")), QStringList{"a%b"});
    QCOMPARE(comeca(QStringLiteral("a\\")), QStringList{"a\\b"});
    QCOMPARE(comeca(QStringLiteral("a_")), QStringList{"a_b"});
    QCOMPARE(comeca(QStringLiteral("Ç")), QStringList{"çedilha"});
    QCOMPARE(comeca(QStringLiteral("o'b")), QStringList{"O'BRIEN"});
    QCOMPARE(comeca(QStringLiteral("f001 ")), QStringList{"F001 "});
    QCOMPARE(comeca(QString()).size(), codigos.size());
    QVERIFY(t.bd.AbreConsulta(QStringLiteral("EXPLAIN QUERY PLAN ") + prefixo, rs, d.valoresComecaPor(QStringLiteral("a"))));
    QVERIFY2(rs.Valor(QStringLiteral("detail")).toString().contains(QStringLiteral("(Codigo>? AND Codigo<?)")),
             qPrintable(rs.Valor(QStringLiteral("detail")).toString()));

    // A result set filters as the database compares.
    QVERIFY(t.bd.AbreConsulta(QStringLiteral("SELECT * FROM C"), rs));
    rs.Filter(QStringLiteral("Codigo"), QStringLiteral("ÇEDILHA "));
    QCOMPARE(rs.RecordCount(), 1);
    QCOMPARE(ComparaCodigos::compara(QStringLiteral("ÉA"), QStringLiteral("eb")), 1);
    QCOMPARE(ComparaCodigos::compara(QStringLiteral("ea"), QStringLiteral("éa")), -1);
    QCOMPARE(ComparaCodigos::comprimento(QStringLiteral("ção  ")), 3);

    // Keys in memory: two codes share one exactly when the database finds them equal.
    const QStringList variantes = codigos
                                  + QStringList{"abc", "Abc  ", "ÇEDILHA", "ÃB", "e1", "É1", "f001", " F001", "f001  x", "o'brien",
                                                "Z ", "ß", "SS", "Σ", "σ", "ς", "𝐀", "𝐚"};
    for (const QString &a : variantes)
        for (const QString &b : variantes)
            QVERIFY2((ComparaCodigos::chave(a) == ComparaCodigos::chave(b)) == (ComparaCodigos::compara(a, b) == 0),
                     qPrintable(a + QStringLiteral(" / ") + b));
}

void TestSqlite::extensaoDoShellEFicheirosAntigos()
{
    BaseTemporaria t;
    criaCodigos(t.bd);
    const QStringList ordem = coluna(t.bd, QStringLiteral("SELECT Codigo FROM C ORDER BY Codigo"));
    t.bd.Fecha();
    {
        // A program without the comparison cannot write the file nor search it...
        OutroPrograma outro(t.ficheiro);
        QVERIFY(outro.executa("INSERT INTO C (Codigo) VALUES ('x')").contains(QStringLiteral("no such collation sequence")));
        // ...until it loads the extension; then it sees the same order and a sound index.
        sqlite3_enable_load_extension(outro.bd, 1);
        char *erro = nullptr;
        QCOMPARE(sqlite3_load_extension(outro.bd, TESSELA_EXTENSAO_CODIGOS, nullptr, &erro), SQLITE_OK);
        QCOMPARE(outro.executa("INSERT INTO C (Codigo) VALUES ('Ábaco')"), QString());
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(outro.bd, "SELECT Codigo FROM C ORDER BY Codigo", -1, &s, nullptr);
        QStringList vistas;
        while (sqlite3_step(s) == SQLITE_ROW)
            vistas << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s, 0)));
        sqlite3_finalize(s);
        QStringList esperadas = ordem;
        esperadas.insert(4, QStringLiteral("Ábaco"));
        QCOMPARE(vistas, esperadas);
        QCOMPARE(outro.executa("PRAGMA integrity_check"), QString());
    }
    VERIFICA_BD(t.bd, t.bd.Abre(BaseTemporaria::cadeia(t.ficheiro)));
    QCOMPARE(coluna(t.bd, QStringLiteral("SELECT Codigo FROM C WHERE Codigo = ?"), {QStringLiteral("ÁBACO")}), QStringList{"Ábaco"});

    // A file made before, its codes COLLATE NOCASE: it opens and keeps comparing as then.
    BaseTemporaria antiga(QStringLiteral("antiga.db"));
    antiga.bd.Fecha();
    {
        OutroPrograma outro(antiga.ficheiro);
        QCOMPARE(outro.executa("CREATE TABLE Artigos (CODIGO varchar(15) COLLATE NOCASE PRIMARY KEY); "
                               "INSERT INTO Artigos VALUES ('AB1'), ('ab2'), ('çd')"),
                 QString());
    }
    VERIFICA_BD(antiga.bd, antiga.bd.Abre(BaseTemporaria::cadeia(antiga.ficheiro)));
    QCOMPARE(coluna(antiga.bd, QStringLiteral("SELECT CODIGO FROM Artigos WHERE CODIGO = ?"), {QStringLiteral("ab1")}), QStringList{"AB1"});
    QCOMPARE(coluna(antiga.bd, QStringLiteral("SELECT CODIGO FROM Artigos WHERE %1 ORDER BY 1").arg(antiga.bd.dialecto().comecaPor("CODIGO")),
                    antiga.bd.dialecto().valoresComecaPor(QStringLiteral("AB"))),
             (QStringList{"AB1", "ab2"}));
    QCOMPARE(coluna(antiga.bd, QStringLiteral("SELECT CODIGO FROM Artigos WHERE CODIGO = ?"), {QStringLiteral("ÇD")}), QStringList());
}

void TestSqlite::falhasComNumerosProprios()
{
    BaseTemporaria t;
    criaCodigos(t.bd);
    Recordset rs;
    QVERIFY(!t.bd.AbreConsulta(QStringLiteral("SELECT * FROM mvk_equivalencias"), rs));
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::TabelaInexistente);
    QVERIFY(!t.bd.Executa(QStringLiteral("SELEC nada")));
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::ErroComando);

    // A text longer than its column is refused before it is written; blanks
    // at the end do not count.
    VERIFICA_BD(t.bd, t.bd.AbreTabela(QStringLiteral("SELECT * FROM C WHERE Codigo = ?"), rs, {QStringLiteral("z")}));
    QVERIFY(rs.SetValor(QStringLiteral("Codigo"), QString(16, QLatin1Char('X'))));
    QVERIFY(!rs.Update());
    QCOMPARE(rs.erro().numero, ErroBd::TextoLongo);
    QCOMPARE(rs.erro().descricao, QStringLiteral("O valor \"%1\" tem 16 caracteres e a coluna Codigo só aceita 15").arg(QString(16, 'X')));
    QVERIFY(rs.SetValor(QStringLiteral("Codigo"), QString(15, QChar(u'Ç')) + QStringLiteral("  ")));
    VERIFICA_BD(t.bd, rs.Update());

    // The disk full in the middle of a transaction: its own number, and the
    // transaction SQLite gave up is no longer counted as open.
    const int paginas = t.bd.valorUnico(QStringLiteral("PRAGMA page_count")).toInt();
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("PRAGMA max_page_count = %1").arg(paginas)));
    {
        Transaccao tr(t.bd);
        QVERIFY(tr.iniciada());
        bool ok = true;
        for (int i = 0; ok && i < 2000; ++i)
            ok = t.bd.Executa(QStringLiteral("INSERT INTO C VALUES (?, ?)"), {QStringLiteral("N%1").arg(i), QString(200, 'n')});
        QVERIFY(!ok);
        QCOMPARE(t.bd.ultimoErro().numero, ErroBd::DiscoCheio);
        QVERIFY(t.bd.ultimoErro().daBase());
        QVERIFY(!tr.confirma());
    }
    QCOMPARE(t.bd.nivelTransaccao(), 0);
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM C WHERE Codigo LIKE 'N%'")).toInt(), 0);
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("PRAGMA max_page_count = 100000")));
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO C VALUES ('N1', 'depois')")));

    // Another program holding the whole file (a rollback-journal file it
    // opened first): a read gives up at once saying the database is busy, a
    // write waits its time, once, and says it is locked.
    t.bd.Fecha();
    OutroPrograma outro(t.ficheiro);
    QCOMPARE(outro.executa("PRAGMA journal_mode = DELETE; BEGIN IMMEDIATE"), QString());
    constexpr int Espera = 600;
    t.bd.setEsperas(LigacaoBd::EsperaLeitura, Espera);
    VERIFICA_BD(t.bd, t.bd.Abre(BaseTemporaria::cadeia(t.ficheiro)));
    QCOMPARE(outro.executa("COMMIT; BEGIN EXCLUSIVE"), QString());
    QVERIFY(!t.bd.AbreConsulta(QStringLiteral("SELECT * FROM C"), rs));
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::BaseOcupada);
    QVERIFY(t.bd.ultimoErro().descricao.startsWith(QStringLiteral("A base de dados está ocupada por outro programa")));
    QElapsedTimer relogio;
    relogio.start();
    QVERIFY(!t.bd.Executa(QStringLiteral("DELETE FROM C")));
    const qint64 ms = relogio.elapsed();
    QVERIFY2(ms >= Espera - 50 && ms <= Espera + 400, qPrintable(QStringLiteral("%1 ms").arg(ms)));
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::BaseOcupada);
    QVERIFY(t.bd.ultimoErro().descricao.startsWith(QStringLiteral("A base de dados está bloqueada por outro programa")));
    QVERIFY(!t.bd.IniciaTransaccao());
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::BaseOcupada);
    QCOMPARE(t.bd.nivelTransaccao(), 0);
    QCOMPARE(outro.executa("COMMIT"), QString());
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM C")).toInt(), codigos.size() + 1);
}

void TestSqlite::ficheiroSoDeLeituraAoAbrir()
{
    for (const char *modo : {"DELETE", "WAL"}) {
        BaseTemporaria t;
        criaCodigos(t.bd);
        VERIFICA_BD(t.bd, t.bd.valorUnico(QStringLiteral("PRAGMA journal_mode = %1").arg(QLatin1String(modo))).isValid());
        QVERIFY(!t.bd.soLeitura());
        t.bd.Fecha();
        if (!OutroPrograma::soDeLeitura(t.ficheiro, true))
            QSKIP("Não foi possível tornar o ficheiro só de leitura");
        const bool abriu = t.bd.Abre(BaseTemporaria::cadeia(t.ficheiro));
        const QString erro = t.bd.ultimoErro().texto();
        const bool soLeitura = t.bd.soLeitura();
        const QStringList lidos = coluna(t.bd, QStringLiteral("SELECT count(*) FROM C"));
        const bool escreveu = t.bd.Executa(QStringLiteral("DELETE FROM C"));
        const long numero = t.bd.ultimoErro().numero;
        t.bd.Fecha();
        OutroPrograma::soDeLeitura(t.ficheiro, false);
        QVERIFY2(abriu, qPrintable(modo + erro));
        QVERIFY(soLeitura);
        QCOMPARE(lidos, QStringList{QString::number(codigos.size())});
        QVERIFY(!escreveu);
        QCOMPARE(numero, ErroBd::SoLeitura);
    }
}

void TestSqlite::leiturasNaoEsperamPorQuemEscreve()
{
    BaseTemporaria t;
    criaCodigos(t.bd);
    QCOMPARE(t.bd.modoDiario(), QStringLiteral("wal"));   // set by the program when it opens the file

    // Another program in the middle of a long write: reads go on, without its rows.
    LigacaoBd outra;
    VERIFICA_BD(outra, outra.Abre(BaseTemporaria::cadeia(t.ficheiro)));
    VERIFICA_BD(outra, outra.IniciaTransaccao());
    for (int i = 0; i < 3000; ++i)
        VERIFICA_BD(outra, outra.Executa(QStringLiteral("INSERT INTO C VALUES (?, ?)"), {QStringLiteral("W%1").arg(i), QString(300, 'w')}));
    QCOMPARE(coluna(t.bd, QStringLiteral("SELECT count(*) FROM C")), QStringList{QString::number(codigos.size())});
    QCOMPARE(t.bd.ultimoErro().numero, 0L);
    VERIFICA_BD(outra, outra.TerminaTransaccao());
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM C")).toInt(), codigos.size() + 3000);

    // A writer waits for the other writer, and goes on when it has finished.
    std::atomic<bool> comecou = false;
    std::thread escritor([&] {
        OutroPrograma o(t.ficheiro);
        o.executa("BEGIN IMMEDIATE; CREATE TABLE Marca (x); INSERT INTO Marca VALUES (1)");
        comecou = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        o.executa("COMMIT");
    });
    while (!comecou)
        std::this_thread::yield();
    const bool escreveu = t.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES ('DEPOIS')"));
    escritor.join();
    VERIFICA_BD(t.bd, escreveu);
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM Marca")).toInt(), 1);
}

void TestSqlite::ficheiroApagadoMudadoOuSubstituido()
{
    SO_SQLITE_DIRECTO("a identidade do ficheiro é vista pela ligação directa; pelo ODBC o controlador guarda o ficheiro aberto "
                      "e não diz quando ele é apagado ou substituído");
    BaseTemporaria t, copia(QStringLiteral("copia.db"));
    criaCodigos(t.bd);
    criaCodigos(copia.bd);
    VERIFICA_BD(copia.bd, copia.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES ('SO-NA-COPIA')")));
    copia.bd.Fecha();
    // Rows still in the write-ahead log when the file goes away.
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES ('NO-DIARIO')")));
    const QString afastado = t.ficheiro + QStringLiteral(".afastado");
    const auto conta = [&] { return t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM C")).toInt(); };

    // Renamed: nothing is read nor written, and the user is told in plain words.
    QVERIFY(QFile::rename(t.ficheiro, afastado));
    QVERIFY(!t.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES ('PERDIDO')")));
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::ErroLigacao);
    QVERIFY(t.bd.ultimoErro().descricao.contains(QStringLiteral("já não está lá: foi apagado ou mudado de nome")));
    QVERIFY(!t.bd.IniciaTransaccao());
    Recordset rs;
    QVERIFY(!t.bd.AbreConsulta(QStringLiteral("SELECT * FROM C"), rs));
    // Back under its name: the same file, used again as it was.
    QVERIFY(QFile::rename(afastado, t.ficheiro));
    QCOMPARE(conta(), codigos.size() + 1);

    // Replaced by another file: the statement that notices fails once, saying
    // so; then the file now in its place is read, its own rows only.
    QVERIFY(QFile::rename(t.ficheiro, afastado));
    QVERIFY(QFile::copy(copia.ficheiro, t.ficheiro));
    QVERIFY(!t.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES ('PERDIDO')")));
    QVERIFY(t.bd.ultimoErro().descricao.contains(QStringLiteral("foi substituído por outro")));
    QCOMPARE(conta(), codigos.size() + 1);
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM C WHERE Codigo IN ('SO-NA-COPIA', 'NO-DIARIO', 'PERDIDO')")).toInt(), 1);
    QCOMPARE(t.bd.valorUnico(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("INSERT INTO C (Codigo) VALUES ('NA-NOVA')")));
    t.bd.Fecha();
    // The file taken away kept what had been written to it.
    LigacaoBd velha;
    VERIFICA_BD(velha, velha.Abre(BaseTemporaria::cadeia(afastado)));
    QCOMPARE(velha.valorUnico(QStringLiteral("SELECT count(*) FROM C WHERE Codigo = 'NO-DIARIO'")).toInt(), 1);
    QCOMPARE(velha.valorUnico(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

void TestSqlite::instrucaoLongaPerguntaEPara()
{
    SO_SQLITE_DIRECTO("o aviso de progresso do SQLite só existe na ligação directa; pelo ODBC a instrução corre até ao fim");
    BaseTemporaria t;
    VERIFICA_BD(t.bd, t.bd.Executa(QStringLiteral("CREATE TABLE T (x integer)")));
    QVERIFY(t.bd.podeAcompanhar());
    // Counting far enough to run for many seconds if nothing stopped it.
    const QString longa = QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < ?) SELECT count(*) FROM c");
    LigacaoBd outra;
    VERIFICA_BD(outra, outra.abreIgual(t.bd));

    // Asked while it runs; inside the question the connection refuses any
    // other statement and a transaction, cannot be closed, and another
    // connection reads and writes; the third "no" stops it.
    int perguntas = 0;
    ErroBd dentro, transaccao;
    QVariant lidoNaOutra;
    bool escritoNaOutra = false, emPergunta = false;
    Recordset rs;
    bool ok;
    {
        LigacaoBd::Acompanhamento a(t.bd, [&] {
            emPergunta = t.bd.aPerguntar();
            if (++perguntas == 1) {
                t.bd.valorUnico(QStringLiteral("SELECT 1"));
                dentro = t.bd.ultimoErro();
                t.bd.IniciaTransaccao();
                transaccao = t.bd.ultimoErro();
                t.bd.Fecha();
                lidoNaOutra = outra.valorUnico(QStringLiteral("SELECT 7"));
                escritoNaOutra = outra.Executa(QStringLiteral("INSERT INTO T VALUES (1)"));
            }
            return perguntas < 3;
        }, 0);
        ok = t.bd.AbreConsulta(longa, rs, {1000000000});
    }
    QVERIFY(!ok);
    QCOMPARE(t.bd.ultimoErro().numero, ErroBd::Interrompida);
    QCOMPARE(perguntas, 3);
    QVERIFY(emPergunta && !t.bd.aPerguntar());
    QCOMPARE(dentro.numero, ErroBd::EmExecucao);
    QCOMPARE(transaccao.numero, ErroBd::EmExecucao);
    QCOMPARE(t.bd.nivelTransaccao(), 0);
    QCOMPARE(lidoNaOutra, QVariant(7));
    QVERIFY(escritoNaOutra);

    // Afterwards the connection works as before, asks no one, and sees the
    // other connection's row.
    QVERIFY(t.bd.aberta());
    QCOMPARE(t.bd.valorUnico(longa, {20000}).toInt(), 20000);
    QCOMPARE(perguntas, 3);
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM T")).toInt(), 1);

    // Guards nest: the inner one asks while it lives, then the outer one again.
    int fora = 0, dentroDoInterior = 0;
    {
        LigacaoBd::Acompanhamento exterior(t.bd, [&] { return ++fora > 0; }, 0);
        {
            LigacaoBd::Acompanhamento interior(t.bd, [&] { return ++dentroDoInterior > 0; }, 0);
            QCOMPARE(t.bd.valorUnico(longa, {20000}).toInt(), 20000);
        }
        QVERIFY(dentroDoInterior > 0);
        QCOMPARE(fora, 0);
        QCOMPARE(t.bd.valorUnico(longa, {20000}).toInt(), 20000);
        QVERIFY(fora > 0);
    }

    // A write stopped in a transaction leaves nothing behind.
    {
        Transaccao tr(t.bd);
        QVERIFY(tr.iniciada());
        LigacaoBd::Acompanhamento a(t.bd, [] { return false; }, 0);
        QVERIFY(!t.bd.Executa(QStringLiteral("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000) "
                                             "INSERT INTO T SELECT x FROM c")));
        QCOMPARE(t.bd.ultimoErro().numero, ErroBd::Interrompida);
    }
    QCOMPARE(t.bd.nivelTransaccao(), 0);
    QCOMPARE(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM T")).toInt(), 1);

    // A test failure set on a connection passes to the one opened like it.
    t.bd.falhaNoProximo(QStringLiteral("FROM T"));
    LigacaoBd terceira;
    VERIFICA_BD(terceira, terceira.abreIgual(t.bd));
    QVERIFY(t.bd.valorUnico(QStringLiteral("SELECT count(*) FROM T")).isValid());
    QVERIFY(!terceira.valorUnico(QStringLiteral("SELECT count(*) FROM T")).isValid());
    LigacaoBd fechada;
    QVERIFY(!terceira.abreIgual(fechada));
    QCOMPARE(terceira.ultimoErro().numero, ErroBd::ErroLigacao);
}

QTEST_GUILESS_MAIN(TestSqlite)
#include "tst_sqlite.moc"
