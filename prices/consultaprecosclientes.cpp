#include "consultaprecosclientes.h"

#include "botao.h"
#include "campoinput.h"
#include "grelha.h"

namespace {

FormularioPrecos::Textos textosClientes()
{
    FormularioPrecos::Textos t;
    t.titulo = QStringLiteral("Consulta de Preços de Clientes");
    t.entidade = QStringLiteral("Cliente");
    t.dicaCampo = QStringLiteral("Código de Cliente.");
    t.dicaLista = QStringLiteral("Acesso à lista de Clientes.");
    t.tabela = QStringLiteral("Clientes");
    t.inexistente = QStringLiteral("Cliente inexistente!");
    t.tituloLista = QStringLiteral("Clientes");
    t.sqlLista = QStringLiteral(" SELECT  Codigo as 'Cliente', Nome as 'Nome'") + QStringLiteral(" FROM Clientes")
                 + QStringLiteral("  order by Codigo");
    t.modulo = QStringLiteral("ConsultaPrecosClientes");
    return t;
}

} // namespace

ConsultaPrecosClientes::ConsultaPrecosClientes(QWidget *pai) : FormularioPrecos(LadoPrecos::Clientes, textosClientes(), pai)
{
    // As the supplier window does at opening: Alt+C is then "&Confirmar" alone.
    btCarga()->setText(QStringLiteral("Carregar"));
}

void ConsultaPrecosClientes::cargaVazia()
{
    // The empty grid is ready for typing a new price at once.
    grelha()->setFocus();
    grelha()->setLinhaActual(1);
    grelha()->setColunaActual(1);
}

QString ConsultaPrecosClientes::cabecalhoImpressao() const
{
    return QStringLiteral("Consulta  ") + QStringLiteral(" de Preços de Clientes") + QStringLiteral("\r\n\r\n")
           + QStringLiteral(" Cliente - ") + QStringLiteral("'") + Campo(0)->text() + QStringLiteral("'")
           + QStringLiteral("    Artigo - ") + QStringLiteral("'") + Campo(1)->text() + QStringLiteral("'");
}
