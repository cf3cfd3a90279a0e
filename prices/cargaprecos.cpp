#include "cargaprecos.h"

#include "consultas.h"
#include "grelha.h"
#include "grelhaprecos.h"
#include "ligacaobd.h"
#include "valores.h"

#include <QDateTime>

using namespace ColunasPrecos;

namespace CargaPrecos {

namespace {

// The dates are asked for as the database keeps them (COALESCE makes them an
// expression, which the connection does not turn into date-times) and read
// here: the connection's own conversion of a date text costs more than all
// the rest of a large load.

// Supplier prices with both names.
const char *const sqlPrecos =
    "SELECT p.Fornecedor, f.Nome AS NomeFornecedor, p.Artigo, a.Nome AS NomeArtigo, p.RefForn, COALESCE(p.Data, NULL) AS Data, "
    "p.Preco, "
    "p.Id_Preco, p.Obs"
    " FROM mvk_Precos_Forn p"
    " LEFT JOIN Fornec f ON f.Codigo = p.Fornecedor"
    " LEFT JOIN Artigos a ON a.Codigo = p.Artigo";

// Customer prices with the customer's name, the article's name and its last purchase price.
const char *const sqlPrecosClientes =
    "SELECT p.Cliente, c.Nome AS NomeCliente, p.Artigo, a.Nome AS NomeArtigo, a.ULTPRCOM, COALESCE(p.Data, NULL) AS Data, "
    "p.Preco, p.Id_Preco, p.Obs"
    " FROM mvk_Precos_Clientes p"
    " LEFT JOIN Clientes c ON c.Codigo = p.Cliente"
    " LEFT JOIN Artigos a ON a.Codigo = p.Artigo";

// Purchase lines of the ERP's purchase invoices that count (not voided, with
// a quantity, of an active article), with both names and the supplier's
// reference from the purchase-help record.
const char *const sqlCompras =
    "SELECT c.Terceiro, f.Nome AS NomeFornecedor, l.Artigo, a.Nome AS NomeArtigo, h.RefArt, COALESCE(c.Data, NULL) AS Data, "
    "l.Prunit AS Preco"
    " FROM docgclin l"
    " INNER JOIN DOCGCCAB c ON c.Tpdoc = l.Tpdocum AND c.serie = l.serie AND c.ano = l.Ano AND c.nnumdoc = l.nnumdoc"
    " INNER JOIN Artigos a ON l.Artigo = a.Codigo"
    " LEFT JOIN Fornec f ON f.Codigo = c.Terceiro"
    " LEFT JOIN AjudaCmp h ON h.Artigo = l.Artigo AND h.Forneced = c.Terceiro"
    " WHERE c.Areag = 4 AND c.tpoper = 1 AND c.TpTerc = 1 AND c.natconta = 1 AND c.sinalct = 2"
    " AND c.nvias <> -1 AND l.Quant > 0 AND a.Artoudes <> -1 AND a.Inactivo = 0";

// A date as the grid keeps it: "yyyy-MM-dd hh:mm:ss" texts (SQLite) and
// date-times (SQL Server) become dates.
QVariant data(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::QDateTime:
        return v.toDateTime().date();
    case QMetaType::QString: {
        const QString s = v.toString();
        const QDate d = QDate::fromString(QStringView(s).left(10), Qt::ISODate);
        if (d.isValid())
            return d;
        const QDate outra = Valores::comoData(v);
        return outra.isValid() ? QVariant(outra) : v;
    }
    default:
        return v;
    }
}

} // namespace

bool consulta(LigacaoBd &bd, LadoPrecos lado, int tipo, const QString &entidade, const QString &artigo, Recordset &rs)
{
    QString sql;
    QVariantList valores;
    if (lado == LadoPrecos::Fornecedores && tipo != 1) {
        sql = QString::fromLatin1(sqlCompras);
        if (!artigo.isEmpty()) {
            sql += QStringLiteral(" AND l.Artigo = ?");
            valores << artigo;
        }
        if (!entidade.isEmpty()) {
            sql += QStringLiteral(" AND c.Terceiro = ?");
            valores << entidade;
        }
        // Lines of one document and date keep the document's own order.
        sql += QStringLiteral(" AND l.Linanu = 0 ORDER BY c.Terceiro, l.Artigo, c.Data DESC, l.Tpdocum, l.serie, l.Ano, "
                              "l.nnumdoc, l.NumLinha");
        return bd.AbreConsulta(sql, rs, valores);
    }
    // The prices of the system's own tables, by supplier (customer) and article.
    const bool clientes = lado == LadoPrecos::Clientes;
    const QString coluna = clientes ? QStringLiteral("p.Cliente") : QStringLiteral("p.Fornecedor");
    sql = QString::fromLatin1(clientes ? sqlPrecosClientes : sqlPrecos);
    QStringList condicoes;
    if (!entidade.isEmpty()) {
        condicoes << coluna + QStringLiteral(" = ?");
        valores << entidade;
    }
    if (!artigo.isEmpty()) {
        condicoes << QStringLiteral("p.Artigo = ?");
        valores << artigo;
    }
    if (!condicoes.isEmpty())
        sql += QStringLiteral(" WHERE ") + condicoes.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + coluna + QStringLiteral(", p.Artigo, p.Data DESC, p.Id_Preco");
    return bd.AbreConsulta(sql, rs, valores);
}

int linhasDepois(int registos, int linhasIniciais)
{
    // After filling row n (counter n + 1) a row is added when the counter has
    // reached the last row: past that point every row filled adds one.
    return registos >= linhasIniciais - 1 ? registos + 2 : linhasIniciais;
}

int preenche(Grelha &g, const Recordset &rs, LadoPrecos lado, int tipo)
{
    const bool clientes = lado == LadoPrecos::Clientes;
    const int n = qMax(0, rs.RecordCount());
    g.setLinhas(linhasDepois(n, g.linhas()));
    for (int r = 0; r < n; ++r) {
        g.setMatriz(r, Forn, rs.valorEm(r, 0));
        g.setMatriz(r, Descr, TextoDe(rs.valorEm(r, 1)));
        g.setMatriz(r, Artigo, rs.valorEm(r, 2));
        g.setMatriz(r, DescrArtigo, TextoDe(rs.valorEm(r, 3)));
        g.setMatriz(r, RefForn, clientes ? rs.valorEm(r, 4) : QVariant(TextoDe(rs.valorEm(r, 4))));
        g.setMatriz(r, DataE, data(rs.valorEm(r, 5)));
        g.setMatriz(r, Preco, rs.valorEm(r, 6));
        g.setMatriz(r, Altera, false);
        if (clientes || tipo == 1) {
            g.setMatriz(r, Id, rs.valorEm(r, 7));
            g.setMatriz(r, Obs, TextoDe(rs.valorEm(r, 8)));
        }
    }
    return n;
}

bool carrega(LigacaoBd &bd, Grelha &g, LadoPrecos lado, int tipo, const QString &fornecedor, const QString &artigo, int *linhas)
{
    Recordset rs;
    if (!consulta(bd, lado, tipo, fornecedor, artigo, rs)) {
        if (linhas)
            *linhas = 0;
        return false;
    }
    const int n = preenche(g, rs, lado, tipo);
    if (linhas)
        *linhas = n;
    return true;
}

}
