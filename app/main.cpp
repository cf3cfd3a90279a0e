// Tessela: the desktop program. It runs the start-up routine (folders,
// settings file, splash, database and ERP connections, main window) and lives
// as long as the main window; then it ends the ERP session and closes the
// database connection. It ends with a non-zero status when the ERP refuses
// the connection.
//
//   Tessela [ficheiro-de-configuracao]   starts the program
//   Tessela --version                    prints "Tessela <version>" (the package's version)
//
// With TESSELA_VERIFICA_ARRANQUE=1 in the environment it ends as soon as the
// main window is shown, with status 0: the check of an installed package
// (scripts/package-check.sh). A start that stops at a message box never ends.

#include "aplicacaotessela.h"
#include "arranque.h"
#include "editorconfiguracaoqt.h"
#include "janelastessela.h"
#include "versao.h"
#include "versaoprograma.h"

#include <QStringList>

#include <cstdio>

namespace {
// Without a display Qt would stop with a terse message of its own; say what
// is going on and how to run the program anyway.
bool haEcra()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", Versao::Titulo, Versao::Completa);
        return 0;
    }
    if (!haEcra()) {
        std::fputs("Não há ecrã gráfico (DISPLAY não está definido), por isso o Tessela não pode abrir a janela.\n"
                   "Num servidor sem ecrã, corra-o num ecrã virtual:\n"
                   "    xvfb-run -a -s \"-screen 0 1600x1000x24\" bash scripts/run.sh\n",
                   stderr);
        return 2;
    }

    AplicacaoTessela app(argc, argv);
    AplicacaoTessela::setApplicationName(VersaoPrograma::titulo());
    AplicacaoTessela::setOrganizationName(VersaoPrograma::titulo());
    AplicacaoTessela::setApplicationVersion(VersaoPrograma::texto());

    // The connection dialogs are the real ones; messages go to QMessageBox
    // (the message service's own default).
    EditorConfiguracaoQt editor;
    EditorConfiguracao::instala(&editor);

    // The command line, when given, names a settings file in the program's folder.
    const QString linhaComandos = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));

    JanelasTessela janelas;
    Arranque arranque(janelas, QCoreApplication::applicationDirPath(), linhaComandos);
    // The main window hands the start-up's ERP session to the windows that
    // generate documents.
    janelas.setSessao(&arranque.erp());
    if (!arranque.executa()) {
        EditorConfiguracao::instala(nullptr);
        return arranque.codigoSaida();
    }
    int resultado = 0;
    if (qEnvironmentVariableIntValue("TESSELA_VERIFICA_ARRANQUE") == 1)
        std::puts("Arranque concluído.");
    else
        resultado = app.exec();

    // Ending: the main window goes first, then the ERP session and the
    // database connection.
    janelas.libertaPrincipal();
    arranque.termina();
    EditorConfiguracao::instala(nullptr);
    return resultado;
}
