#pragma once
#include <QString>

// A sectioned settings file a person can read and edit:
//
//   [Encomenda Next]
//   Tipo documento=ENF
//
// Keys and values are written as they stand (spaces included), in UTF-8.
// Lines that are not "key=value" or "[section]" (comments, blank lines) are
// kept when the file is rewritten. A new file is created readable by its owner
// only, because it holds connection passwords. Writes go through a temporary
// file and a rename, so a failed write never leaves half a file.
class FicheiroIni
{
public:
    FicheiroIni() = default;
    explicit FicheiroIni(const QString &ficheiro) : m_ficheiro(ficheiro) {}

    void setFicheiro(const QString &ficheiro) { m_ficheiro = ficheiro; }
    QString Ficheiro() const { return m_ficheiro; }

    // The value of section/key; empty when the file, section or key is missing.
    // Section and key names compare without regard to case.
    QString Le(const QString &seccao, const QString &chave) const;
    // Writes the value; false (with erro()) when the file cannot be read or written.
    bool Escreve(const QString &seccao, const QString &chave, const QString &valor);

    // Why the last operation failed; empty after a success.
    QString erro() const { return m_erro; }

private:
    QString m_ficheiro;
    mutable QString m_erro;
};
