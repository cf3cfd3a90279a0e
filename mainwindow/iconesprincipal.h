#pragma once
#include <QIcon>

// The images of the main window's toolbar and the program's icon, drawn in
// code so the program carries no image files. Images of the toolbar's list:
//   1 search, 2 equivalences, 3 supplier prices, 4 stock rupture,
//   5 purchases, 6 needs to order, 7 customer prices.
namespace IconesPrincipal {
QIcon imagem(int numero);
// The program's icon (a small mosaic), taken by every window.
QIcon programa();
}
