#include "sessaoerp.h"
#include "cadeialigacao.h"
#include "esquemaerp.h"
#include "valores.h"

#include <cmath>

SessaoErp::SessaoErp() = default;
SessaoErp::~SessaoErp() { Desliga(); }

bool SessaoErp::recusa(long codigo, const QString &mensagem)
{
    m_codigo = codigo;
    m_mensagem = mensagem;
    m_ligada = false;
    if (m_erp)
        m_erp->Fecha();
    m_erp.reset();
    return false;
}

bool SessaoErp::Liga(const QString &empresa, const QString &senha, const QString &utilizador, const QString &exercicio,
                     const QString &baseErp)
{
    Desliga();
    if (empresa.trimmed().isEmpty() || utilizador.trimmed().isEmpty() || exercicio.trimmed().isEmpty()
        || baseErp.trimmed().isEmpty())
        return recusa(FaltamParametros, QStringLiteral("Faltam parâmetros de ligação ao ERP (empresa, utilizador, exercício e base de dados)."));

    CadeiaLigacao cadeia;
    if (baseErp.startsWith(QLatin1String("ODBC:"), Qt::CaseInsensitive)) {
        cadeia.Servidor = baseErp;
    } else {
        cadeia.Servidor = QStringLiteral("SQLITE");
        cadeia.BaseDados = baseErp;
    }
    m_erp = std::make_unique<LigacaoBd>();
    if (!m_erp->Abre(cadeia.Texto()))
        return recusa(BaseInacessivel, QStringLiteral("Base de dados do ERP inacessível: %1").arg(m_erp->ultimoErro().descricao));

    Recordset rs;
    if (!m_erp->AbreConsulta(QStringLiteral("SELECT Codigo, AnoInicio, AnoFim FROM Empresas WHERE Codigo = ?"), rs, {empresa.trimmed()}))
        return recusa(BaseInvalida, QStringLiteral("A base de dados %1 não é uma base de dados do ERP (%2).")
                             .arg(m_erp->destino(), m_erp->ultimoErro().descricao));
    if (rs.Eof())
        return recusa(EmpresaDesconhecida, QStringLiteral("A empresa %1 não existe no ERP.").arg(empresa.trimmed()));
    bool anoOk = false;
    const int ano = exercicio.trimmed().toInt(&anoOk);
    if (!anoOk || ano < rs.Valor(1).toInt() || ano > rs.Valor(2).toInt())
        return recusa(ExercicioDesconhecido, QStringLiteral("O exercício %1 não existe na empresa %2.").arg(exercicio.trimmed(), empresa.trimmed()));

    if (!m_erp->AbreConsulta(QStringLiteral("SELECT Senha FROM Utilizadores WHERE Codigo = ?"), rs, {utilizador.trimmed()}))
        return recusa(BaseInvalida, m_erp->ultimoErro().descricao);
    if (rs.Eof() || rs.Valor(0).toString() != senha)
        return recusa(UtilizadorInvalido, QStringLiteral("Utilizador ou senha do ERP inválidos."));

    // A file made before the header kept its reference gets the column (a
    // file that cannot be written keeps working; its orders are refused then).
    EsquemaErp::actualiza(*m_erp);

    m_empresa = empresa.trimmed();
    m_utilizador = utilizador.trimmed();
    m_exercicio = ano;
    m_ligada = true;
    m_codigo = Sucesso;
    m_mensagem.clear();
    return true;
}

void SessaoErp::Desliga()
{
    if (m_erp)
        m_erp->Fecha();
    m_erp.reset();
    m_ligada = false;
    m_bd = nullptr;
}

// ---- Supplier orders ----------------------------------------------------

namespace {
// The flags of the document kind an order to a supplier is: the quantities of
// its lines count as pending from suppliers until they are received.
constexpr int EncomendaAreag = 2, EncomendaTpoper = 1, EncomendaEntidade = 1, EncomendaNatconta = 0,
              EncomendaSinalct = 2;
constexpr int OperacaoCriar = 1;
constexpr int ComprimentoDescricao = 60;

QString linha(int n) { return QStringLiteral("Linha %1: ").arg(n); }
} // namespace

