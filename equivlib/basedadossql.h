#pragma once
#include "basedados.h"

// The schema check on a LigacaoBd (SQLite or SQL Server, through its dialect).
class BaseDadosSql : public BaseDados
{
public:
    BaseDadosSql();
    ~BaseDadosSql() override;

    void setBd(LigacaoBd *bd) override { m_bd = bd; }
    LigacaoBd *Bd() const override { return m_bd; }
    bool CriarTabelas() override;
    bool VerificaBaseDeDados() override;

private:
    void reportaErro(const char *funcao);
    bool garanteIndice();

    LigacaoBd *m_bd = nullptr;
};
