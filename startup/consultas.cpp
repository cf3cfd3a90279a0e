#include "consultas.h"
#include "ligacaobd.h"

namespace {
QVariant codigo(const QVariant &v)
{
    // A null code contributes nothing: it matches no record.
    return v.isNull() ? QVariant(QString()) : QVariant(v.toString());
}
} // namespace

bool LerFornecedor(LigacaoBd &bd, Recordset &rs, const QVariant &c)
{
    return bd.AbreConsulta(QStringLiteral("Select * from Fornec where Codigo = ?"), rs, {codigo(c)});
}

bool LerCliente(LigacaoBd &bd, Recordset &rs, const QVariant &c)
{
    return bd.AbreConsulta(QStringLiteral("Select * from Clientes where Codigo = ?"), rs, {codigo(c)});
}

bool LerArtigo(LigacaoBd &bd, Recordset &rs, const QVariant &c)
{
    return bd.AbreConsulta(QStringLiteral("Select * from Artigos where Codigo = ?"), rs, {codigo(c)});
}

bool LerAjudaCompra(LigacaoBd &bd, Recordset &rs, const QVariant &artigo, const QVariant &fornecedor)
{
    return bd.AbreConsulta(QStringLiteral("Select * from AjudaCMP where Artigo = ? and Forneced = ?"), rs,
                           {codigo(artigo), codigo(fornecedor)});
}

QString TextoDe(const QVariant &valor)
{
    if (valor.isNull() || !valor.isValid())
        return QString();
    if (valor.metaType().id() == QMetaType::Double) {
        // Whole numbers without a decimal part, as they are typed.
        const double d = valor.toDouble();
        if (d == double(qint64(d)))
            return QString::number(qint64(d));
    }
    return valor.toString();
}
