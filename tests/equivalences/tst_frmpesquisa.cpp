#include "baseequivalencias.h"
#include "botao.h"
#include "campoinput.h"
#include "frmpesquisa.h"
#include "grelha.h"
#include "mensagensgravadas.h"
#include "testmain.h"
#include "twips.h"
#include "ucinput.h"

#include <QClipboard>
#include <QHeaderView>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

namespace {
struct Ensaio : JanelaPrincipal<frmPesquisa>
{
    using JanelaPrincipal::JanelaPrincipal;
    Grelha *grelha() const { return janela->grelha(); }
    QString observacoes() const { return janela->campo()->toPlainText(); }
    // Types a code in the box and presses Enter.
    void procura(const QString &codigo)
    {
        CampoInput *campo = janela->ucInput()->campo();
        campo->setFocus();
        campo->selectAll();
        QTest::keyClicks(campo, codigo);
        QCoreApplication::processEvents();
        QTest::keyClick(campo, Qt::Key_Return);
    }
    QStringList artigos() const
    {
        QStringList a;
        for (int l = 1; l <= grelha()->linhas(); ++l)
            a << grelha()->celula(QStringLiteral("Artigo"), l).toString();
        return a;
    }
    QPoint linha(int n) const { return grelha()->visualRect(grelha()->model()->index(n - 1, 1)).center(); }
    void clica(int n) { QTest::mouseClick(grelha()->viewport(), Qt::LeftButton, {}, linha(n)); }
};
} // namespace

class TstFrmPesquisa : public QObject
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
    void pesquisaComEnterNoutraCaixa();
    void cliqueEResultadoVazio();
    void duploCliqueEEnterCopiamEMinimizam();
    void tamanhoMinimoEJanelasIndependentes();
    void sugestoesSempreAVista();

private:
    BaseEquivalencias m_base;
    std::unique_ptr<QTemporaryDir> m_pasta;
    std::unique_ptr<LigacaoBd> m_bd;
    MensagensGravadas m_mensagens;
};

void TstFrmPesquisa::pesquisaComEnterNoutraCaixa()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    QVERIFY(e.grelha()->isHidden() && e.janela->campo()->isHidden());

    // The suggestions open while typing; Enter closes them and searches the code as typed.
    CampoInput *campo = e.janela->ucInput()->campo();
    campo->setFocus();
    QTest::keyClicks(campo, QStringLiteral("partilha"));
    QCoreApplication::processEvents();
    QCOMPARE(e.janela->ucInput()->lista()->count(), 1);
    QTest::keyClicks(campo, QStringLiteral("do "));   // in lower case, a blank at the end: found all the same
    QTest::keyClick(campo, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCOMPARE(e.janela->ucInput()->lista()->count(), 0);
    QCOMPARE(e.janela->ucInput()->height(), campo->height());
    QCOMPARE(QApplication::focusWidget(), e.janela->btConf());
    QVERIFY(e.grelha()->isVisible() && e.janela->campo()->isVisible());
    QCOMPARE(e.artigos(), (QStringList{Dados::A(0), Dados::A(1)}));
    QVERIFY(e.grelha()->soLeitura());
    QCOMPARE(e.grelha()->numeroColunas(), 7);
    QCOMPARE(e.grelha()->coluna(7)->chave, QStringLiteral("PVP"));

    // The button searches too.
    campo->setText(Dados::A(3).toLower());
    QTest::mouseClick(e.janela->btConf(), Qt::LeftButton);
    QCOMPARE(e.artigos(), QStringList{Dados::A(3)});
    QCOMPARE(m_mensagens.quantos(), 0);
}

void TstFrmPesquisa::cliqueEResultadoVazio()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    e.procura(QStringLiteral("PARTILHADO"));
    // A click outside the rows does nothing; on a row, its observations and notes.
    QTest::mouseClick(e.grelha()->viewport(), Qt::LeftButton, {}, QPoint(5, e.grelha()->viewport()->height() - 5));
    QVERIFY(e.observacoes().isEmpty());
    e.clica(1);
    QCOMPARE(e.observacoes(), Dados::Observacoes + QLatin1Char('\n') + Dados::Notas);
    e.clica(2);
    QCOMPARE(e.observacoes(), QStringLiteral("\n"));   // neither
    e.clica(1);

    // Nothing found: an empty grid, the observations stay.
    e.procura(QStringLiteral("NAO-EXISTE"));
    QVERIFY(e.grelha()->isVisible());
    QCOMPARE(e.grelha()->linhas(), 0);
    QCOMPARE(e.observacoes(), Dados::Observacoes + QLatin1Char('\n') + Dados::Notas);
    QVERIFY(!e.minimizada());
}

