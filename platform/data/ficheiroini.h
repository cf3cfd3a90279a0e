#pragma once
#include <QString>

// A sectioned settings file a person can read and edit:
//
//   [Encomenda Next]
//   Tipo documento=ENF
//
// Values come back exactly as they were written, in UTF-8. A value with a
// blank or a tab at an end, one that begins with a double quote, and one that
// holds a line break or another control character is written between double
// quotes with \\, \", \n, \r, \t and \uXXXX escapes, so that no value can
// add a key or a section; any other value is written as it stands. Reading
// leaves out the blanks around the "=" (a hand-edited "Servidor = x" reads
// "x"). Section and key names that would break a line are refused. Lines that
// are not "key=value" or "[section]" (comments, blank lines) are kept when the
// file is rewritten. The file is left readable by its owner only after every
// write, because it holds connection passwords. Writes go through a temporary
// file and a rename, so a failed write never leaves half a file.
class FicheiroIni
{
public:
    FicheiroIni() = default;
    explicit FicheiroIni(const QString &ficheiro) : m_ficheiro(ficheiro) {}

    void setFicheiro(const QString &ficheiro) { m_ficheiro = ficheiro; }
    QString Ficheiro() const { return m_ficheiro; }

    // The longest value kept: as much as a text field of the dialogs holds.
    static constexpr int MaximoValor = 32767;

    // The value of section/key; empty when the file, section or key is missing.
    // Section and key names compare without regard to case. A value longer
    // than MaximoValor is not read: empty, with erro() naming section and key.
    QString Le(const QString &seccao, const QString &chave) const;
    // Writes the value; false (with erro()) when the file cannot be read or
    // written, or the value is longer than MaximoValor.
    bool Escreve(const QString &seccao, const QString &chave, const QString &valor);

    // Why the last operation failed; empty after a success.
    QString erro() const { return m_erro; }

private:
    QString m_ficheiro;
    mutable QString m_erro;
};
