#include "servicomensagens.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

namespace {
// The service of the running program: a modal QMessageBox in Portuguese over
// the active window. Enter presses the default button; Esc answers Cancel or No.
class ServicoCaixas : public ServicoMensagens
{
public:
    int mostra(const PedidoMensagem &pedido) override
    {
        QMessageBox caixa(QApplication::activeWindow());
        caixa.setWindowTitle(pedido.titulo);
        caixa.setText(pedido.texto);
        caixa.setIcon(icone(pedido.icone));
        QMessageBox::StandardButton primeiro = QMessageBox::Ok, segundo = QMessageBox::NoButton;
        if (pedido.botoes == PedidoMensagem::OkCancelar)
            segundo = QMessageBox::Cancel;
        else if (pedido.botoes == PedidoMensagem::SimNao) {
            primeiro = QMessageBox::Yes;
            segundo = QMessageBox::No;
        }
        caixa.setStandardButtons(primeiro | segundo);
        legenda(caixa, QMessageBox::Ok, QStringLiteral("OK"));
        legenda(caixa, QMessageBox::Cancel, QStringLiteral("Cancelar"));
        legenda(caixa, QMessageBox::Yes, QStringLiteral("&Sim"));
        legenda(caixa, QMessageBox::No, QStringLiteral("&Não"));
        caixa.setDefaultButton(pedido.botaoPredefinido == 2 && segundo != QMessageBox::NoButton ? segundo : primeiro);
        caixa.setEscapeButton(segundo != QMessageBox::NoButton ? segundo : primeiro);
        caixa.exec();
        switch (caixa.standardButton(caixa.clickedButton())) {
        case QMessageBox::Ok: return RespOk;
        case QMessageBox::Cancel: return RespCancelar;
        case QMessageBox::Yes: return RespSim;
        case QMessageBox::No: return RespNao;
        default: return segundo == QMessageBox::Cancel ? RespCancelar : segundo == QMessageBox::No ? RespNao : RespOk;
        }
    }

private:
    static QMessageBox::Icon icone(PedidoMensagem::Icone i)
    {
        switch (i) {
        case PedidoMensagem::Nenhum: return QMessageBox::NoIcon;
        case PedidoMensagem::Informacao: return QMessageBox::Information;
        case PedidoMensagem::Exclamacao: return QMessageBox::Warning;
        case PedidoMensagem::Pergunta: return QMessageBox::Question;
        case PedidoMensagem::Critico: return QMessageBox::Critical;
        }
        return QMessageBox::NoIcon;
    }
    static void legenda(QMessageBox &caixa, QMessageBox::StandardButton botao, const QString &texto)
    {
        if (QAbstractButton *b = caixa.button(botao))
            b->setText(texto);
    }
};

ServicoCaixas servicoCaixas;
ServicoMensagens *servicoInstalado = nullptr;
}

ServicoMensagens &ServicoMensagens::actual()
{
    return servicoInstalado ? *servicoInstalado : servicoCaixas;
}

void ServicoMensagens::instala(ServicoMensagens *servico)
{
    servicoInstalado = servico;
}
