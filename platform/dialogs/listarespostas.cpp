#include "listarespostas.h"
#include "modelolista.h"

ListaRespostas::ListaRespostas() : m_anterior(ApresentadorLista::instalado())
{
    ApresentadorLista::instala(this);
}

ListaRespostas::~ListaRespostas()
{
    if (ApresentadorLista::instalado() == this)
        ApresentadorLista::instala(m_anterior);
}

void ListaRespostas::responde(const QString &codigo) { m_respostas.append({codigo, -1}); }
void ListaRespostas::respondeLinha(int linha) { m_respostas.append({QString(), linha}); }

QString ListaRespostas::escolhe(ListaPesquisa &lista)
{
    const ModeloLista &m = lista.modelo();
    Pedido p;
    p.titulo = lista.Titulo;
    p.sql = lista.sql();
    p.valores = lista.valores();
    p.largura = lista.Largura;
    p.colunas = m.cabecalhos();
    for (int c = 0; c < m.columnCount(); ++c)
        p.largurasColunas << lista.larguraColuna(c);
    for (int l = 0; l < m.rowCount(); ++l)
        p.codigos << m.codigo(l);
    p.erro = lista.erro();
    if (!m_respostas.isEmpty()) {
        const Resposta r = m_respostas.takeFirst();
        p.resposta = r.linha >= 0 ? p.codigos.value(r.linha) : r.codigo;
    }
    pedidos.append(p);
    return p.resposta;
}
