#pragma once
#include "artigos.h"
#include "basedados.h"
#include "basesqlite.h"
#include "criaobjecto.h"
#include "geradordemo.h"
#include "ligacaobd.h"
#include "registotestes.h"

#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

// The data the equivalence tests rely on, all articles active except A(4):
// A(0) has ZZ-001 … ZZ-030 and PARTILHADO, observations and notes; A(1) has
// Q'1, Q%1, Q_1, QA1, Q[1, the code of A(2) and PARTILHADO; A(3) has none.
namespace Dados {
inline QString A(int n) { return GeradorDemo::codigoArtigo(n); }
inline QStringList codigosA0()
{
    QStringList c;
    for (int i = 1; i <= 30; ++i)
        c << QStringLiteral("ZZ-%1").arg(i, 3, 10, QLatin1Char('0'));
    return c << QStringLiteral("PARTILHADO");
}
inline QStringList codigosA1() { return {"Q'1", "Q%1", "Q_1", "QA1", "Q[1", A(2), "PARTILHADO"}; }
inline const QString Observacoes = QStringLiteral("Entrega em 48 horas"), Notas = QStringLiteral("Ver catálogo");

using BaseSqlite::cadeia;

// The equivalent codes stored for an article, in code order.
inline QStringList guardados(LigacaoBd &bd, const QString &artigo)
{
    Recordset rs;
    bd.AbreConsulta(QStringLiteral("SELECT ArtigoEquivalente FROM mvk_equivalencias WHERE ArtigoPai = ? ORDER BY 1"), rs, {artigo});
    QStringList c;
    for (; !rs.Eof(); rs.MoveNext())
        c << rs.Valor(0).toString();
    return c;
}
} // namespace Dados

// A small company database with the data above, made once per test program
// (cria) and copied afresh for every test (copia).
class BaseEquivalencias
{
public:
    RegistoTestes registo;
    QTemporaryDir pasta;
    QString modelo;

    QString cria()
    {
        if (!registo.ok)
            return registo.erro;
        modelo = pasta.filePath(QStringLiteral("modelo.db"));
        LigacaoBd bd;
        GeradorDemo::Escala e;
        e.artigos = 200;
        e.linhasDocumento = 200;
        GeradorDemo g(11, QDate(2026, 1, 15));
        if (!BaseSqlite::criaVazia(bd, modelo) || !g.gera(bd, e))
            return g.erro() + bd.ultimoErro().texto();
        QString erro;
        auto esquema = CriaObjecto<BaseDados>(&erro);
        auto artigos = CriaObjecto<Artigos>(&erro);
        if (!esquema || !artigos)
            return erro;
        esquema->setBd(&bd);
        esquema->VerificaBaseDeDados();
        bd.Executa(QStringLiteral("UPDATE Artigos SET INACTIVO = 0, OBSERV = NULL, BLNOTAS = NULL WHERE CODIGO IN (?, ?, ?, ?)"),
                   {Dados::A(0), Dados::A(1), Dados::A(2), Dados::A(3)});
        bd.Executa(QStringLiteral("UPDATE Artigos SET INACTIVO = 1 WHERE CODIGO = ?"), {Dados::A(4)});
        bd.Executa(QStringLiteral("UPDATE Artigos SET OBSERV = ?, BLNOTAS = ? WHERE CODIGO = ?"),
                   {QStringLiteral("  ") + Dados::Observacoes, Dados::Notas + QStringLiteral(" "), Dados::A(0)});
        artigos->setBd(&bd);
        for (int n : {0, 1}) {
            artigos->setCodigo(Dados::A(n));
            for (const QString &c : n == 0 ? Dados::codigosA0() : Dados::codigosA1())
                artigos->Equivalencia_Escrever(c);
        }
        return bd.ultimoErro().existe() ? bd.ultimoErro().texto() : QString();
    }

    bool copia(QTemporaryDir &destino, LigacaoBd &bd)
    {
        const QString ficheiro = destino.filePath(QStringLiteral("teste.db"));
        return QFile::copy(modelo, ficheiro) && bd.Abre(Dados::cadeia(ficheiro));
    }
};

// A main window with a document area, as the program has, holding one window
// of type J made as the main window makes it (Bd, then Mostra).
template<class J>
struct JanelaPrincipal
{
    QMainWindow principal;
    QMdiArea *area = new QMdiArea;
    J *janela = new J;

    explicit JanelaPrincipal(LigacaoBd &bd)
    {
        principal.setCentralWidget(area);
        principal.resize(1100, 700);
        principal.show();
        area->addSubWindow(janela);
        janela->setBd(&bd);
        janela->Mostra();
    }
    bool activa()
    {
        principal.showNormal();
        principal.activateWindow();
        return QTest::qWaitForWindowActive(&principal);
    }
    bool minimizada() const { return principal.windowState() & Qt::WindowMinimized; }
};
