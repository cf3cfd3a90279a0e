#include "posicaojanela.h"

#include "twips.h"
#include "versaoprograma.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include <cmath>

namespace {
const char *const chaves[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

// Beyond this a value cannot be a place on any screen (about 700,000 pixels).
constexpr double LimiteTwips = 1e7;

// The text as a number: a decimal point or comma, nothing else around it.
bool numero(const QString &texto, double &valor)
{
    QString t = texto.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const float v = t.toFloat(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > LimiteTwips)
        return false;
    valor = v;
    return true;
}

bool visivel(const QRect &r)
{
    // At least a corner of the title area must lie on some screen.
    const QRect titulo(r.topLeft(), QSize(qMin(r.width(), 120), qMin(r.height(), 24)));
    const QList<QScreen *> ecras = QGuiApplication::screens();
    if (ecras.isEmpty())
        return true;
    for (const QScreen *ecra : ecras) {
        const QRect comum = ecra->geometry().intersected(titulo);
        if (comum.width() >= 8 && comum.height() >= 8)
            return true;
    }
    return false;
}
} // namespace

namespace PosicaoJanela {
Lugar leLugar()
{
    QSettings s(VersaoPrograma::titulo(), VersaoPrograma::titulo());
    s.beginGroup(QStringLiteral("Settings"));
    Lugar t;
    double *valores[] = {&t.left, &t.top, &t.width, &t.height};
    for (int i = 0; i < 4; ++i) {
        double v = 0;
        const QVariant lido = s.value(QLatin1String(chaves[i]));
        if (lido.isValid() && numero(lido.toString(), v) && (i < 2 || v > 0))
            *valores[i] = v;
    }
    return t;
}

void gravaLugar(const Lugar &t)
{
    QSettings s(VersaoPrograma::titulo(), VersaoPrograma::titulo());
    s.beginGroup(QStringLiteral("Settings"));
    const double valores[] = {t.left, t.top, t.width, t.height};
    for (int i = 0; i < 4; ++i)
        s.setValue(QLatin1String(chaves[i]), texto(valores[i]));
}

QRect le()
{
    const Lugar t = leLugar();
    QRect r(Twips::paraPixeis(t.left), Twips::paraPixeis(t.top), Twips::paraPixeis(t.width),
            Twips::paraPixeis(t.height));
    if (!visivel(r)) {
        const Lugar predefinido;
        r.moveTopLeft(QPoint(Twips::paraPixeis(predefinido.left), Twips::paraPixeis(predefinido.top)));
    }
    return r;
}

void grava(const QRect &pixeis)
{
    Lugar t;
    t.left = Twips::dePixeis(pixeis.left());
    t.top = Twips::dePixeis(pixeis.top());
    t.width = Twips::dePixeis(pixeis.width());
    t.height = Twips::dePixeis(pixeis.height());
    gravaLugar(t);
}

QString texto(double twips) { return QString::number(double(float(twips)), 'g', 7); }
} // namespace PosicaoJanela
