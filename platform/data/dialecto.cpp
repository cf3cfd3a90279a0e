#include "dialecto.h"
#include "comparacodigos.h"

#include <QDate>
#include <QDateTime>

QString Dialecto::primeiros(int n, const QString &resto, bool distinto) const
{
    const QString sel = distinto ? QStringLiteral("SELECT DISTINCT ") : QStringLiteral("SELECT ");
    if (m_motor == SqlServer)
        return sel + QStringLiteral("TOP %1 ").arg(n) + resto;
    return sel + resto + QStringLiteral(" LIMIT %1").arg(n);
}

QString Dialecto::parametroData() const
{
    // Both engines take a bound date value as it is; SQLite gets it as text
    // (see paraParametro), SQL Server as a datetime.
    return QStringLiteral("?");
}

QString Dialecto::agora() const
{
    return m_motor == SqlServer ? QStringLiteral("GETDATE()") : QStringLiteral("datetime('now','localtime')");
}

QString Dialecto::apaga(const QString &tabela) const { return QStringLiteral("DELETE FROM ") + tabela; }

QString Dialecto::tipoTexto(int comprimento) const
{
    if (m_motor == SqlServer)
        return QStringLiteral("nvarchar(%1)").arg(comprimento);
    return QStringLiteral("varchar(%1) COLLATE %2").arg(comprimento).arg(QLatin1String(ComparaCodigos::Nome));
}

QString Dialecto::tipoChaveAutomatica() const
{
    return m_motor == SqlServer ? QStringLiteral("int IDENTITY(1,1) NOT NULL PRIMARY KEY")
                                : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString Dialecto::tipoData() const { return QStringLiteral("datetime"); }
QString Dialecto::tipoMoeda() const
{
    return m_motor == SqlServer ? QStringLiteral("money") : QStringLiteral("real");
}

QString Dialecto::comecaPor(const QString &coluna) const
{
    if (m_motor == SqlServer)
        return coluna + QStringLiteral(" LIKE ?") + escapeLike();
    return QStringLiteral("(%1 >= ? AND %1 < ?)").arg(coluna);
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
    return m_motor == SqlServer ? tabela + QStringLiteral(" WITH (UPDLOCK, HOLDLOCK)") : tabela;
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
    if (m_motor == SqlServer)
        return QStringLiteral("IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'%1' AND object_id = OBJECT_ID(N'%2')) "
                              "CREATE INDEX [%1] ON [%2] (%3)")
            .arg(indice, tabela, colunas);
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(indice, tabela, colunas);
}
