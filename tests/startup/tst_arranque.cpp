#include "arranque.h"
#include "configuracao.h"
#include "encomendanext.h"
#include "ficheiroini.h"
#include "geradordemo.h"
#include "mensagensgravadas.h"
#include "pastastrabalho.h"
#include "programa.h"
#include "testmain.h"

#include <QDir>
#include <QElapsedTimer>
#include <stdexcept>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Records what the start-up routine asks of the windows, in order.
struct JanelasGravadas : JanelasArranque
{
    QStringList &registo;
    explicit JanelasGravadas(QStringList &r) : registo(r) {}
    void mostraSplash() override { registo << QStringLiteral("splash"); }
    void escreveSplash(const QString &t) override
    {
        registo << QStringLiteral("texto:") + t + (QGuiApplication::overrideCursor() ? QStringLiteral(" (espera)") : QString());
    }
    void carregaPrincipal() override { registo << QStringLiteral("carrega"); }
    void mostraPrincipal(LigacaoBd &bd) override { registo << (bd.aberta() ? QStringLiteral("mostra") : QStringLiteral("mostra sem base")); }
    void fechaSplash() override { registo << QStringLiteral("fecha"); }
};

// Answers the connection dialogs with the values it was given (none: cancelled);
// the queued answers first, one per dialog, then the fixed ones. A dialog
// asked for more often than maximo fails the test and stops the start at
// once: a retry loop that no longer ends fails here, not by a timeout.
struct EditorFalso : EditorConfiguracao
{
    struct DemasiadosPedidos : std::runtime_error
    {
        using std::runtime_error::runtime_error;
    };
    QStringList &registo;
    QStringList sql, erp;
    QList<QStringList> proximosSql, proximosErp;
    QString catalogo;
    bool edita = true;
    int maximo = 3;
    int pedidosSql = 0, pedidosErp = 0;
    explicit EditorFalso(QStringList &r) : registo(r) {}
    void conta(int &pedidos, const char *qual)
    {
        if (++pedidos <= maximo)
            return;
        const QString texto = QStringLiteral("o diálogo %1 foi pedido %2 vezes (no máximo %3)").arg(QLatin1String(qual)).arg(pedidos).arg(maximo);
        QTest::qFail(qPrintable(texto), __FILE__, __LINE__);
        throw DemasiadosPedidos(texto.toStdString());
    }
    template<class Config>
    static bool responde(Config &c, QList<QStringList> &proximos, const QStringList &fixos)
    {
        const QStringList valores = proximos.isEmpty() ? fixos : proximos.takeFirst();
        for (int i = 0; i < valores.size(); ++i)
            c.setValor(i + 1, valores.at(i));
        return !valores.isEmpty() && c.grava();
    }
    bool editaSql(ConfigSql &c) override
    {
        registo << QStringLiteral("dialogo sql");
        conta(pedidosSql, "sql");
        catalogo = c.Catalogo;
        edita = c.Edita;
        return responde(c, proximosSql, sql);
    }
    bool editaErp(ConfigErp &c) override
    {
        registo << QStringLiteral("dialogo erp");
        conta(pedidosErp, "erp");
        return responde(c, proximosErp, erp);
    }
};
} // namespace

// The start of the program against a generated demo database, with the user
// and temporary folders redirected into a temporary folder per test.
class TstArranque : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void configuracaoVaziaPedeOsDoisDialogos();
    void valoresExistentesNaoSaoPedidosNemSubstituidos();
    void ficheiroDaLinhaDeComandos();
    void pastaDoUtilizadorImpossivel();
    void pastaTemporariaLimpaFicheirosEGuardaPastas();
    void erpRecusadoTerminaOPrograma();
    void baseQueNaoAbreEDitaComONome();
    void baseQueNaoAbreECorrigidaNoDialogo();
    void baseDoErpQueNaoAbreECancelada();
    void encomendaNextQueNaoSeLe();
    void valorEmFaltaPedeODialogo_data();
    void valorEmFaltaPedeODialogo();
    void valorEnormeDitoEPedido();

