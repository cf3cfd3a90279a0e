#include "formularioprecos.h"

#include "apresentadorhistorico.h"
#include "botao.h"
#include "calendario.h"
#include "campoinput.h"
#include "cargaprecos.h"
#include "consultas.h"
#include "gravacaoprecos.h"
#include "grelha.h"
#include "historicoprecos.h"
#include "janelafilha.h"
#include "ligacaobd.h"
#include "listapesquisa.h"
#include "listasgrelha.h"
#include "mensagens.h"
#include "previsaogrelha.h"
#include "servicomensagens.h"
#include "teclas.h"
#include "twips.h"
#include "visualizadorimpressao.h"

#include <QLabel>

namespace {

// Sizes of the window in twips.
constexpr int Largura = 14640;
constexpr int Altura = 8280;

void poe(QWidget *w, int esquerda, int topo, int largura, int altura)
{
    w->setGeometry(JanelaFilha::twips(esquerda, topo, largura, altura));
}

} // namespace

FormularioPrecos::FormularioPrecos(LadoPrecos lado, const Textos &textos, QWidget *pai)
    : QWidget(pai), m_lado(lado), m_textos(textos)
{
    criaControlos();
    m_regras = new GrelhaPrecos(m_grelha, m_calendario, this, lado, this);
}

FormularioPrecos::~FormularioPrecos()
{
    // The controls go after this object's own part: nothing of theirs may
    // reach it (or the grid's rules) while they are being destroyed.
    delete m_regras;
    for (QObject *o : children())
        o->disconnect(this);
}

