#pragma once
#include "dialecto.h"
#include "errobd.h"
#include "ficheirobd.h"
#include "recordset.h"
#include "registoinstrucoes.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <functional>

class QSqlError;
class QSqlQuery;
struct sqlite3;
struct sqlite3_stmt;

// The one database connection of the program (SQLite file or SQL Server over
// ODBC). Every statement is prepared and its values bound; nothing is pasted
// into SQL text. Failures return false and leave ultimoErro(): a missing table
// is reported as ErroBd::TabelaInexistente on every engine.
//
// Transactions nest: the outer IniciaTransaccao begins a transaction, inner
// ones take a savepoint, and TerminaTransaccao / AnulaTransaccao close the
// innermost level. Prefer the Transaccao guard below, which rolls back unless
// confirmed.
//
// SQLite files: codes compare as on the ERP's server (ComparaCodigos, the
// collation CODIGOERP registered on the connection); the file is put in
// write-ahead-log mode (not in a network folder), so reads never wait for a
// writer; a read outside a transaction waits at most EsperaLeitura for a lock
// and then fails with ErroBd::BaseOcupada, writes wait up to EsperaEscrita.
// Each kind of SQLite failure has its own ErroBd number. A file deleted,
// renamed or replaced while the program runs is noticed before the next
// statement outside a transaction: while it is gone every statement fails
// saying so; a file back in its place with its identity is used again, and
// another file put there is opened afresh (the statement that noticed it
// fails once, so nothing is written into a file the user has not seen).
// Local SQLite files are read through memory-mapped I/O (MapaMemoria).
//
// Long statements (SQLite): while an Acompanhamento lives, a statement that
// runs long asks the caller, every so often, whether to go on; the caller
// paints its window and takes the user's input there, and a "no" stops the
// statement (ErroBd::Interrompida). While the caller is being asked, the
// connection refuses every other statement (ErroBd::EmExecucao): SQLite does
// not allow one to run inside another. Other windows read through their own
// connection (abreIgual).
class LigacaoBd
{
public:
    class Acompanhamento;

    LigacaoBd();
    ~LigacaoBd();
    LigacaoBd(const LigacaoBd &) = delete;
    LigacaoBd &operator=(const LigacaoBd &) = delete;

    // Opens the connection described by a CadeiaLigacao text. A SQLite file that
    // does not exist is not created: the open fails and says why.
    bool Abre(const QString &cadeia);
    void Fecha();
    bool aberta() const;

    // A second connection to the database origem is connected to, with its
    // waits: for work that must not hold origem (a long read that lets the
    // window paint while other windows use origem). A failure set on origem
    // with falhaNoProximo passes to this connection.
    bool abreIgual(LigacaoBd &origem);

    static constexpr int EsperaLeitura = 100;    // ms a read waits for another program's lock
    static constexpr int EsperaEscrita = 5000;   // ms a write waits
    // The bytes of a local SQLite file read through memory-mapped I/O: the
    // file's pages are read in place instead of being copied into the
    // connection's page cache. They count in the program's resident memory as
    // pages of the file, shared with every program that reads it and given
    // back by the system when memory is short; they are never the program's
    // own memory. Not used in network folders (a failing network read would
    // end the program instead of failing the statement).
    static constexpr qint64 MapaMemoria = qint64(1) << 30;
    // Other waits (tests use a short write wait).
    void setEsperas(int leitura, int escrita)
    {
        m_esperaLeitura = leitura;
        m_esperaEscrita = escrita;
    }

    // The database can only be read (file or folder permissions, read-only
    // medium): saves will fail. Known right after Abre.
    bool soLeitura() const;
    // The SQLite journal mode ("wal", "delete", ...); empty for other engines.
    QString modoDiario();

    bool Executa(const QString &sql, const QVariantList &valores = {});
    // Rows changed by the last Executa.
    int linhasAfectadas() const { return m_linhasAfectadas; }
    // Reads the whole result into rs (read-only).
    bool AbreConsulta(const QString &sql, Recordset &rs, const QVariantList &valores = {});
    // Reads a single-table query into an updatable rs; the table must have a primary key.
    bool AbreTabela(const QString &sql, Recordset &rs, const QVariantList &valores = {});
    // First column of the first row, or a null value.
    QVariant valorUnico(const QString &sql, const QVariantList &valores = {});

