#include "ligacaobd.h"
#include "cadeialigacao.h"
#include "comparacodigos.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QUrl>
#include <QVarLengthArray>

#include <sqlite3.h>

namespace {
QAtomicInt g_contador;

sqlite3_stmt *instrucaoSqlite(const QSqlQuery &q)
{
    const QVariant h = q.result() ? q.result()->handle() : QVariant();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3_stmt*") != 0)
        return nullptr;
    return *static_cast<sqlite3_stmt *const *>(h.constData());
}

// The declared length of a text column type: "varchar(15)" gives 15, other types 0.
int comprimentoDeclarado(const QString &tipo)
{
    static const QRegularExpression re(QStringLiteral("char\\s*\\(\\s*(\\d+)\\s*\\)"), QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(tipo);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Declared column types of a SQLite statement: dates are stored as text there,
// and the declared type is what tells a date column from a text column.
QList<bool> colunasData(const QSqlQuery &q, int n)
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

LigacaoBd::LigacaoBd() = default;

LigacaoBd::~LigacaoBd() { Fecha(); }

void LigacaoBd::defineErro(long numero, const QString &descricao) { m_erro = ErroBd{numero, descricao}; }

void LigacaoBd::defineErroSql(const QSqlError &e)
{
    const QString base = (e.databaseText().isEmpty() ? e.driverText() : e.databaseText()).trimmed();
    const QString nativo = e.nativeErrorCode();
    if (m_sqlite) {
        // Qt gives the primary result code; the handle keeps the extended one.
        bool ok = false;
        const int primario = nativo.toInt(&ok);
        if (ok && primario > 0) {
            const int estendido = sqlite3_extended_errcode(m_sqlite);
            defineErroSqlite((estendido & 0xFF) == primario ? estendido : primario, base);
            return;
        }
    }
    long numero = ErroBd::ErroComando;
    QString descricao = base;
    const QString servidor = nativo.section(QLatin1Char(' '), -1);   // SQL Server's error number
    if (base.contains(QLatin1String("no such table"), Qt::CaseInsensitive)
        || base.contains(QLatin1String("Invalid object name"), Qt::CaseInsensitive) || servidor == QLatin1String("208"))
        numero = ErroBd::TabelaInexistente;
    else if (servidor == QLatin1String("1222") || servidor == QLatin1String("1205")) {
        numero = ErroBd::BaseOcupada;
        descricao = QStringLiteral("A base de dados está bloqueada por outro programa (%1)").arg(base);
    } else if (servidor == QLatin1String("2627") || servidor == QLatin1String("2601") || servidor == QLatin1String("547"))
        numero = ErroBd::Restricao;
    else if (servidor == QLatin1String("8152") || servidor == QLatin1String("2628"))
        numero = ErroBd::TextoLongo;
    else if (e.type() == QSqlError::ConnectionError)
        numero = ErroBd::ErroLigacao;
    defineErro(numero, descricao);
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

bool LigacaoBd::Abre(const QString &cadeia)
{
    Fecha();
    m_erro = ErroBd{};
    const DestinoLigacao destino = DestinoLigacao::de(cadeia);
    m_cadeia = cadeia;
    m_destino = destino.descricao();
    m_nome = QStringLiteral("tessela-%1").arg(g_contador.fetchAndAddRelaxed(1) + 1);

    QString ficheiro;
    if (destino.motor == DestinoLigacao::SQLite) {
        const QFileInfo fi(destino.ficheiro);
        if (destino.ficheiro.trimmed().isEmpty()) {
            defineErro(ErroBd::ErroLigacao, QStringLiteral("Não foi indicado o ficheiro da base de dados."));
            return false;
        }
        if (!fi.exists()) {
            defineErro(ErroBd::ErroLigacao, QStringLiteral("A base de dados %1 não existe.").arg(destino.ficheiro));
            return false;
        }
        if (fi.isDir()) {
            defineErro(ErroBd::ErroLigacao,
                       QStringLiteral("%1 é uma pasta, não uma base de dados.").arg(destino.ficheiro));
            return false;
        }
        if (!fi.isReadable()) {
            defineErro(ErroBd::ErroLigacao,
                       QStringLiteral("Sem permissão para ler a base de dados %1.").arg(destino.ficheiro));
            return false;
        }
        ficheiro = fi.absoluteFilePath();
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        QUrl url = QUrl::fromLocalFile(ficheiro);
        url.setQuery(QStringLiteral("mode=rw"));
        m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_esperaEscrita));
        m_dialecto = Dialecto(Dialecto::SQLite, RegistoInstrucoes::activo());
    } else if (destino.motor == DestinoLigacao::Odbc) {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), m_nome);
        m_db.setDatabaseName(destino.odbc);
        m_dialecto = Dialecto(destino.odbc.contains(QLatin1String("SQLite"), Qt::CaseInsensitive) ? Dialecto::SQLite
                                                                                                   : Dialecto::SqlServer);
    } else {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("A ligação à base de dados não está configurada."));
        return false;
    }

    if (!m_db.open()) {
        const QSqlError e = m_db.lastError();
        defineErro(ErroBd::ErroLigacao, QStringLiteral("Não foi possível abrir a base de dados %1: %2")
                                            .arg(m_destino, e.text().trimmed()));
        Fecha();
        return false;
    }
    preparaSqlite();
    // SQLite opens lazily: read the catalogue now so that a file that is not a
    // database, or one locked by another program, is reported here.
    const QString prova = m_dialecto.motor() == Dialecto::SQLite ? QStringLiteral("SELECT count(*) FROM sqlite_master")
                                                                 : QStringLiteral("SELECT 1");
    QSqlQuery q(m_db);
    if (!q.exec(prova)) {
        const QString texto = q.lastError().text().trimmed();
        q.finish();
        QString motivo = texto;
        if (texto.contains(QLatin1String("not a database"), Qt::CaseInsensitive))
            motivo = QStringLiteral("o ficheiro não é uma base de dados SQLite");
        else if (texto.contains(QLatin1String("locked"), Qt::CaseInsensitive))
            motivo = QStringLiteral("está bloqueada por outro programa");
        defineErro(ErroBd::ErroLigacao,
                   QStringLiteral("Não foi possível abrir a base de dados %1: %2").arg(m_destino, motivo));
        q = QSqlQuery();
        Fecha();
        return false;
    }
    q = QSqlQuery();
    if (m_sqlite) {
        m_ficheiro = ficheiro;
        m_identidade = FicheiroBd::identidade(ficheiro);
        passaParaWal();
        ajustaLeitura();
    }
    return true;
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
    if (m_sqlite && ms != m_espera) {
        sqlite3_busy_timeout(m_sqlite, ms);
        m_espera = ms;
    }
}

