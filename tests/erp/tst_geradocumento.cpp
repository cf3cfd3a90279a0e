#include "../data/basetemporaria.h"
#include "encomendanext.h"
#include "geradordemo.h"
#include "ligacaobd.h"
#include "sessaoerp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {
bool liga(SessaoErp &s, const QString &ficheiro)
{
    return s.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(), QStringLiteral("2026"), ficheiro);
}

// One order as the rupture window asks for it: the order-document defaults,
// today's date, a line per article, the text arrays left empty.
struct Pedido
{
    QString tipo = QStringLiteral("ENF"), sector = QStringLiteral("001"), serie = QStringLiteral("1"),
            fornecedor = QStringLiteral("F001"), data = QStringLiteral("15-03-2026"), armazem = QStringLiteral("1");
    int operacao = 1;
    QStringList artigos, descricoes;
    QList<double> quantidades, precos;

    void linha(const QString &artigo, double quantidade, double preco)
    {
        artigos << artigo;
        quantidades << quantidade;
        precos << preco;
    }
    bool gera(SessaoErp &s, RegistoDocumento &registo, int &numero) const
    {
        const QStringList vazios(artigos.size());
        return s.GeraDocumento(operacao, 4, tipo, sector, serie, fornecedor, QString(), QString(), data, QString(),
                               armazem, 0, QString(), artigos, descricoes.isEmpty() ? vazios : descricoes, quantidades,
                               precos, vazios, registo, numero);
    }
    int gera(SessaoErp &s) const
    {
        RegistoDocumento r;
        int numero = 0;
        return gera(s, r, numero) ? numero : 0;
    }
};

// "documents/lines": what a refusal must leave as it found.
QString contagem(LigacaoBd &bd)
{
    return bd.valorUnico(QStringLiteral("SELECT (SELECT count(*) FROM DOCGCCAB) || '/' || (SELECT count(*) FROM docgclin)")).toString();
}

// Run as a separate program by duasSessoesEmProcessos: waits for the start
// signal (a file), then writes its orders as fast as it can.
int trabalhador(const QStringList &args)
{
    const QString ficheiro = args.value(2), partida = args.value(3), artigo = args.value(5);
    const int quantos = args.value(4).toInt();
    SessaoErp s;
    if (!liga(s, ficheiro)) {
        fprintf(stderr, "%s\n", qPrintable(s.mensagemResultado()));
        return 2;
    }
    QElapsedTimer espera;
    espera.start();
    while (!QFile::exists(partida) && espera.elapsed() < 20000)
        QThread::msleep(1);
    Pedido p;
    p.data = QStringLiteral("02-01-2027");
    p.linha(artigo, 1, 1);
    for (int i = 0; i < quantos; ++i)
        if (!p.gera(s)) {
            fprintf(stderr, "%s\n", qPrintable(s.mensagemResultado()));
            return 1;
        }
    return 0;
}
} // namespace

// The embedded ERP's supplier order writer, on a small demo company whose
// order documents are replaced by a known set in every test.
class TstGeraDocumento : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void numeracaoPorTipoSerieEAno();
    void cabecalhoELinhasPorOrdem();
    void recusasNaoDeixamNada();
    void falhasDaBaseDeDadosNaoDeixamNada();
    void predefinicoesDoArranqueSaoAceites();
    void duasSessoesIntercaladas();
    void duasSessoesEmProcessos();

private:
    BaseTemporaria m_modelo{QStringLiteral("modelo.db")};
    QString m_ficheiro;
    LigacaoBd m_bd;
    SessaoErp m_erp;
    QStringList m_activos;
    QString m_inactivo;
};

