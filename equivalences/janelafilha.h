#pragma once
#include <QColor>
#include <QRect>
#include <QString>

#include <memory>

class Artigos;
class LigacaoBd;
class QLabel;
class QWidget;

// What the program's windows share as children of the main window: their
// background colour and title band, sizes written in twips, the main window
// they belong to (the top-level window around the document area, or the
// window itself when it stands alone), centring in the main window's client
// area, closing, and (for the equivalence windows) the creation of their
// Artigos object by its registered identity.
namespace JanelaFilha {

// The windows' background (red 213, green 222, blue 242).
QColor corFundo();
// Gives a widget a solid background of that colour.
void pintaFundo(QWidget *w, const QColor &cor);

// The title band at the top of a window as wide as the window (in twips):
// a panel within the window's margins with the title centred in bold
// 12-point Verdana. Gives the title's label; the panel is its parent.
QLabel *criaTitulo(QWidget *janela, const QString &titulo, int largura);

// A rectangle given in twips, in pixels.
QRect twips(int esquerda, int topo, int largura, int altura);
int px(double twips);
double emTwips(int pixeis);

// The main window (the window the document area belongs to).
QWidget *principal(QWidget *janela);
// Takes the main window's icon and centres the window in the main window's
// client area: left = (client width − own width) / 2, likewise the top.
void preparaNaPrincipal(QWidget *janela);
// Whether the window (or its document frame) is minimised.
bool minimizada(const QWidget *janela);
// Closes the window, with its document frame when it has one.
void fecha(QWidget *janela);

// Creates an Artigos object through the class registry and connects it to bd;
// tells the user and gives nullptr when the class cannot be created.
std::unique_ptr<Artigos> criaArtigos(LigacaoBd *bd);

// The program's title, used by message boxes without a title of their own.
QString tituloPrograma();

} // namespace JanelaFilha
