#include "enviateclas.h"

#include "aplicacaotessela.h"
#include "teclas.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

// Qt's own entry to the shortcut map for synthesized keys (the one its test
// library uses), so that a sent key reaches shortcuts and access keys as a
// typed one does.
bool qt_sendShortcutOverrideEvent(QObject *o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                  const QString &text, bool autorep, ushort count);

namespace {
struct Tecla
{
    int qt;
    Qt::KeyboardModifiers mods;
    QString texto;
};

const QHash<QString, int> &teclasComNome()
{
    static const QHash<QString, int> nomes = [] {
        QHash<QString, int> h{
            {QStringLiteral("TAB"), Qt::Key_Tab}, {QStringLiteral("ENTER"), Qt::Key_Return},
            {QStringLiteral("ESC"), Qt::Key_Escape}, {QStringLiteral("ESCAPE"), Qt::Key_Escape},
            {QStringLiteral("DOWN"), Qt::Key_Down}, {QStringLiteral("UP"), Qt::Key_Up},
            {QStringLiteral("LEFT"), Qt::Key_Left}, {QStringLiteral("RIGHT"), Qt::Key_Right},
            {QStringLiteral("HOME"), Qt::Key_Home}, {QStringLiteral("END"), Qt::Key_End},
            {QStringLiteral("PGUP"), Qt::Key_PageUp}, {QStringLiteral("PGDN"), Qt::Key_PageDown},
            {QStringLiteral("DEL"), Qt::Key_Delete}, {QStringLiteral("DELETE"), Qt::Key_Delete},
            {QStringLiteral("INS"), Qt::Key_Insert}, {QStringLiteral("INSERT"), Qt::Key_Insert},
            {QStringLiteral("BS"), Qt::Key_Backspace}, {QStringLiteral("BKSP"), Qt::Key_Backspace},
            {QStringLiteral("BACKSPACE"), Qt::Key_Backspace},
        };
        for (int n = 1; n <= 16; ++n)
            h.insert(QStringLiteral("F%1").arg(n), Qt::Key_F1 + n - 1);
        return h;
    }();
    return nomes;
}

QString textoDaTecla(int tecla)
{
    switch (tecla) {
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Escape: return QStringLiteral("\x1b");
    case Qt::Key_Backspace: return QStringLiteral("\b");
    default: return QString();
    }
}

Tecla teclaNomeada(int tecla, Qt::KeyboardModifiers mods)
{
    if (tecla == Qt::Key_Tab && (mods & Qt::ShiftModifier))
        return {Qt::Key_Backtab, mods, QString()};
    return {tecla, mods, textoDaTecla(tecla)};
}

Tecla teclaDoCaracter(QChar c, Qt::KeyboardModifiers mods)
{
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
        return teclaNomeada(Qt::Key_Return, mods);
    if (c == QLatin1Char('\t'))
        return teclaNomeada(Qt::Key_Tab, mods);
    const int tecla = Teclas::teclaDeCaracter(c.unicode());
    QString texto(c);
    if (mods & Qt::ShiftModifier)
        texto = texto.toUpper();
    if ((mods & Qt::ControlModifier) && tecla >= Qt::Key_A && tecla <= Qt::Key_Z)
        texto = QString(QChar(tecla - Qt::Key_A + 1));
    return {tecla, mods, texto};
}

// "{NAME}", "{NAME n}", "{x}" (a character that would otherwise be a modifier or a brace).
void interpretaChaveta(const QString &dentro, Qt::KeyboardModifiers mods, QList<Tecla> &teclas)
{
    QString nome = dentro;
    int vezes = 1;
    const qsizetype espaco = dentro.lastIndexOf(QLatin1Char(' '));
    if (espaco > 0) {
        bool ok = false;
        const int n = dentro.mid(espaco + 1).toInt(&ok);
        if (ok) {
            nome = dentro.left(espaco);
            vezes = qMax(0, n);
        }
    }
    Tecla tecla;
    const auto it = teclasComNome().constFind(nome.toUpper());
    if (it != teclasComNome().constEnd())
        tecla = teclaNomeada(it.value(), mods);
    else if (nome.size() == 1)
        tecla = teclaDoCaracter(nome.at(0), mods);
    else
        return;   // an unknown name sends nothing
    for (int i = 0; i < vezes; ++i)
        teclas.append(tecla);
}

QList<Tecla> interpreta(const QString &texto)
{
    QList<Tecla> teclas;
    Qt::KeyboardModifiers pendentes, grupo;
    bool emGrupo = false;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('+')) { pendentes |= Qt::ShiftModifier; continue; }
        if (c == QLatin1Char('^')) { pendentes |= Qt::ControlModifier; continue; }
        if (c == QLatin1Char('%')) { pendentes |= Qt::AltModifier; continue; }
        if (c == QLatin1Char('(') && !emGrupo) {
            grupo = pendentes;
            pendentes = {};
            emGrupo = true;
            continue;
        }
        if (c == QLatin1Char(')') && emGrupo) {
            emGrupo = false;
            grupo = {};
            continue;
        }
        const Qt::KeyboardModifiers mods = pendentes | grupo;
        pendentes = {};
        if (c == QLatin1Char('{')) {
            // "{}}" is a closing brace.
            qsizetype fim = texto.indexOf(QLatin1Char('}'), i + 1);
            if (fim == i + 1)
                fim = texto.indexOf(QLatin1Char('}'), i + 2);
            if (fim > i) {
                interpretaChaveta(texto.mid(i + 1, fim - i - 1), mods, teclas);
                i = fim;
                continue;
            }
        }
        if (c == QLatin1Char('~'))
            teclas.append(teclaNomeada(Qt::Key_Return, mods));
        else
            teclas.append(teclaDoCaracter(c, mods));
    }
    return teclas;
}