void TstGeraDocumento::initTestCase()
{
    LigacaoBd &bd = m_modelo.bd;
    GeradorDemo::Escala e;
    e.artigos = 200, e.fornecedores = 12, e.clientes = 10, e.linhasDocumento = 400, e.clart = 5;
    e.precosFornecedor = e.precosCliente = 10, e.necessidades = 5, e.equivalencias = 0;
    GeradorDemo g(3, QDate(2026, 3, 1));
    QVERIFY2(g.gera(bd, e), qPrintable(g.erro()));
    // Known order documents: ENF series 1 has numbers 1 to 5 and 9 in 2026 and
    // 30 in 2025; another type has a higher number in 2026. A second order
    // type (EN2) and a second ENF series have none.
    VERIFICA_BD(bd, bd.Executa(QStringLiteral("DELETE FROM docgclin WHERE Tpdocum = 'ENF'")));
    VERIFICA_BD(bd, bd.Executa(QStringLiteral("DELETE FROM DOCGCCAB WHERE Tpdoc = 'ENF'")));
    const QString cab = QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, tpoper, "
                                       "natconta, sinalct) VALUES (?, '1', ?, ?, ?, 'F002', 1, 2, 1, 0, 2)");
    for (int n : {1, 2, 3, 4, 5, 9})
        VERIFICA_BD(bd, bd.Executa(cab, {QStringLiteral("ENF"), 2026, n, QDate(2026, 1, n)}));
    VERIFICA_BD(bd, bd.Executa(cab, {QStringLiteral("ENF"), 2025, 30, QDate(2025, 12, 1)}));
    VERIFICA_BD(bd, bd.Executa(QStringLiteral("DELETE FROM DOCGCCAB WHERE Tpdoc = 'FCF' AND nnumdoc = 50 AND ano = 2026")));
    VERIFICA_BD(bd, bd.Executa(cab, {QStringLiteral("FCF"), 2026, 50, QDate(2026, 2, 1)}));
    VERIFICA_BD(bd, bd.Executa(QStringLiteral("INSERT INTO Tpdoc VALUES ('EN2', 'Encomenda urgente', 2, 1, 1, 0, 2)")));
    VERIFICA_BD(bd, bd.Executa(QStringLiteral("INSERT INTO SeriesDoc VALUES ('EN2', '1', ''), ('ENF', 'B', '')")));
    Recordset rs;
    VERIFICA_BD(bd, bd.AbreConsulta(QStringLiteral("SELECT CODIGO FROM Artigos WHERE INACTIVO = 0 ORDER BY CODIGO LIMIT 3"), rs));
    for (; !rs.Eof(); rs.MoveNext())
        m_activos << rs.Valor(0).toString();
    m_inactivo = bd.valorUnico(QStringLiteral("SELECT min(CODIGO) FROM Artigos WHERE INACTIVO <> 0")).toString();
    QVERIFY(m_activos.size() == 3 && !m_inactivo.isEmpty());
    bd.Fecha();
}

void TstGeraDocumento::init()
{
    m_ficheiro = m_modelo.pasta.filePath(QStringLiteral("%1.db").arg(QTest::currentTestFunction()));
    QFile::remove(m_ficheiro);
    QVERIFY(QFile::copy(m_modelo.ficheiro, m_ficheiro));
    QVERIFY(m_bd.Abre(BaseTemporaria::cadeia(m_ficheiro)));
    QVERIFY2(liga(m_erp, m_ficheiro), qPrintable(m_erp.mensagemResultado()));
}

void TstGeraDocumento::cleanup()
{
    m_erp.Desliga();
    m_bd.Fecha();
}

void TstGeraDocumento::numeracaoPorTipoSerieEAno()
{
    Pedido p;
    p.linha(m_activos[0], 1, 2);
    QCOMPARE(p.gera(m_erp), 10);   // after the highest of the type, series and year; gaps stay
    QCOMPARE(p.gera(m_erp), 11);
    Pedido outroAno = p;
    outroAno.data = QStringLiteral("03-01-2027");
    QCOMPARE(outroAno.gera(m_erp), 1);   // the first of a year
    QCOMPARE(outroAno.gera(m_erp), 2);
    Pedido outraSerie = p;
    outraSerie.serie = QStringLiteral("b");   // codes as the ERP compares them
    QCOMPARE(outraSerie.gera(m_erp), 1);
    Pedido outroTipo = p;
    outroTipo.tipo = QStringLiteral("EN2");
    QCOMPARE(outroTipo.gera(m_erp), 1);
    QCOMPARE(p.gera(m_erp), 12);
    QCOMPARE(m_bd.valorUnico(QStringLiteral("SELECT serie FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND nnumdoc = 1 AND ano = 2026 "
                                            "AND serie <> '1'")).toString(), QStringLiteral("B"));
}

