#pragma once
#include <QByteArray>
#include <QString>

class Grelha;
class QWidget;

// A grid saved as a CSV file that a Portuguese spreadsheet opens as it stands:
// UTF-8 with a byte-order mark, fields separated by ';', lines ended by CR LF;
// the captions of the visible columns first, then every row that shows
// anything; numbers with a decimal comma and no thousands separators, dates
// dd-mm-yyyy, texts as shown. A field holding ';', a quote or a line break is
// quoted (quotes doubled); a text starting with '=', '+', '-', '@', a tab or a
// carriage return gets a leading apostrophe, so the spreadsheet never takes it
// for a formula.
namespace ExportaCsv {

QByteArray texto(const Grelha &grelha);
// Writes the file whole or not at all; false with *erro saying why.
bool grava(const Grelha &grelha, const QString &ficheiro, QString *erro = nullptr);
// Asks for the file (suggesting sugestao), adds ".csv" when the name does not
// end with it, writes it and says so when it cannot. Gives the file
// written, or the empty text when the user gave up or the file failed.
QString exporta(QWidget *pai, const Grelha &grelha, const QString &sugestao);

}
