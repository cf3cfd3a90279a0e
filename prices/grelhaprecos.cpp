#include "grelhaprecos.h"

#include "calendario.h"
#include "consultas.h"
#include "grelha.h"
#include "ligacaobd.h"
#include "listasgrelha.h"
#include "mensagens.h"
#include "teclas.h"
#include "valores.h"

#include <QDate>

using namespace ColunasPrecos;

namespace {

bool semValor(const QVariant &v) { return !v.isValid() || v.isNull(); }

// No value, null or the empty text.
bool vazio(const QVariant &v)
{
    return semValor(v) || (v.metaType().id() == QMetaType::QString && v.toString().isEmpty());
}

// Event column (from 1) of a data column.
constexpr int ev(int coluna) { return coluna + 1; }

} // namespace

GrelhaPrecos::GrelhaPrecos(Grelha *grelha, Calendario *calendario, JanelaPrecos *janela, LadoPrecos lado, QObject *pai)
    : QObject(pai), m_grelha(grelha), m_calendario(calendario), m_janela(janela), m_lado(lado)
{
    // Direct connections: several events pass their answers by reference.
    connect(grelha, &Grelha::edicaoVaiComecar, this, &GrelhaPrecos::edicaoVaiComecar);
    connect(grelha, &Grelha::validaCelula, this, &GrelhaPrecos::valida);
    connect(grelha, &Grelha::edicaoTerminou, this, &GrelhaPrecos::edicaoTerminou);
    connect(grelha, &Grelha::teclaEmEdicao, this, &GrelhaPrecos::teclaEmEdicao);
    connect(grelha, &Grelha::teclaPremida, this, &GrelhaPrecos::teclaPremida);
    connect(grelha, &Grelha::botaoCelula, this, &GrelhaPrecos::botaoCelula);
    connect(grelha, &Grelha::linhaVaiSerApagada, this, &GrelhaPrecos::linhaVaiSerApagada);
    connect(grelha, &Grelha::celulaActualMudou, this, &GrelhaPrecos::celulaActualMudou);
    connect(grelha, &Grelha::recebeuFoco, this, &GrelhaPrecos::recebeuFoco);
    if (calendario) {
        connect(calendario, &Calendario::dataEscolhida, this, &GrelhaPrecos::dataDoCalendario);
        connect(calendario, &Calendario::enterPremido, this, &GrelhaPrecos::dataDoCalendario);
        connect(calendario, &Calendario::escPremido, this, [this] { m_grelha->setFocus(); });
    }
}

QVariant GrelhaPrecos::hoje() { return QDate::currentDate(); }

// ---- layout ----------------------------------------------------------------

