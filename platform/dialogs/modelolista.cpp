#include "modelolista.h"
#include "ligacaobd.h"
#include "valores.h"

#include <QDateTime>
#include <QLocale>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

bool ehNumerico(QMetaType::Type t)
{
    switch (t) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Double: case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QString textoLegivel(const QVariant &v)
{
    if (v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QDate:
        return Valores::textoData(v.toDate());
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        if (dt.time() == QTime(0, 0))
            return Valores::textoData(dt.date());
        return Valores::textoData(dt.date()) + dt.time().toString(QStringLiteral(" hh:mm"));
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        static const QLocale pt = [] {
            QLocale l(QLocale::Portuguese, QLocale::Portugal);
            l.setNumberOptions(QLocale::OmitGroupSeparator);
            return l;
        }();
        return pt.toString(v.toDouble(), 'f', QLocale::FloatingPointShortest);
    }
    default:
        return v.toString();
    }
}

} // namespace

ModeloLista::ModeloLista(QObject *parent) : QAbstractTableModel(parent) {}

void ModeloLista::carrega(QSqlQuery &consulta)
{
    beginResetModel();
    const QSqlRecord registo = consulta.record();
    const int colunas = registo.count();
    m_cabecalhos.clear();
    m_aDireita.clear();
    for (int c = 0; c < colunas; ++c) {
        m_cabecalhos << LigacaoBd::nomeColuna(registo.fieldName(c));
        m_aDireita << (c > 0 && ehNumerico(QMetaType::Type(registo.field(c).metaType().id())));
    }
    m_celulas.clear();
    m_total = 0;
    while (consulta.next()) {
        for (int c = 0; c < colunas; ++c) {
            const QVariant v = consulta.value(c);
            m_celulas.append(c == 0 ? (v.isNull() ? QString() : v.toString()) : textoLegivel(v));
        }
        ++m_total;
    }
    m_filtro.clear();
    m_filtrado = false;
    m_visiveis.clear();
    endResetModel();
}

void ModeloLista::define(const QStringList &cabecalhos, const QList<QStringList> &linhas)
{
    beginResetModel();
    m_cabecalhos = cabecalhos;
    m_aDireita = QList<bool>(cabecalhos.size(), false);
    m_celulas.clear();
    m_celulas.reserve(cabecalhos.size() * linhas.size());
    for (const QStringList &l : linhas)
        for (int c = 0; c < cabecalhos.size(); ++c)
            m_celulas.append(l.value(c));
    m_total = int(linhas.size());
    m_filtro.clear();
    m_filtrado = false;
    m_visiveis.clear();
    endResetModel();
}

int ModeloLista::rowCount(const QModelIndex &pai) const
{
    if (pai.isValid())
        return 0;
    return m_filtrado ? int(m_visiveis.size()) : m_total;
}

int ModeloLista::columnCount(const QModelIndex &pai) const
{
    return pai.isValid() ? 0 : int(m_cabecalhos.size());
}

QVariant ModeloLista::data(const QModelIndex &indice, int papel) const
{
    if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount())
        return QVariant();
    if (papel == Qt::DisplayRole || papel == Qt::ToolTipRole)
        return texto(indice.row(), indice.column());
    if (papel == Qt::TextAlignmentRole)
        return int(Qt::AlignVCenter | (m_aDireita.value(indice.column()) ? Qt::AlignRight : Qt::AlignLeft));
    return QVariant();
}

QVariant ModeloLista::headerData(int seccao, Qt::Orientation orientacao, int papel) const
{
    if (orientacao == Qt::Horizontal && papel == Qt::DisplayRole)
        return m_cabecalhos.value(seccao);
    return QAbstractTableModel::headerData(seccao, orientacao, papel);
}

QString ModeloLista::texto(int linha, int coluna) const
{
    if (linha < 0 || linha >= rowCount() || coluna < 0 || coluna >= columnCount())
        return QString();
    return m_celulas.at(qsizetype(linhaReal(linha)) * m_cabecalhos.size() + coluna);
}

bool ModeloLista::contem(int real, const QString &texto) const
{
    const qsizetype inicio = qsizetype(real) * m_cabecalhos.size();
    for (qsizetype c = 0; c < m_cabecalhos.size(); ++c)
        if (m_celulas.at(inicio + c).contains(texto, Qt::CaseInsensitive))
            return true;
    return false;
}

void ModeloLista::setFiltro(const QString &texto)
{
    if (texto == m_filtro)
        return;
    beginResetModel();
    if (texto.isEmpty()) {
        m_filtrado = false;
        m_visiveis.clear();
    } else {
        // A text that holds the previous one can only narrow the visible rows.
        const bool estreita = m_filtrado && texto.contains(m_filtro, Qt::CaseInsensitive);
        QVector<int> novas;
        if (estreita) {
            for (int real : std::as_const(m_visiveis))
                if (contem(real, texto))
                    novas.append(real);
        } else {
            for (int real = 0; real < m_total; ++real)
                if (contem(real, texto))
                    novas.append(real);
        }
        m_visiveis = std::move(novas);
        m_filtrado = true;
    }
    m_filtro = texto;
    endResetModel();
}