bool SessaoErp::recusaDocumento(long codigo, const QString &mensagem)
{
    m_codigo = codigo;
    m_mensagem = mensagem;
    return false;
}

bool SessaoErp::falhaBaseDados()
{
    return recusaDocumento(FalhaBaseDados, QStringLiteral("A encomenda não foi gravada no ERP por uma falha da base de dados: %1")
                                               .arg(m_erp->ultimoErro().texto()));
}

bool SessaoErp::GeraDocumento(int operacao, int modo, const QString &tipoDocumento, const QString &sector,
                              const QString &serie, const QString &terceiro, const QString &texto1, const QString &texto2,
                              const QString &data, const QString &texto3, const QString &armazem, int opcoes,
                              const QString &texto4, const QStringList &artigos, const QStringList &descricoes,
                              const QList<double> &quantidades, const QList<double> &precos,
                              const QStringList &textosLinha, RegistoDocumento &registo, int &numero)
{
    Q_UNUSED(modo)
    Q_UNUSED(texto2)
    Q_UNUSED(texto3)
    Q_UNUSED(texto4)
    Q_UNUSED(opcoes)
    numero = 0;
    if (!m_ligada || !m_erp)
        return recusaDocumento(SessaoDesligada, QStringLiteral("A sessão do ERP não está ligada: a encomenda não foi criada."));
    if (operacao != OperacaoCriar)
        return recusaDocumento(DocumentoInvalido, QStringLiteral("Operação %1 desconhecida do ERP: só cria documentos novos (1).").arg(operacao));

    const qsizetype n = artigos.size();
    if (n == 0)
        return recusaDocumento(DocumentoInvalido, QStringLiteral("A encomenda ao fornecedor %1 não tem linhas.").arg(terceiro.trimmed()));
    const auto incompletas = [&](const QString &contas) {
        return recusaDocumento(DocumentoInvalido, QStringLiteral("As linhas da encomenda ao fornecedor %1 não estão completas: %2.")
                                                      .arg(terceiro.trimmed(), contas));
    };
    if (quantidades.size() != n || precos.size() != n)
        return incompletas(QStringLiteral("%1 artigos, %2 quantidades e %3 preços").arg(n).arg(quantidades.size()).arg(precos.size()));
    if ((!descricoes.isEmpty() && descricoes.size() != n) || (!textosLinha.isEmpty() && textosLinha.size() != n))
        return incompletas(QStringLiteral("%1 artigos, %2 descrições e %3 textos").arg(n).arg(descricoes.size()).arg(textosLinha.size()));
    CabecalhoDocumento cab;
    cab.tipo = tipoDocumento.trimmed();
    cab.serie = serie.trimmed();
    cab.terceiro = terceiro.trimmed();
    cab.sector = sector.trimmed();
    cab.armazem = armazem.trimmed();
    cab.referencia = texto1.trimmed();
    const struct
    {
        const char *nome;
        const QString &valor;
        int maximo;
    } comprimentos[] = {{"O tipo de documento", cab.tipo, ComprimentoCodigoDocumento},
                        {"A série", cab.serie, ComprimentoCodigoDocumento},
                        {"O sector", cab.sector, ComprimentoCodigoDocumento},
                        {"O armazém", cab.armazem, ComprimentoCodigoDocumento},
                        {"A referência", cab.referencia, ComprimentoReferencia}};
    for (const auto &c : comprimentos)
        if (c.valor.size() > c.maximo)
            return recusaDocumento(DocumentoInvalido, QStringLiteral("%1 \"%2\" da encomenda tem %3 caracteres; o máximo é %4.")
                                                          .arg(QString::fromUtf8(c.nome), c.valor)
                                                          .arg(c.valor.size())
                                                          .arg(c.maximo));
    cab.data = Valores::leData(data.trimmed());
    if (!cab.data.isValid())
        return recusaDocumento(DocumentoInvalido, QStringLiteral("A data da encomenda \"%1\" não é uma data válida.").arg(data));

    QList<LinhaDocumento> linhas;
    for (qsizetype i = 0; i < n; ++i)
        linhas.append({artigos.at(i).trimmed(), descricoes.isEmpty() ? QString() : descricoes.at(i).trimmed(),
                       quantidades.at(i), precos.at(i)});

    // Everything is read and written inside one write transaction: the next
    // number read here is still free when the header is inserted, and a
    // refusal or failure at any step leaves nothing behind.
    Transaccao t(*m_erp);
    if (!t.iniciada())
        return falhaBaseDados();
    if (!confereDocumento(cab, linhas))
        return false;
    RegistoDocumento novo;
    if (!escreveDocumento(cab, linhas, novo))
        return false;
    if (!t.confirma())
        return falhaBaseDados();
    registo = novo;
    numero = novo.numero;
    m_codigo = Sucesso;
    m_mensagem.clear();
    return true;
}

