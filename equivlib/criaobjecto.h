#pragma once
#include <QString>
#include <memory>

// Creates a class of a registered library by its identity, as a host does:
// the registry names the library and the class id, the library is loaded and
// its factory makes the object. A class that is not registered, or a library
// that cannot be loaded, gives nullptr and a clear reason in erro.
//
//   auto artigos = CriaObjecto<Artigos>(&erro);
void *criaPorIdentidade(const QString &identidade, QString *erro);

template<class T>
std::unique_ptr<T> CriaObjecto(QString *erro = nullptr)
{
    return std::unique_ptr<T>(static_cast<T *>(criaPorIdentidade(QString::fromLatin1(T::Identidade), erro)));
}

// Calls a library's DllRegisterServer (or DllUnregisterServer), as an installer
// does. False with erro when the library cannot be loaded or refuses.
bool registaBiblioteca(const QString &caminho, bool remover, QString *erro);
