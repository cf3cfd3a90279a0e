// The message routines' titles, icons, buttons and answers, through the
// recording service; and the real message box answering Enter and Esc.
#include "mensagens.h"
#include "mensagensgravadas.h"
#include "testmain.h"
#include "versao.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {
// Presses a key in the message box as soon as one is shown, and tells what
// its buttons read.
class RespondeCaixa : public QObject
{
public:
    RespondeCaixa(Qt::Key tecla)
        : m_tecla(tecla)
    {
        connect(&m_relogio, &QTimer::timeout, this, [this] {
            auto *caixa = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!caixa)
                return;
            for (QAbstractButton *b : caixa->buttons())
                legendas << b->text();
            m_relogio.stop();
            QTest::keyClick(caixa, m_tecla);
        });
        m_relogio.start(20);
    }
    QStringList legendas;

private:
    Qt::Key m_tecla;
    QTimer m_relogio;
};
}

class TstMensagens : public QObject
{
    Q_OBJECT

private slots:
    void mensagemPorTipo()
    {
        MensagensGravadas gravadas;
        gravadas.instala();
        const QString titulo = QStringLiteral("Informação");

        QCOMPARE(Mensagem(QStringLiteral("Fornecedor"), QString(), 1), 0);
        QCOMPARE(gravadas.ultimo().titulo, titulo);
        QCOMPARE(gravadas.ultimo().texto, QStringLiteral("Campo obrigatório [Fornecedor]."));
        QCOMPARE(gravadas.ultimo().icone, PedidoMensagem::Exclamacao);
        QCOMPARE(gravadas.ultimo().botoes, PedidoMensagem::Ok);

        QCOMPARE(Mensagem(QString(), QStringLiteral("Fornecedor inexistente!"), 2), 0);
        QCOMPARE(gravadas.ultimo().texto, QStringLiteral("Fornecedor inexistente!"));
        QCOMPARE(gravadas.ultimo().icone, PedidoMensagem::Informacao);

        // Unanswered boxes give their default button.
        QCOMPARE(Mensagem(QString(), QStringLiteral("Grava?"), 3), int(ServicoMensagens::RespCancelar));
        QCOMPARE(gravadas.ultimo().botoes, PedidoMensagem::OkCancelar);
        QCOMPARE(Mensagem(QString(), QStringLiteral("Grava?"), 4), int(ServicoMensagens::RespSim));
        QCOMPARE(gravadas.ultimo().botoes, PedidoMensagem::SimNao);
        QCOMPARE(Mensagem(QString(), QStringLiteral("Apaga?"), 5), int(ServicoMensagens::RespNao));
        QCOMPARE(gravadas.ultimo().botaoPredefinido, 2);
        QCOMPARE(gravadas.ultimo().titulo, titulo);

        gravadas.responde(ServicoMensagens::RespSim);
        QCOMPARE(Mensagem(QString(), QStringLiteral("Apaga?"), 5), int(ServicoMensagens::RespSim));
        gravadas.responde(ServicoMensagens::RespOk);
        QCOMPARE(Mensagem(QString(), QStringLiteral("Aviso"), 2), 0);   // kinds 1 and 2 give 0 whatever was pressed

        const int antes = gravadas.quantos();
        QCOMPARE(Mensagem(QString(), QStringLiteral("nada"), 6), 0);
        QCOMPARE(gravadas.quantos(), antes);
    }

    void avisosEErros()
    {
        MensagensGravadas gravadas;
        gravadas.instala();
        const PedidoMensagem::Icone icones[] = {PedidoMensagem::Exclamacao, PedidoMensagem::Informacao,
                                               PedidoMensagem::Critico};
        for (int tipo = 0; tipo < 3; ++tipo) {
            QCOMPARE(AvisoTipo(QStringLiteral("O artigo não existe !"), tipo), int(ServicoMensagens::RespOk));
            QCOMPARE(gravadas.ultimo().icone, icones[tipo]);
            QCOMPARE(gravadas.ultimo().titulo, QString::fromUtf8(Versao::Descricao));
            QCOMPARE(gravadas.ultimo().botoes, PedidoMensagem::Ok);
        }
        QCOMPARE(AvisoTipo(QStringLiteral("nada"), 3), 0);
        QCOMPARE(gravadas.quantos(), 3);

        QCOMPARE(MensagemErro(QStringLiteral("Erro 3 (falhou)")), int(ServicoMensagens::RespOk));
        QCOMPARE(gravadas.ultimo().titulo, QString::fromUtf8(Versao::Titulo));
        // A window's failure names the routine and the window it happened in.
        QCOMPARE(MensagemErro(QStringLiteral("Erro 3 (falhou)"), QStringLiteral("btCarga_Click"), QStringLiteral("RupturaStocks")),
                 int(ServicoMensagens::RespOk));
        QCOMPARE(gravadas.ultimo().texto, QStringLiteral("Erro 3 (falhou)\r\nNa função btCarga_Click do Módulo RupturaStocks"));
        QCOMPARE(gravadas.ultimo().titulo, QString::fromUtf8(Versao::Titulo));
    }

    void servicoRestauradoAoDestruir()
    {
        ServicoMensagens *padrao = &ServicoMensagens::actual();
        {
            MensagensGravadas gravadas;
            gravadas.instala();
            QCOMPARE(&ServicoMensagens::actual(), static_cast<ServicoMensagens *>(&gravadas));
        }
        QCOMPARE(&ServicoMensagens::actual(), padrao);
    }

    void caixaVerdadeira()
    {
        // Enter presses the default button (No), Esc answers Cancel.
        {
            RespondeCaixa enter(Qt::Key_Return);
            QCOMPARE(Mensagem(QString(), QStringLiteral("Apaga?"), 5), int(ServicoMensagens::RespNao));
            enter.legendas.sort();
            QCOMPARE(enter.legendas, (QStringList{QStringLiteral("&Não"), QStringLiteral("&Sim")}));
        }
        {
            RespondeCaixa esc(Qt::Key_Escape);
            QCOMPARE(Mensagem(QString(), QStringLiteral("Grava?"), 3), int(ServicoMensagens::RespCancelar));
        }
        {
            RespondeCaixa enter(Qt::Key_Return);
            QCOMPARE(Mensagem(QString(), QStringLiteral("Grava?"), 4), int(ServicoMensagens::RespSim));
        }
    }
};

TESSELA_TEST_MAIN(TstMensagens)
#include "tst_mensagens.moc"
