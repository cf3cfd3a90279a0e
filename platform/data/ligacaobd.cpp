// Opening and closing the connection: the CadeiaLigacao text, the checks of a
// SQLite file before it is opened, and the file watched while it is open.
#include "ligacaobd.h"
#include "cadeialigacao.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
QAtomicInt g_contador;
} // namespace

LigacaoBd::LigacaoBd() = default;

LigacaoBd::~LigacaoBd() { Fecha(); }

void LigacaoBd::defineErro(long numero, const QString &descricao) { m_erro = ErroBd{numero, descricao}; }

bool LigacaoBd::verificaFicheiro(const QString &ficheiro)
{
    const QFileInfo fi(ficheiro);
    if (ficheiro.trimmed().isEmpty()) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("Não foi indicado o ficheiro da base de dados."));
        return false;
    }
    if (!fi.exists()) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("A base de dados %1 não existe.").arg(ficheiro));
        return false;
    }
    if (fi.isDir()) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("%1 é uma pasta, não uma base de dados.").arg(ficheiro));
        return false;
    }
    if (!fi.isReadable()) {
        defineErro(ErroBd::ErroLigacao, QStringLiteral("Sem permissão para ler a base de dados %1.").arg(ficheiro));
        return false;
    }
    return true;
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
        if (!verificaFicheiro(destino.ficheiro))
            return false;
        ficheiro = QFileInfo(destino.ficheiro).absoluteFilePath();
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_nome);
        QUrl url = QUrl::fromLocalFile(ficheiro);
        url.setQuery(QStringLiteral("mode=rw"));
        m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(m_esperaEscrita));
        m_dialecto = Dialecto(Dialecto::SQLite, RegistoInstrucoes::activo());
    } else if (destino.motor == DestinoLigacao::Odbc) {
        if (!preparaOdbc(destino.odbc))
            return false;
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
    if (m_db.driverName() == QLatin1String("QODBC"))
        ajustaOdbc();
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
    m_sqliteOdbc = false;
    m_ficheiroOdbc.clear();
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
    esvaziaDiario();
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
