#include "geracaoencomendas.h"

#include "consultas.h"
#include "grelha.h"
#include "ligacaobd.h"
#include "programa.h"


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

QString GeracaoEncomendas::confereDocumento(const DocumentoEncomenda &d)
{
    const struct
    {
        const char *chave;
        const QString &valor;
    } definicoes[] = {{"Tipo documento", d.tipo}, {"Serie", d.serie}, {"Sector", d.sector}, {"Armazem", d.armazem}};
    for (const auto &c : definicoes) {
        const QString valor = c.valor.trimmed();
        if (valor.size() > SessaoErp::ComprimentoCodigoDocumento)
            return QStringLiteral("A definição \"%1\" da secção \"Encomenda Next\" do ficheiro de configuração %2 vale \"%3\", "
                                  "com %4 caracteres; o máximo é %5.\r\nCorrija-a no ficheiro: nenhuma encomenda foi gerada.")
                .arg(QString::fromLatin1(c.chave), Programa::ficheiroConfiguracao(), valor)
                .arg(valor.size())
                .arg(SessaoErp::ComprimentoCodigoDocumento);
    }
    return QString();
}

bool GeracaoEncomendas::gera(const QList<LinhaNecessidade> &linhas, const DocumentoEncomenda &documento, const QDate &data)
{
    m_criadas.clear();
    m_recusadas.clear();
    m_jaEncomendadas = 0;
    m_porTentar = 0;
    m_naoGravadas = 0;
    m_ajudaGravada = true;
    m_erro = confereDocumento(documento);
    if (!m_erro.isEmpty())
        return false;
    // The claims a crash left are resolved first: their needs are either
    // processed (the ERP holds their order) or pending again.
    ReservasNecessidades reservas(m_bd);
    if (!reservas.confereTabela() || !reservas.resolve()) {
        m_erro = reservas.erro();
        return false;
    }
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
        const QList<LinhaNecessidade> doFornecedor = porFornecedor.value(f);
        if (doFornecedor.isEmpty())
            continue;
        if (m_progresso)
            m_progresso(f, i + 1, int(fornecedores.size()));
        const Seguimento s = encomenda(f, doFornecedor, documento, data);
        if (s == Seguimento::Continua)
            continue;
        int restantes = 0;
        for (int k = i + 1; k < fornecedores.size(); ++k)
            restantes += porFornecedor.value(fornecedores.at(k)).isEmpty() ? 0 : 1;
        (s == Seguimento::ParaRecusa ? m_porTentar : m_naoGravadas) += restantes;
        break;
    }
    if (m_aMarcar) {
        QString erro;
        const bool marcada = marcaAnterior(&erro);
        concluiMarca(marcada, erro, true);
    }
    // After a database failure the purchase help would fail alike: it is
    // written by the next press, with the orders still to make.
    if (m_naoGravadas == 0)
        gravaAjudas(linhas);
    return true;
}

GeracaoEncomendas::Seguimento GeracaoEncomendas::falhaBase(const QString &fornecedor, const QString &causa)
{
    ++m_naoGravadas;
    falha(QStringLiteral("A encomenda ao fornecedor %1 não foi gravada por uma falha da base de dados, e a geração parou aí.\r\n"
                         "%2\r\nA grelha ficou como estava: gere de novo quando a causa estiver resolvida "
                         "(o que já foi encomendado não é encomendado outra vez).")
              .arg(fornecedor, causa));
    return Seguimento::ParaFalhaBase;
}

