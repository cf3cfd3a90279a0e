#include "pastas.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

QString PastasSistema::PastaUtilizador()
{
    QString pasta = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (pasta.isEmpty())
        pasta = QDir::homePath();
    while (pasta.size() > 1 && pasta.endsWith(QLatin1Char('/')))
        pasta.chop(1);
    return pasta;
}

QString PastasSistema::PastaTemporaria()
{
    // XDG_RUNTIME_DIR is private to the user already; otherwise make our own
    // folder under the shared temp folder and make sure nobody else owns it.
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    QString pasta;
    if (!base.isEmpty() && QFileInfo(base).isDir())
        pasta = base + QStringLiteral("/tessela");
    else
        pasta = QDir::tempPath() + QStringLiteral("/tessela-") + QString::number(::getuid());

    const QByteArray nativo = QFile::encodeName(pasta);
    ::mkdir(nativo.constData(), 0700);
    struct stat info {};
    if (::lstat(nativo.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return QString();
    if ((info.st_mode & 077) != 0)
        ::chmod(nativo.constData(), 0700);
    return pasta + QLatin1Char('/');
}

bool Ficheiros::GarantePasta(const QString &pasta)
{
    if (pasta.isEmpty())
        return false;
    QDir().mkpath(pasta);
    return QFileInfo(pasta).isDir();
}
