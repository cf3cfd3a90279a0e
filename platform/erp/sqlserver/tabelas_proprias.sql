-- Tessela's own tables in the ERP's SQL Server database (supplier prices,
-- customer prices, order needs, price history). Every statement does nothing
-- where its object is there already, so the script can be run again to add
-- the tables of a newer version. The equivalence tables and their view are
-- created by the program itself on its first start.
SET ANSI_NULLS ON
GO
SET QUOTED_IDENTIFIER ON
GO
IF OBJECT_ID(N'dbo.mvk_Precos_Forn', N'U') IS NULL
CREATE TABLE dbo.mvk_Precos_Forn (
    Id_Preco   int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Precos_Forn PRIMARY KEY CLUSTERED,
    Fornecedor nvarchar(15) NOT NULL,
    Artigo     nvarchar(15) NOT NULL,
    Data       datetime NULL,
    Preco      money NOT NULL CONSTRAINT DF_mvk_Precos_Forn_Preco DEFAULT (0),
    RefForn    nvarchar(20) NOT NULL CONSTRAINT DF_mvk_Precos_Forn_RefForn DEFAULT (N''),
    Obs        nvarchar(200) NULL
) ON [PRIMARY]
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Forn_Par')
CREATE INDEX IX_mvk_Precos_Forn_Par ON dbo.mvk_Precos_Forn (Fornecedor, Artigo, Data DESC)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Forn_Artigo')
CREATE INDEX IX_mvk_Precos_Forn_Artigo ON dbo.mvk_Precos_Forn (Artigo, Preco)
GO
IF OBJECT_ID(N'dbo.mvk_Precos_Clientes', N'U') IS NULL
CREATE TABLE dbo.mvk_Precos_Clientes (
    Id_Preco int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Precos_Clientes PRIMARY KEY CLUSTERED,
    Cliente  nvarchar(15) NOT NULL,
    Artigo   nvarchar(15) NOT NULL,
    Data     datetime NULL,
    Preco    money NOT NULL CONSTRAINT DF_mvk_Precos_Clientes_Preco DEFAULT (0),
    Obs      nvarchar(200) NULL
) ON [PRIMARY]
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Clientes_Par')
CREATE INDEX IX_mvk_Precos_Clientes_Par ON dbo.mvk_Precos_Clientes (Cliente, Artigo, Data DESC)
GO
IF OBJECT_ID(N'dbo.mvk_Necessidades', N'U') IS NULL
CREATE TABLE dbo.mvk_Necessidades (
    Id         int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Necessidades PRIMARY KEY CLUSTERED,
    Artigo     nvarchar(15) NOT NULL,
    RefArt     nvarchar(20) NULL,
    Qtd        money NOT NULL CONSTRAINT DF_mvk_Necessidades_Qtd DEFAULT (0),
    Fornec     nvarchar(15) NULL,
    PrUnit     money NOT NULL CONSTRAINT DF_mvk_Necessidades_PrUnit DEFAULT (0),
    DataPedido datetime NULL,
    Processado int NOT NULL CONSTRAINT DF_mvk_Necessidades_Processado DEFAULT (0)
) ON [PRIMARY]
GO
-- The claims of the order generation (each need in at most one supplier
-- order) and the order that holds a processed need; added to a table made
-- before them, so the script can be run again on any installation.
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Versao') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD Versao int NOT NULL CONSTRAINT DF_mvk_Necessidades_Versao DEFAULT (0)
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'Reserva') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD Reserva nvarchar(40) NULL
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'ReservaDono') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD ReservaDono nvarchar(120) NULL
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'ReservaData') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD ReservaData datetime NULL
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncTpdoc') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD EncTpdoc nvarchar(5) NULL
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncSerie') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD EncSerie nvarchar(5) NULL
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncAno') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD EncAno int NULL
GO
IF COL_LENGTH(N'dbo.mvk_Necessidades', N'EncNumero') IS NULL
ALTER TABLE dbo.mvk_Necessidades ADD EncNumero int NULL
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Necessidades_Reserva')
CREATE INDEX IX_mvk_Necessidades_Reserva ON dbo.mvk_Necessidades (Reserva)
GO
-- The order's reference in the ERP's header, where the generation writes the
-- claim of the needs the order holds.
IF OBJECT_ID(N'dbo.DOCGCCAB', N'U') IS NOT NULL AND COL_LENGTH(N'dbo.DOCGCCAB', N'Referencia') IS NULL
ALTER TABLE dbo.DOCGCCAB ADD Referencia nvarchar(40) NULL
GO
IF OBJECT_ID(N'dbo.DOCGCCAB', N'U') IS NOT NULL AND NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_DOCGCCAB_Referencia')
CREATE INDEX IX_DOCGCCAB_Referencia ON dbo.DOCGCCAB (Referencia)
GO
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Necessidades_Pendentes')
CREATE INDEX IX_mvk_Necessidades_Pendentes ON dbo.mvk_Necessidades (Processado, Artigo)
GO
IF OBJECT_ID(N'dbo.mvk_Precos_Historico', N'U') IS NULL
CREATE TABLE dbo.mvk_Precos_Historico (
    Id_Historico int IDENTITY(1,1) NOT NULL CONSTRAINT PK_mvk_Precos_Historico PRIMARY KEY CLUSTERED,
    Tabela       nvarchar(30) NOT NULL,
    Entidade     nvarchar(15) NOT NULL,
    Artigo       nvarchar(15) NOT NULL,
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
IF NOT EXISTS (SELECT * FROM sys.indexes WHERE name = N'IX_mvk_Precos_Historico_Par')
CREATE INDEX IX_mvk_Precos_Historico_Par ON dbo.mvk_Precos_Historico (Tabela, Entidade, Artigo, AlteradoEm DESC, Id_Historico DESC)
GO
