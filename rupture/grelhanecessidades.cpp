#include "grelhanecessidades.h"

#include "analiseruptura.h"
#include "calendario.h"
#include "consultas.h"
#include "grelha.h"
#include "leitoresruptura.h"
#include "ligacaobd.h"
#include "listasgrelha.h"
#include "mensagens.h"
#include "teclas.h"
#include "twips.h"
#include "valores.h"

#include <QDate>

using namespace ColunasNecessidades;

namespace {

bool vazio(const QVariant &v)
{
    return !v.isValid() || v.isNull() || (v.metaType().id() == QMetaType::QString && v.toString().trimmed().isEmpty());
}

// Event column (from 1) of a data column.
constexpr int ev(int coluna) { return coluna + 1; }

// How a column behaves in a mode.
enum Uso { SoLeitura, Editavel, ComBotao, Oculta };

struct DefinicaoColuna
{
    const char *chave;
    const char *titulo;
    TipoColuna tipo;
    int largura;
    int maximo;
    Uso modo1, modo2;
    const char *formato;
};

const DefinicaoColuna colunas[Total] = {
    {"Artigo", "Artigo", TipoColuna::Texto, 1200, 20, SoLeitura, ComBotao, ""},
    {"RefForn", "Ref.Forn.", TipoColuna::Texto, 2200, 20, Editavel, Editavel, ""},
    {"Descr", "Designação Artigo", TipoColuna::Texto, 3850, 50, SoLeitura, SoLeitura, ""},
    {"StkExt", "Stk. Exist.", TipoColuna::Moeda, 1000, 10, SoLeitura, SoLeitura, "##,###"},
    {"StkMin", "Stk. Min.", TipoColuna::Moeda, 1000, 10, SoLeitura, Oculta, "##,###"},
    {"StkMax", "Stk. Max.", TipoColuna::Moeda, 1000, 10, SoLeitura, Oculta, "##,###"},
    {"PendForn", "Pend.Forn.", TipoColuna::Moeda, 1000, 3, SoLeitura, SoLeitura, "##,###"},
    {"Enc", "a Encom.", TipoColuna::Moeda, 1000, 10, Editavel, Editavel, "##,###"},
    {"Forn", "Fornecedor", TipoColuna::Texto, 1200, 15, ComBotao, ComBotao, ""},
    {"UltPrec", "Ult.Prç", TipoColuna::Moeda, 1000, 10, SoLeitura, Oculta, "#,###.#0"},
    {"PrecEc", "Prç.+ Econ.", TipoColuna::Moeda, 1000, 10, SoLeitura, SoLeitura, "#,###.#0"},
    {"Prev.", "Previsão", TipoColuna::Moeda, 1000, 10, SoLeitura, Oculta, "#,###.#0"},
    {"FornUlt", "Fornecedor", TipoColuna::Texto, 1200, 15, Oculta, Oculta, ""},
    {"FornMenos", "Fornecedor", TipoColuna::Texto, 1800, 15, Oculta, Oculta, ""},
    {"DataUlt", "Data", TipoColuna::Data, 1400, 15, Oculta, ComBotao, ""},
    {"DataMenos", "Data", TipoColuna::Texto, 1800, 15, Oculta, Oculta, ""},
    {"Id", "Id", TipoColuna::Longo, 1800, 15, Oculta, Oculta, ""},
};

QVariant data(const QDate &d) { return d.isValid() ? QVariant(d) : QVariant(); }

} // namespace

GrelhaNecessidades::GrelhaNecessidades(Grelha *grelha, Calendario *calendario, JanelaRuptura *janela, QObject *pai)
    : QObject(pai), m_grelha(grelha), m_calendario(calendario), m_janela(janela)
{
    // Direct connections: several events pass their answers by reference.
    connect(grelha, &Grelha::validaCelula, this, &GrelhaNecessidades::valida);
    connect(grelha, &Grelha::edicaoTerminou, this, &GrelhaNecessidades::edicaoTerminou);
    connect(grelha, &Grelha::teclaEmEdicao, this, &GrelhaNecessidades::teclaEmEdicao);
    connect(grelha, &Grelha::botaoCelula, this, &GrelhaNecessidades::botaoCelula);
    connect(grelha, &Grelha::linhaVaiSerApagada, this, &GrelhaNecessidades::linhaVaiSerApagada);
    connect(grelha, &Grelha::linhasRemovidas, this, &GrelhaNecessidades::linhasRemovidas);
    connect(grelha, &Grelha::celulaActualMudou, this, &GrelhaNecessidades::celulaActualMudou);
    connect(grelha, &Grelha::clique, this, &GrelhaNecessidades::clique);
    if (calendario) {
        connect(calendario, &Calendario::dataEscolhida, this, &GrelhaNecessidades::dataDoCalendario);
        connect(calendario, &Calendario::enterPremido, this, &GrelhaNecessidades::dataDoCalendario);
        connect(calendario, &Calendario::escPremido, this, [this] { m_grelha->setFocus(); });
    }
}

