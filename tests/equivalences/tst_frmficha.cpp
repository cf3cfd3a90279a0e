#include "baseequivalencias.h"
#include "botao.h"
#include "campoinput.h"
#include "frmficha.h"
#include "grelha.h"
#include "listarespostas.h"
#include "mensagensgravadas.h"
#include "testmain.h"

#include <QLabel>
#include <QMdiArea>

namespace {
struct Ensaio : JanelaPrincipal<frmFicha>
{
    using JanelaPrincipal::JanelaPrincipal;
    Grelha *grelha() const { return janela->grelha(); }
    // Types a code in the field and leaves it with Tab, as the user does.
    void abre(const QString &codigo)
    {
        janela->campo()->setFocus();
        janela->campo()->selectAll();
        QTest::keyClicks(janela->campo(), codigo);
        QTest::keyClick(janela->campo(), Qt::Key_Tab);
    }
    QStringList linhas() const
    {
        QStringList l;
        for (int r = 0; r < grelha()->linhas(); ++r)
            l << grelha()->matriz(r, 0).toString();
        return l;
    }
    // Types over the current line of the grid and confirms it with Enter.
    void escreve(const QString &texto)
    {
        QTest::keyClicks(grelha(), texto);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    void clica(Botao *b) { QTest::mouseClick(b, Qt::LeftButton); }
    bool vazia() const { return janela->campo()->text().isEmpty() && janela->lbDesc()->text().isEmpty() && grelha()->isHidden(); }
};
} // namespace

class TstFrmFicha : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(m_base.cria(), QString());
        m_mensagens.instala();
    }
    void init()
    {
        m_pasta = std::make_unique<QTemporaryDir>();
        m_bd = std::make_unique<LigacaoBd>();
        QVERIFY(m_base.copia(*m_pasta, *m_bd));
        m_mensagens.limpa();
    }
    void cleanup() { QCOMPARE(m_bd->nivelTransaccao(), 0); }
    void verificacaoDoCodigo();
    void gravaLinhasNaoEmBranco();
    void anularPergunta();
    void listaECancelar();
    void gravacaoFalhadaDesfazTudo_data();
    void gravacaoFalhadaDesfazTudo();
    void recusaMaisDe32767Linhas();

private:
    BaseEquivalencias m_base;
    std::unique_ptr<QTemporaryDir> m_pasta;
    std::unique_ptr<LigacaoBd> m_bd;
    MensagensGravadas m_mensagens;
};

void TstFrmFicha::verificacaoDoCodigo()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    QVERIFY(e.vazia());
    e.abre(QStringLiteral("  "));   // blank: the focus stays, no message
    QCOMPARE(QApplication::focusWidget(), e.janela->campo());
    QCOMPARE(m_mensagens.quantos(), 0);

    e.abre(QStringLiteral("NAO-EXISTE"));
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("O artigo não existe !"));
    QCOMPARE(m_mensagens.ultimo().icone, PedidoMensagem::Critico);
    QVERIFY(e.activa());
    QCOMPARE(QApplication::focusWidget(), e.janela->campo());
    QVERIFY(e.grelha()->isHidden());

    // A read that fails is not "no such article": the library's message only.
    m_bd->falhaNoProximo(QStringLiteral("ARTIGOS LEFT OUTER JOIN"), ErroBd::BaseOcupada);
    e.abre(Dados::A(1));
    QCOMPARE(m_mensagens.quantos(), 2);
    QVERIFY(m_mensagens.ultimo().texto.startsWith(QStringLiteral("Erro -2147217871 (Falha provocada para ensaio)\r\nNa função Ler")));
    QVERIFY(e.activa());
    QCOMPARE(QApplication::focusWidget(), e.janela->campo());
    QVERIFY(e.grelha()->isHidden());

    // An article, typed in another case and with a blank at the end: its
    // codes, its name, the focus moves on into the grid.
    e.abre(Dados::A(1).toLower() + QLatin1Char(' '));
    QStringList esperadas = Dados::codigosA1();
    esperadas.sort(Qt::CaseInsensitive);
    QCOMPARE(e.linhas(), esperadas);
    QVERIFY(!e.janela->lbDesc()->text().isEmpty());
    QCOMPARE(QApplication::focusWidget(), e.grelha());
    QCOMPARE(e.grelha()->coluna(1)->chave, QStringLiteral("Equivalencia"));

    // Passing through the field again keeps what was typed in the grid.
    e.escreve(QStringLiteral("EDITADO"));
    e.janela->campo()->setFocus();
    QTest::keyClick(e.janela->campo(), Qt::Key_Tab);
    QCOMPARE(e.linhas().first(), QStringLiteral("EDITADO"));
    QCOMPARE(m_mensagens.quantos(), 2);
}

