// The filter fields of the rupture window: their controls, keys, checks and
// lookup lists.
#include "rupturastocks.h"

#include "analiseruptura.h"
#include "botao.h"
#include "campoinput.h"
#include "janelafilha.h"
#include "leitoresruptura.h"
#include "ligacaobd.h"
#include "listapesquisa.h"
#include "listasgrelha.h"
#include "mensagens.h"

#include <QCheckBox>
#include <QLabel>

namespace {


// Each range: the first and last field, their labels, the lists' tooltip.
struct Intervalo
{
    int primeiro, ultimo;
    int legendaPrimeiro, legendaUltimo;
    const char *textoPrimeiro, *textoUltimo;
    const char *dica, *dicaLista;
};

const Intervalo intervalos[4] = {
    {0, 1, 4, 0, "1º Artigo", "Ult.Artigo", "Código de Artigo.", "Acesso à lista de Artigos."},
    {2, 3, 1, 2, "1º Grupo", "Ult. Grupo", "Grupo de Artigos.", "Acesso à lista de Grupos."},
    {4, 5, 3, 5, "1º Família", "Ult. Família", "Família de Artigos.", "Acesso à lista de Famílias."},
    {6, 7, 6, 7, "1ª Sub Fam.", "Ult Sub Fam.", "Sub Família de Artigos.", "Acesso à lista de Sub Famílias."},
};

// The query that finds a typed code of each range (values: the code, then
// the group range for families and sub-families, then the family range for
// sub-families).
const char *const consultas[4] = {
    " SELECT Codigo AS 'Artigo', Nome AS 'Designação' FROM Artigos WHERE Artoudes=0 AND Inactivo=0 AND Codigo = ?",
    " SELECT Cod AS 'Grupo', Descr AS 'Descrição' FROM Grupos WHERE Cod = ?",
    " SELECT Cod AS 'Família', Descr AS 'Descrição' FROM Familia WHERE Cod = ? AND Grupo >= ? AND Grupo <= ?",
    " SELECT Cod AS 'Sub Família', Descr AS 'Descrição' FROM SUBFamil WHERE Cod = ? AND Grupo >= ? AND Grupo <= ?"
    " AND Familia >= ? AND Familia <= ?",
};
const char *const inexistente[4] = {"Artigo inexistente!", "Grupo inexistente!", "Família inexistente!", "Sub Família inexistente!"};

} // namespace

void RupturaStocks::criaFiltros()
{
    for (int r = 0; r < 4; ++r) {
        const Intervalo &iv = intervalos[r];
        const int topo = 720 + r * 390;
        const int campos[2] = {iv.primeiro, iv.ultimo};
        const int legendas[2] = {iv.legendaPrimeiro, iv.legendaUltimo};
        const char *textos[2] = {iv.textoPrimeiro, iv.textoUltimo};
        for (int k = 0; k < 2; ++k) {
            const int i = campos[k];
            const int esquerda = 120 + k * 3480;
            m_label2[legendas[k]] = new QLabel(QString::fromUtf8(textos[k]), this);
            m_label2[legendas[k]]->setGeometry(JanelaFilha::twips(esquerda, topo + 30, 1100, 285));
            m_campo[i] = new CampoInput(this);
            m_campo[i]->setToolTip(QString::fromUtf8(iv.dica));
            m_campo[i]->setGeometry(JanelaFilha::twips(esquerda + 1140, topo, 1800, 315));
            m_btLista[i] = new Botao(QStringLiteral("..."), this);
            m_btLista[i]->setIndice(i);
            m_btLista[i]->setToolTip(QString::fromUtf8(iv.dicaLista));
            // Out of the Tab order, but a click still checks the field being left.
            m_btLista[i]->setFocusPolicy(Qt::ClickFocus);
            m_btLista[i]->setGeometry(JanelaFilha::twips(esquerda + 2970, topo, 375, 315));
            connect(m_btLista[i], &Botao::clicado, this, [this, i] { abreLista(i); });
            m_controlos << m_label2[legendas[k]] << m_campo[i] << m_btLista[i];
        }
    }
    m_label2[13] = new QLabel(QStringLiteral("Dias"), this);
    m_label2[13]->setGeometry(JanelaFilha::twips(7200, 750, 600, 285));
    m_campo[11] = new CampoInput(this);
    m_campo[11]->setToolTip(QStringLiteral("Código de Artigo."));
    m_campo[11]->setFormatoNumerico(QStringLiteral("###,###.00"));
    m_campo[11]->setGeometry(JanelaFilha::twips(7800, 720, 1200, 315));
    m_check1 = new QCheckBox(QStringLiteral("Com Previsão"), this);
    m_check1->setGeometry(JanelaFilha::twips(7200, 1110, 1800, 315));
    m_controlos << m_label2[13] << m_campo[11] << m_check1;

    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 11}) {
        m_campo[i]->setIndice(i);
        m_campo[i]->setMaxLength(15);
        connect(m_campo[i], &CampoInput::teclaPremida, this, [this, i](int &codigo) { teclaCampo(i, codigo); });
        connect(m_campo[i], &CampoInput::valida, this, [this, i](bool &cancela) { validaCampo(i, cancela); });
        connect(m_campo[i], &CampoInput::pedeLista, this, [this, i] { abreLista(i); });
    }
}

