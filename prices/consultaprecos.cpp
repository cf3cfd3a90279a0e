#include "consultaprecos.h"

#include "botao.h"
#include "calendario.h"
#include "campoinput.h"
#include "cargaprecos.h"
#include "consultas.h"
#include "enviateclas.h"
#include "gravacaoprecos.h"
#include "grelha.h"
#include "ligacaobd.h"
#include "listapesquisa.h"
#include "mensagens.h"
#include "servicomensagens.h"
#include "teclas.h"
#include "twips.h"

#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {

// Sizes of the window in twips.
constexpr int Largura = 14640;
constexpr int AlturaPrecos = 8280;
constexpr int AlturaCompras = 7800;
constexpr int TopoBotoes = 7275;
constexpr int TopoBotoesCompras = 6795;

void poe(QWidget *w, int esquerda, int topo, int largura, int altura)
{
    w->setGeometry(Twips::paraPixeis(esquerda), Twips::paraPixeis(topo), Twips::paraPixeis(largura), Twips::paraPixeis(altura));
}

void moveTopo(QWidget *w, int topo) { w->move(w->x(), Twips::paraPixeis(topo)); }

} // namespace

ConsultaPrecos::ConsultaPrecos(QWidget *pai) : QWidget(pai)
{
    criaControlos();
    m_regras = new GrelhaPrecos(m_grelha, m_calendario, this, this);
    aplicaModo();
}

ConsultaPrecos::~ConsultaPrecos()
{
    // The controls go after this object's own part: nothing of theirs may
    // reach it (or the grid's rules) while they are being destroyed.
    delete m_regras;
    for (QObject *o : children())
        o->disconnect(this);
}

