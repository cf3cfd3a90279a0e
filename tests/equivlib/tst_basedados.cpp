#include "artigos.h"
#include "baseequiv.h"
#include "mensagensgravadas.h"
#include "registoclasses.h"
#include "registotestes.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QLibrary>
#include <QSemaphore>
#include <QSettings>
#include <QThread>
#include <QtTest>

// BaseDados's check and creation of the equivalence schema, and the class
// registration hosts rely on to create BaseDados and Artigos.
class TstBaseDados : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(m_registo.ok, qPrintable(m_registo.erro));
        m_mensagens.instala();
    }
    void init() { m_mensagens.limpa(); }
    void primeiroESegundoArranqueEVista();
    void indiceAcrescentadoSemTocarNosDados();
    void falhasDaVerificacaoEDaCriacao();
    void doisProgramasACriarAoMesmoTempo();
    void registoDeIdaEVolta();

private:
    static std::unique_ptr<BaseDados> esquema(LigacaoBd &bd)
    {
        auto b = CriaObjecto<BaseDados>();
        b->setBd(&bd);
        return b;
    }
    static bool temIndice(BaseEquiv &b)
    {
        return b.conta(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'IX_mvk_equivalencias_Equivalente'")) == 1;
    }

    RegistoTestes m_registo;
    MensagensGravadas m_mensagens;
};

void TstBaseDados::primeiroESegundoArranqueEVista()
{
    BaseEquiv b(BaseEquiv::SoErp);
    auto bd = esquema(b.bd);
    QCOMPARE(bd->VerificaBaseDeDados(), true);
    for (const char *nome : {"mvk_AcessoRapido", "mvk_equivalencias", "mvk_view_JuntaCodigoArtigos"})
        QVERIFY2(b.bd.existeTabela(QString::fromLatin1(nome)), nome);
    QVERIFY(temIndice(b));
    QCOMPARE(b.pares(), 0);   // the probe's row is never written
    QCOMPARE(bd->VerificaBaseDeDados(), false);
    QCOMPARE(m_mensagens.quantos(), 0);

    // The view: each code once, without inactive articles or the empty code.
    for (const char *c : {"FIX100000", "TRA100001", ""})
        QVERIFY(b.artigo(QString::fromLatin1(c)));
    QVERIFY(b.artigo(QStringLiteral("INACTIVO1"), 1, 1, 1));
    QVERIFY(b.artigo(QStringLiteral("INACTIVO2"), 1, 1, 1));
    for (const char *c : {"fix100000", "V1000", "INACTIVO1"})
        VERIFICA_BD(b.bd, b.bd.Executa(QStringLiteral("INSERT INTO mvk_AcessoRapido VALUES (?)"), {QString::fromLatin1(c)}));
    QCOMPARE(b.bd.valorUnico(QStringLiteral("SELECT group_concat(upper(Codigo), '|') FROM "
                                            "(SELECT Codigo FROM mvk_view_JuntaCodigoArtigos ORDER BY 1)")).toString(),
             QStringLiteral("FIX100000|INACTIVO1|TRA100001|V1000"));
}

void TstBaseDados::indiceAcrescentadoSemTocarNosDados()
{
    // An installation made before the index existed.
    BaseEquiv b(BaseEquiv::SoErp);
    VERIFICA_BD(b.bd, b.bd.Executa(QStringLiteral("CREATE TABLE mvk_equivalencias (ArtigoPai varchar(15) NOT NULL, "
                                                  "ArtigoEquivalente varchar(25) NOT NULL, PRIMARY KEY (ArtigoPai, ArtigoEquivalente))")));
    for (int n = 0; n < 50; ++n)
        QVERIFY(b.par(QStringLiteral("A%1").arg(n % 7), QStringLiteral("E%1").arg(n)));
    const QString antes = b.codigosDe(QStringLiteral("A3"));
    QVERIFY(!temIndice(b));

    auto bd = esquema(b.bd);
    QCOMPARE(bd->VerificaBaseDeDados(), false);
    QVERIFY(temIndice(b));
    QCOMPARE(b.pares(), 50);
    QCOMPARE(b.codigosDe(QStringLiteral("A3")), antes);
    // The missing quick-access table and view are not repaired.
    QVERIFY(!b.bd.existeTabela(QStringLiteral("mvk_AcessoRapido")));
    QCOMPARE(m_mensagens.quantos(), 0);
}

void TstBaseDados::falhasDaVerificacaoEDaCriacao()
{
    // A statement of the creation fails: nothing is left half-made; one message.
    BaseEquiv b(BaseEquiv::SoErp);
    auto bd = esquema(b.bd);
    b.bd.falhaNoProximo(QStringLiteral("CREATE VIEW"));
    QCOMPARE(bd->VerificaBaseDeDados(), false);
    QVERIFY(!b.bd.existeTabela(QStringLiteral("mvk_AcessoRapido")));
    QCOMPARE(m_mensagens.quantos(), 1);
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("Erro -2147217900 (Falha provocada para ensaio)\r\n"
                                                        "Na função CriarTabelas do Módulo de classe BaseDados"));
    QCOMPARE(bd->VerificaBaseDeDados(), true);   // the next start creates them

    // The probe fails for another reason: reported, nothing created.
    b.bd.Fecha();
    QCOMPARE(bd->VerificaBaseDeDados(), false);
    QVERIFY(m_mensagens.ultimo().texto.startsWith(QStringLiteral("Erro -2147467259 (")));
    QVERIFY(m_mensagens.ultimo().texto.endsWith(QStringLiteral(")\r\nNa função VerificaBaseDeDados do Módulo de classe BaseDados")));
    QCOMPARE(m_mensagens.ultimo().titulo, QStringLiteral("TesselaDados2016"));
}