private:
    QString dado(const char *nome) const { return m_caso->filePath(QLatin1String(nome)); }
    QStringList valoresSql() const { return {"SQLITE", m_base, "tessela", ""}; }
    QStringList valoresErp() const { return {"DEMO", "", "admin", "2026", m_base}; }
    void gravaConfiguracao(const QString &ficheiro, const QStringList &sql, const QStringList &erp)
    {
        ConfigSql s(ficheiro);
        ConfigErp e(ficheiro);
        for (int i = 0; i < sql.size(); ++i)
            s.setValor(i + 1, sql.at(i));
        for (int i = 0; i < erp.size(); ++i)
            e.setValor(i + 1, erp.at(i));
        QVERIFY(s.grava() && e.grava());
    }
    QString encomenda(const QString &ficheiro, const char *chave)
    {
        return FicheiroIni(ficheiro).Le(QStringLiteral("Encomenda Next"), QLatin1String(chave));
    }

    QTemporaryDir m_pasta;
    QString m_base;
    std::unique_ptr<QTemporaryDir> m_caso;
    QString m_programa;
    QStringList m_registo;
    std::unique_ptr<EditorFalso> m_editor;
    MensagensGravadas m_mensagens;
};

void TstArranque::initTestCase()
{
    m_base = m_pasta.filePath(QStringLiteral("demo.db"));
    QFile f(m_base);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    LigacaoBd bd;
    QVERIFY(bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + m_base));
    GeradorDemo::Escala e;
    e.artigos = 40, e.fornecedores = 4, e.clientes = 4, e.linhasDocumento = 100, e.clart = 5;
    e.precosFornecedor = e.precosCliente = 10, e.necessidades = 4, e.equivalencias = 0;
    GeradorDemo g(7, QDate(2026, 3, 1));
    QVERIFY2(g.gera(bd, e), qPrintable(g.erro()));
}

void TstArranque::init()
{
    m_caso = std::make_unique<QTemporaryDir>();
    for (const char *p : {"dados", "execucao", "programa"})
        QVERIFY(QDir().mkpath(dado(p)));
    QFile::setPermissions(dado("execucao"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", dado("dados").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", dado("execucao").toLocal8Bit());
    m_programa = dado("programa");
    m_registo.clear();
    m_editor = std::make_unique<EditorFalso>(m_registo);
    EditorConfiguracao::instala(m_editor.get());
    m_mensagens.limpa();
    m_mensagens.instala();
}

void TstArranque::cleanup()
{
    EditorConfiguracao::instala(nullptr);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstArranque::configuracaoVaziaPedeOsDoisDialogos()
{
    m_editor->sql = valoresSql();
    m_editor->erp = valoresErp();
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QString());
    QVERIFY(arranque.executa());
    QCOMPARE(arranque.codigoSaida(), 0);
    QCOMPARE(m_registo, QStringList({"splash", "texto:A ligar-se ao Sage Next.... (espera)", "dialogo sql",
                                     "dialogo erp", "carrega", "mostra", "fecha"}));
    QCOMPARE(m_mensagens.quantos(), 0);
    QCOMPARE(m_editor->catalogo, m_programa + "/catalogos/bd.sql");
    QVERIFY(!m_editor->edita);

    const QString ficheiro = dado("dados") + "/morvik/mvkTesselaArtigos.mvk";
    QCOMPARE(arranque.ficheiroConfiguracao(), ficheiro);
    QCOMPARE(Programa::ficheiroConfiguracao(), ficheiro);
    QCOMPARE(encomenda(ficheiro, "Tipo documento"), QStringLiteral("ENF"));
    QCOMPARE(encomenda(ficheiro, "Sector"), QStringLiteral("001"));
    QCOMPARE(encomenda(ficheiro, "Serie"), QStringLiteral("1"));
    QCOMPARE(encomenda(ficheiro, "Armazem"), QStringLiteral("1"));

    QVERIFY(arranque.bd().aberta());
    QVERIFY(arranque.erp().ligada());
    QCOMPARE(arranque.erp().ligacao(), &arranque.bd());
    arranque.termina();
    QVERIFY(!arranque.erp().ligada());
    QVERIFY(!arranque.bd().aberta());
}

void TstArranque::valoresExistentesNaoSaoPedidosNemSubstituidos()
{
    // The ERP password is empty on purpose: it may be.
    const QString ficheiro = dado("dados") + "/morvik/mvkTesselaArtigos.mvk";
    QDir().mkpath(dado("dados") + "/morvik");
    gravaConfiguracao(ficheiro, valoresSql(), valoresErp());
    FicheiroIni ini(ficheiro);
    QVERIFY(ini.Escreve("Encomenda Next", "Serie", "7") && ini.Escreve("Encomenda Next", "Tipo documento", ""));

    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QString());
    QVERIFY(arranque.executa());
    QVERIFY(!m_registo.contains("dialogo sql") && !m_registo.contains("dialogo erp"));
    QCOMPARE(encomenda(ficheiro, "Serie"), QStringLiteral("7"));
    QCOMPARE(encomenda(ficheiro, "Tipo documento"), QStringLiteral("ENF"));
    QCOMPARE(encomenda(ficheiro, "Sector"), QStringLiteral("001"));

    QString tipo, sector, serie, armazem;
    QVERIFY(GetEncomendaNext(tipo, sector, serie, armazem));
    QCOMPARE(QStringList({tipo, sector, serie, armazem}), QStringList({"ENF", "001", "7", "1"}));
}

