#include "rupturastocks.h"

#include "analiseruptura.h"
#include "botao.h"
#include "calendario.h"
#include "campoinput.h"
#include "consultas.h"
#include "gravacaonecessidades.h"
#include "grelha.h"
#include "janelafilha.h"
#include "ligacaobd.h"
#include "mensagens.h"
#include "twips.h"
#include "valores.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

namespace {

// Sizes of the window in twips.
constexpr int Largura = 17900;
constexpr int Altura = 9420;
constexpr int TopoBotoes = 8880;
constexpr int TopoResultado = 2280;
constexpr int TopoGrelha = 2580;
constexpr int AlturaGrelha = 6180;
// In the needs layout only the article range is left: the grid moves up.
constexpr int TopoResultadoNecessidades = 1140;
constexpr int TopoGrelhaNecessidades = 1440;


void moveEsquerda(QWidget *w, int esquerda) { w->move(Twips::paraPixeis(esquerda), w->y()); }

} // namespace

RupturaStocks::RupturaStocks(QWidget *pai) : QWidget(pai)
{
    criaControlos();
    m_regras = new GrelhaNecessidades(m_grelha, m_calendario, this, this);
    aplicaModo();
}

RupturaStocks::~RupturaStocks()
{
    // The controls go after this object's own part: nothing of theirs may
    // reach it (or the grid's rules) while they are being destroyed.
    delete m_regras;
    for (QObject *o : children())
        o->disconnect(this);
}

void RupturaStocks::criaControlos()
{
    setWindowTitle(QStringLiteral("Ruptura de Stocks"));
    setFixedSize(Twips::paraPixeis(Largura), Twips::paraPixeis(Altura));
    JanelaFilha::pintaFundo(this, JanelaFilha::corFundo());

    m_label1 = JanelaFilha::criaTitulo(this, QStringLiteral("Ruptura de Stocks"), Largura);
    m_controlos << m_label1->parentWidget() << m_label1;

    criaFiltros();

    const auto botao = [this](const char *legenda, const char *dica) {
        auto *b = new Botao(QString::fromUtf8(legenda), this);
        b->setToolTip(QString::fromUtf8(dica));
        m_controlos << b;
        return b;
    };
    m_btCarga = botao("&Carregar", "Carregar informação.");
    m_mvkBotao1 = botao("&Geração", "Geração de Encomendas a Fornecedores.");
    m_btConf = botao("&Confirmar", "Confirmar.");
    m_btCancelar = botao("Ca&ncelar", "Cancelar as operações.");
    m_btSair = botao("&Sair", "Abandonar a opção.");
    // Clearing and leaving work whatever a field holds.
    m_btCancelar->setCausaValidacao(false);
    m_btSair->setCausaValidacao(false);
    m_btCarga->setGeometry(JanelaFilha::twips(Largura - 1620, 720, 1500, 400));
    m_mvkBotao1->setGeometry(JanelaFilha::twips(120, TopoBotoes, 1300, 400));
    m_btCancelar->setGeometry(JanelaFilha::twips(1485, TopoBotoes, 1300, 400));
    m_btSair->setGeometry(JanelaFilha::twips(2835, TopoBotoes, 1300, 400));
    m_btConf->setGeometry(JanelaFilha::twips(4185, TopoBotoes, 1300, 400));
    connect(m_btCarga, &Botao::clicado, this, &RupturaStocks::carrega);
    connect(m_btConf, &Botao::clicado, this, &RupturaStocks::confirma);
    connect(m_mvkBotao1, &Botao::clicado, this, &RupturaStocks::gera);
    connect(m_btCancelar, &Botao::clicado, this, &RupturaStocks::cancela);
    connect(m_btSair, &Botao::clicado, this, &RupturaStocks::sair);

    m_label2[8] = new QLabel(this);
    m_label2[8]->setTextFormat(Qt::PlainText);
    m_grelha = new Grelha(this);
    m_calendario = new Calendario(this);
    m_controlos << m_label2[8] << m_grelha << m_calendario;

    criaDetalhes();
    criaImpressaoEHistorico();

    setTabOrder(m_campo[0], m_campo[1]);
    QWidget *anterior = m_campo[1];
    for (int i : {2, 3, 4, 5, 6, 7, 11}) {
        setTabOrder(anterior, m_campo[i]);
        anterior = m_campo[i];
    }
    for (QWidget *w : {static_cast<QWidget *>(m_check1), static_cast<QWidget *>(m_btCarga), static_cast<QWidget *>(m_grelha),
                       static_cast<QWidget *>(m_mvkBotao1), static_cast<QWidget *>(m_btConf),
                       static_cast<QWidget *>(m_btCancelar), static_cast<QWidget *>(m_btSair), static_cast<QWidget *>(m_btImp),
                       static_cast<QWidget *>(m_btExp), static_cast<QWidget *>(m_btHist)}) {
        setTabOrder(anterior, w);
        anterior = w;
    }
}

