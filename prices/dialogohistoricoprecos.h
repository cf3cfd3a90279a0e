#pragma once
#include "historicoprecos.h"

#include <QDialog>

class QChartView;
class QLabel;
class QLineSeries;
class QTreeWidget;

// The price history of one pair: the pair and its names, the price it has
// now, the list of its previous values newest first (when it changed, who
// changed it, what was done, and the date, price, reference and observation
// it had) and, when there are two or more values with a date, a small line
// chart of the price over time. Esc or "Fechar" closes it.
class DialogoHistoricoPrecos : public QDialog
{
    Q_OBJECT
public:
    explicit DialogoHistoricoPrecos(const HistoricoPar &historico, QWidget *pai = nullptr);

    QLabel *cabecalho() const { return m_cabecalho; }
    QLabel *actual() const { return m_actual; }
    QTreeWidget *lista() const { return m_lista; }
    // The chart and its line; nullptr with fewer than two values to draw.
    QChartView *grafico() const { return m_grafico; }
    QLineSeries *serie() const { return m_serie; }

    // The list's column headings for a side (suppliers have the reference).
    static QStringList colunas(LadoPrecos lado);
    // What the operation of a history row is called in the list.
    static QString nomeOperacao(const QString &operacao);

private:
    void criaGrafico(const QList<QPair<QDate, Moeda>> &pontos);

    QLabel *m_cabecalho = nullptr;
    QLabel *m_actual = nullptr;
    QTreeWidget *m_lista = nullptr;
    QChartView *m_grafico = nullptr;
    QLineSeries *m_serie = nullptr;
};