void TstGeraDocumento::cabecalhoELinhasPorOrdem()
{
    // The pending quantity of an article, as the rupture analysis reads it.
    const auto pendente = [&](const QString &artigo) {
        return m_bd.valorUnico(QStringLiteral("SELECT coalesce(sum(quant), 0) FROM docgclin INNER JOIN Tpdoc ON Codigo = tpdocum "
                                              "WHERE Areag = 2 AND tpoper = 1 AND entidade = 1 AND natconta = 0 AND sinalct = 2 "
                                              "AND Artigo = ? AND linanu = 0"), {artigo}).toDouble();
    };
    const double antes = pendente(m_activos[2]);
    Pedido p;
    p.fornecedor = QStringLiteral(" f003");
    p.sector = QStringLiteral("002");
    p.armazem = QStringLiteral("3");
    p.linha(m_activos[2].toLower(), 4, 1.25);   // not in code order: lines keep the order given
    p.linha(m_activos[0], 2.5, 10);
    p.linha(m_activos[1], 1, 0);                // no known price is still a line
    p.descricoes = QStringList{QString(), QStringLiteral("Com embalagem própria"), QString()};
    RegistoDocumento registo;
    int numero = -5;
    QVERIFY2(p.gera(m_erp, registo, numero), qPrintable(m_erp.mensagemResultado()));
    long codigo = 0;
    QString mensagem = QStringLiteral("x");
    m_erp.Resultado(codigo, mensagem);
    QCOMPARE(codigo, -1L);
    QVERIFY(mensagem.isEmpty());
    QCOMPARE(numero, 10);
    QCOMPARE(registo.tipo, QStringLiteral("ENF"));
    QCOMPARE(registo.serie, QStringLiteral("1"));
    QCOMPARE(registo.ano, 2026);
    QCOMPARE(registo.numero, 10);
    QCOMPARE(registo.linhas, 3);
    QCOMPARE(registo.total, 30.0);

    Recordset cab;
    VERIFICA_BD(m_bd, m_bd.AbreConsulta(QStringLiteral("SELECT Data, Terceiro, TpTerc, Areag, tpoper, natconta, sinalct, nvias, "
                                                       "Armazem, Sector, Total FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND serie = '1' "
                                                       "AND ano = 2026 AND nnumdoc = 10"), cab));
    QCOMPARE(cab.RecordCount(), 1);
    QCOMPARE(cab.Valor(0).toDateTime(), QDateTime(QDate(2026, 3, 15), QTime(0, 0)));
    QVariantList valores;
    for (int i = 1; i < cab.numeroCampos(); ++i)
        valores << cab.Valor(i);
    QCOMPARE(valores, QVariantList({QStringLiteral("F003"), 1, 2, 1, 0, 2, 1, QStringLiteral("3"), QStringLiteral("002"), 30.0}));

    Recordset lin;
    VERIFICA_BD(m_bd, m_bd.AbreConsulta(QStringLiteral("SELECT NumLinha, Artigo, Quant, Prunit, Linanu, Data, Descricao FROM docgclin "
                                                       "WHERE Tpdocum = 'ENF' AND serie = '1' AND Ano = 2026 AND nnumdoc = 10 "
                                                       "ORDER BY NumLinha"), lin));
    QCOMPARE(lin.RecordCount(), 3);
    const QString nome2 = m_bd.valorUnico(QStringLiteral("SELECT NOME FROM Artigos WHERE CODIGO = ?"), {m_activos[2]}).toString();
    const QList<QVariantList> esperado = {
        {1, m_activos[2], 4.0, 1.25, 0, nome2},
        {2, m_activos[0], 2.5, 10.0, 0, QStringLiteral("Com embalagem própria")},
        {3, m_activos[1], 1.0, 0.0, 0, m_bd.valorUnico(QStringLiteral("SELECT NOME FROM Artigos WHERE CODIGO = ?"), {m_activos[1]})},
    };
    for (const QVariantList &e : esperado) {
        QVERIFY(!lin.Eof());
        QCOMPARE(QVariantList({lin.Valor(0), lin.Valor(1), lin.Valor(2), lin.Valor(3), lin.Valor(4), lin.Valor(6)}), e);
        QCOMPARE(lin.Valor(5).toDateTime().date(), QDate(2026, 3, 15));
        lin.MoveNext();
    }
    // The new order counts as pending from suppliers in the next analysis.
    QCOMPARE(pendente(m_activos[2]), antes + 4);
}

