#pragma once
#include "formularioprecos.h"

// The customer price window ("Consulta de Preços de Clientes"): a salesperson
// filters by customer and/or article, loads the prices given to customers
// with the customer's and the article's names and the article's last purchase
// price, types new prices (Enter on an empty date puts today's), removes rows
// and confirms; prints and exports the grid. It is the supplier price window
// without modes and purchase help, with the differences of its grid rules
// (GrelhaPrecos with LadoPrecos::Clientes). The creator sets the connection
// (setBd) before showing it.
class ConsultaPrecosClientes : public FormularioPrecos
{
    Q_OBJECT
public:
    explicit ConsultaPrecosClientes(QWidget *pai = nullptr);

    QString NomeCliente() const { return m_estado.NomeEntidade; }
    // The last purchase price of the article accepted in the article filter.
    QVariant PrecoUltCompra() const { return m_estado.PrecoUltCompra; }
    // The grid row the calendar was last opened for.
    int LinhaCalendario() const { return m_estado.LinhaCalendario; }

protected:
    QString cabecalhoImpressao() const override;
    bool podeGravar() const override { return true; }
    void cargaVazia() override;
    QString nomeFicheiro() const override { return QStringLiteral("Precos de clientes"); }
};
