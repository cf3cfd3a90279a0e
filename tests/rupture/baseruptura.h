#pragma once
#include "analiseruptura.h"
#include "basejanela.h"
#include "botao.h"
#include "listarespostas.h"
#include "rupturastocks.h"

#include <QApplication>
#include <QDate>

// A small company made by the demo generator (without needs of its own) plus
// rows of known content, dated from today (d-N = N days ago):
//   groups G1, G2; families G1/F11, G1/F12, G2/F21; sub-families F11/S111,
//   F11/S112, F12/S121, F21/S211; suppliers FA1 "Fornecedor Alfa", FA2
//   "Fornecedor Beta", FA3 "Fornecedor Gama";
//   articles RA1 (G1 F11 S111, stock 5, min 2, max 20), RA2 (G1 F11 S112),
//   RA3 (G1 F12 S121), RA4 (G2 F21 S211), RA5 (G2 F21 S211), RAI inactive;
//   RA1: pending order 4 (a cancelled one of 100 and a customer order of 50
//     do not count); sales 3 today, 2 on d-10, 7 on d-40 (a customer credit
//     note of 9 does not count); purchases 7.00 FA1 d-100, and on d-20 8.00
//     FA2 (document 5) and 8.50 FA1 (document 6): the latter is the last
//     (a supplier credit note of d-1 does not count); quotes 9.00 FA1 d-30,
//     7.50 FA2 d-60 and 7.50 FA3 d-10: FA3 is the cheapest (newest of the
//     tie); purchase help RA1/FA3 "AJ-13";
//   RA2: nothing; RA3: pending order 6; RA4: sales 8 on d-3, quotes 12.00 by
//     FA2 and by FA1 on the same day (FA2 recorded first wins), purchase help
//     RA4/FA2 "AJ-42"; RA5: one quote 5.00 FA1 without a date;
//   needs (Id, article, quantity, reference, supplier, request date):
//     1 RA1 10 "N-REF1" FA3 d-5;  2 RA2 5 NULL NULL NULL;  3 RA3 6 "" FA1 d-1;
//     4 RA4 8 NULL FA2 d-2;  5 RA5 3 processed;  6 RA5 4 NULL FA1 d-3;
//     7 RA1 2 NULL NULL d-4.
namespace DadosRuptura {
inline QDate dia(int n) { return QDate::currentDate().addDays(-n); }
inline QString data(int n) { return dia(n).toString(QStringLiteral("yyyy-MM-dd 00:00:00")); }
using BaseSqlite::cadeia;

inline bool insere(LigacaoBd &bd)
{
    const auto doc = [](const char *tipo, int num, int dias, const char *terceiro, int areag, int tpoper, int natconta, int sinalct) {
        return QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, tpoper, natconta, "
                              "sinalct) VALUES ('%1', 'T', 2020, %2, '%3', '%4', 1, %5, %6, %7, %8)")
            .arg(QLatin1String(tipo)).arg(num).arg(data(dias), QLatin1String(terceiro)).arg(areag).arg(tpoper).arg(natconta).arg(sinalct);
    };
    const auto linha = [](const char *tipo, int num, int n, const char *artigo, double qtd, double preco, int dias, int anulada = 0) {
        return QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Quant, Prunit, Data, Linanu) "
                              "VALUES ('%1', 'T', 2020, %2, %3, '%4', %5, %6, '%7', %8)")
            .arg(QLatin1String(tipo)).arg(num).arg(n).arg(QLatin1String(artigo)).arg(qtd).arg(preco).arg(data(dias)).arg(anulada);
    };
    const QStringList sqls{
        QStringLiteral("INSERT INTO Grupos VALUES ('G1', 'Grupo Um'), ('G2', 'Grupo Dois')"),
        QStringLiteral("INSERT INTO Familia VALUES ('G1', 'F11', 'Família 11'), ('G1', 'F12', 'Família 12'), ('G2', 'F21', 'Família 21')"),
        QStringLiteral("INSERT INTO SUBFamil VALUES ('G1', 'F11', 'S111', 'Sub 111'), ('G1', 'F11', 'S112', 'Sub 112'), "
                       "('G1', 'F12', 'S121', 'Sub 121'), ('G2', 'F21', 'S211', 'Sub 211')"),
        QStringLiteral("INSERT INTO Fornec (Codigo, Nome) VALUES ('FA1', 'Fornecedor Alfa'), ('FA2', 'Fornecedor Beta'), "
                       "('FA3', 'Fornecedor Gama')"),
        QStringLiteral("INSERT INTO Artigos (CODIGO, NOME, Grupo, Familia, SubFamil, STDISP, STMIN, STMAX, INACTIVO) VALUES "
                       "('RA1', 'Rolamento A', 'G1', 'F11', 'S111', 5, 2, 20, 0), ('RA2', 'Rolamento B', 'G1', 'F11', 'S112', 0, 0, 0, 0), "
                       "('RA3', 'Correia C', 'G1', 'F12', 'S121', 1, 0, 0, 0), ('RA4', 'Tubo D', 'G2', 'F21', 'S211', 2, 1, 9, 0), "
                       "('RA5', 'Válvula E', 'G2', 'F21', 'S211', 3, 0, 0, 0), ('RAI', 'Inactivo', 'G2', 'F21', 'S211', 0, 0, 0, 1)"),
        doc("ENF", 1, 5, "FA1", 2, 1, 0, 2), linha("ENF", 1, 1, "RA1", 4, 7, 5), linha("ENF", 1, 2, "RA1", 100, 7, 5, 1),
        linha("ENF", 1, 3, "RA3", 6, 3, 5),
        doc("ECL", 1, 5, "FA1", 2, 2, 0, 1), linha("ECL", 1, 1, "RA1", 50, 9, 5),
        doc("VFA", 1, 0, "C001", 4, 2, 1, 1), linha("VFA", 1, 1, "RA1", 3, 15, 0),
        doc("VFA", 2, 10, "C001", 4, 2, 1, 1), linha("VFA", 2, 1, "RA1", 2, 15, 10),
        doc("VFA", 3, 40, "C001", 4, 2, 1, 1), linha("VFA", 3, 1, "RA1", 7, 15, 40),
        doc("VFA", 4, 3, "C001", 4, 2, 1, 1), linha("VFA", 4, 1, "RA4", 8, 20, 3),
        doc("NCC", 1, 1, "C001", 4, 2, 1, 2), linha("NCC", 1, 1, "RA1", 9, 15, 1),
        doc("FCF", 4, 100, "FA1", 4, 1, 1, 2), linha("FCF", 4, 1, "RA1", 1, 7, 100),
        doc("FCF", 5, 20, "FA2", 4, 1, 1, 2), linha("FCF", 5, 1, "RA1", 1, 8, 20),
        doc("FCF", 6, 20, "FA1", 4, 1, 1, 2), linha("FCF", 6, 1, "RA1", 1, 8.5, 20),
        doc("NCF", 1, 1, "FA3", 4, 1, 1, 1), linha("NCF", 1, 1, "RA1", 1, 1, 1),
        QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco) VALUES ('FA1', 'RA1', '%1', 9), "
                       "('FA2', 'RA1', '%2', 7.5), ('FA3', 'RA1', '%3', 7.5), ('FA2', 'RA4', '%4', 12), ('FA1', 'RA4', '%4', 12), "
                       "('FA1', 'RA5', NULL, 5)")
            .arg(data(30), data(60), data(10), data(7)),
        QStringLiteral("INSERT INTO AjudaCmp (Artigo, Forneced, RefArt) VALUES ('RA1', 'FA3', 'AJ-13'), ('RA4', 'FA2', 'AJ-42'), "
                       "('RA1', 'FA1', 'AJ-11')"),
        QStringLiteral("INSERT INTO mvk_Necessidades (Id, Artigo, Qtd, RefArt, Fornec, PrUnit, DataPedido, Processado) VALUES "
                       "(1, 'RA1', 10, 'N-REF1', 'FA3', 1, '%1', 0), (2, 'RA2', 5, NULL, NULL, 0, NULL, 0), "
                       "(3, 'RA3', 6, '', 'FA1', 2, '%2', 0), (4, 'RA4', 8, NULL, 'FA2', 3, '%3', 0), "
                       "(5, 'RA5', 3, NULL, 'FA1', 4, '%4', 1), (6, 'RA5', 4, NULL, 'FA1', 5, '%4', 0), "
                       "(7, 'RA1', 2, NULL, NULL, 6, '%5', 0)")
            .arg(data(5), data(1), data(2), data(3), data(4)),
    };
    for (const QString &sql : sqls)
        if (!bd.Executa(sql))
            return false;
    return true;
}

