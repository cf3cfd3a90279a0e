#include "basedadossql.h"
#include "basesqlite.h"
#include "esquemaerp.h"
#include "mensagensgravadas.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The SQL Server script of the program's own tables
// (platform/erp/sqlserver/tabelas_proprias.sql) against the schema the
// program makes on SQLite: every own table, column and index the program
// creates is created by the script, every ERP column the embedded ERP has
// (what the windows read) is in the script's check, and every creation in
// the script is guarded so that it runs twice without error.
class TstTabelasProprias : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cadaColunaEstaNoScript_data();
    void cadaColunaEstaNoScript();
    void cadaIndiceProprioEstaNoScript();
    void cadaCriacaoTemGuarda();

private:
    // The CREATE TABLE of the script for a table, up to its GO.
    QString criacao(const QString &tabela) const;

    QTemporaryDir m_pasta;
    LigacaoBd m_bd;
    MensagensGravadas m_mensagens;
    QString m_script;
};

void TstTabelasProprias::initTestCase()
{
    QFile f(QStringLiteral(TESSELA_SCRIPT_SQLSERVER));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
    m_script = QString::fromUtf8(f.readAll());
    m_mensagens.instala();
    VERIFICA_BD(m_bd, BaseSqlite::criaVazia(m_bd, m_pasta.filePath(QStringLiteral("esquema.db"))));
    VERIFICA_BD(m_bd, EsquemaErp::cria(m_bd));
    BaseDadosSql equivalencias;
    equivalencias.setBd(&m_bd);
    QVERIFY(equivalencias.VerificaBaseDeDados());
}

QString TstTabelasProprias::criacao(const QString &tabela) const
{
    const QRegularExpression re(QStringLiteral("CREATE TABLE dbo\\.%1 \\((.*?)\\n\\)").arg(QRegularExpression::escape(tabela)),
                                QRegularExpression::DotMatchesEverythingOption);
    return re.match(m_script).captured(1);
}

void TstTabelasProprias::cadaColunaEstaNoScript_data()
{
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QString>("coluna");
    Recordset tabelas;
    QVERIFY(m_bd.AbreConsulta(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                             "AND name NOT LIKE 'sqlite%' ORDER BY name"),
                              tabelas));
    for (; !tabelas.Eof(); tabelas.MoveNext()) {
        const QString tabela = tabelas.Valor(0).toString();
        Recordset colunas;
        QVERIFY(m_bd.AbreConsulta(QStringLiteral("SELECT name FROM pragma_table_info(?)"), colunas, {tabela}));
        for (; !colunas.Eof(); colunas.MoveNext()) {
            const QString coluna = colunas.Valor(0).toString();
            QTest::addRow("%s.%s", qPrintable(tabela), qPrintable(coluna)) << tabela << coluna;
        }
    }
}

