#include "mensagens.h"

#include "servicomensagens.h"
#include "versao.h"

namespace {
int mostra(const QString &titulo, const QString &texto, PedidoMensagem::Icone icone,
           PedidoMensagem::Botoes botoes = PedidoMensagem::Ok, int predefinido = 1)
{
    PedidoMensagem pedido;
    pedido.titulo = titulo;
    pedido.texto = texto;
    pedido.icone = icone;
    pedido.botoes = botoes;
    pedido.botaoPredefinido = predefinido;
    return ServicoMensagens::actual().mostra(pedido);
}
}

int Mensagem(const QString &campo, const QString &texto, int tipo)
{
    const QString titulo = QStringLiteral("Informação");
    switch (tipo) {
    case 1:
        mostra(titulo, QStringLiteral("Campo obrigatório") + QStringLiteral(" [") + campo + QStringLiteral("]."),
               PedidoMensagem::Exclamacao);
        return 0;
    case 2:
        mostra(titulo, texto, PedidoMensagem::Informacao);
        return 0;
    case 3:
        return mostra(titulo, texto, PedidoMensagem::Informacao, PedidoMensagem::OkCancelar, 2);
    case 4:
        return mostra(titulo, texto, PedidoMensagem::Informacao, PedidoMensagem::SimNao, 1);
    case 5:
        return mostra(titulo, texto, PedidoMensagem::Informacao, PedidoMensagem::SimNao, 2);
    default:
        return 0;
    }
}

int AvisoTipo(const QString &texto, int tipo)
{
    PedidoMensagem::Icone icone;
    switch (tipo) {
    case 0: icone = PedidoMensagem::Exclamacao; break;
    case 1: icone = PedidoMensagem::Informacao; break;
    case 2: icone = PedidoMensagem::Critico; break;
    default: return 0;
    }
    return mostra(QString::fromUtf8(Versao::Descricao), texto, icone);
}

int MensagemErro(const QString &texto)
{
    return mostra(QString::fromUtf8(Versao::Titulo), texto, PedidoMensagem::Nenhum);
}

int MensagemErro(const QString &texto, const QString &funcao, const QString &modulo)
{
    return MensagemErro(texto + QStringLiteral("\r\nNa função ") + funcao + QStringLiteral(" do Módulo ") + modulo);
}
