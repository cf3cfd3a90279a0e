#include "geracaoencomendas.h"

#include "consultas.h"
#include "grelha.h"
#include "ligacaobd.h"

#include <algorithm>

namespace {

// GeraDocumento: create a new document, in the session's interactive mode,
// with no options.
constexpr int OperacaoCriar = 1;
constexpr int ModoSessao = 4;
constexpr int SemOpcoes = 0;

// Refusals that concern the document as a whole, not one supplier's order.
bool recusaODocumento(long codigo)
{
    switch (codigo) {
    case SessaoErp::SessaoDesligada:
    case SessaoErp::TipoDesconhecido:
    case SessaoErp::TipoNaoEncomenda:
    case SessaoErp::SerieDesconhecida:
    case SessaoErp::AnoFechado:
        return true;
    default:
        return false;
    }
}

QString quantas(qsizetype n, const char *uma, const char *varias)
{
    return n == 1 ? QString::fromUtf8(uma) : QString::fromUtf8(varias).arg(n);
}

} // namespace

QString EncomendaCriada::texto() const
{
    return QStringLiteral("Encomenda %1 nº %2").arg(fornecedor).arg(registo.numero);
}

QList<LinhaNecessidade> GeracaoEncomendas::linhasDaGrelha(const Grelha &g)
{
    QList<LinhaNecessidade> linhas;
    for (int r = 0; r < g.linhas(); ++r) {
        LinhaNecessidade l = GravacaoNecessidades::leLinha(g, r);
        if (!l.artigo.isEmpty())
            linhas << l;
    }
    return linhas;
}

bool GeracaoEncomendas::haQueEncomendar(const QList<LinhaNecessidade> &linhas)
{
    return std::any_of(linhas.cbegin(), linhas.cend(), [](const LinhaNecessidade &l) { return !l.fornec.isEmpty() && l.qtd > Moeda(); });
}

void GeracaoEncomendas::falha(const QString &texto)
{
    if (m_falha)
        m_falha(texto);
}

bool GeracaoEncomendas::codigosFornecedores(const QList<LinhaNecessidade> &linhas)
{
    m_codigos.clear();
    for (const LinhaNecessidade &l : linhas) {
        if (l.fornec.isEmpty() || m_codigos.contains(l.fornec))
            continue;
        Recordset rs;
        if (!LerFornecedor(m_bd, rs, l.fornec)) {
            m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\nAo ler o fornecedor %1 (linha %2).").arg(l.fornec).arg(l.linha);
            return false;
        }
        m_codigos.insert(l.fornec, rs.Eof() ? l.fornec : TextoDe(rs.Valor(QStringLiteral("Codigo"))));
    }
    return true;
}

bool GeracaoEncomendas::gera(const QList<LinhaNecessidade> &linhas, const DocumentoEncomenda &documento, const QDate &data)
{
    m_criadas.clear();
    m_recusadas.clear();
    m_jaEncomendadas = 0;
    m_porTentar = 0;
    m_ajudaGravada = true;
    m_erro.clear();
    if (!codigosFornecedores(linhas))
        return false;

    // The suppliers in the order each first occurs on a row with a quantity;
    // each one's order lines, in grid order.
    QStringList fornecedores;
    QHash<QString, QList<LinhaNecessidade>> porFornecedor;
    for (const LinhaNecessidade &l : linhas) {
        if (!l.comQtd || l.fornec.isEmpty())
            continue;
        const QString f = fornecedorDe(l);
        auto it = porFornecedor.find(f);
        if (it == porFornecedor.end()) {
            fornecedores << f;
            it = porFornecedor.insert(f, {});
        }
        if (l.qtd > Moeda())
            it->append(l);
    }

    for (int i = 0; i < fornecedores.size(); ++i) {
        const QString &f = fornecedores.at(i);
        QList<LinhaNecessidade> doFornecedor = porFornecedor.value(f);
        if (doFornecedor.isEmpty())
            continue;
        if (m_progresso)
            m_progresso(f, i + 1, int(fornecedores.size()));
        if (!soPendentes(doFornecedor)) {
            const QString erro = m_bd.ultimoErro().texto();
            m_recusadas << EncomendaRecusada{f, 0, erro};
            falha(QStringLiteral("A encomenda ao fornecedor %1 não foi gerada: não foi possível ler as suas necessidades.\r\n%2")
                      .arg(f, erro));
            continue;
        }
        if (!doFornecedor.isEmpty() && !encomenda(f, doFornecedor, documento, data)) {
            for (int k = i + 1; k < fornecedores.size(); ++k)
                m_porTentar += porFornecedor.value(fornecedores.at(k)).isEmpty() ? 0 : 1;
            break;
        }
    }
    gravaAjudas(linhas);
    return true;
}

bool GeracaoEncomendas::soPendentes(QList<LinhaNecessidade> &linhas)
{
    // Another window (or another buyer) may have ordered a need since this
    // grid was loaded: it is not ordered a second time. A need that no longer
    // exists is still ordered, as the row asks.
    QList<LinhaNecessidade> pendentes;
    for (const LinhaNecessidade &l : std::as_const(linhas)) {
        if (l.id.isValid()) {
            const QVariant processado = m_bd.valorUnico(QStringLiteral("SELECT Processado FROM mvk_Necessidades WHERE Id = ?"), {l.id});
            if (m_bd.ultimoErro().existe())
                return false;
            if (!processado.isNull() && processado.toInt() != 0) {
                ++m_jaEncomendadas;
                continue;
            }
        }
        pendentes << l;
    }
    linhas = pendentes;
    return true;
}