void TstTabelasProprias::cadaColunaEstaNoScript()
{
    QFETCH(QString, tabela);
    QFETCH(QString, coluna);
    if (!tabela.startsWith(QLatin1String("mvk_"))) {
        // An ERP table: the script only checks that the column is there.
        QVERIFY2(m_script.contains(QStringLiteral("(N'%1', N'%2')").arg(tabela, coluna)),
                 qPrintable(QStringLiteral("a verificação do ERP não inclui %1.%2").arg(tabela, coluna)));
        return;
    }
    const QString bloco = criacao(tabela);
    QVERIFY2(!bloco.isEmpty(), qPrintable(QStringLiteral("o script não cria dbo.%1").arg(tabela)));
    const bool naCriacao = QRegularExpression(QStringLiteral("^\\s+%1\\s").arg(coluna), QRegularExpression::MultilineOption)
                               .match(bloco)
                               .hasMatch();
    const QString guarda = QStringLiteral("IF COL_LENGTH(N'dbo.%1', N'%2') IS NULL\n    ALTER TABLE dbo.%1 ADD %2 ").arg(tabela, coluna);
    QVERIFY2(naCriacao || m_script.contains(guarda),
             qPrintable(QStringLiteral("o script não cria a coluna %1.%2").arg(tabela, coluna)));
    // A code column compares as the ERP's codes do.
    const QString tipo = m_bd.valorUnico(QStringLiteral("SELECT type FROM pragma_table_info(?) WHERE name = ?"), {tabela, coluna})
                             .toString();
    Recordset sql;
    QVERIFY(m_bd.AbreConsulta(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = ?"), sql, {tabela}));
    const bool codigo = QRegularExpression(QStringLiteral("\\b%1 varchar\\(\\d+\\) COLLATE CODIGOERP").arg(coluna))
                            .match(sql.Valor(0).toString())
                            .hasMatch();
    if (codigo) {
        const QRegularExpression declarada(QStringLiteral("\\b%1\\s+nvarchar\\(\\d+\\) COLLATE DATABASE_DEFAULT").arg(coluna));
        const QString onde = naCriacao ? bloco : m_script.mid(m_script.indexOf(guarda), guarda.size() + 60);
        QVERIFY2(declarada.match(onde).hasMatch(),
                 qPrintable(QStringLiteral("%1.%2 (%3) não tem a colação dos códigos no script").arg(tabela, coluna, tipo)));
    }
}

void TstTabelasProprias::cadaIndiceProprioEstaNoScript()
{
    Recordset indices;
    QVERIFY(m_bd.AbreConsulta(QStringLiteral("SELECT name, tbl_name FROM sqlite_master WHERE type = 'index' "
                                             "AND tbl_name LIKE 'mvk%' AND sql IS NOT NULL"),
                              indices));
    QVERIFY(indices.RecordCount() >= 4);
    for (; !indices.Eof(); indices.MoveNext()) {
        const QString nome = indices.Valor(0).toString(), tabela = indices.Valor(1).toString();
        QVERIFY2(m_script.contains(QStringLiteral("CREATE INDEX %1 ON dbo.%2 (").arg(nome, tabela)), qPrintable(nome));
    }
    QVERIFY(m_script.contains(QStringLiteral("CREATE VIEW dbo.mvk_view_JuntaCodigoArtigos")));
}

void TstTabelasProprias::cadaCriacaoTemGuarda()
{
    // Each creating statement sits right under the guard that skips it when
    // its object exists: the script runs twice without error.
    const QStringList linhas = m_script.split(QLatin1Char('\n'));
    int criacoes = 0;
    for (int i = 1; i < linhas.size(); ++i) {
        const QString linha = linhas.at(i).trimmed(), antes = linhas.at(i - 1).trimmed();
        if (linha.startsWith(QLatin1String("CREATE TABLE"))) {
            ++criacoes;
            QVERIFY2(antes.startsWith(QLatin1String("IF OBJECT_ID(N'dbo.")) && antes.endsWith(QLatin1String("'U') IS NULL")),
                     qPrintable(linha));
        } else if (linha.startsWith(QLatin1String("CREATE INDEX"))) {
            ++criacoes;
            QVERIFY2(linhas.at(i - 1).startsWith(QLatin1String("IF NOT EXISTS (SELECT * FROM sys.indexes"))
                         || linhas.at(i - 2).startsWith(QLatin1String("IF NOT EXISTS (SELECT * FROM sys.indexes")),
                     qPrintable(linha));
        } else if (linha.startsWith(QLatin1String("ALTER TABLE"))) {
            ++criacoes;
            QVERIFY2(antes.startsWith(QLatin1String("IF COL_LENGTH(")) && antes.endsWith(QLatin1String("IS NULL")), qPrintable(linha));
        }
    }
    QVERIFY(criacoes >= 20);
}

QTEST_GUILESS_MAIN(TstTabelasProprias)
#include "tst_tabelasproprias.moc"
