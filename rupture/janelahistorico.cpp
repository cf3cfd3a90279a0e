#include "janelahistorico.h"

#include "graficohistorico.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *tabela(const QStringList &titulos, QWidget *pai)
{
    auto *t = new QTableWidget(0, int(titulos.size()), pai);
    t->setHorizontalHeaderLabels(titulos);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setAlternatingRowColors(true);
    return t;
}

QTableWidgetItem *celula(const QString &texto, bool numero = false)
{
    auto *i = new QTableWidgetItem(texto);
    if (numero)
        i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return i;
}

QString textoData(bool tem, const QDate &d) { return tem ? Valores::textoData(d) : QString(); }
QString preco(bool tem, const Moeda &m) { return tem ? m.texto(2) : QString(); }

} // namespace

JanelaHistorico::JanelaHistorico(QWidget *pai) : QDialog(pai)
{
    setWindowTitle(QStringLiteral("Histórico do Artigo"));
    resize(900, 720);
    auto *l = new QVBoxLayout(this);
    m_titulo = new QLabel(this);
    m_titulo->setTextFormat(Qt::PlainText);
    QFont negrito = m_titulo->font();
    negrito.setBold(true);
    m_titulo->setFont(negrito);
    l->addWidget(m_titulo);
    m_grafico = new GraficoHistorico(this);
    l->addWidget(m_grafico, 3);

    l->addWidget(new QLabel(QStringLiteral("Fornecedores (duplo clique ou Enter escolhe o fornecedor para a linha)"), this));
    m_fornecedores = tabela({QStringLiteral("Fornecedor"), QStringLiteral("Nome"), QStringLiteral("Ult. Compra"),
                             QStringLiteral("Prç. Compra"), QStringLiteral("Cotação"), QStringLiteral("Prç. Cotação"),
                             QStringLiteral("Ref.Forn."), QString()},
                            this);
    // The name takes what the other columns leave, so the mark is never cut.
    m_fornecedores->horizontalHeader()->setStretchLastSection(false);
    m_fornecedores->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    l->addWidget(m_fornecedores, 2);
    connect(m_fornecedores, &QTableWidget::activated, this, [this](const QModelIndex &i) { escolhe(i.row()); });

    l->addWidget(new QLabel(QStringLiteral("Encomendas pendentes a fornecedores"), this));
    m_pendentes = tabela({QStringLiteral("Documento"), QStringLiteral("Fornecedor"), QStringLiteral("Data"), QStringLiteral("Quantidade")},
                         this);
    m_pendentes->horizontalHeader()->setStretchLastSection(false);
    l->addWidget(m_pendentes, 1);
    m_semPendentes = new QLabel(QStringLiteral("Não há encomendas pendentes."), this);
    l->addWidget(m_semPendentes);

    auto *botoes = new QHBoxLayout;
    botoes->addStretch();
    auto *sair = new QPushButton(QStringLiteral("&Sair"), this);
    sair->setToolTip(QStringLiteral("Abandonar a opção."));
    // Enter belongs to the supplier list, never to a button.
    sair->setAutoDefault(false);
    connect(sair, &QPushButton::clicked, this, &QDialog::reject);
    botoes->addWidget(sair);
    l->addLayout(botoes);
}

void JanelaHistorico::setDados(const DadosHistorico &d)
{
    m_dados = d;
    m_titulo->setText(d.existe ? QStringLiteral("%1 - %2      Stock actual: %3   Mínimo: %4   Máximo: %5")
                                     .arg(d.artigo, d.nome, d.stock.texto(0), d.minimo.texto(0), d.maximo.texto(0))
                               : QStringLiteral("%1 - artigo não existente").arg(d.artigo));
    m_grafico->setDados(d);

    m_fornecedores->setRowCount(int(d.fornecedores.size()));
    for (int r = 0; r < d.fornecedores.size(); ++r) {
        const FornecedorHistorico &f = d.fornecedores.at(r);
        const QList<QTableWidgetItem *> itens{celula(f.codigo), celula(f.nome),
                                              celula(textoData(f.temCompra, f.dataCompra)), celula(preco(f.temCompra, f.precoCompra), true),
                                              celula(textoData(f.temCotacao, f.dataCotacao)), celula(preco(f.temCotacao, f.precoCotacao), true),
                                              celula(f.referencia), celula(f.maisBarato ? marcaMaisBarato() : QString())};
        for (int c = 0; c < itens.size(); ++c) {
            if (f.maisBarato) {
                QFont negrito = itens[c]->font();
                negrito.setBold(true);
                itens[c]->setFont(negrito);
                itens[c]->setBackground(QColor(0xdf, 0xf0, 0xd8));
            }
            m_fornecedores->setItem(r, c, itens[c]);
        }
    }
    m_fornecedores->resizeColumnsToContents();
    if (!d.fornecedores.isEmpty())
        m_fornecedores->setCurrentCell(0, 0);

    m_pendentes->setRowCount(int(d.pendentes.size()));
    for (int r = 0; r < d.pendentes.size(); ++r) {
        const EncomendaHistorico &e = d.pendentes.at(r);
        m_pendentes->setItem(r, 0, celula(e.documento));
        m_pendentes->setItem(r, 1, celula(e.fornecedor));
        m_pendentes->setItem(r, 2, celula(Valores::textoData(e.data)));
        m_pendentes->setItem(r, 3, celula(e.quantidade.texto(0), true));
    }
    m_pendentes->resizeColumnsToContents();
    m_semPendentes->setVisible(d.pendentes.isEmpty());
    m_fornecedores->setFocus();
}

void JanelaHistorico::escolhe(int linha)
{
    if (linha < 0 || linha >= m_dados.fornecedores.size())
        return;
    const FornecedorHistorico f = m_dados.fornecedores.at(linha);
    accept();
    emit fornecedorEscolhido(f);
}
