#pragma once
#include <QString>

// A database failure as the callers see it: an error number and a description.
// The numbers are those the callers test for, the same on every engine; each
// kind of failure has its own, so that a message (and a caller) can tell a
// lock from a lost connection or a refused value.
struct ErroBd
{
    long numero = 0;
    QString descricao;

    static constexpr long TabelaInexistente = -2147217865;   // 0x80040E37 the table or view does not exist
    static constexpr long ErroComando = -2147217900;         // 0x80040E14 the statement is wrong
    static constexpr long ErroLigacao = -2147467259;         // 0x80004005 no connection, or the file is gone
    static constexpr long BaseOcupada = -2147217871;         // 0x80040E31 another program holds the lock
    static constexpr long SoLeitura = -2147217911;           // 0x80040E09 the database cannot be written
    static constexpr long ErroDisco = -2147287011;           // 0x8003001D the file could not be read or written
    static constexpr long DiscoCheio = -2147286928;          // 0x80030070 no room left
    static constexpr long Restricao = -2147217873;           // 0x80040E2F a key or constraint refused the row
    static constexpr long TextoLongo = -2147217833;          // 0x80040E57 a value longer than its column
    static constexpr long Interrompida = -2147217842;        // 0x80040E4E the caller stopped the statement
    static constexpr long EmExecucao = -2146824577;          // 0x800A0E7F the connection is in the middle of a statement

    bool existe() const { return numero != 0; }
    // "Erro <n> (<descrição>)"
    QString texto() const { return QStringLiteral("Erro %1 (%2)").arg(numero).arg(descricao); }

    // The database itself failed (busy, read-only, disk, full, no connection),
    // as opposed to one statement or one value: the next write would fail too.
    bool daBase() const;

    // A value longer than the column that keeps it, refused before writing:
    // "O código "X" tem 30 caracteres e a coluna C só aceita 25."
    static ErroBd textoLongo(const QString &coluna, const QString &valor, int maximo);
};
