#include "ficheiroini.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {

bool ehSeccao(const QString &linha, QString *nome)
{
    const QString t = linha.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (nome)
        *nome = t.mid(1, t.size() - 2).trimmed();
    return true;
}

// A character that cannot stand as it is in an unquoted value: it would end
// the line (or look like it does to an editor), or hide at an end.
bool especial(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0x85 || c.unicode() == 0x2028 || c.unicode() == 0x2029;
}

bool precisaAspas(const QString &v)
{
    if (v.isEmpty())
        return false;
    if (v.front().isSpace() || v.back().isSpace() || v.front() == QLatin1Char('"'))
        return true;
    for (QChar c : v)
        if (especial(c))
            return true;
    return false;
}

// The value as the file keeps it: as it is, or between double quotes with
// \\, \", \n, \r, \t and \uXXXX escapes when it has blanks at an end,
// begins with a quote or holds a line break or another control character.
QString escrito(const QString &v)
{
    if (!precisaAspas(v))
        return v;
    QString r = QStringLiteral("\"");
    for (QChar c : v) {
        switch (c.unicode()) {
        case '\\': r += QStringLiteral("\\\\"); break;
        case '"': r += QStringLiteral("\\\""); break;
        case '\n': r += QStringLiteral("\\n"); break;
        case '\r': r += QStringLiteral("\\r"); break;
        case '\t': r += QStringLiteral("\\t"); break;
        default:
            if (especial(c))
                r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                r += c;
        }
    }
    return r + QLatin1Char('"');
}

// The value of a line: what follows the "=", blanks around it left out; a
// quoted value loses its quotes and its escapes. An escape it does not know
// stays as it is.
QString lido(const QString &t)
{
    if (t.size() < 2 || !t.startsWith(QLatin1Char('"')) || !t.endsWith(QLatin1Char('"')))
        return t;
    QString r;
    const qsizetype fim = t.size() - 1;
    for (qsizetype i = 1; i < fim; ++i) {
        const QChar c = t.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= fim) {
            r += c;
            continue;
        }
        const QChar e = t.at(++i);
        switch (e.unicode()) {
        case '\\': r += QLatin1Char('\\'); break;
        case '"': r += QLatin1Char('"'); break;
        case 'n': r += QLatin1Char('\n'); break;
        case 'r': r += QLatin1Char('\r'); break;
        case 't': r += QLatin1Char('\t'); break;
        case 'u': {
            bool ok = false;
            const ushort u = i + 4 < fim ? t.mid(i + 1, 4).toUShort(&ok, 16) : 0;
            if (ok) {
                r += QChar(u);
                i += 4;
            } else {
                r += QLatin1Char('\\');
                r += e;
            }
            break;
        }
        default:
            r += QLatin1Char('\\');
            r += e;
        }
    }
    return r;
}

bool ehChave(const QString &linha, QString *chave, QString *valor)
{
    const QString t = linha.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return false;
    const int igual = t.indexOf(QLatin1Char('='));
    if (igual <= 0)
        return false;
    if (chave)
        *chave = t.left(igual).trimmed();
    if (valor)
        *valor = lido(t.mid(igual + 1).trimmed());
    return true;
}

// A section or key name that would break the file's structure.
bool nomeInvalido(const QString &nome, QChar proibido)
{
    if (nome.trimmed().isEmpty() || nome.contains(proibido))
        return true;
    for (QChar c : nome)
        if (especial(c))
            return true;
    return false;
}

// A line longer than this cannot hold a value that fits (a value escaped
// whole is at most six bytes a character); it is skipped unread.
constexpr qint64 MaximoLinha = qint64(FicheiroIni::MaximoValor) * 6 + 1024;

// Skips the rest of a line whose start was read; the device stands after its end.
void saltaLinha(QIODevice &f)
{
    char bloco[65536];
    while (!f.atEnd()) {
        const qint64 n = f.readLine(bloco, sizeof bloco);
        if (n <= 0 || bloco[n - 1] == '\n')
            return;
    }
}

QString demasiadoLongo(const QString &ficheiro, const QString &seccao, const QString &chave, bool escrita)
{
    return QStringLiteral("O valor de \"%1\" na secção [%2] do ficheiro %3 é demasiado longo (mais de %4 caracteres): %5")
        .arg(chave, seccao, ficheiro)
        .arg(FicheiroIni::MaximoValor)
        .arg(escrita ? QStringLiteral("não pode ser guardado.") : QStringLiteral("não foi lido."));
}

} // namespace

