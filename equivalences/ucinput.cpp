#include "ucinput.h"
#include "avisoestado.h"
#include "campoinput.h"
#include "janelafilha.h"
#include "ligacaobd.h"
#include "sugestoes.h"
#include "teclas.h"

#include <QApplication>
#include <QEvent>
#include <QListWidget>

#include <limits>

using JanelaFilha::px;

namespace {
constexpr int LarguraDesenho = 2295;    // twips
constexpr int AlturaCampo = 300;
constexpr int TopoLista = 310;
constexpr int Margem = 50;              // the field and the list are this much narrower than the box
const QString TextoInicial = QStringLiteral("123456789012345");
} // namespace

UcInput::UcInput(QWidget *pai)
    : QWidget(pai), m_campo(new CampoInput(this)), m_lista(new QListWidget(this))
{
    setObjectName(QStringLiteral("UcInput"));
    m_campo->setObjectName(QStringLiteral("Campo"));
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_campo->setGeometry(JanelaFilha::twips(0, 0, LarguraDesenho, AlturaCampo));
    m_lista->setGeometry(JanelaFilha::twips(0, TopoLista, LarguraDesenho, 3 * AlturaCampo));
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setUniformItemSizes(true);
    // Reached with the Down arrow or the mouse; Tab goes past the list.
    m_lista->setFocusPolicy(Qt::ClickFocus);
    m_lista->viewport()->installEventFilter(this);
    setFocusProxy(m_campo);
    setBackColor(palette().color(QPalette::Button));
    m_campo->setText(TextoInicial);
    resize(px(LarguraDesenho), alturaCampo());

    connect(m_campo, &CampoInput::ganhouFoco, this, [this] { m_focoNoCampo = true; });
    connect(m_campo, &CampoInput::perdeuFoco, this, [this] { m_focoNoCampo = false; });
    connect(m_campo, &CampoInput::alterado, this, &UcInput::textoAlterado);
    connect(m_campo, &CampoInput::teclaEmBaixo, this, &UcInput::teclaEmBaixo);
    connect(m_campo, &CampoInput::teclaPremida, this, &UcInput::teclaPremida);
    connect(qApp, &QApplication::focusChanged, this, &UcInput::focoMudou);
}

QString UcInput::Text() const { return m_campo->text(); }

void UcInput::setText(const QString &texto) { m_campo->setText(texto); }

QColor UcInput::BackColor() const { return palette().color(QPalette::Window); }

void UcInput::setBackColor(const QColor &cor) { JanelaFilha::pintaFundo(this, cor); }

void UcInput::lePropriedades(const QVariantMap &saco)
{
    const QVariant cor = saco.value(QStringLiteral("BackColor"));
    setBackColor(cor.canConvert<QColor>() && cor.value<QColor>().isValid() ? cor.value<QColor>()
                                                                          : QApplication::palette().color(QPalette::Button));
    setText(saco.value(QStringLiteral("Text"), TextoInicial).toString());
}

QVariantMap UcInput::gravaPropriedades() const
{
    return {{QStringLiteral("BackColor"), BackColor()}, {QStringLiteral("Text"), Text()}};
}

int UcInput::alturaCampo() const { return m_campo->height(); }

void UcInput::textoAlterado() { carrega(m_focoNoCampo); }

void UcInput::carregaLista() { carrega(m_focoNoCampo); }

