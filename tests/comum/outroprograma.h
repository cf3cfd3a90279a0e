#pragma once
#include <QFile>
#include <QProcess>
#include <QString>

#include <sqlite3.h>
#include <unistd.h>

// Another program on the same SQLite file: a bare SQLite connection, without
// the program's comparison of codes and without its journal mode, to hold
// locks and change the file the way an outside program would. Link SQLite.
struct OutroPrograma
{
    sqlite3 *bd = nullptr;

    explicit OutroPrograma(const QString &ficheiro)
    {
        sqlite3_open_v2(QFile::encodeName(ficheiro).constData(), &bd, SQLITE_OPEN_READWRITE, nullptr);
    }
    ~OutroPrograma() { sqlite3_close_v2(bd); }
    OutroPrograma(const OutroPrograma &) = delete;
    OutroPrograma &operator=(const OutroPrograma &) = delete;

    // Makes a file impossible to write, or writable again, as a user or an
    // administrator would: by its permissions, or for root (whom permissions
    // do not stop) with the immutable attribute. False when that cannot be done here.
    static bool soDeLeitura(const QString &ficheiro, bool sim)
    {
        if (geteuid() != 0)
            return QFile::setPermissions(ficheiro, sim ? QFile::ReadOwner : QFile::ReadOwner | QFile::WriteOwner);
        return QProcess::execute(QStringLiteral("chattr"), {sim ? QStringLiteral("+i") : QStringLiteral("-i"), ficheiro}) == 0;
    }

    // Runs the statements; the empty text when they ran, SQLite's message otherwise.
    QString executa(const char *sql)
    {
        char *erro = nullptr;
        if (sqlite3_exec(bd, sql, nullptr, nullptr, &erro) == SQLITE_OK)
            return QString();
        const QString texto = QString::fromUtf8(erro ? erro : sqlite3_errmsg(bd));
        sqlite3_free(erro);
        return texto.isEmpty() ? QStringLiteral("erro") : texto;
    }
};
