#include "frmmain.h"

#include "acercade.h"
#include "avisoestado.h"
#include "basedados.h"
#include "consultaprecos.h"
#include "consultaprecosclientes.h"
#include "frmficha.h"
#include "frmpesquisa.h"
#include "importador.h"
#include "configuracao.h"
#include "criaobjecto.h"
#include "esquemaerp.h"
#include "iconesprincipal.h"
#include "ligacaobd.h"
#include "mensagens.h"
#include "posicaojanela.h"
#include "programa.h"
#include "rupturastocks.h"
#include "valores.h"
#include "versaoprograma.h"

#include <QCloseEvent>
#include <QDate>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {
// The child windows come with their own deliveries: until a window is wired
// into its abre...() method, its menu items and buttons stay disabled.
constexpr bool FichaDisponivel = true;
constexpr bool PesquisaDisponivel = true;
constexpr bool ConsultaPrecosDisponivel = true;
constexpr bool RupturaDisponivel = true;
constexpr bool PrecosClientesDisponivel = true;
} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent), m_area(new QMdiArea(this))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Equivalência de Referências"));
    setWindowIcon(IconesPrincipal::programa());
    m_area->setObjectName(QStringLiteral("areaFilhas"));
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setBackground(QColor(0xab, 0xb4, 0xc0));
    setCentralWidget(m_area);

    criaMenus();
    criaBarraFerramentas();
    criaBarraEstado();

    // Loading: the remembered place, before the window is first shown. Left
    // and top are those of the frame, as they are saved.
    const QRect lugar = PosicaoJanela::le();
    move(lugar.topLeft());
    resize(lugar.size());

    // Controls without a box of their own (the code box) give their notices here.
    AvisoEstado::instala([this](const QString &texto) { EscreveStatus(texto); });
}

frmMain::~frmMain() { AvisoEstado::instala({}); }

QAction *frmMain::item(QMenu *menu, const QString &legenda, const QString &nome, bool disponivel)
{
    QAction *a = menu->addAction(legenda);
    a->setObjectName(nome);
    a->setEnabled(disponivel);
    return a;
}

