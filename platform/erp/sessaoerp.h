#pragma once
#include "ligacaobd.h"

#include <QString>
#include <memory>

// The session with the embedded ERP. Liga checks, against the ERP's own
// database, what its five parameters name (see ConfigErp):
//   1 company code, 2 password (may be empty), 3 user, 4 financial year,
//   5 the ERP's database (a SQLite file, or "ODBC:" and a connection string).
// It refuses when the database cannot be opened, the company does not exist or
// does not cover that year, or the user or password is wrong; Resultado then
// tells why. Code -1 means the last operation succeeded.
class SessaoErp
{
public:
    SessaoErp();
    ~SessaoErp();

    // Kept for the record: mode 4 is an interactive session.
    int Modo = 4;

    bool Liga(const QString &empresa, const QString &senha, const QString &utilizador, const QString &exercicio,
              const QString &baseErp);
    void Desliga();
    bool ligada() const { return m_ligada; }

    // The program's database connection, given after Liga.
    void setLigacao(LigacaoBd *bd) { m_bd = bd; }
    LigacaoBd *ligacao() const { return m_bd; }

    void Resultado(long &codigo, QString &mensagem) const
    {
        codigo = m_codigo;
        mensagem = m_mensagem;
    }
    long codigoResultado() const { return m_codigo; }
    QString mensagemResultado() const { return m_mensagem; }

    QString empresa() const { return m_empresa; }
    int exercicio() const { return m_exercicio; }
    QString utilizador() const { return m_utilizador; }

private:
    bool recusa(long codigo, const QString &mensagem);

    std::unique_ptr<LigacaoBd> m_erp;   // the session's own connection to the ERP database
    LigacaoBd *m_bd = nullptr;
    bool m_ligada = false;
    long m_codigo = 0;
    QString m_mensagem;
    QString m_empresa, m_utilizador;
    int m_exercicio = 0;
};
