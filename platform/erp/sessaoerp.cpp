#include "sessaoerp.h"
#include "cadeialigacao.h"

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
        return recusa(1, QStringLiteral("Faltam parâmetros de ligação ao ERP (empresa, utilizador, exercício e base de dados)."));

    CadeiaLigacao cadeia;
    if (baseErp.startsWith(QLatin1String("ODBC:"), Qt::CaseInsensitive)) {
        cadeia.Servidor = baseErp;
    } else {
        cadeia.Servidor = QStringLiteral("SQLITE");
        cadeia.BaseDados = baseErp;
    }
    m_erp = std::make_unique<LigacaoBd>();
    if (!m_erp->Abre(cadeia.Texto()))
        return recusa(2, QStringLiteral("Base de dados do ERP inacessível: %1").arg(m_erp->ultimoErro().descricao));

    Recordset rs;
    if (!m_erp->AbreConsulta(QStringLiteral("SELECT Codigo, AnoInicio, AnoFim FROM Empresas WHERE Codigo = ?"), rs, {empresa.trimmed()}))
        return recusa(3, QStringLiteral("A base de dados %1 não é uma base de dados do ERP (%2).")
                             .arg(m_erp->destino(), m_erp->ultimoErro().descricao));
    if (rs.Eof())
        return recusa(4, QStringLiteral("A empresa %1 não existe no ERP.").arg(empresa.trimmed()));
    bool anoOk = false;
    const int ano = exercicio.trimmed().toInt(&anoOk);
    if (!anoOk || ano < rs.Valor(1).toInt() || ano > rs.Valor(2).toInt())
        return recusa(5, QStringLiteral("O exercício %1 não existe na empresa %2.").arg(exercicio.trimmed(), empresa.trimmed()));

    if (!m_erp->AbreConsulta(QStringLiteral("SELECT Senha FROM Utilizadores WHERE Codigo = ?"), rs, {utilizador.trimmed()}))
        return recusa(3, m_erp->ultimoErro().descricao);
    if (rs.Eof() || rs.Valor(0).toString() != senha)
        return recusa(6, QStringLiteral("Utilizador ou senha do ERP inválidos."));

    m_empresa = empresa.trimmed();
    m_utilizador = utilizador.trimmed();
    m_exercicio = ano;
    m_ligada = true;
    m_codigo = -1;
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
