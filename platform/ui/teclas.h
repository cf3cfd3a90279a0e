#pragma once
#include <Qt>

class QKeyEvent;

// The windows speak of keys the way the desktop always did: key codes of the
// keyboard (Enter 13, Esc 27, Left 37, Up 38, Down 40, F2 113, F4 115, letters
// by their capital, digits by their character), a shift state adding up Shift
// 1, Ctrl 2 and Alt 4, and character codes for typed characters (13 for Enter,
// 27 for Esc, 8 for Backspace). These functions translate between that and Qt.
namespace Teclas {
enum Codigo {
    Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Ctrl = 17, Alt = 18, Esc = 27, Espaco = 32,
    PageUp = 33, PageDown = 34, End = 35, Home = 36, Esquerda = 37, Cima = 38, Direita = 39, Baixo = 40,
    Insert = 45, Delete = 46, F1 = 112, F2 = 113, F3 = 114, F4 = 115, F12 = 123
};

// The key code of a Qt key (0 when the key has none).
int codigoTecla(int teclaQt, Qt::KeyboardModifiers modificadores);
// The Qt key of a key code (Qt::Key_unknown when there is none).
int teclaQt(int codigoTecla);
// Shift 1 + Ctrl 2 + Alt 4.
int estadoShift(Qt::KeyboardModifiers modificadores);
// The character code a key press types (0 when it types none; Tab types none
// because it moves the focus).
int codigoCaracter(const QKeyEvent &evento);
// The Qt key that types a character code.
int teclaDeCaracter(int codigoCaracter);
}