void frmMain::criaMenus()
{
    auto menu = [this](const QString &legenda, const QString &nome) {
        QMenu *m = menuBar()->addMenu(legenda);
        m->setObjectName(nome);
        m->menuAction()->setObjectName(nome);
        return m;
    };
    auto separador = [](QMenu *m, const QString &nome) {
        QAction *s = m->addSeparator();
        s->setObjectName(nome);
        return s;
    };

    QMenu *ficheiros = menu(QStringLiteral("&Ficheiros"), QStringLiteral("mFich"));
    connect(item(ficheiros, QStringLiteral("Equivalencias"), QStringLiteral("Mf_equivalencias"), FichaDisponivel),
            &QAction::triggered, this, &frmMain::abreFicha);
    separador(ficheiros, QStringLiteral("t"));
    QAction *sair = item(ficheiros, QStringLiteral("&Sair"), QStringLiteral("mnuFileExit"), true);
    sair->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(sair, &QAction::triggered, this, &QWidget::close);

    QMenu *processamento = menu(QStringLiteral("Processamento"), QStringLiteral("Mp"));
    connect(item(processamento, QStringLiteral("&Pesquisa"), QStringLiteral("mProc"), PesquisaDisponivel),
            &QAction::triggered, this, &frmMain::abrePesquisa);
    connect(item(processamento, QStringLiteral("Consulta de preços"), QStringLiteral("Mp_ConsultaPrecos"),
                 ConsultaPrecosDisponivel),
            &QAction::triggered, this, [this] { abreConsultaPrecos(1); });
    connect(item(processamento, QStringLiteral("Consulta de ultimo preço de compra"), QStringLiteral("Mp_ConsultaPrecos2"),
                 ConsultaPrecosDisponivel),
            &QAction::triggered, this, [this] { abreConsultaPrecos(2); });
    connect(item(processamento, QStringLiteral("A Encomendar"), QStringLiteral("Mp_rutura1"), RupturaDisponivel),
            &QAction::triggered, this, [this] { abreRuptura(2); });
    connect(item(processamento, QStringLiteral("Ruptura de Stocks"), QStringLiteral("Mp_rutura"), RupturaDisponivel),
            &QAction::triggered, this, [this] { abreRuptura(1); });
    separador(processamento, QStringLiteral("t11"));
    connect(item(processamento, QStringLiteral("Consultas Preços Ciente"), QStringLiteral("ConPreCli"),
                 PrecosClientesDisponivel),
            &QAction::triggered, this, &frmMain::abrePrecosClientes);

    // The items that are not offered in this version are never shown.
    QMenu *configuracao = menu(QStringLiteral("&Configuração"), QStringLiteral("mnuTools"));
    connect(item(configuracao, QStringLiteral("Ligação ao Servidor &SQL"), QStringLiteral("Conf_SQL"), true),
            &QAction::triggered, this, &frmMain::configuraLigacaoSql);
    separador(configuracao, QStringLiteral("Conf_T"))->setVisible(false);
    QAction *importador = item(configuracao, QStringLiteral("Importador"), QStringLiteral("Importador"), false);
    importador->setVisible(false);
    connect(importador, &QAction::triggered, this, &frmMain::abreImportador);
    item(configuracao, QStringLiteral("Parametros"), QStringLiteral("Conf_pa"), false)->setVisible(false);

    m_menuJanelas = menu(QStringLiteral("&Janelas"), QStringLiteral("mnuWindow"));
    connect(item(m_menuJanelas, QStringLiteral("Em &cascata"), QStringLiteral("mnuWindowCascade"), true),
            &QAction::triggered, m_area, &QMdiArea::cascadeSubWindows);
    connect(item(m_menuJanelas, QStringLiteral("Arranjar &horizontalmente"), QStringLiteral("mnuWindowTileHorizontal"), true),
            &QAction::triggered, this, [this] { arranjaEmFaixas(Qt::Vertical); });
    connect(item(m_menuJanelas, QStringLiteral("Arranjar &verticalmente"), QStringLiteral("mnuWindowTileVertical"), true),
            &QAction::triggered, this, [this] { arranjaEmFaixas(Qt::Horizontal); });
    connect(item(m_menuJanelas, QStringLiteral("&Arrangar icons"), QStringLiteral("mnuWindowArrangeIcons"), true),
            &QAction::triggered, this, &frmMain::arranjaIcones);
    m_fimArranjos = m_menuJanelas->addSeparator();
    m_fimArranjos->setVisible(false);
    connect(m_menuJanelas, &QMenu::aboutToShow, this, &frmMain::actualizaMenuJanelas);

    QMenu *ajuda = menu(QStringLiteral("Aj&uda"), QStringLiteral("mnuHelp"));
    connect(item(ajuda, QStringLiteral("&A cerca de..."), QStringLiteral("mnuHelpAbout"), false),
            &QAction::triggered, this, &frmMain::acercaDe);
    ajuda->menuAction()->setVisible(false);
}

QAction *frmMain::botao(int imagem, const QString &legenda, const QString &accaoMenu)
{
    QAction *menu = accao(accaoMenu);
    QAction *b = m_barra->addAction(IconesPrincipal::imagem(imagem), legenda);
    b->setObjectName(QStringLiteral("Toolbar_%1").arg(m_botoes.size() + 1));
    // Pressing the button does what the menu item does, and is available when it is.
    b->setEnabled(menu->isEnabled());
    connect(menu, &QAction::changed, b, [b, menu] { b->setEnabled(menu->isEnabled()); });
    connect(b, &QAction::triggered, menu, &QAction::trigger);
    m_botoes.append(b);
    return b;
}

void frmMain::criaBarraFerramentas()
{
    m_barra = addToolBar(QStringLiteral("Toolbar"));
    m_barra->setObjectName(QStringLiteral("Toolbar"));
    m_barra->setMovable(false);
    m_barra->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_barra->setIconSize(QSize(32, 32));
    auto separador = [this] { m_botoes.append(m_barra->addSeparator()); };

    botao(2, QStringLiteral("Equivalências"), QStringLiteral("Mf_equivalencias"));
    separador();
    botao(1, QStringLiteral("Pesquisa"), QStringLiteral("mProc"));
    separador();
    botao(3, QStringLiteral("Consulta preços"), QStringLiteral("Mp_ConsultaPrecos"));
    botao(5, QStringLiteral("Consulta Compras"), QStringLiteral("Mp_ConsultaPrecos2"));
    botao(4, QStringLiteral("Ruptura deStocks"), QStringLiteral("Mp_rutura"));
    botao(6, QStringLiteral("Necessário Encomendar"), QStringLiteral("Mp_rutura1"));
    separador();
    botao(7, QStringLiteral("Con.Preços Cliente"), QStringLiteral("ConPreCli"))
        ->setToolTip(QStringLiteral("Consultas de preços Clientes"));
}

