#include "grelha.h"
#include "delegadogrelha.h"
#include "enviateclas.h"
#include "mensagens.h"
#include "modelogrelha.h"
#include "twips.h"
#include "valores.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>

namespace {

TipoColuna tipoDoCampo(QMetaType::Type t)
{
    switch (t) {
    case QMetaType::Bool:
        return TipoColuna::Booleano;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return TipoColuna::Longo;
    case QMetaType::Double:
    case QMetaType::Float:
        return TipoColuna::Moeda;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return TipoColuna::Data;
    default:
        return TipoColuna::Texto;
    }
}

// The kind of a field, from its first value that is not null.
QMetaType::Type tipoDosValores(const Recordset &rs, int campo)
{
    for (int r = 0; r < rs.RecordCount(); ++r) {
        const QVariant v = rs.valorEm(r, campo);
        if (v.isValid() && !v.isNull())
            return QMetaType::Type(v.metaType().id());
    }
    return QMetaType::QString;
}

} // namespace

Grelha::Grelha(QWidget *parent)
    : QTableView(parent), m_modelo(new ModeloGrelha(this)), m_delegado(new DelegadoGrelha(this))
{
    setModel(m_modelo);
    setItemDelegate(m_delegado);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionsClickable(true);
    // The row header makes a row current and selects it whole (so Delete
    // removes it); a double-click on it activates the row.
    disconnect(verticalHeader(), SIGNAL(sectionPressed(int)), this, nullptr);
    disconnect(verticalHeader(), SIGNAL(sectionEntered(int)), this, nullptr);
    connect(verticalHeader(), &QHeaderView::sectionPressed, this, &Grelha::linhaCabecalhoPremida);
    connect(verticalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int linha) {
        if (linha >= 0 && linha < linhas())
            emit linhaActivada(linha + 1);
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *agora) {
        if (agora != this && !isAncestorOf(agora))
            m_focoDentro = false;
    });
    ajustaAlturaLinhas();
}

Grelha::~Grelha()
{
    // Nothing of this grid may run while its widgets go: not the focus
    // tracking, not the commit of an open editor losing the focus.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_editor)
        m_editor->removeEventFilter(m_delegado);
}

// ---- columns ---------------------------------------------------------------

void Grelha::limpaColunas()
{
    cancelaEdicao();
    m_recordset = Recordset();
    semNotificar([this] { m_modelo->limpaColunas(); });
}

int Grelha::adicionaColuna(const ColunaGrelha &c)
{
    cancelaEdicao();
    semNotificar([&] { m_modelo->adicionaColuna(c); });
    const int n = numeroColunas();
    setColumnWidth(n - 1, larguraPixeis(c));
    setColumnHidden(n - 1, c.oculta);
    return n;
}

int Grelha::larguraPixeis(const ColunaGrelha &c) const
{
    const int largura = Twips::paraPixeis(c.largura);
    if (c.tipo != TipoColuna::Data || c.botao == BotaoCelula::Nenhum)
        return largura;
    // A date cell shows its whole date beside its button, whatever the font.
    const int margem = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int data = fontMetrics().horizontalAdvance(QStringLiteral("00-00-0000")) + 2 * margem;
    const QRect linha(0, 0, largura, verticalHeader()->defaultSectionSize());
    const int grade = showGrid() ? 1 : 0;   // the grid line takes the cell's last pixel
    return qMax(largura, data + DelegadoGrelha::rectanguloBotao(linha).width() + grade);
}

int Grelha::numeroColunas() const { return m_modelo->columnCount(); }

int Grelha::numeroColuna(const QString &chave) const { return m_modelo->indiceColuna(chave) + 1; }

const ColunaGrelha *Grelha::coluna(int numero) const
{
    return numero >= 1 && numero <= numeroColunas() ? &m_modelo->colunas().at(numero - 1) : nullptr;
}

const ColunaGrelha *Grelha::coluna(const QString &chave) const { return coluna(numeroColuna(chave)); }

void Grelha::alteraColuna(int numero, const ColunaGrelha &c)
{
    if (!coluna(numero))
        return;
    if (emEdicao() && m_colunaEdicao == numero - 1)
        cancelaEdicao();
    m_modelo->alteraColuna(numero - 1, c);
    setColumnWidth(numero - 1, larguraPixeis(c));
    setColumnHidden(numero - 1, c.oculta);
}

// ---- rows and the current cell ---------------------------------------------

int Grelha::linhas() const { return m_modelo->linhas(); }

