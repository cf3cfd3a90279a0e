#include "aplicacaotessela.h"

#include "botao.h"
#include "campoinput.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QMenuBar>

namespace {
const char *const propriedadeCausa = "tesselaCausaValidacao";

CampoInput *campoComFoco()
{
    return qobject_cast<CampoInput *>(QApplication::focusWidget());
}

QWidget *proxyFinal(QWidget *w)
{
    while (w && w->focusProxy())
        w = w->focusProxy();
    return w;
}

// The control that Qt gives the focus to on a mouse press on `w`: the first
// enabled one, going up to its window, that takes focus by click. None when a
// control on the way already has the focus.
QWidget *recebeFocoDoClique(QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        QWidget *proxy = proxyFinal(w);
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus) && (proxy->focusPolicy() & Qt::ClickFocus))
            return w;
        if (w->isWindow() || proxy->hasFocus())
            return nullptr;
    }
    return nullptr;
}
}

AplicacaoTessela::AplicacaoTessela(int &argc, char **argv)
    : QApplication(argc, argv)
{
    connect(this, &QApplication::focusChanged, this, [this](QWidget *, QWidget *agora) { lembraJanela(agora); });
}

bool AplicacaoTessela::notify(QObject *receptor, QEvent *evento)
{
    switch (evento->type()) {
    case QEvent::KeyPress:
        if (!deixaPassarTecla(receptor, static_cast<QKeyEvent *>(evento)))
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_engoleLibertacao = false;
        if (!deixaPassarRato(receptor)) {
            // The control never saw the press: it must not see the release either.
            m_engoleLibertacao = true;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_engoleLibertacao) {
            m_engoleLibertacao = false;
            return true;
        }
        break;
    case QEvent::Shortcut:
        if (auto *botao = qobject_cast<QAbstractButton *>(botaoQueGanhaAoMenu(receptor, static_cast<QShortcutEvent *>(evento)))) {
            // As the button's own access key would: the field check first, then focus and click.
            if (deixaPassarAtalho(botao)) {
                botao->setFocus(Qt::ShortcutFocusReason);
                botao->animateClick();
            }
            return true;
        }
        if (!deixaPassarAtalho(receptor))
            return true;
        break;
    default:
        break;
    }
    return QApplication::notify(receptor, evento);
}

bool AplicacaoTessela::deixaPassarTecla(QObject *receptor, const QKeyEvent *evento)
{
    const int tecla = evento->key();
    if (tecla != Qt::Key_Tab && tecla != Qt::Key_Backtab)
        return true;
    if (evento->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return true;
    auto *campo = qobject_cast<CampoInput *>(receptor);
    return !campo || campo->validaSaida();
}

bool AplicacaoTessela::deixaPassarRato(QObject *receptor)
{
    auto *w = qobject_cast<QWidget *>(receptor);
    CampoInput *campo = campoComFoco();
    if (!w || !campo || w == campo || campo->isAncestorOf(w))
        return true;
    QWidget *alvo = recebeFocoDoClique(w);
    if (!alvo) {
        // One of our buttons that takes no focus is still a button the user pressed.
        if (!qobject_cast<Botao *>(w))
            return true;
        alvo = w;
    }
    if (proxyFinal(alvo) == campo)
        return true;
    QWidget *form = formulario(campo);
    // A press on the field's own window frame (its title bar) is no change of field.
    if (alvo == form || formulario(alvo) != form)
        return true;
    if (!causaValidacao(alvo) || !causaValidacao(proxyFinal(alvo)))
        return true;
    return campo->validaSaida();
}

bool AplicacaoTessela::deixaPassarAtalho(QObject *receptor)
{
    auto *w = qobject_cast<QWidget *>(receptor);
    CampoInput *campo = campoComFoco();
    if (!w || !campo || w == campo || proxyFinal(w) == campo)
        return true;
    if (formulario(w) != formulario(campo) || !causaValidacao(w))
        return true;
    return campo->validaSaida();
}

void AplicacaoTessela::setCausaValidacao(QWidget *controlo, bool causa)
{
    if (controlo)
        controlo->setProperty(propriedadeCausa, causa);
}

bool AplicacaoTessela::causaValidacao(const QWidget *controlo)
{
    if (!controlo)
        return true;
    const QVariant v = controlo->property(propriedadeCausa);
    return !v.isValid() || v.toBool();
}

QWidget *AplicacaoTessela::botaoQueGanhaAoMenu(QObject *receptor, const QShortcutEvent *evento)
{
    // Alt+C is both "&Configuração" in the main window's menu bar and
    // "&Confirmar" in the child window the user is typing in: the window's own
    // button wins, as the user expects while working in it.
    if (!evento->isAmbiguous() || !qobject_cast<QMenuBar *>(receptor))
        return nullptr;
    QWidget *foco = QApplication::focusWidget();
    QWidget *form = foco ? formulario(foco) : nullptr;
    if (!form || form->isWindow())
        return nullptr;
    const QList<QAbstractButton *> botoes = form->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : botoes)
        if (b->isVisible() && b->isEnabled() && !b->text().isEmpty()
            && QKeySequence::mnemonic(b->text()) == evento->key())
            return b;
    return nullptr;
}

QWidget *AplicacaoTessela::formulario(QWidget *controlo)
{
    for (QWidget *w = controlo; w; w = w->parentWidget())
        if (w->windowType() == Qt::SubWindow || w->isWindow())
            return w;
    return nullptr;
}

void AplicacaoTessela::lembraJanela(QWidget *agora)
{
    if (!agora)
        return;
    QWidget *janela = agora->window();
    m_janelas.removeIf([janela](const QPointer<QWidget> &p) { return !p || p == janela; });
    m_janelas.prepend(janela);
    if (m_janelas.size() > 16)
        m_janelas.removeLast();
}

QWidget *AplicacaoTessela::janelaRecente()
{
    if (QWidget *activa = QApplication::activeWindow())
        return activa;
    auto *app = qobject_cast<AplicacaoTessela *>(QCoreApplication::instance());
    if (!app)
        return nullptr;
    for (const QPointer<QWidget> &p : std::as_const(app->m_janelas))
        if (p && p->isVisible())
            return p;
    return nullptr;
}
