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
// columns and row-object cells are these plus one. The customer grid has the
// customer in column 0 and the article's last purchase price in column 4.
namespace ColunasPrecos {
enum Coluna {
    Forn = 0, Cli = 0, Descr = 1, Artigo = 2, DescrArtigo = 3, RefForn = 4, UPC = 4, DataE = 5, Preco = 6, Id = 7, Altera = 8,
    Obs = 9
};
}

// Whose prices a grid holds: the suppliers' quotes or the prices given to customers.
enum class LadoPrecos { Fornecedores, Clientes };

// What a price window shares with its grid: the mode, the typing flag that
// decides whether a typed code is looked up, the Ids of removed saved rows
// waiting for deletion (element 0 is a placeholder), the name of the supplier
// or customer accepted in its filter, the last purchase price of the article
// accepted in the article filter (customers) and the row the calendar was
// last opened for.
struct EstadoPrecos
{
    int Tipo = 1;                  // 1 prices, 2 purchases (read-only); customers are always 1
    bool Digitado = false;
    QList<qint64> IdsAnulados{0};
    QString NomeEntidade;          // NomeFornecedor or NomeCliente
    QVariant PrecoUltCompra;
    int LinhaCalendario = 0;
};

// What the grid reads from and shows in the window that holds it.
class JanelaPrecos
{
public:
    virtual ~JanelaPrecos() = default;
    virtual EstadoPrecos &estado() = 0;
    // The supplier (or customer) and article filters as they stand, trimmed.
    virtual QString filtroEntidade() const = 0;
    virtual QString filtroArtigo() const = 0;
    // The name shown for the accepted article filter.
    virtual QString nomeArtigo() const = 0;
    // Shows a row's observation in the window's observation field.
    virtual void mostraObservacao(const QString &texto) = 0;
};

// The rules that turn a Grelha into a price entry form, for supplier prices
// or customer prices: its columns (rebuilt by Act_Grelha, the code columns
// editable only while their filter is empty), the cells pre-filled from the
// filters when editing starts on an empty row, the check of every edited cell
// with its message (codes looked up only when typed, dates and prices as a
// Portuguese user writes them), the lookup lists and the calendar behind the
// cell buttons, the removed rows kept for deletion and the observation of the
// current row. Every accepted edit marks its row changed (Altera); only such
// rows are saved, and a row marked changed always gets the filtered codes it
// lacks, so that a price typed under a filter is never left without them.
// Suppliers: today's date for a date cell left empty within its row and a
// further empty row whenever the cursor reaches the last one; in purchases
// mode the grid only displays. Customers: the date checked when its edit ends,
// Enter on an empty date puts today's, a valid date fills the row from both
// filters (with the article's last purchase price), and the grid never grows.
// The object lives as long as the window and connects itself to the grid's
// and the calendar's events.
class GrelhaPrecos : public QObject
{
    Q_OBJECT
public:
    GrelhaPrecos(Grelha *grelha, Calendario *calendario, JanelaPrecos *janela, LadoPrecos lado, QObject *pai = nullptr);

    void setBd(LigacaoBd *bd) { m_bd = bd; }
    LadoPrecos lado() const { return m_lado; }

    // Rebuilds the columns for the mode and the filters as they stand and
    // empties the grid (30 empty rows, no current cell).
    void Act_Grelha();
    // The column settings alone, for anything that shows the same grid.
    static void montaColunas(Grelha &grelha, LadoPrecos lado, int tipo, bool filtroEntidade, bool filtroArtigo);
    static void montaColunas(Grelha &grelha, int tipo, bool filtroFornecedor, bool filtroArtigo)
    {
        montaColunas(grelha, LadoPrecos::Fornecedores, tipo, filtroFornecedor, filtroArtigo);
    }
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
    bool clientes() const { return m_lado == LadoPrecos::Clientes; }
    void edicaoVaiComecar(int linha, int coluna);
    void edicaoTerminou(int linha, int coluna);
    void teclaEmEdicao(int linha, int coluna, int &tecla, int shift);
    void teclaPremida(int &tecla, int shift);
    void botaoCelula(int linha, int coluna);
    void linhaVaiSerApagada(int linha, bool &cancela);
    void celulaActualMudou(int linhaAnterior, int colunaAnterior);
    void recebeuFoco();

    QString validaEntidade(int linha, const QString &texto, bool &cancela);
    QString validaArtigo(int linha, const QString &texto, bool &cancela);
    QString validaData(int linha, const QString &texto);
    void abreCalendario();
    void dataDoCalendario(const QDate &data);
    // The reference of the purchase-help record of a row's article and supplier.
    QVariant referenciaCompra(const QVariant &artigo, const QVariant &fornecedor);
    // Reports a failing query; true, for the cancel of a check.
    bool falhaBd(const QString &onde);
    void preencheEntidade(int linha);
    void preencheArtigo(int linha);
    void completaFiltros(int linha);
    void marcaAlterada(int linha);
    void escreve(int linha, int coluna, const QVariant &valor);

    Grelha *m_grelha;
    QPointer<Calendario> m_calendario;
    JanelaPrecos *m_janela;
    LadoPrecos m_lado;
    LigacaoBd *m_bd = nullptr;
    bool m_aReconstruir = false;
};
