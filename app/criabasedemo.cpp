// tessela-demo: creates the embedded demo database (the ERP's tables with a
// believable trading company, and the system's own tables) and, on request,
// a settings file that points the program at it.
//
//   tessela-demo --prepara                 database and settings in the user folder, when missing
//   tessela-demo --ficheiro F [--grande] [--semente N] [--data AAAA-MM-DD] [--config C] [--substitui]

#include "basedadossql.h"
#include "cadeialigacao.h"
#include "configuracao.h"
#include "geradordemo.h"
#include "ligacaobd.h"
#include "pastas.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {
QTextStream out(stdout), err(stderr);

bool escreveConfiguracao(const QString &config, const QString &base)
{
    ConfigSql sql(config);
    sql.setValor(1, QStringLiteral("SQLITE"));
    sql.setValor(2, base);
    sql.setValor(3, QStringLiteral("tessela"));
    sql.setValor(4, QString());
    ConfigErp erp(config);
    erp.setValor(1, GeradorDemo::empresaDemo());
    erp.setValor(2, QString());
    erp.setValor(3, GeradorDemo::utilizadorDemo());
    erp.setValor(4, QString::number(QDate::currentDate().year()));
    erp.setValor(5, base);
    if (!sql.grava() || !erp.grava()) {
        err << "Não foi possível escrever " << config << ": " << (sql.erro().isEmpty() ? erp.erro() : sql.erro()) << Qt::endl;
        return false;
    }
    return true;
}

bool criaBase(const QString &ficheiro, const GeradorDemo::Escala &escala, quint64 semente, QDate hoje)
{
    // Build into a temporary file and rename at the end: an interrupted run
    // never leaves a half-made database under the real name.
    const QString temporario = ficheiro + QStringLiteral(".a-criar");
    for (const char *resto : {"", "-wal", "-shm"})
        QFile::remove(temporario + QLatin1String(resto));
    QFile vazio(temporario);
    if (!vazio.open(QIODevice::WriteOnly)) {
        err << "Não foi possível criar " << temporario << ": " << vazio.errorString() << Qt::endl;
        return false;
    }
    vazio.close();

    QElapsedTimer relogio;
    relogio.start();
    {
        LigacaoBd bd;
        CadeiaLigacao c;
        c.Servidor = QStringLiteral("SQLITE");
        c.BaseDados = temporario;
        if (!bd.Abre(c.Texto())) {
            err << bd.ultimoErro().descricao << Qt::endl;
            return false;
        }
        GeradorDemo gerador(semente, hoje);
        gerador.progresso = [&](const QString &tabela, qint64 n) {
            // Called as each table starts and then every so many rows: the
            // figure is the rows written so far.
            out << "  " << tabela << ": " << n << " linhas já escritas (" << relogio.elapsed() / 1000.0 << " s)" << Qt::endl;
        };
        if (!gerador.gera(bd, escala)) {
            err << "Falhou a geração: " << gerador.erro() << Qt::endl;
            return false;
        }
        BaseDadosSql esquema;
        esquema.setBd(&bd);
        esquema.VerificaBaseDeDados();
        if (!gerador.geraEquivalencias(bd, escala.equivalencias, escala.artigos)) {
            err << "Falhou a geração das equivalências: " << gerador.erro() << Qt::endl;
            return false;
        }
        bd.Executa(QStringLiteral("ANALYZE"));
        for (const char *tabela : {"Artigos", "Fornec", "Clientes", "DOCGCCAB", "docgclin", "mvk_equivalencias", "mvk_Precos_Forn",
                                   "mvk_Precos_Clientes", "mvk_Necessidades"}) {
            const QString nome = QLatin1String(tabela);
            const QVariant n = bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM ") + nome);
            if (!n.isNull())
                out << "  " << nome << ": " << n.toLongLong() << " linhas" << Qt::endl;
        }
        bd.Fecha();
    }
    // The old file goes with its write-ahead log: a log left beside the new
    // file would be read into it.
    for (const char *resto : {"", "-wal", "-shm"})
        QFile::remove(ficheiro + QLatin1String(resto));
    if (!QFile::rename(temporario, ficheiro)) {
        err << "Não foi possível dar o nome " << ficheiro << " à base criada." << Qt::endl;
        return false;
    }
    out << "Base de dados criada em " << ficheiro << " (" << relogio.elapsed() / 1000.0 << " s)" << Qt::endl;
    return true;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Cria a base de dados de demonstração do Tessela."));
    p.addHelpOption();
    p.addOption({QStringLiteral("prepara"), QStringLiteral("Cria na pasta do utilizador a base e a configuração que faltarem.")});
    p.addOption({QStringLiteral("ficheiro"), QStringLiteral("Ficheiro da base a criar."), QStringLiteral("ficheiro")});
    p.addOption({QStringLiteral("config"), QStringLiteral("Ficheiro de configuração a escrever."), QStringLiteral("ficheiro")});
    p.addOption({QStringLiteral("grande"), QStringLiteral("Escala de ensaio: 200 000 artigos, 2 000 000 linhas.")});
    p.addOption({QStringLiteral("semente"), QStringLiteral("Semente da geração."), QStringLiteral("n"), QStringLiteral("20261206")});
    p.addOption({QStringLiteral("data"), QStringLiteral("Data de referência (AAAA-MM-DD)."), QStringLiteral("data")});
    p.addOption({QStringLiteral("substitui"), QStringLiteral("Substitui uma base existente.")});
    p.process(app);

    const GeradorDemo::Escala escala = p.isSet(QStringLiteral("grande")) ? GeradorDemo::Escala::grande() : GeradorDemo::Escala::demo();
    const quint64 semente = p.value(QStringLiteral("semente")).toULongLong();
    const QDate hoje = p.isSet(QStringLiteral("data")) ? QDate::fromString(p.value(QStringLiteral("data")), Qt::ISODate)
                                                       : QDate::currentDate();
    if (!hoje.isValid()) {
        err << "Data inválida: " << p.value(QStringLiteral("data")) << Qt::endl;
        return 2;
    }

    if (p.isSet(QStringLiteral("prepara"))) {
        const QString pasta = PastasSistema::PastaUtilizador() + QStringLiteral("/morvik");
        if (!Ficheiros::GarantePasta(pasta)) {
            err << "Não foi possível criar a pasta " << pasta << Qt::endl;
            return 1;
        }
        const QString base = pasta + QStringLiteral("/tessela-demo.db");
        const QString config = pasta + QStringLiteral("/mvkTesselaArtigos.mvk");
        if (!QFileInfo::exists(base) && !criaBase(base, escala, semente, hoje))
            return 1;
        if (!QFileInfo::exists(config)) {
            if (!escreveConfiguracao(config, base))
                return 1;
            out << "Configuração escrita em " << config << Qt::endl;
        }
        out << "Base de demonstração: " << base << Qt::endl;
        return 0;
    }

    const QString ficheiro = p.value(QStringLiteral("ficheiro"));
    if (ficheiro.isEmpty()) {
        p.showHelp(2);
    }
    if (QFileInfo::exists(ficheiro) && !p.isSet(QStringLiteral("substitui"))) {
        err << ficheiro << " já existe (use --substitui)." << Qt::endl;
        return 1;
    }
    if (!criaBase(QFileInfo(ficheiro).absoluteFilePath(), escala, semente, hoje))
        return 1;
    if (p.isSet(QStringLiteral("config")) && !escreveConfiguracao(p.value(QStringLiteral("config")),
                                                                  QFileInfo(ficheiro).absoluteFilePath()))
        return 1;
    return 0;
}
