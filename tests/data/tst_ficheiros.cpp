#include "configuracao.h"
#include "ficheiroini.h"
#include "pastas.h"
#include "valores.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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
    void ficheiroIniValorDemasiadoLongo_data();
    void ficheiroIniValorDemasiadoLongo();
    void ficheiroIniValorEnormeRecusadoDepressa();
    void moedaSemDerivaENumerosPortugueses();
    void numerosLidosComoSeMostram_data();
    void numerosLidosComoSeMostram();
    void numerosMostradosLemSeIguais_data();
    void numerosMostradosLemSeIguais();
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

void TestFicheiros::ficheiroIniValorDemasiadoLongo_data()
{
    QTest::addColumn<int>("comprimento");
    QTest::addColumn<bool>("lido");
    QTest::addColumn<bool>("escapado");   // written between quotes, six bytes a character
    const int m = FicheiroIni::MaximoValor;
    QTest::newRow("no limite") << m << true << false;
    QTest::newRow("um a mais") << m + 1 << false << false;
    QTest::newRow("no limite, escapado") << m << true << true;
    QTest::newRow("um a mais, escapado") << m + 1 << false << true;
}

void TestFicheiros::ficheiroIniValorDemasiadoLongo()
{
    QFETCH(int, comprimento);
    QFETCH(bool, lido);
    QFETCH(bool, escapado);
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("config.mvk"));
    const QString valor(comprimento, escapado ? QChar(0x01) : QLatin1Char('x'));
    // Written by hand, as a damaged or hand-edited file would hold it.
    QFile f(nome);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QByteArray escrito = escapado ? "\"" + QByteArray("\\u0001").repeated(comprimento) + "\"" : valor.toUtf8();
    f.write("[Ligacao SQL]\nServidor=" + escrito + "\nUtilizador=tessela\n");
    f.close();

    FicheiroIni ini(nome);
    QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("Servidor")), lido ? valor : QString());
    if (lido) {
        QVERIFY(ini.erro().isEmpty());
    } else {
        QVERIFY2(ini.erro().contains(QStringLiteral("\"Servidor\" na secção [Ligacao SQL]")), qPrintable(ini.erro()));
        QVERIFY(ini.erro().contains(nome));
    }
    // The other values of the file are read all the same.
    QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("Utilizador")), QStringLiteral("tessela"));
    QVERIFY(ini.erro().isEmpty());
    // Writing refuses what reading would refuse, and leaves the file as it was.
    QCOMPARE(ini.Escreve(QStringLiteral("Ligacao SQL"), QStringLiteral("Senha"), valor), lido);
    QCOMPARE(ini.erro().contains(QStringLiteral("\"Senha\" na secção [Ligacao SQL]")), !lido);
    QCOMPARE(ini.Le(QStringLiteral("Ligacao SQL"), QStringLiteral("Senha")), lido ? valor : QString());
}

void TestFicheiros::ficheiroIniValorEnormeRecusadoDepressa()
{
    // 50 MB in one value: every value of the section answers at once, the
    // long one with a message naming it; the configuration reads the others.
    QTemporaryDir pasta;
    const QString nome = pasta.filePath(QStringLiteral("config.mvk"));
    QFile f(nome);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Ligacao SQL]\nServidor=SQLITE\nBase de dados=");
    f.write(QByteArray(50 * 1024 * 1024, 'a'));
    f.write("\nUtilizador=tessela\n");
    f.close();
    QElapsedTimer relogio;
    relogio.start();
    ConfigSql sql(nome);
    QVERIFY2(relogio.elapsed() < 2000, qPrintable(QString::number(relogio.elapsed())));
    QVERIFY(!sql.le());
    QVERIFY2(sql.erro().contains(QStringLiteral("\"Base de dados\" na secção [Ligacao SQL]")), qPrintable(sql.erro()));
    QCOMPARE(sql.Servidor(), QStringLiteral("SQLITE"));
    QCOMPARE(sql.BaseDados(), QString());
    QCOMPARE(sql.Utilizador(), QStringLiteral("tessela"));
    // Putting a good value in its place mends the file.
    sql.setValor(2, QStringLiteral("/tmp/demo.db"));
    QVERIFY2(sql.grava(), qPrintable(sql.erro()));
    QVERIFY(ConfigSql(nome).le());
    QVERIFY(QFileInfo(nome).size() < 1000);
}