void TstGeraDocumento::recusasNaoDeixamNada()
{
    const QString inicial = contagem(m_bd);
    struct Caso
    {
        const char *nome;
        std::function<void(Pedido &)> muda;
        SessaoErp::Codigo codigo;
        QString causa;   // what the message must name
    };
    const QString a0 = m_activos[0], a1 = m_activos[1], a2 = m_activos[2];
    const QList<Caso> casos = {
        {"fornecedor", [](Pedido &p) { p.fornecedor = QStringLiteral("F999"); }, SessaoErp::FornecedorDesconhecido,
         QStringLiteral("fornecedor \"F999\" não existe")},
        {"artigo na primeira linha", [](Pedido &p) { p.artigos[0] = QStringLiteral("NAOEXISTE"); }, SessaoErp::ArtigoDesconhecido,
         QStringLiteral("Linha 1: o artigo \"NAOEXISTE\" não existe")},
        {"artigo inactivo na última linha", [&](Pedido &p) { p.artigos[2] = m_inactivo; }, SessaoErp::ArtigoInactivo,
         QStringLiteral("Linha 3: o artigo %1 está inactivo").arg(m_inactivo)},
        {"quantidade zero na linha do meio", [](Pedido &p) { p.quantidades[1] = 0; }, SessaoErp::QuantidadeInvalida,
         QStringLiteral("Linha 2: a quantidade do artigo %1 tem de ser maior que zero").arg(a1)},
        {"quantidade negativa na última linha", [](Pedido &p) { p.quantidades[2] = -3; }, SessaoErp::QuantidadeInvalida,
         QStringLiteral("Linha 3: a quantidade do artigo %1").arg(a2)},
        {"quantidade que não é número", [](Pedido &p) { p.quantidades[0] = qQNaN(); }, SessaoErp::QuantidadeInvalida,
         QStringLiteral("Linha 1: a quantidade")},
        {"preço negativo", [](Pedido &p) { p.precos[2] = -0.01; }, SessaoErp::PrecoInvalido,
         QStringLiteral("Linha 3: o preço do artigo %1 não pode ser negativo").arg(a2)},
        {"tipo", [](Pedido &p) { p.tipo = QStringLiteral("XYZ"); }, SessaoErp::TipoDesconhecido,
         QStringLiteral("tipo de documento \"XYZ\" não existe")},
        {"tipo de compra", [](Pedido &p) { p.tipo = QStringLiteral("FCF"); }, SessaoErp::TipoNaoEncomenda,
         QStringLiteral("FCF não é uma encomenda a fornecedor")},
        {"série", [](Pedido &p) { p.serie = QStringLiteral("9"); }, SessaoErp::SerieDesconhecida,
         QStringLiteral("série \"9\" não existe para o tipo de documento ENF")},
        {"série de outro tipo", [](Pedido &p) { p.tipo = QStringLiteral("EN2"), p.serie = QStringLiteral("B"); },
         SessaoErp::SerieDesconhecida, QStringLiteral("série \"B\"")},
        {"ano fora da empresa", [](Pedido &p) { p.data = QStringLiteral("02-01-2028"); }, SessaoErp::AnoFechado,
         QStringLiteral("ano 2028")},
        {"data", [](Pedido &p) { p.data = QStringLiteral("31-02-2026"); }, SessaoErp::DocumentoInvalido,
         QStringLiteral("\"31-02-2026\" não é uma data")},
        {"sem linhas", [](Pedido &p) { p.artigos.clear(), p.quantidades.clear(), p.precos.clear(); }, SessaoErp::DocumentoInvalido,
         QStringLiteral("não tem linhas")},
        {"listas desiguais", [](Pedido &p) { p.precos.removeLast(); }, SessaoErp::DocumentoInvalido,
         QStringLiteral("3 artigos, 3 quantidades e 2 preços")},
    };
    for (const Caso &c : casos) {
        Pedido p;
        p.linha(a0, 1, 1);
        p.linha(a1, 2, 2);
        p.linha(a2, 3, 3);
        c.muda(p);
        RegistoDocumento registo;
        int numero = -5;
        QVERIFY2(!p.gera(m_erp, registo, numero), c.nome);
        QCOMPARE(m_erp.codigoResultado(), long(c.codigo));
        QVERIFY2(m_erp.mensagemResultado().contains(c.causa), qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(c.nome), m_erp.mensagemResultado())));
        QCOMPARE(numero, 0);
        QCOMPARE(registo.numero, 0);
        QCOMPARE(contagem(m_bd), inicial);
        QVERIFY(m_erp.ligada());
    }
    // The session is still good for the next document, whose number no refusal used up.
    Pedido p;
    p.linha(a0, 1, 1);
    QCOMPARE(p.gera(m_erp), 10);
    m_erp.Desliga();
    QVERIFY(!p.gera(m_erp));
    QCOMPARE(m_erp.codigoResultado(), long(SessaoErp::SessaoDesligada));
}

