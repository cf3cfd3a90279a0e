#pragma once
#include "basesqlite.h"
#include "campoinput.h"
#include "geradordemo.h"
#include "grelha.h"
#include "mensagensgravadas.h"
#include "servicomensagens.h"

#include <QTemporaryDir>

#include <functional>

// A small demo company in a new file: the demo generator's tables at the
// given scale, then the rows of known content that acrescenta writes.
inline bool criaEmpresaDemo(const QString &ficheiro, const GeradorDemo::Escala &escala, quint64 semente, const QDate &hoje,
                            const std::function<bool(LigacaoBd &)> &acrescenta, QString *erro)
{
    LigacaoBd bd;
    if (!BaseSqlite::criaVazia(bd, ficheiro)) {
        *erro = bd.ultimoErro().texto();
        return false;
    }
    GeradorDemo g(semente, hoje);
    if (!g.gera(bd, escala)) {
        *erro = g.erro();
        return false;
    }
    if (acrescenta && !acrescenta(bd)) {
        *erro = bd.ultimoErro().texto();
        return false;
    }
    return true;
}

// What the tests of a window with filters and a grid share: the test
// database (the model, made once per test program, copied afresh for each
// test), the window under test, the test double for messages, and typing
// into the window as a user does. Janela has Campo(i), grelha() and btConf().
template <class Janela>
class BaseJanela
{
public:
    QTemporaryDir pasta;
    QString modelo = pasta.filePath(QStringLiteral("modelo.db"));
    LigacaoBd bd;
    MensagensGravadas mensagens;
    Janela *janela = nullptr;

    // The test's copy of the model (bd.destino() is the connection text,
    // which over ODBC is not a file name).
    QString ficheiro() const { return pasta.filePath(QStringLiteral("teste.db")); }
    // A fresh copy of the model, opened, and no message recorded.
    bool copia()
    {
        bd.Fecha();
        QFile::remove(ficheiro());
        mensagens.limpa();
        mensagens.instala();
        return QFile::copy(modelo, ficheiro()) && bd.Abre(BaseSqlite::cadeia(ficheiro()));
    }
    // Shows the window and waits until it is the active one.
    bool mostra()
    {
        janela->Mostra();
        return activa();
    }
    bool activa()
    {
        janela->activateWindow();
        return QTest::qWaitForWindowActive(janela);
    }
    void fecha()
    {
        delete janela;
        janela = nullptr;
        ServicoMensagens::instala(nullptr);
        bd.Fecha();
    }

    Grelha *g() const { return janela->grelha(); }
    // A cell by grid row (from 1) and data column (from 0).
    QVariant cel(int linha, int coluna) const { return g()->matriz(linha - 1, coluna); }
    // Types a filter value and leaves the field with Tab, as a user does.
    void escreveFiltro(int indice, const QString &texto)
    {
        CampoInput *c = janela->Campo(indice);
        c->setFocus();
        c->selectAll();
        QTest::keyClicks(c, texto);
        QTest::keyClick(c, Qt::Key_Tab);
    }
    // Clicks the confirm button, the question answered with resposta (when not 0).
    void confirma(int resposta = 0)
    {
        mensagens.limpa();
        if (resposta)
            mensagens.responde(resposta);
        QTest::mouseClick(janela->btConf(), Qt::LeftButton);
    }
    // The texts of the messages shown, in order.
    QStringList textos() const
    {
        QStringList t;
        for (const PedidoMensagem &p : mensagens.pedidos())
            t << p.texto;
        return t;
    }
};
