#pragma once
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <memory>

class LigacaoBd;
class ModeloLista;

// A lookup list: a query whose rows the user browses and filters by typing,
// picking one row whose first column (the code) is returned. The caller sets it
// up in this order: the connection, the title, the SQL text with its bound
// values and the width (twips); then Carrega(), the column widths (twips) and
// Mostra(), which returns the picked code or the empty text when the user gave
// up. Each object serves one use.
//
//   ListaPesquisa lista;
//   lista.setLigacao(bd);
//   lista.Titulo = QStringLiteral("Fornecedores");
//   lista.setSql(QStringLiteral("SELECT Codigo AS 'Fornecedor', Nome FROM Fornec ORDER BY Codigo"));
//   lista.Largura = 5800;
//   lista.Carrega();
//   lista.setLarguraColuna(0, 1300);
//   const QString codigo = lista.Mostra();
//
// Mostra() goes through the installed ApresentadorLista, so tests answer the
// list without showing anything (see ListaRespostas).
class ListaPesquisa
{
public:
    ListaPesquisa();
    ~ListaPesquisa();
    ListaPesquisa(const ListaPesquisa &) = delete;
    ListaPesquisa &operator=(const ListaPesquisa &) = delete;

    // The connection the query runs on. A LigacaoBd is asked for its open
    // connection when the list is loaded; it is not owned.
    void setLigacao(LigacaoBd &bd);
    void setLigacao(const QSqlDatabase &bd);

    // The window title and the window width in twips (0: a default width).
    QString Titulo;
    int Largura = 0;
    void setTitulo(const QString &titulo) { Titulo = titulo; }
    void setLargura(int twips) { Largura = twips; }

    // The query (first column = code) and the values bound to its placeholders.
    void setSql(const QString &sql, const QVariantList &valores = {});
    QString sql() const { return m_sql; }
    QVariantList valores() const { return m_valores; }

    // Runs the query and keeps its rows. On failure the list is empty and
    // erro() says why.
    bool Carrega();
    bool carregada() const { return m_carregada; }
    QString erro() const { return m_erro; }

    // Column widths in twips, set after loading; 0 when not set.
    void setLarguraColuna(int coluna, int twips);
    int larguraColuna(int coluna) const { return m_larguras.value(coluna, 0); }

    // The loaded rows.
    ModeloLista &modelo() { return *m_modelo; }
    const ModeloLista &modelo() const { return *m_modelo; }
    int numeroLinhas() const;

    // Shows the list (loading it first if that was not done) and returns the
    // picked code, or the empty text.
    QString Mostra();

    // The whole set-up and show in one call, as most windows use a list:
    // title, query, width and column widths in twips.
    static QString escolhe(LigacaoBd &bd, const QString &titulo, const QString &sql, int largura,
                           const QList<int> &largurasColunas, const QVariantList &valores = {});

private:
    LigacaoBd *m_bd = nullptr;
    QSqlDatabase m_db;
    QString m_sql;
    QVariantList m_valores;
    QHash<int, int> m_larguras;
    std::unique_ptr<ModeloLista> m_modelo;
    bool m_carregada = false;
    bool m_tentada = false;
    QString m_erro;
};

// How a lookup list is shown. The program uses the modal dialog (the default);
// tests install an implementation that answers at once.
class ApresentadorLista
{
public:
    virtual ~ApresentadorLista() = default;
    // The picked code, or the empty text when nothing was picked.
    virtual QString escolhe(ListaPesquisa &lista) = 0;

    // Installs a presenter for the whole process (nullptr restores the modal
    // dialog). Not owned.
    static void instala(ApresentadorLista *apresentador);
    static ApresentadorLista &actual();
    // The one installed, nullptr when the modal dialog is in use.
    static ApresentadorLista *instalado();
};
