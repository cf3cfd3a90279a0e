#pragma once
#include "errobd.h"

#include <QList>
#include <QMetaType>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

class LigacaoBd;

// A set of rows with a current position, read from the database or built in
// memory. Copies share the same rows (like a reference to one result set).
//
// Read-only sets come from LigacaoBd::AbreConsulta: all rows are read at once,
// so RecordCount is exact. Updatable sets come from LigacaoBd::AbreTabela on a
// single table: AddNew and SetValor change the current row and Update writes it
// back through the table's primary key (a key the database assigns is read
// back after an insert). In-memory sets (emMemoria) have declared fields and no
// connection. A null value (QVariant()) is distinct from the empty text.
class Recordset
{
public:
    struct Campo
    {
        QString nome;
        QMetaType::Type tipo = QMetaType::QString;
        int comprimento = 0;   // declared length of a text column (updatable sets), 0 when unknown
    };

    Recordset() = default;
    static Recordset emMemoria(const QList<Campo> &campos);

    bool aberto() const { return d && d->aberto; }
    void Close();

    // Rows visible through the current filter.
    int RecordCount() const;
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();
    // Current row's position among the visible rows (0-based), -1 when none.
    int posicao() const;
    void setPosicao(int linha);

    int numeroCampos() const;
    QString nomeCampo(int i) const;
    int indiceCampo(const QString &nome) const;   // case-insensitive, -1 when missing
    QStringList nomesCampos() const;

    // Value of a field of the current row; a null QVariant past the end or for a
    // missing field (check indiceCampo when that matters).
    QVariant Valor(const QString &nome) const;
    QVariant Valor(int campo) const;
    // Value of a visible row, for views bound to the set.
    QVariant valorEm(int linha, int campo) const;

    // Shows only rows whose field equals valor (texts compare as the database
    // compares codes: ComparaCodigos); moves to the first of them.
    void Filter(const QString &campo, const QVariant &valor);
    void RemoveFilter();

    // Updating (updatable and in-memory sets).
    bool actualizavel() const { return d && (d->ligacao || d->memoria); }
    bool AddNew();
    bool SetValor(const QString &nome, const QVariant &valor);
    // Writes the current row back. False with erro() when the database refuses;
    // the row keeps its values so the caller may retry or report.
    bool Update();

    ErroBd erro() const { return d ? d->erro : ErroBd{}; }

private:
    friend class LigacaoBd;
    struct Linha
    {
        QVariantList valores;
        QVariantList originais;    // key values as read, for the WHERE of an update
        QList<bool> alterado;
        bool nova = false;
    };
    struct Dados
    {
        bool aberto = true;
        bool memoria = false;
        LigacaoBd *ligacao = nullptr;   // set for updatable sets
        QString tabela;
        QList<int> chave;               // indices of the primary key fields
        int chaveAutomatica = -1;       // field the database numbers itself
        QList<Campo> campos;
        QList<Linha> linhas;
        QList<int> visiveis;            // indices into linhas; empty filter = all
        bool filtrado = false;
        int pos = 0;                    // index into the visible rows
        ErroBd erro;
    };
    QSharedPointer<Dados> d;

    int linhaReal(int visivel) const;
};
