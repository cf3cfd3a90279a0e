#pragma once
#include "basejanela.h"
#include "botao.h"
#include "consultaprecos.h"
#include "consultaprecosclientes.h"
#include "listarespostas.h"

#include <QDate>
#include <QLabel>

// A small company made by the demo generator plus rows of known content:
//   suppliers FX1 "Fornecedor Um" (tel. 211111111) and FX2 "Fornecedor Dois";
//   articles AT1 "Artigo Um", AT2 "Artigo Dois", ATI (inactive);
//   prices (Id, supplier, article, date, price, reference, observation):
//     P1 FX1 AT1 2024-03-01 10.50 R-1 "Proposta A"
//     P2 FX1 AT1 2024-05-01 11.25 R-2 NULL
//     P3 FX1 AT2 2024-04-01 20.00 ""  NULL
//     P4 FX2 AT1 2024-02-01  9.99 R-4 "Proposta B"
//     P5 FZZ AT1 2024-01-01  5.00 R-5 NULL       (supplier unknown to the ERP)
//   purchase help AT1/FX1: RefArt AJ-1, Qtd 5, Desconto 3, PrazoEnt 7, PrProx 9;
//   customers CX1 "Cliente Um" (tel. 233333333) and CX2 "Cliente Dois"; last
//   purchase prices AT1 6.50, AT2 2.25;
//   customer prices (Id, customer, article, date, price, observation):
//     C1 CX1 AT1 2024-03-01 15.00 "Condição A"
//     C2 CX1 AT1 2024-06-01 16.50 NULL
//     C3 CX1 AT2 2024-04-01 30.00 NULL
//     C4 CX2 AT1 2024-02-01 14.00 "Condição B"
//     C5 CZZ AT1 2024-01-01 12.00 NULL           (customer unknown to the ERP)
//   purchase invoices (FCF) of FX1: AT1 7.50 and AT2 3.00 on 2024-06-01, a
//   voided AT1 line and an ATI line; of FX2: AT1 8.00 on 2024-07-01; a sales
//   invoice of FX1 for AT1 that is no purchase.
namespace DadosPrecos {
inline const QString FX1 = QStringLiteral("FX1"), FX2 = QStringLiteral("FX2");
inline const QString AT1 = QStringLiteral("AT1"), AT2 = QStringLiteral("AT2"), ATI = QStringLiteral("ATI");
inline const QString NomeFX1 = QStringLiteral("Fornecedor Um"), NomeFX2 = QStringLiteral("Fornecedor Dois");
inline const QString NomeAT1 = QStringLiteral("Artigo Um"), NomeAT2 = QStringLiteral("Artigo Dois");
inline const QString CX1 = QStringLiteral("CX1"), CX2 = QStringLiteral("CX2");
inline const QString NomeCX1 = QStringLiteral("Cliente Um"), NomeCX2 = QStringLiteral("Cliente Dois");

inline bool insere(LigacaoBd &bd)
{
    const QStringList sqls{
        QStringLiteral("INSERT INTO Fornec (Codigo, Nome, Telef) VALUES ('FX1', 'Fornecedor Um', '211111111')"),
        QStringLiteral("INSERT INTO Fornec (Codigo, Nome, Telef) VALUES ('FX2', 'Fornecedor Dois', '222222222')"),
        QStringLiteral("INSERT INTO Artigos (CODIGO, NOME, STDISP, ULTPRCOM) VALUES ('AT1', 'Artigo Um', 4, 6.5)"),
        QStringLiteral("INSERT INTO Artigos (CODIGO, NOME, ULTPRCOM) VALUES ('AT2', 'Artigo Dois', 2.25)"),
        QStringLiteral("INSERT INTO Clientes (Codigo, Nome, Telef) VALUES ('CX1', 'Cliente Um', '233333333'), "
                       "('CX2', 'Cliente Dois', '244444444')"),
        QStringLiteral("INSERT INTO mvk_Precos_Clientes (Id_Preco, Cliente, Artigo, Data, Preco, Obs) VALUES "
                       "(200001, 'CX1', 'AT1', '2024-03-01 00:00:00', 15, 'Condição A'), "
                       "(200002, 'CX1', 'AT1', '2024-06-01 00:00:00', 16.5, NULL), "
                       "(200003, 'CX1', 'AT2', '2024-04-01 00:00:00', 30, NULL), "
                       "(200004, 'CX2', 'AT1', '2024-02-01 00:00:00', 14, 'Condição B'), "
                       "(200005, 'CZZ', 'AT1', '2024-01-01 00:00:00', 12, NULL)"),
        QStringLiteral("INSERT INTO Artigos (CODIGO, NOME, INACTIVO) VALUES ('ATI', 'Artigo Inactivo', 1)"),
        QStringLiteral("INSERT INTO mvk_Precos_Forn (Id_Preco, Fornecedor, Artigo, Data, Preco, RefForn, Obs) VALUES "
                       "(100001, 'FX1', 'AT1', '2024-03-01 00:00:00', 10.5, 'R-1', 'Proposta A'), "
                       "(100002, 'FX1', 'AT1', '2024-05-01 00:00:00', 11.25, 'R-2', NULL), "
                       "(100003, 'FX1', 'AT2', '2024-04-01 00:00:00', 20, '', NULL), "
                       "(100004, 'FX2', 'AT1', '2024-02-01 00:00:00', 9.99, 'R-4', 'Proposta B'), "
                       "(100005, 'FZZ', 'AT1', '2024-01-01 00:00:00', 5, 'R-5', NULL)"),
        QStringLiteral("INSERT INTO AjudaCmp (Artigo, Forneced, RefArt, Data, PrUltFor, EncUltCp, Desconto, Qtd, Moeda, DataPart, "
                       "PrProx, DescProx, CustAd1, PrazoEnt, Descr) VALUES ('AT1', 'FX1', 'AJ-1', '2023-01-01 00:00:00', 8, 2, 3, 5, "
                       "'USD', '2023-01-02 00:00:00', 9, 'D', 'C1', 7, 'Antiga')"),
        QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, tpoper, natconta, sinalct, nvias) "
                       "VALUES ('FCF', 'T', 2024, 1, '2024-06-01 00:00:00', 'FX1', 1, 4, 1, 1, 2, 1), "
                       "('FCF', 'T', 2024, 2, '2024-07-01 00:00:00', 'FX2', 1, 4, 1, 1, 2, 1), "
                       "('VFA', 'T', 2024, 1, '2024-06-02 00:00:00', 'FX1', 1, 4, 2, 1, 1, 1)"),
        QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Quant, Prunit, Linanu) VALUES "
                       "('FCF', 'T', 2024, 1, 1, 'AT1', 2, 7.5, 0), ('FCF', 'T', 2024, 1, 2, 'AT2', 1, 3, 0), "
                       "('FCF', 'T', 2024, 1, 3, 'AT1', 1, 6, 1), ('FCF', 'T', 2024, 1, 4, 'ATI', 1, 4, 0), "
                       "('FCF', 'T', 2024, 2, 1, 'AT1', 3, 8, 0), ('VFA', 'T', 2024, 1, 1, 'AT1', 1, 15, 0)"),
    };
    for (const QString &sql : sqls)
        if (!bd.Executa(sql))
            return false;
    return true;
}

