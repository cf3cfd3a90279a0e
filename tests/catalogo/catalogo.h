#pragma once
#include "registoinstrucoes.h"

#include <QSet>
#include <QString>

// The statement catalogue page (docs/instrucoes-sqlserver.md) made from what
// RegistoInstrucoes recorded: the permissions to grant, then each window and
// operation with its statements and the tables and columns each reads and
// writes. Statements are kept on one line (blanks and line breaks run
// together), one fenced ```sql block each.
namespace Catalogo {
QString normaliza(const QString &sql);
QString pagina(const QMap<RegistoInstrucoes::Chave, QStringList> &porOperacao);
// The statements of a page (its ```sql blocks).
QSet<QString> instrucoesDe(const QString &pagina);
}