QString FicheiroIni::Le(const QString &seccao, const QString &chave) const
{
    m_erro.clear();
    QFile f(m_ficheiro);
    if (!f.exists())
        return QString();
    if (!f.open(QIODevice::ReadOnly)) {
        m_erro = QStringLiteral("Não foi possível ler o ficheiro %1: %2").arg(m_ficheiro, f.errorString());
        return QString();
    }
    // Line by line: a line too long for any value is passed over without
    // being read into memory, so a damaged file is answered at once.
    QString actual;
    while (!f.atEnd()) {
        QByteArray bytes = f.readLine(MaximoLinha);
        const bool inteira = bytes.endsWith('\n') || f.atEnd();
        if (!inteira)
            saltaLinha(f);
        const QString linha = QString::fromUtf8(bytes).remove(QLatin1Char('\r'));
        QString nome, k, v;
        if (ehSeccao(linha, &nome)) {
            actual = nome;
        } else if (actual.compare(seccao, Qt::CaseInsensitive) == 0 && ehChave(linha, &k, inteira ? &v : nullptr)
                   && k.compare(chave, Qt::CaseInsensitive) == 0) {
            if (!inteira || v.size() > MaximoValor) {
                m_erro = demasiadoLongo(m_ficheiro, actual, k, false);
                return QString();
            }
            return v;
        }
    }
    return QString();
}

bool FicheiroIni::Escreve(const QString &seccao, const QString &chave, const QString &valor)
{
    m_erro.clear();
    if (m_ficheiro.isEmpty()) {
        m_erro = QStringLiteral("Não foi indicado o ficheiro de configuração.");
        return false;
    }
    if (valor.size() > MaximoValor) {
        m_erro = demasiadoLongo(m_ficheiro, seccao, chave, true);
        return false;
    }
    if (nomeInvalido(seccao, QLatin1Char(']')) || nomeInvalido(chave, QLatin1Char('='))) {
        m_erro = QStringLiteral("A secção \"%1\" ou a chave \"%2\" não pode ser guardada no ficheiro %3.")
                     .arg(seccao, chave, m_ficheiro);
        return false;
    }
    QStringList linhas;
    QFile f(m_ficheiro);
    const bool existia = f.exists();
    if (existia) {
        if (!QFileInfo(m_ficheiro).isWritable()) {
            m_erro = QStringLiteral("O ficheiro %1 só pode ser lido: não é possível guardar.").arg(m_ficheiro);
            return false;
        }
        if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
            m_erro = QStringLiteral("Não foi possível ler o ficheiro %1: %2").arg(m_ficheiro, f.errorString());
            return false;
        }
        linhas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        f.close();
        if (!linhas.isEmpty() && linhas.last().isEmpty())
            linhas.removeLast();
        for (QString &l : linhas)
            if (l.endsWith(QLatin1Char('\r')))
                l.chop(1);
    }

    const QString novaLinha = chave + QLatin1Char('=') + escrito(valor);
    int inicioSeccao = -1, fimSeccao = -1;
    QString actual;
    bool feito = false;
    for (int i = 0; i < linhas.size() && !feito; ++i) {
        QString nome, k;
        if (ehSeccao(linhas[i], &nome)) {
            if (inicioSeccao >= 0 && fimSeccao < 0)
                fimSeccao = i;
            actual = nome;
            if (inicioSeccao < 0 && actual.compare(seccao, Qt::CaseInsensitive) == 0)
                inicioSeccao = i;
        } else if (inicioSeccao >= 0 && fimSeccao < 0 && ehChave(linhas[i], &k, nullptr)
                   && k.compare(chave, Qt::CaseInsensitive) == 0) {
            linhas[i] = k + QLatin1Char('=') + escrito(valor);   // keep the key as the file spells it
            feito = true;
        }
    }
    if (!feito) {
        if (inicioSeccao < 0) {
            if (!linhas.isEmpty() && !linhas.last().trimmed().isEmpty())
                linhas << QString();
            linhas << QLatin1Char('[') + seccao + QLatin1Char(']') << novaLinha;
        } else {
            int pos = fimSeccao < 0 ? linhas.size() : fimSeccao;
            while (pos > inicioSeccao + 1 && linhas[pos - 1].trimmed().isEmpty())
                --pos;
            linhas.insert(pos, novaLinha);
        }
    }

    QSaveFile out(m_ficheiro);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_erro = QStringLiteral("Não foi possível escrever o ficheiro %1: %2").arg(m_ficheiro, out.errorString());
        return false;
    }
    // Readable by its owner only, every time: it holds passwords.
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    out.write((linhas.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!out.commit()) {
        m_erro = QStringLiteral("Não foi possível escrever o ficheiro %1: %2").arg(m_ficheiro, out.errorString());
        return false;
    }
    QFile::setPermissions(m_ficheiro, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}
