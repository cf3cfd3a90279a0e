#pragma once
#include <QString>

// Every message box of the program and of the class library goes through this
// service, so that tests (and hosts without a screen) can answer them. The
// production service shows a QMessageBox; MensagensGravadas records and answers.
struct PedidoMensagem
{
    enum Icone { Nenhum, Informacao, Exclamacao, Pergunta, Critico };
    enum Botoes { Ok, OkCancelar, SimNao };
    QString titulo;
    QString texto;
    Icone icone = Informacao;
    Botoes botoes = Ok;
    int botaoPredefinido = 1;   // 1 = first button, 2 = second
};

class ServicoMensagens
{
public:
    // Standard answer codes.
    enum Resposta { RespOk = 1, RespCancelar = 2, RespSim = 6, RespNao = 7 };

    virtual ~ServicoMensagens() = default;
    virtual int mostra(const PedidoMensagem &pedido) = 0;

    // The process-wide service; the QMessageBox one unless another was installed.
    static ServicoMensagens &actual();
    // Installs a service (nullptr restores the QMessageBox one). Not owned.
    static void instala(ServicoMensagens *servico);
};