void TstGeraDocumento::falhasDaBaseDeDadosNaoDeixamNada()
{
    const QString inicial = contagem(m_bd);
    Pedido p;
    for (const QString &a : m_activos)
        p.linha(a, 1, 1);
    const auto recusada = [&](const char *onde) {
        QVERIFY2(!p.gera(m_erp), onde);
        QCOMPARE(m_erp.codigoResultado(), long(SessaoErp::FalhaBaseDados));
        QVERIFY2(m_erp.mensagemResultado().startsWith(QStringLiteral("A encomenda não foi gravada no ERP")), onde);
        QCOMPARE(contagem(m_bd), inicial);
    };
    // The header, the first line, the last line, the commit.
    m_erp.ligacaoErp()->falhaNoProximo(QStringLiteral("INSERT INTO DOCGCCAB"));
    recusada("cabeçalho");
    QVERIFY(m_erp.mensagemResultado().contains(QStringLiteral("Falha provocada para ensaio")));
    m_erp.ligacaoErp()->falhaNoProximo(QStringLiteral("INSERT INTO docgclin"));
    recusada("primeira linha");
    VERIFICA_BD(m_bd, m_bd.Executa(QStringLiteral("CREATE TRIGGER falha_linha3 BEFORE INSERT ON docgclin WHEN NEW.NumLinha = 3 "
                                                  "BEGIN SELECT RAISE(ABORT, 'linha recusada pelo disco'); END")));
    recusada("última linha");
    QVERIFY(m_erp.mensagemResultado().contains(QStringLiteral("linha recusada pelo disco")));
    VERIFICA_BD(m_bd, m_bd.Executa(QStringLiteral("DROP TRIGGER falha_linha3")));
    m_erp.ligacaoErp()->falhaNoProximo(QStringLiteral("COMMIT"));
    recusada("confirmação");
    // Another program holds the database for writing: refused, nothing written.
    VERIFICA_BD(m_bd, m_bd.IniciaTransaccao());
    m_erp.ligacaoErp()->setEsperas(LigacaoBd::EsperaLeitura, 300);
    recusada("bloqueada");
    m_erp.ligacaoErp()->setEsperas(LigacaoBd::EsperaLeitura, LigacaoBd::EsperaEscrita);
    QVERIFY(m_erp.mensagemResultado().contains(QStringLiteral("bloqueada")));
    QVERIFY(m_bd.AnulaTransaccao());
    // Once the database works again the number is the one none of the failures kept.
    QCOMPARE(p.gera(m_erp), 10);
}

