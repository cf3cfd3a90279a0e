#include "lintsqlserver.h"

#include <QRegularExpression>

namespace {
// The statement with the text of every literal between single quotes taken
// out ('' inside a literal is a quote of it).
QString semLiterais(const QString &sql)
{
    QString r;
    bool dentro = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            if (dentro && i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('\'')) {
                ++i;
                continue;
            }
            dentro = !dentro;
            r += c;
        } else if (!dentro) {
            r += c;
        }
    }
    return r;
}

// Is there a SELECT inside the parentheses of an aggregate call?
bool subconsultaEmAgregado(const QString &sql)
{
    static const QRegularExpression agregado(QStringLiteral("\\b(SUM|COUNT|MIN|MAX|AVG)\\s*\\("),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression select(QStringLiteral("\\bSELECT\\b"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = agregado.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        int nivel = 1;
        qsizetype i = m.capturedEnd();
        const qsizetype inicio = i;
        for (; i < sql.size() && nivel > 0; ++i) {
            if (sql.at(i) == QLatin1Char('('))
                ++nivel;
            else if (sql.at(i) == QLatin1Char(')'))
                --nivel;
        }
        if (select.match(sql.mid(inicio, i - inicio)).hasMatch())
            return true;
    }
    return false;
}
} // namespace

QStringList LintSqlServer::problemas(const QString &sql)
{
    struct Regra
    {
        const char *padrao;
        const char *texto;
    };
    static const Regra regras[] = {
        {"\\bLIMIT\\b", "LIMIT: o servidor usa TOP ou ORDER BY … OFFSET … FETCH"},
        {"\\|\\|", "|| não junta textos no servidor: use +"},
        {"\\bIFNULL\\s*\\(", "IFNULL não existe no servidor: use ISNULL ou COALESCE"},
        {"\\b(TRUE|FALSE)\\b", "TRUE/FALSE não são valores no servidor: use 1/0"},
        {"\"", "aspas duplas: textos entre plicas, nomes entre parênteses rectos"},
        {"\\bINSERT\\s+OR\\b|\\bREPLACE\\s+INTO\\b|\\bON\\s+CONFLICT\\b", "INSERT OR / REPLACE / ON CONFLICT são do SQLite"},
        {"\\bCOLLATE\\s+(NOCASE|BINARY|RTRIM|CODIGOERP)\\b", "colação do SQLite"},
        {"\\b(datetime|strftime|julianday|substr|instr|group_concat|last_insert_rowid|printf|total_changes|changes)\\s*\\(",
         "função do SQLite"},
        {"\\bsqlite_\\w+|\\bpragma\\w*|\\bAUTOINCREMENT\\b|\\bWITHOUT\\s+ROWID\\b|\\bGLOB\\b", "construção do SQLite"},
    };
    const QString s = semLiterais(sql);
    QStringList r;
    for (const Regra &regra : regras)
        if (QRegularExpression(QLatin1String(regra.padrao), QRegularExpression::CaseInsensitiveOption).match(s).hasMatch())
            r << QString::fromUtf8(regra.texto);
    static const QRegularExpression offset(QStringLiteral("\\bOFFSET\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fetch(QStringLiteral("\\bORDER\\s+BY\\b.*\\bOFFSET\\b.*\\bFETCH\\b"),
                                          QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    if (offset.match(s).hasMatch() && !fetch.match(s).hasMatch())
        r << QStringLiteral("OFFSET sem ORDER BY … FETCH");
    if (subconsultaEmAgregado(s))
        r << QStringLiteral("subconsulta dentro de uma agregação: o servidor recusa-a");
    return r;
}