// ---- layout and loading ------------------------------------------------------

void GrelhaNecessidades::montaColunas(Grelha &g, int tipo)
{
    const bool necessidades = tipo != 1;
    g.limpaColunas();
    g.setLinhas(0);
    for (int i = 0; i < Total; ++i) {
        const DefinicaoColuna &d = colunas[i];
        const Uso uso = necessidades ? d.modo2 : d.modo1;
        ColunaGrelha c;
        c.chave = QString::fromUtf8(d.chave);
        c.titulo = QString::fromUtf8(d.titulo);
        c.tipo = d.tipo;
        c.largura = i == Descr && necessidades ? 6400 : d.largura;
        c.comprimentoMax = d.maximo;
        c.formato = QString::fromUtf8(d.formato);
        c.oculta = uso == Oculta;
        c.soLeitura = uso == SoLeitura || uso == Oculta;
        // Read-only cells are passed over by the keyboard, except the two
        // prices of the analysis, whose click opens the details panel.
        c.recebeFoco = !c.soLeitura || (!necessidades && (i == UltPrec || i == PrecEc));
        if (uso == ComBotao)
            c.botao = i == DataUlt ? BotaoCelula::Lista : BotaoCelula::Reticencias;
        g.adicionaColuna(c);
    }
    g.setLinhas(LinhasIniciais);
}

void GrelhaNecessidades::Act_Grelha()
{
    m_aReconstruir = true;
    const QFont fonte(QStringLiteral("MS Sans Serif"), 8);
    m_grelha->setFont(fonte);
    m_grelha->setFonteCabecalho(fonte);
    m_grelha->setComportamentoEnter(Grelha::ProximaCelula);
    m_grelha->setComportamentoTab(Grelha::ProximaCelula);
    const int tipo = m_janela->estado().Tipo;
    m_grelha->setPermiteAdicionar(false);
    montaColunas(*m_grelha, tipo);
    // Needs are typed in and removed in mode 2 only; the analysis is only adjusted.
    m_grelha->setPermiteAdicionar(tipo != 1);
    m_grelha->setPermiteApagar(tipo != 1);
    m_grelha->setColunaActual(0);
    m_grelha->setLinhaActual(0);
    m_aReconstruir = false;
}

void GrelhaNecessidades::preenche(Grelha &g, const QList<LinhaRuptura> &linhas, int tipo)
{
    g.setLinhas(linhasDepois(int(linhas.size())));
    for (int r = 0; r < linhas.size(); ++r) {
        const LinhaRuptura &l = linhas.at(r);
        g.setMatriz(r, Artigo, l.artigo);
        g.setMatriz(r, RefForn, l.refForn);
        g.setMatriz(r, Descr, l.descr);
        g.setMatriz(r, StkExt, l.stkExt.paraValor());
        g.setMatriz(r, PendForn, l.pendForn.paraValor());
        g.setMatriz(r, Enc, l.enc.paraValor());
        g.setMatriz(r, Forn, l.forn);
        g.setMatriz(r, PrecEc, l.precEc.paraValor());
        g.setMatriz(r, DataUlt, data(l.dataUlt));
        g.setMatriz(r, Id, qlonglong(l.id));
        if (tipo != 1)
            continue;
        g.setMatriz(r, StkMin, l.stkMin.paraValor());
        g.setMatriz(r, StkMax, l.stkMax.paraValor());
        g.setMatriz(r, UltPrec, l.ultPrec.paraValor());
        g.setMatriz(r, Prev, l.prev.paraValor());
        g.setMatriz(r, FornUlt, l.fornUlt);
        g.setMatriz(r, FornMenos, l.fornMenos);
        g.setMatriz(r, DataMenos, data(l.dataMenos));
    }
}

// ---- checks ------------------------------------------------------------------

void GrelhaNecessidades::escreve(int linha, int coluna, const QVariant &valor)
{
    m_grelha->setMatriz(linha - 1, coluna, valor);
    m_grelha->redesenhaCelula(linha, ev(coluna));
}

void GrelhaNecessidades::falhaBd(const QString &onde)
{
    MensagemErro(m_bd->ultimoErro().texto(), onde, QStringLiteral("RupturaStocks"));
}