void ConsultaPrecos::criaControlos()
{
    setWindowTitle(QStringLiteral("Consulta de Preços a Fornecedor"));
    setFixedSize(Twips::paraPixeis(Largura), Twips::paraPixeis(AlturaPrecos));
    // The background every window of the program has.
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, QColor(213, 222, 242));
    setPalette(fundo);
    setAutoFillBackground(true);

    m_frame2 = new QFrame(this);
    m_frame2->setFrameShape(QFrame::StyledPanel);
    poe(m_frame2, 120, 60, 14400, 540);
    m_label1 = new QLabel(QStringLiteral("Consulta de Preços a Fornecedor"), m_frame2);
    m_label1->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setGeometry(m_frame2->rect());

    const char *legendas[5] = {"Artigo", "", "", "Obs", "Fornecedor"};
    for (int i = 0; i < 5; ++i)
        m_label2[i] = new QLabel(QString::fromUtf8(legendas[i]), this);
    poe(m_label2[4], 120, 750, 1000, 255);
    poe(m_label2[0], 120, 1140, 1000, 255);
    poe(m_label2[1], 3540, 750, 9000, 255);
    poe(m_label2[2], 3540, 1140, 9000, 255);
    poe(m_label2[3], 120, 6825, 1000, 255);

    const char *dicas[2] = {"Código de Fornecedor.", "Código de Artigo."};
    const char *dicasLista[2] = {"Acesso à lista de Fornecedores.", "Acesso à lista de Artigos."};
    for (int i = 0; i < 3; ++i) {
        m_campo[i] = new CampoInput(this);
        m_campo[i]->setIndice(i);
        m_campo[i]->setMaxLength(i == 2 ? 200 : 15);
        connect(m_campo[i], &CampoInput::teclaPremida, this, [this, i](int &codigo) { teclaCampo(i, codigo); });
        connect(m_campo[i], &CampoInput::valida, this, [this, i](bool &cancela) { validaCampo(i, cancela); });
        connect(m_campo[i], &CampoInput::pedeLista, this, [this, i] { abreLista(i); });
        if (i < 2) {
            m_campo[i]->setToolTip(QString::fromUtf8(dicas[i]));
            m_btLista[i] = new Botao(QStringLiteral("..."), this);
            m_btLista[i]->setIndice(i);
            m_btLista[i]->setToolTip(QString::fromUtf8(dicasLista[i]));
            // Out of the Tab order (Shift+Tab from the article goes back to the
            // supplier), but a click still checks the field being left.
            m_btLista[i]->setFocusPolicy(Qt::ClickFocus);
            connect(m_btLista[i], &Botao::clicado, this, [this, i] { abreLista(i); });
        }
    }
    poe(m_campo[0], 1200, 720, 1800, 315);
    poe(m_btLista[0], 3030, 720, 375, 315);
    poe(m_campo[1], 1200, 1110, 1800, 315);
    poe(m_btLista[1], 3030, 1110, 375, 315);
    poe(m_campo[2], 1200, 6795, 13320, 315);

    const auto botao = [this](const char *legenda, const char *dica) {
        auto *b = new Botao(QString::fromUtf8(legenda), this);
        b->setToolTip(QString::fromUtf8(dica));
        return b;
    };
    m_btCarga = botao("&Carregar", "Carregar informação.");
    m_btConf = botao("&Confirmar", "Confirmar.");
    m_btCancelar = botao("Ca&ncelar", "Cancelar as operações.");
    m_btImp = botao("&Imprimir", "Impressão.");
    m_btSair = botao("&Sair", "Abandonar a opção.");
    // Clearing and leaving work whatever a field holds.
    m_btCancelar->setCausaValidacao(false);
    m_btSair->setCausaValidacao(false);
    // Printing comes later; until then the button stays off.
    m_btImp->setEnabled(false);
    poe(m_btCarga, 13020, 900, 1500, 400);
    poe(m_btConf, 120, TopoBotoes, 1500, 400);
    poe(m_btCancelar, 1740, TopoBotoes, 1500, 400);
    poe(m_btImp, 3360, TopoBotoes, 1500, 400);
    poe(m_btSair, 13020, TopoBotoes, 1500, 400);
    connect(m_btCarga, &Botao::clicado, this, &ConsultaPrecos::carrega);
    connect(m_btConf, &Botao::clicado, this, &ConsultaPrecos::confirma);
    connect(m_btCancelar, &Botao::clicado, this, &ConsultaPrecos::cancela);
    connect(m_btSair, &Botao::clicado, this, &ConsultaPrecos::sair);

    m_grelha = new Grelha(this);
    poe(m_grelha, 120, 1560, 14400, 5085);

    m_calendario = new Calendario(this);

    setTabOrder(m_campo[0], m_campo[1]);
    setTabOrder(m_campo[1], m_btCarga);
    setTabOrder(m_btCarga, m_grelha);
    setTabOrder(m_grelha, m_campo[2]);
    setTabOrder(m_campo[2], m_btConf);
    setTabOrder(m_btConf, m_btCancelar);
    setTabOrder(m_btCancelar, m_btImp);
    setTabOrder(m_btImp, m_btSair);
}

void ConsultaPrecos::setBd(LigacaoBd *bd)
{
    m_bd = bd;
    m_regras->setBd(bd);
}

void ConsultaPrecos::Mostra() { show(); }

// ---- opening and closing -----------------------------------------------------

void ConsultaPrecos::setTipo(int tipo)
{
    m_estado.Tipo = tipo;
    aplicaModo();
}

void ConsultaPrecos::aplicaModo()
{
    const bool precos = m_estado.Tipo == 1;
    m_label1->setText(precos ? QStringLiteral("Consulta de Preços a Fornecedor") : QStringLiteral("Consulta de Compras"));
    m_btCarga->setText(precos ? QStringLiteral("Carregar") : QStringLiteral("Compras"));
    m_btConf->setEnabled(precos);
    // The purchases have nothing to observe: the window loses the
    // observation line and its buttons move up.
    const bool reduzida = m_estado.Tipo == 2;
    setFixedHeight(Twips::paraPixeis(reduzida ? AlturaCompras : AlturaPrecos));
    for (QWidget *b : {static_cast<QWidget *>(m_btConf), static_cast<QWidget *>(m_btCancelar),
                       static_cast<QWidget *>(m_btSair), static_cast<QWidget *>(m_btImp)})
        moveTopo(b, reduzida ? TopoBotoesCompras : TopoBotoes);
    m_label2[3]->setVisible(!reduzida);
    m_campo[2]->setVisible(!reduzida);
}

