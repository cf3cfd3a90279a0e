#include "consultaprecos.h"

#include "botao.h"
#include "campoinput.h"
#include "twips.h"

#include <QLabel>

namespace {

// Heights in twips: the window and its buttons' top, as in purchases mode.
constexpr int AlturaPrecos = 8280;
constexpr int AlturaCompras = 7800;
constexpr int TopoBotoesCompras = 6795;

FormularioPrecos::Textos textosFornecedores()
{
    FormularioPrecos::Textos t;
    t.titulo = QStringLiteral("Consulta de Preços a Fornecedor");
    t.entidade = QStringLiteral("Fornecedor");
    t.dicaCampo = QStringLiteral("Código de Fornecedor.");
    t.dicaLista = QStringLiteral("Acesso à lista de Fornecedores.");
    t.tabela = QStringLiteral("Fornec");
    t.inexistente = QStringLiteral("Fornecedor inexistente!");
    t.tituloLista = QStringLiteral("Fornecedores");
    t.sqlLista = QStringLiteral(" SELECT  Codigo as 'Fornecedor', Nome as 'Nome'") + QStringLiteral(" FROM Fornec")
                 + QStringLiteral("  order by Codigo");
    t.modulo = QStringLiteral("ConsultaPrecos");
    return t;
}

} // namespace

ConsultaPrecos::ConsultaPrecos(QWidget *pai) : FormularioPrecos(LadoPrecos::Fornecedores, textosFornecedores(), pai)
{
    aplicaModo();
}

void ConsultaPrecos::setTipo(int tipo)
{
    m_estado.Tipo = tipo;
    aplicaModo();
}

void ConsultaPrecos::aplicaModo()
{
    const bool precos = m_estado.Tipo == 1;
    Label1()->setText(precos ? QStringLiteral("Consulta de Preços a Fornecedor") : QStringLiteral("Consulta de Compras"));
    btCarga()->setText(precos ? QStringLiteral("Carregar") : QStringLiteral("Compras"));
    btConf()->setEnabled(precos);
    // The purchases have nothing to observe: the window loses the
    // observation line and its buttons move up.
    const bool reduzida = m_estado.Tipo == 2;
    setFixedHeight(Twips::paraPixeis(reduzida ? AlturaCompras : AlturaPrecos));
    for (QWidget *b : {static_cast<QWidget *>(btConf()), static_cast<QWidget *>(btCancelar()), static_cast<QWidget *>(btSair()),
                       static_cast<QWidget *>(btImp()), static_cast<QWidget *>(btExp())})
        b->move(b->x(), Twips::paraPixeis(reduzida ? TopoBotoesCompras : TopoBotoes));
    Label2(3)->setVisible(!reduzida);
    Campo(2)->setVisible(!reduzida);
}

QString ConsultaPrecos::cabecalhoImpressao() const
{
    const QString titulo = m_estado.Tipo == 1 ? QStringLiteral(" de Preços a Fornecedor") : QStringLiteral(" de Compras");
    return QStringLiteral("Consulta - ") + titulo + QStringLiteral("\r\n\r\n") + QStringLiteral(" Fornecedor - ") + QStringLiteral("'")
           + Campo(0)->text() + QStringLiteral("'") + QStringLiteral("    Artigo - ") + QStringLiteral("'") + Campo(1)->text()
           + QStringLiteral("'");
}

QString ConsultaPrecos::nomeFicheiro() const
{
    return m_estado.Tipo == 1 ? QStringLiteral("Precos de fornecedores") : QStringLiteral("Compras");
}
