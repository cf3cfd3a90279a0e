#include "conteudogrelha.h"
#include "grelha.h"

ConteudoGrelha ConteudoGrelha::de(const Grelha &g, Forma forma)
{
    ConteudoGrelha c;
    QList<int> numeros;
    for (int n = 1; n <= g.numeroColunas(); ++n) {
        const ColunaGrelha *col = g.coluna(n);
        if (col->oculta || g.isColumnHidden(n - 1))
            continue;
        numeros << n;
        c.colunas.append({col->titulo, col->largura, col->tipo});
    }
    for (int l = 1; l <= g.linhas(); ++l) {
        QStringList textos;
        bool temAlgo = false;
        for (int n : std::as_const(numeros)) {
            const ColunaGrelha *col = g.coluna(n);
            const QVariant valor = g.matriz(l - 1, n - 1);
            QString t;
            if (col->tipo == TipoColuna::Booleano) {
                temAlgo = temAlgo || valor.toBool();
                if (forma == ParaFolha && valor.isValid() && !valor.isNull())
                    t = valor.toBool() ? QStringLiteral("Sim") : QStringLiteral("Não");
            } else {
                t = forma == ParaFolha && col->numerica() ? col->textoEdicao(valor) : col->textoApresentado(valor);
                temAlgo = temAlgo || !t.isEmpty();
            }
            textos << t;
        }
        if (temAlgo)
            c.linhas << textos;
    }
    return c;
}