    bool IniciaTransaccao();
    bool TerminaTransaccao();
    bool AnulaTransaccao();
    int nivelTransaccao() const { return m_nivel; }

    // The open connection itself, for a lookup list that runs its own query.
    QSqlDatabase LigacaoAdo() const { return m_db; }
    // The text to prepare of a statement run on LigacaoAdo() by its caller
    // (a lookup list reading rows as it shows them): sql itself, but on a
    // recording connection (RegistoInstrucoes) its SQLite side, the statement
    // written down first.
    QString textoParaPreparar(const QString &sql);
    const Dialecto &dialecto() const { return m_dialecto; }
    // The file, or server and database, this connection is for.
    QString destino() const { return m_destino; }

    ErroBd ultimoErro() const { return m_erro; }
    // Puts back a failure after a clean-up statement succeeded.
    void repoeErro(const ErroBd &erro) { m_erro = erro; }
    // A column name as a driver gave it, without what the SQLite ODBC driver
    // leaves after a name with accents (for code that reads a QSqlQuery itself).
    static QString nomeColuna(QString nome);
    // Does the table (or view) exist?
    bool existeTabela(const QString &nome);

    // Can a long statement ask its caller whether to go on (SQLite)?
    bool podeAcompanhar() const { return m_sqlite != nullptr; }
    // The caller of a long statement is being asked right now.
    bool aPerguntar() const { return m_aPerguntar; }

    // For tests: make a statement whose text contains marca fail with that
    // error number: the next one, or the one after saltar others that contain it.
    void falhaNoProximo(const QString &marca, long numero = ErroBd::ErroComando, int saltar = 0)
    {
        m_falhaMarca = marca;
        m_falhaNumero = numero;
        m_falhaSaltar = saltar;
    }

private:
    friend class Recordset;
    QSqlQuery *preparada(const QString &sql);
    // The checks before any statement, the prepared statement and the lock wait for it.
    QSqlQuery *preparaExecucao(const QString &sql);
    bool executa(const QString &sql, const QVariantList &valores, QSqlQuery **q);
    bool executaComQt(QSqlQuery *q, const QString &sql, const QVariantList &valores);
    bool lerResultado(QSqlQuery &q, Recordset &rs);
    bool gravaLinha(Recordset::Dados &d, Recordset::Linha &l);
    struct Chave;
    const Chave *chaveDe(const QString &tabela);
    // A value read from a result: a null of any type is QVariant(), a date
    // column's text a QDateTime.
    static QVariant valorLido(const QVariant &v, bool data);
    void defineErro(long numero, const QString &descricao);
    // A SQLite file about to be opened exists and can be read (false with the reason).
    bool verificaFicheiro(const QString &ficheiro);
    void defineErroSql(const QSqlError &e);

    // ODBC (ligacaobdodbc.cpp): the driver of a connection text; once open,
    // the dialect of the engine behind it, and SQLite's settings over ODBC.
    bool preparaOdbc(const QString &odbc);
    void ajustaOdbc();
    bool defineErroOdbcSqlite(const QSqlError &e, const QString &texto);
    static bool soLeTexto(const QString &sql);

    // SQLite (ligacaobdsqlite.cpp).
    void defineErroSqlite(int codigo, const QString &texto);
    // A failure Qt's SQLite driver reported, with the handle's extended code.
    bool defineErroQtSqlite(const QSqlError &e, const QString &texto);
    static sqlite3_stmt *instrucaoSqlite(const QSqlQuery &q);
    // Which columns of the statement are declared as dates (stored as text).
    static QList<bool> colunasData(const QSqlQuery &q, int n);
    static bool soLeSqlite(const QSqlQuery &q);
    // The prepared statement run and read straight through the handle.
    bool executaSqlite(sqlite3_stmt *stmt, const QString &sql, const QVariantList &valores);
    bool leLinhasSqlite(sqlite3_stmt *stmt, QSqlQuery &q, Recordset &rs, const QList<bool> &datas);
    // Writes the log back into the file (before the file is reopened).
    void esvaziaDiario();
    // SQLite: the collation, the journal mode and the lock waits of a newly opened handle.
    void preparaSqlite();
    void passaParaWal();
    void esperaAte(int ms);
    // SQLite: is the file at m_ficheiro still the one that was opened? Reopens
    // another file put in its place; false (with the error) when it is gone or
    // was replaced.
    bool confirmaFicheiro();
    bool reabre();
    // After a failed statement: SQLite may have rolled the whole transaction back.
    void verificaTransaccao();
    // SQLite: page cache and memory map of a newly opened handle.
    void ajustaLeitura();
    // SQLite: the long-statement question on the handle, while there is one.
    void instalaPergunta();
    // Recording (RegistoInstrucoes): SQLite's authorizer tells the tables and
    // columns of each statement prepared; anota writes down the statement's
    // SQL Server text; soNoServidor is true (after writing it down) for a
    // statement that has no SQLite counterpart, which is then not run.
    void instalaRegisto();
    void anota(const QString &sql);
    bool soNoServidor(const QString &sql);
    static int autorizaSqlite(void *ligacao, int accao, const char *a, const char *b, const char *, const char *);
    static int progressoSqlite(void *ligacao);

