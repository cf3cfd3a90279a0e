#include "dialecto.h"
#include "comparacodigos.h"

#include <QDate>
#include <QDateTime>

namespace {
constexpr QChar Abre(0xE000), Meio(0xE001), Fecha(0xE002);

// Appends to saida the chosen side of sql from i up to the end or to the mark
// that ends the current level, and returns where it stopped.
qsizetype escolhe(const QString &sql, qsizetype i, bool primeiro, QString &saida)
{
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        if (c == Meio || c == Fecha)
            return i;
        if (c != Abre) {
            saida += c;
            ++i;
            continue;
        }
        // A pair: keep one side, skip the other.
        QString descarte;
        i = escolhe(sql, i + 1, primeiro, primeiro ? saida : descarte);
        if (i < sql.size() && sql.at(i) == Meio)
            i = escolhe(sql, i + 1, primeiro, primeiro ? descarte : saida);
        if (i < sql.size() && sql.at(i) == Fecha)
            ++i;
    }
    return i;
}
} // namespace

QString Dialecto::conforme(const QString &sqlServer, const QString &sqlite) const
{
    if (m_registo)
        return Abre + sqlServer + Meio + sqlite + Fecha;
    return m_motor == SqlServer ? sqlServer : sqlite;
}

bool Dialecto::temMarcas(const QString &sql) { return sql.contains(Abre); }

QString Dialecto::lado(const QString &sql, Motor motor)
{
    if (!temMarcas(sql))
        return sql;
    QString saida;
    saida.reserve(sql.size());
    escolhe(sql, 0, motor == SqlServer, saida);
    return saida;
}

QString Dialecto::primeiros(int n, const QString &resto, bool distinto) const
{
    const QString sel = distinto ? QStringLiteral("SELECT DISTINCT ") : QStringLiteral("SELECT ");
    return conforme(sel + QStringLiteral("TOP %1 ").arg(n) + resto, sel + resto + QStringLiteral(" LIMIT %1").arg(n));
}

QString Dialecto::parametroData() const
{
    // Both engines take a bound date value as it is; SQLite gets it as text
    // (see paraParametro), SQL Server as a datetime.
    return QStringLiteral("?");
}

QString Dialecto::agora() const
{
    return conforme(QStringLiteral("GETDATE()"), QStringLiteral("datetime('now','localtime')"));
}

QString Dialecto::apaga(const QString &tabela) const { return QStringLiteral("DELETE FROM ") + tabela; }

QString Dialecto::tipoTexto(int comprimento) const
{
    return conforme(QStringLiteral("nvarchar(%1)").arg(comprimento),
                    QStringLiteral("varchar(%1) COLLATE %2").arg(comprimento).arg(QLatin1String(ComparaCodigos::Nome)));
}

QString Dialecto::tipoChaveAutomatica() const
{
    return conforme(QStringLiteral("int IDENTITY(1,1) NOT NULL PRIMARY KEY"), QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
}

QString Dialecto::tipoData() const { return QStringLiteral("datetime"); }
QString Dialecto::tipoMoeda() const
{
    return conforme(QStringLiteral("money"), QStringLiteral("real"));
}

QString Dialecto::comecaPor(const QString &coluna) const
{
    return conforme(coluna + QStringLiteral(" LIKE ?") + escapeLike(), QStringLiteral("(%1 >= ? AND %1 < ?)").arg(coluna));
}

QVariantList Dialecto::valoresComecaPor(const QString &prefixo) const
{
    if (m_motor == SqlServer)
        return {padraoPrefixo(prefixo)};
    const QString p = prefixo.isNull() ? QStringLiteral("") : prefixo;
    return {p, p + ComparaCodigos::maiorCaracter()};
}

QString Dialecto::tabelaReservada(const QString &tabela) const
{
    return conforme(tabela + QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)"), tabela);
}

QString Dialecto::padraoPrefixo(const QString &prefixo)
{
    QString p;
    p.reserve(prefixo.size() + 2);
    for (QChar c : prefixo) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('['))
            p += QLatin1Char('\\');
        p += c;
    }
    p += QLatin1Char('%');
    return p;
}

QVariant Dialecto::paraParametro(const QVariant &v) const
{
    if (v.isNull() || m_motor == SqlServer)
        return v;
    const int tipo = v.metaType().id();
    if (tipo == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    if (tipo == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (tipo == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    return v;
}

QString Dialecto::criaIndiceSeNaoExiste(const QString &indice, const QString &tabela, const QString &colunas) const
{
    return conforme(QStringLiteral("IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'%1' AND object_id = OBJECT_ID(N'%2')) "
                                   "CREATE INDEX [%1] ON [%2] (%3)")
                        .arg(indice, tabela, colunas),
                    QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(indice, tabela, colunas));
}