void ConsultaPrecos::showEvent(QShowEvent *evento)
{
    // The opening: icon and place in the main window, then a clear window.
    if (!m_aberta) {
        m_aberta = true;
        centra();
        LimparForm();
    }
    QWidget::showEvent(evento);
}

void ConsultaPrecos::centra()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (QWidget *principal = window(); principal != this) {
        setWindowIcon(principal->windowIcon());
        if (sub)
            sub->setWindowIcon(principal->windowIcon());
    }
    // In the main window's document area the sub-window frame is what moves.
    QWidget *moldura = sub ? static_cast<QWidget *>(sub) : this;
    const QWidget *area = sub ? (sub->mdiArea() ? sub->mdiArea()->viewport() : nullptr) : parentWidget();
    if (area)
        moldura->move((area->width() - moldura->width()) / 2, (area->height() - moldura->height()) / 2);
}

void ConsultaPrecos::sair()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void ConsultaPrecos::LimparForm()
{
    // The filters are emptied first, so the grid is rebuilt for no filter.
    for (CampoInput *c : m_campo)
        c->clear();
    m_label2[1]->clear();
    m_label2[2]->clear();
    m_estado.IdsAnulados = {0};
    Act_Grelha();
}

void ConsultaPrecos::Act_Grelha() { m_regras->Act_Grelha(); }

void ConsultaPrecos::cancela()
{
    LimparForm();
    m_campo[0]->setFocus();
}

// ---- filters -----------------------------------------------------------------

QString ConsultaPrecos::filtroFornecedor() const { return m_campo[0]->text().trimmed(); }
QString ConsultaPrecos::filtroArtigo() const { return m_campo[1]->text().trimmed(); }
QString ConsultaPrecos::nomeArtigo() const { return m_label2[2]->text(); }
void ConsultaPrecos::mostraObservacao(const QString &texto) { m_campo[2]->setText(texto); }

void ConsultaPrecos::teclaCampo(int indice, int &codigo)
{
    m_estado.Digitado = true;
    if (codigo != Teclas::Esc)
        return;
    // Esc steps back one field without checking; in the supplier filter it closes.
    EnviaTeclas(QStringLiteral("+{TAB}"));
    codigo = 0;
    m_estado.Digitado = false;
    if (indice == 0)
        sair();
}

void ConsultaPrecos::falhaBd(const QString &funcao)
{
    MensagemErro(m_bd->ultimoErro().texto() + QStringLiteral("\r\nNa função ") + funcao + QStringLiteral(" do Módulo ConsultaPrecos"));
}

bool ConsultaPrecos::validaFornecedor()
{
    Recordset rs;
    if (!m_bd->AbreConsulta(QStringLiteral("SELECT Codigo, Nome, Telef FROM Fornec where Codigo = ?"), rs, {filtroFornecedor()})) {
        falhaBd(QStringLiteral("Campo_Validate"));
        return false;
    }
    if (rs.Eof()) {
        Mensagem(QString(), QStringLiteral("Fornecedor inexistente!"), 2);
        return false;
    }
    const QString nome = TextoDe(rs.Valor(QStringLiteral("Nome")));
    m_label2[1]->setText(nome + QStringLiteral("    Telefone: ") + TextoDe(rs.Valor(QStringLiteral("Telef"))));
    m_estado.NomeFornecedor = nome;
    return true;
}

bool ConsultaPrecos::validaArtigo()
{
    Recordset rs;
    if (!m_bd->AbreConsulta(QStringLiteral("SELECT Codigo, Nome FROM Artigos where Artoudes=0 and Inactivo=0 and Codigo = ?"), rs,
                            {filtroArtigo()})) {
        falhaBd(QStringLiteral("Campo_Validate"));
        return false;
    }
    if (rs.Eof()) {
        Mensagem(QString(), QStringLiteral("Artigo inexistente!"), 2);
        return false;
    }
    m_label2[2]->setText(TextoDe(rs.Valor(QStringLiteral("Nome"))));
    return true;
}