bool SessaoErp::confereDocumento(CabecalhoDocumento &cab, QList<LinhaDocumento> &linhas)
{
    LigacaoBd &erp = *m_erp;
    Recordset rs;
    if (!erp.AbreConsulta(QStringLiteral("SELECT Codigo, Areag, tpoper, entidade, natconta, sinalct FROM Tpdoc WHERE Codigo = ?"),
                          rs, {cab.tipo}))
        return falhaBaseDados();
    if (rs.Eof())
        return recusaDocumento(TipoDesconhecido, QStringLiteral("O tipo de documento \"%1\" não existe no ERP.").arg(cab.tipo));
    cab.tipo = rs.Valor(0).toString();
    cab.areag = rs.Valor(1).toInt();
    cab.tpoper = rs.Valor(2).toInt();
    cab.tpTerc = rs.Valor(3).toInt();
    cab.natconta = rs.Valor(4).toInt();
    cab.sinalct = rs.Valor(5).toInt();
    if (cab.areag != EncomendaAreag || cab.tpoper != EncomendaTpoper || cab.tpTerc != EncomendaEntidade
        || cab.natconta != EncomendaNatconta || cab.sinalct != EncomendaSinalct)
        return recusaDocumento(TipoNaoEncomenda,
                               QStringLiteral("O tipo de documento %1 não é uma encomenda a fornecedor.").arg(cab.tipo));

    if (!erp.AbreConsulta(QStringLiteral("SELECT Serie FROM SeriesDoc WHERE Tpdoc = ? AND Serie = ?"), rs, {cab.tipo, cab.serie}))
        return falhaBaseDados();
    if (rs.Eof())
        return recusaDocumento(SerieDesconhecida,
                               QStringLiteral("A série \"%1\" não existe para o tipo de documento %2.").arg(cab.serie, cab.tipo));
    cab.serie = rs.Valor(0).toString();

    if (!erp.AbreConsulta(QStringLiteral("SELECT AnoInicio, AnoFim FROM Empresas WHERE Codigo = ?"), rs, {m_empresa}))
        return falhaBaseDados();
    const int ano = cab.data.year();
    if (rs.Eof() || ano < rs.Valor(0).toInt() || ano > rs.Valor(1).toInt())
        return recusaDocumento(AnoFechado, QStringLiteral("O ano %1 da encomenda não está aberto na empresa %2.").arg(ano).arg(m_empresa));

    if (!erp.AbreConsulta(QStringLiteral("SELECT Codigo FROM Fornec WHERE Codigo = ?"), rs, {cab.terceiro}))
        return falhaBaseDados();
    if (rs.Eof())
        return recusaDocumento(FornecedorDesconhecido, QStringLiteral("O fornecedor \"%1\" não existe no ERP.").arg(cab.terceiro));
    cab.terceiro = rs.Valor(0).toString();

    for (qsizetype i = 0; i < linhas.size(); ++i) {
        LinhaDocumento &l = linhas[i];
        const int numeroLinha = int(i) + 1;
        if (!erp.AbreConsulta(QStringLiteral("SELECT CODIGO, NOME, INACTIVO FROM Artigos WHERE CODIGO = ?"), rs, {l.artigo}))
            return falhaBaseDados();
        if (rs.Eof())
            return recusaDocumento(ArtigoDesconhecido,
                                   linha(numeroLinha) + QStringLiteral("o artigo \"%1\" não existe no ERP.").arg(l.artigo));
        l.artigo = rs.Valor(0).toString();
        if (rs.Valor(2).toInt() != 0)
            return recusaDocumento(ArtigoInactivo, linha(numeroLinha) + QStringLiteral("o artigo %1 está inactivo.").arg(l.artigo));
        if (!(l.quantidade > 0) || !std::isfinite(l.quantidade))
            return recusaDocumento(QuantidadeInvalida, linha(numeroLinha)
                                                           + QStringLiteral("a quantidade do artigo %1 tem de ser maior que zero (%2).")
                                                                 .arg(l.artigo, QString::number(l.quantidade)));
        if (!(l.preco >= 0) || !std::isfinite(l.preco))
            return recusaDocumento(PrecoInvalido, linha(numeroLinha)
                                                      + QStringLiteral("o preço do artigo %1 não pode ser negativo (%2).")
                                                            .arg(l.artigo, QString::number(l.preco)));
        if (l.descricao.isEmpty())
            l.descricao = rs.Valor(1).toString();
        l.descricao = l.descricao.left(ComprimentoDescricao);
    }
    return true;
}

