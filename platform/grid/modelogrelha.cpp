#include "modelogrelha.h"

ModeloGrelha::ModeloGrelha(QObject *parent) : QAbstractTableModel(parent) {}

int ModeloGrelha::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : linhas() + (m_novaLinha ? 1 : 0);
}

int ModeloGrelha::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colunas.size());
}

QVariant ModeloGrelha::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_colunas.size())
        return QVariant();
    const ColunaGrelha &c = m_colunas.at(index.column());
    const QVariant v = valor(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        if (c.tipo == TipoColuna::Booleano)
            return QVariant();
        return c.textoApresentado(v);
    case Qt::EditRole:
        return c.textoEdicao(v);
    case ValorRole:
        return v;
    case Qt::CheckStateRole:
        if (c.tipo != TipoColuna::Booleano || eNovaLinha(index.row()))
            return QVariant();
        return v.toBool() ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return int(c.numerica() ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

bool ModeloGrelha::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (role == Qt::EditRole)
        return setValor(index.row(), index.column(), m_colunas.at(index.column()).valorDoTexto(value.toString()));
    if (role == ValorRole)
        return setValor(index.row(), index.column(), value);
    return false;
}

QVariant ModeloGrelha::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < m_colunas.size() ? QVariant(m_colunas.at(section).titulo) : QVariant();
    if (eNovaLinha(section))
        return QStringLiteral("*");
    return section + 1;
}

Qt::ItemFlags ModeloGrelha::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editavel(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloGrelha::editavel(int coluna) const
{
    return !m_soLeitura && coluna >= 0 && coluna < m_colunas.size() && !m_colunas.at(coluna).soLeitura;
}

void ModeloGrelha::limpaColunas()
{
    if (m_colunas.isEmpty())
        return;
    beginRemoveColumns(QModelIndex(), 0, int(m_colunas.size()) - 1);
    m_colunas.clear();
    for (QVariantList &l : m_linhas)
        l.clear();
    endRemoveColumns();
}

void ModeloGrelha::adicionaColuna(const ColunaGrelha &c)
{
    const int n = int(m_colunas.size());
    beginInsertColumns(QModelIndex(), n, n);
    m_colunas << c;
    for (QVariantList &l : m_linhas)
        l << c.valorPredefinido;
    endInsertColumns();
}

void ModeloGrelha::alteraColuna(int coluna, const ColunaGrelha &c)
{
    if (coluna < 0 || coluna >= m_colunas.size())
        return;
    m_colunas[coluna] = c;
    emit headerDataChanged(Qt::Horizontal, coluna, coluna);
    if (!m_congelado && rowCount() > 0)
        emit dataChanged(index(0, coluna), index(rowCount() - 1, coluna));
}

int ModeloGrelha::indiceColuna(const QString &chave) const
{
    for (int i = 0; i < m_colunas.size(); ++i)
        if (m_colunas.at(i).chave.compare(chave, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariantList ModeloGrelha::linhaPredefinida() const
{
    QVariantList l;
    l.reserve(m_colunas.size());
    for (const ColunaGrelha &c : m_colunas)
        l << c.valorPredefinido;
    return l;
}

void ModeloGrelha::setLinhas(int n)
{
    n = qMax(0, n);
    const int antes = linhas();
    if (n > antes) {
        // New rows go after every model row, the new-row line included, so
        // no current index or persistent index moves: the new-row line (when
        // shown) simply becomes the first of the added data rows.
        const int primeira = rowCount();
        beginInsertRows(QModelIndex(), primeira, primeira + (n - antes) - 1);
        const QVariantList modelo = linhaPredefinida();
        for (int i = antes; i < n; ++i)
            m_linhas << modelo;
        endInsertRows();
        if (m_novaLinha) {
            emit headerDataChanged(Qt::Vertical, antes, antes);
            if (!m_congelado)
                emit dataChanged(index(antes, 0), index(antes, qMax(0, columnCount() - 1)));
        }
    } else if (n < antes) {
        beginRemoveRows(QModelIndex(), n, antes - 1);
        m_linhas.remove(n, antes - n);
        endRemoveRows();
    }
}

void ModeloGrelha::removeLinha(int linha)
{
    if (linha < 0 || linha >= linhas())
        return;
    beginRemoveRows(QModelIndex(), linha, linha);
    m_linhas.removeAt(linha);
    endRemoveRows();
}

QVariant ModeloGrelha::valor(int linha, int coluna) const
{
    if (linha < 0 || linha >= m_linhas.size())
        return QVariant();
    const QVariantList &l = m_linhas.at(linha);
    return coluna >= 0 && coluna < l.size() ? l.at(coluna) : QVariant();
}

bool ModeloGrelha::setValor(int linha, int coluna, const QVariant &v)
{
    if (linha < 0 || linha >= m_linhas.size() || coluna < 0 || coluna >= m_colunas.size())
        return false;
    m_linhas[linha][coluna] = v;
    if (!m_congelado) {
        const QModelIndex i = index(linha, coluna);
        emit dataChanged(i, i);
    }
    return true;
}

void ModeloGrelha::substitui(const QList<ColunaGrelha> &colunas, QList<QVariantList> &&linhas)
{
    beginResetModel();
    m_colunas = colunas;
    m_linhas = std::move(linhas);
    m_novaLinha = false;
    endResetModel();
}

void ModeloGrelha::setNovaLinha(bool sim)
{
    if (sim == m_novaLinha)
        return;
    const int n = linhas();
    if (sim) {
        beginInsertRows(QModelIndex(), n, n);
        m_novaLinha = true;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), n, n);
        m_novaLinha = false;
        endRemoveRows();
    }
}

void ModeloGrelha::setSoLeitura(bool sim)
{
    if (sim == m_soLeitura)
        return;
    m_soLeitura = sim;
    avisaTudo();
}

void ModeloGrelha::setCongelado(bool sim)
{
    if (sim == m_congelado)
        return;
    m_congelado = sim;
    if (!sim) {
        avisaTudo();
        if (rowCount() > 0)
            emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }
}

void ModeloGrelha::avisaTudo()
{
    if (!m_congelado && rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
