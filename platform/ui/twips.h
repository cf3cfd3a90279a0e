#pragma once
#include <QGuiApplication>
#include <QScreen>

// Window and column sizes are given in twips (1/1440 inch); these convert them
// for the screen's resolution (15 twips per pixel at 96 dpi).
namespace Twips {
inline double pixeisPorPolegada()
{
    const QScreen *ecra = QGuiApplication::primaryScreen();
    const double dpi = ecra ? ecra->logicalDotsPerInch() : 96.0;
    return dpi > 0 ? dpi : 96.0;
}
inline int paraPixeis(double twips) { return int(twips * pixeisPorPolegada() / 1440.0 + 0.5); }
inline double dePixeis(int pixeis) { return pixeis * 1440.0 / pixeisPorPolegada(); }
}
