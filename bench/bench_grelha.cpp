// The grid filled as the windows load it: 10,000 rows added one at a time
// with redraw off, five columns written each (a code, a text, a date, an
// amount and a flag), redraw on and the window painted; the time of the whole,
// in 5 rounds, and its median. Target: under 1 s. Every row must hold what was
// written and the amounts must show in the Portuguese format.
//
//   bench_grelha [--pequena]
#include "comum.h"
#include "grelha.h"

#include <QApplication>

namespace {

void colunas(Grelha &g)
{
    g.limpaColunas();
    g.adicionaColuna({.chave = "Forn", .titulo = "Fornecedor", .largura = 1000, .comprimentoMax = 15,
                      .botao = BotaoCelula::Reticencias});
    g.adicionaColuna({.chave = "Descr", .titulo = "Designação", .largura = 3000, .comprimentoMax = 50, .soLeitura = true,
                      .recebeFoco = false});
    g.adicionaColuna({.chave = "DataE", .titulo = "Data", .tipo = TipoColuna::Data, .largura = 1200, .comprimentoMax = 10,
                      .botao = BotaoCelula::Lista});
    g.adicionaColuna({.chave = "Preco", .titulo = "Preço", .tipo = TipoColuna::Moeda, .largura = 1200, .comprimentoMax = 10,
                      .formato = "##,###.00"});
    g.adicionaColuna({.chave = "Altera", .titulo = "Altera", .tipo = TipoColuna::Booleano, .oculta = true,
                      .valorPredefinido = false});
}

// An amount as the grid's "##,###.00" shows it: "12.498,75".
QString montante(double v)
{
    const QString s = QString::number(v, 'f', 2);
    QString inteira = s.left(s.size() - 3);
    for (qsizetype i = inteira.size() - 3; i > 0; i -= 3)
        inteira.insert(i, QLatin1Char('.'));
    return inteira + QLatin1Char(',') + s.right(2);
}

// The rows the way a window loads them; false when a cell does not hold what was written.
bool enche(Grelha &g, int linhas)
{
    g.setRedesenho(false);
    g.setLinhas(2);
    for (int r = 0; r < linhas; ++r) {
        if (r >= g.linhas() - 1)
            g.setLinhas(g.linhas() + 1);
        g.setMatriz(r, 0, QString::number(r));
        g.setMatriz(r, 1, QStringLiteral("Designação do artigo"));
        g.setMatriz(r, 2, QDate(2024, 1, 1).addDays(r % 300));
        g.setMatriz(r, 3, r * 1.25);
        g.setMatriz(r, 4, false);
    }
    g.setRedesenho(true);
    QCoreApplication::processEvents();
    return g.linhas() == linhas + 1 && g.matriz(linhas - 1, 0) == QVariant(QString::number(linhas - 1))
           && g.textoCelula(linhas, 4) == montante((linhas - 1) * 1.25)
           && g.matriz(linhas / 2, 2).toDate() == QDate(2024, 1, 1).addDays((linhas / 2) % 300);
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::semEcra();
    QApplication app(argc, argv);
    const Bench::Opcoes o = Bench::opcoes(app.arguments());
    const int linhas = o.conforme(10000, 1000);
    Bench::Lado tempos;
    bool certas = true;
    for (int volta = 0; volta < o.conforme(5, 2); ++volta) {
        Grelha g;
        colunas(g);
        g.resize(600, 300);
        g.show();
        bool certa = false;
        tempos.junta(Bench::mede([&] { certa = enche(g, linhas); }) / 1000.0);
        certas = certas && certa;
    }
    Bench::out() << linhas << " linhas, uma a uma, " << tempos.volta.us.size() << " voltas" << Qt::endl;
    tempos.fechaVolta();
    Bench::linha(QStringLiteral("  mediana"), tempos.mediana(), QStringLiteral("ms"));
    const bool alvo = tempos.mediana() < 1000;
    Bench::out() << "  alvo < 1000 ms: " << (alvo ? "atingido" : "NÃO atingido") << Qt::endl
                 << (certas ? "Células certas." : "CÉLULAS ERRADAS.") << Qt::endl;
    return certas && (o.pequena || alvo) ? 0 : 1;
}