// Values of one stored record, for comparing.
inline QVariantList registo(LigacaoBd &bd, const QString &sql, const QVariantList &valores)
{
    Recordset rs;
    bd.AbreConsulta(sql, rs, valores);
    QVariantList v;
    for (int i = 0; !rs.Eof() && i < rs.numeroCampos(); ++i)
        v << rs.Valor(i);
    return v;
}
} // namespace DadosPrecos

// The test database and the window under test (the supplier window in a
// mode, or the customer window).
class BasePrecos : public BaseJanela<FormularioPrecos>
{
public:
    bool cria(QString *erro)
    {
        GeradorDemo::Escala e;
        e.artigos = 120;
        e.fornecedores = 6;
        e.clientes = 6;
        e.linhasDocumento = 400;
        e.clart = 10;
        e.precosFornecedor = 40;
        e.precosCliente = 5;
        e.necessidades = 5;
        return criaEmpresaDemo(modelo, e, 7, QDate(2024, 12, 1), DadosPrecos::insere, erro);
    }

    // A fresh copy of the database and the supplier window in the given
    // mode (0: the customer window), shown and active.
    bool abre(int tipo)
    {
        if (!copia())
            return false;
        if (tipo == 0) {
            janela = new ConsultaPrecosClientes;
        } else {
            auto *f = new ConsultaPrecos;
            f->setTipo(tipo);
            janela = f;
        }
        janela->setBd(&bd);
        return mostra();
    }
    bool abreClientes() { return abre(0); }
    ConsultaPrecos *fornecedores() const { return qobject_cast<ConsultaPrecos *>(janela); }
    ConsultaPrecosClientes *clientes() const { return qobject_cast<ConsultaPrecosClientes *>(janela); }

    // Types into the current grid cell and commits with Tab. Characters the
    // test library cannot type (€) go as the text of a key event.
    void escreveCelula(int linha, int coluna, const QString &texto, Qt::Key fim = Qt::Key_Tab)
    {
        g()->setFocus();
        g()->setLinhaActual(linha);
        g()->setColunaActual(coluna);
        for (const QChar c : texto) {
            if (c.unicode() < 128) {
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            } else {
                QKeyEvent tecla(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
                QApplication::sendEvent(QApplication::focusWidget(), &tecla);
            }
        }
        QTest::keyClick(QApplication::focusWidget(), fim);
    }
    // Types a whole row (supplier or customer, article, date, price) in an empty grid row.
    void escreveLinha(int linha, const QString &entidade, const QString &artigo, const QString &data, const QString &preco)
    {
        escreveCelula(linha, ColunasPrecos::Forn + 1, entidade);
        escreveCelula(linha, ColunasPrecos::Artigo + 1, artigo);
        escreveCelula(linha, ColunasPrecos::DataE + 1, data);
        escreveCelula(linha, ColunasPrecos::Preco + 1, preco);
    }
};
