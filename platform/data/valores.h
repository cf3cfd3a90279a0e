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
    // Reads a database value (a number, or a driver's numeric text with a
    // decimal point such as "12.5000"); a null value gives 0.
    static Moeda deValor(const QVariant &v);
    // Reads an amount as a Portuguese user writes it and as the grids and
    // fields show it: "12,50", "1.500" (one thousand five hundred),
    // "1.234,56", "-3", "7 €". False for a text that could be read more than
    // one way ("1.5", "12.50", "0.500", "1,2,3", "1,234.5") or that has more
    // than four decimals, which would be rounded.
    static bool leTexto(const QString &texto, Moeda *resultado);

    qint64 decimosMilesimos() const { return m_v; }
    double paraDouble() const { return double(m_v) / 10000.0; }
    // For binding: a double rounded to four places.
    QVariant paraValor() const { return paraDouble(); }
    // "1.234,50" with the given number of decimal places, thousands grouped.
    QString texto(int casas = 2, bool agrupa = true) const;
    // The decimal places the amount needs (0 to 4): what a text must show so
    // that nothing is rounded away.
    int casas() const;
    // The text with at least casasMinimas places and more when the amount has
    // them: reading it back with leTexto gives the same amount.
    QString textoCompleto(int casasMinimas = 2, bool agrupa = true) const { return texto(qMax(casasMinimas, casas()), agrupa); }

    friend bool operator==(Moeda a, Moeda b) { return a.m_v == b.m_v; }
    friend auto operator<=>(Moeda a, Moeda b) { return a.m_v <=> b.m_v; }
    Moeda operator+(Moeda o) const { return deDecimos(m_v + o.m_v); }
    Moeda operator-(Moeda o) const { return deDecimos(m_v - o.m_v); }

private:
    static bool deDigitos(bool negativo, const QString &inteira, const QString &decimal, bool arredonda, Moeda *resultado);
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
// The number in a text as a user types it ("12,5", "1.234,56"), read by
// Moeda::leTexto; ok false when it is not one.
double leNumero(const QString &texto, bool *ok);
}
