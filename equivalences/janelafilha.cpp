#include "janelafilha.h"
#include "artigos.h"
#include "criaobjecto.h"
#include "mensagens.h"
#include "twips.h"
#include "versao.h"

#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace JanelaFilha {

QColor corFundo() { return QColor(213, 222, 242); }

void pintaFundo(QWidget *w, const QColor &cor)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, cor);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QLabel *criaTitulo(QWidget *janela, const QString &titulo, int largura)
{
    auto *painel = new QFrame(janela);
    painel->setFrameShape(QFrame::StyledPanel);
    painel->setGeometry(twips(120, 60, largura - 240, 540));
    auto *rotulo = new QLabel(titulo, painel);
    rotulo->setFont(QFont(QStringLiteral("Verdana"), 12, QFont::Bold));
    rotulo->setAlignment(Qt::AlignCenter);
    rotulo->setGeometry(painel->rect());
    return rotulo;
}

int px(double t) { return Twips::paraPixeis(t); }
double emTwips(int pixeis) { return Twips::dePixeis(pixeis); }

QRect twips(int esquerda, int topo, int largura, int altura)
{
    return QRect(px(esquerda), px(topo), px(largura), px(altura));
}

namespace {
QMdiSubWindow *moldura(const QWidget *janela)
{
    return janela ? qobject_cast<QMdiSubWindow *>(janela->parentWidget()) : nullptr;
}
} // namespace

QWidget *principal(QWidget *janela) { return janela ? janela->window() : nullptr; }

void preparaNaPrincipal(QWidget *janela)
{
    QWidget *main = principal(janela);
    if (main && main != janela)
        janela->setWindowIcon(main->windowIcon());
    QMdiSubWindow *sub = moldura(janela);
    if (!sub || !sub->mdiArea())
        return;
    sub->setWindowIcon(janela->windowIcon());
    sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
    const QWidget *cliente = sub->mdiArea()->viewport();
    sub->move(qMax(0, (cliente->width() - sub->width()) / 2), qMax(0, (cliente->height() - sub->height()) / 2));
}

bool minimizada(const QWidget *janela)
{
    const QMdiSubWindow *sub = moldura(janela);
    return janela->isMinimized() || (sub && sub->isMinimized());
}

void fecha(QWidget *janela)
{
    if (QMdiSubWindow *sub = moldura(janela))
        sub->close();
    else
        janela->close();
}

std::unique_ptr<Artigos> criaArtigos(LigacaoBd *bd)
{
    QString erro;
    std::unique_ptr<Artigos> artigos = CriaObjecto<Artigos>(&erro);
    if (!artigos) {
        AvisoTipo(QStringLiteral("Não foi possível criar o objecto %1.\r\n%2").arg(QLatin1String(Artigos::Identidade), erro), 2);
        return nullptr;
    }
    artigos->setBd(bd);
    return artigos;
}

QString tituloPrograma() { return QString::fromUtf8(Versao::Titulo); }

} // namespace JanelaFilha
