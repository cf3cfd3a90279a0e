#include "dialogohistoricoprecos.h"

#include "consultas.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTreeWidget>
#include <QValueAxis>
#include <QVBoxLayout>

namespace {

QString textoValor(const ValorPreco &v)
{
    return v.data.isValid() ? QStringLiteral("%1 de %2").arg(v.preco.texto(), Valores::textoData(v.data)) : v.preco.texto();
}

} // namespace

QStringList DialogoHistoricoPrecos::colunas(LadoPrecos lado)
{
    QStringList c{QStringLiteral("Alterado em"), QStringLiteral("Utilizador"), QStringLiteral("Operação"), QStringLiteral("Data"),
                  QStringLiteral("Preço")};
    if (lado == LadoPrecos::Fornecedores)
        c << QStringLiteral("Ref. Forn.");
    c << QStringLiteral("Obs");
    return c;
}

QString DialogoHistoricoPrecos::nomeOperacao(const QString &operacao)
{
    if (operacao == HistoricoPrecos::Alterado)
        return QStringLiteral("Alterado");
    if (operacao == HistoricoPrecos::Anulado)
        return QStringLiteral("Anulado");
    return operacao;
}

DialogoHistoricoPrecos::DialogoHistoricoPrecos(const HistoricoPar &h, QWidget *pai) : QDialog(pai)
{
    const bool fornecedores = h.lado == LadoPrecos::Fornecedores;
    setWindowTitle(QStringLiteral("Histórico de Preços"));
    auto *layout = new QVBoxLayout(this);

    const QString entidade = fornecedores ? QStringLiteral("Fornecedor") : QStringLiteral("Cliente");
    const auto nome = [](const QString &codigo, const QString &n) { return n.isEmpty() ? codigo : codigo + QStringLiteral(" - ") + n; };
    m_cabecalho = new QLabel(QStringLiteral("%1: %2    Artigo: %3").arg(entidade, nome(h.entidade, h.nomeEntidade), nome(h.artigo, h.nomeArtigo)),
                             this);
    QFont negrito = m_cabecalho->font();
    negrito.setBold(true);
    m_cabecalho->setFont(negrito);
    layout->addWidget(m_cabecalho);

    QStringList actuais;
    for (const ValorPreco &v : h.actuais)
        actuais << textoValor(v);
    m_actual = new QLabel(actuais.isEmpty() ? QStringLiteral("Sem preço gravado.")
                                            : QStringLiteral("Preço actual: ") + actuais.join(QStringLiteral("; ")),
                          this);
    layout->addWidget(m_actual);

    m_lista = new QTreeWidget(this);
    m_lista->setRootIsDecorated(false);
    m_lista->setAlternatingRowColors(true);
    m_lista->setHeaderLabels(colunas(h.lado));
    m_lista->setUniformRowHeights(true);
    for (const AlteracaoPreco &a : h.alteracoes) {
        QStringList c{a.quando.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")), a.utilizador, nomeOperacao(a.operacao),
                      Valores::textoData(a.valor.data), a.valor.preco.texto()};
        if (fornecedores)
            c << TextoDe(a.valor.referencia);
        c << TextoDe(a.valor.obs);
        auto *item = new QTreeWidgetItem(m_lista, c);
        item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int c = 0; c < m_lista->columnCount(); ++c)
        m_lista->resizeColumnToContents(c);
    layout->addWidget(m_lista, 1);
    if (h.alteracoes.isEmpty())
        layout->addWidget(new QLabel(QStringLiteral("Este preço nunca foi alterado nem anulado."), this));

    const QList<QPair<QDate, Moeda>> pontos = h.pontos();
    if (pontos.size() >= 2)
        criaGrafico(pontos);

    auto *botoes = new QDialogButtonBox(this);
    botoes->addButton(QStringLiteral("&Fechar"), QDialogButtonBox::RejectRole);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(botoes);
    resize(720, m_grafico ? 560 : 320);
}

void DialogoHistoricoPrecos::criaGrafico(const QList<QPair<QDate, Moeda>> &pontos)
{
    m_serie = new QLineSeries;
    m_serie->setPointsVisible(true);
    double minimo = pontos.first().second.paraDouble(), maximo = minimo;
    for (const auto &[data, preco] : pontos) {
        m_serie->append(double(QDateTime(data, QTime(0, 0)).toMSecsSinceEpoch()), preco.paraDouble());
        minimo = qMin(minimo, preco.paraDouble());
        maximo = qMax(maximo, preco.paraDouble());
    }
    auto *grafico = new QChart;
    grafico->addSeries(m_serie);
    grafico->legend()->hide();
    grafico->setTitle(QStringLiteral("Preço ao longo do tempo"));
    // Prices with a decimal comma, as everywhere in the program.
    grafico->setLocalizeNumbers(true);
    grafico->setLocale(QLocale(QLocale::Portuguese, QLocale::Portugal));
    auto *eixoX = new QDateTimeAxis;
    eixoX->setFormat(QStringLiteral("dd-MM-yyyy"));
    eixoX->setTickCount(qMin(int(pontos.size()), 5));
    grafico->addAxis(eixoX, Qt::AlignBottom);
    m_serie->attachAxis(eixoX);
    auto *eixoY = new QValueAxis;
    eixoY->setLabelFormat(QStringLiteral("%.2f"));
    // A margin above and below, so that a flat price is not drawn on the frame.
    const double margem = qMax((maximo - minimo) * 0.1, qMax(maximo * 0.05, 0.01));
    eixoY->setRange(minimo >= 0 ? qMax(0.0, minimo - margem) : minimo - margem, maximo + margem);
    eixoY->applyNiceNumbers();
    grafico->addAxis(eixoY, Qt::AlignLeft);
    m_serie->attachAxis(eixoY);
    m_grafico = new QChartView(grafico, this);
    m_grafico->setRenderHint(QPainter::Antialiasing);
    m_grafico->setMinimumHeight(220);
    static_cast<QVBoxLayout *>(layout())->addWidget(m_grafico, 2);
}
