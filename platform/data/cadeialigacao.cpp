#include "cadeialigacao.h"

#include <QRegularExpression>

namespace {
QString odbcValor(const QString &v)
{
    // ODBC values holding ; or braces must be wrapped in braces, with } doubled.
    if (v.contains(QLatin1Char(';')) || v.contains(QLatin1Char('{')) || v.contains(QLatin1Char('}'))
        || v.trimmed() != v)
        return QLatin1Char('{') + QString(v).replace(QLatin1Char('}'), QStringLiteral("}}")) + QLatin1Char('}');
    return v;
}
} // namespace

QString CadeiaLigacao::Texto() const
{
    QString base = QStringLiteral("Provider=%1;Mode=%2;").arg(Fornecedor).arg(Modo);
    const QString s = Servidor.trimmed();
    if (s.compare(QLatin1String("SQLITE"), Qt::CaseInsensitive) == 0)
        return base + QStringLiteral("Motor=SQLite;Data Source=") + BaseDados;
    if (s.startsWith(QLatin1String("ODBC:"), Qt::CaseInsensitive))
        return base + QStringLiteral("Motor=ODBC;Odbc=") + s.mid(5);

    QString host = s, porta;
    const int virgula = host.indexOf(QLatin1Char(','));
    if (virgula > 0) {
        porta = host.mid(virgula + 1).trimmed();
        host = host.left(virgula).trimmed();
    }
    QString odbc = QStringLiteral("DRIVER={FreeTDS};SERVER=%1;").arg(odbcValor(host));
    if (!porta.isEmpty())
        odbc += QStringLiteral("PORT=%1;").arg(odbcValor(porta));
    odbc += QStringLiteral("DATABASE=%1;UID=%2;PWD=%3;TDS_Version=7.4;ClientCharset=UTF-8;")
                .arg(odbcValor(BaseDados), odbcValor(Utilizador), odbcValor(Senha));
    return base + QStringLiteral("Motor=ODBC;Odbc=") + odbc;
}

DestinoLigacao DestinoLigacao::de(const QString &cadeia)
{
    DestinoLigacao d;
    const int sqlite = cadeia.indexOf(QLatin1String("Motor=SQLite;Data Source="), 0, Qt::CaseInsensitive);
    if (sqlite >= 0) {
        d.motor = SQLite;
        d.ficheiro = cadeia.mid(sqlite + int(qstrlen("Motor=SQLite;Data Source=")));
        return d;
    }
    const int odbc = cadeia.indexOf(QLatin1String("Motor=ODBC;Odbc="), 0, Qt::CaseInsensitive);
    if (odbc >= 0) {
        d.motor = Odbc;
        d.odbc = cadeia.mid(odbc + int(qstrlen("Motor=ODBC;Odbc=")));
    }
    return d;
}

QString DestinoLigacao::descricao() const
{
    if (motor == SQLite)
        return ficheiro;
    if (motor == Odbc) {
        // Never show the password.
        QString t = odbc;
        t.replace(QRegularExpression(QStringLiteral("PWD=(\\{[^}]*\\}|[^;]*)"),
                                     QRegularExpression::CaseInsensitiveOption),
                  QStringLiteral("PWD=***"));
        return t;
    }
    return QStringLiteral("(ligação não configurada)");
}
