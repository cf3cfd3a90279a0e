#include "dialogolistapesquisa.h"
#include "listapesquisa.h"
#include "modelolista.h"
#include "twips.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int LarguraPredefinida = 6000;   // twips, when the caller gives none
constexpr int Altura = 6000;               // twips
constexpr int LarguraColunaPredefinida = 1500;
} // namespace

DialogoListaPesquisa::DialogoListaPesquisa(ListaPesquisa &lista, QWidget *parent)
    : QDialog(parent), m_lista(lista), m_filtro(new QLineEdit(this)), m_tabela(new QTableView(this)),
      m_contagem(new QLabel(this))
{
    setWindowTitle(lista.Titulo.trimmed());
    ModeloLista &modelo = lista.modelo();
    modelo.setFiltro(QString());

    auto *rotulo = new QLabel(QStringLiteral("&Procurar:"), this);
    rotulo->setBuddy(m_filtro);
    m_filtro->setObjectName(QStringLiteral("filtro"));
    m_filtro->setPlaceholderText(QStringLiteral("Escreva parte do código ou do nome"));
    m_filtro->setClearButtonEnabled(true);
    m_filtro->installEventFilter(this);

    m_tabela->setObjectName(QStringLiteral("tabela"));
    m_tabela->setModel(&modelo);
    m_tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tabela->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tabela->setTabKeyNavigation(false);
    m_tabela->setWordWrap(false);
    m_tabela->setAlternatingRowColors(true);
    m_tabela->setFocusPolicy(Qt::ClickFocus);
    // Fixed row heights keep scrolling and filtering cheap on very long lists.
    QHeaderView *linhas = m_tabela->verticalHeader();
    linhas->hide();
    linhas->setSectionResizeMode(QHeaderView::Fixed);
    linhas->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView *colunas = m_tabela->horizontalHeader();
    colunas->setStretchLastSection(true);
    colunas->setHighlightSections(false);
    for (int c = 0; c < modelo.columnCount(); ++c) {
        const int twips = lista.larguraColuna(c);
        m_tabela->setColumnWidth(c, Twips::paraPixeis(twips > 0 ? twips : LarguraColunaPredefinida));
    }
    m_tabela->installEventFilter(this);
    connect(m_tabela, &QTableView::doubleClicked, this, [this](const QModelIndex &i) {
        if (i.isValid()) {
            m_tabela->setCurrentIndex(i);
            escolhe();
        }
    });

    auto *botoes = new QDialogButtonBox(this);
    QPushButton *escolher = botoes->addButton(QStringLiteral("Escolher"), QDialogButtonBox::AcceptRole);
    QPushButton *cancelar = botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    escolher->setObjectName(QStringLiteral("escolher"));
    cancelar->setObjectName(QStringLiteral("cancelar"));
    // Enter is handled by the filter line and the table, never by a default button.
    for (QPushButton *b : {escolher, cancelar}) {
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(botoes, &QDialogButtonBox::accepted, this, &DialogoListaPesquisa::escolhe);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *topo = new QHBoxLayout;
    topo->addWidget(rotulo);
    topo->addWidget(m_filtro, 1);
    auto *fundo = new QHBoxLayout;
    fundo->addWidget(m_contagem, 1);
    fundo->addWidget(botoes);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(topo);
    layout->addWidget(m_tabela, 1);
    layout->addLayout(fundo);

    connect(m_filtro, &QLineEdit::textChanged, this, &DialogoListaPesquisa::filtra);
    resize(Twips::paraPixeis(lista.Largura > 0 ? lista.Largura : LarguraPredefinida), Twips::paraPixeis(Altura));
    filtra(QString());
    m_filtro->setFocus();
}

void DialogoListaPesquisa::filtra(const QString &texto)
{
    ModeloLista &modelo = m_lista.modelo();
    modelo.setFiltro(texto);
    if (modelo.rowCount() > 0) {
        m_tabela->setCurrentIndex(modelo.index(0, 0));
        m_tabela->scrollToTop();
    }
    mostraContagem();
}

void DialogoListaPesquisa::mostraContagem()
{
    const ModeloLista &modelo = m_lista.modelo();
    const int visiveis = modelo.rowCount();
    const int total = modelo.linhasTotal();
    auto linhas = [](int n) { return n == 1 ? QStringLiteral("1 linha") : QStringLiteral("%1 linhas").arg(n); };
    m_contagem->setText(modelo.filtro().isEmpty() ? linhas(total)
                                                  : QStringLiteral("%1 de %2").arg(visiveis).arg(linhas(total)));
}

void DialogoListaPesquisa::escolhe()
{
    const QModelIndex actual = m_tabela->currentIndex();
    if (!actual.isValid())
        return;
    m_codigo = m_lista.modelo().codigo(actual.row());
    accept();
}

bool DialogoListaPesquisa::eventFilter(QObject *objecto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress || (objecto != m_filtro && objecto != m_tabela))
        return QDialog::eventFilter(objecto, evento);
    auto *tecla = static_cast<QKeyEvent *>(evento);
    switch (tecla->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        escolhe();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (objecto == m_filtro) {
            QKeyEvent copia(tecla->type(), tecla->key(), tecla->modifiers(), tecla->text());
            QCoreApplication::sendEvent(m_tabela, &copia);
            return true;
        }
        break;
    default:
        // Text typed while the table has the focus goes to the filter line.
        if (objecto == m_tabela && !tecla->text().isEmpty() && tecla->text().at(0).isPrint()
            && !(tecla->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            m_filtro->setFocus();
            QKeyEvent copia(tecla->type(), tecla->key(), tecla->modifiers(), tecla->text());
            QCoreApplication::sendEvent(m_filtro, &copia);
            return true;
        }
        break;
    }
    return QDialog::eventFilter(objecto, evento);
}
