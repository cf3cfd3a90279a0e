#include "visualizadorimpressao.h"
#include "dialogosimpressao.h"
#include "mensagens.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGraphicsItem>
#include <QGraphicsView>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

VisualizadorImpressao::VisualizadorImpressao(QWidget *pai)
    : QWidget(pai), m_barra(new QToolBar(this)), m_previsao(new QPrintPreviewWidget(&m_impressora, this)),
      m_zoom(new QLabel(this)), m_pagina(new QLabel(this))
{
    auto *l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(m_barra);
    l->addWidget(m_previsao, 1);
    m_barra->setIconSize(QSize(16, 16));
    m_barra->setToolButtonStyle(Qt::ToolButtonIconOnly);

    QStyle *s = style();
    m_ferramentas = {nullptr, nullptr};
    connect(ferramentaNova(2, IconesImpressao::imprimir(), QStringLiteral("&Imprimir..."), QStringLiteral("Imprimir")),
            &QAction::triggered, this, &VisualizadorImpressao::imprime);
    separador(3);
    connect(ferramentaNova(4, IconesImpressao::copiar(), QString(), QStringLiteral("Copiar")), &QAction::triggered, this,
            &VisualizadorImpressao::copia);
    separador(5);
    connect(ferramentaNova(6, IconesImpressao::procurar(), QString(), QStringLiteral("Procurar")), &QAction::triggered, this,
            &VisualizadorImpressao::procura);
    separador(7);
    connect(ferramentaNova(8, IconesImpressao::paginaSimples(), QString(), QStringLiteral("Página Simples")), &QAction::triggered,
            m_previsao, &QPrintPreviewWidget::setSinglePageViewMode);
    connect(ferramentaNova(9, IconesImpressao::paginasMultiplas(), QString(), QStringLiteral("Páginas Múltiplas")),
            &QAction::triggered, m_previsao, &QPrintPreviewWidget::setAllPagesViewMode);
    separador(10);
    connect(ferramentaNova(11, IconesImpressao::diminuir(), QString(), QStringLiteral("Diminuir")), &QAction::triggered, this,
            [this] { m_previsao->zoomOut(1.25); });
    connect(ferramentaNova(12, IconesImpressao::aumentar(), QString(), QStringLiteral("Aumentar")), &QAction::triggered, this,
            [this] { m_previsao->zoomIn(1.25); });
    m_ferramentas << m_barra->addWidget(m_zoom);
    separador(14);
    connect(ferramentaNova(15, s->standardIcon(QStyle::SP_ArrowLeft), QString(), QStringLiteral("Página anterior")),
            &QAction::triggered, this, [this] { vaiParaPagina(paginaActual() - 1); });
    connect(ferramentaNova(16, s->standardIcon(QStyle::SP_ArrowRight), QString(), QStringLiteral("Página seguinte")),
            &QAction::triggered, this, [this] { vaiParaPagina(paginaActual() + 1); });
    m_ferramentas << m_barra->addWidget(m_pagina);
    separador(18);
    connect(ferramentaNova(19, s->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Avançar"), QStringLiteral("Avançar")),
            &QAction::triggered, this, &VisualizadorImpressao::avanca);
    connect(ferramentaNova(20, s->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Recuar"), QStringLiteral("Recuar")),
            &QAction::triggered, this, &VisualizadorImpressao::recua);
    m_barra->addSeparator();
    connect(ferramentaNova(21, IconesImpressao::pdf(), QStringLiteral("Guardar PDF..."), QStringLiteral("Guardar como PDF")),
            &QAction::triggered, this, &VisualizadorImpressao::gravaPdf);
    m_pagina->setContentsMargins(6, 0, 6, 0);
    m_zoom->setContentsMargins(6, 0, 6, 0);

    connect(m_previsao, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *p) { m_documento.imprime(*p); });
    connect(m_previsao, &QPrintPreviewWidget::previewChanged, this, &VisualizadorImpressao::mudou);
    m_previsao->setZoomMode(QPrintPreviewWidget::FitToWidth);
    actualizaEstado();
}

VisualizadorImpressao::~VisualizadorImpressao()
{
    // The preview may ask for pages while it goes: not from a half-gone viewer.
    disconnect(m_previsao, nullptr, this, nullptr);
}

QAction *VisualizadorImpressao::ferramentaNova(int numero, const QIcon &icone, const QString &legenda, const QString &dica)
{
    QAction *a = m_barra->addAction(icone, legenda.isEmpty() ? dica : legenda);
    a->setToolTip(dica);
    // Tools with a caption show it beside their icon; the others their icon only.
    if (!legenda.isEmpty())
        if (auto *b = qobject_cast<QToolButton *>(m_barra->widgetForAction(a)))
            b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    Q_ASSERT(m_ferramentas.size() == numero);
    m_ferramentas << a;
    return a;
}

void VisualizadorImpressao::separador(int numero)
{
    Q_ASSERT(m_ferramentas.size() == numero);
    m_ferramentas << m_barra->addSeparator();
}

void VisualizadorImpressao::setDocumento(const ImpressaoGrelha &documento, const QString &nomePdf)
{
    m_documento = documento;
    m_nomePdf = nomePdf;
    m_impressora.setPageLayout(documento.paginacao());
    m_historico.clear();
    m_posicao = -1;
    m_previsao->updatePreview();
    vaiParaPagina(1);
}

int VisualizadorImpressao::paginaActual() const { return m_previsao->currentPage(); }
int VisualizadorImpressao::paginas() const { return m_previsao->pageCount(); }

void VisualizadorImpressao::vaiParaPagina(int pagina)
{
    if (pagina >= 1 && pagina <= paginas()) {
        m_previsao->setCurrentPage(pagina);
        mostraTopo(pagina);
    }
    mudou();
}

void VisualizadorImpressao::mostraTopo(int pagina)
{
    // The preview centres the page it goes to; a page taller than the view
    // would then show its middle. Its top (the header) is what the user
    // looks for first.
    auto *vista = m_previsao->findChild<QGraphicsView *>();
    if (!vista || !vista->scene())
        return;
    QList<QRectF> folhas;
    for (QGraphicsItem *i : vista->scene()->items())
        if (!i->parentItem())
            folhas << i->sceneBoundingRect();
    std::sort(folhas.begin(), folhas.end(), [](const QRectF &a, const QRectF &b) {
        return qFuzzyCompare(a.top(), b.top()) ? a.left() < b.left() : a.top() < b.top();
    });
    if (pagina >= 1 && pagina <= folhas.size())
        vista->ensureVisible(QRectF(folhas.at(pagina - 1).topLeft(), QSizeF(1, 1)), 0, 10);
}

void VisualizadorImpressao::mudou()
{
    // Every page the user comes to goes into the history, after the one
    // shown; going back and forward moves along it.
    const int actual = paginaActual();
    if (!m_aNavegar && actual >= 1 && (m_posicao < 0 || m_historico.value(m_posicao) != actual)) {
        m_historico.resize(m_posicao + 1);
        m_historico << actual;
        m_posicao = int(m_historico.size()) - 1;
    }
    actualizaEstado();
}

void VisualizadorImpressao::actualizaEstado()
{
    const int actual = paginaActual(), total = paginas();
    m_pagina->setText(QStringLiteral("Página %1 de %2").arg(actual).arg(total));
    m_zoom->setText(QStringLiteral("%1%").arg(qRound(m_previsao->zoomFactor() * 100)));
    ferramenta(15)->setEnabled(actual > 1);
    ferramenta(16)->setEnabled(actual < total);
    ferramenta(20)->setEnabled(m_posicao > 0);
    ferramenta(19)->setEnabled(m_posicao >= 0 && m_posicao < m_historico.size() - 1);
}

void VisualizadorImpressao::recua()
{
    if (m_posicao <= 0)
        return;
    m_aNavegar = true;
    m_previsao->setCurrentPage(m_historico.at(--m_posicao));
    m_aNavegar = false;
    actualizaEstado();
}

void VisualizadorImpressao::avanca()
{
    if (m_posicao < 0 || m_posicao >= m_historico.size() - 1)
        return;
    m_aNavegar = true;
    m_previsao->setCurrentPage(m_historico.at(++m_posicao));
    m_aNavegar = false;
    actualizaEstado();
}

void VisualizadorImpressao::imprime()
{
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageLayout(m_documento.paginacao());
    impressora.setFromTo(1, paginas());
    if (!DialogosImpressao::actuais().preparaImpressora(this, impressora))
        return;
    if (!m_documento.imprime(impressora))
        Mensagem(QString(), QStringLiteral("Não foi possível imprimir na impressora %1.").arg(impressora.printerName()), 2);
}

void VisualizadorImpressao::copia()
{
    QGuiApplication::clipboard()->setImage(m_documento.imagem(m_impressora.pageLayout(), paginaActual(), 150));
}

bool VisualizadorImpressao::procura()
{
    const QString texto = DialogosImpressao::actuais().textoAProcurar(this, m_procurado);
    if (texto.isEmpty())
        return false;
    m_procurado = texto;
    // From the page after the current one, round to the current one itself.
    const int total = paginas();
    for (int i = 1; i <= total; ++i) {
        const int pagina = (paginaActual() - 1 + i) % total + 1;
        for (const QString &linha : m_documento.textos(m_impressora.pageLayout(), pagina))
            if (linha.contains(texto, Qt::CaseInsensitive)) {
                vaiParaPagina(pagina);
                return true;
            }
    }
    Mensagem(QString(), QStringLiteral("O texto \"%1\" não foi encontrado.").arg(texto), 2);
    return false;
}

QString VisualizadorImpressao::gravaPdf()
{
    const QString ficheiro = DialogosImpressao::pedeFicheiro(this, QStringLiteral("Guardar como PDF"), m_nomePdf,
                                                             QStringLiteral("PDF (*.pdf)"), QStringLiteral(".pdf"));
    QString erro;
    if (ficheiro.isEmpty())
        return QString();
    if (!m_documento.gravaPdf(ficheiro, &erro)) {
        Mensagem(QString(), erro, 2);
        return QString();
    }
    return ficheiro;
}