void Grelha::setLinhas(int n)
{
    if (emEdicao() && m_linhaEdicao >= n)
        cancelaEdicao();
    semNotificar([&] { m_modelo->setLinhas(n); });
}

int Grelha::linhaActual() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int Grelha::colunaActual() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + 1 : m_colunaPendente;
}

void Grelha::setLinhaActual(int linha)
{
    if (linha > m_modelo->rowCount())
        return;
    cancelaEdicao();
    if (linha <= 0) {
        m_colunaPendente = colunaActual();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        return;
    }
    int c = colunaActual();
    if (c <= 0 || c > numeroColunas())
        c = qMax(0, colunaFocavel(0, 1)) + 1;
    vaiPara(linha - 1, c - 1);
}

void Grelha::setColunaActual(int coluna)
{
    if (coluna > numeroColunas())
        return;
    cancelaEdicao();
    const QModelIndex i = currentIndex();
    if (!i.isValid() || coluna <= 0) {
        m_colunaPendente = qMax(0, coluna);
        if (i.isValid())
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        notificaCelulaActual();
        return;
    }
    vaiPara(i.row(), coluna - 1);
}

Grelha::TipoLinha Grelha::tipoLinha() const
{
    const QModelIndex i = currentIndex();
    if (!i.isValid())
        return LinhaCabecalho;
    return m_modelo->eNovaLinha(i.row()) ? LinhaNova : LinhaDados;
}

QVariant Grelha::valorActual() const
{
    if (m_editor)
        return m_editor->text();
    const QModelIndex i = currentIndex();
    return i.isValid() ? m_modelo->valor(i.row(), i.column()) : QVariant();
}

void Grelha::setValorActual(const QVariant &v)
{
    if (m_editor) {
        m_editor->setText(m_modelo->colunas().at(m_colunaEdicao).textoEdicao(v));
        return;
    }
    const QModelIndex i = currentIndex();
    if (!i.isValid())
        return;
    if (m_modelo->eNovaLinha(i.row()))
        materializaNovaLinha();
    m_modelo->setValor(i.row(), i.column(), v);
}

QDate Grelha::dataActual() const { return Valores::comoData(valorActual()); }

QString Grelha::textoActual() const
{
    if (m_editor)
        return m_editor->text();
    const QModelIndex i = currentIndex();
    return i.isValid() ? textoCelula(i.row() + 1, i.column() + 1) : QString();
}

QRect Grelha::rectanguloCelulaActual() const
{
    const QModelIndex i = currentIndex();
    if (!i.isValid())
        return QRect();
    return visualRect(i).translated(viewport()->geometry().topLeft());
}

int Grelha::topoJuntoCelulaActual(const QWidget &popup) const
{
    const QRect celula = rectanguloCelulaActual();
    const int abaixo = y() + celula.top() + celula.height();
    const QWidget *janela = popup.parentWidget();
    if (janela && abaixo + popup.height() > janela->height())
        return y() + celula.top() - popup.height();
    return abaixo;
}

void Grelha::aceitaEscolha(const QString &codigo)
{
    setValorActual(codigo);
    redesenhaCelula(linhaActual(), colunaActual());
    setFocus();
    EnviaTeclas(QStringLiteral("{F2}{TAB}"));
}

void Grelha::recusaValor(int linha, int coluna, const QVariant &anterior, const QString &mensagem)
{
    if (!mensagem.isEmpty())
        Mensagem(QString(), mensagem, 2);
    setMatriz(linha - 1, coluna - 1, anterior);
    redesenhaCelula(linha, coluna);
    setFocus();
}

// ---- cells -----------------------------------------------------------------

QVariant Grelha::matriz(int linha, int coluna) const { return m_modelo->valor(linha, coluna); }

bool Grelha::setMatriz(int linha, int coluna, const QVariant &v) { return m_modelo->setValor(linha, coluna, v); }

QVariant Grelha::celula(const QString &chave, int linha) const
{
    return m_modelo->valor(linha - 1, m_modelo->indiceColuna(chave));
}

bool Grelha::setCelula(const QString &chave, int linha, const QVariant &v)
{
    return m_modelo->setValor(linha - 1, m_modelo->indiceColuna(chave), v);
}

QString Grelha::textoCelula(int linha, int coluna) const
{
    const ColunaGrelha *c = this->coluna(coluna);
    return c ? c->textoApresentado(m_modelo->valor(linha - 1, coluna - 1)) : QString();
}

