#pragma once
#include "dialecto.h"
#include "errobd.h"
#include "ficheirobd.h"
#include "recordset.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlQuery;
struct sqlite3;

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
class LigacaoBd
{
public:
    LigacaoBd();
    ~LigacaoBd();
    LigacaoBd(const LigacaoBd &) = delete;
    LigacaoBd &operator=(const LigacaoBd &) = delete;

    // Opens the connection described by a CadeiaLigacao text. A SQLite file that
    // does not exist is not created: the open fails and says why.
    bool Abre(const QString &cadeia);
    void Fecha();
    bool aberta() const;

    static constexpr int EsperaLeitura = 100;    // ms a read waits for another program's lock
    static constexpr int EsperaEscrita = 5000;   // ms a write waits
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
    const Dialecto &dialecto() const { return m_dialecto; }
    // The file, or server and database, this connection is for.
    QString destino() const { return m_destino; }

    ErroBd ultimoErro() const { return m_erro; }
    // Puts back a failure after a clean-up statement succeeded.
    void repoeErro(const ErroBd &erro) { m_erro = erro; }
    // Does the table (or view) exist?
    bool existeTabela(const QString &nome);

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
    void defineErro(long numero, const QString &descricao);
    void defineErroSql(const class QSqlError &e);
    void defineErroSqlite(int codigo, const QString &texto);
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

    QSqlDatabase m_db;
    QString m_nome;
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
    QString m_ficheiro;                    // the file opened; empty after Fecha
    FicheiroBd::Identidade m_identidade;   // the file's identity when it was opened
    int m_espera = -1;                     // the lock wait now set on the handle
    int m_esperaLeitura = EsperaLeitura;
    int m_esperaEscrita = EsperaEscrita;
    bool m_controlo = false;               // a BEGIN, COMMIT or ROLLBACK is running
    bool m_leitura = false;                // the statement running only reads
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
