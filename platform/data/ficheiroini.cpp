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
        *valor = t.mid(igual + 1).trimmed();
    return true;
}

} // namespace

QString FicheiroIni::Le(const QString &seccao, const QString &chave) const
{
    m_erro.clear();
    QFile f(m_ficheiro);
    if (!f.exists())
        return QString();
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        m_erro = QStringLiteral("Não foi possível ler o ficheiro %1: %2").arg(m_ficheiro, f.errorString());
        return QString();
    }
    const QStringList linhas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    QString actual;
    for (const QString &linha : linhas) {
        QString nome, k, v;
        if (ehSeccao(linha, &nome))
            actual = nome;
        else if (actual.compare(seccao, Qt::CaseInsensitive) == 0 && ehChave(linha, &k, &v)
                 && k.compare(chave, Qt::CaseInsensitive) == 0)
            return v;
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

    const QString novaLinha = chave + QLatin1Char('=') + valor;
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
            linhas[i] = k + QLatin1Char('=') + valor;   // keep the key as the file spells it
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
    if (!existia)
        out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    out.write((linhas.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    if (!out.commit()) {
        m_erro = QStringLiteral("Não foi possível escrever o ficheiro %1: %2").arg(m_ficheiro, out.errorString());
        return false;
    }
    if (!existia)
        QFile::setPermissions(m_ficheiro, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}