class EventoTecla : public QEvent
{
public:
    EventoTecla(const Tecla &t, QWidget *formulario)
        : QEvent(tipo()), tecla(t), formulario(formulario), tinhaFormulario(formulario != nullptr) {}
    static QEvent::Type tipo()
    {
        static const auto t = QEvent::Type(QEvent::registerEventType());
        return t;
    }
    Tecla tecla;
    QPointer<QWidget> formulario;
    bool tinhaFormulario;
};

QWidget *focoDe(QWidget *janela)
{
    if (!janela)
        return nullptr;
    return janela->focusWidget() ? janela->focusWidget() : janela;
}

// Delivers the queued keys, one posted event each, so that they keep their
// order with the other events of the loop.
class FilaTeclas : public QObject
{
public:
    using QObject::QObject;

    bool event(QEvent *evento) override
    {
        if (evento->type() != EventoTecla::tipo())
            return QObject::event(evento);
        entrega(*static_cast<EventoTecla *>(evento));
        return true;
    }

private:
    static void entrega(const EventoTecla &e)
    {
        if (e.tinhaFormulario && (!e.formulario || !e.formulario->isVisible()))
            return;
        QWidget *alvo = QWidget::keyboardGrabber();
        if (!alvo)
            alvo = focoDe(QApplication::activePopupWidget());
        if (!alvo)
            alvo = QApplication::focusWidget();
        if (!alvo)
            alvo = focoDe(e.formulario ? e.formulario.data() : AplicacaoTessela::janelaRecente());
        if (!alvo)
            return;
        const Tecla &t = e.tecla;
        QPointer<QWidget> guarda(alvo);
        if (qt_sendShortcutOverrideEvent(alvo, 0, t.qt, t.mods, t.texto, false, 1) || !guarda)
            return;
        QKeyEvent prime(QEvent::KeyPress, t.qt, t.mods, t.texto);
        QApplication::sendEvent(alvo, &prime);
        if (guarda) {
            QKeyEvent solta(QEvent::KeyRelease, t.qt, t.mods, t.texto);
            QApplication::sendEvent(guarda, &solta);
        }
    }
};

FilaTeclas *fila()
{
    static QPointer<FilaTeclas> instancia;
    if (!instancia)
        instancia = new FilaTeclas(QCoreApplication::instance());
    return instancia;
}
}

void EnviaTeclas(const QString &teclas)
{
    if (!QCoreApplication::instance())
        return;
    QWidget *origem = QApplication::focusWidget();
    if (!origem)
        origem = focoDe(AplicacaoTessela::janelaRecente());
    QWidget *formulario = origem ? AplicacaoTessela::formulario(origem) : nullptr;
    FilaTeclas *destino = fila();
    for (const Tecla &t : interpreta(teclas))
        QCoreApplication::postEvent(destino, new EventoTecla(t, formulario));
}
