#include "impressaogrelha.h"
#include "grelha.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QtMath>

namespace {

// Sizes in points.
constexpr qreal PontosCabecalho = 14, PontosRodape = 12;
constexpr qreal Margem = 28.35;   // 10 mm
constexpr qreal Intervalo = 6;    // between the header, the table and the footer
constexpr qreal Folga = 2;        // a cell's text from its borders

qreal alturaLinhaCabecalho() { return PontosCabecalho * 1.35; }
qreal alturaRodape() { return PontosRodape * 1.6; }

QFont fonteCabecalho()
{
    QFont f(QStringLiteral("Verdana"));
    f.setPointSizeF(PontosCabecalho);
    f.setBold(true);
    return f;
}

QFont fonteRodape()
{
    QFont f(QStringLiteral("Verdana"));
    f.setPointSizeF(PontosRodape);
    return f;
}

} // namespace

// Where things go on a page, in points from the printable area's top left.
struct ImpressaoGrelha::Medidas
{
    qreal largura = 0, altura = 0;
    qreal topoTitulos = 0, alturaTitulos = 0, alturaLinha = 0, topoRodape = 0;
    QList<qreal> colunas;   // widths
    int linhasPorPagina = 1;
};

ImpressaoGrelha::ImpressaoGrelha(const Grelha &grelha, const QString &cabecalho)
    : m_conteudo(ConteudoGrelha::de(grelha)), m_cabecalho(cabecalho), m_fonte(grelha.font())
{
}

QPageLayout ImpressaoGrelha::paginacao() const
{
    qreal largura = 0;
    for (const ConteudoGrelha::Coluna &c : m_conteudo.colunas)
        largura += c.largura / 20.0;   // twips to points
    const QPageSize a4(QPageSize::A4);
    const bool deitada = largura > a4.size(QPageSize::Point).width() - 2 * Margem;
    return QPageLayout(a4, deitada ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(Margem, Margem, Margem, Margem),
                       QPageLayout::Point);
}

