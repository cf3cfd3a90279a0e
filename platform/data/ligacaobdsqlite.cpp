// SQLite's own: the collation, the journal mode, the lock waits, the page
// cache and memory map of a handle; the statements run and read straight
// through the SQLite handle; SQLite's failures as ErroBd numbers.
#include "ligacaobd.h"
#include "comparacodigos.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlResult>
#include <QVarLengthArray>

#include <sqlite3.h>

namespace {
// Binds a value as Qt's SQLite driver does (a null text or byte array is
// NULL; whole numbers and flags as integers; anything else as its text), but
// texts as UTF-8, the database's own encoding, kept in guarda until the
// statement has run.
int ligaValor(sqlite3_stmt *stmt, int posicao, const QVariant &v, QByteArray &guarda)
{
    if (v.isNull())
        return sqlite3_bind_null(stmt, posicao);
    switch (v.metaType().id()) {
    case QMetaType::QString: {
        const QString *t = static_cast<const QString *>(v.constData());
        if (t->isNull())
            return sqlite3_bind_null(stmt, posicao);
        guarda = t->toUtf8();
        return sqlite3_bind_text(stmt, posicao, guarda.constData(), int(guarda.size()), SQLITE_STATIC);
    }
    case QMetaType::QByteArray: {
        const QByteArray *b = static_cast<const QByteArray *>(v.constData());
        if (b->isNull())
            return sqlite3_bind_null(stmt, posicao);
        return sqlite3_bind_blob(stmt, posicao, b->constData(), int(b->size()), SQLITE_TRANSIENT);
    }
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(stmt, posicao, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, posicao, v.toDouble());
    default:
        guarda = v.toString().toUtf8();
        return sqlite3_bind_text(stmt, posicao, guarda.constData(), int(guarda.size()), SQLITE_STATIC);
    }
}
} // namespace

sqlite3_stmt *LigacaoBd::instrucaoSqlite(const QSqlQuery &q)
{
    const QVariant h = q.result() ? q.result()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(h.constData());
}

// Declared column types of a SQLite statement: dates are stored as text there,
// and the declared type is what tells a date column from a text column.
QList<bool> LigacaoBd::colunasData(const QSqlQuery &q, int n)
{
    QList<bool> datas(n, false);
    sqlite3_stmt *stmt = instrucaoSqlite(q);
    if (!stmt)
        return datas;
    for (int i = 0; i < n; ++i) {
        const char *tipo = sqlite3_column_decltype(stmt, i);
        if (tipo) {
            const QByteArray t = QByteArray(tipo).toLower();
            datas[i] = t.contains("date") || t.contains("time");
        }
    }
    return datas;
}

bool LigacaoBd::soLeSqlite(const QSqlQuery &q)
{
    sqlite3_stmt *stmt = instrucaoSqlite(q);
    return stmt && sqlite3_stmt_readonly(stmt);
}

bool LigacaoBd::executaSqlite(sqlite3_stmt *stmt, const QString &sql, const QVariantList &valores)
{
    // The statement run straight, without Qt's copies of the values (an
    // import runs hundreds of thousands of these).
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    QVarLengthArray<QByteArray, 8> guardas(valores.size());
    int rc = SQLITE_OK;
    for (int i = 0; i < valores.size() && rc == SQLITE_OK; ++i)
        rc = ligaValor(stmt, i + 1, m_dialecto.paraParametro(valores.at(i)), guardas[i]);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) {
        m_linhasAfectadas = sqlite3_changes(m_sqlite);
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);   // nothing keeps pointing at the texts about to go
        return true;
    }
    const int codigo = sqlite3_extended_errcode(m_sqlite);
    const QString texto = QString::fromUtf8(sqlite3_errmsg(m_sqlite));
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    defineErroSqlite(codigo, texto);
    delete m_preparadas.take(sql);
    verificaTransaccao();
    return false;
}

