#pragma once
#include "colunagrelha.h"

#include <QAbstractTableModel>
#include <QList>

// The grid's cells: a list of rows, each a list of values by data column, and
// the column settings. Row r of the model is grid row r + 1; when adding rows
// is allowed one more model row follows the data rows: the new-row line, which
// holds nothing and becomes a data row when the user starts writing on it.
//
// One flags() rule decides what may be edited: the grid is not read-only and
// the column is not read-only. While frozen (the grid's redraw off) cell
// writes raise no dataChanged; thawing raises one covering every cell.
class ModeloGrelha : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The stored value of a cell, unformatted.
    static constexpr int ValorRole = Qt::UserRole;

    explicit ModeloGrelha(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Columns.
    const QList<ColunaGrelha> &colunas() const { return m_colunas; }
    void limpaColunas();
    void adicionaColuna(const ColunaGrelha &c);
    void alteraColuna(int coluna, const ColunaGrelha &c);
    int indiceColuna(const QString &chave) const;   // case-insensitive, -1 when missing

    // Data rows (the new-row line is not counted).
    int linhas() const { return int(m_linhas.size()); }
    void setLinhas(int n);
    void removeLinha(int linha);
    QVariant valor(int linha, int coluna) const;
    bool setValor(int linha, int coluna, const QVariant &v);
    // Replaces columns and rows at once (binding a result set).
    void substitui(const QList<ColunaGrelha> &colunas, QList<QVariantList> &&linhas);

    bool novaLinha() const { return m_novaLinha; }
    void setNovaLinha(bool sim);
    bool eNovaLinha(int linhaModelo) const { return m_novaLinha && linhaModelo == linhas(); }

    bool soLeitura() const { return m_soLeitura; }
    void setSoLeitura(bool sim);
    bool editavel(int coluna) const;

    void setCongelado(bool sim);
    bool congelado() const { return m_congelado; }

private:
    QVariantList linhaPredefinida() const;
    void avisaTudo();

    QList<ColunaGrelha> m_colunas;
    QList<QVariantList> m_linhas;
    bool m_novaLinha = false;
    bool m_soLeitura = false;
    bool m_congelado = false;
};