bool LigacaoBd::soLeitura() const { return m_sqlite && sqlite3_db_readonly(m_sqlite, "main") == 1; }

QString LigacaoBd::modoDiario()
{
    if (!m_sqlite)
        return QString();
    const ErroBd antes = m_erro;
    // SQLite's own: nothing of it is sent to the server.
    const QString modo = valorUnico(m_dialecto.conforme(QString(), QStringLiteral("PRAGMA journal_mode"))).toString().toLower();
    m_erro = antes;
    return modo;
}

void LigacaoBd::Fecha()
{
    // Never under a statement that is asking its caller: it is still running.
    if (m_aPerguntar)
        return;
    qDeleteAll(m_preparadas);
    m_preparadas.clear();
    m_chaves.clear();
    m_nivel = 0;
    m_sqlite = nullptr;
    m_ficheiro.clear();
    m_cadeia.clear();
    m_identidade = {};
    if (!m_nome.isEmpty()) {
        if (m_db.isOpen())
            m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_nome);
        m_nome.clear();
    }
}

bool LigacaoBd::aberta() const { return m_db.isValid() && m_db.isOpen(); }

bool LigacaoBd::confirmaFicheiro()
{
    if (m_ficheiro.isEmpty() || m_nivel > 0)
        return true;   // not a SQLite file, or a transaction holds it
    const FicheiroBd::Identidade agora = FicheiroBd::identidade(m_ficheiro);
    if (agora == m_identidade && aberta())
        return true;
    if (!agora.existe) {
        defineErro(ErroBd::ErroLigacao,
                   QStringLiteral("O ficheiro da base de dados %1 já não está lá: foi apagado ou mudado de nome depois de "
                                  "aberto. Nada foi lido nem gravado. Reponha o ficheiro e repita a operação.")
                       .arg(m_ficheiro));
        return false;
    }
    const bool outro = !(agora == m_identidade);
    if (!reabre())
        return false;
    if (outro) {
        defineErro(ErroBd::ErroLigacao,
                   QStringLiteral("O ficheiro da base de dados %1 foi substituído por outro depois de aberto. "
                                  "Foi aberto de novo; nada foi lido nem gravado. Repita a operação.")
                       .arg(m_ficheiro));
        return false;
    }
    return true;
}

