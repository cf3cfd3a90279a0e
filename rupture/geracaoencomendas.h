#pragma once
#include "gravacaonecessidades.h"
#include "reservasnecessidades.h"
#include "sessaoerp.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Grelha;
class LigacaoBd;

// The order-document defaults the orders are created with (GetEncomendaNext).
struct DocumentoEncomenda
{
    QString tipo, sector, serie, armazem;
};

// An order the ERP created, and whether the needs it orders were marked.
struct EncomendaCriada
{
    QString fornecedor;
    RegistoDocumento registo;
    QList<qint64> ids;       // the needs it orders, in grid order
    QStringList artigos;     // the article of each of them
    bool marcada = false;    // false: the needs stay claimed until the next load or generation marks them (erro says why)
    QString erro;

    // "Encomenda FA1 nº 12".
    QString texto() const;
};

// An order the ERP refused, with the ERP's own code and message.
struct EncomendaRecusada
{
    QString fornecedor;
    long codigo = 0;
    QString mensagem;
};

// Turns the analysed needs grid of "Ruptura de Stocks" into supplier orders
// in the ERP. The suppliers are those of the rows with a quantity, in the
// order in which each first occurs (codes compared as the ERP's supplier
// table compares them, so "fa1" and "FA1" are one supplier, and FA1 is never
// taken for FA10). Each supplier gets one order (SessaoErp::GeraDocumento)
// with its rows whose quantity is greater than zero, in grid order, at the
// cheapest quoted price (0 without one).
//
// Every need is ordered at most once (ReservasNecessidades): before its order
// the supplier's needs are claimed, in one transaction, only while still
// pending and unclaimed; a need another generation claimed or processed is
// left out ("já estava encomendada"); the order carries the claim as its
// reference; right after the ERP accepts it the needs are marked processed
// with its number. A refused order releases its needs to pending, so the
// buyer can put the cause right and generate again. Claims left by a crash
// are resolved before the generation starts.
//
// The order-document defaults are checked against their columns before
// anything is written. A refusal by the ERP is told and the generation goes
// on with the next supplier, unless the ERP refused the document itself (its
// type, series or year, or the session): every other order would be refused
// the same way, so the generation stops there. A database failure (a lock
// held past the wait, a full disk) stops it at once, told once: the orders
// not written are counted as such, and the purchase help is not written (it
// would fail alike; a second press writes it). Otherwise, last, every row
// with a supplier and a supplier's reference writes the purchase-help record
// of its article and supplier (GravaAjudaCompra), all in one transaction,
// whatever became of the orders.
class GeracaoEncomendas
{
public:
    // Before each order: its supplier and how far the generation went.
    using Progresso = std::function<void(const QString &fornecedor, int feito, int total)>;
    // The ERP refused an order (its message is for the buyer).
    using Recusa = std::function<void(const EncomendaRecusada &recusada)>;
    // Something was not written although the orders went on: the full text
    // for the buyer.
    using Falha = std::function<void(const QString &texto)>;

    GeracaoEncomendas(LigacaoBd &bd, SessaoErp &erp) : m_bd(bd), m_erp(erp) {}

    void setProgresso(Progresso p) { m_progresso = std::move(p); }
    void setRecusa(Recusa r) { m_recusa = std::move(r); }
    void setFalha(Falha f) { m_falha = std::move(f); }

    // The rows of the grid that have an article, in grid order.
    static QList<LinhaNecessidade> linhasDaGrelha(const Grelha &grelha);
    // The defaults checked against the columns they go into: the empty text
    // when they fit, else the message naming the setting and its limit.
    static QString confereDocumento(const DocumentoEncomenda &documento);

    // Creates the orders dated data. False only when it could not start (the
    // suppliers could not be read; erro() says why): nothing was written then.
    bool gera(const QList<LinhaNecessidade> &linhas, const DocumentoEncomenda &documento, const QDate &data);

    const QList<EncomendaCriada> &criadas() const { return m_criadas; }
    const QList<EncomendaRecusada> &recusadas() const { return m_recusadas; }
    // Rows left out because their need was processed meanwhile.
    int jaEncomendadas() const { return m_jaEncomendadas; }
    // Suppliers not tried because the ERP refused the document itself.
    int porTentar() const { return m_porTentar; }
    // Orders not written because the database failed (the generation stopped there).
    int naoGravadas() const { return m_naoGravadas; }
    bool paradaPorFalhaBase() const { return m_naoGravadas > 0; }
    bool ajudaGravada() const { return m_ajudaGravada; }
    QString erro() const { return m_erro; }

    // The result line: the orders created, then what went wrong, e.g.
    // "Encomenda FA1 nº 3, Encomenda FA3 nº 4; 1 encomenda recusada".
    QString resumo() const;

private:
    // The code of a supplier as the ERP's supplier table spells it; the text
    // itself when there is no such supplier.
    bool codigosFornecedores(const QList<LinhaNecessidade> &linhas);
    QString fornecedorDe(const LinhaNecessidade &l) const { return m_codigos.value(l.fornec, l.fornec); }
    enum class Seguimento { Continua, ParaRecusa, ParaFalhaBase };
    // Claims, orders and marks one supplier's needs.
    Seguimento encomenda(const QString &fornecedor, QList<LinhaNecessidade> linhas, const DocumentoEncomenda &documento,
                         const QDate &data);
    Seguimento falhaBase(const QString &fornecedor, const QString &causa);
    // An order the ERP accepted; its needs are marked with the next claim
    // (one commit for both) or at the end, by marcaAnterior. marcada: the
    // needs were marked already (found by their claim).
    void criada(const QString &fornecedor, const RegistoDocumento &registo, const QList<LinhaNecessidade> &linhas,
                std::unique_ptr<ReservasNecessidades> reservas, bool marcada);
    // Marks the needs of the last order created, in the caller's transaction
    // if one is open; false (with erro) when it failed.
    bool marcaAnterior(QString *erro);
    // The mark is over: committed (ok) or not, told to the buyer when avisa.
    void concluiMarca(bool ok, const QString &erro, bool avisa);
    void gravaAjudas(const QList<LinhaNecessidade> &linhas);
    void falha(const QString &texto);

    LigacaoBd &m_bd;
    SessaoErp &m_erp;
    Progresso m_progresso;
    Recusa m_recusa;
    Falha m_falha;
    QHash<QString, QString> m_codigos;
    QList<EncomendaCriada> m_criadas;
    // The claim of the last order created while its needs wait to be marked.
    std::unique_ptr<ReservasNecessidades> m_aMarcar;
    QList<EncomendaRecusada> m_recusadas;
    int m_jaEncomendadas = 0;
    int m_porTentar = 0;
    int m_naoGravadas = 0;
    bool m_ajudaGravada = true;
    QString m_erro;
};