void FormularioPrecos::criaControlos()
{
    setWindowTitle(m_textos.titulo);
    setFixedSize(Twips::paraPixeis(Largura), Twips::paraPixeis(Altura));
    JanelaFilha::pintaFundo(this, JanelaFilha::corFundo());
    m_label1 = JanelaFilha::criaTitulo(this, m_textos.titulo, Largura);

    const QString legendas[5] = {QStringLiteral("Artigo"), QString(), QString(), QStringLiteral("Obs"), m_textos.entidade};
    for (int i = 0; i < 5; ++i)
        m_label2[i] = new QLabel(legendas[i], this);
    poe(m_label2[4], 120, 750, 1000, 255);
    poe(m_label2[0], 120, 1140, 1000, 255);
    poe(m_label2[1], 3540, 750, 9000, 255);
    poe(m_label2[2], 3540, 1140, 9000, 255);
    poe(m_label2[3], 120, 6825, 1000, 255);

    const QString dicas[2] = {m_textos.dicaCampo, QStringLiteral("Código de Artigo.")};
    const QString dicasLista[2] = {m_textos.dicaLista, QStringLiteral("Acesso à lista de Artigos.")};
    for (int i = 0; i < 3; ++i) {
        m_campo[i] = new CampoInput(this);
        m_campo[i]->setIndice(i);
        m_campo[i]->setMaxLength(i == 2 ? 200 : 15);
        connect(m_campo[i], &CampoInput::teclaPremida, this, [this, i](int &codigo) { teclaCampo(i, codigo); });
        connect(m_campo[i], &CampoInput::valida, this, [this, i](bool &cancela) { validaCampo(i, cancela); });
        connect(m_campo[i], &CampoInput::pedeLista, this, [this, i] { abreLista(i); });
        if (i < 2) {
            m_campo[i]->setToolTip(dicas[i]);
            m_btLista[i] = new Botao(QStringLiteral("..."), this);
            m_btLista[i]->setIndice(i);
            m_btLista[i]->setToolTip(dicasLista[i]);
            // Out of the Tab order (Shift+Tab from the article goes back to the
            // first filter), but a click still checks the field being left.
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
    m_btExp = botao("E&xportar", "Guardar a grelha num ficheiro para folha de cálculo (CSV).");
    m_btSair = botao("&Sair", "Abandonar a opção.");
    // Clearing and leaving work whatever a field holds.
    m_btCancelar->setCausaValidacao(false);
    m_btSair->setCausaValidacao(false);
    poe(m_btCarga, 13020, 900, 1500, 400);
    poe(m_btConf, 120, TopoBotoes, 1500, 400);
    poe(m_btCancelar, 1740, TopoBotoes, 1500, 400);
    poe(m_btImp, 3360, TopoBotoes, 1500, 400);
    poe(m_btExp, 4980, TopoBotoes, 1500, 400);
    poe(m_btSair, 13020, TopoBotoes, 1500, 400);
    connect(m_btCarga, &Botao::clicado, this, &FormularioPrecos::carrega);
    connect(m_btConf, &Botao::clicado, this, &FormularioPrecos::confirma);
    connect(m_btCancelar, &Botao::clicado, this, &FormularioPrecos::cancela);
    connect(m_btImp, &Botao::clicado, this, &FormularioPrecos::imprime);
    connect(m_btExp, &Botao::clicado, this, &FormularioPrecos::exporta);
    connect(m_btSair, &Botao::clicado, this, &FormularioPrecos::sair);

    m_grelha = new Grelha(this);
    poe(m_grelha, 120, 1560, 14400, 5085);
    const QString dicaHistorico = QStringLiteral("F7: histórico de preços da linha actual.");
    m_grelha->setToolTip(dicaHistorico);
    m_grelha->setStatusTip(dicaHistorico);
    connect(m_grelha, &Grelha::teclaPremida, this, [this](int &tecla, int shift) {
        if (tecla == Teclas::codigoTecla(TeclaHistorico, Qt::NoModifier) && shift == 0) {
            tecla = 0;
            mostraHistorico();
        }
    });
    m_previsao = new PrevisaoGrelha(m_grelha);

    m_calendario = new Calendario(this);

    setTabOrder(m_campo[0], m_campo[1]);
    setTabOrder(m_campo[1], m_btCarga);
    setTabOrder(m_btCarga, m_grelha);
    setTabOrder(m_grelha, m_campo[2]);
    setTabOrder(m_campo[2], m_btConf);
    setTabOrder(m_btConf, m_btCancelar);
    setTabOrder(m_btCancelar, m_btImp);
    setTabOrder(m_btImp, m_btExp);
    setTabOrder(m_btExp, m_btSair);
}

void FormularioPrecos::setBd(LigacaoBd *bd)
{
    m_bd = bd;
    m_regras->setBd(bd);
}

void FormularioPrecos::Mostra() { show(); }

// ---- opening and closing -----------------------------------------------------

void FormularioPrecos::showEvent(QShowEvent *evento)
{
    // The opening: icon and place in the main window, then a clear window.
    if (!m_aberta) {
        m_aberta = true;
        JanelaFilha::preparaNaPrincipal(this);
        LimparForm();
    }
    QWidget::showEvent(evento);
}

void FormularioPrecos::sair() { JanelaFilha::fecha(this); }

void FormularioPrecos::LimparForm()
{
    // The filters are emptied first, so the grid is rebuilt for no filter.
    for (CampoInput *c : m_campo)
        c->clear();
    m_label2[1]->clear();
    m_label2[2]->clear();
    m_estado.IdsAnulados = {0};
    Act_Grelha();
}

void FormularioPrecos::Act_Grelha() { m_regras->Act_Grelha(); }

void FormularioPrecos::cancela()
{
    LimparForm();
    m_campo[0]->setFocus();
}

// ---- filters -----------------------------------------------------------------

QString FormularioPrecos::filtroEntidade() const { return m_campo[0]->text().trimmed(); }
QString FormularioPrecos::filtroArtigo() const { return m_campo[1]->text().trimmed(); }
QString FormularioPrecos::nomeArtigo() const { return m_label2[2]->text(); }
void FormularioPrecos::mostraObservacao(const QString &texto) { m_campo[2]->setText(texto); }

void FormularioPrecos::teclaCampo(int indice, int &codigo)
{
    // A typed character marks the field typed; Esc steps back one field
    // without checking, and in the first filter closes the window.
    m_estado.Digitado = !CampoInput::recuaComEsc(codigo);
    if (!m_estado.Digitado && indice == 0)
        sair();
}

void FormularioPrecos::falhaBd(const QString &funcao) { MensagemErro(m_bd->ultimoErro().texto(), funcao, m_textos.modulo); }

bool FormularioPrecos::validaEntidade()
{
    Recordset rs;
    if (!m_bd->AbreConsulta(QStringLiteral("SELECT Codigo, Nome, Telef FROM %1 where Codigo = ?").arg(m_textos.tabela), rs,
                            {filtroEntidade()})) {
        falhaBd(QStringLiteral("Campo_Validate"));
        return false;
    }
    if (rs.Eof()) {
        Mensagem(QString(), m_textos.inexistente, 2);
        return false;
    }
    const QString nome = TextoDe(rs.Valor(QStringLiteral("Nome")));
    m_label2[1]->setText(nome + QStringLiteral("    Telefone: ") + TextoDe(rs.Valor(QStringLiteral("Telef"))));
    m_estado.NomeEntidade = nome;
    return true;
}

bool FormularioPrecos::validaArtigo()
{
    Recordset rs;
    if (!m_bd->AbreConsulta(QStringLiteral("SELECT Codigo, Nome, ULTPRCOM FROM Artigos where Artoudes=0 and Inactivo=0 and Codigo = ?"),
                            rs, {filtroArtigo()})) {
        falhaBd(QStringLiteral("Campo_Validate"));
        return false;
    }
    if (rs.Eof()) {
        Mensagem(QString(), QStringLiteral("Artigo inexistente!"), 2);
        return false;
    }
    m_label2[2]->setText(TextoDe(rs.Valor(QStringLiteral("Nome"))));
    m_estado.PrecoUltCompra = rs.Valor(QStringLiteral("ULTPRCOM"));
    return true;
}

void FormularioPrecos::validaCampo(int indice, bool &cancela)
{
    // Codes are looked up only when typed (or picked), not when crossed.
    const bool digitado = m_estado.Digitado && !m_campo[indice]->text().trimmed().isEmpty();
    if (indice == 0 && digitado && !validaEntidade()) {
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

void FormularioPrecos::abreLista(int indice)
{
    if (indice < 0 || indice > 2)
        return;
    CampoInput *campo = m_campo[indice];
    QString codigo;
    if (indice < 2 && m_bd) {
        campo->setFocus();
        codigo = indice == 0 ? ListaPesquisa::escolhe(*m_bd, m_textos.tituloLista, m_textos.sqlLista, 5800, {1300, 4000})
                             : EscolheArtigoFiltro(*m_bd);
    }
    if (codigo.isEmpty()) {
        campo->setFocus();
        return;
    }
    // The picked code is checked like a typed one when the queued Tab leaves the field.
    campo->poeEscolhido(codigo);
    m_estado.Digitado = true;
}

// ---- loading and saving ------------------------------------------------------

void FormularioPrecos::carrega()
{
    Act_Grelha();
    m_grelha->setRedesenho(false);
    int linhas = 0;
    const bool ok = CargaPrecos::carrega(*m_bd, *m_grelha, m_lado, m_estado.Tipo, filtroEntidade(), filtroArtigo(), &linhas);
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
        cargaVazia();
    }
}

void FormularioPrecos::confirma()
{
    if (!podeGravar() || !m_bd)
        return;
    const DestinoPrecos destino = m_lado == LadoPrecos::Clientes ? DestinoPrecos::clientes() : DestinoPrecos::fornecedores();
    QList<LinhaRecusada> recusadas;
    const QList<LinhaPreco> linhas = GravacaoPrecos::linhasAlteradas(*m_grelha, destino, &recusadas);
    if (!recusadas.isEmpty()) {
        // A typed price is never dropped: the user completes the row (or
        // removes it) and confirms again; nothing is written meanwhile.
        Mensagem(QString(), GravacaoPrecos::textoRecusadas(recusadas), 2);
        m_grelha->setFocus();
        m_grelha->setLinhaActual(recusadas.first().linha);
        m_grelha->setColunaActual(recusadas.first().coluna + 1);
        return;
    }
    // The question comes before anything is written; Cancel keeps the removed
    // records but the changed rows are saved all the same.
    QList<qint64> apagar;
    if (m_estado.IdsAnulados.size() > 1
        && Mensagem(QString(), QStringLiteral("Pretende anular os registos retirados!"), 3) != ServicoMensagens::RespCancelar)
        apagar = m_estado.IdsAnulados.mid(1);
    if (!linhas.isEmpty() || !apagar.isEmpty()) {
        GravacaoPrecos gravacao(*m_bd, destino);
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

// ---- printing and exporting ----------------------------------------------------

void FormularioPrecos::imprime()
{
    FormataPrintGrelha();
    ImprimeGrelha();
}

void FormularioPrecos::FormataPrintGrelha() { m_previsao->prepara(cabecalhoImpressao()); }

bool FormularioPrecos::emPrevisao() const { return m_previsao->emPrevisao(); }

VisualizadorImpressao *FormularioPrecos::Visualizador() const { return m_previsao->visualizador(); }

void FormularioPrecos::ImprimeGrelha()
{
    const bool previsao = m_previsao->alterna(nomeFicheiro());
    // While the preview is shown only the observation, the exit, the export
    // and this button itself work.
    m_btImp->setText(previsao ? QStringLiteral("&Grelha") : QStringLiteral("&Imprimir"));
    for (QWidget *w : {static_cast<QWidget *>(m_btCarga), static_cast<QWidget *>(m_btCancelar),
                       static_cast<QWidget *>(m_campo[0]), static_cast<QWidget *>(m_campo[1]),
                       static_cast<QWidget *>(m_btLista[0]), static_cast<QWidget *>(m_btLista[1])})
        w->setEnabled(!previsao);
    m_btConf->setEnabled(!previsao && podeGravar());
}

QString FormularioPrecos::exporta() { return m_previsao->exporta(nomeFicheiro()); }

// ---- price history -------------------------------------------------------------

void FormularioPrecos::mostraHistorico()
{
    const int linha = m_grelha->linhaActual();
    if (!m_bd || linha < 1)
        return;
    HistoricoPar h;
    h.lado = m_lado;
    h.nomeEntidade = TextoDe(m_grelha->matriz(linha - 1, ColunasPrecos::Descr));
    h.nomeArtigo = TextoDe(m_grelha->matriz(linha - 1, ColunasPrecos::DescrArtigo));
    const QString entidade = TextoDe(m_grelha->matriz(linha - 1, ColunasPrecos::Forn)).trimmed();
    const QString artigo = TextoDe(m_grelha->matriz(linha - 1, ColunasPrecos::Artigo)).trimmed();
    if (entidade.isEmpty() || artigo.isEmpty()) {
        Mensagem(QString(), QStringLiteral("A linha actual não tem %1 e artigo.").arg(m_textos.entidade.toLower()), 2);
        m_grelha->setFocus();
        return;
    }
    const DestinoPrecos destino = m_lado == LadoPrecos::Clientes ? DestinoPrecos::clientes() : DestinoPrecos::fornecedores();
    if (!HistoricoPrecos::le(*m_bd, destino, entidade, artigo, &h)) {
        falhaBd(QStringLiteral("Grelha_KeyDown"));
        return;
    }
    ApresentadorHistorico::actual().mostra(this, h);
    m_grelha->setFocus();
}
