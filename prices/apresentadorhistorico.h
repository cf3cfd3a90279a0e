#pragma once

class QWidget;
struct HistoricoPar;

// Shows a pair's price history. The program shows the modal dialog
// (DialogoHistoricoPrecos); tests and the screenshot tour install their own
// presenter, which records what would be shown and never blocks.
class ApresentadorHistorico
{
public:
    virtual ~ApresentadorHistorico() = default;
    virtual void mostra(QWidget *pai, const HistoricoPar &historico) = 0;

    // Installs a presenter for the whole process (nullptr restores the modal
    // dialog). Not owned.
    static void instala(ApresentadorHistorico *apresentador);
    static ApresentadorHistorico &actual();
};