    QSqlDatabase m_db;
    QString m_nome;
    QString m_cadeia;
    QString m_destino;
    Dialecto m_dialecto;
    ErroBd m_erro;
    int m_nivel = 0;
    int m_linhasAfectadas = 0;
    QHash<QString, QSqlQuery *> m_preparadas;
    struct Chave
    {
        QList<QString> campos;
        QString automatica;
        QHash<QString, int> comprimentos;   // declared text lengths, by lower-case column name
    };
    QHash<QString, Chave> m_chaves;
    QString m_falhaMarca;
    long m_falhaNumero = ErroBd::ErroComando;
    int m_falhaSaltar = 0;

    // SQLite only.
    sqlite3 *m_sqlite = nullptr;
    bool m_sqliteOdbc = false;             // a SQLite database reached through ODBC
    QString m_ficheiroOdbc;                // its file, when the connection text names one
    QString m_ficheiro;                    // the file opened; empty after Fecha
    FicheiroBd::Identidade m_identidade;   // the file's identity when it was opened
    int m_espera = -1;                     // the lock wait now set on the handle
    int m_esperaLeitura = EsperaLeitura;
    int m_esperaEscrita = EsperaEscrita;
    bool m_controlo = false;               // a BEGIN, COMMIT or ROLLBACK is running
    bool m_leitura = false;                // the statement running only reads

    QList<RegistoInstrucoes::Acesso> m_acessos;   // of the statement being prepared, while recording

    // The question of the Acompanhamento that lives, if any.
    std::function<bool()> m_pergunta;
    int m_intervalo = 0;                   // ms between questions
    QElapsedTimer m_relogio;
    qint64 m_ultimaPergunta = 0;           // ms of m_relogio at the last question
    bool m_aPerguntar = false;
};

// While it lives, a long statement on bd (SQLite) calls pergunta() about every
// intervalo ms, counted from the guard's start (0: as often as SQLite checks,
// about every thousand steps of the statement). pergunta() may let the window
// paint and take input; returning false stops the statement, which then fails
// with ErroBd::Interrompida. Guards nest: the inner one asks while it lives.
// Without SQLite it does nothing.
class LigacaoBd::Acompanhamento
{
public:
    Acompanhamento(LigacaoBd &bd, std::function<bool()> pergunta, int intervalo);
    ~Acompanhamento();
    Acompanhamento(const Acompanhamento &) = delete;
    Acompanhamento &operator=(const Acompanhamento &) = delete;

private:
    LigacaoBd &m_bd;
    std::function<bool()> m_anterior;
    int m_intervaloAnterior;
};

// Rolls back on destruction unless confirma() was called: an early return or a
// failure can never leave half a save. Nests inside an outer transaction.
class Transaccao
{
public:
    explicit Transaccao(LigacaoBd &bd) : m_bd(bd), m_iniciada(bd.IniciaTransaccao()) {}
    ~Transaccao()
    {
        if (m_iniciada && !m_terminada)
            m_bd.AnulaTransaccao();
    }
    bool iniciada() const { return m_iniciada; }
    bool confirma()
    {
        if (!m_iniciada || m_terminada)
            return false;
        m_terminada = true;
        if (m_bd.TerminaTransaccao())
            return true;
        m_bd.AnulaTransaccao();   // a commit that failed leaves nothing behind
        return false;
    }
    void anula()
    {
        if (m_iniciada && !m_terminada) {
            m_terminada = true;
            m_bd.AnulaTransaccao();
        }
    }

private:
    LigacaoBd &m_bd;
    bool m_iniciada;
    bool m_terminada = false;
};
