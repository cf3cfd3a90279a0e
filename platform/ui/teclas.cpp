#include "teclas.h"

#include <QChar>
#include <QKeyEvent>

namespace Teclas {
namespace {
struct Par
{
    int qt;
    int codigo;
};

// Keys whose code does not follow from their character.
constexpr Par pares[] = {
    {Qt::Key_Backspace, Backspace}, {Qt::Key_Tab, Tab}, {Qt::Key_Backtab, Tab}, {Qt::Key_Clear, 12},
    {Qt::Key_Return, Enter}, {Qt::Key_Enter, Enter}, {Qt::Key_Shift, Shift}, {Qt::Key_Control, Ctrl},
    {Qt::Key_Alt, Alt}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, Esc},
    {Qt::Key_Space, Espaco}, {Qt::Key_PageUp, PageUp}, {Qt::Key_PageDown, PageDown}, {Qt::Key_End, End},
    {Qt::Key_Home, Home}, {Qt::Key_Left, Esquerda}, {Qt::Key_Up, Cima}, {Qt::Key_Right, Direita},
    {Qt::Key_Down, Baixo}, {Qt::Key_Print, 44}, {Qt::Key_Insert, Insert}, {Qt::Key_Delete, Delete},
    {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    // Punctuation keys of the main block.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Comma, 188}, {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190}, {Qt::Key_Slash, 191}, {Qt::Key_QuoteLeft, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221}, {Qt::Key_Apostrophe, 222},
};

// Keys of the numeric keypad.
constexpr Par paresTeclado[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109}, {Qt::Key_Period, 110},
    {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};
}

int codigoTecla(int tecla, Qt::KeyboardModifiers modificadores)
{
    const bool teclado = modificadores & Qt::KeypadModifier;
    if (tecla >= Qt::Key_0 && tecla <= Qt::Key_9)
        return (teclado ? 96 : 48) + (tecla - Qt::Key_0);
    if (tecla >= Qt::Key_A && tecla <= Qt::Key_Z)
        return tecla;
    if (tecla >= Qt::Key_F1 && tecla <= Qt::Key_F24)
        return F1 + (tecla - Qt::Key_F1);
    if (teclado)
        for (const Par &p : paresTeclado)
            if (p.qt == tecla)
                return p.codigo;
    for (const Par &p : pares)
        if (p.qt == tecla)
            return p.codigo;
    return 0;
}

int teclaQt(int codigo)
{
    if ((codigo >= 48 && codigo <= 57) || (codigo >= 65 && codigo <= 90))
        return codigo;
    if (codigo >= 96 && codigo <= 105)
        return Qt::Key_0 + (codigo - 96);
    if (codigo >= F1 && codigo <= F1 + 23)
        return Qt::Key_F1 + (codigo - F1);
    for (const Par &p : pares)
        if (p.codigo == codigo)
            return p.qt;
    for (const Par &p : paresTeclado)
        if (p.codigo == codigo)
            return p.qt;
    return Qt::Key_unknown;
}

int estadoShift(Qt::KeyboardModifiers modificadores)
{
    return (modificadores & Qt::ShiftModifier ? 1 : 0) | (modificadores & Qt::ControlModifier ? 2 : 0)
        | (modificadores & Qt::AltModifier ? 4 : 0);
}

int codigoCaracter(const QKeyEvent &evento)
{
    const int tecla = evento.key();
    const Qt::KeyboardModifiers mods = evento.modifiers();
    switch (tecla) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Enter;
    case Qt::Key_Escape:
        return Esc;
    case Qt::Key_Backspace:
        return Backspace;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0;
    default:
        break;
    }
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        // Ctrl+letter types the control character of that letter (Ctrl+V = 22).
        if (tecla >= Qt::Key_A && tecla <= Qt::Key_Z)
            return tecla - Qt::Key_A + 1;
        return 0;
    }
    const QString texto = evento.text();
    if (texto.isEmpty())
        return 0;
    const int c = texto.at(0).unicode();
    return c == 127 ? 0 : c;
}

int teclaDeCaracter(int c)
{
    switch (c) {
    case Enter:
        return Qt::Key_Return;
    case Esc:
        return Qt::Key_Escape;
    case Backspace:
        return Qt::Key_Backspace;
    default:
        break;
    }
    if (c >= 32 && c <= 0xff) {
        const int maiuscula = QChar(c).toUpper().unicode();
        return maiuscula <= 0xff ? maiuscula : c;
    }
    return Qt::Key_unknown;
}
}
