#pragma once
#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

class QSqlQuery;

// The rows of a lookup list, held as display texts, with a filter that keeps
// the rows where any column contains the typed text (without regard to case).
// Built for large lists (hundreds of thousands of rows): cells are kept in one
// flat vector, the visible rows are a vector of indices, and a filter that only
// narrows the previous one scans just the rows still visible.
class ModeloLista : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ModeloLista(QObject *parent = nullptr);

    // Reads every row of an executed query. The first column is kept as the
    // database gives it (it is the code to return); the others are formatted
    // for reading (dates dd-mm-yyyy, numbers with a decimal comma).
    void carrega(QSqlQuery &consulta);
    // Replaces the contents (for lists built in memory).
    void define(const QStringList &cabecalhos, const QList<QStringList> &linhas);

    int rowCount(const QModelIndex &pai = {}) const override;
    int columnCount(const QModelIndex &pai = {}) const override;
    QVariant data(const QModelIndex &indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int seccao, Qt::Orientation orientacao, int papel = Qt::DisplayRole) const override;

    void setFiltro(const QString &texto);
    QString filtro() const { return m_filtro; }

    int linhasTotal() const { return m_total; }
    QStringList cabecalhos() const { return m_cabecalhos; }
    // Text of a cell of a visible row; empty out of range.
    QString texto(int linha, int coluna) const;
    // The code (first column) of a visible row; empty out of range.
    QString codigo(int linha) const { return texto(linha, 0); }

private:
    int linhaReal(int visivel) const { return m_filtrado ? m_visiveis.at(visivel) : visivel; }
    bool contem(int linhaReal, const QString &texto) const;

    QStringList m_cabecalhos;
    QList<bool> m_aDireita;       // numeric columns are right-aligned
    QVector<QString> m_celulas;   // row-major: row * columns + column
    int m_total = 0;
    QString m_filtro;
    bool m_filtrado = false;
    QVector<int> m_visiveis;
};
