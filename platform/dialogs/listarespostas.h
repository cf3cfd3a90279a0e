#pragma once
#include "listapesquisa.h"

#include <QList>
#include <QStringList>

// Answers lookup lists from a queue, for tests: nothing is shown and nothing
// blocks. Each list shown is recorded (title, SQL, bound values, widths and
// what was loaded). With the queue empty the answer is the empty text, as if
// the user had pressed Esc. Installs itself while it lives and puts the
// previous presenter back when destroyed.
class ListaRespostas : public ApresentadorLista
{
public:
    struct Pedido
    {
        QString titulo;
        QString sql;
        QVariantList valores;
        int largura = 0;
        QList<int> largurasColunas;   // twips, one per loaded column (0 = not set)
        QStringList colunas;          // column headings of the loaded rows
        QStringList codigos;          // first column of every loaded row
        QString erro;                 // why loading failed, empty when it worked
        QString resposta;
    };

    ListaRespostas();
    ~ListaRespostas() override;

    // Queues an answer: a code as given, or the code of a row of the loaded list
    // (the empty text when the list has no such row).
    void responde(const QString &codigo);
    void respondeLinha(int linha);
    int porResponder() const { return int(m_respostas.size()); }

    QString escolhe(ListaPesquisa &lista) override;

    QList<Pedido> pedidos;

private:
    struct Resposta
    {
        QString codigo;
        int linha = -1;
    };
    QList<Resposta> m_respostas;
    ApresentadorLista *m_anterior = nullptr;
};