void TstArranque::ficheiroDaLinhaDeComandos()
{
    // The whole command line, as it stands, is a file in the program's folder.
    const QString ficheiro = m_programa + "/loja 2.mvk";
    gravaConfiguracao(ficheiro, valoresSql(), valoresErp());
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa + "/", QStringLiteral("loja 2.mvk"));
    QVERIFY(arranque.executa());
    QCOMPARE(arranque.ficheiroConfiguracao(), ficheiro);
    QCOMPARE(encomenda(ficheiro, "Armazem"), QStringLiteral("1"));
    // The user folder is prepared all the same.
    QVERIFY(QFileInfo(dado("dados") + "/morvik").isDir());
    QCOMPARE(arranque.pastaUtilizador(), dado("dados") + "/morvik");
}

void TstArranque::pastaDoUtilizadorImpossivel()
{
    // The user's data folder is a file: nothing can be made under it.
    QFile bloqueio(dado("bloqueio"));
    QVERIFY(bloqueio.open(QIODevice::WriteOnly));
    bloqueio.close();
    qputenv("XDG_DATA_HOME", dado("bloqueio").toLocal8Bit());
    m_editor->sql = valoresSql();
    m_editor->erp = valoresErp();
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QString());
    QVERIFY(arranque.executa());
    QCOMPARE(arranque.pastaUtilizador(), m_programa);
    QCOMPARE(arranque.ficheiroConfiguracao(), m_programa + "/mvkTesselaArtigos.mvk");
    QCOMPARE(ConfigErp(m_programa + "/mvkTesselaArtigos.mvk").valor(3), QStringLiteral("admin"));
}