namespace {
// The other program: it begins creating the schema on its own connection,
// lets the test go on, and commits a moment later.
class OutroPrograma : public QThread
{
public:
    QString ficheiro;
    QSemaphore aCriar;
    bool ok = false;

protected:
    void run() override
    {
        LigacaoBd bd;
        bd.Abre(BaseEquiv::cadeia(ficheiro));
        Transaccao t(bd);
        ok = esquemaDe(bd)->CriarTabelas();
        aCriar.release();
        msleep(400);
        ok = ok && t.confirma();
    }
    static std::unique_ptr<BaseDados> esquemaDe(LigacaoBd &bd)
    {
        auto b = CriaObjecto<BaseDados>();
        b->setBd(&bd);
        return b;
    }
};
} // namespace

void TstBaseDados::doisProgramasACriarAoMesmoTempo()
{
    BaseEquiv b(BaseEquiv::SoErp);
    OutroPrograma outro;
    outro.ficheiro = b.ficheiro;
    outro.start();
    QVERIFY(outro.aCriar.tryAcquire(1, 10000));
    // Our probe still finds no table; our CREATE waits for the other program
    // and then finds the tables there: the start goes on without a message.
    auto bd = esquema(b.bd);
    QElapsedTimer espera;
    espera.start();
    QCOMPARE(bd->VerificaBaseDeDados(), false);
    QVERIFY2(espera.elapsed() >= 200, "the check did not wait to create the tables");
    QVERIFY(outro.wait(10000) && outro.ok);
    QCOMPARE(m_mensagens.quantos(), 0);
    QCOMPARE(b.bd.nivelTransaccao(), 0);
    auto artigos = CriaObjecto<Artigos>();
    artigos->setBd(&b.bd);
    artigos->setCodigo(QStringLiteral("FIX100000"));
    artigos->Equivalencia_Escrever(QStringLiteral("V1"));
    QCOMPARE(b.pares(), 1);
}

void TstBaseDados::registoDeIdaEVolta()
{
    using namespace RegistoClasses;
    QLibrary biblioteca(QStringLiteral(TESSELA_BIBLIOTECA_CLASSES));
    QVERIFY2(biblioteca.load(), qPrintable(biblioteca.errorString()));
    auto podeDescarregar = reinterpret_cast<int (*)()>(biblioteca.resolve("DllCanUnloadNow"));
    auto fabricaDe = reinterpret_cast<int (*)(const char *, FabricaClasse **)>(biblioteca.resolve("DllGetClassObject"));
    QVERIFY(podeDescarregar && fabricaDe);

    QString erro;
    {
        auto artigos = CriaObjecto<Artigos>(&erro);
        auto bd = CriaObjecto<BaseDados>(&erro);
        QVERIFY2(artigos && bd, qPrintable(erro));
        bd.reset();
        QCOMPARE(podeDescarregar(), int(S_False));
    }
    QCOMPARE(podeDescarregar(), int(S_Ok));
    FabricaClasse *fabrica = nullptr;
    QCOMPARE(fabricaDe("{00000000-0000-0000-0000-000000000000}", &fabrica), int(E_ClasseIndisponivel));
    QVERIFY(!fabrica);

    // Unregistered, or registered to a library that is gone: refused with a reason.
    QVERIFY2(registaBiblioteca(QStringLiteral(TESSELA_BIBLIOTECA_CLASSES), true, &erro), qPrintable(erro));
    QVERIFY(!CriaObjecto<Artigos>(&erro) && !CriaObjecto<BaseDados>());
    QCOMPARE(erro, QStringLiteral("A classe TesselaDados2016.Artigos não está registada (registo %1).").arg(ficheiro()));
    {
        QSettings registo(ficheiro(), QSettings::IniFormat);
        registo.setValue(QStringLiteral("TesselaDados2016.Artigos/ClassId"), QString::fromLatin1(Artigos::ClassId));
        registo.setValue(QStringLiteral("TesselaDados2016.Artigos/Biblioteca"), QStringLiteral("/nao/existe/lib.so"));
    }
    QVERIFY(!CriaObjecto<Artigos>(&erro));
    QVERIFY2(erro.startsWith(QStringLiteral("Não foi possível carregar /nao/existe/lib.so")), qPrintable(erro));

    QVERIFY2(registaBiblioteca(QStringLiteral(TESSELA_BIBLIOTECA_CLASSES), false, &erro), qPrintable(erro));
    QVERIFY(CriaObjecto<Artigos>());
}

TESSELA_TEST_MAIN(TstBaseDados)
#include "tst_basedados.moc"
