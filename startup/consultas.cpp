#include "consultas.h"
#include "ligacaobd.h"

#include <QDateTime>

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

bool LerReferenciaCompra(LigacaoBd &bd, const QVariant &artigo, const QVariant &fornecedor, QString *referencia)
{
    Recordset rs;
    referencia->clear();
    if (!LerAjudaCompra(bd, rs, artigo, fornecedor))
        return false;
    if (!rs.Eof())
        *referencia = TextoDe(rs.Valor(QStringLiteral("RefArt")));
    return true;
}

bool GravaAjudaCompra(LigacaoBd &bd, const QString &artigo, const QString &fornecedor, const QString &referencia,
                      Moeda precoProximo)
{
    Recordset rs;
    if (!bd.AbreTabela(QStringLiteral("SELECT * FROM AjudaCmp WHERE Artigo = ? AND Forneced = ?"), rs, {artigo, fornecedor}))
        return false;
    const bool nova = rs.Eof();
    if (nova)
        rs.AddNew();
    rs.SetValor(QStringLiteral("Artigo"), artigo);
    rs.SetValor(QStringLiteral("Forneced"), fornecedor);
    rs.SetValor(QStringLiteral("RefArt"), referencia);
    rs.SetValor(QStringLiteral("DataPart"), QDateTime::currentDateTime());
    rs.SetValor(QStringLiteral("PrProx"), precoProximo.paraValor());
    if (nova) {
        const QString vazio = QStringLiteral("");
        rs.SetValor(QStringLiteral("Data"), QVariant(QMetaType::fromType<QDateTime>()));
        for (const char *zero : {"PrUltFor", "EncUltCp", "Desconto", "PrazoEnt"})
            rs.SetValor(QString::fromLatin1(zero), 0);
        rs.SetValor(QStringLiteral("Qtd"), 1);
        rs.SetValor(QStringLiteral("Moeda"), QStringLiteral("EUR"));
        rs.SetValor(QStringLiteral("DescProx"), vazio);
        for (int n = 1; n <= 5; ++n)
            rs.SetValor(QStringLiteral("CustAd%1").arg(n), vazio);
        rs.SetValor(QStringLiteral("Descr"), vazio);
    }
    return rs.Update();
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
