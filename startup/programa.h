#pragma once
#include <QString>

// What the start-up routine settles for the whole run and other parts of the
// program read afterwards: the program's folder, the per-user settings file
// and the temporary folder. The database connection is not kept here: windows
// receive it through their Bd.
namespace Programa {
QString pastaPrograma();
void setPastaPrograma(const QString &pasta);

// Full path of the settings file chosen at start (user folder or command line).
QString ficheiroConfiguracao();
void setFicheiroConfiguracao(const QString &ficheiro);

// The working folder for temporary files, ending with a separator.
QString pastaTemporaria();
void setPastaTemporaria(const QString &pasta);

// The catalogue of SQL scripts the database connection dialog offers: the
// program's folder + "/catalogos/bd.sql".
QString catalogoSql();

// The name the user logged on to the system with (USERNAME on Windows; USER,
// LOGNAME or else the account the program runs under elsewhere); the empty
// text, never a null one, when the system gives none.
QString utilizadorSistema();
}
