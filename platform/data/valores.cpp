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
        Moeda m;
        if (leTexto(v.toString(), &m))
            return m;
        return Moeda();
    }
    return deDouble(v.toDouble());
}

bool Moeda::leTexto(const QString &texto, Moeda *resultado)
{
    QString t = texto.trimmed();
    t.remove(QLatin1Char(' ')).remove(QChar(0x00A0)).remove(QLatin1Char('\x80')).remove(QChar(0x20AC));
    if (t.isEmpty())
        return false;
    bool negativo = false;
    if (t.startsWith(QLatin1Char('-'))) {
        negativo = true;
        t = t.mid(1);
    } else if (t.startsWith(QLatin1Char('+'))) {
        t = t.mid(1);
    }
    // The decimal separator is the last ',' or '.', when digits after it are
    // not exactly a group of three following another separator of the same kind.
    const int ultVirgula = int(t.lastIndexOf(QLatin1Char(','))), ultPonto = int(t.lastIndexOf(QLatin1Char('.')));
    int sep = qMax(ultVirgula, ultPonto);
    if (sep >= 0) {
        const QChar c = t.at(sep);
        const bool outroIgual = t.indexOf(c) != sep;                       // "1.234.567"
        const bool outroTipo = t.indexOf(c == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',')) >= 0;
        if (outroIgual && !outroTipo)
            sep = -1;                                                      // only thousands separators
    }
    QString inteira = sep >= 0 ? t.left(sep) : t;
    QString decimal = sep >= 0 ? t.mid(sep + 1) : QString();
    inteira.remove(QLatin1Char('.')).remove(QLatin1Char(','));
    static const QRegularExpression digitos(QStringLiteral("^[0-9]*$"));
    if (!digitos.match(inteira).hasMatch() || !digitos.match(decimal).hasMatch())
        return false;
    if (inteira.isEmpty() && decimal.isEmpty())
        return false;
    if (inteira.size() > 14)
        return false;
    qint64 v = inteira.isEmpty() ? 0 : inteira.toLongLong() * 10000;
    QString casas = decimal.left(5).leftJustified(5, QLatin1Char('0'));
    qint64 frac = casas.left(4).toLongLong();
    if (casas.at(4) >= QLatin1Char('5'))
        ++frac;   // round half up at the fifth place
    v += frac;
    if (resultado)
        *resultado = deDecimos(negativo ? -v : v);
    return true;
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
