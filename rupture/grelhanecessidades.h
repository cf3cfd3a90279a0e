#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class Calendario;
class Grelha;
class LigacaoBd;
struct LinhaRuptura;

// Data columns of the needs grid (cell array, from 0). The grid's event
// columns and row-object cells are these plus one.
namespace ColunasNecessidades {
enum Coluna {
    Artigo = 0, RefForn, Descr, StkExt, StkMin, StkMax, PendForn, Enc, Forn, UltPrec, PrecEc, Prev, FornUlt, FornMenos,
    DataUlt, DataMenos, Id
};
constexpr int Total = 17;
}

// What the rupture window shares with its grid: the mode, the typing flag
// that decides whether a typed code is looked up, and the Ids of the saved
// needs removed from the grid, waiting for deletion (element 0 is a
// placeholder).
struct EstadoRuptura
{
    int Tipo = 1;   // 1 "Ruptura de Stocks", 2 "Necessidades de Encomendas"
    bool Digitado = false;
    QList<qint64> IdsAnulados{0};
};

// What the grid asks of the window that holds it.
class JanelaRuptura
{
public:
    virtual ~JanelaRuptura() = default;
    virtual EstadoRuptura &estado() = 0;
    // Opens the price details panel next to the grid's current cell with a
    // row's supplier, date and price.
    virtual void mostraDetalhes(const QString &fornecedor, const QVariant &data, const QVariant &preco) = 0;
};

// The rules that make a Grelha the needs grid of the rupture window: its 17
// columns with the settings of the mode (Act_Grelha), the check of each edited
// cell with its message (codes looked up only when typed; an article typed in
// mode 2 fills its name, stock, pending quantity, cheapest price and supplier
// and the supplier's reference; a quantity must be a number not below zero),
// the lookup lists and the calendar behind the cell buttons, the removal of
// loaded needs (typed rows are refused) with the grid compacted after, a
// further empty row whenever the cursor reaches the last one in mode 2, and
// the price details panel on a click on a price in mode 1. The object lives as
// long as the window and connects itself to the grid's and the calendar's
// events.
class GrelhaNecessidades : public QObject
{
    Q_OBJECT
public:
    GrelhaNecessidades(Grelha *grelha, Calendario *calendario, JanelaRuptura *janela, QObject *pai = nullptr);

    void setBd(LigacaoBd *bd) { m_bd = bd; }

    // Rebuilds the columns for the mode and empties the grid (two empty rows).
    void Act_Grelha();
    // The column settings alone, for anything that shows the same grid.
    static void montaColunas(Grelha &grelha, int tipo);
    static constexpr int LinhasIniciais = 2;

    // Writes loaded rows from the first row on, the grid growing so that an
    // empty row follows the last one. The caller switches redraw off.
    static void preenche(Grelha &grelha, const QList<LinhaRuptura> &linhas, int tipo);
    // Rows a grid of LinhasIniciais rows has once n rows were written.
    static int linhasDepois(int n) { return qMax(LinhasIniciais, n + 1); }

    // Checks an edited cell (row and column as the grid's events number them)
    // as its column demands; on refusal shows the message, puts anterior back
    // and sets cancela.
    void valida(int linha, int coluna, const QVariant &anterior, bool &cancela);

private:
    void edicaoTerminou(int linha, int coluna);
    void teclaEmEdicao(int linha, int coluna, int &tecla, int shift);
    void botaoCelula(int linha, int coluna);
    void linhaVaiSerApagada(int linha, bool &cancela);
    void linhasRemovidas();
    void celulaActualMudou(int linhaAnterior, int colunaAnterior);
    void clique();

    bool validaArtigo(int linha, const QString &texto, QString &mensagem);
    bool validaFornecedor(int linha, const QString &texto, QString &mensagem);
    void abreCalendario();
    void dataDoCalendario(const QDate &data);
    // The reference of the purchase-help record of an article and supplier.
    QString referenciaCompra(const QVariant &artigo, const QVariant &fornecedor, bool *ok);
    void falhaBd(const QString &onde);
    void escreve(int linha, int coluna, const QVariant &valor);

    Grelha *m_grelha;
    QPointer<Calendario> m_calendario;
    JanelaRuptura *m_janela;
    LigacaoBd *m_bd = nullptr;
    bool m_aReconstruir = false;
};