void ConsultaPrecos::validaCampo(int indice, bool &cancela)
{
    // Codes are looked up only when typed (or picked), not when crossed.
    const bool digitado = m_estado.Digitado && !m_campo[indice]->text().trimmed().isEmpty();
    if (indice == 0 && digitado && !validaFornecedor()) {
        m_campo[0]->setFocus();
        cancela = true;
    } else if (indice == 1 && digitado && !validaArtigo()) {
        m_campo[1]->setFocus();
        cancela = true;
    } else if (indice == 2) {
        m_regras->gravaObservacao(m_campo[2]->text());
    }
    m_estado.Digitado = false;
}

void ConsultaPrecos::abreLista(int indice)
{
    if (indice < 0 || indice > 2)
        return;
    CampoInput *campo = m_campo[indice];
    QString codigo;
    if (indice < 2 && m_bd) {
        campo->setFocus();
        if (indice == 0)
            codigo = ListaPesquisa::escolhe(*m_bd, QStringLiteral("Fornecedores"),
                                            QStringLiteral(" SELECT  Codigo as 'Fornecedor', Nome as 'Nome'")
                                                + QStringLiteral(" FROM Fornec") + QStringLiteral("  order by Codigo"),
                                            5800, {1300, 4000});
        else
            codigo = ListaPesquisa::escolhe(*m_bd, QStringLiteral("Artigos"),
                                            QStringLiteral(" SELECT    Codigo as 'Artigo',Nome as 'Designação'")
                                                + QStringLiteral(" FROM Artigos where Artoudes=0 and Inactivo=0")
                                                + QStringLiteral(" order by Codigo"),
                                            7000, {1500, 5000});
    }
    if (codigo.isEmpty()) {
        campo->setFocus();
        return;
    }
    // The picked code is checked like a typed one when the queued Tab leaves the field.
    campo->setText(codigo);
    campo->setInicioSeleccao(0);
    campo->setComprimentoSeleccao(int(codigo.size()));
    campo->setFocus();
    EnviaTeclas(QStringLiteral("{TAB}"));
    m_estado.Digitado = true;
}

// ---- loading and saving ------------------------------------------------------

void ConsultaPrecos::carrega()
{
    Act_Grelha();
    m_grelha->setRedesenho(false);
    int linhas = 0;
    const bool ok = CargaPrecos::carrega(*m_bd, *m_grelha, m_estado.Tipo, filtroFornecedor(), filtroArtigo(), &linhas);
    m_grelha->setRedesenho(true);
    if (!ok) {
        falhaBd(QStringLiteral("btCarga_Click"));
        return;
    }
    if (linhas > 0) {
        m_grelha->setFocus();
        m_grelha->setLinhaActual(1);
    } else {
        Mensagem(QString(), QStringLiteral("Não existe informação para as condições solicitadas!"), 2);
    }
}

void ConsultaPrecos::confirma()
{
    if (m_estado.Tipo != 1 || !m_bd)
        return;
    const QList<LinhaPreco> linhas = GravacaoPrecos::linhasAlteradas(*m_grelha);
    // The question comes before anything is written; Cancel keeps the removed
    // records but the changed rows are saved all the same.
    QList<qint64> apagar;
    if (m_estado.IdsAnulados.size() > 1
        && Mensagem(QString(), QStringLiteral("Pretende anular os registos retirados!"), 3) != ServicoMensagens::RespCancelar)
        apagar = m_estado.IdsAnulados.mid(1);
    if (!linhas.isEmpty() || !apagar.isEmpty()) {
        GravacaoPrecos gravacao(*m_bd);
        if (!gravacao.grava(linhas, apagar)) {
            // Nothing was written: the grid, the filters and the removed rows
            // stay as they were, so the user can put it right and confirm again.
            MensagemErro(QStringLiteral("Não foi possível gravar os preços.\r\n") + gravacao.erro()
                         + QStringLiteral("\r\nNada foi gravado: as alterações continuam na grelha."));
            m_grelha->setFocus();
            return;
        }
    }
    LimparForm();
    cancela();
    m_campo[0]->setFocus();
}