void UcInput::carrega(bool focoNoCampo)
{
    m_lista->clear();
    const QString prefixo = Sugestoes::prefixo(Text());
    if (prefixo.isEmpty()) {
        setAltura(alturaCampo());
        return;
    }
    if (m_bd) {
        QStringList codigos;
        avisa(Sugestoes::le(*m_bd, prefixo, codigos));
        m_lista->addItems(codigos);
    }
    // Filled while the field does not have the focus (the program set the
    // text, or a suggestion was chosen): the box keeps its size.
    if (!focoNoCampo)
        return;
    if (m_lista->count() > 0) {
        m_lista->setCurrentRow(0);
        // 25 field heights, or what the window shows below the field, cut to
        // whole lines as a list box shows them.
        const int moldura = 2 * m_lista->frameWidth();
        const int linha = qMax(1, m_lista->sizeHintForRow(0));
        const int altura = qMin(Sugestoes::Maximo * alturaCampo(), fundoVisivel() - m_lista->y());
        const int linhas = qMax(1, (altura - moldura) / linha);
        m_lista->resize(m_lista->width(), linhas * linha + moldura);
        raise();
        setAltura(m_lista->height() + px(AlturaCampo));
    } else {
        m_campo->setFocus();
        setAltura(alturaCampo());
    }
}

int UcInput::fundoVisivel() const
{
    int fundo = std::numeric_limits<int>::max();
    for (const QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        fundo = qMin(fundo, mapFrom(w, QPoint(0, w->height())).y());
        if (w->isWindow())
            break;
    }
    return fundo;
}

void UcInput::avisa(bool leu)
{
    if (leu) {
        if (m_avisou)
            AvisoEstado::escreve(QString());
        m_avisou = false;
        return;
    }
    const ErroBd erro = m_bd->ultimoErro();
    AvisoEstado::escreve(erro.numero == ErroBd::BaseOcupada
                             ? QStringLiteral("A base de dados está ocupada por outro programa: as sugestões de códigos não foram lidas.")
                             : QStringLiteral("As sugestões de códigos não foram lidas: %1").arg(erro.descricao));
    m_avisou = true;
}

void UcInput::Terminar()
{
    m_lista->clear();
    dispoe();
}

void UcInput::teclaEmBaixo(int &codigoTecla, int)
{
    if (codigoTecla != Teclas::Baixo)
        return;
    if (m_lista->currentRow() < m_lista->count() - 1) {
        m_lista->setCurrentRow(m_lista->currentRow() + 1);
        m_lista->scrollToItem(m_lista->currentItem());
        m_lista->setFocus();
    }
}

void UcInput::teclaPremida(int &codigoCaracter)
{
    if (codigoCaracter == Teclas::Enter)
        emit CarregouNoEnter();
}

bool UcInput::eventFilter(QObject *objecto, QEvent *evento)
{
    if (objecto == m_lista->viewport() && evento->type() == QEvent::MouseButtonDblClick) {
        escolheSugestao();
        return true;
    }
    return QWidget::eventFilter(objecto, evento);
}

void UcInput::escolheSugestao()
{
    const QListWidgetItem *item = m_lista->currentItem();
    if (m_lista->count() == 0 || !item || item->text().trimmed().isEmpty())
        return;
    setText(item->text());
    m_campo->setFocus();
}

void UcInput::focoMudou(QWidget *antes, QWidget *agora)
{
    // Only a move to another control counts: a message box or another window
    // taking the keyboard for a while leaves the box as it is.
    if (!agora || agora == this || isAncestorOf(agora))
        return;
    if (!antes || (antes != this && !isAncestorOf(antes)))
        return;
    m_lista->clear();
    dispoe();
    update();
    emit perdeuFoco();
}

void UcInput::resizeEvent(QResizeEvent *evento)
{
    QWidget::resizeEvent(evento);
    dispoe();
}

void UcInput::dispoe()
{
    if (m_aDispor)
        return;
    m_aDispor = true;
    m_campo->move(0, 0);
    const int largura = qMax(1, width() - px(Margem));
    m_campo->resize(largura, m_campo->height());
    m_lista->resize(largura, m_lista->height());
    setAltura(m_lista->count() > 0 ? m_lista->height() + px(AlturaCampo) : alturaCampo());
    update();
    m_aDispor = false;
}

void UcInput::setAltura(int pixeis)
{
    if (height() != pixeis)
        resize(width(), pixeis);
}
