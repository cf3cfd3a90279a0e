-- Tessela's own tables in the ERP's SQL Server database, and a check of the
-- ERP's tables and columns the program reads and writes.
--
-- Run it in the ERP's database as a user who may create tables (docs/sqlserver.md):
--     sqlcmd -S servidor -d BASE_ERP -U administrador -i tabelas_proprias.sql
-- It may run any number of times: what exists is left as it is, a column
-- missing from a table made by an earlier version is added.
--
-- Code columns (articles, suppliers, customers, equivalent codes) compare as
-- the ERP's own codes: COLLATE DATABASE_DEFAULT, which must be the collation
-- of the ERP's dbo.Artigos.CODIGO (case-insensitive and accent-sensitive, such
-- as Latin1_General_CI_AS). The program joins its tables to the ERP's on these
-- columns; two collations there would fail every such statement. The first
-- batch stops the script when they differ.
SET ANSI_NULLS ON
GO
SET QUOTED_IDENTIFIER ON
GO
SET NOEXEC OFF
GO
-- The collation of the code columns.
DECLARE @codigos sysname = (SELECT collation_name FROM sys.columns
                            WHERE object_id = OBJECT_ID(N'dbo.Artigos') AND name = N'CODIGO');
DECLARE @base sysname = CONVERT(sysname, DATABASEPROPERTYEX(DB_NAME(), 'Collation'));
IF @codigos IS NOT NULL AND @codigos <> @base
BEGIN
    RAISERROR(N'A colação de dbo.Artigos.CODIGO (%s) não é a da base de dados (%s): as colunas de códigos das tabelas do Tessela têm de ser iguais às do ERP. Nada foi criado.', 16, 1, @codigos, @base);
    SET NOEXEC ON;
END
ELSE IF COLLATIONPROPERTY(@base, 'ComparisonStyle') & 3 <> 1
    PRINT N'Aviso: a colação ' + @base + N' não distingue acentos ou distingue maiúsculas; o Tessela compara os códigos como o servidor.';
GO

-- Equivalences of article codes (the program also creates these three
-- objects on its first start when they are missing).
IF OBJECT_ID(N'dbo.mvk_AcessoRapido', N'U') IS NULL
CREATE TABLE dbo.mvk_AcessoRapido (
    CodigoArtigo nvarchar(25) COLLATE DATABASE_DEFAULT NOT NULL,
    CONSTRAINT PK_mvk_AcessoRapido PRIMARY KEY CLUSTERED (CodigoArtigo ASC)
) ON [PRIMARY]
GO
IF OBJECT_ID(N'dbo.mvk_equivalencias', N'U') IS NULL
CREATE TABLE dbo.mvk_equivalencias (
    ArtigoPai         nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL,
    ArtigoEquivalente nvarchar(25) COLLATE DATABASE_DEFAULT NOT NULL,
    CONSTRAINT PK_mvk_equivalencias PRIMARY KEY CLUSTERED (ArtigoPai ASC, ArtigoEquivalente ASC)
) ON [PRIMARY]
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_equivalencias_Equivalente'
               AND object_id = OBJECT_ID(N'dbo.mvk_equivalencias'))