void Grelha::redesenhaCelula(int linha, int coluna)
{
    if (!redesenho() || linha < 1 || linha > m_modelo->rowCount())
        return;
    if (coluna <= 0)
        viewport()->update(QRect(0, rowViewportPosition(linha - 1), viewport()->width(), rowHeight(linha - 1)));
    else
        viewport()->update(visualRect(m_modelo->index(linha - 1, coluna - 1)));
}

QVariant LinhaGrelha::valor(int coluna) const { return m_grelha->matriz(m_numero - 1, coluna - 1); }
QString LinhaGrelha::texto(int coluna) const { return m_grelha->textoCelula(m_numero, coluna); }
bool LinhaGrelha::setValor(int coluna, const QVariant &v) { return m_grelha->setMatriz(m_numero - 1, coluna - 1, v); }
void LinhaGrelha::redesenha(int coluna) { m_grelha->redesenhaCelula(m_numero, coluna); }

// ---- display and behaviour -------------------------------------------------

void Grelha::setRedesenho(bool ligado)
{
    if (ligado == redesenho())
        return;
    if (!ligado) {
        m_modelo->setCongelado(true);
        setUpdatesEnabled(false);
    } else {
        m_modelo->setCongelado(false);
        setUpdatesEnabled(true);
        viewport()->update();
    }
}

bool Grelha::redesenho() const { return !m_modelo->congelado(); }

void Grelha::setFonteCabecalho(const QFont &fonte)
{
    horizontalHeader()->setFont(fonte);
    verticalHeader()->setFont(fonte);
}

void Grelha::setCorFundo(const QColor &cor)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, cor);
    setPalette(p);
}

void Grelha::setPermiteAdicionar(bool sim)
{
    if (!sim && emEdicao() && m_modelo->eNovaLinha(m_linhaEdicao))
        cancelaEdicao();
    semNotificar([&] { m_modelo->setNovaLinha(sim); });
}

bool Grelha::permiteAdicionar() const { return m_modelo->novaLinha(); }

void Grelha::setSoLeitura(bool sim)
{
    if (sim)
        cancelaEdicao();
    m_modelo->setSoLeitura(sim);
    setSelectionBehavior(sim ? SelectRows : SelectItems);
}

bool Grelha::soLeitura() const { return m_modelo->soLeitura(); }

void Grelha::changeEvent(QEvent *e)
{
    QTableView::changeEvent(e);
    if (e->type() == QEvent::FontChange) {
        ajustaAlturaLinhas();
        for (int c = 0; c < numeroColunas(); ++c)
            setColumnWidth(c, qMax(columnWidth(c), larguraPixeis(m_modelo->colunas().at(c))));
    }
}

void Grelha::ajustaAlturaLinhas()
{
    const int h = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(h);
    verticalHeader()->setDefaultSectionSize(h);
}

void Grelha::liga(const Recordset &rs)
{
    cancelaEdicao();
    m_recordset = rs;
    QList<ColunaGrelha> colunas;
    for (int f = 0; f < rs.numeroCampos(); ++f) {
        ColunaGrelha c;
        c.chave = c.titulo = rs.nomeCampo(f);
        c.tipo = tipoDoCampo(tipoDosValores(rs, f));
        c.soLeitura = true;
        if (c.tipo == TipoColuna::Moeda)
            c.formato = QStringLiteral("##,###.00");
        colunas << c;
    }
    QList<QVariantList> linhas;
    const int n = qMax(0, rs.RecordCount());
    linhas.reserve(n);
    for (int r = 0; r < n; ++r) {
        QVariantList l;
        l.reserve(colunas.size());
        for (int f = 0; f < colunas.size(); ++f)
            l << rs.valorEm(r, f);
        linhas << std::move(l);
    }
    m_permiteApagar = false;
    semNotificar([&] {
        m_modelo->setSoLeitura(true);
        m_modelo->substitui(colunas, std::move(linhas));
    });
    setSelectionBehavior(SelectRows);
    for (int c = 0; c < colunas.size(); ++c) {
        setColumnHidden(c, false);
        resizeColumnToContents(c);
        setColumnWidth(c, qBound(40, columnWidth(c) + 8, 320));
    }
}

// ---- deletion --------------------------------------------------------------

