#include "frmficha.h"
#include "artigos.h"
#include "botao.h"
#include "campoinput.h"
#include "consultas.h"
#include "enviateclas.h"
#include "grelha.h"
#include "janelafilha.h"
#include "ligacaobd.h"
#include "mensagens.h"
#include "servicomensagens.h"

#include <QGroupBox>
#include <QLabel>

using JanelaFilha::px;
using JanelaFilha::twips;

namespace {
const QString ColunaEquivalencia = QStringLiteral("Equivalencia");
constexpr int ComprimentoCodigo = 15;        // article codes
constexpr int ComprimentoEquivalente = 25;   // equivalent codes, as the table stores them
} // namespace

frmFicha::frmFicha(QWidget *pai)
    : QWidget(pai),
      m_frame(new QGroupBox(QStringLiteral("Artigo Next"), this)),
      m_titulo(new QLabel(QStringLiteral("Código"), m_frame)),
      m_campo(new CampoInput(m_frame)),
      m_btLista(new Botao(QStringLiteral("..."), m_frame)),
      m_lbDesc(new QLabel(m_frame)),
      m_grelha(new Grelha(this)),
      m_btConf(new Botao(QStringLiteral("&Confirmar"), this)),
      m_btCancelar(new Botao(QStringLiteral("Ca&ncelar"), this)),
      m_btAnular(new Botao(QStringLiteral("&Anular"), this)),
      m_btSair(new Botao(QStringLiteral("&Sair"), this))
{
    setObjectName(QStringLiteral("frmFicha"));
    setWindowTitle(QStringLiteral("Introdução de Equivalências"));
    m_frame->setObjectName(QStringLiteral("Frame"));
    m_titulo->setObjectName(QStringLiteral("Titulo"));
    m_campo->setObjectName(QStringLiteral("Campo"));
    m_btLista->setObjectName(QStringLiteral("btLista"));
    m_lbDesc->setObjectName(QStringLiteral("LbDesc"));
    m_grelha->setObjectName(QStringLiteral("Grelha"));
    m_btConf->setObjectName(QStringLiteral("btConf"));
    m_btCancelar->setObjectName(QStringLiteral("btCancelar"));
    m_btAnular->setObjectName(QStringLiteral("btAnular"));
    m_btSair->setObjectName(QStringLiteral("btSair"));

    const QColor cor = JanelaFilha::corFundo();
    JanelaFilha::pintaFundo(this, cor);
    JanelaFilha::pintaFundo(m_frame, cor);
    m_frame->setGeometry(twips(120, 120, 7455, 1455));
    m_titulo->setGeometry(twips(240, 360, 660, 195));
    m_titulo->setFont(QFont(QStringLiteral("Verdana"), 8));
    m_campo->setGeometry(twips(1080, 360, 1335, 285));
    m_campo->setMaxLength(ComprimentoCodigo);
    m_btLista->setGeometry(twips(2520, 360, 300, 300));
    m_lbDesc->setGeometry(twips(1080, 720, 6255, 495));
    m_lbDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lbDesc->setWordWrap(true);
    m_grelha->setGeometry(twips(120, 1680, 7455, 2655));
    m_btConf->setGeometry(twips(120, 4440, 1200, 465));
    m_btCancelar->setGeometry(twips(1440, 4440, 1200, 465));
    m_btAnular->setGeometry(twips(2760, 4440, 1200, 465));
    m_btSair->setGeometry(twips(6360, 4440, 1200, 465));
    setFixedSize(px(7665), px(4965));

    // These work whatever the field holds: the field is not checked first.
    for (Botao *b : {m_btLista, m_btCancelar, m_btAnular, m_btSair})
        b->setCausaValidacao(false);
    setTabOrder(m_campo, m_grelha);
    setTabOrder(m_grelha, m_btConf);
    setTabOrder(m_btConf, m_btCancelar);
    setTabOrder(m_btCancelar, m_btAnular);
    setTabOrder(m_btAnular, m_btSair);
    setTabOrder(m_btSair, m_btLista);

    connect(m_campo, &CampoInput::valida, this, &frmFicha::validaCampo);
    connect(m_btConf, &Botao::clicado, this, &frmFicha::confirma);
    connect(m_btCancelar, &Botao::clicado, this, &frmFicha::cancela);
    connect(m_btAnular, &Botao::clicado, this, &frmFicha::anula);
    connect(m_btLista, &Botao::clicado, this, &frmFicha::lista);
    connect(m_btSair, &Botao::clicado, this, [this] { JanelaFilha::fecha(this); });
    LimpaFicha();
}

frmFicha::~frmFicha() = default;

void frmFicha::Mostra()
{
    m_artigos = JanelaFilha::criaArtigos(m_bd);
    LimpaFicha();
    JanelaFilha::preparaNaPrincipal(this);
    show();
    m_campo->setFocus();
}

void frmFicha::LimpaFicha()
{
    m_grelha->cancelaEdicao();
    m_campo->setText(QString());
    m_lbDesc->setText(QString());
    JanelaFilha::pintaFundo(m_lbDesc, JanelaFilha::corFundo());
    m_grelha->hide();
    m_grelha->setCorFundo(JanelaFilha::corFundo());
    m_codigoLido.clear();
}

