#include "registoinstrucoes.h"

#include <QHash>
#include <QRegularExpression>

namespace {
struct Estado
{
    bool activo = false;
    RegistoInstrucoes::Chave actual{QStringLiteral("(sem janela)"), QStringLiteral("(sem operação)")};
    QMap<RegistoInstrucoes::Chave, QStringList> porOperacao;
    QHash<QString, QList<RegistoInstrucoes::Acesso>> acessos;
};

Estado &estado()
{
    static Estado e;
    return e;
}

// SQLite tells which table an INSERT writes, not its columns: they are the
// statement's own list.
QList<RegistoInstrucoes::Acesso> colunasInseridas(const QString &sql, const QList<RegistoInstrucoes::Acesso> &acessos)
{
    static const QRegularExpression re(QStringLiteral("^\\s*INSERT\\s+INTO\\s+\\[?(\\w+)\\]?\\s*\\(([^)]*)\\)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return acessos;
    QList<RegistoInstrucoes::Acesso> r;
    for (const auto &a : acessos)
        if (!(a.tipo == RegistoInstrucoes::Insere && a.tabela.compare(m.captured(1), Qt::CaseInsensitive) == 0))
            r << a;
    for (QString c : m.captured(2).split(QLatin1Char(','))) {
        c = c.trimmed().remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        r << RegistoInstrucoes::Acesso{RegistoInstrucoes::Insere, m.captured(1), c};
    }
    return r;
}
} // namespace

bool RegistoInstrucoes::activo() { return estado().activo; }
void RegistoInstrucoes::activa(bool sim) { estado().activo = sim; }

void RegistoInstrucoes::limpa()
{
    estado().porOperacao.clear();
    estado().acessos.clear();
}

RegistoInstrucoes::Operacao::Operacao(const QString &janela, const QString &operacao) : m_anterior(estado().actual)
{
    estado().actual = Chave{janela, operacao};
}

RegistoInstrucoes::Operacao::~Operacao() { estado().actual = m_anterior; }

void RegistoInstrucoes::anota(const QString &sqlServer, const QList<Acesso> &acessos)
{
    static const QRegularExpression controlo(QStringLiteral("^\\s*(BEGIN|COMMIT|ROLLBACK|SAVEPOINT|RELEASE)\\b"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (controlo.match(sqlServer).hasMatch())
        return;
    Estado &e = estado();
    QStringList &lista = e.porOperacao[e.actual];
    if (!lista.contains(sqlServer))
        lista << sqlServer;
    QList<Acesso> &conhecidos = e.acessos[sqlServer];
    for (const Acesso &a : colunasInseridas(sqlServer, acessos))
        if (!conhecidos.contains(a))
            conhecidos << a;
}

QMap<RegistoInstrucoes::Chave, QStringList> RegistoInstrucoes::porOperacao() { return estado().porOperacao; }

QList<RegistoInstrucoes::Acesso> RegistoInstrucoes::acessosDe(const QString &sqlServer) { return estado().acessos.value(sqlServer); }
