#pragma once
#include <QString>

// The defaults of the supplier orders the program creates in the ERP, section
// "Encomenda Next" of the settings file: document type, sector, series and
// warehouse. A key that is empty or missing gets its default ("ENF", "001",
// "1", "1"), which is also written back into the file; keys that hold a value
// are left alone. On a failure to read or write the file the message
// "Erro n" / "(...)" / "Na função GetEncomendaNext do ModTools" is shown, the
// arguments keep what they held at that moment and the answer is false.

// On the settings file chosen at start (Programa::ficheiroConfiguracao()).
bool GetEncomendaNext(QString &tipoDocumento, QString &sector, QString &serie, QString &armazem);
// On the given settings file.
bool GetEncomendaNext(const QString &ficheiro, QString &tipoDocumento, QString &sector, QString &serie,
                      QString &armazem);
