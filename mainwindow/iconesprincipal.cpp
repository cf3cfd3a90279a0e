#include "iconesprincipal.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {
// Every image is drawn on a 32 x 32 grid and rendered at several sizes.
constexpr int Grelha = 32;

const QColor tinta(0x2b, 0x3a, 0x55);
const QColor azul(0x2f, 0x6f, 0xb5);
const QColor verde(0x3c, 0x9a, 0x5f);
const QColor laranja(0xe0, 0x8a, 0x1e);
const QColor vermelho(0xc6, 0x3b, 0x2f);
const QColor papel(0xfb, 0xfa, 0xf4);

QPen traco(const QColor &cor, double largura = 2.0)
{
    return QPen(cor, largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void lupa(QPainter &p)
{
    p.setPen(traco(tinta, 3));
    p.setBrush(QColor(0xd8, 0xe8, 0xf8));
    p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
    p.setPen(traco(tinta, 5));
    p.drawLine(QPointF(19.5, 19.5), QPointF(28, 28));
}

void etiqueta(QPainter &p, const QRectF &r, const QColor &cor, const QString &texto)
{
    QPainterPath forma;
    forma.moveTo(r.left() + r.height() / 2, r.top());
    forma.lineTo(r.right(), r.top());
    forma.lineTo(r.right(), r.bottom());
    forma.lineTo(r.left() + r.height() / 2, r.bottom());
    forma.lineTo(r.left(), r.center().y());
    forma.closeSubpath();
    p.setPen(traco(tinta, 1.5));
    p.setBrush(cor);
    p.drawPath(forma);
    p.setBrush(papel);
    p.drawEllipse(QPointF(r.left() + r.height() / 2, r.center().y()), 1.8, 1.8);
    QFont letra = p.font();
    letra.setBold(true);
    letra.setPixelSize(int(r.height() * 0.7));
    p.setFont(letra);
    p.setPen(papel);
    p.drawText(r.adjusted(r.height() / 2 + 2, 0, 0, 0), Qt::AlignCenter, texto);
}

void equivalencias(QPainter &p)
{
    // Two codes joined: two cards with an equals sign between them.
    p.setPen(traco(tinta, 1.5));
    p.setBrush(QColor(0xd8, 0xe8, 0xf8));
    p.drawRoundedRect(QRectF(2, 4, 17, 12), 2, 2);
    p.setBrush(QColor(0xdc, 0xf0, 0xe0));
    p.drawRoundedRect(QRectF(13, 16, 17, 12), 2, 2);
    p.setPen(traco(azul, 1.5));
    p.drawLine(QPointF(5, 8.5), QPointF(15, 8.5));
    p.drawLine(QPointF(5, 12), QPointF(12, 12));
    p.setPen(traco(verde, 1.5));
    p.drawLine(QPointF(16, 20.5), QPointF(26, 20.5));
    p.drawLine(QPointF(16, 24), QPointF(23, 24));
    p.setPen(traco(laranja, 3));
    p.drawLine(QPointF(4, 21), QPointF(10, 21));
    p.drawLine(QPointF(4, 26), QPointF(10, 26));
}

void precos(QPainter &p) { etiqueta(p, QRectF(2, 8, 28, 16), laranja, QStringLiteral("€")); }

void ruptura(QPainter &p)
{
    // Stock falling to nothing: shrinking bars and a red arrow down to the floor.
    p.setPen(Qt::NoPen);
    p.setBrush(azul);
    p.drawRect(QRectF(3, 8, 6, 20));
    p.drawRect(QRectF(11, 15, 6, 13));
    p.drawRect(QRectF(19, 23, 6, 5));
    p.setPen(traco(tinta, 2));
    p.drawLine(QPointF(2, 29), QPointF(30, 29));
    p.setPen(traco(vermelho, 3));
    p.drawLine(QPointF(8, 4), QPointF(27, 21));
    QPainterPath ponta;
    ponta.moveTo(29.5, 23.5);
    ponta.lineTo(21, 21.5);
    ponta.lineTo(27.5, 14.5);
    ponta.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(vermelho);
    p.drawPath(ponta);
}

void compras(QPainter &p)
{
    // A shopping trolley.
    p.setPen(traco(tinta, 2.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath carro;
    carro.moveTo(2, 5);
    carro.lineTo(7, 5);
    carro.lineTo(10.5, 21);
    carro.lineTo(26, 21);
    p.drawPath(carro);
    p.setBrush(QColor(0xdc, 0xf0, 0xe0));
    QPainterPath cesto;
    cesto.moveTo(8, 9);
    cesto.lineTo(29, 9);
    cesto.lineTo(26.5, 18);
    cesto.lineTo(10, 18);
    cesto.closeSubpath();
    p.setPen(traco(verde, 2));
    p.drawPath(cesto);
    p.setPen(Qt::NoPen);
    p.setBrush(tinta);
    p.drawEllipse(QPointF(12.5, 26), 2.6, 2.6);
    p.drawEllipse(QPointF(24, 26), 2.6, 2.6);
}

void necessidades(QPainter &p)
{
    // A clipboard with a list to order.
    p.setPen(traco(tinta, 1.5));
    p.setBrush(QColor(0xc8, 0x9a, 0x62));
    p.drawRoundedRect(QRectF(5, 4, 22, 26), 2, 2);
    p.setBrush(papel);
    p.drawRect(QRectF(8, 8, 16, 19));
    p.setBrush(QColor(0x9a, 0xa4, 0xb0));
    p.drawRoundedRect(QRectF(11, 2, 10, 5), 1.5, 1.5);
    for (int i = 0; i < 3; ++i) {
        const double y = 12.5 + i * 5;
        p.setPen(traco(i == 2 ? vermelho : verde, 1.8));
        p.drawLine(QPointF(10, y), QPointF(12, y + 1.5));
        p.drawLine(QPointF(12, y + 1.5), QPointF(14.5, y - 1.5));
        p.setPen(traco(tinta, 1.5));
        p.drawLine(QPointF(16, y), QPointF(22, y));
    }
}

void precosClientes(QPainter &p)
{
    // A customer with a price tag.
    p.setPen(Qt::NoPen);
    p.setBrush(azul);
    p.drawEllipse(QPointF(10, 8), 5, 5);
    QPainterPath corpo;
    corpo.moveTo(1, 27);
    corpo.cubicTo(1, 15, 19, 15, 19, 27);
    corpo.closeSubpath();
    p.drawPath(corpo);
    etiqueta(p, QRectF(12, 17, 19, 12), laranja, QStringLiteral("€"));
}

void mosaico(QPainter &p)
{
    // The program's mark: four tiles of a mosaic.
    const QColor cores[] = {azul, laranja, verde, QColor(0x8a, 0x4f, 0xa8)};
    for (int i = 0; i < 4; ++i) {
        const QRectF r(3 + (i % 2) * 14, 3 + (i / 2) * 14, 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(cores[i]);
        p.drawRoundedRect(r, 2.5, 2.5);
    }
}

template<class Desenho>
QIcon icone(Desenho desenha)
{
    QIcon resultado;
    for (int lado : {16, 24, 32, 48, 64}) {
        QPixmap imagem(lado, lado);
        imagem.fill(Qt::transparent);
        QPainter p(&imagem);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(double(lado) / Grelha, double(lado) / Grelha);
        desenha(p);
        p.end();
        resultado.addPixmap(imagem);
    }
    return resultado;
}
} // namespace

namespace IconesPrincipal {
QIcon imagem(int numero)
{
    switch (numero) {
    case 1: return icone(lupa);
    case 2: return icone(equivalencias);
    case 3: return icone(precos);
    case 4: return icone(ruptura);
    case 5: return icone(compras);
    case 6: return icone(necessidades);
    case 7: return icone(precosClientes);
    default: return QIcon();
    }
}

QIcon programa() { return icone(mosaico); }
} // namespace IconesPrincipal
