#include "sugestoes.h"
#include "ligacaobd.h"

#include <QVariantList>

namespace Sugestoes {

QString prefixo(const QString &texto) { return texto.trimmed().toUpper(); }

QString instrucao(const Dialecto &d)
{
    const QString rapidos = QStringLiteral("CodigoArtigo AS Codigo FROM mvk_AcessoRapido WHERE ") + d.comecaPor(QStringLiteral("CodigoArtigo"));
    const QString artigos = QStringLiteral("CODIGO AS Codigo FROM Artigos WHERE ") + d.comecaPor(QStringLiteral("CODIGO"))
                            + QStringLiteral(" AND CODIGO > ? AND INACTIVO = 0");
    // SQL Server: TOP binds to the first SELECT of a union, so each source is
    // cut to its first 25 codes in a derived table, and so is their union.
    // SQLite merges the two sources, each read in code order from its index
    // range, and stops at the 25th code: no temporary table, no sort.
    return d.conforme(d.primeiros(Maximo, QStringLiteral("Codigo FROM (SELECT Codigo FROM (")
                                              + d.primeiros(Maximo, rapidos + QStringLiteral(" ORDER BY CodigoArtigo"))
                                              + QStringLiteral(") AS r UNION SELECT Codigo FROM (")
                                              + d.primeiros(Maximo, artigos + QStringLiteral(" ORDER BY CODIGO"))
                                              + QStringLiteral(") AS a) AS u ORDER BY Codigo")),
                      d.primeiros(Maximo, rapidos + QStringLiteral(" UNION SELECT ") + artigos + QStringLiteral(" ORDER BY Codigo")));
}

QVariantList valores(const Dialecto &d, const QString &prefixo)
{
    const QVariantList condicao = d.valoresComecaPor(prefixo);
    return condicao + condicao + QVariantList{QStringLiteral("")};
}

bool le(LigacaoBd &bd, const QString &texto, QStringList &codigos)
{
    codigos.clear();
    const QString p = prefixo(texto);
    if (p.isEmpty())
        return true;
    Recordset rs;
    if (!bd.AbreConsulta(instrucao(bd.dialecto()), rs, valores(bd.dialecto(), p)))
        return false;
    codigos.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        codigos << rs.Valor(0).toString();
    rs.Close();
    return true;
}

QStringList le(LigacaoBd &bd, const QString &texto)
{
    QStringList codigos;
    le(bd, texto, codigos);
    return codigos;
}

} // namespace Sugestoes
