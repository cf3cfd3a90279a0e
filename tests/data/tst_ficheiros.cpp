#include "configuracao.h"
#include "ficheiroini.h"
#include "pastas.h"
#include "valores.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestFicheiros : public QObject
{
    Q_OBJECT
private slots:
    void ficheiroIniSeccoesEChavesComEspacos();
    void ficheiroIniGuardaValoresTalComoEscritos();
    void ficheiroIniSoDonoEFalhasClaras();
    void configuracoesGuardamOsValores();
    void pastasDoUtilizador();
    void moedaSemDerivaENumerosPortugueses();
    void datasComoOUtilizadorEscreve();
};

void TestFicheiros::ficheiroIniSeccoesEChavesComEspacos()
{
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("config.mvk"));
    FicheiroIni ini(nome);
    QCOMPARE(ini.Le(QStringLiteral("Encomenda Next"), QStringLiteral("Tipo documento")), QString());   // no file yet
    QVERIFY(ini.Escreve(QStringLiteral("Encomenda Next"), QStringLiteral("Tipo documento"), QStringLiteral("ENF")));
    QVERIFY(ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("Base de dados"), QStringLiteral("/tmp/a b/ç.db")));
    QVERIFY(ini.Escreve(QStringLiteral("Encomenda Next"), QStringLiteral("Serie"), QStringLiteral("1")));
    QVERIFY(ini.Escreve(QStringLiteral("encomenda next"), QStringLiteral("tipo documento"), QStringLiteral("ENC")));

    QFile f(nome);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString texto = QString::fromUtf8(f.readAll());
    QVERIFY2(texto.contains(QStringLiteral("[Encomenda Next]\nTipo documento=ENC\nSerie=1\n")), qPrintable(texto));
    QVERIFY(texto.contains(QStringLiteral("Base de dados=/tmp/a b/ç.db")));
    QCOMPARE(texto.count(QStringLiteral("Tipo documento")), 1);

    QCOMPARE(ini.Le(QStringLiteral("ENCOMENDA NEXT"), QStringLiteral("Tipo documento")), QStringLiteral("ENC"));
    QCOMPARE(ini.Le(QStringLiteral("Encomenda Next"), QStringLiteral("Armazem")), QString());
    QCOMPARE(ini.Le(QStringLiteral("Outra"), QStringLiteral("Serie")), QString());
    QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("Base de dados")), QStringLiteral("/tmp/a b/ç.db"));
}