void frmMain::criaBarraEstado()
{
    // 1 "Status"; 2 the database; 3 the version; 4 the user; 5 the program's
    // messages (stretches with the window); 6 the date of the session.
    for (int i = 1; i <= 6; ++i) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("StatusBar_%1").arg(i));
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setTextFormat(Qt::PlainText);
        l->setContentsMargins(4, 0, 4, 0);
        statusBar()->addWidget(l, i == 5 ? 1 : 0);
        m_paineis.append(l);
    }
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    painel(1)->setText(QStringLiteral("Status"));
    painel(3)->setText(QStringLiteral("Versão ") + VersaoPrograma::texto());
    painel(4)->setText(qEnvironmentVariable("USER"));
    painel(6)->setText(Valores::textoData(QDate::currentDate()));
    for (int i : {2, 4})
        painel(i)->setVisible(!painel(i)->text().isEmpty());
}

QLabel *frmMain::painel(int numero) const
{
    return numero >= 1 && numero <= m_paineis.size() ? m_paineis.at(numero - 1) : nullptr;
}

QAction *frmMain::accao(const QString &nome) const { return findChild<QAction *>(nome); }

void frmMain::setBd(LigacaoBd *bd)
{
    m_bd = bd;
    const QString destino = bd ? bd->destino() : QString();
    const QFileInfo ficheiro(destino);
    painel(2)->setText(ficheiro.isAbsolute() ? ficheiro.fileName() : destino);
    painel(2)->setToolTip(destino);
    painel(2)->setVisible(!destino.isEmpty());
}

bool frmMain::Mostra()
{
    QString erro;
    m_baseDados = CriaObjecto<BaseDados>(&erro);
    if (m_baseDados) {
        m_baseDados->setBd(m_bd);
        // A connection that did not open was reported at start: checking the
        // tables on it would only repeat the failure.
        if (m_bd && m_bd->aberta())
            m_baseDados->VerificaBaseDeDados();
    } else {
        AvisoTipo(QStringLiteral("Não foi possível criar a classe BaseDados da biblioteca TesselaDados2016:\r\n%1\r\n\r\n"
                                 "As tabelas de equivalências não foram verificadas. Instale e registe a biblioteca "
                                 "(tessela-regista) e volte a abrir o programa.")
                      .arg(erro),
                  2);
    }
    // The own tables added by later versions, on a file made before them.
    if (m_bd && m_bd->aberta() && !EsquemaErp::actualiza(*m_bd))
        EscreveStatus(QStringLiteral("Não foi possível criar a tabela do histórico de preços: ") + m_bd->ultimoErro().descricao);
    // Said before the first save fails.
    if (m_bd && m_bd->aberta() && m_bd->soLeitura())
        EscreveStatus(QStringLiteral("A base de dados só pode ser lida: as alterações não serão gravadas."));
    show();
    return m_baseDados != nullptr;
}

void frmMain::EscreveStatus(const QString &texto) { painel(5)->setText(texto); }

QMdiSubWindow *frmMain::colocaJanelaFilha(QWidget *janela)
{
    janela->setWindowIcon(windowIcon());
    if (!janela->testAttribute(Qt::WA_Resized))
        janela->adjustSize();
    const QSize tamanho = janela->size();
    QMdiSubWindow *sub = m_area->addSubWindow(janela);
    sub->setWindowIcon(windowIcon());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The frame around the child's own size.
    const QMargins moldura = sub->contentsMargins();
    sub->resize(tamanho.grownBy(moldura)
                + QSize(0, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub)));
    sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
    const QRect area = m_area->viewport()->rect();
    sub->move(qMax(0, (area.width() - sub->width()) / 2), qMax(0, (area.height() - sub->height()) / 2));
    sub->show();
    return sub;
}

