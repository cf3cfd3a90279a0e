#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a PDF file, page by page (pdftotext, from poppler-utils; the
// caller skips when it is not installed). Empty when it cannot be read.
inline QStringList paginasPdf(const QString &ficheiro)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ficheiro, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    QStringList paginas = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!paginas.isEmpty() && paginas.last().trimmed().isEmpty())
        paginas.removeLast();
    return paginas;
}
