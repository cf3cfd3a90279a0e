// The loadable SQLite extension that gives the sqlite3 shell (or any other
// SQLite program) the comparison of codes the program registers on its own
// connections, so that files made by the program can be read and written
// there with the same index order:
//
//   sqlite3 -cmd ".load build/platform/data/codigoerp" tessela-demo.db
#include "comparacodigos.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int sqlite3_codigoerp_init(sqlite3 *bd, char **, const sqlite3_api_routines *api)
{
    SQLITE_EXTENSION_INIT2(api);
    return sqlite3_create_collation_v2(bd, ComparaCodigos::Nome, SQLITE_UTF8, nullptr, ComparaCodigos::comparaSqlite, nullptr);
}
