// tessela-tour <output folder>: runs the program's windows offscreen on a demo
// database made afresh (fixed seed and reference date) in a temporary folder,
// and writes a PNG of each window in a meaningful state. Optional further
// arguments name the pages to run (all when none).
//
// Nothing touches the user's own folders, settings or class registry: the
// data, settings and runtime folders and the class registry all point into the
// temporary folder for the run.

#include "contextotour.h"
#include "paginatour.h"

#include "aplicacaotessela.h"
#include "basedados.h"
#include "cadeialigacao.h"
#include "configuracao.h"
#include "criaobjecto.h"
#include "encomendanext.h"
#include "geradordemo.h"
#include "ligacaobd.h"
#include "listarespostas.h"
#include "mensagensgravadas.h"
#include "programa.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {
QTextStream out(stdout), err(stderr);

// The offscreen platform says at every window that it has no window manager
// features; that is expected here and only hides the tour's own output.
QtMessageHandler g_avisos = nullptr;

void filtraAvisos(QtMsgType tipo, const QMessageLogContext &contexto, const QString &texto)
{
    if (tipo == QtWarningMsg && texto.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (g_avisos)
        g_avisos(tipo, contexto, texto);
}

// The connection dialogs never open during the tour: pages build them themselves.
struct EditorRecusa : EditorConfiguracao
{
    bool editaSql(ConfigSql &) override { return false; }
    bool editaErp(ConfigErp &) override { return false; }
};

bool criaBase(const QString &ficheiro)
{
    QFile vazio(ficheiro);
    if (!vazio.open(QIODevice::WriteOnly)) {
        err << "Não foi possível criar " << ficheiro << ": " << vazio.errorString() << Qt::endl;
        return false;
    }
    vazio.close();
    CadeiaLigacao c;
    c.Servidor = QStringLiteral("SQLITE");
    c.BaseDados = ficheiro;
    LigacaoBd bd;
    if (!bd.Abre(c.Texto())) {
        err << bd.ultimoErro().descricao << Qt::endl;
        return false;
    }
    const GeradorDemo::Escala escala = GeradorDemo::Escala::demo();
    GeradorDemo gerador(ContextoTour::semente(), ContextoTour::hoje());
    if (!gerador.gera(bd, escala)) {
        err << "Falhou a geração da base: " << gerador.erro() << Qt::endl;
        return false;
    }
    QString erro;
    auto esquema = CriaObjecto<BaseDados>(&erro);
    if (!esquema) {
        err << erro << Qt::endl;
        return false;
    }
    esquema->setBd(&bd);
    esquema->VerificaBaseDeDados();
    if (!gerador.geraEquivalencias(bd, escala.equivalencias, escala.artigos)) {
        err << "Falhou a geração das equivalências: " << gerador.erro() << Qt::endl;
        return false;
    }
    return true;
}

bool escreveConfiguracao(const QString &ficheiro, const QString &base)
{
    ConfigSql sql(ficheiro);
    const QStringList valoresSql{QStringLiteral("SQLITE"), base, QStringLiteral("tessela"), QString()};
    for (int i = 0; i < valoresSql.size(); ++i)
        sql.setValor(i + 1, valoresSql.at(i));
    ConfigErp erp(ficheiro);
    const QStringList valoresErp{GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(),
                                 QString::number(ContextoTour::hoje().year()), base};
    for (int i = 0; i < valoresErp.size(); ++i)
        erp.setValor(i + 1, valoresErp.at(i));
    QString a, b, c, d;
    return sql.grava() && erp.grava() && GetEncomendaNext(ficheiro, a, b, c, d);
}
} // namespace

int main(int argc, char *argv[])
{
    // Always offscreen: the pictures must not depend on the desktop at hand.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    g_avisos = qInstallMessageHandler(filtraAvisos);
    QTemporaryDir pasta;
    if (!pasta.isValid()) {
        err << "Não foi possível criar uma pasta temporária." << Qt::endl;
        return 1;
    }
    const QString execucao = pasta.filePath(QStringLiteral("execucao"));
    QDir().mkpath(execucao);
    QFile::setPermissions(execucao, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_DATA_HOME", pasta.filePath(QStringLiteral("dados")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", pasta.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", execucao.toLocal8Bit());
    qputenv("TESSELA_REGISTO_CLASSES", pasta.filePath(QStringLiteral("classes.ini")).toLocal8Bit());

    AplicacaoTessela app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, pasta.filePath(QStringLiteral("config")));

    const QStringList argumentos = QCoreApplication::arguments().mid(1);
    const QString saida = QDir(argumentos.value(0, QStringLiteral("screenshots"))).absolutePath();
    const QStringList escolhidas = argumentos.mid(1);
    if (!QDir().mkpath(saida)) {
        err << "Não foi possível criar a pasta " << saida << Qt::endl;
        return 1;
    }

    QString erro;
    if (!registaBiblioteca(QStringLiteral(TESSELA_BIBLIOTECA_CLASSES), false, &erro)) {
        err << erro << Qt::endl;
        return 1;
    }
    out << "A criar a base de demonstração..." << Qt::endl;
    const QString base = pasta.filePath(QStringLiteral("tessela-demo.db"));
    const QString configuracao = pasta.filePath(QStringLiteral("mvkTesselaArtigos.mvk"));
    if (!criaBase(base) || !escreveConfiguracao(configuracao, base))
        return 1;
    Programa::setPastaPrograma(QCoreApplication::applicationDirPath());
    Programa::setFicheiroConfiguracao(configuracao);
    Programa::setPastaTemporaria(execucao + QLatin1Char('/'));

    LigacaoBd bd;
    CadeiaLigacao cadeia;
    cadeia.Servidor = QStringLiteral("SQLITE");
    cadeia.BaseDados = base;
    if (!bd.Abre(cadeia.Texto())) {
        err << bd.ultimoErro().descricao << Qt::endl;
        return 1;
    }

    MensagensGravadas mensagens;
    mensagens.instala();
    ListaRespostas listas;
    EditorRecusa editor;
    EditorConfiguracao::instala(&editor);

    QList<PaginaTour> paginas = PaginaTour::todas();
    std::stable_sort(paginas.begin(), paginas.end(), [](const PaginaTour &a, const PaginaTour &b) {
        return a.ordem != b.ordem ? a.ordem < b.ordem : a.nome < b.nome;
    });
    int corridas = 0;
    int falhas = 0;
    {
        ContextoTour contexto(saida, base, configuracao, bd, mensagens, listas);
        for (const PaginaTour &p : paginas) {
            if (!escolhidas.isEmpty() && !escolhidas.contains(p.nome))
                continue;
            out << p.nome << Qt::endl;
            const int antes = int(contexto.gravados().size());
            p.corre(contexto);
            contexto.fechaPrincipal();
            ++corridas;
            if (contexto.gravados().size() == antes) {
                err << "  a página " << p.nome << " não gravou nenhuma imagem" << Qt::endl;
                ++falhas;
            }
        }
        out << contexto.gravados().size() << " imagens em " << QDir::toNativeSeparators(saida) << Qt::endl;
    }
    EditorConfiguracao::instala(nullptr);
    bd.Fecha();
    if (corridas == 0) {
        err << "Nenhuma página com esse nome." << Qt::endl;
        return 1;
    }
    return falhas == 0 ? 0 : 1;
}
