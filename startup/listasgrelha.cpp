#include "listasgrelha.h"

#include "listapesquisa.h"

namespace {

// Code and name of every supplier or customer.
QString escolheTerceiro(LigacaoBd &bd, const QString &titulo, const QString &tabela)
{
    return ListaPesquisa::escolhe(bd, titulo,
                                  QStringLiteral(" SELECT     CODIGO as 'Código', NOME as 'Nome'") + QStringLiteral(" FROM   ") + tabela
                                      + QStringLiteral(" order by Codigo"),
                                  6300, {1500, 4000});
}

} // namespace

QString EscolheFornecedorGrelha(LigacaoBd &bd) { return escolheTerceiro(bd, QStringLiteral("Fornecedores"), QStringLiteral("Fornec")); }

QString EscolheClienteGrelha(LigacaoBd &bd) { return escolheTerceiro(bd, QStringLiteral("Clientes"), QStringLiteral("Clientes")); }

QString EscolheArtigoGrelha(LigacaoBd &bd)
{
    return ListaPesquisa::escolhe(bd, QStringLiteral("Artigos"),
                                  QStringLiteral(" SELECT     ARTIGOS.CODIGO as 'Código', ARTIGOS.NOME as 'Nome', STDISP as Stock")
                                      + QStringLiteral(" FROM   ARTIGOS ") + QStringLiteral(" Where (Artigos.ARTOUDES = 0  and Inactivo=0)")
                                      + QStringLiteral(" order by Codigo"),
                                  8300, {1500, 4000, 1500});
}

QString EscolheArtigoFiltro(LigacaoBd &bd)
{
    return ListaPesquisa::escolhe(bd, QStringLiteral("Artigos"),
                                  QStringLiteral(" SELECT    Codigo as 'Artigo',Nome as 'Designação'")
                                      + QStringLiteral(" FROM Artigos where Artoudes=0 and Inactivo=0") + QStringLiteral(" order by Codigo"),
                                  7000, {1500, 5000});
}