void frmFicha::validaCampo(bool &cancela)
{
    const QString codigo = m_campo->text();
    if (codigo.trimmed().isEmpty() || !m_artigos) {
        cancela = true;
        m_campo->setFocus();
        return;
    }
    if (codigo == m_codigoLido && !m_grelha->isHidden())
        return;   // the focus only passed through: keep what the grid holds
    m_artigos->setCodigo(codigo);
    Recordset equivalencias;
    if (!m_artigos->Ler(equivalencias)) {
        // A read that failed was reported by the library: the article may well exist.
        if (!m_bd || !m_bd->ultimoErro().existe())
            AvisoTipo(QStringLiteral("O artigo não existe !"), 2);
        cancela = true;
        m_campo->setFocus();
        return;
    }
    if (!PreencheGrelha(equivalencias)) {
        cancela = true;
        m_campo->setFocus();
        return;
    }
    // The library leaves its description empty after reading; the label
    // shows the article's name instead.
    QString nome = m_artigos->Descricao();
    Recordset artigo;
    if (nome.isEmpty() && m_bd && LerArtigo(*m_bd, artigo, codigo) && !artigo.Eof())
        nome = TextoDe(artigo.Valor(QStringLiteral("NOME")));
    m_lbDesc->setText(nome);
    m_codigoLido = codigo;
}

bool frmFicha::PreencheGrelha(Recordset &rs)
{
    if (rs.RecordCount() > MaximoLinhas) {
        AvisoTipo(QStringLiteral("O artigo tem %1 equivalências e esta janela só mostra até %2.")
                      .arg(rs.RecordCount())
                      .arg(MaximoLinhas),
                  0);
        return false;
    }
    m_grelha->setRedesenho(false);
    m_grelha->setCorFundo(JanelaFilha::corFundo());
    m_grelha->setComportamentoEnter(Grelha::ProximaCelula);   // Enter confirms and goes to the next line
    m_grelha->show();
    m_grelha->limpaColunas();
    m_grelha->setSoLeitura(false);
    m_grelha->adicionaColuna({.chave = ColunaEquivalencia, .titulo = ColunaEquivalencia, .tipo = TipoColuna::Texto,
                              .largura = 1500, .comprimentoMax = ComprimentoEquivalente});
    m_grelha->setPermiteAdicionar(true);
    m_grelha->setPermiteApagar(true);
    m_grelha->setLinhas(rs.RecordCount());
    for (int linha = 0; !rs.Eof(); rs.MoveNext(), ++linha)
        m_grelha->setMatriz(linha, 0, TextoDe(rs.Valor(QStringLiteral("ArtigoEquivalente"))));
    m_grelha->setRedesenho(true);
    if (m_grelha->linhas() > 0)
        m_grelha->setLinhaActual(1);
    m_grelha->viewport()->update();
    m_grelha->show();
    return true;
}

bool frmFicha::GravaFicha()
{
    if (!m_artigos || !m_bd || m_grelha->isHidden()) {
        m_campo->setFocus();
        return false;   // no article read: nothing to save
    }
    if (m_grelha->emEdicao() && !m_grelha->terminaEdicao())
        return false;
    const int linhas = m_grelha->linhas();
    if (linhas > MaximoLinhas) {
        AvisoTipo(QStringLiteral("Um artigo pode ter no máximo %1 equivalências e a grelha tem %2 linhas.\r\n"
                                 "Apague as linhas a mais antes de confirmar.")
                      .arg(MaximoLinhas)
                      .arg(linhas),
                  0);
        return false;
    }
    // Deleting the old codes and writing the new ones is one unit: a write
    // that fails undoes everything, and the article keeps the codes it had.
    Transaccao t(*m_bd);
    if (!t.iniciada()) {
        falhaGravacao(m_bd->ultimoErro().texto());
        return false;
    }
    m_artigos->setCodigo(m_campo->text());
    // The library reports a failure of its own operations; the window then
    // adds no box of its own (one message a failure), only when the commit fails.
    bool ok = m_artigos->Apagar();
    for (int linha = 0; ok && linha < linhas; ++linha) {
        const QString codigo = TextoDe(m_grelha->matriz(linha, 0));
        if (codigo.trimmed().isEmpty())
            continue;
        m_artigos->Equivalencia_Escrever(codigo);   // reports its own failure; the connection keeps it
        ok = !m_bd->ultimoErro().existe();
    }
    const bool relatada = !ok;
    if (ok)
        ok = t.confirma();
    if (!ok) {
        const ErroBd erro = m_bd->ultimoErro();
        t.anula();
        if (!relatada)
            falhaGravacao(erro.texto());
        return false;
    }
    return true;
}

void frmFicha::falhaGravacao(const QString &motivo)
{
    AvisoTipo(QStringLiteral("As equivalências do artigo %1 não foram gravadas: o artigo mantém as que tinha.\r\n%2")
                  .arg(m_campo->text(), motivo),
              2);
}

void frmFicha::confirma()
{
    if (!GravaFicha())
        return;   // what was typed stays in the window
    LimpaFicha();
    m_campo->setFocus();
}

void frmFicha::cancela()
{
    LimpaFicha();
    m_campo->setFocus();
    EnviaTeclas(QStringLiteral("{TAB}"));   // the blank field keeps the focus
}

void frmFicha::anula()
{
    PedidoMensagem p;
    p.titulo = JanelaFilha::tituloPrograma();
    p.texto = QStringLiteral("Confirma a anulação de todas as equivalência ?");
    p.icone = PedidoMensagem::Pergunta;
    p.botoes = PedidoMensagem::SimNao;
    p.botaoPredefinido = 2;
    if (ServicoMensagens::actual().mostra(p) != ServicoMensagens::RespSim)
        return;
    if (m_artigos) {
        m_artigos->setCodigo(m_campo->text());
        m_artigos->Apagar();
    }
    LimpaFicha();
    m_campo->setFocus();
}

void frmFicha::lista()
{
    if (!m_artigos)
        return;
    const QString codigo = m_artigos->MostraLista();
    if (codigo.isEmpty())
        return;
    m_campo->poeEscolhido(codigo);   // leaving the field reads the article
}
