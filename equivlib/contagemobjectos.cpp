#include "contagemobjectos.h"

#include <atomic>

namespace {
std::atomic<int> g_vivos{0};
}

namespace ContagemObjectos {
void nasce() { ++g_vivos; }
void morre() { --g_vivos; }
int vivos() { return g_vivos.load(); }
}
