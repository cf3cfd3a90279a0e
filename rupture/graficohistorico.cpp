#include "graficohistorico.h"

#include "historicoartigo.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

GraficoHistorico::GraficoHistorico(QWidget *pai) : QChartView(pai)
{
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(260);
}

void GraficoHistorico::setDados(const DadosHistorico &d)
{
    auto *grafico = new QChart;
    grafico->setAnimationOptions(QChart::NoAnimation);
    grafico->legend()->setAlignment(Qt::AlignBottom);
    grafico->setMargins(QMargins(4, 4, 4, 4));

    QStringList meses;
    m_vendido = new QBarSet(QStringLiteral("Vendido"));
    m_comprado = new QBarSet(QStringLiteral("Comprado"));
    m_vendido->setColor(QColor(0x2f, 0x6f, 0xb5));
    m_comprado->setColor(QColor(0x9a, 0xc4, 0x6b));
    qreal maior = 1;
    for (const MesHistorico &m : d.meses) {
        meses << m.mes.toString(QStringLiteral("MM-yy"));
        *m_vendido << m.vendido.paraDouble();
        *m_comprado << m.comprado.paraDouble();
        maior = qMax(maior, qMax(m.vendido.paraDouble(), m.comprado.paraDouble()));
    }
    auto *barras = new QBarSeries;
    barras->append(m_vendido);
    barras->append(m_comprado);
    grafico->addSeries(barras);

    // A level as a line over every month (x is the month's place).
    const auto nivel = [&](const QString &nome, const Moeda &valor, const QColor &cor, Qt::PenStyle estilo) {
        auto *s = new QLineSeries;
        s->setName(nome);
        for (int i = 0; i < d.meses.size(); ++i)
            s->append(i, valor.paraDouble());
        s->setPen(QPen(cor, 2, estilo));
        grafico->addSeries(s);
        maior = qMax(maior, valor.paraDouble());
        return s;
    };
    m_stock = nivel(QStringLiteral("Stock actual"), d.stock, QColor(0xc0, 0x39, 0x2b), Qt::SolidLine);
    m_minimo = nivel(QStringLiteral("Stock mínimo"), d.minimo, QColor(0xe6, 0x7e, 0x22), Qt::DashLine);
    m_maximo = nivel(QStringLiteral("Stock máximo"), d.maximo, QColor(0x7f, 0x3f, 0x98), Qt::DashLine);

    auto *eixoX = new QBarCategoryAxis;
    eixoX->append(meses);
    eixoX->setLabelsAngle(-90);
    QFont letra = eixoX->labelsFont();
    letra.setPointSizeF(7);
    eixoX->setLabelsFont(letra);
    auto *eixoY = new QValueAxis;
    eixoY->setRange(0, maior * 1.1);
    eixoY->setLabelFormat(QStringLiteral("%.0f"));
    eixoY->applyNiceNumbers();
    grafico->addAxis(eixoX, Qt::AlignBottom);
    grafico->addAxis(eixoY, Qt::AlignLeft);
    for (QAbstractSeries *s : grafico->series()) {
        s->attachAxis(eixoX);
        s->attachAxis(eixoY);
    }

    QChart *antigo = chart();
    setChart(grafico);
    delete antigo;
}

QStringList GraficoHistorico::meses() const
{
    const auto eixos = chart() ? chart()->axes(Qt::Horizontal) : QList<QAbstractAxis *>();
    auto *eixo = eixos.isEmpty() ? nullptr : qobject_cast<QBarCategoryAxis *>(eixos.first());
    return eixo ? eixo->categories() : QStringList();
}
