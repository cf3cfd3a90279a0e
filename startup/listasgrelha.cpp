#include "listasgrelha.h"

#include "listapesquisa.h"

QString EscolheFornecedorGrelha(LigacaoBd &bd)
{
    return ListaPesquisa::escolhe(bd, QStringLiteral("Fornecedores"),
                                  QStringLiteral(" SELECT     CODIGO as 'Código', NOME as 'Nome'") + QStringLiteral(" FROM   Fornec ")
                                      + QStringLiteral(" order by Codigo"),
                                  6300, {1500, 4000});
}

QString EscolheArtigoGrelha(LigacaoBd &bd)
{
    return ListaPesquisa::escolhe(bd, QStringLiteral("Artigos"),
                                  QStringLiteral(" SELECT     ARTIGOS.CODIGO as 'Código', ARTIGOS.NOME as 'Nome', STDISP as Stock")
                                      + QStringLiteral(" FROM   ARTIGOS ") + QStringLiteral(" Where (Artigos.ARTOUDES = 0  and Inactivo=0)")
                                      + QStringLiteral(" order by Codigo"),
                                  8300, {1500, 4000, 1500});
}
