#include "acercade.h"
#include "arranque.h"
#include "configuracao.h"
#include "consultaprecosclientes.h"
#include "frmmain.h"
#include "frmsplash.h"
#include "geradordemo.h"
#include "janelastessela.h"
#include "ligacaobd.h"
#include "mensagensgravadas.h"
#include "posicaojanela.h"
#include "programa.h"
#include "registotestes.h"
#include <QSignalSpy>
#include <QPushButton>
#include <QLineEdit>
#include "consultaprecos.h"
#include "rupturastocks.h"
#include "frmficha.h"
#include "frmpesquisa.h"
#include "avisoestado.h"
#include "outroprograma.h"
#include "botao.h"
#include "campoinput.h"
#include "grelha.h"
#include "testmain.h"
#include "twips.h"
#include "versaoprograma.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QtTest>

namespace {
struct EditorSql : EditorConfiguracao
{
    QString ficheiro, catalogo;
    bool edita = false;
    int vezes = 0;
    bool editaSql(ConfigSql &c) override
    {
        ++vezes;
        ficheiro = c.Ficheiro(), catalogo = c.Catalogo, edita = c.Edita;
        return false;
    }
    bool editaErp(ConfigErp &) override { return false; }
};

QStringList legendas(const QMenu *menu)
{
    QStringList r;
    for (const QAction *a : menu->actions())
        if (a->isVisible())
            r << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return r;
}
} // namespace

// The main window, the splash and the About box, offscreen; the saved place
// goes to a settings folder of the test's own.
class TstFrmMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void posicaoGuardadaEPredefinida();
    void posicaoInvalidaDaAPredefinida();
    void menusBarraEEstado();
    void janelasFilhasEArranjos();
    void ligacaoSqlAbreOEditor();
    void menusEBotoesAbremJanelasIndependentes();
    void teclaDeAcessoEmCadaToque();
    void mostraCriaAsTabelasDeEquivalencias();
    void splashEAcercaMostramAVersao();

private:
    void abre(QWidget &w)
    {
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    static void guarda(const QStringList &valores)
    {
        QSettings s(QStringLiteral("Tessela"), QStringLiteral("Tessela"));
        const char *chaves[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};
        for (int i = 0; i < 4; ++i)
            s.setValue(QStringLiteral("Settings/") + chaves[i], valores.at(i));
    }
    static QStringList guardados()
    {
        QSettings s(QStringLiteral("Tessela"), QStringLiteral("Tessela"));
        return {s.value("Settings/MainLeft").toString(), s.value("Settings/MainTop").toString(),
                s.value("Settings/MainWidth").toString(), s.value("Settings/MainHeight").toString()};
    }
    static QRect pixeis(double l, double t, double w, double h)
    {
        return QRect(Twips::paraPixeis(l), Twips::paraPixeis(t), Twips::paraPixeis(w), Twips::paraPixeis(h));
    }
    QString baseDemo();

    QTemporaryDir m_pasta;
    RegistoTestes m_registo;
    MensagensGravadas m_mensagens;
};

void TstFrmMain::initTestCase()
{
    QVERIFY2(m_registo.ok, qPrintable(m_registo.erro));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_pasta.filePath("config"));
}

void TstFrmMain::init()
{
    QSettings(QStringLiteral("Tessela"), QStringLiteral("Tessela")).clear();
    m_mensagens.limpa();
    m_mensagens.instala();
}

QString TstFrmMain::baseDemo()
{
    // An ERP database without the equivalence tables.
    const QString base = m_pasta.filePath(QStringLiteral("%1.db").arg(QTest::currentTestFunction()));
    QFile f(base);
    f.open(QIODevice::WriteOnly);
    f.close();
    LigacaoBd bd;
    bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + base);
    GeradorDemo::Escala e;
    e.artigos = 30, e.fornecedores = 3, e.clientes = 3, e.linhasDocumento = 50, e.clart = 3;
    e.precosFornecedor = e.precosCliente = 5, e.necessidades = 2, e.equivalencias = 0;
    GeradorDemo g(3, QDate(2026, 3, 1));
    if (!g.gera(bd, e))
        qWarning() << g.erro();
    return base;
}