void TestFicheiros::ficheiroIniGuardaValoresTalComoEscritos()
{
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("config.mvk"));
    FicheiroIni ini(nome);
    const QStringList valores = {QStringLiteral(" comeca"), QStringLiteral("acaba "), QStringLiteral("\tcom tab"),
                                 QStringLiteral("tab\t"), QStringLiteral("a=b"), QStringLiteral(";nao e comentario"),
                                 QStringLiteral("#nem este"), QStringLiteral("x\n[Ligacao ERP]\nEmpresa=OUTRA"),
                                 QStringLiteral("\"entre aspas\""), QStringLiteral("\""), QStringLiteral("c:\\pasta\\"),
                                 QStringLiteral("a\\nb"), QStringLiteral("x\r\ny\rz"), QStringLiteral("senha ção €"),
                                 QStringLiteral(" "), QString(), QStringLiteral("fim\u2028linha"), QStringLiteral("\\\"")};
    for (int i = 0; i < valores.size(); ++i)
        QVERIFY2(ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("K%1").arg(i), valores.at(i)), qPrintable(ini.erro()));
    for (int i = 0; i < valores.size(); ++i)
        QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("K%1").arg(i)), valores.at(i));
    // No value made a section or a key of its own, nor a line of its own.
    QCOMPARE(ini.Le(QStringLiteral("Ligacao ERP"), QStringLiteral("Empresa")), QString());
    QFile f(nome);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList linhas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(linhas.size(), valores.size() + 1);
    f.close();
    // Rewriting a value in place keeps it exact too.
    QVERIFY(ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("K0"), QStringLiteral("  outra  ")));
    QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("K0")), QStringLiteral("  outra  "));

    // Edited by hand: blanks around the "=" and at the line's ends are not
    // part of the value; quotes are taken off; an unknown escape stays.
    QVERIFY(f.open(QIODevice::Append));
    f.write("[A mao]\n  Servidor = x  \nSenha = \" a b \" \nCaminho=\"c:\\pasta\"\nAspas=\"so uma\n");
    f.close();
    QCOMPARE(ini.Le(QStringLiteral("A mao"), QStringLiteral("Servidor")), QStringLiteral("x"));
    QCOMPARE(ini.Le(QStringLiteral("A mao"), QStringLiteral("Senha")), QStringLiteral(" a b "));
    QCOMPARE(ini.Le(QStringLiteral("A mao"), QStringLiteral("Caminho")), QStringLiteral("c:\\pasta"));
    QCOMPARE(ini.Le(QStringLiteral("A mao"), QStringLiteral("Aspas")), QStringLiteral("\"so uma"));

    // Names that would break a line or the file's structure are refused.
    QVERIFY(!ini.Escreve(QStringLiteral("A]\n[B"), QStringLiteral("C"), QStringLiteral("v")));
    QVERIFY(!ini.Escreve(QStringLiteral("A"), QStringLiteral("C=D"), QStringLiteral("v")));
    QVERIFY(!ini.Escreve(QStringLiteral("A"), QStringLiteral("C\nD"), QStringLiteral("v")));
    QVERIFY(!ini.erro().isEmpty());
    QCOMPARE(ini.Le(QStringLiteral("B"), QStringLiteral("C")), QString());
}

void TestFicheiros::ficheiroIniSoDonoEFalhasClaras()
{
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("segredo.mvk"));
    FicheiroIni ini(nome);
    const auto soDono = [&] {
        return (QFile::permissions(nome) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther))
               == QFile::Permissions();
    };
    QVERIFY(ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("Senha"), QStringLiteral("x")));
    QVERIFY(soDono());
    // A file others could read (copied, or made by hand) is left to its owner
    // alone by the next write, every time.
    for (int vez = 0; vez < 2; ++vez) {
        QVERIFY(QFile::setPermissions(nome, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("Senha"), QStringLiteral("y%1").arg(vez)));
        QVERIFY(soDono());
    }

    if (geteuid() != 0) {   // root reads and writes whatever the permissions say
        QFile::setPermissions(nome, QFile::ReadOwner);
        QVERIFY(!ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("Senha"), QStringLiteral("y")));
        QVERIFY(ini.erro().contains(nome));
        QFile::setPermissions(nome, QFile::Permissions());
        QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("Senha")), QString());
        QVERIFY(!ini.erro().isEmpty());
    }
    FicheiroIni semPasta(pasta.filePath(QStringLiteral("nao/existe/config.mvk")));
    QVERIFY(!semPasta.Escreve(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));
    QVERIFY(!semPasta.erro().isEmpty());
}

void TestFicheiros::configuracoesGuardamOsValores()
{
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("config.mvk"));
    ConfigSql sql(nome);
    QVERIFY(!sql.completa());
    sql.setValor(1, QStringLiteral("SQLITE"));
    sql.setValor(2, QStringLiteral("/dados/erp.db"));
    sql.setValor(3, QStringLiteral("tessela"));
    QVERIFY(sql.grava());
    ConfigSql outra(nome);
    QVERIFY(outra.completa());
    QCOMPARE(outra.BaseDados(), QStringLiteral("/dados/erp.db"));
    QCOMPARE(outra.Senha(), QString());

    ConfigErp erp(nome);
    for (int i = 1; i <= 5; ++i)
        erp.setValor(i, i == 2 ? QString() : QStringLiteral("v%1").arg(i));
    QVERIFY(erp.completa());   // the password may be empty
    erp.setValor(4, QString());
    QVERIFY(!erp.completa());
}

