#include "criaobjecto.h"
#include "registoclasses.h"

#include <QFileInfo>
#include <QLibrary>
#include <QSettings>

namespace {
bool falha(QString *erro, const QString &texto)
{
    if (erro)
        *erro = texto;
    return false;
}
} // namespace

void *criaPorIdentidade(const QString &identidade, QString *erro)
{
    QSettings registo(RegistoClasses::ficheiro(), QSettings::IniFormat);
    registo.beginGroup(identidade);
    const QString classId = registo.value(QStringLiteral("ClassId")).toString();
    const QString caminho = registo.value(QStringLiteral("Biblioteca")).toString();
    registo.endGroup();
    if (classId.isEmpty() || caminho.isEmpty()) {
        falha(erro, QStringLiteral("A classe %1 não está registada (registo %2).").arg(identidade, RegistoClasses::ficheiro()));
        return nullptr;
    }
    // The library stays loaded for the life of the program, as a class server does.
    QLibrary biblioteca(caminho);
    if (!biblioteca.load()) {
        falha(erro, QStringLiteral("Não foi possível carregar %1 para a classe %2: %3")
                        .arg(caminho, identidade, biblioteca.errorString()));
        return nullptr;
    }
    using Obter = int (*)(const char *, FabricaClasse **);
    auto obter = reinterpret_cast<Obter>(biblioteca.resolve("DllGetClassObject"));
    FabricaClasse *fabrica = nullptr;
    if (!obter || obter(classId.toLatin1().constData(), &fabrica) != RegistoClasses::S_Ok || !fabrica) {
        falha(erro, QStringLiteral("A biblioteca %1 não fornece a classe %2.").arg(caminho, identidade));
        return nullptr;
    }
    return fabrica->criaInstancia();
}

bool registaBiblioteca(const QString &caminho, bool remover, QString *erro)
{
    QLibrary biblioteca(QFileInfo(caminho).absoluteFilePath());
    if (!biblioteca.load())
        return falha(erro, QStringLiteral("Não foi possível carregar %1: %2").arg(caminho, biblioteca.errorString()));
    using Registar = int (*)();
    auto registar = reinterpret_cast<Registar>(biblioteca.resolve(remover ? "DllUnregisterServer" : "DllRegisterServer"));
    if (!registar)
        return falha(erro, QStringLiteral("%1 não é uma biblioteca de classes registável.").arg(caminho));
    const int r = registar();
    if (r != RegistoClasses::S_Ok)
        return falha(erro, QStringLiteral("O registo de %1 falhou (código 0x%2).").arg(caminho).arg(uint(r), 8, 16, QLatin1Char('0')));
    return true;
}
