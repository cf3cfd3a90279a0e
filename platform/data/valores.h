#pragma once
#include <QDate>
#include <QString>
#include <QVariant>

// A currency amount held as an exact count of ten-thousandths (four decimal
// places, like the database's money type), so sums and comparisons never drift.
class Moeda
{
public:
    constexpr Moeda() = default;
    static constexpr Moeda deDecimos(qint64 decimosMilesimos) { Moeda m; m.m_v = decimosMilesimos; return m; }
    static Moeda deDouble(double v);
    // Reads a database value (number or numeric text); a null value gives 0.
    static Moeda deValor(const QVariant &v);
    // Reads an amount as a Portuguese user types it: "12,50", "12.50",
    // "1.234,56", "1 234,5", "-3". False when the text is not a number.
    static bool leTexto(const QString &texto, Moeda *resultado);

    qint64 decimosMilesimos() const { return m_v; }
    double paraDouble() const { return double(m_v) / 10000.0; }
    // For binding: a double rounded to four places.
    QVariant paraValor() const { return paraDouble(); }
    // "1.234,50" with the given number of decimal places, thousands grouped.
    QString texto(int casas = 2, bool agrupa = true) const;

    friend bool operator==(Moeda a, Moeda b) { return a.m_v == b.m_v; }
    friend auto operator<=>(Moeda a, Moeda b) { return a.m_v <=> b.m_v; }
    Moeda operator+(Moeda o) const { return deDecimos(m_v + o.m_v); }
    Moeda operator-(Moeda o) const { return deDecimos(m_v - o.m_v); }

private:
    qint64 m_v = 0;
};

namespace Valores {
// Reads a date as a Portuguese user types it: "dd-mm-yyyy", "dd/mm/yyyy",
// "dd.mm.yyyy", "d-m-yy", "ddmmyyyy", or ISO "yyyy-mm-dd". Invalid QDate otherwise.
QDate leData(const QString &texto);
// A database or grid value as a date (QDate, QDateTime or text).
QDate comoData(const QVariant &v);
// "dd-MM-yyyy".
QString textoData(const QDate &d);
// The number in a text as a user types it ("12,5", "1.234,56"); ok false when not numeric.
double leNumero(const QString &texto, bool *ok);
}
