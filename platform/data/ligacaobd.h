#pragma once
#include "dialecto.h"
#include "errobd.h"
#include "recordset.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class QSqlQuery;

// The one database connection of the program (SQLite file or SQL Server over
// ODBC). Every statement is prepared and its values bound; nothing is pasted
// into SQL text. Failures return false and leave ultimoErro(): a missing table
// is reported as ErroBd::TabelaInexistente on every engine.
//
// Transactions nest: the outer IniciaTransaccao begins a transaction, inner
// ones take a savepoint, and TerminaTransaccao / AnulaTransaccao close the
// innermost level. Prefer the Transaccao guard below, which rolls back unless
// confirmed.
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

    // For tests: make the next statement whose text contains marca fail.
    void falhaNoProximo(const QString &marca) { m_falhaMarca = marca; }

private:
    friend class Recordset;
    QSqlQuery *preparada(const QString &sql);
    bool executa(const QString &sql, const QVariantList &valores, QSqlQuery **q);
    bool lerResultado(QSqlQuery &q, Recordset &rs);
    bool gravaLinha(Recordset::Dados &d, Recordset::Linha &l);
    bool chaveDe(const QString &tabela, QList<QString> &chave, QString &automatica);
    void defineErro(long numero, const QString &descricao);
    void defineErroSql(const class QSqlError &e);

    QSqlDatabase m_db;
    QString m_nome;
    QString m_destino;
    Dialecto m_dialecto;
    ErroBd m_erro;
    int m_nivel = 0;
    int m_linhasAfectadas = 0;
    QHash<QString, QSqlQuery *> m_preparadas;
    struct Chave { QList<QString> campos; QString automatica; };
    QHash<QString, Chave> m_chaves;
    QString m_falhaMarca;
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
