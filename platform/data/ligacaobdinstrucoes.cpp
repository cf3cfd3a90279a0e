// Statements and result sets: prepared statements kept per text, values
// bound, results read into a Recordset, rows written back through the key,
// and the nested transactions.
#include "ligacaobd.h"
#include "comparacodigos.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
// The declared length of a text column type: "varchar(15)" gives 15, other types 0.
int comprimentoDeclarado(const QString &tipo)
{
    static const QRegularExpression re(QStringLiteral("char\\s*\\(\\s*(\\d+)\\s*\\)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(tipo);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// A local date and time. Making one asks the system for the time zone's
// offset, microseconds each (the C library looks at the zone file every
// time when TZ is not set); the dates of a result set repeat a lot, so the
// ones made last are kept.
QDateTime dataHora(int a, int m, int d, int h, int mi, int se)
{
    thread_local QHash<qint64, QDateTime> feitas;
    const qint64 chave = ((((qint64(a) * 16 + m) * 32 + d) * 32 + h) * 64 + mi) * 64 + se;
    if (const auto i = feitas.constFind(chave); i != feitas.constEnd())
        return i.value();
    if (feitas.size() >= 4096)
        feitas.clear();
    const QDateTime dt(QDate(a, m, d), QTime(h, mi, se));
    feitas.insert(chave, dt);
    return dt;
}

// Reads "yyyy-MM-dd[ HH:mm:ss]" by hand: QDateTime::fromString costs tens of
// microseconds a value, which dominates reading thousands of dated rows.
QVariant comoData(const QVariant &v)
{
    if (v.metaType().id() != QMetaType::QString)
        return v;
    const QString s = v.toString();
    const auto digitos = [&](int pos, int n, int *r) {
        int x = 0;
        for (int i = pos; i < pos + n; ++i) {
            if (i >= s.size() || !s.at(i).isDigit())
                return false;
            x = x * 10 + s.at(i).digitValue();
        }
        *r = x;
        return true;
    };
    int a, m, d, h = 0, mi = 0, se = 0;
    if (s.size() >= 10 && s.at(4) == QLatin1Char('-') && s.at(7) == QLatin1Char('-') && digitos(0, 4, &a)
        && digitos(5, 2, &m) && digitos(8, 2, &d)) {
        if (s.size() >= 19 && !(digitos(11, 2, &h) && digitos(14, 2, &mi) && digitos(17, 2, &se)))
            h = mi = se = 0;
        if (QDate::isValid(a, m, d) && QTime::isValid(h, mi, se))
            return dataHora(a, m, d, h, mi, se);
    }
    const QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
    return dt.isValid() ? QVariant(dt) : v;
}

QString tabelaDe(const QString &sql)
{
    static const QRegularExpression re(QStringLiteral("\\bfrom\\s+([\\[\\]\\w\\.]+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return QString();
    QString t = m.captured(1);
    t.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
    if (t.startsWith(QLatin1String("dbo."), Qt::CaseInsensitive))
        t = t.mid(4);
    return t;
}
} // namespace

QString LigacaoBd::nomeColuna(QString nome)
{
    // The SQLite ODBC driver counts a name's length in bytes: a name with
    // accents comes with a NUL and garbage after it.
    if (const qsizetype nulo = nome.indexOf(QChar(0)); nulo >= 0)
        nome.truncate(nulo);
    return nome;
}

QVariant LigacaoBd::valorLido(const QVariant &v, bool data)
{
    if (v.isNull())
        return QVariant();
    return data ? comoData(v) : v;
}

QSqlQuery *LigacaoBd::preparada(const QString &sql)
{
    if (QSqlQuery *q = m_preparadas.value(sql))
        return q;
    if (m_preparadas.size() >= 256) {
        qDeleteAll(m_preparadas);
        m_preparadas.clear();
    }
    auto *q = new QSqlQuery(m_db);
    q->setForwardOnly(true);
    m_acessos.clear();
    if (!q->prepare(m_dialecto.registo() ? Dialecto::lado(sql, Dialecto::SQLite) : sql)) {
        defineErroSql(q->lastError());
        delete q;
        return nullptr;
    }
    anota(sql);
    m_acessos.clear();
    m_preparadas.insert(sql, q);
    return q;
}

QSqlQuery *LigacaoBd::preparaExecucao(const QString &sql)
{
    if (m_aPerguntar) {
        // Called from the question of a statement still running (the window
        // it let paint): SQLite cannot run another statement inside it.
        defineErro(ErroBd::EmExecucao, QStringLiteral("A ligação à base de dados está ocupada com uma consulta longa; "
                                                      "repita depois de ela terminar."));
        return nullptr;
    }
    m_erro = ErroBd{};
    if (!confirmaFicheiro())
        return nullptr;
    if (!aberta()) {
        defineErro(ErroBd::ErroLigacao,
                   QStringLiteral("A base de dados não está aberta (%1).").arg(m_destino.isEmpty() ? QStringLiteral("sem ligação") : m_destino));
        return nullptr;
    }
    if (!m_falhaMarca.isEmpty() && sql.contains(m_falhaMarca, Qt::CaseInsensitive) && m_falhaSaltar-- <= 0) {
        m_falhaMarca.clear();
        defineErro(m_falhaNumero, QStringLiteral("Falha provocada para ensaio"));
        return nullptr;
    }
    // Outside a transaction a read waits only briefly for another program's
    // lock; writes, and everything inside a transaction, wait the long time.
    m_leitura = m_nivel == 0 && !m_controlo;
    if (m_leitura)
        esperaAte(m_esperaLeitura);
    QSqlQuery *q = preparada(sql);
    if (!q)
        return nullptr;
    m_acessos.clear();
    anota(sql);
    if (m_sqlite && m_leitura)
        m_leitura = soLeSqlite(*q);
    else if (m_sqliteOdbc && m_leitura)
        m_leitura = soLeTexto(sql);
    esperaAte(m_leitura ? m_esperaLeitura : m_esperaEscrita);
    return q;
}

bool LigacaoBd::executaComQt(QSqlQuery *q, const QString &sql, const QVariantList &valores)
{
    for (int i = 0; i < valores.size(); ++i)
        q->bindValue(i, m_dialecto.paraParametro(valores.at(i)));
    if (q->exec())
        return true;
    defineErroSql(q->lastError());
    q->finish();
    // A statement that failed may have been invalidated: prepare it afresh next time.
    delete m_preparadas.take(sql);
    verificaTransaccao();
    return false;
}

bool LigacaoBd::executa(const QString &sql, const QVariantList &valores, QSqlQuery **saida)
{
    QSqlQuery *q = preparaExecucao(sql);
    if (!q || !executaComQt(q, sql, valores))
        return false;
    *saida = q;
    return true;
}

bool LigacaoBd::Executa(const QString &sql, const QVariantList &valores)
{
    m_linhasAfectadas = 0;
    if (soNoServidor(sql))
        return true;
    QSqlQuery *q = preparaExecucao(sql);
    if (!q)
        return false;
    if (sqlite3_stmt *stmt = m_sqlite ? instrucaoSqlite(*q) : nullptr)
        return executaSqlite(stmt, sql, valores);
    if (!executaComQt(q, sql, valores))
        return false;
    m_linhasAfectadas = q->numRowsAffected();
    q->finish();
    return true;
}

bool LigacaoBd::lerResultado(QSqlQuery &q, Recordset &rs)
{
    rs = Recordset();
    rs.d = QSharedPointer<Recordset::Dados>::create();
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    const QList<bool> datas = colunasData(q, n);
    for (int i = 0; i < n; ++i) {
        Recordset::Campo c;
        c.nome = nomeColuna(rec.fieldName(i));
        c.tipo = datas.at(i) ? QMetaType::QDateTime : QMetaType::Type(rec.field(i).metaType().id());
        rs.d->campos << c;
    }
    if (q.next()) {
        Recordset::Linha primeira;
        primeira.valores.reserve(n);
        for (int i = 0; i < n; ++i)
            primeira.valores << valorLido(q.value(i), datas.at(i));
        rs.d->linhas << std::move(primeira);
        if (sqlite3_stmt *stmt = m_sqlite ? instrucaoSqlite(q) : nullptr) {
            if (!leLinhasSqlite(stmt, q, rs, datas))
                return false;
        } else {
            while (q.next()) {
                Recordset::Linha l;
                l.valores.reserve(n);
                for (int i = 0; i < n; ++i)
                    l.valores << valorLido(q.value(i), datas.at(i));
                rs.d->linhas << std::move(l);
            }
        }
    }
    if (q.lastError().isValid()) {
        defineErroSql(q.lastError());
        q.finish();
        rs = Recordset();
        return false;
    }
    q.finish();
    return true;
}

bool LigacaoBd::AbreConsulta(const QString &sql, Recordset &rs, const QVariantList &valores)
{
    QSqlQuery *q = nullptr;
    rs = Recordset();
    if (!executa(sql, valores, &q))
        return false;
    return lerResultado(*q, rs);
}

QVariant LigacaoBd::valorUnico(const QString &sql, const QVariantList &valores)
{
    QSqlQuery *q = nullptr;
    if (!executa(sql, valores, &q))
        return QVariant();
    QVariant v;
    if (q->next())
        v = q->value(0);
    if (q->lastError().isValid())
        defineErroSql(q->lastError());
    q->finish();
    return v.isNull() ? QVariant() : v;
}

const LigacaoBd::Chave *LigacaoBd::chaveDe(const QString &tabela)
{
    const QString k = tabela.toLower();
    if (const auto i = m_chaves.constFind(k); i != m_chaves.constEnd())
        return &i.value();
    Chave c;
    Recordset rs;
    static const QString sqlServer = QStringLiteral(
        "SELECT k.COLUMN_NAME, COLUMNPROPERTY(OBJECT_ID(k.TABLE_NAME), k.COLUMN_NAME, 'IsIdentity') "
        "FROM INFORMATION_SCHEMA.TABLE_CONSTRAINTS t "
        "JOIN INFORMATION_SCHEMA.KEY_COLUMN_USAGE k ON k.CONSTRAINT_NAME = t.CONSTRAINT_NAME "
        "WHERE t.CONSTRAINT_TYPE = 'PRIMARY KEY' AND t.TABLE_NAME = ? ORDER BY k.ORDINAL_POSITION");
    if (m_dialecto.motor() == Dialecto::SQLite) {
        if (!AbreConsulta(m_dialecto.conforme(sqlServer, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?) ORDER BY pk")),
                          rs, {tabela}))
            return nullptr;
        int inteiras = 0;
        QString inteira;
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString nome = rs.Valor(0).toString(), tipo = rs.Valor(1).toString();
            if (const int n = comprimentoDeclarado(tipo))
                c.comprimentos.insert(nome.toLower(), n);
            if (rs.Valor(2).toInt() > 0) {
                c.campos << nome;
                if (tipo.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0) {
                    ++inteiras;
                    inteira = nome;
                }
            }
        }
        if (c.campos.size() == 1 && inteiras == 1)
            c.automatica = inteira;
    } else {
        if (!AbreConsulta(sqlServer, rs, {tabela}))
            return nullptr;
        for (; !rs.Eof(); rs.MoveNext()) {
            c.campos << rs.Valor(0).toString();
            if (rs.Valor(1).toInt() == 1)
                c.automatica = rs.Valor(0).toString();
        }
    }
    if (c.campos.isEmpty()) {
        if (!existeTabela(tabela))
            defineErro(ErroBd::TabelaInexistente, QStringLiteral("no such table: %1").arg(tabela));
        else
            defineErro(ErroBd::ErroComando,
                       QStringLiteral("A tabela %1 não tem chave primária: não pode ser actualizada.").arg(tabela));
        return nullptr;
    }
    return &m_chaves.insert(k, c).value();
}

bool LigacaoBd::AbreTabela(const QString &sql, Recordset &rs, const QVariantList &valores)
{
    rs = Recordset();
    const QString tabela = tabelaDe(sql);
    if (tabela.isEmpty()) {
        defineErro(ErroBd::ErroComando, QStringLiteral("Consulta sem tabela: %1").arg(sql));
        return false;
    }
    if (!AbreConsulta(sql, rs, valores))
        return false;
    const Chave *chave = chaveDe(tabela);
    if (!chave) {
        rs = Recordset();
        return false;
    }
    rs.d->ligacao = this;
    rs.d->tabela = tabela;
    for (int i = 0; i < rs.d->campos.size(); ++i)
        rs.d->campos[i].comprimento = chave->comprimentos.value(rs.d->campos.at(i).nome.toLower());
    for (const QString &k : chave->campos) {
        const int i = rs.indiceCampo(k);
        if (i < 0) {
            defineErro(ErroBd::ErroComando,
                       QStringLiteral("A consulta não inclui a chave %1 da tabela %2.").arg(k, tabela));
            rs = Recordset();
            return false;
        }
        rs.d->chave << i;
    }
    rs.d->chaveAutomatica = chave->automatica.isEmpty() ? -1 : rs.indiceCampo(chave->automatica);
    for (Recordset::Linha &l : rs.d->linhas) {
        l.originais = l.valores;
        l.alterado = QList<bool>(l.valores.size(), false);
    }
    return true;
}

bool LigacaoBd::gravaLinha(Recordset::Dados &d, Recordset::Linha &l)
{
    QStringList colunas;
    QVariantList valores;
    for (int i = 0; i < d.campos.size(); ++i)
        if (l.alterado.at(i)) {
            // SQLite keeps a text of any length: refuse it as the server would.
            const Recordset::Campo &c = d.campos.at(i);
            const QVariant &v = l.valores.at(i);
            if (c.comprimento > 0 && v.metaType().id() == QMetaType::QString && ComparaCodigos::comprimento(v.toString()) > c.comprimento) {
                m_erro = ErroBd::textoLongo(c.nome, v.toString(), c.comprimento);
                return false;
            }
            colunas << c.nome;
            valores << v;
        }

    if (l.nova) {
        QString sql;
        if (colunas.isEmpty())
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d.tabela);
        else
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(d.tabela, colunas.join(QStringLiteral(", ")),
                           QStringList(colunas.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        QSqlQuery *q = nullptr;
        if (!executa(sql, valores, &q))
            return false;
        // Qt's ODBC driver has no last inserted id: the engine is asked below.
        QVariant id = m_sqlite ? q->lastInsertId() : QVariant();
        q->finish();
        if (m_dialecto.registo() && d.chaveAutomatica >= 0 && !l.alterado.at(d.chaveAutomatica))
            RegistoInstrucoes::anota(QStringLiteral("SELECT CAST(@@IDENTITY AS int)"), {});
        if (d.chaveAutomatica >= 0 && !l.alterado.at(d.chaveAutomatica)) {
            if (!id.isValid() || id.isNull())
                id = valorUnico(m_dialecto.motor() == Dialecto::SQLite ? QStringLiteral("SELECT last_insert_rowid()")
                                                                       : QStringLiteral("SELECT CAST(@@IDENTITY AS int)"));
            l.valores[d.chaveAutomatica] = id;
        }
    } else {
        if (colunas.isEmpty())
            return true;
        QStringList onde;
        for (int k : d.chave) {
            onde << d.campos.at(k).nome + QStringLiteral(" = ?");
            valores << l.originais.at(k);
        }
        const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                .arg(d.tabela, colunas.join(QStringLiteral(" = ?, ")) + QStringLiteral(" = ?"),
                                     onde.join(QStringLiteral(" AND ")));
        if (!Executa(sql, valores))
            return false;
    }
    l.nova = false;
    l.originais = l.valores;
    for (bool &a : l.alterado)
        a = false;
    return true;
}

bool LigacaoBd::IniciaTransaccao()
{
    if (m_aPerguntar)
        return preparaExecucao(QString()) != nullptr;   // refused, with the reason
    m_erro = ErroBd{};
    if (!aberta()) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("A base de dados não está aberta."));
        return false;
    }
    if (m_nivel == 0 && !confirmaFicheiro())
        return false;
    bool ok;
    m_controlo = true;
    if (m_nivel == 0)
        ok = m_dialecto.motor() == Dialecto::SQLite ? Executa(QStringLiteral("BEGIN IMMEDIATE")) : m_db.transaction();
    else
        ok = Executa(m_dialecto.motor() == Dialecto::SQLite ? QStringLiteral("SAVEPOINT tessela_%1").arg(m_nivel)
                                                            : QStringLiteral("SAVE TRANSACTION tessela_%1").arg(m_nivel));
    m_controlo = false;
    if (!ok) {
        if (!m_erro.existe())
            defineErroSql(m_db.lastError());
        return false;
    }
    ++m_nivel;
    return true;
}

bool LigacaoBd::TerminaTransaccao()
{
    if (m_nivel <= 0)
        return false;
    bool ok;
    m_controlo = true;
    if (m_nivel == 1)
        ok = m_dialecto.motor() == Dialecto::SQLite ? Executa(QStringLiteral("COMMIT")) : m_db.commit();
    else
        ok = m_dialecto.motor() == Dialecto::SQLite ? Executa(QStringLiteral("RELEASE tessela_%1").arg(m_nivel - 1))
                                                    : true;
    m_controlo = false;
    if (!ok) {
        if (!m_erro.existe())
            defineErroSql(m_db.lastError());
        return false;     // still inside the transaction: the caller rolls back
    }
    --m_nivel;
    return true;
}

bool LigacaoBd::AnulaTransaccao()
{
    if (m_nivel <= 0)
        return false;
    const ErroBd anterior = m_erro;   // keep the failure that caused the rollback
    bool ok;
    if (m_nivel == 1)
        ok = m_dialecto.motor() == Dialecto::SQLite ? Executa(QStringLiteral("ROLLBACK")) : m_db.rollback();
    else if (m_dialecto.motor() == Dialecto::SQLite)
        ok = Executa(QStringLiteral("ROLLBACK TO tessela_%1").arg(m_nivel - 1))
             && Executa(QStringLiteral("RELEASE tessela_%1").arg(m_nivel - 1));
    else
        ok = Executa(QStringLiteral("ROLLBACK TRANSACTION tessela_%1").arg(m_nivel - 1));
    --m_nivel;
    if (anterior.existe())
        m_erro = anterior;
    return ok;
}

bool LigacaoBd::existeTabela(const QString &nome)
{
    const QString sql = m_dialecto.conforme(
        QStringLiteral("SELECT 1 FROM INFORMATION_SCHEMA.TABLES WHERE TABLE_NAME = ?"),
        QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND name = ? COLLATE NOCASE"));
    return valorUnico(sql, {nome}).isValid();
}
