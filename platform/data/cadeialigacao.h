#pragma once
#include <QString>

// Builds the connection text that LigacaoBd::Abre understands from the four
// values of ConfigSql (see there for their meaning). The provider and mode are
// carried for the record: mode 1 opens the database for reading and writing.
//
//   Provider=MSDataShape;Mode=1;Motor=SQLite;Data Source=/path/file.db
//   Provider=MSDataShape;Mode=1;Motor=ODBC;Odbc=DRIVER={FreeTDS};SERVER=...
//
// The engine-specific part is always last, so it may hold semicolons.
class CadeiaLigacao
{
public:
    QString Fornecedor = QStringLiteral("MSDataShape");
    int Modo = 1;
    QString Servidor, BaseDados, Utilizador, Senha;

    QString Texto() const;
};

// The parsed form of a connection text.
struct DestinoLigacao
{
    enum Motor { Nenhum, SQLite, Odbc } motor = Nenhum;
    QString ficheiro;   // SQLite
    QString odbc;       // ODBC connection string

    static DestinoLigacao de(const QString &cadeia);
    // What the user would recognise: the file, or the server and database.
    QString descricao() const;
};
