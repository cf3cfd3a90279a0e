#include "mensagensgravadas.h"

MensagensGravadas::~MensagensGravadas()
{
    if (&ServicoMensagens::actual() == this)
        ServicoMensagens::instala(nullptr);
}

int MensagensGravadas::mostra(const PedidoMensagem &pedido)
{
    m_pedidos.append(pedido);
    return m_respostas.isEmpty() ? respostaPredefinida(pedido) : m_respostas.dequeue();
}

void MensagensGravadas::limpa()
{
    m_pedidos.clear();
    m_respostas.clear();
}

int MensagensGravadas::respostaPredefinida(const PedidoMensagem &pedido)
{
    const bool segundo = pedido.botaoPredefinido == 2;
    switch (pedido.botoes) {
    case PedidoMensagem::OkCancelar: return segundo ? RespCancelar : RespOk;
    case PedidoMensagem::SimNao: return segundo ? RespNao : RespSim;
    case PedidoMensagem::Ok: break;
    }
    return RespOk;
}