void TstFrmFicha::gravaLinhasNaoEmBranco()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    // No codes yet: one empty line; confirming it stores nothing.
    e.abre(Dados::A(3));
    QCOMPARE(e.linhas(), QStringList{QString()});
    e.clica(e.janela->btConf());
    QVERIFY(Dados::guardados(*m_bd, Dados::A(3)).isEmpty());
    QVERIFY(e.vazia());
    QCOMPARE(QApplication::focusWidget(), e.janela->campo());

    // Enter goes on to the next line, the new-line row at the end; padded codes
    // are written as they are, blank lines skipped, repeated codes stored once.
    e.abre(Dados::A(3));
    for (const QString &c : {"  PAD  ", "DUP", "   ", "dup"})
        e.escreve(c);
    QCOMPARE(e.linhas(), (QStringList{"  PAD  ", "DUP", "   ", "dup"}));
    e.clica(e.janela->btConf());
    QCOMPARE(Dados::guardados(*m_bd, Dados::A(3)), (QStringList{"  PAD  ", "DUP"}));

    // Every line blanked: all the article's codes go, its quick-access codes stay.
    e.abre(Dados::A(0));
    for (int r = 0; r < e.grelha()->linhas(); ++r)
        e.grelha()->setMatriz(r, 0, r % 2 ? QStringLiteral(" ") : QString());
    e.clica(e.janela->btConf());
    QVERIFY(Dados::guardados(*m_bd, Dados::A(0)).isEmpty());
    QCOMPARE(m_bd->valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_AcessoRapido WHERE CodigoArtigo LIKE 'ZZ-%'")).toInt(), 30);
    QCOMPARE(m_mensagens.quantos(), 0);
}

void TstFrmFicha::anularPergunta()
{
    VERIFICA_BD(*m_bd, m_bd->Executa(QStringLiteral("INSERT INTO mvk_equivalencias VALUES ('', 'SEM-PAI')")));
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    e.abre(Dados::A(1));
    m_mensagens.responde(ServicoMensagens::RespNao);
    e.clica(e.janela->btAnular());
    const PedidoMensagem pergunta = m_mensagens.ultimo();
    QCOMPARE(pergunta.texto, QStringLiteral("Confirma a anulação de todas as equivalência ?"));
    QCOMPARE(pergunta.botoes, PedidoMensagem::SimNao);
    QCOMPARE(pergunta.icone, PedidoMensagem::Pergunta);
    QCOMPARE(pergunta.botaoPredefinido, 2);
    QCOMPARE(Dados::guardados(*m_bd, Dados::A(1)).size(), Dados::codigosA1().size());
    QCOMPARE(e.janela->campo()->text(), Dados::A(1));

    m_mensagens.responde(ServicoMensagens::RespSim);
    e.clica(e.janela->btAnular());
    QVERIFY(Dados::guardados(*m_bd, Dados::A(1)).isEmpty());
    QVERIFY(e.vazia());

    // With the field empty the question comes all the same and concerns the empty code.
    m_mensagens.responde(ServicoMensagens::RespSim);
    e.clica(e.janela->btAnular());
    QCOMPARE(m_mensagens.quantos(), 3);
    QVERIFY(Dados::guardados(*m_bd, QString()).isEmpty());
    QCOMPARE(Dados::guardados(*m_bd, Dados::A(0)).size(), Dados::codigosA0().size());
}

void TstFrmFicha::listaECancelar()
{
    ListaRespostas listas;
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    listas.responde(Dados::A(1));
    e.clica(e.janela->btLista());
    QTRY_VERIFY(e.grelha()->isVisible());
    QCOMPARE(listas.pedidos.first().titulo, QStringLiteral("Lista de Artigos"));
    QCOMPARE(e.janela->campo()->text(), Dados::A(1));
    QCOMPARE(e.linhas().size(), Dados::codigosA1().size());

    // The list cancelled: nothing changes.
    e.escreve(QStringLiteral("EDITADO"));
    e.clica(e.janela->btLista());
    QCoreApplication::processEvents();
    QCOMPARE(listas.pedidos.size(), 2);
    QCOMPARE(e.janela->campo()->text(), Dados::A(1));
    QCOMPARE(e.linhas().first(), QStringLiteral("EDITADO"));

    // Cancel: cleared, nothing saved, the caret in the empty field.
    e.clica(e.janela->btCancelar());
    QCoreApplication::processEvents();   // the Tab sent to the blank field
    QVERIFY(e.vazia());
    QCOMPARE(QApplication::focusWidget(), e.janela->campo());
    QCOMPARE(Dados::guardados(*m_bd, Dados::A(1)).size(), Dados::codigosA1().size());
    QCOMPARE(m_mensagens.quantos(), 0);

    e.clica(e.janela->btSair());   // closes the window with its document frame
    QTRY_VERIFY(e.area->subWindowList().isEmpty());
}