void RupturaStocks::criaDetalhes()
{
    m_frame2 = new QGroupBox(QStringLiteral(" Informação Adicional "), this);
    // It opens over the grid: it needs a background of its own.
    JanelaFilha::pintaFundo(m_frame2, JanelaFilha::corFundo().lighter(104));
    m_frame2->setGeometry(JanelaFilha::twips(12000, 0, 5220, 1740));
    const char *legendas[3] = {"Fornecedor", "Data", "Preço"};
    for (int i = 0; i < 3; ++i) {
        m_label2[9 + i] = new QLabel(QString::fromUtf8(legendas[i]), m_frame2);
        m_label2[9 + i]->setGeometry(JanelaFilha::twips(120, 300 + i * 390, 1000, 285));
        m_campo[8 + i] = new CampoInput(m_frame2);
        m_campo[8 + i]->setIndice(8 + i);
        m_campo[8 + i]->setReadOnly(true);
        m_campo[8 + i]->setGeometry(JanelaFilha::twips(1260, 270 + i * 390, i == 0 ? 1200 : 1500, 315));
        m_controlos << m_label2[9 + i] << m_campo[8 + i];
    }
    m_campo[10]->setFormatoNumerico(QStringLiteral("###,###.00"));
    m_label2[12] = new QLabel(m_frame2);
    m_label2[12]->setTextFormat(Qt::PlainText);
    m_label2[12]->setGeometry(JanelaFilha::twips(2520, 300, 2600, 285));
    m_mvkBotao2 = new Botao(QStringLiteral("&Sair"), m_frame2);
    m_mvkBotao2->setToolTip(QStringLiteral("Abandonar a opção."));
    m_mvkBotao2->setCausaValidacao(false);
    m_mvkBotao2->setGeometry(JanelaFilha::twips(3900, 1260, 1200, 360));
    connect(m_mvkBotao2, &Botao::clicado, this, &RupturaStocks::fechaDetalhes);
    m_controlos << m_frame2 << m_label2[12] << m_mvkBotao2;
    m_frame2->hide();
}

void RupturaStocks::setBd(LigacaoBd *bd)
{
    m_bd = bd;
    m_regras->setBd(bd);
}

void RupturaStocks::Mostra() { show(); }

// ---- opening and closing -----------------------------------------------------

void RupturaStocks::setTipo(int tipo)
{
    m_estado.Tipo = tipo;
    aplicaModo();
}

void RupturaStocks::aplicaModo()
{
    const bool ruptura = m_estado.Tipo == 1;
    const QString titulo = ruptura ? QStringLiteral("Ruptura de Stocks") : QStringLiteral("Necessidades de Encomendas");
    m_label1->setText(titulo);
    setWindowTitle(titulo);
    m_btConf->setVisible(!ruptura);
    for (int i : {1, 2, 3, 5, 6, 7, 13})
        m_label2[i]->setVisible(ruptura);
    for (int i : {2, 3, 4, 5, 6, 7, 11})
        m_campo[i]->setVisible(ruptura);
    for (int i = 2; i < 8; ++i)
        m_btLista[i]->setVisible(ruptura);
    m_check1->setVisible(ruptura);
    m_mvkBotao1->setVisible(ruptura);
    // The remaining buttons close the gap.
    moveEsquerda(m_btConf, ruptura ? 4185 : 120);
    moveEsquerda(m_btCancelar, 1485);
    moveEsquerda(m_btSair, 2835);
    m_label2[8]->setGeometry(JanelaFilha::twips(120, ruptura ? TopoResultado : TopoResultadoNecessidades, Largura - 240, 285));
    const int topo = ruptura ? TopoGrelha : TopoGrelhaNecessidades;
    m_grelha->setGeometry(JanelaFilha::twips(120, topo, Largura - 240, AlturaGrelha + (TopoGrelha - topo)));
    Act_Grelha();
}

void RupturaStocks::showEvent(QShowEvent *evento)
{
    // The opening: icon and place in the main window, then a clear window.
    if (!m_aberta) {
        m_aberta = true;
        JanelaFilha::preparaNaPrincipal(this);
        LimparForm();
    }
    QWidget::showEvent(evento);
}

