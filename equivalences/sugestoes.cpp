#include "sugestoes.h"
#include "ligacaobd.h"

#include <QVariantList>

namespace Sugestoes {

QString prefixo(const QString &texto) { return texto.trimmed().toUpper(); }

QString instrucao(const Dialecto &d)
{
    const QString rapidos = QStringLiteral("CodigoArtigo AS Codigo FROM mvk_AcessoRapido WHERE CodigoArtigo LIKE ?")
                            + Dialecto::escapeLike();
    const QString artigos = QStringLiteral("CODIGO AS Codigo FROM Artigos WHERE CODIGO LIKE ?") + Dialecto::escapeLike()
                            + QStringLiteral(" AND CODIGO > ? AND INACTIVO = 0");
    if (d.motor() == Dialecto::SqlServer) {
        // TOP binds to the first SELECT of a union: each source is cut to its
        // first 25 codes in a derived table, and so is their union.
        return d.primeiros(Maximo, QStringLiteral("Codigo FROM (SELECT Codigo FROM (")
                                       + d.primeiros(Maximo, rapidos + QStringLiteral(" ORDER BY CodigoArtigo"))
                                       + QStringLiteral(") AS r UNION SELECT Codigo FROM (")
                                       + d.primeiros(Maximo, artigos + QStringLiteral(" ORDER BY CODIGO"))
                                       + QStringLiteral(") AS a) AS u ORDER BY Codigo"));
    }
    // SQLite merges the two sources, each read in code order from its index,
    // and stops at the 25th code: no temporary table, no sort.
    return d.primeiros(Maximo, rapidos + QStringLiteral(" UNION SELECT ") + artigos + QStringLiteral(" ORDER BY Codigo"));
}

QVariantList valores(const QString &prefixo)
{
    const QString padrao = Dialecto::padraoPrefixo(prefixo);
    return {padrao, padrao, QStringLiteral("")};
}

QStringList le(LigacaoBd &bd, const QString &texto)
{
    const QString p = prefixo(texto);
    if (p.isEmpty())
        return {};
    Recordset rs;
    if (!bd.AbreConsulta(instrucao(bd.dialecto()), rs, valores(p)))
        return {};
    QStringList codigos;
    codigos.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        codigos << rs.Valor(0).toString();
    rs.Close();
    return codigos;
}

} // namespace Sugestoes
