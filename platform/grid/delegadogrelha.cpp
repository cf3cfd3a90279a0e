#include "delegadogrelha.h"
#include "grelha.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>

DelegadoGrelha::DelegadoGrelha(Grelha *grelha) : QStyledItemDelegate(grelha), m_grelha(grelha) {}

bool DelegadoGrelha::temBotao(const QModelIndex &index) const
{
    const ColunaGrelha *c = m_grelha->coluna(index.column() + 1);
    return c && c->botao != BotaoCelula::Nenhum;
}

QRect DelegadoGrelha::rectanguloBotao(const QRect &celula)
{
    const int lado = qMin(celula.height(), 18);
    return QRect(celula.right() - lado + 1, celula.top() + (celula.height() - lado) / 2, lado, lado);
}

QWidget *DelegadoGrelha::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *e = new QLineEdit(parent);
    e->setFrame(false);
    if (const ColunaGrelha *c = m_grelha->coluna(index.column() + 1)) {
        if (c->comprimentoMax > 0)
            e->setMaxLength(c->comprimentoMax);
        if (c->numerica())
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    m_editor = e;
    return e;
}

void DelegadoGrelha::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *e = qobject_cast<QLineEdit *>(editor))
        e->setText(index.data(Qt::EditRole).toString());
}

void DelegadoGrelha::setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const
{
    // The grid commits the edited text itself (Grelha::terminaEdicao).
}

void DelegadoGrelha::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QRect r = option.rect;
    if (temBotao(index))
        r.setRight(rectanguloBotao(option.rect).left() - 1);
    editor->setGeometry(r);
}

void DelegadoGrelha::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!temBotao(index) || index.row() + 1 != m_grelha->linhaActual()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell's background takes the whole cell, its text only the part
    // beside the button: the button never covers any of it.
    QStyleOptionViewItem fundo(option);
    initStyleOption(&fundo, index);
    fundo.text.clear();
    QStyle *estilo = option.widget ? option.widget->style() : QApplication::style();
    estilo->drawControl(QStyle::CE_ItemViewItem, &fundo, painter, option.widget);
    QStyleOptionViewItem texto(option);
    texto.rect.setRight(rectanguloBotao(option.rect).left() - 1);
    QStyledItemDelegate::paint(painter, texto, index);
    QStyleOptionButton b;
    b.rect = rectanguloBotao(option.rect);
    b.state = QStyle::State_Enabled | QStyle::State_Raised;
    b.palette = option.palette;
    const ColunaGrelha *c = m_grelha->coluna(index.column() + 1);
    if (c->botao == BotaoCelula::Reticencias)
        b.text = QStringLiteral("...");
    estilo->drawControl(QStyle::CE_PushButton, &b, painter, option.widget);
    if (c->botao == BotaoCelula::Lista) {
        QStyleOption seta;
        seta.rect = b.rect.adjusted(4, 5, -4, -5);
        seta.palette = option.palette;
        seta.state = QStyle::State_Enabled;
        estilo->drawPrimitive(QStyle::PE_IndicatorArrowDown, &seta, painter, option.widget);
    }
}

bool DelegadoGrelha::eventFilter(QObject *objecto, QEvent *evento)
{
    if (objecto != m_editor)
        return false;
    if (evento->type() == QEvent::KeyPress)
        return m_grelha->teclaNoEditor(static_cast<QKeyEvent *>(evento));
    if (evento->type() == QEvent::ShortcutOverride) {
        // Keys the grid acts on must reach the editor, not a window shortcut.
        const int k = static_cast<QKeyEvent *>(evento)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Escape || k == Qt::Key_Tab)
            evento->accept();
        return false;
    }
    if (evento->type() == QEvent::FocusOut)
        m_grelha->editorPerdeuFoco(static_cast<QFocusEvent *>(evento)->reason());
    return false;
}