void TstFrmMain::posicaoGuardadaEPredefinida()
{
    {
        frmMain w;
        abre(w);
        QCOMPARE(QRect(w.pos(), w.size()), pixeis(1000, 1000, 6500, 6500));
        w.move(pixeis(1500, 1200, 0, 0).topLeft());
        w.resize(pixeis(0, 0, 9000, 7005).size());
        w.close();
    }
    QCOMPARE(guardados(), QStringList({"1500", "1200", "9000", "7005"}));
    {
        frmMain w;
        abre(w);
        QCOMPARE(QRect(w.pos(), w.size()), pixeis(1500, 1200, 9000, 7005));
        // Closing while minimised keeps the place of the last normal close.
        w.setGeometry(pixeis(3000, 3000, 5000, 5000));
        w.showMinimized();
        QVERIFY(w.isMinimized());
        w.close();
    }
    QCOMPARE(guardados(), QStringList({"1500", "1200", "9000", "7005"}));
    QCOMPARE(PosicaoJanela::texto(1234.5), QStringLiteral("1234.5"));
}

void TstFrmMain::posicaoInvalidaDaAPredefinida()
{
    guarda({"abc", "1500", "-20", "7000,5"});
    QSettings(QStringLiteral("Tessela"), QStringLiteral("Tessela")).remove(QStringLiteral("Settings/MainTop"));
    PosicaoJanela::Lugar l = PosicaoJanela::leLugar();
    QCOMPARE(l.left, 1000.0);
    QCOMPARE(l.top, 1000.0);
    QCOMPARE(l.width, 6500.0);
    QCOMPARE(l.height, 7000.5);

    guarda({"1e30", "0", "8000", "8000"});
    QCOMPARE(PosicaoJanela::leLugar().left, 1000.0);
    QCOMPARE(PosicaoJanela::leLugar().top, 0.0);

    // Far off every screen: the default place, the size kept.
    guarda({"-9000000", "9000000", "8000", "8000"});
    QCOMPARE(PosicaoJanela::le(), pixeis(1000, 1000, 8000, 8000));
    frmMain w;
    abre(w);
    QCOMPARE(QRect(w.pos(), w.size()), pixeis(1000, 1000, 8000, 8000));
}

