#pragma once
#include <QDir>
#include <QStandardPaths>
#include <QString>

// The per-user class registry: which library serves each class identity.
// An INI file with one section per identity ("TesselaDados2016.Artigos")
// holding ClassId and Biblioteca (the library's path). TESSELA_REGISTO_CLASSES
// names another file (tests use their own).
namespace RegistoClasses {
inline QString ficheiro()
{
    const QByteArray outro = qgetenv("TESSELA_REGISTO_CLASSES");
    if (!outro.isEmpty())
        return QString::fromLocal8Bit(outro);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/tessela/classes.ini");
}

// Result codes of the registration entry points.
enum : int {
    S_Ok = 0,
    S_False = 1,
    E_Falha = int(0x80004005),
    E_ClasseIndisponivel = int(0x80040111),
    E_RegistoClasse = int(0x80040201),
};
}

// What DllGetClassObject hands out: a factory for one class.
class FabricaClasse
{
public:
    virtual ~FabricaClasse() = default;
    // A new object of the class (an Artigos* or BaseDados*), owned by the caller.
    virtual void *criaInstancia() = 0;
};

extern "C" {
// Writes the library's classes and path into the registry.
int DllRegisterServer();
// Removes them.
int DllUnregisterServer();
// The factory of the class with that class id.
int DllGetClassObject(const char *classId, FabricaClasse **fabrica);
// S_Ok when no object of the library is alive, S_False otherwise.
int DllCanUnloadNow();
}