void TstArranque::pastaTemporariaLimpaFicheirosEGuardaPastas()
{
    const QString pasta = dado("execucao") + "/tessela/tmpMORVIK";
    QVERIFY(QDir().mkpath(pasta + "/guardada"));
    for (const QString &nome : {"a.tmp", "semextensao", ".oculto", "guardada/dentro.tmp"}) {
        QFile f(pasta + "/" + nome);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QCOMPARE(PreparaPercursoUtilizador(), pasta + "/");
    QCOMPARE(QDir(pasta).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(QFileInfo::exists(pasta + "/guardada/dentro.tmp"));
    QCOMPARE(m_mensagens.quantos(), 0);

    // When the folder cannot be made, the current directory is used and the user is told.
    QVERIFY(QDir(pasta).removeRecursively());
    QFile ocupa(pasta);
    QVERIFY(ocupa.open(QIODevice::WriteOnly));
    ocupa.close();
    QCOMPARE(PreparaPercursoUtilizador(), QDir::currentPath() + "/");
    QCOMPARE(m_mensagens.quantos(), 1);
    QVERIFY(m_mensagens.ultimo().texto.startsWith("Erro 76 ("));
    QVERIFY(m_mensagens.ultimo().texto.endsWith(")\r\nNa função PreparaPercursoUtilizador do Módulo mod_main"));
    QCOMPARE(m_mensagens.ultimo().botoes, PedidoMensagem::Ok);
}

void TstArranque::erpRecusadoTerminaOPrograma()
{
    const QString ficheiro = m_programa + "/recusa.mvk";
    QStringList erp = valoresErp();
    erp[2] = QStringLiteral("desconhecido");
    gravaConfiguracao(ficheiro, valoresSql(), erp);
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QStringLiteral("recusa.mvk"));
    QVERIFY(!arranque.executa());
    QVERIFY(arranque.codigoSaida() != 0);
    QCOMPARE(m_mensagens.quantos(), 1);
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("Não foi possivel ligar ao Next\r\nUtilizador ou senha do ERP inválidos."));
    QCOMPARE(m_mensagens.ultimo().botoes, PedidoMensagem::Ok);
    // The main window is never loaded; the splash closes; nothing stays open.
    QCOMPARE(m_registo, QStringList({"splash", "texto:A ligar-se ao Sage Next.... (espera)", "fecha"}));
    QVERIFY(!arranque.bd().aberta());
    QVERIFY(encomenda(ficheiro, "Serie").isEmpty());
}

void TstArranque::baseQueNaoAbreEDitaComONome()
{
    // The dialog offered for the missing database is cancelled.
    const QString ficheiro = m_programa + "/sembase.mvk";
    QStringList sql = valoresSql();
    sql[1] = m_programa + "/nao-existe.db";
    gravaConfiguracao(ficheiro, sql, valoresErp());
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QStringLiteral("sembase.mvk"));
    QVERIFY(arranque.executa());
    QCOMPARE(m_mensagens.quantos(), 1);
    const PedidoMensagem m = m_mensagens.ultimo();
    QCOMPARE(m.icone, PedidoMensagem::Critico);
    QVERIFY2(m.texto.contains("\"" + sql[1] + "\"") && m.texto.contains("não existe"), qPrintable(m.texto));
    QVERIFY(m_editor->edita);
    // The start goes on: the windows report their own failures.
    QCOMPARE(m_registo.mid(2), QStringList({"dialogo sql", "carrega", "mostra sem base", "fecha"}));
    QCOMPARE(ConfigSql(ficheiro).valor(2), sql[1]);
}

void TstArranque::baseQueNaoAbreECorrigidaNoDialogo()
{
    // The program's and the ERP's database are one file that was moved; the
    // user first types another wrong name, then the right one.
    const QString ficheiro = m_programa + "/movida.mvk";
    QStringList sql = valoresSql(), erp = valoresErp();
    sql[1] = erp[4] = m_programa + "/antiga.db";
    gravaConfiguracao(ficheiro, sql, erp);
    QStringList errada = valoresSql();
    errada[1] = m_programa + "/outra.db";
    m_editor->proximosSql = {errada, valoresSql()};
    m_editor->erp = valoresErp();
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QStringLiteral("movida.mvk"));
    QVERIFY(arranque.executa());
    QCOMPARE(m_registo.mid(2), QStringList({"dialogo sql", "dialogo sql", "dialogo erp", "carrega", "mostra", "fecha"}));
    QCOMPARE(m_mensagens.quantos(), 3);
    QVERIFY(m_mensagens.pedidos().at(0).texto.contains("antiga.db"));
    QVERIFY(m_mensagens.pedidos().at(1).texto.contains("outra.db"));
    QVERIFY2(m_mensagens.pedidos().at(2).texto.contains("antiga.db") && m_mensagens.pedidos().at(2).texto.contains("ERP"),
             qPrintable(m_mensagens.pedidos().at(2).texto));
    QVERIFY(arranque.bd().aberta() && arranque.erp().ligada());
    // Corrected for good: the next start asks nothing.
    QCOMPARE(ConfigSql(ficheiro).valor(2), m_base);
    QCOMPARE(ConfigErp(ficheiro).valor(5), m_base);
    arranque.termina();
    m_registo.clear();
    Arranque outra(janelas, m_programa, QStringLiteral("movida.mvk"));
    QVERIFY(outra.executa());
    QCOMPARE(m_registo.mid(2), QStringList({"carrega", "mostra", "fecha"}));
}

