#pragma once
#include "apresentadorhistorico.h"
#include "historicoprecos.h"

#include <QList>

// Records every price history the windows ask to show, without showing it.
// Installs itself while it lives and puts the modal dialog back when destroyed.
class HistoricoRespostas : public ApresentadorHistorico
{
public:
    HistoricoRespostas() { ApresentadorHistorico::instala(this); }
    ~HistoricoRespostas() override { ApresentadorHistorico::instala(nullptr); }
    HistoricoRespostas(const HistoricoRespostas &) = delete;
    HistoricoRespostas &operator=(const HistoricoRespostas &) = delete;

    void mostra(QWidget *, const HistoricoPar &historico) override { mostrados << historico; }

    QList<HistoricoPar> mostrados;
};
