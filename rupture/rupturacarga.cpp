// Loading the rupture window: the analysis or the list of needs, with the
// window locked, painted and told how far the load went, also while one of
// its statements runs; Esc or Sair stops it, in the middle of a statement too.
#include "rupturastocks.h"

#include "analiseruptura.h"
#include "botao.h"
#include "grelha.h"
#include "ligacaobd.h"
#include "mensagens.h"
#include "reservasnecessidades.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>

void RupturaStocks::falhaBd(const QString &texto, const QString &funcao)
{
    MensagemErro(texto, funcao, QStringLiteral("RupturaStocks"));
}

bool RupturaStocks::progresso(const QString &passo, int feito, int total)
{
    QString texto = passo;
    if (total > 0)
        texto += QStringLiteral(" %1 de %2").arg(feito).arg(total);
    m_label2[8]->setText(texto + QStringLiteral("... (Esc interrompe)"));
    // Paint and take the user's Esc or Sair; the rest of the window is locked.
    QCoreApplication::processEvents();
    return !m_parar;
}

bool RupturaStocks::aMeioDeInstrucao() const { return m_ligacaoCarga && m_ligacaoCarga->aPerguntar(); }

void RupturaStocks::carrega()
{
    if (m_aCarregar || !m_bd)
        return;
    Act_Grelha();
    // The rows removed from the grid go with it: a need shown again by this
    // load must not be deleted by the next save.
    m_estado.IdsAnulados = {0};
    m_versoes.clear();
    Inibe();
    m_label2[8]->setEnabled(true);   // the result line tells how far the load went
    m_aCarregar = true;
    m_parar = false;
    // Esc reaches the window through Sair, the one control left.
    m_btSair->setFocus();

    // On a SQLite file the load reads through a connection of its own, whose
    // statements let the window paint while they run: Bd stays free for the
    // other windows meanwhile (SQLite runs no statement inside another).
    LigacaoBd propria;
    LigacaoBd *ligacao = m_bd;
    bool ok = true;
    QString erro;
    if (m_bd->podeAcompanhar()) {
        ligacao = &propria;
        ok = propria.abreIgual(*m_bd);
        if (!ok)
            erro = propria.ultimoErro().texto();
    }
    m_ligacaoCarga = ligacao;

    // Needs a generation claimed and left behind (a crash) are resolved
    // first: processed when the ERP holds their order, pending otherwise. A
    // resolution that cannot run now is tried again by the next load or
    // generation, and changes nothing meanwhile.
    if (ok) {
        progresso(QStringLiteral("A verificar as necessidades reservadas"), 0, 0);
        ReservasNecessidades reservas(*m_bd);
        ok = reservas.confereTabela();
        if (!ok)
            erro = reservas.erro();
        else
            reservas.resolve();
    }

    AnaliseRuptura analise(*ligacao);
    // A step that takes long shows its seconds.
    QString passoActual;
    QElapsedTimer relogio;
    analise.setProgresso(
        [&](const QString &passo, int feito, int total) {
            if (passo != passoActual) {
                passoActual = passo;
                relogio.start();
            }
            const qint64 segundos = relogio.elapsed() / 1000;
            return progresso(total == 0 && segundos > 0 ? QStringLiteral("%1, %2 s").arg(passo).arg(segundos) : passo, feito, total);
        },
        m_intervaloPintura);
    QList<LinhaRuptura> linhas;
    if (ok) {
        m_filtrosCarga = filtros();   // what the printed grid says it shows
        ok = analise.carrega(m_filtrosCarga, linhas) && progresso(QStringLiteral("A preencher a grelha"), 0, 0);
        erro = analise.erro();
    }
    m_ligacaoCarga = nullptr;
    if (ok) {
        m_grelha->setRedesenho(false);
        GrelhaNecessidades::preenche(*m_grelha, linhas, m_estado.Tipo);
        if (m_estado.Tipo != 1)
            for (const LinhaRuptura &l : std::as_const(linhas))
                m_versoes.insert(l.id, l.versao);
        m_grelha->setRedesenho(true);
    }
    m_aCarregar = false;
    DesInibe();
    m_label2[8]->clear();

    if (m_fecharNoFim) {
        sair();
        return;
    }
    if (!ok) {
        // Nothing of a failed or stopped load stays; the filters do.
        Act_Grelha();
        if (analise.parada() || m_parar)
            m_label2[8]->setText(QStringLiteral("Carregamento interrompido: a grelha ficou vazia."));
        else
            falhaBd(erro, QStringLiteral("btCarga_Click"));
        return;
    }
    if (linhas.isEmpty()) {
        Mensagem(QString(), QStringLiteral("Não existe informação para as condições solicitadas!"), 2);
        return;
    }
    m_label2[8]->setText(QStringLiteral("Analisar %1 linhas").arg(linhas.size()));
    m_grelha->setFocus();
    m_grelha->setLinhaActual(1);
}