CREATE INDEX IX_mvk_equivalencias_Equivalente ON dbo.mvk_equivalencias (ArtigoEquivalente)
GO
IF OBJECT_ID(N'dbo.mvk_view_JuntaCodigoArtigos', N'V') IS NULL
EXEC (N'CREATE VIEW dbo.mvk_view_JuntaCodigoArtigos AS
SELECT CodigoArtigo AS Codigo FROM dbo.mvk_AcessoRapido
UNION
SELECT CODIGO FROM dbo.Artigos WHERE (CODIGO > N'''') AND (INACTIVO = 0)')
GO

-- Supplier prices.
IF OBJECT_ID(N'dbo.mvk_Precos_Forn', N'U') IS NULL
CREATE TABLE dbo.mvk_Precos_Forn (
    Id_Preco   int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Precos_Forn PRIMARY KEY CLUSTERED,
    Fornecedor nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL,
    Artigo     nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL
) ON [PRIMARY]
GO
IF COL_LENGTH(N'dbo.mvk_Precos_Forn', N'Data') IS NULL
    ALTER TABLE dbo.mvk_Precos_Forn ADD Data datetime NULL
IF COL_LENGTH(N'dbo.mvk_Precos_Forn', N'Preco') IS NULL
    ALTER TABLE dbo.mvk_Precos_Forn ADD Preco money NOT NULL CONSTRAINT DF_mvk_Precos_Forn_Preco DEFAULT (0)
IF COL_LENGTH(N'dbo.mvk_Precos_Forn', N'RefForn') IS NULL
    ALTER TABLE dbo.mvk_Precos_Forn ADD RefForn nvarchar(20) NOT NULL CONSTRAINT DF_mvk_Precos_Forn_RefForn DEFAULT (N'')
IF COL_LENGTH(N'dbo.mvk_Precos_Forn', N'Obs') IS NULL
    ALTER TABLE dbo.mvk_Precos_Forn ADD Obs nvarchar(200) NULL
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Forn_Par' AND object_id = OBJECT_ID(N'dbo.mvk_Precos_Forn'))
CREATE INDEX IX_mvk_Precos_Forn_Par ON dbo.mvk_Precos_Forn (Fornecedor, Artigo, Data DESC)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Forn_Artigo' AND object_id = OBJECT_ID(N'dbo.mvk_Precos_Forn'))
CREATE INDEX IX_mvk_Precos_Forn_Artigo ON dbo.mvk_Precos_Forn (Artigo, Preco)
GO

-- Customer prices.
IF OBJECT_ID(N'dbo.mvk_Precos_Clientes', N'U') IS NULL
CREATE TABLE dbo.mvk_Precos_Clientes (
    Id_Preco int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Precos_Clientes PRIMARY KEY CLUSTERED,
    Cliente  nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL,
    Artigo   nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL
) ON [PRIMARY]
GO
IF COL_LENGTH(N'dbo.mvk_Precos_Clientes', N'Data') IS NULL
    ALTER TABLE dbo.mvk_Precos_Clientes ADD Data datetime NULL
IF COL_LENGTH(N'dbo.mvk_Precos_Clientes', N'Preco') IS NULL
    ALTER TABLE dbo.mvk_Precos_Clientes ADD Preco money NOT NULL CONSTRAINT DF_mvk_Precos_Clientes_Preco DEFAULT (0)
IF COL_LENGTH(N'dbo.mvk_Precos_Clientes', N'Obs') IS NULL
    ALTER TABLE dbo.mvk_Precos_Clientes ADD Obs nvarchar(200) NULL
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Clientes_Par' AND object_id = OBJECT_ID(N'dbo.mvk_Precos_Clientes'))
CREATE INDEX IX_mvk_Precos_Clientes_Par ON dbo.mvk_Precos_Clientes (Cliente, Artigo, Data DESC)
GO

-- Order needs.
IF OBJECT_ID(N'dbo.mvk_Necessidades', N'U') IS NULL
CREATE TABLE dbo.mvk_Necessidades (
    Id     int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Necessidades PRIMARY KEY CLUSTERED,
    Artigo nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL
) ON [PRIMARY]
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'RefArt') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD RefArt nvarchar(20) COLLATE DATABASE_DEFAULT NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Qtd') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD Qtd money NOT NULL CONSTRAINT DF_mvk_Necessidades_Qtd DEFAULT (0)
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Fornec') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD Fornec nvarchar(15) COLLATE DATABASE_DEFAULT NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'PrUnit') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD PrUnit money NOT NULL CONSTRAINT DF_mvk_Necessidades_PrUnit DEFAULT (0)
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'DataPedido') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD DataPedido datetime NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Processado') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD Processado int NOT NULL CONSTRAINT DF_mvk_Necessidades_Processado DEFAULT (0)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Necessidades_Pendentes' AND object_id = OBJECT_ID(N'dbo.mvk_Necessidades'))
CREATE INDEX IX_mvk_Necessidades_Pendentes ON dbo.mvk_Necessidades (Processado, Artigo)
GO
-- The claims of the order generation (each need in at most one supplier
-- order) and the order that holds a processed need.
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Versao') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD Versao int NOT NULL CONSTRAINT DF_mvk_Necessidades_Versao DEFAULT (0)
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Reserva') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD Reserva nvarchar(40) NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'ReservaDono') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD ReservaDono nvarchar(120) NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'ReservaData') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD ReservaData datetime NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncTpdoc') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD EncTpdoc nvarchar(5) NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncSerie') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD EncSerie nvarchar(5) NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncAno') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD EncAno int NULL
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncNumero') IS NULL
    ALTER TABLE dbo.mvk_Necessidades ADD EncNumero int NULL
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Necessidades_Reserva' AND object_id = OBJECT_ID(N'dbo.mvk_Necessidades'))
CREATE INDEX IX_mvk_Necessidades_Reserva ON dbo.mvk_Necessidades (Reserva)
GO
-- The order's reference in the ERP's header, where the generation writes the
-- claim of the needs the order holds.
IF COL_LENGTH(N'dbo.DOCGCCAB', N'Referencia') IS NULL
    ALTER TABLE dbo.DOCGCCAB ADD Referencia nvarchar(40) NULL
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_DOCGCCAB_Referencia' AND object_id = OBJECT_ID(N'dbo.DOCGCCAB'))
CREATE INDEX IX_DOCGCCAB_Referencia ON dbo.DOCGCCAB (Referencia)
GO

-- The previous values of every price changed or deleted through the price
-- windows; Tabela names the price table the record was in.
IF OBJECT_ID(N'dbo.mvk_Precos_Historico', N'U') IS NULL
CREATE TABLE dbo.mvk_Precos_Historico (
    Id_Historico int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Precos_Historico PRIMARY KEY CLUSTERED,
    Tabela       nvarchar(30) NOT NULL,
    Entidade     nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL,
    Artigo       nvarchar(15) COLLATE DATABASE_DEFAULT NOT NULL,
    Id_Preco     int NOT NULL,
    Data         datetime NULL,
    Preco        money NOT NULL CONSTRAINT DF_mvk_Precos_Historico_Preco DEFAULT (0),
    RefForn      nvarchar(20) NULL,
    Obs          nvarchar(200) NULL,
    Operacao     nvarchar(10) NOT NULL,
    AlteradoEm   datetime NOT NULL,
    Utilizador   nvarchar(50) NOT NULL CONSTRAINT DF_mvk_Precos_Historico_Utilizador DEFAULT (N'')
) ON [PRIMARY]
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Historico_Par' AND object_id = OBJECT_ID(N'dbo.mvk_Precos_Historico'))
CREATE INDEX IX_mvk_Precos_Historico_Par ON dbo.mvk_Precos_Historico (Tabela, Entidade, Artigo, AlteradoEm DESC, Id_Historico DESC)
GO

-- The ERP's tables and columns the program reads (and, for AjudaCmp and the
-- documents, writes). Nothing is changed: what is missing is listed.
DECLARE @falta int = 0;
DECLARE @esperadas TABLE (tabela sysname, coluna sysname);
INSERT INTO @esperadas (tabela, coluna) VALUES
    (N'Empresas', N'Codigo'), (N'Empresas', N'Nome'), (N'Empresas', N'AnoInicio'), (N'Empresas', N'AnoFim'),
    (N'Utilizadores', N'Codigo'), (N'Utilizadores', N'Nome'), (N'Utilizadores', N'Senha'),
    (N'Grupos', N'Cod'), (N'Grupos', N'Descr'),
    (N'Familia', N'Grupo'), (N'Familia', N'Cod'), (N'Familia', N'Descr'),
    (N'SUBFamil', N'Grupo'), (N'SUBFamil', N'Familia'), (N'SUBFamil', N'Cod'), (N'SUBFamil', N'Descr'),
    (N'Artigos', N'CODIGO'), (N'Artigos', N'NOME'), (N'Artigos', N'REFFORN'), (N'Artigos', N'Grupo'),
    (N'Artigos', N'Familia'), (N'Artigos', N'SubFamil'), (N'Artigos', N'ULTPRCOM'), (N'Artigos', N'VLREXIST'),
    (N'Artigos', N'STDISP'), (N'Artigos', N'TOTENCFO'), (N'Artigos', N'TotEnccl'), (N'Artigos', N'PVPSIVA'),
    (N'Artigos', N'STMIN'), (N'Artigos', N'STMAX'), (N'Artigos', N'INACTIVO'), (N'Artigos', N'ARTOUDES'),
    (N'Artigos', N'OBSERV'), (N'Artigos', N'BLNOTAS'),
    (N'Fornec', N'Codigo'), (N'Fornec', N'Nome'), (N'Fornec', N'Telef'), (N'Fornec', N'Morada'),
    (N'Fornec', N'Localidade'), (N'Fornec', N'NumContrib'),
    (N'Clientes', N'Codigo'), (N'Clientes', N'Nome'), (N'Clientes', N'Telef'), (N'Clientes', N'Morada'),
    (N'Clientes', N'Localidade'), (N'Clientes', N'NumContrib'),
    (N'Tpdoc', N'Codigo'), (N'Tpdoc', N'Descr'), (N'Tpdoc', N'Areag'), (N'Tpdoc', N'tpoper'),
    (N'Tpdoc', N'entidade'), (N'Tpdoc', N'natconta'), (N'Tpdoc', N'sinalct'),
    (N'DOCGCCAB', N'Tpdoc'), (N'DOCGCCAB', N'serie'), (N'DOCGCCAB', N'ano'), (N'DOCGCCAB', N'nnumdoc'),
    (N'DOCGCCAB', N'Data'), (N'DOCGCCAB', N'Terceiro'), (N'DOCGCCAB', N'TpTerc'), (N'DOCGCCAB', N'Areag'),
    (N'DOCGCCAB', N'tpoper'), (N'DOCGCCAB', N'natconta'), (N'DOCGCCAB', N'sinalct'), (N'DOCGCCAB', N'nvias'),
    (N'DOCGCCAB', N'Armazem'), (N'DOCGCCAB', N'Sector'), (N'DOCGCCAB', N'Total'), (N'DOCGCCAB', N'Referencia'),
    (N'docgclin', N'Tpdocum'), (N'docgclin', N'serie'), (N'docgclin', N'Ano'), (N'docgclin', N'nnumdoc'),
    (N'docgclin', N'NumLinha'), (N'docgclin', N'Artigo'), (N'docgclin', N'Descricao'), (N'docgclin', N'Quant'),
    (N'docgclin', N'Prunit'), (N'docgclin', N'Data'), (N'docgclin', N'Linanu'),
    (N'AjudaCmp', N'Artigo'), (N'AjudaCmp', N'Forneced'), (N'AjudaCmp', N'RefArt'), (N'AjudaCmp', N'Data'),
    (N'AjudaCmp', N'PrUltFor'), (N'AjudaCmp', N'EncUltCp'), (N'AjudaCmp', N'Desconto'), (N'AjudaCmp', N'Qtd'),
    (N'AjudaCmp', N'Moeda'), (N'AjudaCmp', N'DataPart'), (N'AjudaCmp', N'PrProx'), (N'AjudaCmp', N'DescProx'),
    (N'AjudaCmp', N'CustAd1'), (N'AjudaCmp', N'CustAd2'), (N'AjudaCmp', N'CustAd3'), (N'AjudaCmp', N'CustAd4'),
    (N'AjudaCmp', N'CustAd5'), (N'AjudaCmp', N'PrazoEnt'), (N'AjudaCmp', N'Descr'),
    (N'CLART', N'Codigo'), (N'CLART', N'CL01'), (N'CLART', N'CL02'), (N'CLART', N'CL03'), (N'CLART', N'CL04'),
    (N'CLART', N'CL05'),
    (N'SeriesDoc', N'Tpdoc'), (N'SeriesDoc', N'Serie'), (N'SeriesDoc', N'Descr');
SELECT @falta = COUNT(*) FROM @esperadas e WHERE COL_LENGTH(N'dbo.' + e.tabela, e.coluna) IS NULL;
IF @falta > 0
BEGIN
    SELECT N'Falta no ERP' AS Aviso, e.tabela AS Tabela, e.coluna AS Coluna
    FROM @esperadas e WHERE COL_LENGTH(N'dbo.' + e.tabela, e.coluna) IS NULL ORDER BY e.tabela, e.coluna;
    PRINT N'O Tessela lê colunas que faltam nesta base (ver a lista acima).';
END
ELSE
    PRINT N'Tabelas do Tessela prontas; as tabelas do ERP têm todas as colunas que o programa lê.';
GO
SET NOEXEC OFF
GO