QString RupturaStocks::texto(int indice) const { return m_campo[indice]->text().trimmed(); }

FiltrosRuptura RupturaStocks::filtros() const
{
    FiltrosRuptura f;
    f.Tipo = m_estado.Tipo;
    f.artigoDe = texto(0);
    f.artigoAte = texto(1);
    f.grupoDe = texto(2);
    f.grupoAte = texto(3);
    f.familiaDe = texto(4);
    f.familiaAte = texto(5);
    f.subFamiliaDe = texto(6);
    f.subFamiliaAte = texto(7);
    f.dias = LeitoresRuptura::diasDeTexto(texto(11));
    f.comPrevisao = m_check1->isChecked();
    return f;
}

void RupturaStocks::teclaCampo(int indice, int &codigo)
{
    // A typed character marks the field typed; Esc steps back one field
    // without checking, and in the first article closes the window.
    m_estado.Digitado = !CampoInput::recuaComEsc(codigo);
    if (!m_estado.Digitado && indice == 0)
        sair();
}

bool RupturaStocks::existe(int indice, const QString &valor, bool *ok)
{
    const int r = indice / 2;
    QVariantList valores{valor};
    if (r >= 2)
        valores << texto(2) << texto(3);
    if (r == 3)
        valores << texto(4) << texto(5);
    Recordset rs;
    *ok = m_bd->AbreConsulta(QString::fromUtf8(consultas[r]), rs, valores);
    return *ok && !rs.Eof();
}

void RupturaStocks::validaCampo(int indice, bool &cancela)
{
    // Only the ranges are checked, and a code only when typed (not when the
    // focus merely passes through, nor after a pick from its list).
    const QString valor = texto(indice);
    if (indice >= 0 && indice < 8 && m_estado.Digitado && !valor.isEmpty()) {
        bool ok = true;
        if (!existe(indice, valor, &ok)) {
            if (ok)
                Mensagem(QString(), QString::fromUtf8(inexistente[indice / 2]), 2);
            else
                falhaBd(m_bd->ultimoErro().texto(), QStringLiteral("Campo_Validate"));
            m_campo[indice]->setFocus();
            cancela = true;
        }
    }
    m_estado.Digitado = false;
}

void RupturaStocks::abreLista(int indice)
{
    if (indice < 0 || indice >= 8 || !m_bd)
        return;
    CampoInput *campo = m_campo[indice];
    campo->setFocus();
    QString codigo;
    switch (indice / 2) {
    case 0:
        codigo = EscolheArtigoFiltro(*m_bd);
        break;
    case 1:
        codigo = ListaPesquisa::escolhe(*m_bd, QStringLiteral("Grupos"),
                                        QStringLiteral(" SELECT  Cod 'Grupo', Descr as 'Descrição'") + QStringLiteral(" FROM Grupos")
                                            + QStringLiteral("  order by Cod"),
                                        5800, {1300, 4000});
        break;
    case 2:
        // Always within the group range, even an empty one.
        codigo = ListaPesquisa::escolhe(*m_bd, QStringLiteral("Famílias "),
                                        QStringLiteral(" SELECT  Cod 'Família', Descr as 'Descrição'") + QStringLiteral(" FROM Familia")
                                            + QStringLiteral(" where Grupo>= ? and Grupo<= ?") + QStringLiteral("  order by Cod"),
                                        5800, {1300, 4000}, {texto(2), texto(3)});
        break;
    default:
        codigo = ListaPesquisa::escolhe(*m_bd, QStringLiteral("Sub Famílias"),
                                        QStringLiteral(" SELECT  Cod 'Sub Família', Descr as 'Descrição'")
                                            + QStringLiteral(" FROM SUBFamil") + QStringLiteral(" where Grupo>= ? and Grupo<= ?")
                                            + QStringLiteral(" and Familia>= ? and Familia<= ?") + QStringLiteral("  order by Cod"),
                                        4500, {1000, 3000}, {texto(2), texto(3), texto(4), texto(5)});
        break;
    }
    if (codigo.isEmpty())
        return;
    // The picked code exists: the queued Tab moves on without checking it
    // again (the typing flag is left as it was).
    campo->poeEscolhido(codigo);
}
