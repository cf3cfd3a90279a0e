#include "frmsplash.h"

#include "iconesprincipal.h"
#include "versaoprograma.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int Largura = 520;
constexpr int Altura = 280;
constexpr int Faixa = 150;   // the mosaic band on the left
}

frmSplash::frmSplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_nome(new QLabel(QStringLiteral("Nome da Aplicação"), this)),
      m_versao(new QLabel(QStringLiteral("Version"), this)),
      m_aFazer(new QLabel(QStringLiteral("O que esta a ser feito"), this))
{
    setObjectName(QStringLiteral("frmSplash"));
    m_nome->setObjectName(QStringLiteral("lbNomeAplicacao"));
    m_versao->setObjectName(QStringLiteral("lblVersion"));
    m_aFazer->setObjectName(QStringLiteral("AFazer"));
    setWindowIcon(IconesPrincipal::programa());
    setFixedSize(Largura, Altura);

    QFont letra = font();
    letra.setPointSizeF(letra.pointSizeF() * 2.2);
    letra.setBold(true);
    m_nome->setFont(letra);
    QFont pequena = font();
    pequena.setPointSizeF(pequena.pointSizeF() * 1.1);
    m_versao->setFont(pequena);
    for (QLabel *l : {m_nome, m_versao, m_aFazer})
        l->setTextFormat(Qt::PlainText);
    m_versao->setStyleSheet(QStringLiteral("color: #4a5568"));
    m_aFazer->setStyleSheet(QStringLiteral("color: #2b3a55"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Faixa + 28, 36, 24, 22);
    layout->addWidget(m_nome);
    layout->addWidget(m_versao);
    layout->addStretch();
    layout->addWidget(m_aFazer);

    // What loading fills in.
    m_nome->setText(VersaoPrograma::titulo());
    m_versao->setText(QStringLiteral("Versão ") + VersaoPrograma::texto());
    centraNoEcra();
}

void frmSplash::setAFazer(const QString &texto)
{
    m_aFazer->setText(texto);
    m_aFazer->repaint();
    repaint();
}

QString frmSplash::aFazer() const { return m_aFazer->text(); }

void frmSplash::centraNoEcra()
{
    const QScreen *ecra = QGuiApplication::primaryScreen();
    if (!ecra)
        return;
    const QRect area = ecra->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void frmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0xfb, 0xfa, 0xf4));

    // A band of mosaic tiles on the left, the program's mark over it.
    const QColor cores[] = {QColor(0x2f, 0x6f, 0xb5), QColor(0xe0, 0x8a, 0x1e), QColor(0x3c, 0x9a, 0x5f),
                            QColor(0x8a, 0x4f, 0xa8), QColor(0x4f, 0x8f, 0xd0), QColor(0xc6, 0x3b, 0x2f)};
    p.fillRect(QRect(0, 0, Faixa, height()), QColor(0x2b, 0x3a, 0x55));
    const int lado = 26, passo = 34, margem = 11;
    for (int linha = 0; linha * passo < height(); ++linha)
        for (int coluna = 0; margem + coluna * passo + lado <= Faixa; ++coluna) {
            const int i = (linha * 7 + coluna * 3 + linha * coluna) % 6;
            QColor c = cores[i];
            c.setAlpha(90 + ((linha + coluna) % 3) * 55);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawRoundedRect(QRectF(margem + coluna * passo, margem + linha * passo, lado, lado), 4, 4);
        }
    const QRect marca(Faixa / 2 - 40, height() / 2 - 40, 80, 80);
    p.setBrush(QColor(0xfb, 0xfa, 0xf4));
    p.drawRoundedRect(marca.adjusted(-8, -8, 8, 8), 12, 12);
    IconesPrincipal::programa().paint(&p, marca);

    p.setPen(QPen(QColor(0xcb, 0xd2, 0xdc), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawLine(Faixa + 28, height() - 56, width() - 24, height() - 56);
}