QString GrelhaNecessidades::referenciaCompra(const QVariant &artigo, const QVariant &fornecedor, bool *ok)
{
    // Without a purchase-help record the row has no reference.
    QString referencia;
    *ok = LerReferenciaCompra(*m_bd, artigo, fornecedor, &referencia);
    if (!*ok)
        falhaBd(QStringLiteral("LerAjudaCompra"));
    return referencia;
}

bool GrelhaNecessidades::validaArtigo(int linha, const QString &texto, QString &mensagem)
{
    if (texto.trimmed().isEmpty()) {
        mensagem = QStringLiteral("Campo obrigatório!");
        return false;
    }
    Recordset artigo;
    if (!m_bd->AbreConsulta(QStringLiteral("SELECT * FROM Artigos where CODIGO = ? and Artoudes=0 and inactivo=0"), artigo, {texto})) {
        falhaBd(QStringLiteral("Grelha_ValidateEdit"));
        return false;
    }
    if (artigo.Eof()) {
        mensagem = QStringLiteral("Artigo não existente!");
        return false;
    }
    // The article brings its name, stock, what is pending from suppliers and
    // its cheapest quote, whose supplier becomes the row's.
    Recordset pendentes, economico;
    if (!LerQtdFornecedor(*m_bd, texto, texto, pendentes) || !LerPrecoEconomico(*m_bd, texto, texto, economico)) {
        falhaBd(QStringLiteral("Grelha_ValidateEdit"));
        return false;
    }
    escreve(linha, Descr, TextoDe(artigo.Valor(QStringLiteral("Nome"))));
    escreve(linha, StkExt, Moeda::deValor(artigo.Valor(QStringLiteral("StDisp"))).paraValor());
    pendentes.Filter(QStringLiteral("Artigo"), texto);
    escreve(linha, PendForn, Moeda::deValor(pendentes.Eof() ? QVariant() : pendentes.Valor(QStringLiteral("Qtd"))).paraValor());
    economico.Filter(QStringLiteral("Artigo"), texto);
    const bool temPreco = !economico.Eof() && !economico.Valor(QStringLiteral("Preco")).isNull();
    escreve(linha, PrecEc, temPreco ? Moeda::deValor(economico.Valor(QStringLiteral("Preco"))).paraValor() : 0.0);
    escreve(linha, Forn, temPreco ? TextoDe(economico.Valor(QStringLiteral("Forn"))) : QString());
    bool ok = true;
    escreve(linha, RefForn, referenciaCompra(texto, m_grelha->matriz(linha - 1, Forn), &ok));
    return ok;
}

bool GrelhaNecessidades::validaFornecedor(int linha, const QString &texto, QString &mensagem)
{
    if (texto.trimmed().isEmpty()) {
        // The analysis proposes a supplier for every row; a need may have none.
        if (m_janela->estado().Tipo == 1) {
            mensagem = QStringLiteral("Campo obrigatório");
            return false;
        }
        return true;
    }
    Recordset rs;
    if (!LerFornecedor(*m_bd, rs, texto)) {
        falhaBd(QStringLiteral("Grelha_ValidateEdit"));
        return false;
    }
    if (rs.Eof()) {
        mensagem = QStringLiteral("Fornecedor não existente!");
        return false;
    }
    m_janela->estado().Digitado = false;
    bool ok = true;
    escreve(linha, RefForn, referenciaCompra(m_grelha->matriz(linha - 1, Artigo), texto, &ok));
    return ok;
}

void GrelhaNecessidades::valida(int linha, int coluna, const QVariant &anterior, bool &cancela)
{
    EstadoRuptura &e = m_janela->estado();
    const QString texto = m_grelha->textoCelula(linha, coluna);
    QString mensagem;
    bool aceite = true;
    switch (coluna - 1) {
    case Artigo:
        if (e.Digitado)
            aceite = validaArtigo(linha, texto, mensagem);
        break;
    case Forn:
        if (e.Digitado)
            aceite = validaFornecedor(linha, texto, mensagem);
        break;
    case DataUlt:
        if (e.Digitado && !Valores::comoData(m_grelha->matriz(linha - 1, DataUlt)).isValid()) {
            mensagem = QStringLiteral("Data inválida!");
            aceite = false;
        }
        break;
    case Enc: {
        // Typed or not, a quantity is a number not below zero; an empty cell
        // is no quantity (the row is then not saved nor ordered).
        const QVariant v = m_grelha->matriz(linha - 1, Enc);
        const bool escrito = v.metaType().id() == QMetaType::QString;
        if ((escrito && !v.toString().trimmed().isEmpty()) || (!escrito && !vazio(v) && v.toDouble() < 0)) {
            mensagem = QStringLiteral("Quantidade inválida!");
            aceite = false;
        } else if (escrito) {
            escreve(linha, Enc, QVariant());
        }
        break;
    }
    default:
        break;
    }
    if (!aceite) {
        cancela = true;
        m_grelha->recusaValor(linha, coluna, anterior, mensagem);
    }
    e.Digitado = false;
}

