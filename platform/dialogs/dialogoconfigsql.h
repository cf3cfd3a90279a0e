#pragma once
#include <QDialog>
#include <QStringList>

class ConfigSql;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Edits the four database connection values of a ConfigSql: the kind of
// database (the embedded SQLite file, or a SQL Server reached by host name),
// the database (file or name), the login and its password. "Testar ligação"
// opens a connection with the values on screen and says whether it worked and
// why not. Confirmar stores the values in the settings file and closes; when
// the file cannot be written it says why and stays open. Cancelar stores nothing.
// Messages go through ServicoMensagens.
class DialogoConfigSql : public QDialog
{
    Q_OBJECT
public:
    explicit DialogoConfigSql(ConfigSql &config, QWidget *parent = nullptr);

    // The four values as they would be stored (1 "SQLITE" or the server, 2 the
    // database, 3 the login, 4 the password).
    QStringList valores() const;

public slots:
    // True when the connection opened.
    bool testaLigacao();
    void confirma();

private:
    void mudouTipo();
    bool valida();

    ConfigSql &m_config;
    QRadioButton *m_sqlite;
    QRadioButton *m_sqlServer;
    QLineEdit *m_servidor;
    QLineEdit *m_base;
    QPushButton *m_procurar;
    QLabel *m_rotuloBase;
    QLineEdit *m_utilizador;
    QLineEdit *m_senha;
};
