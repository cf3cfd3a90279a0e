// The preview's tool icons, drawn here so they look the same on every desktop.
#include "visualizadorimpressao.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

QIcon desenha(const std::function<void(QPainter &)> &traco)
{
    QPixmap px(32, 32);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    traco(p);
    return QIcon(px);
}

void lupa(QPainter &p)
{
    p.drawEllipse(QRectF(5, 5, 16, 16));
    p.setPen(QPen(QColor(40, 60, 90), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(27, 27));
    p.setPen(QPen(QColor(40, 60, 90), 2.2, Qt::SolidLine, Qt::RoundCap));
}

} // namespace

namespace IconesImpressao {

QIcon imprimir()
{
    return desenha([](QPainter &p) {
        p.drawRect(QRectF(9, 3, 14, 9));
        p.setBrush(QColor(200, 210, 225));
        p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 19, 14, 10));
    });
}

QIcon copiar()
{
    return desenha([](QPainter &p) {
        p.drawRect(QRectF(4, 4, 15, 19));
        p.drawRect(QRectF(12, 10, 15, 19));
    });
}

QIcon procurar() { return desenha(lupa); }

QIcon paginaSimples()
{
    return desenha([](QPainter &p) { p.drawRect(QRectF(8, 3, 16, 26)); });
}

QIcon paginasMultiplas()
{
    return desenha([](QPainter &p) {
        for (int x : {3, 17})
            for (int y : {3, 17})
                p.drawRect(QRectF(x, y, 11, 11));
    });
}

QIcon diminuir()
{
    return desenha([](QPainter &p) {
        lupa(p);
        p.drawLine(QPointF(9, 13), QPointF(17, 13));
    });
}

QIcon aumentar()
{
    return desenha([](QPainter &p) {
        lupa(p);
        p.drawLine(QPointF(9, 13), QPointF(17, 13));
        p.drawLine(QPointF(13, 9), QPointF(13, 17));
    });
}

QIcon pdf()
{
    return desenha([](QPainter &p) {
        QPainterPath folha;
        folha.moveTo(6, 3);
        folha.lineTo(20, 3);
        folha.lineTo(26, 9);
        folha.lineTo(26, 29);
        folha.lineTo(6, 29);
        folha.closeSubpath();
        p.drawPath(folha);
        p.setPen(QColor(190, 30, 30));
        QFont f = p.font();
        f.setPixelSize(9);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(6, 12, 20, 14), Qt::AlignCenter, QStringLiteral("PDF"));
    });
}

}
