// Generating the supplier orders of "Ruptura de Stocks": one order per
// supplier in the ERP, the purchase help, the needs marked processed, and the
// result line naming the orders. The generation runs to its end with the
// window locked; it keeps the window painted but takes no input meanwhile, so
// a second press (or the Enter key held) cannot start it again; what was
// typed meanwhile is lost in the locked window, and the repeats of a key
// still held are dropped until the key is let go.
#include "rupturastocks.h"

#include "botao.h"
#include "campoinput.h"
#include "encomendanext.h"
#include "geracaoencomendas.h"
#include "grelha.h"
#include "mensagens.h"
#include "sessaoerp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {

// Drops the repeats of a key held down at the end of a generation until the
// next key pressed or let go: a held Enter (or Alt+G) does not type into the
// cleared window.
class IgnoraTeclaPresa : public QObject
{
public:
    explicit IgnoraTeclaPresa(QObject *pai) : QObject(pai) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return false;
        if (static_cast<QKeyEvent *>(e)->isAutoRepeat())
            return true;
        qApp->removeEventFilter(this);
        deleteLater();
        return false;
    }
};

} // namespace

void RupturaStocks::actualizaGeracao()
{
    bool comLinhas = false;
    for (int r = 0; r < m_grelha->linhas() && !comLinhas; ++r)
        comLinhas = !m_grelha->matriz(r, ColunasNecessidades::Artigo).toString().trimmed().isEmpty();
    m_mvkBotao1->setEnabled(m_estado.Tipo == 1 && comLinhas && !m_aGerar && !m_aCarregar);
}

void RupturaStocks::mostraResultado(const QString &texto)
{
    // A long list of orders is shortened in the middle; all of it is in the tooltip.
    QLabel *l = m_label2[8];
    l->setText(l->fontMetrics().elidedText(texto, Qt::ElideMiddle, l->width()));
    l->setToolTip(texto);
}

void RupturaStocks::gera()
{
    if (m_aGerar || m_aCarregar || m_estado.Tipo != 1 || !m_bd)
        return;
    const QList<LinhaNecessidade> linhas = GeracaoEncomendas::linhasDaGrelha(*m_grelha);
    if (linhas.isEmpty())
        return;
    if (!m_sessao || !m_sessao->ligada()) {
        Mensagem(QString(), QStringLiteral("Não há ligação ao ERP: as encomendas não podem ser geradas."), 2);
        return;
    }
    DocumentoEncomenda documento;
    if (!GetEncomendaNext(documento.tipo, documento.sector, documento.serie, documento.armazem))
        return;   // it said why; nothing was generated
    const QString definicoes = GeracaoEncomendas::confereDocumento(documento);
    if (!definicoes.isEmpty()) {
        Mensagem(QString(), definicoes, 2);
        m_grelha->setFocus();
        return;
    }

    m_aGerar = true;
    Inibe();
    m_btSair->setEnabled(false);
    GeracaoEncomendas geracao(*m_bd, *m_sessao);
    geracao.setProgresso([this](const QString &fornecedor, int feito, int total) {
        m_label2[8]->setText(QStringLiteral("A gerar a encomenda ao fornecedor %1 (%2 de %3)...").arg(fornecedor).arg(feito).arg(total));
        // Painted, but no input: a click or a key pressed meanwhile reaches
        // the window only once the generation is over.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    geracao.setRecusa([](const EncomendaRecusada &r) { Mensagem(QString(), r.mensagem, 2); });
    geracao.setFalha([](const QString &texto) { MensagemErro(texto); });
    const bool ok = geracao.gera(linhas, documento, QDate::currentDate());
    // What was typed or clicked meanwhile reaches the window while it is
    // still locked, and is lost there; a key still held repeats into nothing
    // until it is let go.
    QCoreApplication::processEvents();
    new IgnoraTeclaPresa(this);
    m_aGerar = false;
    DesInibe();

    if (!ok) {
        // Nothing was written: the grid stays for another try.
        falhaBd(geracao.erro(), QStringLiteral("mvkBotao1_Click"));
        m_label2[8]->clear();
        m_grelha->setFocus();
    } else if (geracao.paradaPorFalhaBase()) {
        // The database failed (it said why): the grid stays as the buyer left
        // it, so a second press orders what is left once the cause is gone.
        mostraResultado(geracao.resumo());
        m_grelha->setFocus();
    } else {
        LimparForm();
        mostraResultado(geracao.resumo());
        m_campo[0]->setFocus();
    }
    if (m_fecharNoFim)
        sair();
}
