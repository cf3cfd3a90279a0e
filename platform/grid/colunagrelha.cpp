#include "colunagrelha.h"
#include "valores.h"

#include <QDateTime>

namespace {

bool vazio(const QVariant &v) { return !v.isValid() || v.isNull(); }

bool eData(const QVariant &v)
{
    const int t = v.metaType().id();
    return t == QMetaType::QDate || t == QMetaType::QDateTime;
}

} // namespace

QString ColunaGrelha::textoNumero(const QVariant &valor, bool agrupa) const
{
    Moeda m;
    if (valor.metaType().id() == QMetaType::QString) {
        if (!Moeda::leTexto(valor.toString(), &m))
            return valor.toString();          // what the user typed, not a number
    } else {
        m = Moeda::deValor(valor);
    }
    // Without a format, amounts show two places and whole numbers none.
    int casas = tipo == TipoColuna::Moeda ? 2 : 0;
    bool agrupar = tipo == TipoColuna::Moeda;
    if (!formato.isEmpty()) {
        const qsizetype ponto = formato.indexOf(QLatin1Char('.'));
        casas = ponto < 0 ? 0 : int(formato.size() - ponto - 1);
        agrupar = formato.contains(QLatin1Char(','));
    }
    // Never fewer places than the value has: a cell shows what it holds
    // ("12,5" in a column of whole numbers), so what is read back from its
    // text, printed or exported is the value itself, never a rounding of it.
    return m.textoCompleto(casas, agrupar && agrupa);
}

QString ColunaGrelha::textoApresentado(const QVariant &valor) const
{
    if (vazio(valor) || tipo == TipoColuna::Booleano)
        return QString();
    if (eData(valor))
        return Valores::textoData(Valores::comoData(valor));
    switch (tipo) {
    case TipoColuna::Data: {
        const QDate d = Valores::comoData(valor);
        return d.isValid() ? Valores::textoData(d) : valor.toString();
    }
    case TipoColuna::Moeda:
    case TipoColuna::Longo:
        return textoNumero(valor, true);
    default:
        return valor.toString();
    }
}

QString ColunaGrelha::textoEdicao(const QVariant &valor) const
{
    if (numerica() && !vazio(valor))
        return textoNumero(valor, false);
    return textoApresentado(valor);
}

QVariant ColunaGrelha::valorDoTexto(const QString &texto) const
{
    switch (tipo) {
    case TipoColuna::Data: {
        const QDate d = Valores::leData(texto);
        return d.isValid() ? QVariant(d) : QVariant(texto);
    }
    case TipoColuna::Moeda: {
        Moeda m;
        return Moeda::leTexto(texto, &m) ? QVariant(m.paraDouble()) : QVariant(texto);
    }
    case TipoColuna::Longo: {
        Moeda m;
        if (Moeda::leTexto(texto, &m) && m.decimosMilesimos() % 10000 == 0)
            return QVariant(qlonglong(m.decimosMilesimos() / 10000));
        return QVariant(texto);
    }
    case TipoColuna::Booleano:
        return QVariant(texto == QLatin1String("1") || texto.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
    default:
        return QVariant(texto);
    }
}
