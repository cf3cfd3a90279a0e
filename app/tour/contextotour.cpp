#include "contextotour.h"
#include "paginatour.h"

#include "enviateclas.h"
#include "frmmain.h"
#include "ligacaobd.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWindow>
#include <QTextStream>
#include <QWidget>

QList<PaginaTour> &PaginaTour::todas()
{
    static QList<PaginaTour> paginas;
    return paginas;
}

ContextoTour::ContextoTour(const QString &pastaSaida, const QString &ficheiroBase, const QString &ficheiroConfiguracao,
                           LigacaoBd &bd, MensagensGravadas &mensagens, ListaRespostas &listas)
    : m_saida(pastaSaida), m_base(ficheiroBase), m_configuracao(ficheiroConfiguracao), m_bd(bd), m_mensagens(mensagens),
      m_listas(listas)
{
}

ContextoTour::~ContextoTour() = default;

frmMain &ContextoTour::principal()
{
    if (!m_principal) {
        m_principal = std::make_unique<frmMain>();
        m_principal->setBd(&m_bd);
        m_principal->Mostra();
        m_principal->move(0, 0);
        m_principal->resize(1100, 720);
        activa(m_principal.get());
    }
    return *m_principal;
}

void ContextoTour::fechaPrincipal()
{
    if (m_principal)
        m_principal->close();
    m_principal.reset();
    processa();
}

void ContextoTour::activa(QWidget *janela)
{
    janela->activateWindow();
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < 2000
           && !(janela->windowHandle() && janela->windowHandle()->isExposed() && janela->isActiveWindow()))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    processa();
}

void ContextoTour::processa(int vezes)
{
    for (int i = 0; i < vezes; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

void ContextoTour::escreveCampo(QWidget *campo, const QString &codigo)
{
    campo->setFocus();
    for (const QChar c : codigo) {
        QKeyEvent tecla(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(campo, &tecla);
    }
    EnviaTeclas(QStringLiteral("{TAB}"));
    processa();
}

bool ContextoTour::grava(QWidget *janela, const QString &nome)
{
    if (!janela->isVisible())
        janela->show();
    activa(janela->window());
    const QPixmap corpo = janela->grab();
    QPixmap imagem = corpo;

    // A plain title bar over top-level windows (not over the splash window).
    if (janela->isWindow() && janela->windowType() != Qt::SplashScreen && !janela->windowTitle().isEmpty()) {
        const int altura = 30;
        imagem = QPixmap(corpo.width(), corpo.height() + altura);
        imagem.fill(QColor(0x2b, 0x3a, 0x55));
        QPainter p(&imagem);
        p.setRenderHint(QPainter::Antialiasing);
        const QIcon icone = janela->windowIcon();
        int x = 8;
        if (!icone.isNull()) {
            icone.paint(&p, QRect(x, 6, 18, 18));
            x += 26;
        }
        QFont letra = janela->font();
        letra.setBold(true);
        p.setFont(letra);
        p.setPen(Qt::white);
        p.drawText(QRect(x, 0, corpo.width() - x - 60, altura), Qt::AlignVCenter | Qt::AlignLeft,
                   janela->windowTitle());
        // Minimise, maximise and close (dialogs: close only), as on a common desktop.
        p.setPen(QPen(QColor(0xdd, 0xe3, 0xea), 1.6));
        const int y = altura / 2;
        const int d = corpo.width() - 16;
        p.drawLine(d - 4, y - 4, d + 4, y + 4);
        p.drawLine(d - 4, y + 4, d + 4, y - 4);
        if (janela->windowType() != Qt::Dialog) {
            p.drawRect(d - 28, y - 4, 8, 8);
            p.drawLine(d - 52, y + 4, d - 44, y + 4);
        }
        p.drawPixmap(0, altura, corpo);
    }

    const QString ficheiro = QDir(m_saida).filePath(nome + QStringLiteral(".png"));
    if (!imagem.save(ficheiro)) {
        QTextStream(stderr) << "Não foi possível escrever " << ficheiro << Qt::endl;
        return false;
    }
    m_gravados << ficheiro;
    QTextStream(stdout) << "  " << QDir::toNativeSeparators(ficheiro) << Qt::endl;
    return true;
}
