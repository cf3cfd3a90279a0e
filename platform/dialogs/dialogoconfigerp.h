#pragma once
#include <QDialog>
#include <QStringList>

class ConfigErp;
class QLineEdit;

// Edits the five ERP session values of a ConfigErp: company, password, user,
// financial year and the ERP's database (a SQLite file, chosen with "...", or
// "ODBC:" and a connection string). Confirmar stores them in the settings file
// and closes; when the file cannot be written it says why and stays open.
// Cancelar stores nothing. Messages go through ServicoMensagens.
class DialogoConfigErp : public QDialog
{
    Q_OBJECT
public:
    explicit DialogoConfigErp(ConfigErp &config, QWidget *parent = nullptr);

    // The five values in the order ConfigErp keeps them.
    QStringList valores() const;

public slots:
    void confirma();

private:
    ConfigErp &m_config;
    QLineEdit *m_empresa;
    QLineEdit *m_senha;
    QLineEdit *m_utilizador;
    QLineEdit *m_exercicio;
    QLineEdit *m_base;
};
