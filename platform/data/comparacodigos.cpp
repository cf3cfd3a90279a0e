#include "comparacodigos.h"

#include <QByteArray>
#include <QChar>

#include <array>

namespace ComparaCodigos {
namespace {

char32_t dobra(char32_t c)
{
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 32 : c;
    return QChar::toCaseFolded(c);
}

// The plain letter of an accented Latin letter (its canonical decomposition's
// first character, folded), for the ranges where accented letters live:
// Latin-1, Latin Extended-A and -B, and Latin Extended Additional.
constexpr char32_t InicioLatino = 0xC0, FimLatino = 0x250;
constexpr char32_t InicioAdicional = 0x1E00, FimAdicional = 0x1F00;

char32_t decompoe(char32_t c)
{
    for (int passos = 0; passos < 4 && QChar::decompositionTag(c) == QChar::Canonical; ++passos) {
        const QString d = QChar::decomposition(c);
        if (d.isEmpty())
            break;
        const char32_t primeiro = d.at(0).isHighSurrogate() && d.size() > 1 ? QChar::surrogateToUcs4(d.at(0), d.at(1))
                                                                             : d.at(0).unicode();
        if (primeiro >= c)
            break;
        c = primeiro;
    }
    return dobra(c);
}

template<char32_t Inicio, char32_t Fim>
struct TabelaBase
{
    std::array<char32_t, Fim - Inicio> base{};
    TabelaBase()
    {
        for (char32_t c = Inicio; c < Fim; ++c)
            base[c - Inicio] = decompoe(c);
    }
};

char32_t base(char32_t dobrado)
{
    static const TabelaBase<InicioLatino, FimLatino> latina;
    static const TabelaBase<InicioAdicional, FimAdicional> adicional;
    if (dobrado >= InicioLatino && dobrado < FimLatino)
        return latina.base[dobrado - InicioLatino];
    if (dobrado >= InicioAdicional && dobrado < FimAdicional)
        return adicional.base[dobrado - InicioAdicional];
    return dobrado;
}

// The weight of a character: its plain letter first, then the folded
// character itself, so that "c" < "ç" < "d" and "Ç" weighs as "ç".
quint64 peso(char32_t c)
{
    const char32_t d = dobra(c);
    return (quint64(base(d)) << 21) | d;
}

// The next character of a UTF-8 text at s[i], moving i past it.
char32_t le(const unsigned char *s, int n, int &i)
{
    const unsigned c = s[i];
    int extra;
    char32_t cp;
    if (c < 0x80) {
        ++i;
        return c;
    }
    if ((c & 0xE0) == 0xC0) {
        extra = 1;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        cp = c & 0x07;
    } else {
        ++i;
        return c;
    }
    for (int k = 1; k <= extra; ++k) {
        if (i + k >= n || (s[i + k] & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    i += extra + 1;
    return cp;
}

} // namespace

int compara(const char *a, int na, const char *b, int nb)
{
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);
    while (na > 0 && x[na - 1] == ' ')
        --na;
    while (nb > 0 && y[nb - 1] == ' ')
        --nb;
    // The common case first: ASCII characters, whose weight is their folded value.
    const int n = na < nb ? na : nb;
    int k = 0;
    for (; k < n; ++k) {
        const unsigned cx = x[k], cy = y[k];
        if ((cx | cy) >= 0x80)
            break;
        if (cx != cy) {
            const unsigned fx = cx - 'A' < 26u ? cx + 32 : cx, fy = cy - 'A' < 26u ? cy + 32 : cy;
            if (fx != fy)
                return fx < fy ? -1 : 1;
        }
    }
    // From the first character that is not ASCII on either side: by weight.
    int i = k, j = k;
    while (i < na && j < nb) {
        const quint64 px = peso(le(x, na, i)), py = peso(le(y, nb, j));
        if (px != py)
            return px < py ? -1 : 1;
    }
    return int(i < na) - int(j < nb);   // equal up to the shorter: the shorter first
}

int compara(const QString &a, const QString &b)
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    return compara(x.constData(), int(x.size()), y.constData(), int(y.size()));
}

QString chave(const QString &codigo)
{
    qsizetype n = codigo.size();
    while (n > 0 && codigo.at(n - 1) == QLatin1Char(' '))
        --n;
    QString r;
    r.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = codigo.at(i);
        if (c.unicode() < 0x80) {
            r += QChar(dobra(c.unicode()));
            continue;
        }
        char32_t cp = c.unicode();
        if (c.isHighSurrogate() && i + 1 < n && codigo.at(i + 1).isLowSurrogate())
            cp = QChar::surrogateToUcs4(c, codigo.at(++i));
        const char32_t d = dobra(cp);
        r += QString::fromUcs4(&d, 1);
    }
    return r;
}

int comprimento(const QString &texto)
{
    qsizetype n = texto.size();
    while (n > 0 && texto.at(n - 1) == QLatin1Char(' '))
        --n;
    int caracteres = 0;
    for (qsizetype i = 0; i < n; ++i)
        if (!texto.at(i).isLowSurrogate())
            ++caracteres;
    return caracteres;
}

QString maiorCaracter()
{
    const char32_t c = 0x10FFFF;
    return QString::fromUcs4(&c, 1);
}

int comparaSqlite(void *, int na, const void *a, int nb, const void *b)
{
    return compara(static_cast<const char *>(a), na, static_cast<const char *>(b), nb);
}

} // namespace ComparaCodigos