void RupturaStocks::sair() { JanelaFilha::fecha(this); }

void RupturaStocks::closeEvent(QCloseEvent *evento)
{
    // Closing in the middle of a load stops it; the window closes once the
    // load (or a generation, which runs to its end) has let go of it.
    if (m_aGerar) {
        m_fecharNoFim = true;
        evento->ignore();
        return;
    }
    if (m_aCarregar) {
        m_parar = true;
        m_fecharNoFim = true;
        evento->ignore();
        return;
    }
    QWidget::closeEvent(evento);
}

void RupturaStocks::keyPressEvent(QKeyEvent *evento)
{
    if (m_aCarregar && evento->key() == Qt::Key_Escape) {
        m_parar = true;
        evento->accept();
        return;
    }
    QWidget::keyPressEvent(evento);
}

// ---- clearing and locking ----------------------------------------------------

void RupturaStocks::LimparForm()
{
    Act_Grelha();
    m_frame2->hide();
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 11})
        m_campo[i]->clear();
    m_label2[8]->clear();
    m_label2[8]->setToolTip(QString());
    m_estado.IdsAnulados = {0};
    m_versoes.clear();
}

void RupturaStocks::Act_Grelha()
{
    m_regras->Act_Grelha();
    actualizaGeracao();
}

void RupturaStocks::cancela()
{
    LimparForm();
    m_campo[0]->setFocus();
}

void RupturaStocks::Inibe()
{
    for (QWidget *w : m_controlos)
        w->setEnabled(false);
    m_btSair->setEnabled(true);
}

void RupturaStocks::DesInibe()
{
    m_frame2->hide();
    for (QWidget *w : m_controlos)
        w->setEnabled(true);
    actualizaGeracao();
}

// ---- price details -------------------------------------------------------------

void RupturaStocks::mostraDetalhes(const QString &fornecedor, const QVariant &data, const QVariant &preco)
{
    m_campo[8]->setText(fornecedor);
    m_campo[9]->setText(Valores::textoData(Valores::comoData(data)));
    m_campo[10]->setText(Moeda::deValor(preco).textoCompleto(2));
    // The supplier's name; the panel opens even without one.
    QString nome;
    Recordset rs;
    if (fornecedor.isEmpty())
        nome = QStringLiteral("(sem fornecedor)");
    else if (!LerFornecedor(*m_bd, rs, fornecedor))
        falhaBd(m_bd->ultimoErro().texto(), QStringLiteral("Grelha_Click"));
    else
        nome = rs.Eof() ? QStringLiteral("(fornecedor desconhecido)") : TextoDe(rs.Valor(QStringLiteral("Nome")));
    // A name wider than the panel ends in "…"; the whole name is in its tooltip.
    m_label2[12]->setText(m_label2[12]->fontMetrics().elidedText(nome, Qt::ElideRight, m_label2[12]->width()));
    m_label2[12]->setToolTip(nome);
    Inibe();
    // Below the clicked row, or above it when it would not fit in the window.
    m_frame2->move(Twips::paraPixeis(12000), m_grelha->topoJuntoCelulaActual(*m_frame2));
    // The panel only shows (its fields are read-only): all of it stays legible.
    m_frame2->setEnabled(true);
    for (QWidget *w : m_frame2->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        w->setEnabled(true);
    m_frame2->raise();
    m_frame2->show();
    m_mvkBotao2->setFocus();
}

void RupturaStocks::fechaDetalhes()
{
    DesInibe();
    m_grelha->setFocus();
}

// ---- saving ----------------------------------------------------------------------

void RupturaStocks::confirma()
{
    if (m_estado.Tipo == 1 || !m_bd)
        return;
    GravacaoNecessidades gravacao(*m_bd);
    if (!gravacao.grava(GravacaoNecessidades::linhasAGravar(*m_grelha), m_estado.IdsAnulados.mid(1), m_versoes)) {
        // Nothing was written: the grid and the removed needs stay as they
        // were, so the buyer can put it right and confirm again.
        MensagemErro(QStringLiteral("Não foi possível gravar as necessidades.\r\n") + gravacao.erro()
                     + QStringLiteral("\r\nNada foi gravado: as alterações continuam na grelha."));
        m_grelha->setFocus();
        return;
    }
    // Needs ordered, being ordered or changed elsewhere since the load were
    // left alone: the buyer is told which, once.
    if (!gravacao.saltadas().isEmpty())
        Mensagem(QString(), gravacao.textoSaltadas(), 2);
    LimparForm();
    m_campo[0]->setFocus();
}
