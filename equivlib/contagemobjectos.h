#pragma once

// Counts the library's live objects, so that the library can tell a host
// whether it may be unloaded.
namespace ContagemObjectos {
void nasce();
void morre();
int vivos();
}