void TstArranque::baseDoErpQueNaoAbreECancelada()
{
    const QString ficheiro = m_programa + "/semerp.mvk";
    QStringList erp = valoresErp();
    erp[4] = m_programa + "/nao-existe.db";
    gravaConfiguracao(ficheiro, valoresSql(), erp);
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QStringLiteral("semerp.mvk"));
    QVERIFY(!arranque.executa());
    QVERIFY(arranque.codigoSaida() != 0);
    QCOMPARE(m_registo.mid(2), QStringList({"dialogo erp", "fecha"}));
    QCOMPARE(m_mensagens.quantos(), 2);
    QVERIFY(m_mensagens.ultimo().texto.startsWith("Não foi possivel ligar ao Next\r\n"));
    QVERIFY(m_mensagens.ultimo().texto.contains("nao-existe.db"));
}

void TstArranque::encomendaNextQueNaoSeLe()
{
    // A folder where the settings file should be: it cannot be read.
    QString tipo = QStringLiteral("antes"), sector, serie, armazem;
    QVERIFY(!GetEncomendaNext(m_programa, tipo, sector, serie, armazem));
    QCOMPARE(tipo, QStringLiteral("antes"));
    QCOMPARE(m_mensagens.quantos(), 1);
    QVERIFY(m_mensagens.ultimo().texto.startsWith("Erro 75\r\n("));
    QVERIFY(m_mensagens.ultimo().texto.endsWith(")\r\nNa função GetEncomendaNext do ModTools"));
}

// Each required value empty in turn (the ERP's) or missing from the file (the
// database's): its dialog comes up, and answered or cancelled the start ends
// as it always did. The optional passwords ask for nothing.
void TstArranque::valorEmFaltaPedeODialogo_data()
{
    QTest::addColumn<QString>("seccao");
    QTest::addColumn<int>("valor");        // 1-based, as the configurations number them
    QTest::addColumn<bool>("responde");    // false: the dialog is cancelled
    QTest::addColumn<QStringList>("registo");
    QTest::addColumn<bool>("arranca");
    const QStringList normal{"carrega", "mostra", "fecha"};
    const QStringList erp = ConfigErp::nomes(), sql = ConfigSql::nomes();
    for (int v = 1; v <= erp.size(); ++v) {
        const QByteArray n = erp.at(v - 1).toUtf8();
        const char *nome = n.constData();
        if (v == 2) {   // the ERP password may be empty
            QTest::addRow("ERP %s vazia", nome) << ConfigErp::seccao() << v << true << normal << true;
            continue;
        }
        QTest::addRow("ERP %s vazio, respondido", nome) << ConfigErp::seccao() << v << true
                                                         << QStringList{"dialogo erp"} + normal << true;
        // Cancelled: the start ends.
        QTest::addRow("ERP %s vazio, cancelado", nome) << ConfigErp::seccao() << v << false
                                                        << QStringList{"dialogo erp", "fecha"} << false;
    }
    for (int v = 1; v <= sql.size(); ++v) {
        const QByteArray n = sql.at(v - 1).toUtf8();
        const char *nome = n.constData();
        if (v == 4) {   // so may the login's
            QTest::addRow("SQL %s em falta", nome) << ConfigSql::seccao() << v << true << normal << true;
            continue;
        }
        QTest::addRow("SQL %s em falta, respondido", nome) << ConfigSql::seccao() << v << true
                                                            << QStringList{"dialogo sql"} + normal << true;
        // Cancelled: the start goes on. Without server or file the database
        // does not open and its dialog comes once more; the login is unused
        // by SQLite, so the file opens without it.
        const QStringList cancelado = v == 3 ? QStringList{"dialogo sql"} + normal
                                             : QStringList{"dialogo sql", "dialogo sql", "carrega", "mostra sem base", "fecha"};
        QTest::addRow("SQL %s em falta, cancelado", nome) << ConfigSql::seccao() << v << false << cancelado << true;
    }
}

