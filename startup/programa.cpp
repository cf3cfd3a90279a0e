#include "programa.h"

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

namespace {
struct Estado
{
    QString pastaPrograma;
    QString ficheiroConfiguracao;
    QString pastaTemporaria;
};

Estado &estado()
{
    static Estado e;
    return e;
}
} // namespace

namespace Programa {
QString pastaPrograma() { return estado().pastaPrograma; }
void setPastaPrograma(const QString &pasta) { estado().pastaPrograma = pasta; }

QString ficheiroConfiguracao() { return estado().ficheiroConfiguracao; }
void setFicheiroConfiguracao(const QString &ficheiro) { estado().ficheiroConfiguracao = ficheiro; }

QString pastaTemporaria() { return estado().pastaTemporaria; }
void setPastaTemporaria(const QString &pasta) { estado().pastaTemporaria = pasta; }

QString catalogoSql() { return pastaPrograma() + QStringLiteral("/catalogos/bd.sql"); }

QString utilizadorSistema()
{
#ifdef Q_OS_WIN
    const QString u = qEnvironmentVariable("USERNAME");
#else
    QString u = qEnvironmentVariable("USER");
    if (u.isEmpty())
        u = qEnvironmentVariable("LOGNAME");
    // A program started without a login (a service, a scheduled task): the
    // name of the account it runs under.
    if (u.isEmpty())
        if (const passwd *conta = getpwuid(geteuid()))
            u = QString::fromLocal8Bit(conta->pw_name);
#endif
    return u.isNull() ? QStringLiteral("") : u;
}
} // namespace Programa
