#pragma once
#include <QPointer>
#include <QStyledItemDelegate>

class Grelha;
#include <QLineEdit>

// Draws the cells of a Grelha (with the cell button on the current row) and
// makes the line editor used for in-place editing. The editor's keys and its
// loss of focus are handed to the grid, which alone decides when a value is
// committed, validated or dropped; the delegate itself never writes the model.
class DelegadoGrelha : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit DelegadoGrelha(Grelha *grelha);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QLineEdit *editor() const { return m_editor; }
    void esqueceEditor() { m_editor = nullptr; }
    // Where the cell button sits inside a cell's rectangle.
    static QRect rectanguloBotao(const QRect &celula);

protected:
    bool eventFilter(QObject *objecto, QEvent *evento) override;

private:
    bool temBotao(const QModelIndex &index) const;

    Grelha *m_grelha;
    mutable QPointer<QLineEdit> m_editor;
};
