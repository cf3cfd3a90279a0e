#pragma once
#include <QString>
#include <QStringList>

class Dialecto;
class LigacaoBd;

// The codes the code box suggests while the user types: up to 25 known codes
// (quick-access codes and the codes of active articles), each once, in code
// order, that begin with the typed text. The text is trimmed and upper-cased
// and then matched as a literal prefix: a quote, %, _ or [ matches only itself.
//
// The two sources are asked directly, the condition in each, so that each is
// read along its index in code order and reading stops at the 25th code; the
// view that joins them would be read in full on every keystroke.
namespace Sugestoes {

inline constexpr int Maximo = 25;

// The prefix that is looked up: the text trimmed and in upper case.
QString prefixo(const QString &texto);

// The statement, with three parameters: the LIKE pattern of each source and
// the empty text that article codes must be greater than (see valores()).
QString instrucao(const Dialecto &dialecto);
QVariantList valores(const QString &prefixo);

// The suggestions for texto; a blank text gives none without a query. A query
// that fails gives none as well (bd.ultimoErro() says why).
QStringList le(LigacaoBd &bd, const QString &texto);

} // namespace Sugestoes
