#pragma once
#include <QString>

// A database failure as the callers see it: an error number and a description.
// The numbers are those the callers test for, the same on every engine.
struct ErroBd
{
    long numero = 0;
    QString descricao;

    static constexpr long TabelaInexistente = -2147217865;   // 0x80040E37
    static constexpr long ErroComando = -2147217900;         // 0x80040E14
    static constexpr long ErroLigacao = -2147467259;         // 0x80004005

    bool existe() const { return numero != 0; }
    // "Erro <n> (<descrição>)"
    QString texto() const { return QStringLiteral("Erro %1 (%2)").arg(numero).arg(descricao); }
};