bool LigacaoBd::leLinhasSqlite(sqlite3_stmt *stmt, QSqlQuery &q, Recordset &rs, const QList<bool> &datas)
{
    // The rows after the first straight from the statement, which has
    // given exactly the row above. The values are those Qt's driver makes
    // (text, 64-bit integer, double, bytes, null) without its per-row
    // copies and its conversion of every text to UTF-16, which cost more
    // than the reading itself on a large result.
    const int n = datas.size();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Recordset::Linha l;
        l.valores.reserve(n);
        for (int i = 0; i < n; ++i) {
            switch (sqlite3_column_type(stmt, i)) {
            case SQLITE_NULL:
                l.valores << QVariant();
                break;
            case SQLITE_INTEGER:
                l.valores << valorLido(QVariant(qlonglong(sqlite3_column_int64(stmt, i))), datas.at(i));
                break;
            case SQLITE_FLOAT:
                l.valores << valorLido(QVariant(sqlite3_column_double(stmt, i)), datas.at(i));
                break;
            case SQLITE_BLOB:
                l.valores << valorLido(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)), sqlite3_column_bytes(stmt, i)),
                                       datas.at(i));
                break;
            default:
                l.valores << valorLido(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                                         sqlite3_column_bytes(stmt, i)),
                                       datas.at(i));
            }
        }
        rs.d->linhas << std::move(l);
    }
    if (rc != SQLITE_DONE) {
        defineErroSqlite(sqlite3_extended_errcode(m_sqlite), QString::fromUtf8(sqlite3_errmsg(m_sqlite)));
        q.finish();
        rs = Recordset();
        verificaTransaccao();
        return false;
    }
    return true;
}

void LigacaoBd::defineErroSqlite(int codigo, const QString &texto)
{
    const QString motor = texto.isEmpty() ? QString::fromUtf8(sqlite3_errstr(codigo)) : texto;
    const auto com = [&](long numero, const QString &explicacao) {
        defineErro(numero, QStringLiteral("%1 (%2)").arg(explicacao, motor));
    };
    switch (codigo & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        com(ErroBd::BaseOcupada, m_leitura ? QStringLiteral("A base de dados está ocupada por outro programa e não pôde ser lida agora")
                                           : QStringLiteral("A base de dados está bloqueada por outro programa"));
        return;
    case SQLITE_READONLY:
        if (codigo == SQLITE_READONLY_DBMOVED)
            com(ErroBd::ErroLigacao, QStringLiteral("O ficheiro da base de dados %1 foi apagado, mudado de nome ou substituído "
                                                    "depois de aberto")
                                         .arg(m_ficheiro));
        else
            com(ErroBd::SoLeitura, QStringLiteral("A base de dados só pode ser lida"));
        return;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        com(ErroBd::SoLeitura, QStringLiteral("Sem permissão para escrever na base de dados"));
        return;
    case SQLITE_IOERR:
    case SQLITE_CANTOPEN:
    case SQLITE_PROTOCOL:
        com(ErroBd::ErroDisco, QStringLiteral("Não foi possível ler ou escrever o ficheiro da base de dados"));
        return;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        com(ErroBd::ErroDisco, QStringLiteral("O ficheiro da base de dados está danificado"));
        return;
    case SQLITE_FULL:
        com(ErroBd::DiscoCheio, QStringLiteral("Não há espaço no disco para gravar na base de dados"));
        return;
    case SQLITE_CONSTRAINT:
        com(ErroBd::Restricao, QStringLiteral("A base de dados recusou o registo"));
        return;
    case SQLITE_TOOBIG:
        com(ErroBd::TextoLongo, QStringLiteral("Um valor é grande demais para a base de dados"));
        return;
    case SQLITE_INTERRUPT:
        com(ErroBd::Interrompida, QStringLiteral("A consulta foi interrompida"));
        return;
    default:
        defineErro(motor.contains(QLatin1String("no such table"), Qt::CaseInsensitive) ? ErroBd::TabelaInexistente
                                                                                        : ErroBd::ErroComando,
                   motor);
        return;
    }
}