void GrelhaPrecos::montaColunas(Grelha &g, LadoPrecos lado, int tipo, bool filtroEntidade, bool filtroArtigo)
{
    const bool clientes = lado == LadoPrecos::Clientes;
    const bool precos = clientes || tipo == 1;
    // A code column is typed (with its list) only while its filter is empty;
    // in purchases mode it only shows, but the cursor may still stand on it.
    const auto colunaCodigo = [precos](const char *chave, const char *titulo, int largura, bool filtrada) {
        ColunaGrelha c;
        c.chave = QString::fromUtf8(chave);
        c.titulo = QString::fromUtf8(titulo);
        c.largura = largura;
        c.comprimentoMax = 15;
        c.soLeitura = !precos || filtrada;
        c.recebeFoco = !precos || !filtrada;
        c.botao = precos && !filtrada ? BotaoCelula::Reticencias : BotaoCelula::Nenhum;
        return c;
    };
    const auto coluna = [](const char *chave, const char *titulo, TipoColuna tipo, int largura, int maximo) {
        ColunaGrelha c;
        c.chave = QString::fromUtf8(chave);
        c.titulo = QString::fromUtf8(titulo);
        c.tipo = tipo;
        c.largura = largura;
        c.comprimentoMax = maximo;
        return c;
    };

    g.limpaColunas();
    g.setLinhas(0);
    g.adicionaColuna(clientes ? colunaCodigo("Cli", "Cliente", 1000, filtroEntidade)
                              : colunaCodigo("Forn", "Fornecedor", 1000, filtroEntidade));
    ColunaGrelha c = coluna("Descr", clientes ? "Nome Cliente" : "Designação Fornecedor", TipoColuna::Texto, 3000, 50);
    c.soLeitura = true;
    c.recebeFoco = false;
    g.adicionaColuna(c);
    g.adicionaColuna(colunaCodigo("Artigo", "Artigo", 1500, filtroArtigo));
    c = coluna("DescrArtigo", "Designação Artigo", TipoColuna::Texto, 3000, 50);
    c.soLeitura = true;
    c.recebeFoco = false;
    g.adicionaColuna(c);
    if (clientes) {
        // The article's last purchase price, shown beside the customer's price.
        c = coluna("UPC", "UPC", TipoColuna::Moeda, 2200, 20);
        c.soLeitura = true;
        c.formato = QStringLiteral("##,###.00");
    } else {
        c = coluna("RefForn", "Ref. Forn.", TipoColuna::Texto, 2200, 20);
        c.soLeitura = !precos;
    }
    g.adicionaColuna(c);
    c = coluna("DataE", "Data", TipoColuna::Data, 1200, 10);
    c.soLeitura = !precos;
    c.botao = BotaoCelula::Lista;   // the calendar, in both modes
    g.adicionaColuna(c);
    c = coluna("Preco", "Preço", TipoColuna::Moeda, 1200, 10);
    c.soLeitura = !precos;
    c.formato = QStringLiteral("##,###.00");
    g.adicionaColuna(c);
    c = coluna("Id", "Id", TipoColuna::Moeda, 1500, 10);
    c.oculta = true;
    c.formato = QStringLiteral("##,###.00");
    g.adicionaColuna(c);
    c = coluna("Altera", "Altera", TipoColuna::Booleano, 1500, 10);
    c.oculta = true;
    c.valorPredefinido = false;
    g.adicionaColuna(c);
    if (precos) {
        c = coluna("Obs", "Obs", TipoColuna::Texto, 1500, 200);
        c.oculta = true;
        g.adicionaColuna(c);
    }
    g.setLinhas(LinhasIniciais);
}

void GrelhaPrecos::Act_Grelha()
{
    m_aReconstruir = true;
    m_grelha->setComportamentoEnter(Grelha::ProximaCelula);
    m_grelha->setComportamentoTab(Grelha::ProximaCelula);
    const QFont fonte(QStringLiteral("MS Sans Serif"), 8);
    m_grelha->setFont(fonte);
    m_grelha->setFonteCabecalho(fonte);
    const int tipo = m_janela->estado().Tipo;
    montaColunas(*m_grelha, m_lado, tipo, !m_janela->filtroEntidade().isEmpty(), !m_janela->filtroArtigo().isEmpty());
    // Removing rows is part of editing prices; the purchases only display.
    m_grelha->setPermiteApagar(clientes() || tipo == 1);
    m_grelha->setColunaActual(0);
    m_grelha->setLinhaActual(0);
    m_aReconstruir = false;
}

// ---- cells -----------------------------------------------------------------

void GrelhaPrecos::escreve(int linha, int coluna, const QVariant &valor)
{
    m_grelha->setMatriz(linha - 1, coluna, valor);
    m_grelha->redesenhaCelula(linha, ev(coluna));
}

void GrelhaPrecos::preencheEntidade(int linha)
{
    escreve(linha, Forn, m_janela->filtroEntidade());
    escreve(linha, Descr, m_janela->estado().NomeEntidade);
}

void GrelhaPrecos::preencheArtigo(int linha)
{
    escreve(linha, Artigo, m_janela->filtroArtigo());
    escreve(linha, DescrArtigo, m_janela->nomeArtigo());
    if (clientes())
        escreve(linha, UPC, m_janela->estado().PrecoUltCompra);
}

