#include "catalogo.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>

namespace {
using Acesso = RegistoInstrucoes::Acesso;

bool propria(const QString &tabela) { return tabela.startsWith(QLatin1String("mvk_"), Qt::CaseInsensitive); }

// "Tabela (a, b, c)" per table, in name order.
QString porTabela(const QList<Acesso> &acessos, RegistoInstrucoes::Tipo tipo)
{
    QMap<QString, QStringList> colunas;
    for (const Acesso &a : acessos)
        if (a.tipo == tipo) {
            QStringList &c = colunas[a.tabela];
            if (!a.coluna.isEmpty() && !c.contains(a.coluna))
                c << a.coluna;
        }
    QStringList partes;
    for (auto it = colunas.cbegin(); it != colunas.cend(); ++it)
        partes << (it.value().isEmpty() ? it.key() : it.key() + QStringLiteral(" (") + it.value().join(QStringLiteral(", ")) + QLatin1Char(')'));
    return partes.join(QStringLiteral("; "));
}

QString permissoes(const QMap<RegistoInstrucoes::Chave, QStringList> &porOperacao)
{
    // The rights each table needs: SELECT, INSERT, UPDATE, DELETE, CREATE.
    QMap<QString, QSet<int>> direitos;
    for (const QStringList &lista : porOperacao)
        for (const QString &sql : lista)
            for (const Acesso &a : RegistoInstrucoes::acessosDe(sql))
                direitos[a.tabela].insert(a.tipo);
    const char *nomes[] = {"SELECT", "INSERT", "UPDATE", "DELETE"};
    QString t = QStringLiteral("| Table | Owner | SELECT | INSERT | UPDATE | DELETE |\n|---|---|---|---|---|---|\n");
    QString grants;
    QStringList criadas;
    for (auto it = direitos.cbegin(); it != direitos.cend(); ++it) {
        const bool cria = it.value().contains(RegistoInstrucoes::Cria);
        if (cria && it.value().size() == 1) {
            criadas << it.key();
            continue;
        }
        if (cria)
            criadas << it.key();
        t += QStringLiteral("| %1 | %2 |").arg(it.key(), propria(it.key()) ? QStringLiteral("Tessela") : QStringLiteral("ERP"));
        QStringList lista;
        for (int d = RegistoInstrucoes::Le; d <= RegistoInstrucoes::Apaga; ++d) {
            const bool tem = it.value().contains(d);
            t += tem ? QStringLiteral(" yes |") : QStringLiteral(" |");
            if (tem)
                lista << QLatin1String(nomes[d]);
        }
        t += QLatin1Char('\n');
        grants += QStringLiteral("GRANT %1 ON dbo.%2 TO tessela;\n").arg(lista.join(QStringLiteral(", ")), it.key());
    }
    QString r = t + QStringLiteral("\nAs a script (the role `tessela`; make the program's SQL login a member of it):\n\n```tsql\n"
                                   "IF DATABASE_PRINCIPAL_ID(N'tessela') IS NULL CREATE ROLE tessela;\n")
                + grants + QStringLiteral("-- ALTER ROLE tessela ADD MEMBER <utilizador do Tessela>;\n```\n");
    if (!criadas.isEmpty())
        r += QStringLiteral("\nThe program creates %1 itself when they are missing (first start); with "
                            "`platform/erp/sqlserver/tabelas_proprias.sql` run first it never does, and needs no CREATE "
                            "permission.\n")
                 .arg(criadas.join(QStringLiteral(", ")));
    return r;
}
} // namespace

QString Catalogo::normaliza(const QString &sql) { return sql.simplified(); }

QString Catalogo::pagina(const QMap<RegistoInstrucoes::Chave, QStringList> &porOperacao)
{
    QString p = QStringLiteral(
        "# Statements Tessela sends to SQL Server\n\n"
        "Generated from the running code: do not edit. `bash scripts/catalogue.sh` drives the program's operations "
        "with the SQL Server dialect (tests/catalogo/tst_instrucoes.cpp; the technique is in docs/architecture.md) "
        "and writes this page again; the test fails when the code sends a statement this page does not hold.\n\n"
        "Every value is a bound parameter (`?`). Transaction control (BEGIN/COMMIT/ROLLBACK TRANSACTION, SAVE "
        "TRANSACTION) and the connection's own `SELECT 1` are not listed; they need no permission. The tables and "
        "columns of each statement are those SQLite found it to read and write when it prepared the same statement.\n\n"
        "## Permissions to grant\n\n");
    p += permissoes(porOperacao);
    QString janela;
    for (auto it = porOperacao.cbegin(); it != porOperacao.cend(); ++it) {
        if (it.key().janela != janela) {
            janela = it.key().janela;
            p += QStringLiteral("\n## %1\n").arg(janela);
        }
        p += QStringLiteral("\n### %1\n").arg(it.key().operacao);
        for (const QString &sql : it.value()) {
            const QList<Acesso> acessos = RegistoInstrucoes::acessosDe(sql);
            QStringList linhas;
            const QString le = porTabela(acessos, RegistoInstrucoes::Le);
            if (!le.isEmpty())
                linhas << QStringLiteral("reads ") + le;
            const struct { RegistoInstrucoes::Tipo tipo; const char *nome; } escritas[] = {
                {RegistoInstrucoes::Insere, "inserts "}, {RegistoInstrucoes::Altera, "updates "},
                {RegistoInstrucoes::Apaga, "deletes from "}, {RegistoInstrucoes::Cria, "creates "}};
            for (const auto &e : escritas) {
                const QString w = porTabela(acessos, e.tipo);
                if (!w.isEmpty())
                    linhas << QLatin1String(e.nome) + w;
            }
            p += QStringLiteral("\n```sql\n%1\n```\n").arg(normaliza(sql));
            if (!linhas.isEmpty())
                p += QStringLiteral("%1.\n").arg(linhas.join(QStringLiteral("; ")));
        }
    }
    return p;
}

QSet<QString> Catalogo::instrucoesDe(const QString &pagina)
{
    QSet<QString> r;
    static const QRegularExpression bloco(QStringLiteral("```sql\\n(.*?)\\n```"), QRegularExpression::DotMatchesEverythingOption);
    for (auto it = bloco.globalMatch(pagina); it.hasNext();)
        r.insert(normaliza(it.next().captured(1)));
    return r;
}
