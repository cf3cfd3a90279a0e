#include "valores.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>

Moeda Moeda::deDouble(double v) { return deDecimos(qint64(std::llround(v * 10000.0))); }

Moeda Moeda::deValor(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return Moeda();
    if (v.metaType().id() == QMetaType::QString) {
        // A driver's numeric text ("12.5000"): a point before the decimals, no groups.
        static const QRegularExpression maquina(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
        const auto m = maquina.match(v.toString().trimmed());
        Moeda r;
        if (m.hasMatch() && deDigitos(m.captured(1) == QLatin1String("-"), m.captured(2), m.captured(3), true, &r))
            return r;
        return Moeda();
    }
    return deDouble(v.toDouble());
}

bool Moeda::deDigitos(bool negativo, const QString &inteira, const QString &decimal, bool arredonda, Moeda *resultado)
{
    if ((inteira.isEmpty() && decimal.isEmpty()) || inteira.size() > 14)
        return false;
    if (!arredonda && decimal.size() > 4)
        return false;
    qint64 v = inteira.isEmpty() ? 0 : inteira.toLongLong() * 10000;
    const QString casas = decimal.left(5).leftJustified(5, QLatin1Char('0'));
    v += casas.left(4).toLongLong();
    if (casas.at(4) >= QLatin1Char('5'))
        ++v;   // round half up at the fifth place
    if (resultado)
        *resultado = deDecimos(negativo ? -v : v);
    return true;
}

bool Moeda::leTexto(const QString &texto, Moeda *resultado)
{
    QString t = texto.trimmed();
    if (t.endsWith(QChar(0x20AC)))
        t = t.chopped(1).trimmed();
    else if (t.startsWith(QChar(0x20AC)))
        t = t.mid(1).trimmed();
    // Only what reads one way: thousands in groups of three after a first
    // group that does not begin with 0, one comma before at most four decimals.
    // "1.500" is 1500 (as the grids show it); "1.5", "1.50", "0.500", "1,2,3",
    // "1,500.5" and a fifth decimal are refused rather than guessed or rounded.
    static const QRegularExpression portugues(
        QStringLiteral("^([+-]?)([1-9][0-9]{0,2}(?:\\.[0-9]{3})+|[0-9]*)(?:,([0-9]*))?$"));
    const auto m = portugues.match(t);
    if (!m.hasMatch())
        return false;
    QString inteira = m.captured(2);
    inteira.remove(QLatin1Char('.'));
    return deDigitos(m.captured(1) == QLatin1String("-"), inteira, m.captured(3), false, resultado);
}

int Moeda::casas() const
{
    qint64 a = m_v < 0 ? -m_v : m_v;
    int n = 4;
    while (n > 0 && a % 10 == 0) {
        a /= 10;
        --n;
    }
    return n;
}

QString Moeda::texto(int casas, bool agrupa) const
{
    casas = qBound(0, casas, 4);
    qint64 divisor = 1;
    for (int i = casas; i < 4; ++i)
        divisor *= 10;
    qint64 a = m_v < 0 ? -m_v : m_v;
    a = (a + divisor / 2) / divisor;   // round half away from zero
    qint64 potencia = 1;
    for (int i = 0; i < casas; ++i)
        potencia *= 10;
    const qint64 inteira = a / potencia, frac = a % potencia;
    QString txt = QString::number(inteira);
    if (agrupa)
        for (int i = int(txt.size()) - 3; i > 0; i -= 3)
            txt.insert(i, QLatin1Char('.'));
    if (casas > 0)
        txt += QLatin1Char(',') + QString::number(frac).rightJustified(casas, QLatin1Char('0'));
    if (m_v < 0 && a != 0)
        txt.prepend(QLatin1Char('-'));
    return txt;
}

namespace Valores {

QDate leData(const QString &texto)
{
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return QDate();
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T].*)?$"));
    auto m = iso.match(t);
    if (m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    static const QRegularExpression dma(QStringLiteral("^(\\d{1,2})[-/.](\\d{1,2})[-/.](\\d{2}|\\d{4})$"));
    m = dma.match(t);
    int d = 0, mes = 0, a = 0;
    if (m.hasMatch()) {
        d = m.captured(1).toInt();
        mes = m.captured(2).toInt();
        a = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            a += 2000;
    } else {
        static const QRegularExpression junto(QStringLiteral("^(\\d{2})(\\d{2})(\\d{4}|\\d{2})$"));
        m = junto.match(t);
        if (!m.hasMatch())
            return QDate();
        d = m.captured(1).toInt();
        mes = m.captured(2).toInt();
        a = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            a += 2000;
    }
    return QDate(a, mes, d);   // invalid when the day or month is out of range
}

QDate comoData(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return QDate();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return v.toDate();
    case QMetaType::QDateTime:
        return v.toDateTime().date();
    default:
        return leData(v.toString());
    }
}

QString textoData(const QDate &d) { return d.isValid() ? d.toString(QStringLiteral("dd-MM-yyyy")) : QString(); }

double leNumero(const QString &texto, bool *ok)
{
    Moeda m;
    const bool bom = Moeda::leTexto(texto, &m);
    if (ok)
        *ok = bom;
    return bom ? m.paraDouble() : 0.0;
}

} // namespace Valores
