#pragma once
#include <QString>

class LigacaoBd;

// The lookup lists that several windows show alike. Each returns the picked
// code, or the empty text when the user gave up.

// Behind the supplier (customer) and article cell buttons of the grids that
// take one.
QString EscolheFornecedorGrelha(LigacaoBd &bd);
QString EscolheClienteGrelha(LigacaoBd &bd);
QString EscolheArtigoGrelha(LigacaoBd &bd);

// Behind an article filter field of a window: the active articles.
QString EscolheArtigoFiltro(LigacaoBd &bd);
