// The article history of the rupture window: F8 or "&Histórico" reads the
// current row's article (HistoricoArtigo) and shows it (JanelaHistorico); a
// supplier chosen there goes into the row as if it were typed.
#include "rupturastocks.h"

#include "grelha.h"
#include "historicoartigo.h"
#include "janelahistorico.h"
#include "ligacaobd.h"
#include "mensagens.h"

#include <QGroupBox>

using namespace ColunasNecessidades;

void RupturaStocks::historico()
{
    if (!m_bd || m_aCarregar || m_aGerar || emPrevisao() || m_frame2->isVisible() || m_historico)
        return;
    const int linha = m_grelha->linhaActual();
    const QString artigo = linha > 0 ? m_grelha->matriz(linha - 1, Artigo).toString().trimmed() : QString();
    if (artigo.isEmpty()) {
        Mensagem(QString(), QStringLiteral("Escolha na grelha uma linha com artigo."), 2);
        m_grelha->setFocus();
        return;
    }
    HistoricoArtigo leitor(*m_bd);
    DadosHistorico dados;
    if (!leitor.le(artigo, QDate::currentDate(), dados)) {
        falhaBd(leitor.erro(), QStringLiteral("Historico"));
        return;
    }
    m_historico = new JanelaHistorico(this);
    m_historico->setAttribute(Qt::WA_DeleteOnClose);
    m_historico->setDados(dados);
    connect(m_historico, &JanelaHistorico::fornecedorEscolhido, this,
            [this, linha](const FornecedorHistorico &f) { aplicaFornecedor(linha, f); });
    connect(m_historico, &QDialog::finished, this, [this] {
        m_historico = nullptr;
        m_grelha->setFocus();
    });
    m_historico->open();
}

bool RupturaStocks::aplicaFornecedor(int linha, const FornecedorHistorico &f)
{
    if (linha < 1 || linha > m_grelha->linhas())
        return false;
    // The supplier's code goes through the check of a typed one: looked up,
    // and the purchase-help reference of the article and supplier put in.
    const QVariant anterior = m_grelha->matriz(linha - 1, Forn);
    m_grelha->setMatriz(linha - 1, Forn, f.codigo);
    m_estado.Digitado = true;
    bool cancela = false;
    m_regras->valida(linha, Forn + 1, anterior, cancela);
    if (cancela)
        return false;
    if (!f.referencia.isEmpty())
        m_grelha->setMatriz(linha - 1, RefForn, f.referencia);
    m_grelha->setMatriz(linha - 1, PrecEc, f.preco().paraValor());
    m_grelha->redesenhaCelula(linha, 0);
    m_grelha->setLinhaActual(linha);
    m_grelha->setColunaActual(Forn + 1);
    return true;
}
