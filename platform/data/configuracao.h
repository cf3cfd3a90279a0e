#pragma once
#include <QString>
#include <QStringList>

class ConfigSql;
class ConfigErp;

// How the editing dialogs of the two configurations are shown. The program
// installs the real dialogs; tests install an editor that answers at once.
class EditorConfiguracao
{
public:
    virtual ~EditorConfiguracao() = default;
    // Shows the editor; true when the user confirmed (the values are then stored).
    virtual bool editaSql(ConfigSql &config) = 0;
    virtual bool editaErp(ConfigErp &config) = 0;

    static void instala(EditorConfiguracao *editor);
    static EditorConfiguracao *actual();
};

// The database connection values, section "Ligacao SQL" of the settings file:
//   1 Servidor    "SQLITE" for an embedded SQLite file; "ODBC:" followed by a
//                 whole ODBC connection string; otherwise the SQL Server host
//                 (host, host\instance or host,port), reached through FreeTDS
//   2 Base de dados  the SQLite file path, or the SQL Server database name
//   3 Utilizador  the SQL Server login (kept but unused for SQLite)
//   4 Senha       the login's password; may be empty
// The first three must be filled in for the program to start without asking.
class ConfigSql
{
public:
    ConfigSql() = default;
    explicit ConfigSql(const QString &ficheiro) { setFicheiro(ficheiro); }

    void setFicheiro(const QString &ficheiro);
    QString Ficheiro() const { return m_ficheiro; }

    // Values 1 to 4 as read from the file (or set since).
    QString valor(int n) const;
    void setValor(int n, const QString &v);
    QString Servidor() const { return valor(1); }
    QString BaseDados() const { return valor(2); }
    QString Utilizador() const { return valor(3); }
    QString Senha() const { return valor(4); }
    bool completa() const;

    // Catalogue of SQL scripts offered by the dialog (informative).
    QString Catalogo;
    // When false the dialog opens for a first configuration.
    bool Edita = true;

    bool le();                  // reads the four values; false with erro() on failure
    bool grava();               // writes the four values
    bool Configura();           // shows the editing dialog through the installed editor
    QString erro() const { return m_erro; }

    static const QStringList &nomes();
    static QString seccao() { return QStringLiteral("Ligacao SQL"); }

private:
    QString m_ficheiro;
    QString m_valores[4];
    QString m_erro;
};

// The ERP session values, section "Ligacao ERP" of the settings file:
//   1 Empresa     the company code in the ERP
//   2 Senha       the ERP user's password; may be empty
//   3 Utilizador  the ERP user
//   4 Exercicio   the financial year the session works in
//   5 Base ERP    the ERP's database: a SQLite file path for the embedded ERP,
//                 or "ODBC:" and a whole ODBC connection string
class ConfigErp
{
public:
    ConfigErp() = default;
    explicit ConfigErp(const QString &ficheiro) { setFicheiro(ficheiro); }

    void setFicheiro(const QString &ficheiro);
    QString Ficheiro() const { return m_ficheiro; }

    QString valor(int n) const;
    void setValor(int n, const QString &v);
    // The second value (password) may be empty; the others must be filled in.
    bool completa() const;

    bool le();
    bool grava();
    bool Configura();
    QString erro() const { return m_erro; }

    static const QStringList &nomes();
    static QString seccao() { return QStringLiteral("Ligacao ERP"); }

private:
    QString m_ficheiro;
    QString m_valores[5];
    QString m_erro;
};