void GrelhaNecessidades::edicaoTerminou(int linha, int coluna)
{
    // An edit that ended without a check of its own (left from code) still
    // looks up a typed code, so a row never keeps a code without its name.
    if (!m_janela->estado().Digitado || (coluna - 1 != Artigo && coluna - 1 != Forn))
        return;
    bool cancela = false;
    valida(linha, coluna, m_grelha->matriz(linha - 1, coluna - 1), cancela);
}

void GrelhaNecessidades::teclaEmEdicao(int, int, int &tecla, int)
{
    EstadoRuptura &e = m_janela->estado();
    e.Digitado = true;
    if (tecla == Teclas::Esc) {
        // Esc gives up the edit: the cell keeps its previous value, unchecked.
        e.Digitado = false;
        tecla = 0;
        m_grelha->cancelaEdicao();
    }
}

// ---- lists, calendar and details -----------------------------------------------

void GrelhaNecessidades::botaoCelula(int linha, int coluna)
{
    const int dados = coluna - 1;
    if (dados == DataUlt) {
        abreCalendario();
        return;
    }
    if (dados != Forn && dados != Artigo)
        return;
    const QString codigo = dados == Forn ? EscolheFornecedorGrelha(*m_bd) : EscolheArtigoGrelha(*m_bd);
    // The picked code is checked like a typed one, which completes the row.
    m_janela->estado().Digitado = !codigo.trimmed().isEmpty();
    if (m_janela->estado().Digitado)
        m_grelha->aceitaEscolha(codigo);
}

void GrelhaNecessidades::abreCalendario()
{
    if (!m_calendario)
        return;
    // Below the current cell, or above it when it would not fit in the window;
    // always at the same left edge.
    m_calendario->mostraEm(QPoint(Twips::paraPixeis(14000), m_grelha->topoJuntoCelulaActual(*m_calendario)),
                           Valores::comoData(m_grelha->valorActual()));
}

void GrelhaNecessidades::dataDoCalendario(const QDate &data)
{
    m_grelha->setValorActual(data);
    m_grelha->redesenhaCelula(m_grelha->linhaActual(), m_grelha->colunaActual());
    m_grelha->setFocus();
}

void GrelhaNecessidades::clique()
{
    if (m_janela->estado().Tipo != 1)
        return;
    const int l = m_grelha->linhaActual(), c = m_grelha->colunaActual() - 1;
    if (l < 1 || (c != UltPrec && c != PrecEc))
        return;
    const bool ultima = c == UltPrec;
    m_janela->mostraDetalhes(TextoDe(m_grelha->matriz(l - 1, ultima ? FornUlt : FornMenos)),
                             m_grelha->matriz(l - 1, ultima ? DataUlt : DataMenos), m_grelha->matriz(l - 1, c));
}

// ---- rows --------------------------------------------------------------------

void GrelhaNecessidades::linhaVaiSerApagada(int linha, bool &cancela)
{
    // A saved need leaves its Id for deletion when saving; a row typed here
    // and not saved yet has none and is not removed.
    const QVariant id = m_grelha->matriz(linha - 1, Id);
    if (vazio(id))
        cancela = true;
    else
        m_janela->estado().IdsAnulados.append(id.toLongLong());
}

void GrelhaNecessidades::linhasRemovidas()
{
    // The rows with an article move up, in order; the others go.
    Grelha &g = *m_grelha;
    const bool redesenho = g.redesenho();
    g.setRedesenho(false);
    int livre = 0;
    for (int r = 0; r < g.linhas(); ++r) {
        if (vazio(g.matriz(r, Artigo)))
            continue;
        if (r != livre)
            for (int c = 0; c < Total; ++c)
                g.setMatriz(livre, c, g.matriz(r, c));
        ++livre;
    }
    g.setLinhas(livre);
    g.setRedesenho(redesenho);
}

void GrelhaNecessidades::celulaActualMudou(int, int)
{
    if (m_aReconstruir || m_janela->estado().Tipo == 1)
        return;
    // There is always a further empty row to move into.
    if (m_grelha->linhaActual() > m_grelha->linhas() - 1)
        m_grelha->setLinhas(m_grelha->linhas() + 1);
}
