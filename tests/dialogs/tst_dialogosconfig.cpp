#include "configuracao.h"
#include "dialogoconfigerp.h"
#include "dialogoconfigsql.h"
#include "ficheiroini.h"
#include "mensagensgravadas.h"
#include "testmain.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

// The real settings dialogs, shown without blocking, against a settings file in
// a temporary folder; every message is recorded, none is shown.
class TstDialogosConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sqlGuardaOuCancela();
    void sqlCampoObrigatorioFicaNaJanela();
    void sqlTestarLigacaoDizSeFuncionou();
    void ficheiroQueNaoSePodeEscreverMantemAJanela();
    void erpGuardaOsCincoValores();

private:
    void abre(QWidget &d)
    {
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
    }
    template<class T = QLineEdit> static T *w(QWidget &d, const char *nome)
    {
        T *c = d.findChild<T *>(QLatin1String(nome));
        if (!c)
            qFatal("%s em falta", nome);
        return c;
    }
    static void escreve(QWidget &d, const char *nome, const QString &texto)
    {
        w(d, nome)->clear();
        QTest::keyClicks(w(d, nome), texto);
    }
    static void clica(QWidget &d, const char *nome) { QTest::mouseClick(w<QAbstractButton>(d, nome), Qt::LeftButton); }

    QTemporaryDir m_pasta;
    QString m_ficheiro;
    MensagensGravadas m_mensagens;
};

void TstDialogosConfig::init()
{
    m_mensagens.limpa();
    m_mensagens.instala();
    m_ficheiro = m_pasta.filePath(QStringLiteral("%1.mvk").arg(QTest::currentTestFunction()));
    ConfigSql c(m_ficheiro);
    for (int i = 1; i <= 3; ++i)
        c.setValor(i, QStringList{"srv01\\SAGE", "EMPRESA", "sa"}.at(i - 1));
    QVERIFY(c.grava());
}

void TstDialogosConfig::sqlGuardaOuCancela()
{
    ConfigSql config(m_ficheiro);
    DialogoConfigSql cancelado(config);
    abre(cancelado);
    escreve(cancelado, "servidor", QStringLiteral("outro"));
    clica(cancelado, "cancelar");
    QCOMPARE(cancelado.result(), int(QDialog::Rejected));
    QCOMPARE(ConfigSql(m_ficheiro).Servidor(), QStringLiteral("srv01\\SAGE"));

    DialogoConfigSql d(config);
    abre(d);
    // The stored values are shown; the password is masked.
    QVERIFY(w<QRadioButton>(d, "sqlServer")->isChecked());
    QCOMPARE(w(d, "servidor")->text(), QStringLiteral("srv01\\SAGE"));
    QCOMPARE(w(d, "senha")->echoMode(), QLineEdit::Password);
    QVERIFY(!w<QPushButton>(d, "procurar")->isEnabled());

    clica(d, "sqlite");
    QVERIFY(!w(d, "servidor")->isEnabled());
    escreve(d, "baseDados", QStringLiteral("/dados/tessela.db"));
    escreve(d, "senha", QStringLiteral("s3gr;edo"));
    clica(d, "confirmar");
    QCOMPARE(m_mensagens.quantos(), 0);
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!d.isVisible());
    ConfigSql lida(m_ficheiro);
    QCOMPARE(lida.Servidor(), QStringLiteral("SQLITE"));
    QCOMPARE(lida.BaseDados(), QStringLiteral("/dados/tessela.db"));
    QCOMPARE(lida.Utilizador(), QStringLiteral("sa"));
    QCOMPARE(lida.Senha(), QStringLiteral("s3gr;edo"));
    QCOMPARE(config.Servidor(), QStringLiteral("SQLITE"));
}

void TstDialogosConfig::sqlCampoObrigatorioFicaNaJanela()
{
    ConfigSql config(m_ficheiro);
    config.Edita = false;
    DialogoConfigSql d(config);
    abre(d);
    QVERIFY(d.windowTitle().contains(QLatin1String("inicial")));
    w(d, "baseDados")->clear();
    clica(d, "confirmar");
    QVERIFY(d.isVisible());
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("Indique a base de dados."));
    QCOMPARE(QApplication::focusWidget(), w(d, "baseDados"));
    QCOMPARE(ConfigSql(m_ficheiro).BaseDados(), QStringLiteral("EMPRESA"));

    // SQLite ignores the login but the file needs one: choosing it fills it in.
    w(d, "utilizador")->clear();
    clica(d, "sqlite");
    QVERIFY(!w(d, "utilizador")->text().isEmpty());
}

