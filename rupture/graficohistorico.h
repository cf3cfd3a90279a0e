#pragma once
#include <QChartView>

class QBarSet;
class QLineSeries;
struct DadosHistorico;

// The chart of an article's history: one group of bars per month (sold, and
// bought from suppliers), oldest month at the left, and three level lines
// across all the months: the stock today and the article's minimum and
// maximum. A month without documents has bars of zero, not a gap. The labels
// of the months are "MM-aa".
class GraficoHistorico : public QChartView
{
    Q_OBJECT
public:
    explicit GraficoHistorico(QWidget *pai = nullptr);

    void setDados(const DadosHistorico &dados);

    // The series as drawn, for whoever checks the figures.
    QBarSet *vendido() const { return m_vendido; }
    QBarSet *comprado() const { return m_comprado; }
    QLineSeries *stock() const { return m_stock; }
    QLineSeries *minimo() const { return m_minimo; }
    QLineSeries *maximo() const { return m_maximo; }
    QStringList meses() const;

private:
    QBarSet *m_vendido = nullptr;
    QBarSet *m_comprado = nullptr;
    QLineSeries *m_stock = nullptr;
    QLineSeries *m_minimo = nullptr;
    QLineSeries *m_maximo = nullptr;
};