void TstFrmPesquisa::duploCliqueEEnterCopiamEMinimizam()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    e.procura(QStringLiteral("partilhado"));
    QGuiApplication::clipboard()->setText(QStringLiteral("antes"));
    e.clica(2);   // a double-click comes after a click
    QTest::mouseDClick(e.grelha()->viewport(), Qt::LeftButton, {}, e.linha(2));
    QCOMPARE(QGuiApplication::clipboard()->text(), Dados::A(1));
    QVERIFY(e.minimizada());
    QCOMPARE(m_mensagens.quantos(), 0);

    // Enter on a row: the code in a message box, then the same.
    QVERIFY(e.activa());
    e.grelha()->setFocus();
    e.grelha()->setLinhaActual(1);
    QTest::keyClick(e.grelha(), Qt::Key_Return);
    QCOMPARE(m_mensagens.quantos(), 1);   // once: the grid does not activate the row again
    QCOMPARE(m_mensagens.ultimo().texto, Dados::A(0));
    QCOMPARE(m_mensagens.ultimo().botoes, PedidoMensagem::Ok);
    QCOMPARE(m_mensagens.ultimo().titulo, QStringLiteral("Tessela"));
    QCOMPARE(QGuiApplication::clipboard()->text(), Dados::A(0));
    QVERIFY(e.minimizada());

    // A double-click on a row's header activates it too.
    QVERIFY(e.activa());
    QHeaderView *cabecalho = e.grelha()->verticalHeader();
    QTest::mouseDClick(cabecalho->viewport(), Qt::LeftButton, {}, QPoint(5, cabecalho->sectionViewportPosition(1) + 5));
    QCOMPARE(m_mensagens.quantos(), 2);
    QCOMPARE(QGuiApplication::clipboard()->text(), Dados::A(1));
}

void TstFrmPesquisa::tamanhoMinimoEJanelasIndependentes()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    const QSize minimo(Twips::paraPixeis(12000), Twips::paraPixeis(5500));
    e.janela->resize(200, 100);
    QCOMPARE(e.janela->size(), minimo);
    e.janela->resize(minimo + QSize(300, 150));
    QCOMPARE(e.grelha()->width(), e.janela->width() - Twips::paraPixeis(240 + 750));

    // Minimised, the layout is left alone.
    auto *sub = qobject_cast<QMdiSubWindow *>(e.janela->parentWidget());
    const QRect grelha = e.grelha()->geometry();
    sub->showMinimized();
    QCOMPARE(e.grelha()->geometry(), grelha);
    sub->showNormal();

    // A second window is independent of the first.
    auto *outra = new frmPesquisa;
    e.area->addSubWindow(outra);
    outra->setBd(m_bd.get());
    outra->Mostra();
    e.procura(Dados::A(3));
    QCOMPARE(e.artigos(), QStringList{Dados::A(3)});
    QVERIFY(outra->grelha()->isHidden());
    QVERIFY(outra->ucInput()->Text().isEmpty());
}

void TstFrmPesquisa::sugestoesSempreAVista()
{
    Ensaio e(*m_bd);
    QVERIFY(e.activa());
    CampoInput *campo = e.janela->ucInput()->campo();
    QListWidget *lista = e.janela->ucInput()->lista();
    campo->setFocus();
    QTest::keyClicks(campo, QStringLiteral("zz"));
    QCOMPARE(lista->count(), 25);
    // The list fits in the window below the field (it is shorter than 25
    // lines there), and every highlighted line is in its view.
    const QRect naJanela(lista->mapTo(e.janela, QPoint(0, 0)), lista->size());
    QVERIFY2(e.janela->rect().contains(naJanela), qPrintable(QStringLiteral("%1 fora de %2").arg(naJanela.bottom()).arg(e.janela->height())));
    QVERIFY(lista->height() < 25 * campo->height());
    for (int linha = 0; linha < 25; ++linha) {
        QCOMPARE(lista->currentRow(), linha);
        QVERIFY2(lista->viewport()->rect().contains(lista->visualItemRect(lista->currentItem())), qPrintable(QString::number(linha)));
        QTest::keyClick(linha == 0 ? static_cast<QWidget *>(campo) : lista, Qt::Key_Down);
    }
    QCOMPARE(lista->currentRow(), 24);   // the last stays highlighted
}

TESSELA_TEST_MAIN(TstFrmPesquisa)
#include "tst_frmpesquisa.moc"
