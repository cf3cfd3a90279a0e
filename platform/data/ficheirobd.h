#pragma once
#include <QString>

// What the connection needs to know about a SQLite file on disk.
namespace FicheiroBd {

// Which file a path names: two identities are equal when the path still
// names the same file (not a copy put in its place).
struct Identidade
{
    bool existe = false;
    quint64 dispositivo = 0;
    quint64 no = 0;
    bool operator==(const Identidade &o) const
    {
        return existe == o.existe && dispositivo == o.dispositivo && no == o.no;
    }
};
Identidade identidade(const QString &caminho);

// Whether the file lies in a network folder (NFS, SMB/CIFS and the like),
// where SQLite's write-ahead log cannot be used: it needs memory shared by
// every program that opens the file, on one machine.
bool emPastaDeRede(const QString &caminho);

} // namespace FicheiroBd
