#pragma once
#include <QDialog>

class ListaPesquisa;
class QLabel;
class QLineEdit;
class QTableView;

// The window of a lookup list: a filter line above a table of the loaded rows.
// Typing filters the rows (any column containing the text, without regard to
// case) while Up, Down, Page Up and Page Down move in the table; Enter or a
// double-click picks the current row, Esc gives up. The focus stays in the
// filter line, and typing in the table goes to the filter line too.
//
// ListaPesquisa::Mostra runs it modally; tests may show() it and send keys.
class DialogoListaPesquisa : public QDialog
{
    Q_OBJECT
public:
    explicit DialogoListaPesquisa(ListaPesquisa &lista, QWidget *parent = nullptr);

    // The code of the picked row; empty until a row is picked.
    QString codigo() const { return m_codigo; }

    QLineEdit *filtro() const { return m_filtro; }
    QTableView *tabela() const { return m_tabela; }

public slots:
    // Picks the current row, if there is one.
    void escolhe();

protected:
    bool eventFilter(QObject *objecto, QEvent *evento) override;

private:
    void filtra(const QString &texto);
    void mostraContagem();

    ListaPesquisa &m_lista;
    QLineEdit *m_filtro;
    QTableView *m_tabela;
    QLabel *m_contagem;
    QString m_codigo;
};
