#include "basedadossql.h"
#include "contagemobjectos.h"
#include "ligacaobd.h"
#include "servicomensagens.h"

#include <QStringList>

namespace {
const QString probe = QStringLiteral("SELECT ArtigoPai, ArtigoEquivalente From mvk_equivalencias "
                                     "WHERE (ArtigoPai = ?) AND (ArtigoEquivalente = ?)");

// The creation, statement by statement: the server's text as the original
// installation ran it, one batch each (CREATE VIEW must start its batch),
// beside SQLite's. The SET statements have no SQLite counterpart.
QStringList instrucoes(const Dialecto &d)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString indice = d.criaIndiceSeNaoExiste(QStringLiteral("IX_mvk_equivalencias_Equivalente"),
                                                   QStringLiteral("mvk_equivalencias"), QStringLiteral("ArtigoEquivalente"));
    const QString nenhuma;
    // Both SQLite tables are clustered on their keys (WITHOUT ROWID), as on
    // the server: one B-tree a table instead of a row table plus a key index,
    // which saves a third of the work of every write.
    return {
        d.conforme(QStringLiteral("SET ANSI_NULLS ON"), nenhuma),
        d.conforme(QStringLiteral("SET QUOTED_IDENTIFIER ON"), nenhuma),
        d.conforme(QStringLiteral("CREATE TABLE [mvk_AcessoRapido](") + crlf
                       + QStringLiteral(" [CodigoArtigo] [nvarchar](25) NOT NULL, CONSTRAINT [PK_mvk_AcessoRapido] PRIMARY KEY CLUSTERED"
                                        " ( [CodigoArtigo] Asc ) ON [PRIMARY] ) ON [PRIMARY]"),
                   QStringLiteral("CREATE TABLE mvk_AcessoRapido (CodigoArtigo varchar(25) COLLATE CODIGOERP NOT NULL, "
                                  "CONSTRAINT PK_mvk_AcessoRapido PRIMARY KEY (CodigoArtigo)) WITHOUT ROWID")),
        d.conforme(QStringLiteral("SET ANSI_NULLS ON"), nenhuma),
        d.conforme(QStringLiteral(" SET QUOTED_IDENTIFIER ON"), nenhuma),
        d.conforme(QStringLiteral("CREATE TABLE [mvk_equivalencias](") + crlf + QStringLiteral(" [ArtigoPai] [nvarchar](15) NOT NULL,") + crlf
                       + QStringLiteral(" [ArtigoEquivalente] [nvarchar](25) NOT NULL,") + crlf
                       + QStringLiteral(" CONSTRAINT [PK_mvk_equivalencias] PRIMARY KEY CLUSTERED") + crlf + QStringLiteral(" (") + crlf
                       + QStringLiteral(" [ArtigoPai] ASC,") + crlf + QStringLiteral(" [ArtigoEquivalente] Asc") + crlf
                       + QStringLiteral(" ) ON [PRIMARY]") + crlf + QStringLiteral(" ) ON [PRIMARY]") + crlf,
                   QStringLiteral("CREATE TABLE mvk_equivalencias (ArtigoPai varchar(15) COLLATE CODIGOERP NOT NULL, "
                                  "ArtigoEquivalente varchar(25) COLLATE CODIGOERP NOT NULL, "
                                  "CONSTRAINT PK_mvk_equivalencias PRIMARY KEY (ArtigoPai, ArtigoEquivalente)) WITHOUT ROWID")),
        indice,
        d.conforme(QStringLiteral(" SET ANSI_NULLS ON"), nenhuma),
        d.conforme(QStringLiteral("SET QUOTED_IDENTIFIER ON"), nenhuma),
        d.conforme(QStringLiteral("CREATE VIEW [mvk_view_JuntaCodigoArtigos]") + crlf + QStringLiteral(" AS") + crlf
                       + QStringLiteral(" SELECT     CodigoArtigo AS Codigo") + crlf + QStringLiteral(" From dbo.mvk_AcessoRapido") + crlf
                       + QStringLiteral(" Union") + crlf + QStringLiteral(" SELECT     CODIGO ") + crlf + QStringLiteral(" From dbo.Artigos") + crlf
                       + QStringLiteral(" WHERE     (CODIGO > N'') AND (INACTIVO = 0)"),
                   QStringLiteral("CREATE VIEW mvk_view_JuntaCodigoArtigos AS SELECT CodigoArtigo AS Codigo FROM mvk_AcessoRapido "
                                  "UNION SELECT CODIGO FROM Artigos WHERE (CODIGO > '') AND (INACTIVO = 0)")),
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
        if (!sql.isEmpty() && !m_bd->Executa(sql))
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