void TstGeraDocumento::predefinicoesDoArranqueSaoAceites()
{
    // The defaults start-up writes into a new settings file name what the ERP accepts.
    const QString ficheiro = m_modelo.pasta.filePath(QStringLiteral("predefinicoes.mvk"));
    Pedido p;
    p.tipo = p.sector = p.serie = p.armazem = QString();
    QVERIFY(GetEncomendaNext(ficheiro, p.tipo, p.sector, p.serie, p.armazem));
    p.linha(m_activos[0], 3, 1.5);
    RegistoDocumento registo;
    int numero = 0;
    QVERIFY2(p.gera(m_erp, registo, numero), qPrintable(m_erp.mensagemResultado()));
    QCOMPARE(registo.tipo, QStringLiteral("ENF"));
    QVERIFY(numero > 0);
}

void TstGeraDocumento::duasSessoesIntercaladas()
{
    // Session B, in another thread, has taken its number inside a transaction
    // that is still open when session A asks for one: A waits for B's commit
    // and takes the next number.
    QSemaphore numeroTomado, fim;
    int numeroB = 0;
    QString erroB;
    const QString ficheiro = m_ficheiro, artigo = m_activos[1];
    QThread *b = QThread::create([&] {
        SessaoErp s;
        if (!liga(s, ficheiro)) {
            erroB = s.mensagemResultado();
            numeroTomado.release();
            return;
        }
        s.ligacaoErp()->IniciaTransaccao();   // the document's own transaction nests in this one
        Pedido p;
        p.fornecedor = QStringLiteral("F002");
        p.linha(artigo, 7, 1);
        numeroB = p.gera(s);
        erroB = s.mensagemResultado();
        numeroTomado.release();
        QThread::msleep(300);
        if (!s.ligacaoErp()->TerminaTransaccao())
            erroB = s.ligacaoErp()->ultimoErro().texto();
        fim.release();
    });
    b->start();
    numeroTomado.acquire();
    QVERIFY2(numeroB == 10, qPrintable(erroB));
    Pedido p;
    p.linha(m_activos[0], 1, 1);
    const int numeroA = p.gera(m_erp);
    const QString erroA = m_erp.mensagemResultado();
    fim.acquire();
    b->wait();
    delete b;
    QVERIFY2(numeroA == 11, qPrintable(erroA));
    QVERIFY2(erroB.isEmpty(), qPrintable(erroB));
    QCOMPARE(m_bd.valorUnico(QStringLiteral("SELECT Terceiro FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND ano = 2026 AND nnumdoc = 10")),
             QVariant(QStringLiteral("F002")));
    QCOMPARE(m_bd.valorUnico(QStringLiteral("SELECT Terceiro FROM DOCGCCAB WHERE Tpdoc = 'ENF' AND ano = 2026 AND nnumdoc = 11")),
             QVariant(QStringLiteral("F001")));
}

void TstGeraDocumento::duasSessoesEmProcessos()
{
    // Four programs write ten orders each into the same ERP at the same moment.
    constexpr int Programas = 4, Cada = 10;
    m_erp.Desliga();
    const QString partida = m_modelo.pasta.filePath(QStringLiteral("partida"));
    QFile::remove(partida);
    QList<QProcess *> processos;
    for (int i = 0; i < Programas; ++i) {
        auto *pr = new QProcess(this);
        pr->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        pr->start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--trabalhador"), m_ficheiro, partida, QString::number(Cada), m_activos[i % 3]});
        QVERIFY(pr->waitForStarted());
        processos << pr;
    }
    QThread::msleep(200);
    QFile f(partida);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    for (QProcess *pr : processos) {
        QVERIFY(pr->waitForFinished(60000));
        QCOMPARE(pr->exitCode(), 0);
        delete pr;
    }
    QCOMPARE(m_bd.valorUnico(QStringLiteral("SELECT count(*) || '/' || count(DISTINCT nnumdoc) || '/' || max(nnumdoc) FROM DOCGCCAB "
                                            "WHERE Tpdoc = 'ENF' AND ano = 2027")).toString(),
             QStringLiteral("40/40/40"));
    QCOMPARE(m_bd.valorUnico(QStringLiteral("SELECT count(*) FROM docgclin WHERE Tpdocum = 'ENF' AND Ano = 2027")).toInt(),
             Programas * Cada);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("--trabalhador"))
        return trabalhador(app.arguments());
    TstGeraDocumento tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_geradocumento.moc"