void TestFicheiros::pastasDoUtilizador()
{
    const QString utilizador = PastasSistema::PastaUtilizador();
    QVERIFY(!utilizador.isEmpty());
    QVERIFY(!utilizador.endsWith(QLatin1Char('/')));
    const QString temp = PastasSistema::PastaTemporaria();
    QVERIFY(temp.endsWith(QLatin1Char('/')));
    QFileInfo fi(temp);
    QVERIFY(fi.isDir());
    QCOMPARE(fi.permissions() & (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup), QFile::Permissions());

    QTemporaryDir pasta;
    QVERIFY(Ficheiros::GarantePasta(pasta.filePath(QStringLiteral("a/b/c"))));
    QFile ficheiro(pasta.filePath(QStringLiteral("ficheiro")));
    ficheiro.open(QIODevice::WriteOnly);
    ficheiro.close();
    QVERIFY(!Ficheiros::GarantePasta(pasta.filePath(QStringLiteral("ficheiro/sub"))));
}

void TestFicheiros::moedaSemDerivaENumerosPortugueses()
{
    Moeda m;
    QVERIFY(Moeda::leTexto(QStringLiteral("12,50"), &m));
    QCOMPARE(m, Moeda::deDecimos(125000));
    QVERIFY(Moeda::leTexto(QStringLiteral("12.50"), &m));
    QCOMPARE(m, Moeda::deDecimos(125000));
    QVERIFY(Moeda::leTexto(QStringLiteral("1.234,56"), &m));
    QCOMPARE(m.texto(), QStringLiteral("1.234,56"));
    QVERIFY(Moeda::leTexto(QStringLiteral("1,234.5"), &m));
    QCOMPARE(m.texto(), QStringLiteral("1.234,50"));
    QVERIFY(Moeda::leTexto(QStringLiteral("1.234.567"), &m));
    QCOMPARE(m.texto(0), QStringLiteral("1.234.567"));
    QVERIFY(Moeda::leTexto(QStringLiteral("-0,005"), &m));
    QCOMPARE(m.texto(4, false), QStringLiteral("-0,0050"));
    for (const char *mau : {"", "abc", "12,5,3x", "1e5", "--1", "12€x"})
        QVERIFY2(!Moeda::leTexto(QString::fromUtf8(mau), &m), mau);

    // Ten cents added a thousand times is exactly one hundred.
    Moeda soma;
    for (int i = 0; i < 1000; ++i)
        soma = soma + Moeda::deDouble(0.1);
    QCOMPARE(soma, Moeda::deDecimos(1000000));
    QCOMPARE(Moeda::deValor(QVariant(19.99)).texto(), QStringLiteral("19,99"));
    QCOMPARE(Moeda::deValor(QVariant()).texto(), QStringLiteral("0,00"));
}

void TestFicheiros::datasComoOUtilizadorEscreve()
{
    const QDate esperado(2026, 3, 7);
    for (const char *t : {"07-03-2026", "7-3-2026", "07/03/2026", "07.03.2026", "07032026", "07-03-26", "2026-03-07"})
        QCOMPARE(Valores::leData(QString::fromLatin1(t)), esperado);
    for (const char *t : {"", "31-02-2026", "32-01-2026", "ontem", "07-13-2026"})
        QVERIFY2(!Valores::leData(QString::fromLatin1(t)).isValid(), t);
    QCOMPARE(Valores::textoData(esperado), QStringLiteral("07-03-2026"));
    QCOMPARE(Valores::comoData(QDateTime(esperado, QTime(10, 0))), esperado);
}

QTEST_GUILESS_MAIN(TestFicheiros)
#include "tst_ficheiros.moc"