bool SessaoErp::escreveDocumento(const CabecalhoDocumento &cab, const QList<LinhaDocumento> &linhas,
                                 RegistoDocumento &registo)
{
    LigacaoBd &erp = *m_erp;
    const int ano = cab.data.year();
    const QVariant maior = erp.valorUnico(QStringLiteral("SELECT MAX(nnumdoc) FROM %1 WHERE Tpdoc = ? AND serie = ? AND ano = ?")
                                              .arg(erp.dialecto().tabelaReservada(QStringLiteral("DOCGCCAB"))),
                                          {cab.tipo, cab.serie, ano});
    if (erp.ultimoErro().existe())
        return falhaBaseDados();
    const int numero = maior.isNull() ? 1 : maior.toInt() + 1;

    double total = 0;
    for (const LinhaDocumento &l : linhas)
        total += l.quantidade * l.preco;
    total = double(std::llround(total * 100)) / 100.0;

    if (!erp.Executa(QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, tpoper, "
                                    "natconta, sinalct, nvias, Armazem, Sector, Total, Referencia) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1, ?, ?, ?, ?)"),
                     {cab.tipo, cab.serie, ano, numero, cab.data, cab.terceiro, cab.tpTerc, cab.areag, cab.tpoper,
                      cab.natconta, cab.sinalct, cab.armazem, cab.sector, total,
                      cab.referencia.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(cab.referencia)}))
        return falhaBaseDados();
    for (qsizetype i = 0; i < linhas.size(); ++i) {
        const LinhaDocumento &l = linhas.at(i);
        if (!erp.Executa(QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Descricao, Quant, "
                                        "Prunit, Data, Linanu) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 0)"),
                         {cab.tipo, cab.serie, ano, numero, int(i) + 1, l.artigo, l.descricao, l.quantidade, l.preco,
                          cab.data}))
            return falhaBaseDados();
    }
    registo.tipo = cab.tipo;
    registo.serie = cab.serie;
    registo.ano = ano;
    registo.numero = numero;
    registo.linhas = int(linhas.size());
    registo.total = total;
    return true;
}
