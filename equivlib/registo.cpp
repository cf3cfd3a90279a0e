// The library's registration entry points: a host finds a class's library in
// the per-user registry and asks it for the class's factory.

#include "artigossql.h"
#include "basedadossql.h"
#include "contagemobjectos.h"
#include "registoclasses.h"

#include <QFileInfo>
#include <QSettings>

#include <dlfcn.h>

namespace {
template<class T>
class Fabrica : public FabricaClasse
{
public:
    void *criaInstancia() override { return static_cast<typename T::Interface *>(new T); }
};

struct ArtigosCriavel : ArtigosSql { using Interface = Artigos; };
struct BaseDadosCriavel : BaseDadosSql { using Interface = BaseDados; };

struct Classe
{
    const char *identidade;
    const char *classId;
    FabricaClasse *fabrica;
};

const Classe *classes()
{
    static Fabrica<ArtigosCriavel> artigos;
    static Fabrica<BaseDadosCriavel> baseDados;
    static const Classe lista[] = {
        {Artigos::Identidade, Artigos::ClassId, &artigos},
        {BaseDados::Identidade, BaseDados::ClassId, &baseDados},
        {nullptr, nullptr, nullptr},
    };
    return lista;
}

QString caminhoDestaBiblioteca()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}
} // namespace

extern "C" Q_DECL_EXPORT int DllRegisterServer()
{
    const QString caminho = caminhoDestaBiblioteca();
    if (caminho.isEmpty())
        return RegistoClasses::E_RegistoClasse;
    QSettings registo(RegistoClasses::ficheiro(), QSettings::IniFormat);
    for (const Classe *c = classes(); c->identidade; ++c) {
        registo.beginGroup(QString::fromLatin1(c->identidade));
        registo.setValue(QStringLiteral("ClassId"), QString::fromLatin1(c->classId));
        registo.setValue(QStringLiteral("Biblioteca"), caminho);
        registo.endGroup();
    }
    registo.sync();
    return registo.status() == QSettings::NoError ? RegistoClasses::S_Ok : RegistoClasses::E_RegistoClasse;
}

extern "C" Q_DECL_EXPORT int DllUnregisterServer()
{
    QSettings registo(RegistoClasses::ficheiro(), QSettings::IniFormat);
    for (const Classe *c = classes(); c->identidade; ++c)
        registo.remove(QString::fromLatin1(c->identidade));
    registo.sync();
    return registo.status() == QSettings::NoError ? RegistoClasses::S_Ok : RegistoClasses::E_RegistoClasse;
}

extern "C" Q_DECL_EXPORT int DllGetClassObject(const char *classId, FabricaClasse **fabrica)
{
    if (!fabrica)
        return RegistoClasses::E_Falha;
    *fabrica = nullptr;
    for (const Classe *c = classes(); c->identidade; ++c)
        if (classId && qstricmp(classId, c->classId) == 0) {
            *fabrica = c->fabrica;
            return RegistoClasses::S_Ok;
        }
    return RegistoClasses::E_ClasseIndisponivel;
}

extern "C" Q_DECL_EXPORT int DllCanUnloadNow()
{
    return ContagemObjectos::vivos() == 0 ? RegistoClasses::S_Ok : RegistoClasses::S_False;
}
