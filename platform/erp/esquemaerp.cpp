#include "esquemaerp.h"
#include "ligacaobd.h"

#include <QSet>

namespace EsquemaErp {

namespace {
// The needs claimed by a generation under way, found at once however many
// needs there are.
const QString IndiceReservas = QStringLiteral("CREATE INDEX IF NOT EXISTS IX_mvk_Necessidades_Reserva ON mvk_Necessidades (Reserva)");
// The order that holds a claim of needs, found by the reference the claim
// wrote into its header.
const QString IndiceReferencia = QStringLiteral("CREATE INDEX IF NOT EXISTS IX_DOCGCCAB_Referencia ON DOCGCCAB (Referencia)");
} // namespace

QStringList tabelasErp()
{
    // The document tables are clustered on their keys (WITHOUT ROWID), as the
    // ERP's server keeps them: a document's lines lie together, and a header
    // is found by its key in one search.
    return {
        QStringLiteral("CREATE TABLE Empresas (Codigo varchar(10) COLLATE CODIGOERP NOT NULL PRIMARY KEY, "
                       "Nome varchar(60), AnoInicio integer NOT NULL, AnoFim integer NOT NULL)"),
        QStringLiteral("CREATE TABLE Utilizadores (Codigo varchar(20) COLLATE CODIGOERP NOT NULL PRIMARY KEY, "
                       "Nome varchar(60), Senha varchar(40) NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE TABLE Grupos (Cod varchar(4) COLLATE CODIGOERP NOT NULL PRIMARY KEY, Descr varchar(40))"),
        QStringLiteral("CREATE TABLE Familia (Grupo varchar(4) COLLATE CODIGOERP NOT NULL, Cod varchar(4) COLLATE CODIGOERP NOT NULL, "
                       "Descr varchar(40), PRIMARY KEY (Grupo, Cod))"),
        QStringLiteral("CREATE TABLE SUBFamil (Grupo varchar(4) COLLATE CODIGOERP NOT NULL, Familia varchar(4) COLLATE CODIGOERP NOT NULL, "
                       "Cod varchar(4) COLLATE CODIGOERP NOT NULL, Descr varchar(40), PRIMARY KEY (Grupo, Familia, Cod))"),
        QStringLiteral("CREATE TABLE Artigos (CODIGO varchar(15) COLLATE CODIGOERP NOT NULL PRIMARY KEY, NOME varchar(60) COLLATE CODIGOERP, "
                       "REFFORN varchar(20) COLLATE CODIGOERP, Grupo varchar(4) COLLATE CODIGOERP, Familia varchar(4) COLLATE CODIGOERP, "
                       "SubFamil varchar(4) COLLATE CODIGOERP, ULTPRCOM real NOT NULL DEFAULT 0, VLREXIST real NOT NULL DEFAULT 0, "
                       "STDISP real NOT NULL DEFAULT 0, TOTENCFO real NOT NULL DEFAULT 0, TotEnccl real NOT NULL DEFAULT 0, "
                       "PVPSIVA real NOT NULL DEFAULT 0, STMIN real NOT NULL DEFAULT 0, STMAX real NOT NULL DEFAULT 0, "
                       "INACTIVO integer NOT NULL DEFAULT 0, ARTOUDES integer NOT NULL DEFAULT 0, OBSERV varchar(255), BLNOTAS text)"),
        QStringLiteral("CREATE TABLE Fornec (Codigo varchar(15) COLLATE CODIGOERP NOT NULL PRIMARY KEY, Nome varchar(60) COLLATE CODIGOERP, "
                       "Telef varchar(20), Morada varchar(60), Localidade varchar(40), NumContrib varchar(12))"),
        QStringLiteral("CREATE TABLE Clientes (Codigo varchar(15) COLLATE CODIGOERP NOT NULL PRIMARY KEY, Nome varchar(60) COLLATE CODIGOERP, "
                       "Telef varchar(20), Morada varchar(60), Localidade varchar(40), NumContrib varchar(12))"),
        QStringLiteral("CREATE TABLE Tpdoc (Codigo varchar(5) COLLATE CODIGOERP NOT NULL PRIMARY KEY, Descr varchar(40), "
                       "Areag integer NOT NULL, tpoper integer NOT NULL, entidade integer NOT NULL, natconta integer NOT NULL, "
                       "sinalct integer NOT NULL)"),
        QStringLiteral("CREATE TABLE DOCGCCAB (Tpdoc varchar(5) COLLATE CODIGOERP NOT NULL, serie varchar(5) COLLATE CODIGOERP NOT NULL, "
                       "ano integer NOT NULL, nnumdoc integer NOT NULL, Data datetime NOT NULL, Terceiro varchar(15) COLLATE CODIGOERP, "
                       "TpTerc integer NOT NULL, Areag integer NOT NULL, tpoper integer NOT NULL, natconta integer NOT NULL, "
                       "sinalct integer NOT NULL, nvias integer NOT NULL DEFAULT 1, Armazem varchar(5), Sector varchar(5), "
                       "Total real NOT NULL DEFAULT 0, Referencia varchar(40), PRIMARY KEY (Tpdoc, serie, ano, nnumdoc)) WITHOUT ROWID"),
        QStringLiteral("CREATE TABLE docgclin (Tpdocum varchar(5) COLLATE CODIGOERP NOT NULL, serie varchar(5) COLLATE CODIGOERP NOT NULL, "
                       "Ano integer NOT NULL, nnumdoc integer NOT NULL, NumLinha integer NOT NULL, Artigo varchar(15) COLLATE CODIGOERP, "
                       "Descricao varchar(60), Quant real NOT NULL DEFAULT 0, Prunit real NOT NULL DEFAULT 0, Data datetime, "
                       "Linanu integer NOT NULL DEFAULT 0, PRIMARY KEY (Tpdocum, serie, Ano, nnumdoc, NumLinha)) WITHOUT ROWID"),
        // An article's lines of one document type, with what the rupture
        // analysis and the price windows read of them: they are answered from
        // the index alone. With the table clustered, the index also carries
        // the line's key (type, series, year, number, line), which leads to
        // the document's header.
        QStringLiteral("CREATE INDEX IX_docgclin_Artigo ON docgclin (Artigo, Tpdocum, Linanu, Data, Quant, Prunit)"),
        QStringLiteral("CREATE INDEX IX_DOCGCCAB_Terceiro ON DOCGCCAB (Terceiro)"),
        IndiceReferencia,
        QStringLiteral("CREATE TABLE AjudaCmp (Artigo varchar(15) COLLATE CODIGOERP NOT NULL, Forneced varchar(15) COLLATE CODIGOERP NOT NULL, "
                       "RefArt varchar(20) COLLATE CODIGOERP NOT NULL DEFAULT '', Data datetime, PrUltFor real NOT NULL DEFAULT 0, "
                       "EncUltCp real NOT NULL DEFAULT 0, Desconto real NOT NULL DEFAULT 0, Qtd real NOT NULL DEFAULT 1, "
                       "Moeda varchar(5) NOT NULL DEFAULT 'EUR', DataPart datetime, PrProx real NOT NULL DEFAULT 0, "
                       "DescProx varchar(20) NOT NULL DEFAULT '', CustAd1 varchar(20) NOT NULL DEFAULT '', "
                       "CustAd2 varchar(20) NOT NULL DEFAULT '', CustAd3 varchar(20) NOT NULL DEFAULT '', "
                       "CustAd4 varchar(20) NOT NULL DEFAULT '', CustAd5 varchar(20) NOT NULL DEFAULT '', "
                       "PrazoEnt integer NOT NULL DEFAULT 0, Descr varchar(60) NOT NULL DEFAULT '', PRIMARY KEY (Artigo, Forneced))"),
        QStringLiteral("CREATE TABLE CLART (Codigo varchar(15) COLLATE CODIGOERP NOT NULL PRIMARY KEY, CL01 varchar(25), CL02 varchar(25), "
                       "CL03 varchar(25), CL04 varchar(25), CL05 varchar(25))"),
        // The series each document type may be numbered in.
        QStringLiteral("CREATE TABLE SeriesDoc (Tpdoc varchar(5) COLLATE CODIGOERP NOT NULL, Serie varchar(5) COLLATE CODIGOERP NOT NULL, "
                       "Descr varchar(40), PRIMARY KEY (Tpdoc, Serie))"),
    };
}

QStringList tabelasProprias()
{
    const QStringList primeiras{
        QStringLiteral("CREATE TABLE mvk_Precos_Forn (Id_Preco INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Fornecedor varchar(15) COLLATE CODIGOERP NOT NULL, Artigo varchar(15) COLLATE CODIGOERP NOT NULL, "
                       "Data datetime, Preco real NOT NULL DEFAULT 0, RefForn varchar(20) NOT NULL DEFAULT '', Obs varchar(200))"),
        // In the order the price windows load them (entity, article, newest
        // first, then the record number the index ends with): read without a sort.
        QStringLiteral("CREATE INDEX IX_mvk_Precos_Forn_Par ON mvk_Precos_Forn (Fornecedor, Artigo, Data DESC)"),
        QStringLiteral("CREATE INDEX IX_mvk_Precos_Forn_Artigo ON mvk_Precos_Forn (Artigo, Preco)"),
        QStringLiteral("CREATE TABLE mvk_Precos_Clientes (Id_Preco INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Cliente varchar(15) COLLATE CODIGOERP NOT NULL, Artigo varchar(15) COLLATE CODIGOERP NOT NULL, "
                       "Data datetime, Preco real NOT NULL DEFAULT 0, Obs varchar(200))"),
        QStringLiteral("CREATE INDEX IX_mvk_Precos_Clientes_Par ON mvk_Precos_Clientes (Cliente, Artigo, Data DESC)"),
        QStringLiteral("CREATE TABLE mvk_Necessidades (Id INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Artigo varchar(15) COLLATE CODIGOERP NOT NULL, RefArt varchar(20) COLLATE CODIGOERP, Qtd real NOT NULL DEFAULT 0, "
                       "Fornec varchar(15) COLLATE CODIGOERP, PrUnit real NOT NULL DEFAULT 0, DataPedido datetime, "
                       "Processado integer NOT NULL DEFAULT 0, ")
            + colunasReserva().join(QStringLiteral(", ")) + QLatin1Char(')'),
        QStringLiteral("CREATE INDEX IX_mvk_Necessidades_Pendentes ON mvk_Necessidades (Processado, Artigo)"),
        IndiceReservas,
    };
    return primeiras + tabelasAcrescentadas();
}

QStringList tabelasAcrescentadas()
{
    return {
        // The previous values of every price changed or deleted through the
        // price windows; Tabela names the price table the record was in.
        QStringLiteral("CREATE TABLE IF NOT EXISTS mvk_Precos_Historico (Id_Historico INTEGER PRIMARY KEY AUTOINCREMENT, "
                       "Tabela varchar(30) NOT NULL, Entidade varchar(15) COLLATE CODIGOERP NOT NULL, "
                       "Artigo varchar(15) COLLATE CODIGOERP NOT NULL, Id_Preco integer NOT NULL, Data datetime, "
                       "Preco real NOT NULL DEFAULT 0, RefForn varchar(20), Obs varchar(200), Operacao varchar(10) NOT NULL, "
                       "AlteradoEm datetime NOT NULL, Utilizador varchar(50) NOT NULL DEFAULT '')"),
        // A pair's history, newest first, without a sort.
        QStringLiteral("CREATE INDEX IF NOT EXISTS IX_mvk_Precos_Historico_Par "
                       "ON mvk_Precos_Historico (Tabela, Entidade, Artigo, AlteradoEm DESC, Id_Historico DESC)"),
    };
}

QStringList colunasReserva()
{
    return {
        QStringLiteral("Versao integer NOT NULL DEFAULT 0"),
        QStringLiteral("Reserva varchar(40)"),
        QStringLiteral("ReservaDono varchar(120)"),
        QStringLiteral("ReservaData datetime"),
        QStringLiteral("EncTpdoc varchar(5)"),
        QStringLiteral("EncSerie varchar(5)"),
        QStringLiteral("EncAno integer"),
        QStringLiteral("EncNumero integer"),
    };
}

namespace {
// The columns a table has, by lower-case name (SQLite).
QSet<QString> colunas(LigacaoBd &bd, const QString &tabela, bool *ok)
{
    QSet<QString> nomes;
    Recordset rs;
    // SQLite's own catalogue: a statement the server never gets.
    *ok = bd.AbreConsulta(bd.dialecto().conforme(QString(), QStringLiteral("SELECT name FROM pragma_table_info(?)")), rs, {tabela});
    for (; *ok && !rs.Eof(); rs.MoveNext())
        nomes.insert(rs.Valor(0).toString().toLower());
    return nomes;
}

// Adds to an existing table the columns it lacks; a table that does not
// exist is left alone.
bool acrescenta(LigacaoBd &bd, const QString &tabela, const QStringList &definicoes)
{
    bool ok = false;
    const QSet<QString> tem = colunas(bd, tabela, &ok);
    if (!ok)
        return false;
    if (tem.isEmpty())
        return true;
    for (const QString &d : definicoes)
        if (!tem.contains(d.section(QLatin1Char(' '), 0, 0).toLower())
            && !bd.Executa(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(tabela, d)))
            return false;
    return true;
}
} // namespace

bool actualiza(LigacaoBd &bd)
{
    // The server gets them from sqlserver/tabelas_proprias.sql, run by its
    // administrator.
    if (bd.dialecto().motor() != Dialecto::SQLite)
        return true;
    bool ok = false;
    const QSet<QString> necessidades = colunas(bd, QStringLiteral("mvk_Necessidades"), &ok);
    if (!ok)
        return false;
    bool ok2 = false;
    const QSet<QString> cabecalhos = colunas(bd, QStringLiteral("DOCGCCAB"), &ok2);
    if (!ok2)
        return false;
    const bool faltaNecessidades = !necessidades.isEmpty() && !necessidades.contains(QStringLiteral("encnumero"));
    const bool faltaCabecalhos = !cabecalhos.isEmpty() && !cabecalhos.contains(QStringLiteral("referencia"));
    const bool faltaHistorico = !bd.existeTabela(QStringLiteral("mvk_Precos_Historico"));
    if (!faltaNecessidades && !faltaCabecalhos && !faltaHistorico)
        return true;
    // A file that can only be read keeps its price windows without the
    // history (their saves fail anyway, and say why); the claim columns it
    // lacks are reported, since no generation is safe without them.
    if (bd.soLeitura() && !faltaNecessidades && !faltaCabecalhos)
        return true;
    // Another program may upgrade the same file at the same moment: the
    // columns are looked at again inside the write transaction, and the
    // added tables are created only where they are not there yet.
    Transaccao t(bd);
    if (!t.iniciada() || !acrescenta(bd, QStringLiteral("mvk_Necessidades"), colunasReserva())
        || !acrescenta(bd, QStringLiteral("DOCGCCAB"), {QStringLiteral("Referencia varchar(40)")}))
        return false;
    if (!necessidades.isEmpty() && !bd.Executa(IndiceReservas))
        return false;
    if (!cabecalhos.isEmpty() && !bd.Executa(IndiceReferencia))
        return false;
    for (const QString &sql : tabelasAcrescentadas())
        if (!bd.Executa(sql))
            return false;
    return t.confirma();
}

bool cria(LigacaoBd &bd)
{
    Transaccao t(bd);
    if (!t.iniciada())
        return false;
    for (const QString &sql : tabelasErp() + tabelasProprias())
        if (!bd.Executa(sql))
            return false;
    return t.confirma();
}

} // namespace EsquemaErp