void LigacaoBd::preparaSqlite()
{
    m_sqlite = nullptr;
    m_espera = -1;
    if (m_db.driverName() != QLatin1String("QSQLITE"))
        return;
    const QVariant h = m_db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return;
    m_sqlite = *static_cast<sqlite3 *const *>(h.constData());
    if (!m_sqlite)
        return;
    sqlite3_create_collation_v2(m_sqlite, ComparaCodigos::Nome, SQLITE_UTF8, nullptr, ComparaCodigos::comparaSqlite, nullptr);
    esperaAte(m_esperaEscrita);
    instalaPergunta();
    instalaRegisto();
}

void LigacaoBd::ajustaLeitura()
{
    // 64 MB of page cache: lookups stay in memory. The file mapped into
    // memory, not in a network folder (a failing read of a mapped page ends
    // the program instead of failing the statement).
    sqlite3_exec(m_sqlite, "PRAGMA cache_size = -65536", nullptr, nullptr, nullptr);
    if (sizeof(void *) >= 8 && !FicheiroBd::emPastaDeRede(m_ficheiro))
        sqlite3_exec(m_sqlite, QByteArray("PRAGMA mmap_size = " + QByteArray::number(MapaMemoria)).constData(), nullptr, nullptr,
                     nullptr);
}

void LigacaoBd::passaParaWal()
{
    // Set once in the file and kept there. Not in a network folder (the log
    // needs memory shared on one machine), not on a file that cannot be
    // written, and not while another program holds the file: then it stays
    // as it is, without waiting.
    if (!m_sqlite || soLeitura() || FicheiroBd::emPastaDeRede(m_ficheiro) || modoDiario() == QLatin1String("wal"))
        return;
    esperaAte(m_esperaLeitura);
    sqlite3_exec(m_sqlite, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    esperaAte(m_esperaEscrita);
}

void LigacaoBd::esperaAte(int ms)
{
    if (ms == m_espera)
        return;
    if (m_sqlite) {
        sqlite3_busy_timeout(m_sqlite, ms);
        m_espera = ms;
    } else if (m_sqliteOdbc) {
        // Through ODBC the wait is a statement (it replaces the driver's
        // own), and the SQLite ODBC driver runs a statement that found the
        // file locked twice (see preparaOdbc): each run waits half, so the
        // statement waits its time once, as on a direct connection.
        QSqlQuery q(m_db);
        if (q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg((ms + 1) / 2)))
            m_espera = ms;
    }
}

bool LigacaoBd::soLeitura() const
{
    if (m_sqliteOdbc && !m_ficheiroOdbc.isEmpty())
        return !QFileInfo(m_ficheiroOdbc).isWritable();   // the driver does not say
    return m_sqlite && sqlite3_db_readonly(m_sqlite, "main") == 1;
}

QString LigacaoBd::modoDiario()
{
    if (!m_sqlite && !m_sqliteOdbc)
        return QString();
    const ErroBd antes = m_erro;
    // SQLite's own: nothing of it is sent to the server.
    const QString modo = valorUnico(m_dialecto.conforme(QString(), QStringLiteral("PRAGMA journal_mode"))).toString().toLower();
    m_erro = antes;
    return modo;
}

void LigacaoBd::verificaTransaccao()
{
    // Some failures (disk full, I/O) make SQLite roll the whole transaction
    // back: the levels it had are gone.
    if (m_sqlite && m_nivel > 0 && sqlite3_get_autocommit(m_sqlite))
        m_nivel = 0;
}

void LigacaoBd::esvaziaDiario()
{
    if (m_sqlite && aberta())
        sqlite3_exec(m_sqlite, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
}

bool LigacaoBd::defineErroQtSqlite(const QSqlError &e, const QString &texto)
{
    // Qt gives the primary result code; the handle keeps the extended one.
    bool ok = false;
    const int primario = e.nativeErrorCode().toInt(&ok);
    if (!ok || primario <= 0)
        return false;
    const int estendido = sqlite3_extended_errcode(m_sqlite);
    defineErroSqlite((estendido & 0xFF) == primario ? estendido : primario, texto);
    return true;
}