void TstFrmFicha::gravacaoFalhadaDesfazTudo_data()
{
    QTest::addColumn<QString>("marca");
    QTest::addColumn<int>("saltar");
    QTest::addColumn<QString>("mensagem");
    // A1's 7 codes and NOVO-X: 8 lines, each a pair and a quick-access code.
    const QString biblioteca = QStringLiteral("Na função Equivalencia_Escrever do Módulo de classe Artigos");
    const QString janela = QStringLiteral("não foram gravadas: o artigo mantém as que tinha");
    QTest::newRow("começo") << "BEGIN" << 0 << janela;
    QTest::newRow("apagar") << "DELETE FROM mvk_equivalencias" << 0 << QStringLiteral("Na função Apagar do Módulo de classe Artigos");
    QTest::newRow("primeira linha") << "INTO mvk_equivalencias" << 0 << biblioteca;
    QTest::newRow("linha do meio") << "INTO mvk_equivalencias" << 3 << biblioteca;
    QTest::newRow("última linha") << "INTO mvk_equivalencias" << 7 << biblioteca;
    QTest::newRow("código rápido da última") << "INTO mvk_AcessoRapido" << 7 << biblioteca;
    QTest::newRow("confirmação") << "COMMIT" << 0 << janela;
}

void TstFrmFicha::gravacaoFalhadaDesfazTudo()
{
    QFETCH(QString, marca);
    QFETCH(int, saltar);
    QFETCH(QString, mensagem);
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    const QStringList antes = Dados::guardados(*m_bd, Dados::A(1));
    e.abre(Dados::A(1));
    e.grelha()->setLinhaActual(e.grelha()->linhas() + 1);
    e.escreve(QStringLiteral("NOVO-X"));
    const QStringList escritas = e.linhas();
    QCOMPARE(escritas.size(), 8);

    // A failure at any step: everything is undone, the user is told once,
    // with the cause, and nothing typed is lost.
    m_bd->falhaNoProximo(marca, ErroBd::BaseOcupada, saltar);
    e.clica(e.janela->btConf());
    QCOMPARE(Dados::guardados(*m_bd, Dados::A(1)), antes);
    QCOMPARE(m_mensagens.quantos(), 1);
    QCOMPARE(m_mensagens.ultimo().icone, PedidoMensagem::Critico);
    QVERIFY2(m_mensagens.ultimo().texto.contains(mensagem), qPrintable(m_mensagens.ultimo().texto));
    QVERIFY(m_mensagens.ultimo().texto.contains(QStringLiteral("Erro -2147217871 (Falha provocada para ensaio)")));
    QCOMPARE(e.janela->campo()->text(), Dados::A(1));
    QCOMPARE(e.linhas(), escritas);
    QCOMPARE(m_bd->nivelTransaccao(), 0);

    QVERIFY(e.activa());   // confirming again saves it
    e.clica(e.janela->btConf());
    QCOMPARE(Dados::guardados(*m_bd, Dados::A(1)).size(), 8);
    QVERIFY(e.vazia());
}

void TstFrmFicha::recusaMaisDe32767Linhas()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    e.abre(Dados::A(3));
    e.grelha()->setLinhas(frmFicha::MaximoLinhas + 1);
    e.grelha()->setMatriz(frmFicha::MaximoLinhas, 0, QStringLiteral("ULTIMA"));
    e.clica(e.janela->btConf());
    QVERIFY(m_mensagens.ultimo().texto.contains(QStringLiteral("32767")));
    QVERIFY(Dados::guardados(*m_bd, Dados::A(3)).isEmpty());
    QCOMPARE(e.grelha()->linhas(), frmFicha::MaximoLinhas + 1);

    // An article with more codes than that is not loaded.
    {
        Transaccao t(*m_bd);
        for (int n = 0; n <= frmFicha::MaximoLinhas; ++n)
            m_bd->Executa(QStringLiteral("INSERT INTO mvk_equivalencias VALUES (?, ?)"), {Dados::A(5), QString::number(n)});
        QVERIFY(t.confirma());
    }
    QVERIFY(e.activa());
    e.clica(e.janela->btCancelar());
    QCoreApplication::processEvents();
    e.abre(Dados::A(5));
    QCOMPARE(m_mensagens.quantos(), 2);
    QVERIFY(m_mensagens.ultimo().texto.contains(QStringLiteral("32767")));
    QVERIFY(e.activa());
    QCOMPARE(QApplication::focusWidget(), e.janela->campo());
    QVERIFY(e.grelha()->isHidden());
}

TESSELA_TEST_MAIN(TstFrmFicha)
#include "tst_frmficha.moc"
