#include "apresentadorhistorico.h"
#include "dialogohistoricoprecos.h"

namespace {

class ApresentadorModal : public ApresentadorHistorico
{
public:
    void mostra(QWidget *pai, const HistoricoPar &historico) override
    {
        DialogoHistoricoPrecos dialogo(historico, pai);
        dialogo.exec();
    }
};

ApresentadorHistorico *g_apresentador = nullptr;

} // namespace

void ApresentadorHistorico::instala(ApresentadorHistorico *apresentador) { g_apresentador = apresentador; }

ApresentadorHistorico &ApresentadorHistorico::actual()
{
    static ApresentadorModal modal;
    return g_apresentador ? *g_apresentador : modal;
}
