#pragma once
#include <QString>

class AcercaDe;

// The program's name, description and version as the splash window and the
// About box show them. The build carries a four-number version; the user sees
// major.minor.revision (the third number is not shown).
namespace VersaoPrograma {
QString titulo();
QString descricao();
// "major.minor.revision" of a four-number version, plain integers.
QString texto(int major, int minor, int build, int revision);
// The text of this build's version.
QString texto();

// Gives an About dialog, in this order, the title, the description and the
// version (without prefix).
void preencheAcercaDe(AcercaDe &acerca);
}