QStringList ImpressaoGrelha::linhasCabecalho() const
{
    QString t = m_cabecalho;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

ImpressaoGrelha::Medidas ImpressaoGrelha::medidas(const QPageLayout &pagina) const
{
    Medidas m;
    const QRectF area = pagina.paintRect(QPageLayout::Point);
    m.largura = area.width();
    m.altura = area.height();
    const qreal pontos = m_fonte.pointSizeF() > 0 ? m_fonte.pointSizeF() : 8;
    m.topoTitulos = linhasCabecalho().size() * alturaLinhaCabecalho() + Intervalo;
    m.alturaTitulos = pontos * 2.0;
    m.alturaLinha = pontos * 1.8;
    m.topoRodape = m.altura - alturaRodape();
    const qreal corpo = m.topoRodape - Intervalo - m.topoTitulos - m.alturaTitulos;
    m.linhasPorPagina = qMax(1, int(std::floor(corpo / m.alturaLinha)));
    qreal total = 0;
    for (const ConteudoGrelha::Coluna &c : m_conteudo.colunas)
        total += c.largura / 20.0;
    const qreal escala = total > m.largura ? m.largura / total : 1.0;
    for (const ConteudoGrelha::Coluna &c : m_conteudo.colunas)
        m.colunas << c.largura / 20.0 * escala;
    return m;
}

int ImpressaoGrelha::linhasPorPagina(const QPageLayout &pagina) const { return medidas(pagina).linhasPorPagina; }

int ImpressaoGrelha::paginas(const QPageLayout &pagina) const
{
    const int porPagina = linhasPorPagina(pagina);
    return qMax(1, int((m_conteudo.linhas.size() + porPagina - 1) / porPagina));
}

QString ImpressaoGrelha::textoRodape(int numero, int total) const
{
    QString t = m_rodape;
    return t.replace(QStringLiteral("{pagecount}"), QString::number(total)).replace(QStringLiteral("{page}"), QString::number(numero));
}

QStringList ImpressaoGrelha::textos(const QPageLayout &pagina, int numero) const
{
    QStringList t;
    for (const QString &l : linhasCabecalho())
        if (!l.isEmpty())
            t << l;
    QStringList titulos;
    for (const ConteudoGrelha::Coluna &c : m_conteudo.colunas)
        titulos << c.titulo;
    t << titulos.join(QLatin1Char('\t'));
    const int porPagina = linhasPorPagina(pagina);
    const int total = paginas(pagina);
    if (numero < 1 || numero > total)
        return {};
    for (int r = (numero - 1) * porPagina; r < qMin(int(m_conteudo.linhas.size()), numero * porPagina); ++r)
        t << m_conteudo.linhas.at(r).join(QLatin1Char('\t'));
    t << textoRodape(numero, total);
    return t;
}

void ImpressaoGrelha::desenhaPagina(QPainter &p, const QPageLayout &pagina, qreal dpi, int numero) const
{
    const Medidas m = medidas(pagina);
    const int total = paginas(pagina);
    const auto px = [dpi](qreal pontos) { return pontos * dpi / 72.0; };
    const auto rect = [&](qreal x, qreal y, qreal l, qreal a) { return QRectF(px(x), px(y), px(l), px(a)); };
    p.save();
    p.setPen(Qt::black);

    // Header.
    p.setFont(fonteCabecalho());
    qreal y = 0;
    for (const QString &l : linhasCabecalho()) {
        p.drawText(rect(0, y, m.largura, alturaLinhaCabecalho()), Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, l);
        y += alturaLinhaCabecalho();
    }

    // Column headings and the rows of this page.
    qreal largura = 0;
    for (qreal l : m.colunas)
        largura += l;
    const qreal esquerda = (m.largura - largura) / 2;   // the table is centred like the header
    const auto celulas = [&](const QStringList &textos, qreal topo, qreal altura, bool titulos) {
        qreal x = esquerda;
        const QFontMetricsF fm = p.fontMetrics();
        for (int c = 0; c < m.colunas.size(); ++c) {
            const QRectF caixa = rect(x, topo, m.colunas[c], altura);
            const QRectF dentro = caixa.adjusted(px(Folga), 0, -px(Folga), 0);
            const bool direita = !titulos && m_conteudo.colunas[c].numerica();
            // Most texts fit: only the others are measured. A text is cut
            // with "…"; a number never is (a cut amount reads as another):
            // it is drawn narrower, whole.
            QString texto = textos.value(c);
            const qreal largo = fm.horizontalAdvance(texto);
            const int alinha = (titulos ? Qt::AlignHCenter : direita ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            if (largo > dentro.width() && direita) {
                p.save();
                p.translate(dentro.left(), 0);
                p.scale(dentro.width() / largo, 1);
                p.drawText(QRectF(0, dentro.top(), largo, dentro.height()), alinha, texto);
                p.restore();
            } else {
                if (largo > dentro.width())
                    texto = fm.elidedText(texto, Qt::ElideRight, dentro.width());
                p.drawText(dentro, alinha, texto);
            }
            p.drawLine(caixa.topRight(), caixa.bottomRight());
            x += m.colunas[c];
        }
    };
    p.setFont(m_fonte);
    const QRectF titulos = rect(esquerda, m.topoTitulos, largura, m.alturaTitulos);
    p.fillRect(titulos, QColor(230, 230, 230));
    p.drawRect(titulos);
    QStringList nomes;
    for (const ConteudoGrelha::Coluna &c : m_conteudo.colunas)
        nomes << c.titulo;
    celulas(nomes, m.topoTitulos, m.alturaTitulos, true);

    const int primeira = (numero - 1) * m.linhasPorPagina;
    const int ultima = qMin(int(m_conteudo.linhas.size()), primeira + m.linhasPorPagina);
    y = m.topoTitulos + m.alturaTitulos;
    for (int r = primeira; r < ultima; ++r, y += m.alturaLinha) {
        p.setPen(Qt::black);
        celulas(m_conteudo.linhas.at(r), y, m.alturaLinha, false);
        p.setPen(QColor(160, 160, 160));
        p.drawLine(QPointF(px(esquerda), px(y + m.alturaLinha)), QPointF(px(esquerda + largura), px(y + m.alturaLinha)));
    }
    if (ultima > primeira) {
        p.setPen(Qt::black);
        p.drawLine(QPointF(px(esquerda), px(m.topoTitulos)), QPointF(px(esquerda), px(y)));
    }

    // Footer.
    p.setPen(Qt::black);
    p.setFont(fonteRodape());
    p.drawText(rect(0, m.topoRodape, m.largura, alturaRodape()), Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine,
               textoRodape(numero, total));
    p.restore();
}

bool ImpressaoGrelha::imprime(QPrinter &impressora) const
{
    QPainter p;
    if (!p.begin(&impressora))
        return false;
    const QPageLayout pagina = impressora.pageLayout();
    const int total = paginas(pagina);
    int de = 1, ate = total;
    if (impressora.printRange() == QPrinter::PageRange && impressora.fromPage() > 0) {
        de = qMax(1, impressora.fromPage());
        ate = qMin(total, impressora.toPage() > 0 ? impressora.toPage() : total);
    }
    for (int n = de; n <= ate; ++n) {
        if (n > de)
            impressora.newPage();
        desenhaPagina(p, pagina, impressora.resolution(), n);
        // A long grid takes seconds: the windows keep being painted meanwhile
        // (the user's input waits until the document is done).
        if ((n - de) % 20 == 19)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return p.end();
}

bool ImpressaoGrelha::gravaPdf(const QString &ficheiro, QString *erro) const
{
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(ficheiro);
    impressora.setPageLayout(paginacao());
    impressora.setCreator(QStringLiteral("Tessela"));
    if (imprime(impressora) && QFileInfo(ficheiro).size() > 0)
        return true;
    if (erro)
        *erro = QStringLiteral("Não foi possível escrever o ficheiro %1.").arg(ficheiro);
    return false;
}

QImage ImpressaoGrelha::imagem(const QPageLayout &pagina, int numero, int dpi) const
{
    QImage img(pagina.fullRectPixels(dpi).size(), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(pagina.paintRectPixels(dpi).topLeft());
    desenhaPagina(p, pagina, dpi, numero);
    return img;
}
