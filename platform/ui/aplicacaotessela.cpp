#include "aplicacaotessela.h"

#include "botao.h"
#include "campoinput.h"

#include <QAbstractButton>
#include <QKeyEvent>

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
        if (atalhoDaJanelaActiva(static_cast<QShortcutEvent *>(evento)))
            return true;
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

QList<QAbstractButton *> AplicacaoTessela::botoesComTecla(QWidget *form, const QKeySequence &tecla)
{
    QList<QAbstractButton *> donos;
    if (!form)
        return donos;
    const QList<QAbstractButton *> botoes = form->findChildren<QAbstractButton *>();
    for (QAbstractButton *b : botoes)
        if (b->isVisible() && b->isEnabled() && !b->text().isEmpty() && QKeySequence::mnemonic(b->text()) == tecla)
            donos << b;
    return donos;
}

bool AplicacaoTessela::atalhoDaJanelaActiva(const QShortcutEvent *evento)
{
    // Alt+C is both "&Confirmar" in the child window the user is working in
    // and "&Configuração" in the main window's menu bar. Qt calls such a
    // shortcut ambiguous and hands each press to the next of its owners in
    // turn: the menu bar on one press, the button on the next (which then
    // only takes the focus). While a child window has the focus, every press
    // belongs to that window's button with the key.
    if (!evento->isAmbiguous())
        return false;
    QWidget *foco = QApplication::focusWidget();
    QWidget *form = foco ? formulario(foco) : nullptr;
    if (!form || form->isWindow())
        return false;
    const QList<QAbstractButton *> donos = botoesComTecla(form, evento->key());
    if (donos.size() == 1) {
        // As the button's own access key does: the field check first, then
        // focus and an immediate click (see Botao::event).
        QAbstractButton *botao = donos.first();
        if (deixaPassarAtalho(botao)) {
            if (botao->focusPolicy() != Qt::NoFocus)
                botao->setFocus(Qt::ShortcutFocusReason);
            botao->click();
        }
        return true;
    }
    // Several buttons of the window share the key: each press moves the focus
    // to the next of them, as Qt does within one window, and never opens the
    // menu.
    if (donos.size() > 1) {
        const qsizetype actual = donos.indexOf(qobject_cast<QAbstractButton *>(foco));
        QAbstractButton *proximo = donos.at((actual + 1) % donos.size());
        if (deixaPassarAtalho(proximo))
            proximo->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    return false;
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