bool GeracaoEncomendas::encomenda(const QString &fornecedor, const QList<LinhaNecessidade> &linhas,
                                  const DocumentoEncomenda &documento, const QDate &data)
{
    QStringList artigos;
    QList<double> quantidades, precos;
    for (const LinhaNecessidade &l : linhas) {
        artigos << l.artigo;
        quantidades << l.qtd.paraDouble();
        precos << l.prUnit.paraDouble();
    }
    const QStringList vazios(artigos.size());
    RegistoDocumento registo;
    int numero = 0;
    m_erp.GeraDocumento(OperacaoCriar, ModoSessao, documento.tipo, documento.sector, documento.serie, fornecedor, QString(),
                        QString(), Valores::textoData(data), QString(), documento.armazem, SemOpcoes, QString(), artigos,
                        vazios, quantidades, precos, vazios, registo, numero);
    long codigo = 0;
    QString mensagem;
    m_erp.Resultado(codigo, mensagem);
    if (codigo != SessaoErp::Sucesso) {
        m_recusadas << EncomendaRecusada{fornecedor, codigo, mensagem};
        if (m_recusa)
            m_recusa(m_recusadas.last());
        return !recusaODocumento(codigo);
    }

    EncomendaCriada e;
    e.fornecedor = fornecedor;
    e.registo = registo;
    for (const LinhaNecessidade &l : linhas) {
        if (!l.id.isValid())
            continue;
        e.ids << l.id.toLongLong();
        e.artigos << l.artigo;
    }
    e.marcada = marca(e);
    m_criadas << e;
    if (e.marcada)
        return true;
    QStringList necessidades;
    for (qsizetype i = 0; i < e.ids.size(); ++i)
        necessidades << QStringLiteral("%1 (%2)").arg(e.ids.at(i)).arg(e.artigos.at(i));
    falha(QStringLiteral("A %1 foi criada no ERP, mas as necessidades que encomenda não ficaram marcadas como processadas:\r\n"
                         "%2\r\n%3\r\n"
                         "Continuam pendentes: retire-as em \"Necessidades de Encomendas\" antes de gerar de novo, "
                         "para não as encomendar duas vezes.")
              .arg(e.texto(), necessidades.join(QStringLiteral(", ")), e.erro));
    return true;
}

bool GeracaoEncomendas::marca(EncomendaCriada &e)
{
    // The needs of one order are marked together or not at all.
    Transaccao t(m_bd);
    bool ok = t.iniciada();
    for (qsizetype i = 0; ok && i < e.ids.size(); ++i)
        ok = m_bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Processado = 1 WHERE Id = ?"), {e.ids.at(i)});
    ok = ok && t.confirma();
    if (!ok)
        e.erro = m_bd.ultimoErro().texto();
    return ok;
}

void GeracaoEncomendas::gravaAjudas(const QList<LinhaNecessidade> &linhas)
{
    // A purchase-help record belongs to an article and a supplier: a row
    // without a supplier (or without a reference) writes none.
    Transaccao t(m_bd);
    QString onde = QStringLiteral("Ao iniciar a gravação.");
    bool ok = t.iniciada();
    for (qsizetype i = 0; ok && i < linhas.size(); ++i) {
        const LinhaNecessidade &l = linhas.at(i);
        if (l.refArt.isEmpty() || l.fornec.isEmpty())
            continue;
        onde = QStringLiteral("Ao gravar a ajuda de compra de %1 / %2 (linha %3).").arg(l.artigo, fornecedorDe(l)).arg(l.linha);
        ok = GravaAjudaCompra(m_bd, l.artigo, fornecedorDe(l), l.refArt, l.prUnit);
    }
    if (ok) {
        onde = QStringLiteral("Ao terminar a gravação.");
        ok = t.confirma();
    }
    m_ajudaGravada = ok;
    if (!ok)
        falha(QStringLiteral("As referências dos fornecedores não foram gravadas na ajuda de compra do ERP (as encomendas não "
                             "dependem delas).\r\n%1\r\n%2")
                  .arg(m_bd.ultimoErro().texto(), onde));
}

QString GeracaoEncomendas::resumo() const
{
    QStringList criadas, porMarcar;
    for (const EncomendaCriada &e : m_criadas) {
        criadas << e.texto();
        if (!e.marcada)
            porMarcar << e.texto();
    }
    QStringList partes{criadas.isEmpty() ? QStringLiteral("Nenhuma encomenda criada") : criadas.join(QStringLiteral(", "))};
    if (!m_recusadas.isEmpty())
        partes << quantas(m_recusadas.size(), "1 encomenda recusada", "%1 encomendas recusadas");
    if (m_porTentar > 0)
        partes << quantas(m_porTentar, "1 encomenda por gerar", "%1 encomendas por gerar");
    if (m_jaEncomendadas > 0)
        partes << quantas(m_jaEncomendadas, "1 linha já estava encomendada", "%1 linhas já estavam encomendadas");
    if (!porMarcar.isEmpty())
        partes << QStringLiteral("necessidades por marcar: ") + porMarcar.join(QStringLiteral(", "));
    if (!m_ajudaGravada)
        partes << QStringLiteral("ajuda de compra por gravar");
    return partes.join(QStringLiteral("; "));
}