void TstDialogosConfig::sqlTestarLigacaoDizSeFuncionou()
{
    const QString base = m_pasta.filePath(QStringLiteral("teste.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("criacao"));
        db.setDatabaseName(base);
        QVERIFY(db.open());
        db.exec(QStringLiteral("CREATE TABLE t (x)"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("criacao"));

    ConfigSql config(m_ficheiro);
    DialogoConfigSql d(config);
    abre(d);
    clica(d, "sqlite");
    escreve(d, "baseDados", base);
    clica(d, "testar");
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("Ligação estabelecida com sucesso."));
    QCOMPARE(m_mensagens.ultimo().icone, PedidoMensagem::Informacao);

    escreve(d, "baseDados", m_pasta.filePath(QStringLiteral("nao-existe.db")));
    clica(d, "testar");
    const QString falha = m_mensagens.ultimo().texto;
    QCOMPARE(m_mensagens.ultimo().icone, PedidoMensagem::Critico);
    QVERIFY2(falha.startsWith(QStringLiteral("Não foi possível estabelecer a ligação."))
                 && falha.contains(QLatin1String("nao-existe.db")), qPrintable(falha));
    QVERIFY(d.isVisible());   // testing neither closes nor stores
    QCOMPARE(ConfigSql(m_ficheiro).Servidor(), QStringLiteral("srv01\\SAGE"));
}

void TstDialogosConfig::ficheiroQueNaoSePodeEscreverMantemAJanela()
{
    // A read-only file stops an ordinary user; tests may run as root, whom a
    // folder in the file's place still stops.
    QString inescrevivel = m_ficheiro;
    QFile::setPermissions(inescrevivel, QFileDevice::ReadOwner);
    if (QFileInfo(inescrevivel).isWritable()) {
        inescrevivel = m_pasta.filePath(QStringLiteral("pasta.mvk"));
        QVERIFY(QDir().mkpath(inescrevivel));
    }
    ConfigSql sql(inescrevivel);
    for (int i = 1; i <= 3; ++i)
        sql.setValor(i, QStringLiteral("v%1").arg(i));
    DialogoConfigSql d(sql);
    abre(d);
    escreve(d, "servidor", QStringLiteral("srv02"));
    clica(d, "confirmar");
    QVERIFY(d.isVisible());
    QCOMPARE(m_mensagens.quantos(), 1);
    QCOMPARE(m_mensagens.ultimo().icone, PedidoMensagem::Critico);
    const QString texto = m_mensagens.ultimo().texto;
    QVERIFY2(texto.startsWith(QStringLiteral("Não foi possível guardar a configuração"))
                 && texto.contains(QDir::toNativeSeparators(inescrevivel)), qPrintable(texto));
    QCOMPARE(sql.Servidor(), QStringLiteral("v1"));   // the caller's object is left as it was

    ConfigErp erp(inescrevivel);
    for (int i = 1; i <= 5; ++i)
        erp.setValor(i, QStringLiteral("v%1").arg(i));
    DialogoConfigErp e(erp);
    abre(e);
    clica(e, "confirmar");
    QVERIFY(e.isVisible());
    QVERIFY(m_mensagens.ultimo().texto.startsWith(QStringLiteral("Não foi possível guardar a configuração")));
}

void TstDialogosConfig::erpGuardaOsCincoValores()
{
    ConfigErp config(m_ficheiro);
    DialogoConfigErp d(config);
    abre(d);
    QCOMPARE(w(d, "senha")->echoMode(), QLineEdit::Password);
    escreve(d, "empresa", QStringLiteral("DEMO"));
    escreve(d, "utilizador", QStringLiteral("admin"));
    escreve(d, "exercicio", QStringLiteral("2024"));
    clica(d, "confirmar");
    QCOMPARE(m_mensagens.ultimo().texto, QStringLiteral("Indique a base de dados do ERP."));
    escreve(d, "baseErp", QStringLiteral("/dados/erp.db"));
    clica(d, "confirmar");   // the password may stay empty
    QCOMPARE(d.result(), int(QDialog::Accepted));

    ConfigErp lida(m_ficheiro);
    QCOMPARE(lida.valor(1), QStringLiteral("DEMO"));
    QCOMPARE(lida.valor(2), QString());
    QCOMPARE(lida.valor(3), QStringLiteral("admin"));
    QCOMPARE(lida.valor(4), QStringLiteral("2024"));
    QCOMPARE(lida.valor(5), QStringLiteral("/dados/erp.db"));
    QCOMPARE(ConfigSql(m_ficheiro).Servidor(), QStringLiteral("srv01\\SAGE"));   // other section untouched
}

TESSELA_TEST_MAIN(TstDialogosConfig)
#include "tst_dialogosconfig.moc"
