#pragma once
#include <QRect>
#include <QString>

// The main window's remembered place, kept per user in the platform's
// settings store under the program's title, section "Settings": "MainLeft",
// "MainTop", "MainWidth", "MainHeight", in twips, each stored as the text of a
// single-precision number. A missing key, or a value that is not a number (or
// not a positive size), takes its default (1000, 1000, 6500, 6500); a place
// that lies off every screen takes the default left and top.
namespace PosicaoJanela {
struct Lugar
{
    double left = 1000, top = 1000, width = 6500, height = 6500;
};

// The four values as stored, defaults where missing or not a number.
Lugar leLugar();
void gravaLugar(const Lugar &t);

// The window's place in pixels, checked against the screens.
QRect le();
void grava(const QRect &pixeis);

// The text a value is stored as.
QString texto(double twips);
}
