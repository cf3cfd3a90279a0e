#include "errobd.h"
#include "comparacodigos.h"

bool ErroBd::daBase() const
{
    switch (numero) {
    case ErroLigacao:
    case BaseOcupada:
    case SoLeitura:
    case ErroDisco:
    case DiscoCheio:
        return true;
    default:
        return false;
    }
}

ErroBd ErroBd::textoLongo(const QString &coluna, const QString &valor, int maximo)
{
    return ErroBd{TextoLongo, QStringLiteral("O valor \"%1\" tem %2 caracteres e a coluna %3 só aceita %4")
                                  .arg(valor)
                                  .arg(ComparaCodigos::comprimento(valor))
                                  .arg(coluna)
                                  .arg(maximo)};
}