bool LigacaoBd::reabre()
{
    // What this connection still holds in its log belongs to the file it had
    // open: it goes there, so that the log left beside the path is empty and
    // never applied to the file now in its place.
    if (m_sqlite && aberta())
        sqlite3_exec(m_sqlite, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    qDeleteAll(m_preparadas);
    m_preparadas.clear();
    m_chaves.clear();
    m_sqlite = nullptr;
    if (m_db.isOpen())
        m_db.close();
    m_identidade = FicheiroBd::identidade(m_ficheiro);
    if (!m_db.open()) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("Não foi possível abrir de novo a base de dados %1: %2")
                                            .arg(m_ficheiro, m_db.lastError().text().trimmed()));
        return false;
    }
    preparaSqlite();
    QSqlQuery q(m_db);
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("Não foi possível abrir de novo a base de dados %1: %2")
                                            .arg(m_ficheiro, q.lastError().text().trimmed()));
        q = QSqlQuery();
        m_sqlite = nullptr;
        m_db.close();
        return false;
    }
    q = QSqlQuery();
    passaParaWal();
    ajustaLeitura();
    return true;
}

void LigacaoBd::verificaTransaccao()
{
    // Some failures (disk full, I/O) make SQLite roll the whole transaction
    // back: the levels it had are gone.
    if (m_sqlite && m_nivel > 0 && sqlite3_get_autocommit(m_sqlite))
        m_nivel = 0;
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
    if (m_sqlite && m_leitura) {
        sqlite3_stmt *stmt = instrucaoSqlite(*q);
        m_leitura = stmt && sqlite3_stmt_readonly(stmt);
    }
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

bool LigacaoBd::Executa(const QString &sql, const QVariantList &valores)
{
    m_linhasAfectadas = 0;
    if (soNoServidor(sql))
        return true;
    QSqlQuery *q = preparaExecucao(sql);
    if (!q)
        return false;
    sqlite3_stmt *stmt = m_sqlite ? instrucaoSqlite(*q) : nullptr;
    if (!stmt) {
        if (!executaComQt(q, sql, valores))
            return false;
        m_linhasAfectadas = q->numRowsAffected();
        q->finish();
        return true;
    }
    // SQLite: the statement run straight, without Qt's copies of the values
    // (an import runs hundreds of thousands of these).
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

bool LigacaoBd::lerResultado(QSqlQuery &q, Recordset &rs)
{
    rs = Recordset();
    rs.d = QSharedPointer<Recordset::Dados>::create();
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    const QList<bool> datas = colunasData(q, n);
    for (int i = 0; i < n; ++i) {
        Recordset::Campo c;
        c.nome = rec.fieldName(i);
        c.tipo = datas.at(i) ? QMetaType::QDateTime : QMetaType::Type(rec.field(i).metaType().id());
        rs.d->campos << c;
    }
    const auto junta = [&](QVariant v, int i, Recordset::Linha &l) {
        if (v.isNull())
            v = QVariant();
        else if (datas.at(i))
            v = comoData(v);
        l.valores << std::move(v);
    };
    if (q.next()) {
        Recordset::Linha primeira;
        primeira.valores.reserve(n);
        for (int i = 0; i < n; ++i)
            junta(q.value(i), i, primeira);
        rs.d->linhas << std::move(primeira);
        // SQLite: the further rows straight from the statement, which has
        // given exactly the row above. The values are those Qt's driver makes
        // (text, 64-bit integer, double, bytes, null) without its per-row
        // copies and its conversion of every text to UTF-16, which cost more
        // than the reading itself on a large result.
        sqlite3_stmt *stmt = m_sqlite ? instrucaoSqlite(q) : nullptr;
        if (stmt) {
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
                        junta(QVariant(qlonglong(sqlite3_column_int64(stmt, i))), i, l);
                        break;
                    case SQLITE_FLOAT:
                        junta(QVariant(sqlite3_column_double(stmt, i)), i, l);
                        break;
                    case SQLITE_BLOB:
                        junta(QByteArray(static_cast<const char *>(sqlite3_column_blob(stmt, i)), sqlite3_column_bytes(stmt, i)), i, l);
                        break;
                    default:
                        junta(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)), sqlite3_column_bytes(stmt, i)),
                              i, l);
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
        } else {
            while (q.next()) {
                Recordset::Linha l;
                l.valores.reserve(n);
                for (int i = 0; i < n; ++i)
                    junta(q.value(i), i, l);
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
        QVariant id = m_dialecto.motor() == Dialecto::SQLite ? q->lastInsertId() : QVariant();
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
        ok = m_dialecto.motor() == Dialecto::SQLite && m_db.driverName() == QLatin1String("QSQLITE")
                 ? Executa(QStringLiteral("BEGIN IMMEDIATE"))
                 : m_db.transaction();
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
        ok = m_db.driverName() == QLatin1String("QSQLITE") ? Executa(QStringLiteral("COMMIT")) : m_db.commit();
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
        ok = m_db.driverName() == QLatin1String("QSQLITE") ? Executa(QStringLiteral("ROLLBACK")) : m_db.rollback();
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
