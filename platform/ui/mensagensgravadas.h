#pragma once
#include "servicomensagens.h"

#include <QList>
#include <QQueue>

// The message service for tests and for hosts without a screen: it shows
// nothing, records every box asked for (title, text, icon, buttons, default
// button) and answers from a queue of answer codes, or with the box's default
// button when the queue is empty. It never blocks. It uninstalls itself when
// destroyed while installed.
class MensagensGravadas : public ServicoMensagens
{
public:
    MensagensGravadas() = default;
    ~MensagensGravadas() override;
    MensagensGravadas(const MensagensGravadas &) = delete;
    MensagensGravadas &operator=(const MensagensGravadas &) = delete;

    int mostra(const PedidoMensagem &pedido) override;

    using ServicoMensagens::instala;
    // Makes this the process-wide service.
    void instala() { ServicoMensagens::instala(this); }

    // Queues the answer of the next box (ServicoMensagens::Resposta codes).
    void responde(int codigo) { m_respostas.enqueue(codigo); }

    const QList<PedidoMensagem> &pedidos() const { return m_pedidos; }
    int quantos() const { return int(m_pedidos.size()); }
    // The last box asked for (an empty request when there was none).
    PedidoMensagem ultimo() const { return m_pedidos.isEmpty() ? PedidoMensagem() : m_pedidos.last(); }
    // Forgets the recorded boxes and the queued answers.
    void limpa();

    // The answer of a box's default button.
    static int respostaPredefinida(const PedidoMensagem &pedido);

private:
    QList<PedidoMensagem> m_pedidos;
    QQueue<int> m_respostas;
};
