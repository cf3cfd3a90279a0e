#include "avisoestado.h"

namespace AvisoEstado {
namespace {
Destino &destino()
{
    static Destino d;
    return d;
}
} // namespace

void instala(Destino d) { destino() = std::move(d); }

void escreve(const QString &texto)
{
    if (destino())
        destino()(texto);
}

} // namespace AvisoEstado
