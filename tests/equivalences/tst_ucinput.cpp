#include "avisoestado.h"
#include "baseequivalencias.h"
#include "campoinput.h"
#include "outroprograma.h"
#include "sugestoes.h"
#include "testmain.h"
#include "twips.h"
#include "ucinput.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>

namespace {
// A window holding the code box and a field to move the focus to.
struct Janela
{
    QWidget janela;
    UcInput *uc = new UcInput(&janela);
    QLineEdit *outro = new QLineEdit(&janela);
    QListWidget *lista = uc->lista();

    explicit Janela(LigacaoBd &bd)
    {
        uc->setGeometry(10, 10, Twips::paraPixeis(4095), Twips::paraPixeis(300));
        outro->setGeometry(10, 640, 200, 24);
        uc->setText(QString());
        uc->setBd(&bd);
        janela.resize(500, 700);
        janela.show();
        janela.activateWindow();
    }
    bool activa()
    {
        uc->campo()->setFocus();
        return QTest::qWaitForWindowActive(&janela);
    }
    // Types into the field, or blanks it; the suggestions load with each key.
    void escreve(const QString &texto, bool apagaAntes = false)
    {
        if (apagaAntes) {
            uc->campo()->selectAll();
            QTest::keyClick(uc->campo(), Qt::Key_Backspace);
        }
        for (QChar c : texto)   // keyClicks takes only ASCII
            QTest::sendKeyEvent(QTest::Click, uc->campo(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QStringList linhas() const
    {
        QStringList l;
        for (int i = 0; i < lista->count(); ++i)
            l << lista->item(i)->text();
        return l;
    }
    bool fechada() const { return uc->height() == uc->campo()->height(); }
};
} // namespace

class TstUcInput : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QCOMPARE(m_base.cria(), QString()); }
    void init()
    {
        m_pasta = std::make_unique<QTemporaryDir>();
        m_bd = std::make_unique<LigacaoBd>();
        QVERIFY(m_base.copia(*m_pasta, *m_bd));
    }
    void cleanup() { AvisoEstado::instala({}); }
    void sugestoesLiteraisEmMaiusculas();
    void codigosComparadosComoNoServidor();
    void recolheSemTextoOuSemResultado();
    void leituraOcupadaDizPorqueNaBarraDeEstado();
    void setaParaBaixo();
    void duploCliqueFocoEEnter();

private:
    BaseEquivalencias m_base;
    std::unique_ptr<QTemporaryDir> m_pasta;
    std::unique_ptr<LigacaoBd> m_bd;
};

void TstUcInput::sugestoesLiteraisEmMaiusculas()
{
    UcInput novo;   // a box without saved properties
    QCOMPARE(novo.Text(), QStringLiteral("123456789012345"));
    QCOMPARE(novo.BackColor(), QApplication::palette().color(QPalette::Button));

    Janela j(*m_bd);
    QVERIFY(j.activa());
    // Two blanks and lower case: the prefix ZZ. Of 30 codes, 25 in code order.
    j.escreve(QStringLiteral("  zz"));
    QCOMPARE(j.linhas(), Dados::codigosA0().mid(0, 25));
    QCOMPARE(j.lista->currentRow(), 0);
    QCOMPARE(j.uc->height(), j.lista->height() + Twips::paraPixeis(300));
    QVERIFY(j.lista->height() <= 25 * j.uc->campo()->height());

    // Quotes, %, _ and [ match only themselves.
    for (const QString &p : {"q'", "q%", "q_", "q["}) {
        j.escreve(p, true);
        QCOMPARE(j.linhas(), QStringList{p.toUpper() + QLatin1Char('1')});
    }
    // A quick-access code that is also an article's code is listed once; an
    // inactive article's code is not listed.
    j.escreve(Dados::A(2), true);
    QCOMPARE(j.linhas(), QStringList{Dados::A(2)});
    j.escreve(Dados::A(4), true);
    QVERIFY(j.linhas().isEmpty());

    // Text written by the program reloads the list at once, each time,
    // without opening the box.
    j.outro->setFocus();
    j.uc->setText(QStringLiteral("qa"));
    QCOMPARE(j.linhas(), QStringList{QStringLiteral("QA1")});
    j.uc->setText(QStringLiteral("q'"));
    QCOMPARE(j.linhas(), QStringList{QStringLiteral("Q'1")});
    QVERIFY(j.fechada());
}

void TstUcInput::codigosComparadosComoNoServidor()
{
    // Codes stored in either case, accented, and with a blank at the end.
    for (const char *c : {"çedilha", "ÇEDILHA2", "ãb", "é1", "É2", "CODX ", "codx1"})
        VERIFICA_BD(*m_bd, m_bd->Executa(QStringLiteral("INSERT INTO mvk_AcessoRapido VALUES (?)"), {QString::fromUtf8(c)}));
    Janela j(*m_bd);
    QVERIFY(j.activa());
    j.escreve(QStringLiteral("çe"));   // upper-cased to ÇE: finds the lower-case code too
    QCOMPARE(j.linhas(), (QStringList{QStringLiteral("çedilha"), QStringLiteral("ÇEDILHA2")}));
    j.escreve(QStringLiteral("Ã"), true);
    QCOMPARE(j.linhas(), QStringList{QStringLiteral("ãb")});
    j.escreve(QStringLiteral("é"), true);   // the accent counts: no E codes
    QCOMPARE(j.linhas(), (QStringList{QStringLiteral("é1"), QStringLiteral("É2")}));
    // A trailing blank is no part of the order: "CODX " comes before "codx1".
    j.escreve(QStringLiteral("codx"), true);
    QCOMPARE(j.linhas(), (QStringList{QStringLiteral("CODX "), QStringLiteral("codx1")}));
    // Stored as they were written.
    QCOMPARE(m_bd->valorUnico(QStringLiteral("SELECT CodigoArtigo FROM mvk_AcessoRapido WHERE CodigoArtigo = ?"),
                              {QStringLiteral("CEDILHA")}),
             QVariant());
    QCOMPARE(m_bd->valorUnico(QStringLiteral("SELECT CodigoArtigo FROM mvk_AcessoRapido WHERE CodigoArtigo = ?"),
                              {QStringLiteral("ÇEDILHA  ")})
                 .toString(),
             QStringLiteral("çedilha"));
}

void TstUcInput::recolheSemTextoOuSemResultado()
{
    Janela j(*m_bd);
    QVERIFY(j.activa());
    j.escreve(QStringLiteral("zz"));
    j.escreve(QString(), true);
    QVERIFY(j.linhas().isEmpty());
    QVERIFY(j.fechada());

    // Blanks never reach the database: the failure armed here hits the next real query.
    m_bd->falhaNoProximo(QStringLiteral("mvk_AcessoRapido"));
    j.escreve(QStringLiteral("   "));
    j.escreve(QStringLiteral("z"), true);
    QVERIFY(j.linhas().isEmpty());   // the failed query: an empty, collapsed box
    QVERIFY(j.fechada());
    j.escreve(QStringLiteral("z-0"));
    QCOMPARE(j.lista->count(), 25);

    // No match: empty, one field high, the caret stays in the field.
    j.escreve(QStringLiteral("X"));
    QVERIFY(j.linhas().isEmpty());
    QVERIFY(j.fechada());
    QCOMPARE(QApplication::focusWidget(), j.uc->campo());
}

void TstUcInput::leituraOcupadaDizPorqueNaBarraDeEstado()
{
    QStringList estado;
    AvisoEstado::instala([&](const QString &t) { estado << t; });
    Janela j(*m_bd);
    QVERIFY(j.activa());

    // Another program writing (its transaction open): the reads go on at once.
    LigacaoBd outra;
    const QString ficheiro = m_pasta->filePath(QStringLiteral("teste.db"));
    VERIFICA_BD(outra, outra.Abre(Dados::cadeia(ficheiro)));
    VERIFICA_BD(outra, outra.IniciaTransaccao());
    VERIFICA_BD(outra, outra.Executa(QStringLiteral("INSERT INTO mvk_AcessoRapido VALUES ('ZZ-000')")));
    j.escreve(QStringLiteral("zz"));
    QCOMPARE(j.linhas(), Dados::codigosA0().mid(0, 25));   // without the uncommitted code
    QVERIFY(estado.isEmpty());
    VERIFICA_BD(outra, outra.AnulaTransaccao());

    // A file in the rollback journal mode (another program opened it first
    // and keeps a transaction open, so it could not be switched): reads go on
    // while the other program writes, and when it holds the whole file the
    // list stays empty and the status line says why, after a short wait.
    outra.Fecha();
    m_bd->Fecha();
    OutroPrograma outro(ficheiro);
    QCOMPARE(outro.executa("PRAGMA journal_mode = DELETE; BEGIN IMMEDIATE"), QString());
    VERIFICA_BD(*m_bd, m_bd->Abre(Dados::cadeia(ficheiro)));
    QCOMPARE(m_bd->modoDiario(), QStringLiteral("delete"));
    j.escreve(QStringLiteral("zz"), true);
    QCOMPARE(j.lista->count(), 25);
    QCOMPARE(outro.executa("COMMIT; BEGIN EXCLUSIVE"), QString());
    j.escreve(QStringLiteral("-"));
    QVERIFY(j.linhas().isEmpty());
    QVERIFY(j.fechada());
    QCOMPARE(m_bd->ultimoErro().numero, ErroBd::BaseOcupada);
    QCOMPARE(estado, QStringList{QStringLiteral("A base de dados está ocupada por outro programa: as sugestões de códigos não foram lidas.")});
    // Once it lets go, the next key reads again and clears the notice.
    QCOMPARE(outro.executa("COMMIT"), QString());
    j.escreve(QStringLiteral("0"));
    QCOMPARE(j.lista->count(), 25);
    QCOMPARE(estado.last(), QString());

    // Another failure says what it was.
    m_bd->falhaNoProximo(QStringLiteral("mvk_AcessoRapido"), ErroBd::ErroDisco);
    j.escreve(QStringLiteral("1"));
    QVERIFY(j.linhas().isEmpty());
    QCOMPARE(estado.last(), QStringLiteral("As sugestões de códigos não foram lidas: Falha provocada para ensaio"));
}

void TstUcInput::setaParaBaixo()
{
    Janela j(*m_bd);
    QVERIFY(j.activa());
    j.escreve(QStringLiteral("zz"));
    QTest::keyClick(j.uc->campo(), Qt::Key_Down);
    QCOMPARE(j.lista->currentRow(), 1);
    QCOMPARE(QApplication::focusWidget(), j.lista);

    j.uc->campo()->setFocus();   // on the last suggestion the key does nothing
    j.lista->setCurrentRow(24);
    QTest::keyClick(j.uc->campo(), Qt::Key_Down);
    QCOMPARE(j.lista->currentRow(), 24);
    QCOMPARE(QApplication::focusWidget(), j.uc->campo());

    j.escreve(QStringLiteral("q_"), true);   // one suggestion: selected, the key does nothing
    QCOMPARE(j.lista->currentRow(), 0);
    QTest::keyClick(j.uc->campo(), Qt::Key_Down);
    QCOMPARE(j.lista->currentRow(), 0);
    QCOMPARE(QApplication::focusWidget(), j.uc->campo());
}

void TstUcInput::duploCliqueFocoEEnter()
{
    Janela j(*m_bd);
    QVERIFY(j.activa());
    QSignalSpy enter(j.uc, &UcInput::CarregouNoEnter), saiu(j.uc, &UcInput::perdeuFoco);
    j.escreve(QStringLiteral("zz"));
    const int altura = j.uc->height();
    const QPoint linha3 = j.lista->visualItemRect(j.lista->item(2)).center();
    QTest::mouseClick(j.lista->viewport(), Qt::LeftButton, {}, linha3);
    QTest::mouseDClick(j.lista->viewport(), Qt::LeftButton, {}, linha3);
    QCOMPARE(j.uc->Text(), QStringLiteral("ZZ-003"));
    QCOMPARE(QApplication::focusWidget(), j.uc->campo());
    QCoreApplication::processEvents();
    QCOMPARE(j.linhas(), QStringList{QStringLiteral("ZZ-003")});   // refilled, same size
    QCOMPARE(j.uc->height(), altura);
    QCOMPARE(saiu.count(), 0);

    QTest::keyClick(j.uc->campo(), Qt::Key_Return);
    QCOMPARE(enter.count(), 1);

    // Tab goes past the list and out of the box, which collapses.
    QTest::keyClick(j.uc->campo(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), j.outro);
    QCOMPARE(saiu.count(), 1);
    QVERIFY(j.linhas().isEmpty());
    QVERIFY(j.fechada());

    // Terminar collapses on demand.
    j.uc->campo()->setFocus();
    j.escreve(QStringLiteral("zz-0"), true);
    QVERIFY(!j.fechada());
    j.uc->Terminar();
    QVERIFY(j.linhas().isEmpty());
    QVERIFY(j.fechada());
}

TESSELA_TEST_MAIN(TstUcInput)
#include "tst_ucinput.moc"
