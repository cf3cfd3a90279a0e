#include "basedadossql.h"
#include "contagemobjectos.h"
#include "ligacaobd.h"
#include "servicomensagens.h"

#include <QStringList>

namespace {
const QString probe = QStringLiteral("SELECT ArtigoPai, ArtigoEquivalente From mvk_equivalencias "
                                     "WHERE (ArtigoPai = ?) AND (ArtigoEquivalente = ?)");

QStringList instrucoes(const Dialecto &d)
{
    if (d.motor() == Dialecto::SqlServer)
        return {
            QStringLiteral("SET ANSI_NULLS ON"),
            QStringLiteral("SET QUOTED_IDENTIFIER ON"),
            QStringLiteral("CREATE TABLE [mvk_AcessoRapido](\r\n [CodigoArtigo] [nvarchar](25) NOT NULL, "
                           "CONSTRAINT [PK_mvk_AcessoRapido] PRIMARY KEY CLUSTERED ( [CodigoArtigo] Asc ) ON [PRIMARY] ) ON [PRIMARY]"),
            QStringLiteral("CREATE TABLE [mvk_equivalencias](\r\n [ArtigoPai] [nvarchar](15) NOT NULL,\r\n"
                           " [ArtigoEquivalente] [nvarchar](25) NOT NULL,\r\n"
                           " CONSTRAINT [PK_mvk_equivalencias] PRIMARY KEY CLUSTERED\r\n (\r\n [ArtigoPai] ASC,\r\n"
                           " [ArtigoEquivalente] Asc\r\n ) ON [PRIMARY]\r\n ) ON [PRIMARY]\r\n"),
            d.criaIndiceSeNaoExiste(QStringLiteral("IX_mvk_equivalencias_Equivalente"), QStringLiteral("mvk_equivalencias"),
                                    QStringLiteral("ArtigoEquivalente")),
            QStringLiteral("CREATE VIEW [mvk_view_JuntaCodigoArtigos]\r\n AS\r\n SELECT     CodigoArtigo AS Codigo\r\n"
                           " From dbo.mvk_AcessoRapido\r\n Union\r\n SELECT     CODIGO \r\n From dbo.Artigos\r\n"
                           " WHERE     (CODIGO > N'') AND (INACTIVO = 0)"),
        };
    return {
        QStringLiteral("CREATE TABLE mvk_AcessoRapido (CodigoArtigo varchar(25) COLLATE NOCASE NOT NULL, "
                       "CONSTRAINT PK_mvk_AcessoRapido PRIMARY KEY (CodigoArtigo))"),
        QStringLiteral("CREATE TABLE mvk_equivalencias (ArtigoPai varchar(15) COLLATE NOCASE NOT NULL, "
                       "ArtigoEquivalente varchar(25) COLLATE NOCASE NOT NULL, "
                       "CONSTRAINT PK_mvk_equivalencias PRIMARY KEY (ArtigoPai, ArtigoEquivalente))"),
        d.criaIndiceSeNaoExiste(QStringLiteral("IX_mvk_equivalencias_Equivalente"), QStringLiteral("mvk_equivalencias"),
                                QStringLiteral("ArtigoEquivalente")),
        QStringLiteral("CREATE VIEW mvk_view_JuntaCodigoArtigos AS SELECT CodigoArtigo AS Codigo FROM mvk_AcessoRapido "
                       "UNION SELECT CODIGO FROM Artigos WHERE (CODIGO > '') AND (INACTIVO = 0)"),
    };
}
} // namespace

BaseDadosSql::BaseDadosSql() { ContagemObjectos::nasce(); }
BaseDadosSql::~BaseDadosSql() { ContagemObjectos::morre(); }

void BaseDadosSql::reportaErro(const char *funcao)
{
    PedidoMensagem p;
    p.titulo = QStringLiteral("TesselaDados2016");
    p.icone = PedidoMensagem::Critico;
    p.texto = m_bd->ultimoErro().texto() + QStringLiteral("\r\nNa função %1 do Módulo de classe BaseDados").arg(QLatin1String(funcao));
    ServicoMensagens::actual().mostra(p);
}

bool BaseDadosSql::CriarTabelas()
{
    if (!m_bd)
        return false;
    Transaccao t(*m_bd);
    if (!t.iniciada())
        return false;
    for (const QString &sql : instrucoes(m_bd->dialecto()))
        if (!m_bd->Executa(sql))
            return false;   // the guard rolls everything back
    return t.confirma();
}

bool BaseDadosSql::garanteIndice()
{
    return m_bd->Executa(m_bd->dialecto().criaIndiceSeNaoExiste(
        QStringLiteral("IX_mvk_equivalencias_Equivalente"), QStringLiteral("mvk_equivalencias"), QStringLiteral("ArtigoEquivalente")));
}

bool BaseDadosSql::VerificaBaseDeDados()
{
    if (!m_bd)
        return false;
    Recordset rs;
    const QVariantList valores{QStringLiteral("morvik"), QStringLiteral("sage")};
    if (m_bd->AbreConsulta(probe, rs, valores)) {
        rs.Close();
        if (!garanteIndice())
            reportaErro("VerificaBaseDeDados");
        return false;
    }
    if (m_bd->ultimoErro().numero != ErroBd::TabelaInexistente) {
        reportaErro("VerificaBaseDeDados");
        return false;
    }
    if (CriarTabelas())
        return true;
    // Another program may have created the tables between our probe and our
    // CREATE: then the schema is installed and there is nothing to report.
    const ErroBd falha = m_bd->ultimoErro();
    if (m_bd->AbreConsulta(probe, rs, valores))
        return false;
    if (falha.existe()) {
        PedidoMensagem p;
        p.titulo = QStringLiteral("TesselaDados2016");
        p.icone = PedidoMensagem::Critico;
        p.texto = falha.texto() + QStringLiteral("\r\nNa função CriarTabelas do Módulo de classe BaseDados");
        ServicoMensagens::actual().mostra(p);
    }
    return false;
}
