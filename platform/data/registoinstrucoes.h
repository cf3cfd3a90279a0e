#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The statement catalogue's recorder: while it is on, every SQLite connection
// opened is a recording one (Dialecto(SQLite, true)): it runs each statement
// on SQLite and writes down here the SQL Server text the same code built,
// under the window and operation in course (Operacao), with the tables and
// columns SQLite found the statement to read and write when it prepared it.
// Transaction control (BEGIN, COMMIT, savepoints) is not written down.
//
// Used by the test that drives the program's operations and writes
// docs/instrucoes-sqlserver.md; the program itself never turns it on.
class RegistoInstrucoes
{
public:
    enum Tipo { Le, Insere, Altera, Apaga, Cria };
    struct Acesso
    {
        Tipo tipo;
        QString tabela;
        QString coluna;   // empty when the whole row (INSERT, DELETE, CREATE)
        bool operator==(const Acesso &o) const { return tipo == o.tipo && tabela == o.tabela && coluna == o.coluna; }
    };
    // A window and an operation of it ("Ruptura de Stocks", "Análise").
    struct Chave
    {
        QString janela, operacao;
        bool operator<(const Chave &o) const { return janela != o.janela ? janela < o.janela : operacao < o.operacao; }
    };

    static bool activo();
    static void activa(bool sim);
    static void limpa();

    // While it lives, the statements recorded belong to janela / operacao.
    class Operacao
    {
    public:
        Operacao(const QString &janela, const QString &operacao);
        ~Operacao();
        Operacao(const Operacao &) = delete;
        Operacao &operator=(const Operacao &) = delete;

    private:
        Chave m_anterior;
    };

    // Called by the connection: a statement in SQL Server's text and what it touches.
    static void anota(const QString &sqlServer, const QList<Acesso> &acessos);

    // The distinct statements of each operation, in the order first sent.
    static QMap<Chave, QStringList> porOperacao();
    // What each statement reads and writes.
    static QList<Acesso> acessosDe(const QString &sqlServer);
};
