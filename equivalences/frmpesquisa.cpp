#include "frmpesquisa.h"
#include "artigos.h"
#include "botao.h"
#include "consultas.h"
#include "grelha.h"
#include "janelafilha.h"
#include "ligacaobd.h"
#include "servicomensagens.h"
#include "teclas.h"
#include "ucinput.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>

using JanelaFilha::px;
using JanelaFilha::twips;

namespace {
// Sizes in twips.
constexpr int LarguraDesenho = 11760, AlturaDesenho = 4965;
constexpr int LarguraMinima = 12000, AlturaMinima = 5500;

// Headings of the result columns (the keys stay the result's field names).
const QList<QPair<QString, QString>> titulos = {
    {QStringLiteral("Artigo"), QStringLiteral("Artigo")},       {QStringLiteral("NOME"), QStringLiteral("Nome")},
    {QStringLiteral("UPC"), QStringLiteral("Últ. Preço")},      {QStringLiteral("PCM"), QStringLiteral("Custo Médio")},
    {QStringLiteral("Stock"), QStringLiteral("Stock")},         {QStringLiteral("Prazo"), QStringLiteral("Stock Previsto")},
    {QStringLiteral("PVP"), QStringLiteral("PVP")},
};
} // namespace

frmPesquisa::frmPesquisa(QWidget *pai)
    : QWidget(pai),
      m_frame(new QGroupBox(QStringLiteral("Equivalencias"), this)),
      m_ucInput(new UcInput(m_frame)),
      m_btConf(new Botao(QStringLiteral("&Pesquisar"), m_frame)),
      m_grelha(new Grelha(m_frame)),
      m_campo(new QPlainTextEdit(m_frame))
{
    setObjectName(QStringLiteral("frmPesquisa"));
    setWindowTitle(QStringLiteral("Pesquisa de Equivalências"));
    m_frame->setObjectName(QStringLiteral("Frame"));
    m_btConf->setObjectName(QStringLiteral("btConf"));
    m_grelha->setObjectName(QStringLiteral("Grelha"));
    m_campo->setObjectName(QStringLiteral("Campo"));

    const QColor cor = JanelaFilha::corFundo();
    JanelaFilha::pintaFundo(this, cor);
    JanelaFilha::pintaFundo(m_frame, cor);
    m_ucInput->setBackColor(cor);
    m_ucInput->setText(QString());
    m_ucInput->setGeometry(twips(120, 480, 4095, 300));
    m_btConf->setGeometry(twips(4320, 360, 1200, 465));
    m_grelha->setGeometry(twips(120, 960, 10935, 2295));
    m_campo->setGeometry(twips(120, 3360, 10935, 1215));
    m_campo->setReadOnly(true);
    m_grelha->hide();
    m_campo->hide();
    m_ucInput->raise();   // its list opens over the grid
    setTabOrder(m_ucInput, m_btConf);
    setTabOrder(m_btConf, m_grelha);
    setTabOrder(m_grelha, m_campo);

    setMinimumSize(px(LarguraMinima), px(AlturaMinima));
    resize(sizeHint());

    connect(m_btConf, &Botao::clicado, this, &frmPesquisa::pesquisa);
    connect(m_ucInput, &UcInput::CarregouNoEnter, this, [this] {
        m_ucInput->Terminar();
        m_btConf->setFocus();
        pesquisa();
    });
    connect(m_ucInput, &UcInput::perdeuFoco, m_ucInput, &UcInput::Terminar);
    connect(m_grelha, &Grelha::clique, this, &frmPesquisa::cliqueGrelha);
    connect(m_grelha, &Grelha::duploClique, this, &frmPesquisa::duploCliqueGrelha);
    connect(m_grelha, &Grelha::teclaPremida, this, &frmPesquisa::teclaGrelha);
    connect(m_grelha, &Grelha::linhaActivada, this, &frmPesquisa::activaLinha);
}

frmPesquisa::~frmPesquisa() = default;

QSize frmPesquisa::sizeHint() const
{
    return QSize(px(qMax(LarguraDesenho, LarguraMinima)), px(qMax(AlturaDesenho, AlturaMinima)));
}

