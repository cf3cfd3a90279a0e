#pragma once
#include <QString>

// Per-user folders. The user folder is the platform's per-user data folder;
// the temporary folder belongs to this user alone (created 0700, checked to be
// ours), never a folder other users could plant files in.
class PastasSistema
{
public:
    // The user's data folder, without a trailing separator.
    static QString PastaUtilizador();
    // This user's private temporary folder, with a trailing separator.
    // Empty when no private folder could be made.
    static QString PastaTemporaria();
};

class Ficheiros
{
public:
    // Creates the folder (and its parents) when missing; true when it exists afterwards.
    static bool GarantePasta(const QString &pasta);
};
