#pragma once
#include <QString>
#include <QVariant>

// Kind of value a grid column holds; it decides how a cell is shown, aligned
// and turned back into a value after editing.
enum class TipoColuna { Texto, Data, Moeda, Booleano, Longo };

// The small button a cell may show at its right edge (on the current row). Both
// styles raise the grid's cell-button event; they differ only in the drawing.
enum class BotaoCelula { Nenhum, Reticencias, Lista };

// Settings of one grid column, identified by its key. Widths are in twips;
// comprimentoMax 0 means no limit. A column that cannot take the focus is
// skipped by keyboard navigation; a read-only one never opens an editor.
// formato is a number format such as "##,###.00", "##,###" or "#,###.#0":
// a ',' groups thousands, the places after '.' give the fewest decimals shown
// (a value with more shows them all, so no cell hides part of what it holds).
struct ColunaGrelha
{
    QString chave;
    QString titulo;
    TipoColuna tipo = TipoColuna::Texto;
    int largura = 1200;
    int comprimentoMax = 0;
    bool soLeitura = false;
    bool recebeFoco = true;
    bool oculta = false;
    BotaoCelula botao = BotaoCelula::Nenhum;
    QString formato;
    QVariant valorPredefinido;

    // The cell's value as shown ("1.234,50", "05-03-2024"); empty for Booleans,
    // which show a check box.
    QString textoApresentado(const QVariant &valor) const;
    // The text the editor starts with (numbers without thousands separators).
    QString textoEdicao(const QVariant &valor) const;
    // The value stored after the user typed texto: a date or a number when the
    // text reads as one (Moeda::leTexto: "1.500" is 1500, as the cell shows
    // it), otherwise the text itself, so a handler validating the cell still
    // sees what was typed and refuses it.
    QVariant valorDoTexto(const QString &texto) const;
    bool numerica() const { return tipo == TipoColuna::Moeda || tipo == TipoColuna::Longo; }

private:
    QString textoNumero(const QVariant &valor, bool agrupa) const;
};
