#pragma once
#include <QString>

class LigacaoBd;

// The lookup lists behind the supplier and article cell buttons of the
// grids that take one (the same lists in every such grid). Each returns the
// picked code, or the empty text when the user gave up.
QString EscolheFornecedorGrelha(LigacaoBd &bd);
QString EscolheArtigoGrelha(LigacaoBd &bd);