void GrelhaPrecos::completaFiltros(int linha)
{
    // The filtered supplier (or customer) and article are the row's own even
    // where the date or the price was written first: a row without them
    // could not be saved.
    if (!m_janela->filtroEntidade().isEmpty() && vazio(m_grelha->matriz(linha - 1, Forn)))
        preencheEntidade(linha);
    if (!m_janela->filtroArtigo().isEmpty() && vazio(m_grelha->matriz(linha - 1, Artigo)))
        preencheArtigo(linha);
}

void GrelhaPrecos::marcaAlterada(int linha)
{
    escreve(linha, Altera, true);
    completaFiltros(linha);
}

void GrelhaPrecos::edicaoVaiComecar(int linha, int coluna)
{
    // An empty row started under a filter takes the filtered code, its name
    // and today's date; the pre-filled cells do not count as changes.
    const QVariant data = m_grelha->matriz(linha - 1, DataE);
    const bool temEntidade = !m_janela->filtroEntidade().isEmpty();
    const bool temArtigo = !m_janela->filtroArtigo().isEmpty();
    switch (coluna - 1) {
    case Artigo:
        if (temEntidade && vazio(data)) {
            preencheEntidade(linha);
            escreve(linha, DataE, hoje());
        }
        break;
    case Forn:
        if (temArtigo && vazio(data)) {
            preencheArtigo(linha);
            escreve(linha, DataE, hoje());
        }
        break;
    case DataE:
        if (temEntidade && temArtigo) {
            preencheEntidade(linha);
            preencheArtigo(linha);
        }
        break;
    case Preco:
        // Here only a cell without a value counts as empty, not an empty text.
        if (temEntidade && temArtigo && semValor(data)) {
            preencheEntidade(linha);
            preencheArtigo(linha);
            escreve(linha, DataE, hoje());
        }
        break;
    default:
        break;
    }
    completaFiltros(linha);
}

QVariant GrelhaPrecos::referenciaCompra(const QVariant &artigo, const QVariant &fornecedor)
{
    // Without a purchase-help record the row has no reference (an old pair's
    // reference must not stay behind).
    QString referencia;
    if (!LerReferenciaCompra(*m_bd, artigo, fornecedor, &referencia))
        falhaBd(QStringLiteral("LerAjudaCompra"));
    return referencia;
}

bool GrelhaPrecos::falhaBd(const QString &onde)
{
    MensagemErro(m_bd->ultimoErro().texto(), onde,
                 clientes() ? QStringLiteral("ConsultaPrecosClientes") : QStringLiteral("ConsultaPrecos"));
    return true;
}

QString GrelhaPrecos::validaEntidade(int linha, const QString &texto, bool &cancela)
{
    if (texto.trimmed().isEmpty())
        return QStringLiteral("Campo obrigatório");
    Recordset rs;
    if (!(clientes() ? LerCliente(*m_bd, rs, texto) : LerFornecedor(*m_bd, rs, texto))) {
        cancela = falhaBd(QStringLiteral("Grelha_ValidateEdit"));
        return QString();
    }
    if (rs.Eof())
        return clientes() ? QStringLiteral("Cliente não existente!") : QStringLiteral("Fornecedor não existente!");
    cancela = false;
    m_janela->estado().Digitado = false;
    escreve(linha, Descr, TextoDe(rs.Valor(QStringLiteral("Nome"))));
    marcaAlterada(linha);
    if (!clientes())
        escreve(linha, RefForn, referenciaCompra(m_grelha->matriz(linha - 1, Artigo), m_grelha->matriz(linha - 1, Forn)));
    return QString();
}

QString GrelhaPrecos::validaArtigo(int linha, const QString &texto, bool &cancela)
{
    if (texto.trimmed().isEmpty())
        return QStringLiteral("Campo obrigatório!");
    Recordset rs;
    if (!m_bd->AbreConsulta(QStringLiteral("SELECT * FROM Artigos where CODIGO = ? and Artoudes=0 and inactivo=0"), rs, {texto})) {
        cancela = falhaBd(QStringLiteral("Grelha_ValidateEdit"));
        return QString();
    }
    if (rs.Eof())
        return QStringLiteral("Artigo não existente!");
    escreve(linha, DescrArtigo, TextoDe(rs.Valor(QStringLiteral("Nome"))));
    marcaAlterada(linha);
    if (clientes())
        escreve(linha, UPC, rs.Valor(QStringLiteral("ULTPRCOM")));
    else
        escreve(linha, RefForn, referenciaCompra(m_grelha->matriz(linha - 1, Artigo), m_grelha->matriz(linha - 1, Forn)));
    return QString();
}

