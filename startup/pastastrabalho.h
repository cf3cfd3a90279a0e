#pragma once
#include <QString>

// The user's working folders, prepared at every start.

// The user's own folder for the program (PastaUtilizador() + "/morvik"),
// created when missing; the program's folder when it cannot be made.
QString PastaDoUtilizador(const QString &pastaPrograma);

// Makes sure the temporary folder PastaTemporaria() + "tmpMORVIK" exists and
// deletes the files an earlier run left in it (subfolders are kept). Returns
// the folder with a trailing separator. When the folder cannot be prepared it
// says why ("Erro n (...)" / "Na função PreparaPercursoUtilizador do Módulo
// mod_main") and returns the current directory with a trailing separator.
QString PreparaPercursoUtilizador();
