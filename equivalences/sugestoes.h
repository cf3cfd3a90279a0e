#pragma once
#include <QString>
#include <QStringList>

class Dialecto;
class LigacaoBd;

// The codes the code box suggests while the user types: up to 25 known codes
// (quick-access codes and the codes of active articles), each once, in code
// order, that begin with the typed text. The text is trimmed and upper-cased
// and then matched as a literal prefix (Dialecto::comecaPor), compared as the
// database compares codes: any letter case, accented letters included.
//
// The two sources are asked directly, the condition in each, so that each is
// read along its index in code order and reading stops at the 25th code; the
// view that joins them would be read in full on every keystroke.
namespace Sugestoes {

inline constexpr int Maximo = 25;

// The prefix that is looked up: the text trimmed and in upper case.
QString prefixo(const QString &texto);

// The statement and its values: the prefix condition of each source and the
// empty text that article codes must be greater than.
QString instrucao(const Dialecto &dialecto);
QVariantList valores(const Dialecto &dialecto, const QString &prefixo);

// The suggestions for texto into codigos; a blank text gives none without a
// query. False when the query failed (bd.ultimoErro() says why): codigos is
// then empty, which is not the same as "no such code".
bool le(LigacaoBd &bd, const QString &texto, QStringList &codigos);
// The same, for callers that need not tell a failure from no suggestion.
QStringList le(LigacaoBd &bd, const QString &texto);

} // namespace Sugestoes