// The small company without needs of its own, and the rows above.
inline bool criaModelo(const QString &ficheiro, QString *erro, int necessidadesGeradas = 0)
{
    GeradorDemo::Escala e;
    e.artigos = 150;
    e.fornecedores = 8;
    e.clientes = 6;
    e.linhasDocumento = 1500;
    e.clart = 10;
    e.precosFornecedor = 120;
    e.precosCliente = 5;
    e.necessidades = necessidadesGeradas;
    return criaEmpresaDemo(ficheiro, e, 11, QDate::currentDate(), necessidadesGeradas ? nullptr : insere, erro);
}
} // namespace DadosRuptura

// The test database and the window under test.
class BaseRuptura : public BaseJanela<RupturaStocks>
{
public:
    bool cria(QString *erro) { return DadosRuptura::criaModelo(modelo, erro); }

    // A fresh copy and the window in the given mode, shown and active.
    bool abre(int tipo)
    {
        if (!copia())
            return false;
        janela = new RupturaStocks;
        janela->setBd(&bd);
        janela->setTipo(tipo);
        return mostra();
    }

    // Types into a grid cell and commits with Tab.
    void escreveCelula(int linha, int coluna, const QString &texto)
    {
        g()->setFocus();
        g()->setLinhaActual(linha);
        g()->setColunaActual(coluna + 1);
        QTest::keyClicks(g(), texto);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    // Loads with the filters as they stand.
    void carrega()
    {
        mensagens.limpa();
        QTest::mouseClick(janela->btCarga(), Qt::LeftButton);
    }
    // The Ids of the rows filled in the grid, in order.
    QList<qint64> ids() const
    {
        QList<qint64> r;
        for (int i = 0; i < g()->linhas() && !g()->matriz(i, ColunasNecessidades::Artigo).toString().isEmpty(); ++i)
            r << g()->matriz(i, ColunasNecessidades::Id).toLongLong();
        return r;
    }
};
