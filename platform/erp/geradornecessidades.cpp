// The pending needs of the demo company, made after its documents and quotes
// so that each kind of need the rupture analysis must tell apart is there:
// with "Dias" 30, needs wholly covered by orders pending from suppliers, needs
// covered only when the sales of the last 30 days are counted too ("Com
// Previsão"), needs of articles without any quote, with several quotes and
// with two suppliers quoting the same lowest price; needs with and without a
// supplier reference, with and without a supplier, a few without a request
// date; and a tenth as many needs already processed, which no load shows.
#include "geradordemo.h"
#include "ligacaobd.h"

#include <QHash>
#include <QStringList>

namespace {

// Sum of quantities per article of one document type's lines that count.
bool somas(LigacaoBd &bd, const QString &tipo, const QDate &desde, QHash<QString, double> &resultado)
{
    Recordset rs;
    QString sql = QStringLiteral("SELECT Artigo, SUM(Quant) FROM docgclin WHERE Tpdocum = ? AND Linanu = 0");
    QVariantList valores{tipo};
    if (desde.isValid()) {
        sql += QStringLiteral(" AND Data >= ?");
        valores << desde;
    }
    if (!bd.AbreConsulta(sql + QStringLiteral(" GROUP BY Artigo"), rs, valores))
        return false;
    for (; !rs.Eof(); rs.MoveNext())
        resultado.insert(rs.Valor(0).toString(), rs.Valor(1).toDouble());
    return true;
}

} // namespace

bool GeradorDemo::geraNecessidades(LigacaoBd &bd, const Escala &e)
{
    if (e.necessidades <= 0)
        return true;
    // What each active article already has: pending orders (ENF), sales of
    // the last 30 days (VFA) and how many quotes.
    QHash<QString, double> pendente, vendido;
    if (!somas(bd, QStringLiteral("ENF"), QDate(), pendente) || !somas(bd, QStringLiteral("VFA"), m_hoje.addDays(-30), vendido))
        return falha(bd);
    Recordset rs;
    if (!bd.AbreConsulta(QStringLiteral("SELECT a.CODIGO, (SELECT COUNT(*) FROM mvk_Precos_Forn p WHERE p.Artigo = a.CODIGO) FROM Artigos a "
                                        "WHERE a.INACTIVO = 0 AND a.ARTOUDES = 0 ORDER BY a.CODIGO"),
                         rs))
        return falha(bd);
    QStringList todos, comPendente, comVendas, semPreco, variosPrecos, empatados;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QString a = rs.Valor(0).toString();
        const int precos = rs.Valor(1).toInt();
        todos << a;
        if (pendente.value(a) > 0)
            comPendente << a;
        if (vendido.value(a) > 0)
            comVendas << a;
        if (precos == 0)
            semPreco << a;
        else if (precos > 1)
            variosPrecos << a;
    }
    if (todos.isEmpty())
        return true;

    // Ties: for some articles quoted by several suppliers, the second lowest
    // quote is brought down to the lowest one.
    const int empates = qMin(int(variosPrecos.size()), e.necessidades / 30 + 1);
    for (int i = 0; i < empates; ++i) {
        const QString a = variosPrecos.at(entre(0, int(variosPrecos.size()) - 1));
        Recordset dois;
        if (!bd.AbreConsulta(QStringLiteral("SELECT Id_Preco, Preco, Fornecedor FROM mvk_Precos_Forn WHERE Artigo = ? ORDER BY Preco, Id_Preco LIMIT 2"),
                             dois, {a}))
            return falha(bd);
        const QVariant preco = dois.Valor(1), fornecedor = dois.Valor(2);
        dois.MoveNext();
        if (dois.Eof() || dois.Valor(2).toString() == fornecedor.toString())
            continue;
        if (!bd.Executa(QStringLiteral("UPDATE mvk_Precos_Forn SET Preco = ? WHERE Id_Preco = ?"), {preco, dois.Valor(0)}))
            return falha(bd);
        empatados << a;
    }

    const auto umDe = [&](const QStringList &lista) {
        const QStringList &l = lista.isEmpty() ? todos : lista;
        return l.at(entre(0, int(l.size()) - 1));
    };
    const QString sql = QStringLiteral("INSERT INTO mvk_Necessidades (Artigo, RefArt, Qtd, Fornec, PrUnit, DataPedido, Processado) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?)");
    const int processadas = e.necessidades / 10;
    for (int n = 0; n < e.necessidades + processadas; ++n) {
        const bool pendenteAinda = n < e.necessidades;
        QString artigo;
        double qtd = entre(1, 120);
        switch (pendenteAinda ? n % 10 : -1) {
        case 0:   // exactly what is pending from suppliers
        case 1:   // less than that
            artigo = umDe(comPendente);
            qtd = qMax(1.0, pendente.value(artigo) - (n % 10 == 1 ? entre(0, int(pendente.value(artigo)) / 2) : 0));
            break;
        case 2:   // covered once the sales of the last 30 days count too
            artigo = umDe(comVendas);
            qtd = qMax(1.0, pendente.value(artigo) + vendido.value(artigo));
            break;
        case 3:   // nobody quoted it
            artigo = umDe(semPreco);
            qtd = pendente.value(artigo) + vendido.value(artigo) + entre(1, 40);
            break;
        case 4:   // several quotes
        case 5:   // the lowest quoted by two suppliers
            artigo = umDe(n % 10 == 5 && !empatados.isEmpty() ? empatados : variosPrecos);
            qtd = pendente.value(artigo) + vendido.value(artigo) + entre(1, 40);
            break;
        default:
            artigo = umDe(todos);
            break;
        }
        const QVariant referencia = chance(45) ? QVariant(QStringLiteral("REF-%1").arg(entre(1000, 99999)))
                                               : (chance(20) ? QVariant(QStringLiteral("")) : QVariant());
        const QVariant fornecedor =
            chance(85) ? QVariant(QStringLiteral("F%1").arg(entre(1, e.fornecedores), 3, 10, QLatin1Char('0'))) : QVariant();
        const QVariant pedido = chance(6) ? QVariant() : QVariant(m_hoje.addDays(-entre(0, 30)));
        if (!bd.Executa(sql, {artigo, referencia, qtd, fornecedor, real(0.5, 80.0), pedido, pendenteAinda ? 0 : 1}))
            return falha(bd);
        if (progresso && n % 20000 == 0)
            progresso(QStringLiteral("mvk_Necessidades"), n);
    }
    return true;
}