void frmPesquisa::Mostra()
{
    JanelaFilha::preparaNaPrincipal(this);
    m_ucInput->setBd(m_bd);
    m_artigos = JanelaFilha::criaArtigos(m_bd);
    show();
    m_ucInput->setFocus();
}

void frmPesquisa::resizeEvent(QResizeEvent *evento)
{
    QWidget::resizeEvent(evento);
    dispoe();
}

void frmPesquisa::dispoe()
{
    if (JanelaFilha::minimizada(this))
        return;
    // The minimum size keeps the window from getting smaller than 12000 by
    // 5500 twips; the frame and the grid and observations inside it follow
    // the window. The code box and the button keep their places.
    m_frame->setGeometry(px(120), px(120), width() - px(240), height() - px(240));
    const double fl = JanelaFilha::emTwips(m_frame->width()), fa = JanelaFilha::emTwips(m_frame->height());
    const double ga = fa - (fa * 0.2 + 1080);
    m_grelha->setGeometry(px(120), px(960), px(fl - 750), px(ga));
    const double topoCampo = JanelaFilha::emTwips(m_grelha->height()) + 960 + 100;
    m_campo->setGeometry(px(120), px(topoCampo), px(fl - 750), px(fa - topoCampo - 200));
}

void frmPesquisa::pesquisa()
{
    repaint();
    CarregaGrelha();
}

void frmPesquisa::CarregaGrelha()
{
    const QString codigo = m_ucInput->Text();   // as typed: the library compares it as it is
    const Recordset rs = m_artigos ? m_artigos->Pesquisar(codigo) : Recordset();
    m_grelha->setCorFundo(JanelaFilha::corFundo());
    if (rs.aberto()) {
        m_grelha->liga(rs);
        for (const auto &[chave, titulo] : titulos) {
            if (const ColunaGrelha *c = m_grelha->coluna(chave)) {
                ColunaGrelha nova = *c;
                nova.titulo = titulo;
                m_grelha->alteraColuna(m_grelha->numeroColuna(chave), nova);
            }
        }
        for (int c = 0; c < m_grelha->numeroColunas(); ++c) {
            m_grelha->resizeColumnToContents(c);
            m_grelha->setColumnWidth(c, qBound(40, m_grelha->columnWidth(c) + 8, 320));
        }
    } else {
        // The library has reported the failure; nothing is shown.
        m_grelha->limpaColunas();
        m_grelha->setLinhas(0);
    }
    m_grelha->show();
    m_campo->show();
}

QString frmPesquisa::codigoDaLinha(int linha) const
{
    return TextoDe(m_grelha->celula(QStringLiteral("Artigo"), linha));
}

void frmPesquisa::cliqueGrelha()
{
    if (m_grelha->tipoLinha() != Grelha::LinhaDados || !m_artigos)
        return;
    m_campo->setPlainText(m_artigos->Observacoes(codigoDaLinha(m_grelha->linhaActual())));
}

void frmPesquisa::duploCliqueGrelha()
{
    if (m_grelha->tipoLinha() != Grelha::LinhaDados)
        return;
    CopiaCodigo(codigoDaLinha(m_grelha->linhaActual()));
}

void frmPesquisa::teclaGrelha(int &tecla, int)
{
    if (tecla != Teclas::Enter)
        return;
    tecla = 0;   // handled here: the grid does not activate the row a second time
    if (m_grelha->tipoLinha() == Grelha::LinhaDados)
        activaLinha(m_grelha->linhaActual());
}

void frmPesquisa::activaLinha(int linha)
{
    if (linha < 1 || linha > m_grelha->linhas())
        return;
    const QString codigo = codigoDaLinha(linha);
    PedidoMensagem p;
    p.titulo = JanelaFilha::tituloPrograma();
    p.texto = codigo;
    p.icone = PedidoMensagem::Nenhum;
    ServicoMensagens::actual().mostra(p);
    CopiaCodigo(codigo);
}

void frmPesquisa::CopiaCodigo(const QString &codigo)
{
    QClipboard *c = QGuiApplication::clipboard();
    c->clear();
    c->setText(codigo);
    if (QWidget *main = JanelaFilha::principal(this))
        main->setWindowState((main->windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
}
