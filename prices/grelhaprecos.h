#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class Calendario;
class Grelha;
class LigacaoBd;

// Data columns of the price grid (cell array, from 0). The grid's event
// columns and row-object cells are these plus one.
namespace ColunasPrecos {
enum Coluna { Forn = 0, Descr = 1, Artigo = 2, DescrArtigo = 3, RefForn = 4, DataE = 5, Preco = 6, Id = 7, Altera = 8, Obs = 9 };
}

// What the supplier price window shares with its grid: the mode, the typing
// flag that decides whether a typed code is looked up, the Ids of removed
// saved rows waiting for deletion (element 0 is a placeholder) and the name of
// the supplier accepted in the supplier filter.
struct EstadoPrecos
{
    int Tipo = 1;                  // 1 supplier prices, 2 purchases (read-only)
    bool Digitado = false;
    QList<qint64> IdsAnulados{0};
    QString NomeFornecedor;
};

// What the grid reads from and shows in the window that holds it.
class JanelaPrecos
{
public:
    virtual ~JanelaPrecos() = default;
    virtual EstadoPrecos &estado() = 0;
    // The supplier and article filters as they stand, trimmed.
    virtual QString filtroFornecedor() const = 0;
    virtual QString filtroArtigo() const = 0;
    // The name shown for the accepted article filter.
    virtual QString nomeArtigo() const = 0;
    // Shows a row's observation in the window's observation field.
    virtual void mostraObservacao(const QString &texto) = 0;
};

// The rules that turn a Grelha into the supplier price entry form: its
// columns (rebuilt by Act_Grelha, the supplier and article columns editable
// only while their filter is empty), the cells pre-filled from the filters
// when editing starts on an empty row, the check of every edited cell with its
// message (codes looked up only when typed, dates and prices as a Portuguese
// user writes them), the lookup lists and the calendar behind the cell
// buttons, the removed rows kept for deletion, today's date for a date cell
// left empty, a further empty row whenever the cursor reaches the last one,
// and the observation of the current row. Every accepted edit marks its row
// changed (Altera); only such rows are saved. In purchases mode the grid only
// displays. The object lives as long as the window and connects itself to the
// grid's and the calendar's events.
class GrelhaPrecos : public QObject
{
    Q_OBJECT
public:
    GrelhaPrecos(Grelha *grelha, Calendario *calendario, JanelaPrecos *janela, QObject *pai = nullptr);

    void setBd(LigacaoBd *bd) { m_bd = bd; }

    // Rebuilds the columns for the mode and the filters as they stand and
    // empties the grid (30 empty rows, no current cell).
    void Act_Grelha();
    // The column settings alone, for anything that shows the same grid.
    static void montaColunas(Grelha &grelha, int tipo, bool filtroFornecedor, bool filtroArtigo);
    static constexpr int LinhasIniciais = 30;

    // The observation field was left: its text becomes the current row's
    // observation and the row is marked changed. Nothing without a current row.
    void gravaObservacao(const QString &texto);
    // The observation of the current row (empty when there is none).
    QString observacaoActual() const;

    // Checks an edited cell (row and column as the grid's events number them)
    // as its column demands; on refusal shows the message, puts anterior back
    // and sets cancela.
    void valida(int linha, int coluna, const QVariant &anterior, bool &cancela);

    // Today's date as the grid stores it.
    static QVariant hoje();

private:
    void edicaoVaiComecar(int linha, int coluna);
    void edicaoTerminou(int linha, int coluna);
    void teclaEmEdicao(int linha, int coluna, int &tecla, int shift);
    void botaoCelula(int linha, int coluna);
    void linhaVaiSerApagada(int linha, bool &cancela);
    void celulaActualMudou(int linhaAnterior, int colunaAnterior);
    void recebeuFoco();

    void abreCalendario();
    void dataDoCalendario(const QDate &data);
    QString escolheDaLista(int coluna);
    // The reference of the purchase-help record of a row's article and supplier.
    QVariant referenciaCompra(const QVariant &artigo, const QVariant &fornecedor);
    bool falhaBd(const QString &onde);
    void preencheFornecedor(int linha);
    void preencheArtigo(int linha);
    void escreve(int linha, int coluna, const QVariant &valor);

    Grelha *m_grelha;
    QPointer<Calendario> m_calendario;
    JanelaPrecos *m_janela;
    LigacaoBd *m_bd = nullptr;
    bool m_aReconstruir = false;
};
