#pragma once
#include "formularioprecos.h"

// The supplier price window. In mode 1 ("Consulta de Preços a Fornecedor") a
// buyer filters by supplier and/or article, loads the quoted prices of the
// system's own table, edits them in the price grid and confirms: the changed
// rows and the removed ones are written in one go, together with the ERP's
// purchase-help records, and the window is cleared. In mode 2 ("Consulta de
// Compras") the same window shows the purchase prices of the ERP's purchase
// documents, read-only, with a reduced layout. Both modes print and export the
// grid. The creator sets the connection (setBd) and the mode (setTipo) before
// showing it.
class ConsultaPrecos : public FormularioPrecos
{
    Q_OBJECT
public:
    explicit ConsultaPrecos(QWidget *pai = nullptr);

    // 1 supplier prices, 2 purchases; set before the window is placed and
    // shown (it gives the window its title, buttons and, for 2, its height).
    void setTipo(int tipo);
    int Tipo() const { return m_estado.Tipo; }
    QString NomeFornecedor() const { return m_estado.NomeEntidade; }

protected:
    QString cabecalhoImpressao() const override;
    bool podeGravar() const override { return m_estado.Tipo == 1; }
    QString nomeFicheiro() const override;

private:
    void aplicaModo();
};