bool Grelha::apagaLinhaActual()
{
    const int l = linhaActual();
    if (l <= 0 || l > linhas())
        return false;
    cancelaEdicao();
    bool cancela = false;
    emit linhaVaiSerApagada(l, cancela);
    if (cancela || l > linhas())
        return false;
    const int c = qMax(0, colunaActual() - 1);
    ++m_semNotificar;
    m_modelo->removeLinha(l - 1);
    // The row below takes the removed row's place as the current one.
    if (m_modelo->rowCount() > 0)
        vaiPara(qMin(l - 1, m_modelo->rowCount() - 1), c);
    --m_semNotificar;
    emit linhasRemovidas();
    notificaCelulaActual();
    return true;
}

// ---- mouse and focus -------------------------------------------------------

void Grelha::mousePressEvent(QMouseEvent *e)
{
    m_premido = QModelIndex();
    if (emEdicao() && !terminaEdicao())
        return;   // the edited cell was refused: it stays current
    const QPoint p = e->position().toPoint();
    const QModelIndex i = indexAt(p);
    if (!i.isValid() || e->button() != Qt::LeftButton)
        return;
    const ColunaGrelha &c = m_modelo->colunas().at(i.column());
    if (c.botao != BotaoCelula::Nenhum && i.row() + 1 == linhaActual()
        && DelegadoGrelha::rectanguloBotao(visualRect(i)).contains(p)) {
        vaiPara(i.row(), i.column());
        emit botaoCelula(i.row() + 1, i.column() + 1);
        return;
    }
    int coluna = i.column();
    if (!podeFocar(coluna)) {
        // A click on a cell that takes no focus selects its row only.
        const int actual = colunaActual() - 1;
        coluna = actual >= 0 && podeFocar(actual) ? actual : colunaFocavel(0, 1);
        if (coluna < 0)
            coluna = i.column();
    }
    vaiPara(i.row(), coluna);
    m_premido = currentIndex();
}

void Grelha::mouseReleaseEvent(QMouseEvent *e)
{
    const QModelIndex i = indexAt(e->position().toPoint());
    if (m_premido.isValid() && i.isValid() && i.row() == m_premido.row())
        emit clique();
    m_premido = QModelIndex();
}

void Grelha::mouseDoubleClickEvent(QMouseEvent *e)
{
    const QModelIndex i = indexAt(e->position().toPoint());
    if (!i.isValid() || e->button() != Qt::LeftButton)
        return;
    m_premido = currentIndex();
    emit duploClique();
    if (!soLeitura() && !emEdicao() && currentIndex().isValid() && podeFocar(currentIndex().column()))
        iniciaEdicao();
}

void Grelha::mouseMoveEvent(QMouseEvent *)
{
    // No drag selection: the current cell changes only by click or key.
}

void Grelha::focusInEvent(QFocusEvent *e)
{
    // The item view's own handler would make the first cell current; here a
    // grid without a current cell keeps none until the user moves.
    QAbstractScrollArea::focusInEvent(e);
    viewport()->update();
    if (!m_focoDentro) {
        m_focoDentro = true;
        emit recebeuFoco();
    }
}

void Grelha::linhaCabecalhoPremida(int linha)
{
    if (emEdicao() && !terminaEdicao())
        return;
    int c = colunaActual() - 1;
    if (c < 0 || c >= numeroColunas())
        c = qMax(0, colunaFocavel(0, 1));
    vaiPara(linha, c);
    if (linha < linhas() && numeroColunas() > 0) {
        selectionModel()->select(QItemSelection(m_modelo->index(linha, 0), m_modelo->index(linha, numeroColunas() - 1)),
                                 QItemSelectionModel::ClearAndSelect);
        m_linhaMarcada = linha;
    }
}

void Grelha::currentChanged(const QModelIndex &actual, const QModelIndex &anterior)
{
    if (emEdicao() && !m_aTerminar)
        cancelaEdicao();   // moved from code while a cell was edited
    QTableView::currentChanged(actual, anterior);
    if (actual.row() != anterior.row()) {
        m_linhaMarcada = -1;
        viewport()->update();   // the cell buttons follow the current row
    }
    if (actual.isValid())
        m_colunaPendente = 0;
    notificaCelulaActual();
}

void Grelha::notificaCelulaActual()
{
    if (m_semNotificar)
        return;
    const int l = linhaActual(), c = colunaActual();
    if (l == m_linhaNotificada && c == m_colunaNotificada)
        return;
    const int linhaAnterior = m_linhaNotificada, colunaAnterior = m_colunaNotificada;
    m_linhaNotificada = l;
    m_colunaNotificada = c;
    emit celulaActualMudou(linhaAnterior, colunaAnterior);
}