void frmMain::arranjaEmFaixas(Qt::Orientation sentido)
{
    // Vertical: one above the other, each as wide as the area; horizontal:
    // side by side, each as tall as the area.
    const QList<QMdiSubWindow *> janelas = m_area->subWindowList();
    const int n = int(janelas.size());
    if (n == 0)
        return;
    const QRect area = m_area->viewport()->rect();
    for (int i = 0; i < n; ++i) {
        janelas[i]->showNormal();
        if (sentido == Qt::Vertical)
            janelas[i]->setGeometry(0, i * (area.height() / n), area.width(), area.height() / n);
        else
            janelas[i]->setGeometry(i * (area.width() / n), 0, area.width() / n, area.height());
    }
}

void frmMain::abreFicha()
{
    auto *janela = new frmFicha;
    janela->setBd(m_bd);
    colocaJanelaFilha(janela);
    janela->Mostra();
}

void frmMain::abrePesquisa()
{
    auto *janela = new frmPesquisa;
    janela->setBd(m_bd);
    colocaJanelaFilha(janela);
    janela->Mostra();
}
void frmMain::abreConsultaPrecos(int tipo)
{
    auto *janela = new ConsultaPrecos;
    janela->setBd(m_bd);
    janela->setTipo(tipo);
    colocaJanelaFilha(janela);
    janela->Mostra();
}
void frmMain::abreRuptura(int modo)
{
    auto *janela = new RupturaStocks;
    janela->setBd(m_bd);
    janela->setSessao(m_sessao);
    janela->setTipo(modo);
    colocaJanelaFilha(janela);
    janela->Mostra();
}
void frmMain::abrePrecosClientes()
{
    auto *janela = new ConsultaPrecosClientes;
    janela->setBd(m_bd);
    colocaJanelaFilha(janela);
    janela->Mostra();
}
void frmMain::abreImportador()
{
    if (m_bd)
        ImportaEquivalencias(*m_bd);   // reports its own failures
}

void frmMain::configuraLigacaoSql()
{
    ConfigSql config(Programa::ficheiroConfiguracao());
    config.Catalogo = Programa::catalogoSql();
    config.Edita = true;
    config.Configura();
}

void frmMain::acercaDe()
{
    AcercaDe acerca(this);
    acerca.setWindowIcon(windowIcon());
    VersaoPrograma::preencheAcercaDe(acerca);
    acerca.Mostra();
}

void frmMain::arranjaIcones()
{
    const QRect area = m_area->viewport()->rect();
    int x = 0, y = area.height();
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        const QSize s = sub->size();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        sub->move(x, y - s.height());
        x += s.width();
    }
}

void frmMain::actualizaMenuJanelas()
{
    // The arrangements, then one checkable entry per open child window.
    const QList<QAction *> accoes = m_menuJanelas->actions();
    for (int i = int(accoes.indexOf(m_fimArranjos)) + 1; i < accoes.size(); ++i)
        delete accoes.at(i);
    const QList<QMdiSubWindow *> janelas = m_area->subWindowList();
    m_fimArranjos->setVisible(!janelas.isEmpty());
    for (int i = 0; i < janelas.size(); ++i) {
        QMdiSubWindow *sub = janelas.at(i);
        const QString legenda = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle())
                                      : QStringLiteral("%1 %2").arg(i + 1).arg(sub->windowTitle());
        QAction *a = m_menuJanelas->addAction(legenda);
        a->setCheckable(true);
        a->setChecked(sub == m_area->activeSubWindow());
        connect(a, &QAction::triggered, sub, [this, sub] { m_area->setActiveSubWindow(sub); });
    }
}

void frmMain::closeEvent(QCloseEvent *evento)
{
    // Child windows close with the main window; one that refuses keeps it open.
    m_area->closeAllSubWindows();
    if (!m_area->subWindowList().isEmpty()) {
        evento->ignore();
        return;
    }
    // A minimised window keeps the place saved at the last normal close.
    if (!isMinimized())
        PosicaoJanela::grava(QRect(pos(), size()));
    evento->accept();
}