GeracaoEncomendas::Seguimento GeracaoEncomendas::encomenda(const QString &fornecedor, QList<LinhaNecessidade> linhas,
                                                           const DocumentoEncomenda &documento, const QDate &data)
{
    // The needs are claimed first: those another generation claimed or
    // processed are left out. A need that no longer exists is still ordered,
    // as the row asks (it has nothing to mark).
    QList<qint64> ids, tomadas, outras, inexistentes;
    for (const LinhaNecessidade &l : std::as_const(linhas))
        if (l.id.isValid())
            ids << l.id.toLongLong();
    auto reservas = std::make_unique<ReservasNecessidades>(m_bd);
    reservas->nova({documento.tipo.trimmed(), documento.serie.trimmed(), data.year()});
    {
        // The needs of the previous order are marked in the same commit; a
        // mark refused by itself (a savepoint) leaves them claimed and the
        // generation goes on.
        QString erro, erroMarca;
        bool marcou = false;
        Transaccao t(m_bd);
        bool ok = t.iniciada() || (erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\nAo iniciar a reserva."), false);
        if (ok && m_aMarcar) {
            Transaccao marca(m_bd);
            marcou = marca.iniciada() && marcaAnterior(&erroMarca) && marca.confirma();
            if (!marcou && erroMarca.isEmpty())
                erroMarca = m_bd.ultimoErro().texto();
        }
        ok = ok && (m_bd.nivelTransaccao() == 1 || (erro = erroMarca, false));
        ok = ok && (reservas->reserva(ids, tomadas, outras, inexistentes) || (erro = reservas->erro(), false));
        ok = ok && (t.confirma() || (erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\nAo terminar a reserva."), false));
        if (!ok) {
            QString anterior;
            if (m_aMarcar) {
                anterior = QStringLiteral("\r\nA %1 foi criada no ERP; as necessidades que encomenda ficam reservadas para ela "
                                          "(não são encomendadas outra vez) e são marcadas automaticamente no próximo "
                                          "carregamento ou na próxima geração.")
                               .arg(m_criadas.last().texto());
                concluiMarca(false, erro, false);
            }
            return falhaBase(fornecedor, erro + anterior);
        }
        if (m_aMarcar)
            concluiMarca(marcou, erroMarca, true);
    }
    m_jaEncomendadas += int(outras.size());
    linhas.removeIf([&](const LinhaNecessidade &l) { return l.id.isValid() && outras.contains(l.id.toLongLong()); });
    if (linhas.isEmpty())
        return Seguimento::Continua;

    QStringList artigos;
    QList<double> quantidades, precos;
    for (const LinhaNecessidade &l : std::as_const(linhas)) {
        artigos << l.artigo;
        quantidades << l.qtd.paraDouble();
        precos << l.prUnit.paraDouble();
    }
    const QStringList vazios(artigos.size());
    RegistoDocumento registo;
    int numero = 0;
    m_erp.GeraDocumento(OperacaoCriar, ModoSessao, documento.tipo, documento.sector, documento.serie, fornecedor,
                        reservas->token(), QString(), Valores::textoData(data), QString(), documento.armazem, SemOpcoes,
                        QString(), artigos, vazios, quantidades, precos, vazios, registo, numero);
    long codigo = 0;
    QString mensagem;
    m_erp.Resultado(codigo, mensagem);
    if (codigo == SessaoErp::Sucesso) {
        criada(fornecedor, registo, linhas, std::move(reservas), false);
        return Seguimento::Continua;
    }

    // A database failure: whether the order was written may not be known
    // (a commit that failed on its way), and the database may be locked;
    // the claim is left to the next load or generation, which resolves it
    // by what the ERP holds, so this generation waits no more.
    if (codigo == SessaoErp::FalhaBaseDados) {
        reservas->termina();
        return falhaBase(fornecedor, mensagem + QStringLiteral("\r\nAs necessidades desta encomenda ficam reservadas até ao "
                                                               "próximo carregamento ou à próxima geração, que as resolvem."));
    }
    // A refusal: nothing was written; the ERP is asked by the claim all the
    // same, and the needs follow what it holds.
    int achada = 0;
    const bool resolvida = reservas->resolvePropria(&achada);
    reservas->termina();
    if (resolvida && achada > 0) {
        registo.tipo = documento.tipo.trimmed();
        registo.serie = documento.serie.trimmed();
        registo.ano = data.year();
        registo.numero = achada;
        registo.linhas = int(linhas.size());
        criada(fornecedor, registo, linhas, nullptr, true);
        return Seguimento::Continua;
    }
    m_recusadas << EncomendaRecusada{fornecedor, codigo, mensagem};
    if (m_recusa)
        m_recusa(m_recusadas.last());
    return recusaODocumento(codigo) ? Seguimento::ParaRecusa : Seguimento::Continua;
}

void GeracaoEncomendas::criada(const QString &fornecedor, const RegistoDocumento &registo, const QList<LinhaNecessidade> &linhas,
                               std::unique_ptr<ReservasNecessidades> reservas, bool marcada)
{
    EncomendaCriada e;
    e.fornecedor = fornecedor;
    e.registo = registo;
    e.marcada = marcada;
    for (const LinhaNecessidade &l : linhas) {
        if (!l.id.isValid())
            continue;
        e.ids << l.id.toLongLong();
        e.artigos << l.artigo;
    }
    m_criadas << e;
    m_aMarcar = std::move(reservas);
}

bool GeracaoEncomendas::marcaAnterior(QString *erro)
{
    if (m_aMarcar->marca(m_criadas.last().registo))
        return true;
    *erro = m_aMarcar->erro();
    return false;
}

void GeracaoEncomendas::concluiMarca(bool ok, const QString &erro, bool avisa)
{
    // From now on a claim left is this process's no more: the next load or
    // generation resolves it.
    m_aMarcar.reset();
    EncomendaCriada &e = m_criadas.last();
    e.marcada = ok;
    e.erro = erro;
    if (ok || !avisa)
        return;
    QStringList necessidades;
    for (qsizetype i = 0; i < e.ids.size(); ++i)
        necessidades << QStringLiteral("%1 (%2)").arg(e.ids.at(i)).arg(e.artigos.at(i));
    falha(QStringLiteral("A %1 foi criada no ERP, mas as necessidades que encomenda não ficaram marcadas como processadas:\r\n"
                         "%2\r\n%3\r\n"
                         "Ficam reservadas para esta encomenda: não são encomendadas outra vez, e são marcadas "
                         "automaticamente no próximo carregamento ou na próxima geração.")
              .arg(e.texto(), necessidades.join(QStringLiteral(", ")), e.erro));
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
    if (m_naoGravadas > 0)
        partes << quantas(m_naoGravadas, "1 encomenda não gravada por falha da base de dados",
                          "%1 encomendas não gravadas por falha da base de dados");
    if (m_jaEncomendadas > 0)
        partes << quantas(m_jaEncomendadas, "1 linha já estava encomendada", "%1 linhas já estavam encomendadas");
    if (!porMarcar.isEmpty())
        partes << QStringLiteral("necessidades por marcar: ") + porMarcar.join(QStringLiteral(", "));
    if (!m_ajudaGravada)
        partes << QStringLiteral("ajuda de compra por gravar");
    return partes.join(QStringLiteral("; "));
}