void TstFrmMain::menusBarraEEstado()
{
    frmMain w;
    abre(w);
    QCOMPARE(w.windowTitle(), QStringLiteral("Equivalência de Referências"));
    QStringList menus;
    for (QAction *a : w.menuBar()->actions())
        if (a->isVisible())
            menus << a->text();
    QCOMPARE(menus, QStringList({"&Ficheiros", "Processamento", "&Configuração", "&Janelas"}));
    QCOMPARE(legendas(w.findChild<QMenu *>("mFich")), QStringList({"Equivalencias", "-", "&Sair"}));
    QCOMPARE(legendas(w.findChild<QMenu *>("Mp")),
             QStringList({"&Pesquisa", "Consulta de preços", "Consulta de ultimo preço de compra", "A Encomendar",
                          "Ruptura de Stocks", "-", "Consultas Preços Ciente"}));
    QCOMPARE(legendas(w.findChild<QMenu *>("mnuTools")), QStringList({"Ligação ao Servidor &SQL"}));
    QCOMPARE(legendas(w.findChild<QMenu *>("mnuWindow")),
             QStringList({"Em &cascata", "Arranjar &horizontalmente", "Arranjar &verticalmente", "&Arrangar icons"}));
    for (const char *escondido : {"Importador", "Conf_pa", "mnuHelp"})
        QVERIFY(!w.accao(escondido)->isVisible());
    QCOMPARE(w.accao("mnuFileExit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    // Every child window can be opened.
    for (const char *filha : {"Mf_equivalencias", "mProc", "Mp_ConsultaPrecos", "Mp_ConsultaPrecos2", "Mp_rutura", "Mp_rutura1", "ConPreCli"})
        QVERIFY2(w.accao(filha)->isEnabled(), filha);

    const QList<QAction *> b = w.botoes();
    QCOMPARE(b.size(), 10);
    QStringList textos;
    for (QAction *a : b)
        textos << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(textos, QStringList({"Equivalências", "-", "Pesquisa", "-", "Consulta preços", "Consulta Compras",
                                  "Ruptura deStocks", "Necessário Encomendar", "-", "Con.Preços Cliente"}));
    QCOMPARE(b[9]->toolTip(), QStringLiteral("Consultas de preços Clientes"));
    QVERIFY(!b[0]->icon().isNull() && !b[9]->icon().isNull());
    // A button is available exactly when its menu item is.
    QVERIFY(b[2]->isEnabled() && b[9]->isEnabled());
    w.accao("ConPreCli")->setEnabled(false);
    QVERIFY(!b[9]->isEnabled());
    w.accao("ConPreCli")->setEnabled(true);
    QVERIFY(b[9]->isEnabled());

    // The customer prices open from their menu item and their button alike.
    w.accao("ConPreCli")->trigger();
    b[9]->trigger();
    QCOMPARE(w.areaFilhas()->subWindowList().size(), 2);
    QVERIFY(qobject_cast<ConsultaPrecosClientes *>(w.areaFilhas()->subWindowList().first()->widget()));
    QCOMPARE(w.areaFilhas()->subWindowList().last()->widget()->windowTitle(), QStringLiteral("Consulta de Preços de Clientes"));

    QCOMPARE(w.painel(1)->text(), QStringLiteral("Status"));
    QVERIFY(!w.painel(7));
    w.EscreveStatus(QStringLiteral("Pronto"));
    QCOMPARE(w.painel(5)->text(), QStringLiteral("Pronto"));
    const int antes = w.painel(5)->width();
    w.resize(w.width() + 200, w.height());
    QTRY_COMPARE(w.painel(5)->width(), antes + 200);

    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QTRY_VERIFY(!w.isVisible());
}

void TstFrmMain::janelasFilhasEArranjos()
{
    frmMain w;
    w.resize(900, 700);
    abre(w);
    auto *filha = new QWidget;
    filha->setWindowTitle(QStringLiteral("Primeira"));
    filha->resize(300, 200);
    QMdiSubWindow *a = w.colocaJanelaFilha(filha);
    const QRect area = w.areaFilhas()->viewport()->rect();
    QVERIFY(qAbs(a->x() - (area.width() - a->width()) / 2) <= 1);
    QVERIFY(qAbs(a->y() - (area.height() - a->height()) / 2) <= 1);
    QVERIFY(a->width() >= 300 && a->height() >= 200);
    QCOMPARE(filha->windowIcon().cacheKey(), w.windowIcon().cacheKey());

    auto *outra = new QWidget;
    outra->setWindowTitle(QStringLiteral("Segunda"));
    QMdiSubWindow *b = w.colocaJanelaFilha(outra);
    w.accao("mnuWindowTileVertical")->trigger();
    QCOMPARE(a->geometry().top(), 0);
    QCOMPARE(b->x(), a->width());
    w.accao("mnuWindowTileHorizontal")->trigger();
    QCOMPARE(a->x(), 0);
    QCOMPARE(b->y(), a->height());
    w.accao("mnuWindowCascade")->trigger();
    QVERIFY(b->y() > a->y());

    b->showMinimized();
    w.accao("mnuWindowArrangeIcons")->trigger();
    QCOMPARE(b->geometry().bottom(), area.bottom());
    QCOMPARE(b->x(), 0);

    // The window menu lists the open child windows.
    QMenu *janelas = w.findChild<QMenu *>("mnuWindow");
    emit janelas->aboutToShow();
    QVERIFY(legendas(janelas).contains("&1 Primeira"));
    QVERIFY(legendas(janelas).contains("&2 Segunda"));

    // Child windows close with the main window.
    QPointer<QWidget> vigia(filha);
    QVERIFY(w.close());
    QTRY_VERIFY(vigia.isNull());
}

void TstFrmMain::ligacaoSqlAbreOEditor()
{
    EditorSql editor;
    EditorConfiguracao::instala(&editor);
    Programa::setPastaPrograma(m_pasta.path());
    Programa::setFicheiroConfiguracao(m_pasta.filePath("config.mvk"));
    frmMain w;
    abre(w);
    w.accao("Conf_SQL")->trigger();
    EditorConfiguracao::instala(nullptr);
    QCOMPARE(editor.vezes, 1);
    QCOMPARE(editor.ficheiro, m_pasta.filePath("config.mvk"));
    QCOMPARE(editor.catalogo, m_pasta.path() + "/catalogos/bd.sql");
    QVERIFY(editor.edita);
}

void TstFrmMain::mostraCriaAsTabelasDeEquivalencias()
{
    LigacaoBd bd;
    QVERIFY(bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + baseDemo()));
    QVERIFY(!bd.existeTabela("mvk_equivalencias"));
    // A file made before the price history: the table is added at start.
    QVERIFY(bd.Executa(QStringLiteral("DROP TABLE mvk_Precos_Historico")));
    frmMain w;
    w.setBd(&bd);
    QVERIFY(w.Mostra());
    QVERIFY(w.isVisible());
    QVERIFY(bd.existeTabela("mvk_equivalencias"));
    QVERIFY(bd.existeTabela("mvk_view_JuntaCodigoArtigos"));
    QVERIFY(bd.existeTabela("mvk_Precos_Historico"));
    QVERIFY(bd.valorUnico(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'IX_mvk_Precos_Historico_Par'")).isValid());
    QCOMPARE(m_mensagens.quantos(), 0);
    QCOMPARE(w.painel(5)->text(), QString());
    AvisoEstado::escreve(QStringLiteral("aviso da caixa"));   // the controls' notices land in the status line
    QCOMPARE(w.painel(5)->text(), QStringLiteral("aviso da caixa"));

    // Without the class library registered the user is told, and the window still opens.
    const QByteArray registo = qgetenv("TESSELA_REGISTO_CLASSES");
    qputenv("TESSELA_REGISTO_CLASSES", m_pasta.filePath("vazio.ini").toLocal8Bit());
    frmMain sem;
    sem.setBd(&bd);
    QVERIFY(!sem.Mostra());
    qputenv("TESSELA_REGISTO_CLASSES", registo);
    QVERIFY(sem.isVisible());
    QCOMPARE(m_mensagens.quantos(), 1);
    QVERIFY(m_mensagens.ultimo().texto.contains("BaseDados"));

    // A database that can only be read: said in the status line at once.
    const QString ficheiro = bd.destino();
    bd.Fecha();
    if (!OutroPrograma::soDeLeitura(ficheiro, true))
        QSKIP("Não foi possível tornar o ficheiro só de leitura");
    const bool abriu = bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + ficheiro);
    frmMain lida;
    lida.setBd(&bd);
    lida.Mostra();
    const QString estado = lida.painel(5)->text();
    bd.Fecha();
    OutroPrograma::soDeLeitura(ficheiro, false);
    QVERIFY(abriu);
    QCOMPARE(estado, QStringLiteral("A base de dados só pode ser lida: as alterações não serão gravadas."));
}

void TstFrmMain::splashEAcercaMostramAVersao()
{
    QCOMPARE(VersaoPrograma::texto(22, 5, 0, 1), QStringLiteral("22.5.1"));
    QCOMPARE(VersaoPrograma::texto(), QStringLiteral("1.0.1"));
    frmSplash s;
    QCOMPARE(s.lbNomeAplicacao()->text(), QStringLiteral("Tessela"));
    QCOMPARE(s.lblVersion()->text(), QStringLiteral("Versão 1.0.1"));
    QCOMPARE(s.aFazer(), QStringLiteral("O que esta a ser feito"));
    const QRect ecra = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(s.x(), (ecra.width() - s.width()) / 2);
    QCOMPARE(s.y(), (ecra.height() - s.height()) / 2);

    AcercaDe acerca;
    VersaoPrograma::preencheAcercaDe(acerca);
    QCOMPARE(acerca.titulo(), QStringLiteral("Tessela"));
    QCOMPARE(acerca.descricao(), VersaoPrograma::descricao());
    QCOMPARE(acerca.versao(), QStringLiteral("1.0.1"));

    // The whole start with the program's own windows: the splash says what it
    // does, then gives way to the main window.
    QTemporaryDir pastas;
    qputenv("XDG_DATA_HOME", pastas.filePath("dados").toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", pastas.path().toLocal8Bit());
    const QString base = baseDemo();
    ConfigSql sql(pastas.filePath("arranque.mvk"));
    for (int i = 1; i <= 3; ++i)
        sql.setValor(i, QStringList{"SQLITE", base, "tessela"}.at(i - 1));
    ConfigErp erp(sql.Ficheiro());
    for (int i = 1; i <= 5; ++i)
        erp.setValor(i, QStringList{"DEMO", "", "admin", "2026", base}.at(i - 1));
    QVERIFY(sql.grava() && erp.grava());

    JanelasTessela janelas;
    Arranque arranque(janelas, pastas.path(), QStringLiteral("arranque.mvk"));
    janelas.setSessao(&arranque.erp());
    QVERIFY(arranque.executa());
    QVERIFY(!janelas.splash());
    QVERIFY(janelas.principal()->isVisible());
    QCOMPARE(janelas.principal()->Bd(), &arranque.bd());
    QCOMPARE(janelas.principal()->Sessao(), &arranque.erp());
    QCOMPARE(m_mensagens.quantos(), 0);
    janelas.libertaPrincipal();
    arranque.termina();
}


void TstFrmMain::menusEBotoesAbremJanelasIndependentes()
{
    LigacaoBd bd;
    QVERIFY(bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + baseDemo()));
    SessaoErp sessao;
    frmMain w;
    w.setBd(&bd);
    w.setSessao(&sessao);
    w.Mostra();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto janelas = [&] {
        QList<QWidget *> r;
        for (QMdiSubWindow *s : w.areaFilhas()->subWindowList())
            r << s->widget();
        return r;
    };
    w.accao("mProc")->trigger();
    w.accao("mProc")->trigger();
    w.botoes().at(2)->trigger();
    QCOMPARE(janelas().size(), 3);
    for (QWidget *j : janelas())
        QVERIFY(qobject_cast<frmPesquisa *>(j));
    QVERIFY(janelas().at(0) != janelas().at(1));

    w.accao("Mf_equivalencias")->trigger();
    QVERIFY(qobject_cast<frmFicha *>(janelas().last()));
    w.botoes().at(0)->trigger();
    QVERIFY(qobject_cast<frmFicha *>(janelas().last()));

    // Button 5 and the menu item open supplier prices, button 6 purchases.
    for (auto [accao, tipo] : {std::pair{"Mp_ConsultaPrecos", 1}, std::pair{"Mp_ConsultaPrecos2", 2}}) {
        w.accao(accao)->trigger();
        auto *p = qobject_cast<ConsultaPrecos *>(janelas().last());
        QVERIFY(p);
        QCOMPARE(p->Tipo(), tipo);
    }
    w.botoes().at(4)->trigger();
    QCOMPARE(qobject_cast<ConsultaPrecos *>(janelas().last())->Tipo(), 1);
    w.botoes().at(5)->trigger();
    QCOMPARE(qobject_cast<ConsultaPrecos *>(janelas().last())->Tipo(), 2);
    // "Ruptura de Stocks" (menu and button 7) and "A Encomendar" (menu and
    // button 8), each a window of its own.
    for (auto [accao, tipo] : {std::pair{"Mp_rutura", 1}, std::pair{"Mp_rutura1", 2}}) {
        w.accao(accao)->trigger();
        auto *r = qobject_cast<RupturaStocks *>(janelas().last());
        QVERIFY(r);
        QCOMPARE(r->Tipo(), tipo);
        QCOMPARE(r->Bd(), &bd);
        QCOMPARE(r->Sessao(), &sessao);
    }
    w.botoes().at(6)->trigger();
    QCOMPARE(qobject_cast<RupturaStocks *>(janelas().last())->windowTitle(), QStringLiteral("Ruptura de Stocks"));
    w.botoes().at(7)->trigger();
    QCOMPARE(qobject_cast<RupturaStocks *>(janelas().last())->windowTitle(), QStringLiteral("Necessidades de Encomendas"));
    QCOMPARE(janelas().size(), 13);
    w.close();
}

void TstFrmMain::teclaDeAcessoEmCadaToque()
{
    // Alt+C is "&Configuração" in the menu bar and "&Confirmar" in the child
    // windows. Every press, with clicks in the grid between them, belongs to
    // the child window that has the focus.
    LigacaoBd bd;
    QVERIFY(bd.Abre(QStringLiteral("Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=") + baseDemo()));
    frmMain w;
    w.setBd(&bd);
    w.Mostra();
    abre(w);
    QMenu *configuracao = w.findChild<QMenu *>("mnuTools");
    const auto altC = [&](QWidget *onde) {
        QTest::keyClick(onde, Qt::Key_C, Qt::AltModifier);
        QCoreApplication::processEvents();
        return !configuracao->isVisible() && !QApplication::activePopupWidget();
    };
    const auto clicaLinha = [](Grelha *g, int linha) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(linha - 1, 0)).center());
    };

    // The record window: a code, its grid, a new line clicked, Enter, Alt+C.
    w.accao("Mf_equivalencias")->trigger();
    auto *ficha = qobject_cast<frmFicha *>(w.areaFilhas()->subWindowList().last()->widget());
    QVERIFY(ficha);
    const QString artigo = GeradorDemo::codigoArtigo(1);
    const auto gravadas = [&] {
        return bd.valorUnico(QStringLiteral("SELECT count(*) FROM mvk_equivalencias WHERE ArtigoPai = ?"), {artigo}).toInt();
    };
    for (int n = 1; n <= 3; ++n) {
        ficha->campo()->setFocus();
        QTRY_VERIFY(ficha->campo()->hasFocus());
        QTest::keyClicks(ficha->campo(), artigo);
        QTest::keyClick(ficha->campo(), Qt::Key_Tab);
        QTRY_VERIFY(ficha->grelha()->isVisible());
        if (n > 1)
            clicaLinha(ficha->grelha(), n);   // the new line, below those saved
        QTest::keyClicks(ficha->grelha(), QStringLiteral("ACC-ALT-%1").arg(n));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY2(altC(QApplication::focusWidget()), qPrintable(QStringLiteral("press %1 opened the menu").arg(n)));
        QCOMPARE(gravadas(), n);
    }

    // The supplier price window: its Confirmar on each press, between clicks in its grid.
    w.accao("Mp_ConsultaPrecos")->trigger();
    auto *precos = qobject_cast<ConsultaPrecos *>(w.areaFilhas()->subWindowList().last()->widget());
    QVERIFY(precos);
    QSignalSpy confirmacoes(precos->btConf(), &Botao::clicado);
    precos->Campo(0)->setFocus();
    QTRY_VERIFY(precos->Campo(0)->hasFocus());
    for (int n = 1; n <= 3; ++n) {
        clicaLinha(precos->grelha(), 1);
        QVERIFY2(altC(QApplication::focusWidget()), qPrintable(QStringLiteral("press %1 opened the menu").arg(n)));
        QCOMPARE(confirmacoes.size(), n);
    }

    // A window with two buttons of the same key: the presses move the focus
    // between them, click neither and never open the menu.
    auto *filha = new QWidget;
    auto *campo = new QLineEdit(filha);
    auto *carregar = new QPushButton(QStringLiteral("&Carregar"), filha);
    auto *confirmar = new QPushButton(QStringLiteral("&Confirmar"), filha);
    carregar->move(0, 40);
    confirmar->move(100, 40);
    QSignalSpy cliques(confirmar, &QPushButton::clicked), outros(carregar, &QPushButton::clicked);
    w.colocaJanelaFilha(filha)->show();
    campo->setFocus();
    QTRY_VERIFY(campo->hasFocus());
    QWidget *anterior = campo;
    for (int n = 1; n <= 4; ++n) {
        QVERIFY(altC(QApplication::focusWidget()));
        QVERIFY(QApplication::focusWidget() == carregar || QApplication::focusWidget() == confirmar);
        QVERIFY(QApplication::focusWidget() != anterior);
        anterior = QApplication::focusWidget();
    }
    QCOMPARE(cliques.size() + outros.size(), 0);

    // With no child window the menu bar keeps its access key.
    w.areaFilhas()->closeAllSubWindows();
    QTest::keyClick(&w, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(configuracao->isVisible());
    configuracao->close();
}

TESSELA_TEST_MAIN(TstFrmMain)
#include "tst_frmmain.moc"