QString GrelhaPrecos::validaData(int linha, const QString &texto)
{
    const bool data = Valores::comoData(m_grelha->matriz(linha - 1, DataE)).isValid() || Valores::leData(texto).isValid();
    if (!clientes()) {
        if (!data)
            return QStringLiteral("Data inválida!");
        marcaAlterada(linha);
        return QString();
    }
    // Customers: an empty date becomes today's; a date (typed or today's)
    // fills the row from both filters. The date itself is never replaced: a
    // date the user typed is the one saved.
    if (data)
        marcaAlterada(linha);
    else if (texto.trimmed().isEmpty())
        escreve(linha, DataE, hoje());
    else
        return QStringLiteral("Data inválida!");
    if (!m_janela->filtroEntidade().isEmpty() && !m_janela->filtroArtigo().isEmpty()) {
        preencheEntidade(linha);
        preencheArtigo(linha);
    }
    return QString();
}

void GrelhaPrecos::valida(int linha, int coluna, const QVariant &anterior, bool &cancela)
{
    EstadoPrecos &e = m_janela->estado();
    const QString texto = m_grelha->textoCelula(linha, coluna);
    QString mensagem;
    switch (coluna - 1) {
    case Forn:
        if (e.Digitado)
            mensagem = validaEntidade(linha, texto, cancela);
        break;
    case Artigo:
        if (e.Digitado)
            mensagem = validaArtigo(linha, texto, cancela);
        break;
    case RefForn:
        if (e.Digitado)
            marcaAlterada(linha);
        break;
    case DataE:
        if (e.Digitado)
            mensagem = validaData(linha, texto);
        break;
    case Preco: {
        // Checked whether typed or not: a price must always read as a number.
        Moeda m;
        if (Moeda::leTexto(texto, &m))
            marcaAlterada(linha);
        else
            mensagem = QStringLiteral("Preço inválido!");
        break;
    }
    default:
        break;
    }
    if (!mensagem.isEmpty()) {
        cancela = true;
        m_grelha->recusaValor(linha, coluna, anterior, mensagem);
    }
    e.Digitado = false;
}

void GrelhaPrecos::edicaoTerminou(int linha, int coluna)
{
    // An edit that ended without a check of its own (left from code) still
    // looks up a typed code, so the row never keeps a code without its name;
    // in the customer grid the date too.
    const int dados = coluna - 1;
    if (!m_janela->estado().Digitado || (dados != Forn && dados != Artigo && !(clientes() && dados == DataE)))
        return;
    bool cancela = false;
    valida(linha, coluna, m_grelha->textoCelula(linha, coluna), cancela);
}

void GrelhaPrecos::teclaEmEdicao(int, int, int &tecla, int)
{
    EstadoPrecos &e = m_janela->estado();
    e.Digitado = true;
    if (tecla == Teclas::Esc) {
        // Esc gives up the edit: the cell keeps its previous value and is not checked.
        e.Digitado = false;
        tecla = 0;
        m_grelha->cancelaEdicao();
    } else if (tecla == Teclas::Esquerda) {
        e.Digitado = false;
    }
}

void GrelhaPrecos::teclaPremida(int &tecla, int)
{
    // Customers: Enter on an empty date puts today's there and checks it as
    // if typed, which marks the row changed and fills it from the filters.
    const int linha = m_grelha->linhaActual();
    if (!clientes() || tecla != Teclas::Enter || linha < 1 || m_grelha->colunaActual() != DataE + 1
        || !vazio(m_grelha->matriz(linha - 1, DataE)))
        return;
    const QString anterior = m_grelha->textoCelula(linha, DataE + 1);
    escreve(linha, DataE, hoje());
    m_janela->estado().Digitado = true;
    bool cancela = false;
    valida(linha, DataE + 1, anterior, cancela);
}