void TstArranque::valorEmFaltaPedeODialogo()
{
    QFETCH(QString, seccao);
    QFETCH(int, valor);
    QFETCH(bool, responde);
    QFETCH(QStringList, registo);
    QFETCH(bool, arranca);
    const QString ficheiro = m_programa + "/falta.mvk";
    QStringList sql = valoresSql(), erp = valoresErp();
    const bool ehErp = seccao == ConfigErp::seccao();
    (ehErp ? erp : sql)[valor - 1].clear();
    gravaConfiguracao(ficheiro, sql, erp);
    if (!ehErp) {
        // Missing altogether: the line goes from the file.
        QFile f(ficheiro);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList linhas = QString::fromUtf8(f.readAll()).split('\n');
        f.close();
        const qsizetype linha = linhas.indexOf(ConfigSql::nomes().at(valor - 1) + "=", linhas.indexOf("[" + seccao + "]"));
        QVERIFY(linha > 0);
        linhas.removeAt(linha);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(linhas.join('\n').toUtf8());
    }
    if (responde) {
        m_editor->sql = valoresSql();
        m_editor->erp = valoresErp();
    }
    m_editor->maximo = 2;
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QStringLiteral("falta.mvk"));
    QCOMPARE(arranque.executa(), arranca);
    QCOMPARE(m_registo.mid(2), registo);
    if (responde) {
        QCOMPARE(m_mensagens.quantos(), 0);
        QVERIFY(arranque.bd().aberta() && arranque.erp().ligada());
        // What the dialog was given is in the file for the next start.
        QCOMPARE(ehErp ? ConfigErp(ficheiro).valor(valor) : ConfigSql(ficheiro).valor(valor),
                 (ehErp ? valoresErp() : valoresSql()).at(valor - 1));
    }
    if (!arranca)
        QVERIFY(m_mensagens.ultimo().texto.startsWith("Não foi possivel ligar ao Next"));
}

// A value of 50 MB in the settings file: said at once, naming its section and
// key, and asked for in the dialog, which mends the file.
void TstArranque::valorEnormeDitoEPedido()
{
    const QString ficheiro = m_programa + "/enorme.mvk";
    gravaConfiguracao(ficheiro, valoresSql(), valoresErp());
    QStringList linhas;
    {
        QFile f(ficheiro);
        QVERIFY(f.open(QIODevice::ReadOnly));
        linhas = QString::fromUtf8(f.readAll()).split('\n');
    }
    const int servidor = int(linhas.indexOf(QStringLiteral("Servidor=SQLITE")));
    QVERIFY(servidor >= 0);
    {
        QFile f(ficheiro);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(linhas.mid(0, servidor).join('\n').toUtf8() + "\nServidor=");
        f.write(QByteArray(50 * 1024 * 1024, 'S'));
        f.write("\n" + linhas.mid(servidor + 1).join('\n').toUtf8());
    }
    m_editor->sql = valoresSql();
    m_editor->maximo = 1;
    QElapsedTimer relogio;
    relogio.start();
    JanelasGravadas janelas(m_registo);
    Arranque arranque(janelas, m_programa, QStringLiteral("enorme.mvk"));
    QVERIFY(arranque.executa());
    QVERIFY2(relogio.elapsed() < 5000, qPrintable(QString::number(relogio.elapsed())));
    QCOMPARE(m_registo.mid(2), QStringList({"dialogo sql", "carrega", "mostra", "fecha"}));
    QCOMPARE(m_mensagens.quantos(), 1);
    QVERIFY2(m_mensagens.ultimo().texto.contains("\"Servidor\" na secção [Ligacao SQL]"), qPrintable(m_mensagens.ultimo().texto.left(300)));
    QVERIFY(QFileInfo(ficheiro).size() < 10000);
    QCOMPARE(ConfigSql(ficheiro).Servidor(), QStringLiteral("SQLITE"));
}

TESSELA_TEST_MAIN(TstArranque)
#include "tst_arranque.moc"
