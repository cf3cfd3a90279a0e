#pragma once
#include <QString>

// How codes compare on the embedded SQLite database: as the ERP's server
// compares them. Letter case is ignored for every letter (accented ones
// included: "é" equals "É"), accents are not ("e" and "é" differ), and blanks
// at the end are ignored ("F001 " equals "F001"). In order, an accented letter
// comes right after its plain letter ("c" < "ç" < "d"), and texts are compared
// character by character, so every text that begins with a prefix lies
// between the prefix and the prefix followed by maiorCaracter(): prefix
// searches are index ranges.
//
// The program registers this comparison on every SQLite connection it opens
// under the name Nome; the schema declares code columns "COLLATE CODIGOERP".
// The loadable extension codigoerp (built next to the program) registers the
// same function in the sqlite3 shell. Without it, a file that uses it cannot
// be written by another program with another order for its indexes.
namespace ComparaCodigos {

inline constexpr const char *Nome = "CODIGOERP";

// Negative, zero or positive, as a comes before, equals or comes after b.
// Both are UTF-8; an invalid byte counts as the character of its value.
int compara(const char *a, int na, const char *b, int nb);
int compara(const QString &a, const QString &b);

// The text that every code equal to codigo gives, and only those: blanks at
// the end left out and every letter folded. For matching codes in memory
// (a hash) as the database matches them.
QString chave(const QString &codigo);

// The length of a text as a column of the server measures it against its
// declared size: characters, blanks at the end left out (the server drops
// those silently instead of refusing the value).
int comprimento(const QString &texto);

// The character that comes after every other (U+10FFFF).
QString maiorCaracter();

// The callback SQLite calls (its signature): the first argument is unused.
int comparaSqlite(void *, int na, const void *a, int nb, const void *b);

} // namespace ComparaCodigos
