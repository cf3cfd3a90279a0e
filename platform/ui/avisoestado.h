#pragma once
#include <QString>

#include <functional>

// The main window's status line, for controls that have a short notice to
// give without a box: the code box, when a read found the database busy or
// failed, says so there instead of showing an empty list that looks like "no
// such code". The main window installs its EscreveStatus; tests install a
// recorder; with nothing installed a notice goes nowhere.
namespace AvisoEstado {

using Destino = std::function<void(const QString &)>;

// Replaces the destination (an empty one removes it).
void instala(Destino destino);
// Writes the text into the status line; the empty text clears it.
void escreve(const QString &texto);

} // namespace AvisoEstado
