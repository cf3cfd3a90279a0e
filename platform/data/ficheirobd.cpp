#include "ficheirobd.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/vfs.h>

namespace FicheiroBd {

Identidade identidade(const QString &caminho)
{
    struct stat s{};
    if (::stat(QFile::encodeName(caminho).constData(), &s) != 0)
        return {};
    return {true, quint64(s.st_dev), quint64(s.st_ino)};
}

bool emPastaDeRede(const QString &caminho)
{
    struct statfs s{};
    if (::statfs(QFile::encodeName(QFileInfo(caminho).absolutePath()).constData(), &s) != 0)
        return false;
    switch (static_cast<unsigned long>(s.f_type)) {
    case 0x6969UL:       // NFS
    case 0x517BUL:       // SMB
    case 0xFF534D42UL:   // CIFS
    case 0xFE534D42UL:   // SMB2
    case 0x564C0000UL:   // NCP
    case 0x65735546UL:   // FUSE (sshfs and the like)
    case 0x47504653UL:   // GPFS
    case 0x01021997UL:   // 9p
        return true;
    default:
        return false;
    }
}

} // namespace FicheiroBd