void TestFicheiros::moedaSemDerivaENumerosPortugueses()
{
    Moeda m;
    QVERIFY(Moeda::leTexto(QStringLiteral("1.234,56"), &m));
    QCOMPARE(m.texto(), QStringLiteral("1.234,56"));
    QVERIFY(Moeda::leTexto(QStringLiteral("-0,005"), &m));
    QCOMPARE(m.texto(4, false), QStringLiteral("-0,0050"));

    // Ten cents added a thousand times is exactly one hundred.
    Moeda soma;
    for (int i = 0; i < 1000; ++i)
        soma = soma + Moeda::deDouble(0.1);
    QCOMPARE(soma, Moeda::deDecimos(1000000));
    QCOMPARE(Moeda::deValor(QVariant(19.99)).texto(), QStringLiteral("19,99"));
    QCOMPARE(Moeda::deValor(QVariant()).texto(), QStringLiteral("0,00"));
    // A driver's numeric text has a decimal point and no groups.
    QCOMPARE(Moeda::deValor(QVariant(QStringLiteral("1500.5000"))), Moeda::deDecimos(15005000));
    QCOMPARE(Moeda::deValor(QVariant(QStringLiteral("-12.5"))), Moeda::deDecimos(-125000));
}

void TestFicheiros::numerosLidosComoSeMostram_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<bool>("lido");
    QTest::addColumn<qint64>("decimos");   // ten-thousandths
    const auto bom = [](const char *t, qint64 d) { QTest::newRow(t) << QString::fromUtf8(t) << true << d; };
    const auto mau = [](const char *t) { QTest::newRow(t) << QString::fromUtf8(t) << false << qint64(0); };
    // A point is a thousands separator, before exactly three digits.
    bom("1.500", 15000000);
    bom("1.500,5", 15005000);
    bom("1500", 15000000);
    bom("12,5", 125000);
    bom("123.456", 1234560000);
    bom("1.234.567", 12345670000);
    bom("-1.500", -15000000);
    bom("+7", 70000);
    bom(",5", 5000);
    bom("0", 0);
    bom(" 12,50 € ", 125000);
    mau("1.5");          // two digits short
    mau("1.50");         // one short
    mau("1.5000");       // one too many
    mau("12.50");
    mau("1.500.5");
    mau("1234.567");     // a first group of four
    mau("0.500");        // a first group that begins with 0
    mau(".500");
    mau("1..500");
    mau("1.500,5.5");
    mau("1,500.5");
    mau("1,2,3");        // two commas
    mau("1 500");
    mau("1e5");
    mau("--1");
    mau("abc");
    mau("");
    mau(",");
    // Four decimals are held; a fifth would be rounded away.
    bom("0,0001", 1);
    mau("0,00001");
    // Fourteen whole digits are held, fifteen are not.
    bom("99999999999999", Q_INT64_C(999999999999990000));
    mau("999999999999999");
}

void TestFicheiros::numerosLidosComoSeMostram()
{
    QFETCH(QString, texto);
    QFETCH(bool, lido);
    QFETCH(qint64, decimos);
    Moeda m = Moeda::deDecimos(-99);
    QCOMPARE(Moeda::leTexto(texto, &m), lido);
    if (lido)
        QCOMPARE(m.decimosMilesimos(), decimos);
    bool ok = !lido;
    const double v = Valores::leNumero(texto, &ok);
    QCOMPARE(ok, lido);
    QCOMPARE(v, lido ? double(decimos) / 10000.0 : 0.0);
}

void TestFicheiros::numerosMostradosLemSeIguais_data()
{
    // Whole parts of 1, 3, 4, 6, 7, 9 and 10 digits, negatives and zero, with
    // the text of a whole-number column (0 places) and of a price (2 places).
    QTest::addColumn<qint64>("decimos");
    QTest::addColumn<QString>("inteiro");
    QTest::addColumn<QString>("preco");
    QTest::newRow("1") << qint64(70000) << "7" << "7,00";
    QTest::newRow("1 com decimal") << qint64(72500) << "7,25" << "7,25";
    QTest::newRow("3") << qint64(1235000) << "123,5" << "123,50";
    QTest::newRow("4") << qint64(12340000) << "1.234" << "1.234,00";
    QTest::newRow("6") << qint64(1234560000) << "123.456" << "123.456,00";
    QTest::newRow("7") << qint64(12345678900) << "1.234.567,89" << "1.234.567,89";
    QTest::newRow("9") << qint64(1234567890000) << "123.456.789" << "123.456.789,00";
    QTest::newRow("10") << Q_INT64_C(12345678901234) << "1.234.567.890,1234" << "1.234.567.890,1234";
    QTest::newRow("negativo") << qint64(-12345000) << "-1.234,5" << "-1.234,50";
    QTest::newRow("negativo pequeno") << qint64(-1) << "-0,0001" << "-0,0001";
    QTest::newRow("zero") << qint64(0) << "0" << "0,00";
}

void TestFicheiros::numerosMostradosLemSeIguais()
{
    QFETCH(qint64, decimos);
    QFETCH(QString, inteiro);
    QFETCH(QString, preco);
    const Moeda m = Moeda::deDecimos(decimos);
    QCOMPARE(m.textoCompleto(0), inteiro);
    QCOMPARE(m.textoCompleto(2), preco);
    for (const QString &t : {inteiro, preco, m.textoCompleto(0, false)}) {
        Moeda lida;
        QVERIFY2(Moeda::leTexto(t, &lida), qPrintable(t));
        QCOMPARE(lida, m);
    }
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