// ---- lists and calendar ------------------------------------------------------

void GrelhaPrecos::botaoCelula(int linha, int coluna)
{
    const int dados = coluna - 1;
    if (dados == DataE) {
        m_janela->estado().LinhaCalendario = linha;
        abreCalendario();
        return;
    }
    QString codigo;
    if (dados == Artigo)
        codigo = EscolheArtigoGrelha(*m_bd);
    else if (dados == Forn)
        codigo = clientes() ? EscolheClienteGrelha(*m_bd) : EscolheFornecedorGrelha(*m_bd);
    // The picked code is checked like a typed one, which names it and
    // completes the row.
    m_janela->estado().Digitado = !codigo.trimmed().isEmpty();
    if (m_janela->estado().Digitado)
        m_grelha->aceitaEscolha(codigo);
}

void GrelhaPrecos::abreCalendario()
{
    if (!m_calendario)
        return;
    // Below the current cell, or above it when it would not fit in the window.
    const int x = m_grelha->x() + m_grelha->rectanguloCelulaActual().left();
    m_calendario->mostraEm(QPoint(x, m_grelha->topoJuntoCelulaActual(*m_calendario)), Valores::comoData(m_grelha->valorActual()));
}

void GrelhaPrecos::dataDoCalendario(const QDate &data)
{
    m_grelha->setValorActual(data);
    // A date picked for a price is an edit like a typed one: without the
    // changed flag the row would be skipped by the save and the pick lost.
    const int linha = m_janela->estado().LinhaCalendario;
    if (m_janela->estado().Tipo == 1 && linha > 0 && linha <= m_grelha->linhas())
        marcaAlterada(linha);
    m_grelha->redesenhaCelula(m_grelha->linhaActual(), m_grelha->colunaActual());
    m_grelha->setFocus();
}

// ---- rows ------------------------------------------------------------------

void GrelhaPrecos::linhaVaiSerApagada(int linha, bool &)
{
    // A saved row leaves its Id for deletion on confirm; a typed one leaves 0.
    const QVariant id = m_grelha->matriz(linha - 1, Id);
    m_janela->estado().IdsAnulados.append(semValor(id) ? 0 : qRound64(id.toDouble()));
}

void GrelhaPrecos::celulaActualMudou(int linhaAnterior, int colunaAnterior)
{
    if (m_aReconstruir)
        return;
    const int actual = m_grelha->linhaActual();
    if (clientes()) {
        // The customer grid only follows the current row's observation.
        if (linhaAnterior != actual)
            m_janela->mostraObservacao(observacaoActual());
        return;
    }
    // A date cell left empty within its row gets today's date.
    if (colunaAnterior == ev(DataE) && linhaAnterior >= 1 && linhaAnterior == actual
        && vazio(m_grelha->matriz(linhaAnterior - 1, DataE)))
        escreve(linhaAnterior, DataE, hoje());
    if (m_janela->estado().Tipo == 1 && linhaAnterior != actual)
        m_janela->mostraObservacao(observacaoActual());
    // There is always a further empty row to move into.
    if (actual > m_grelha->linhas() - 1)
        m_grelha->setLinhas(m_grelha->linhas() + 1);
}

void GrelhaPrecos::recebeuFoco()
{
    if (m_grelha->linhaActual() >= 1)
        m_janela->mostraObservacao(observacaoActual());
}

QString GrelhaPrecos::observacaoActual() const
{
    const int l = m_grelha->linhaActual();
    return l >= 1 && m_janela->estado().Tipo == 1 ? TextoDe(m_grelha->matriz(l - 1, Obs)) : QString();
}

void GrelhaPrecos::gravaObservacao(const QString &texto)
{
    const int l = m_grelha->linhaActual();
    if (l < 1 || m_janela->estado().Tipo != 1)
        return;
    m_grelha->setMatriz(l - 1, Obs, texto);
    marcaAlterada(l);
}
