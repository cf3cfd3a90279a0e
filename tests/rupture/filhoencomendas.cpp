// A program that generates the supplier orders of a demo database's rupture
// analysis (30 days), as the window does, for the tests that kill it at any
// instant or run two of it at once:
//   filhoencomendas <ficheiro> [início]
// início: the moment (ms since the epoch) to start generating, after the
// analysis, so that two programs generate at the same time. It writes
// "INICIO" when it starts generating, "CRIADA <número>" for each order it
// reports as created, "JA <n>" for the lines it left out as already ordered,
// and "FIM"; the exit code is 0 unless something could not run.
#include "analiseruptura.h"
#include "basesqlite.h"
#include "geracaoencomendas.h"
#include "geradordemo.h"
#include "sessaoerp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cstdio>

namespace {
void escreve(const QString &linha)
{
    std::fputs(qPrintable(linha + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return 2;
    const QString ficheiro = args.at(1);
    LigacaoBd bd;
    if (!bd.Abre(BaseSqlite::cadeia(ficheiro))) {
        escreve(bd.ultimoErro().texto());
        return 3;
    }
    SessaoErp erp;
    if (!erp.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(), QString::number(QDate::currentDate().year()),
                  ficheiro)) {
        escreve(erp.mensagemResultado());
        return 4;
    }
    erp.setLigacao(&bd);

    FiltrosRuptura f;
    f.dias = 30;
    QList<LinhaRuptura> analise;
    AnaliseRuptura a(bd);
    if (!a.carrega(f, analise)) {
        escreve(a.erro());
        return 5;
    }
    QList<LinhaNecessidade> linhas;
    for (const LinhaRuptura &r : std::as_const(analise)) {
        LinhaNecessidade l;
        l.linha = int(linhas.size()) + 1;
        l.id = r.id;
        l.artigo = r.artigo;
        l.refArt = r.refForn;
        l.qtd = r.enc;
        l.comQtd = true;
        l.fornec = r.forn;
        l.prUnit = r.precEc;
        linhas << l;
    }
    if (args.size() > 2) {
        const qint64 espera = args.at(2).toLongLong() - QDateTime::currentMSecsSinceEpoch();
        if (espera > 0)
            QThread::msleep(espera);
    }
    escreve(QStringLiteral("INICIO"));
    GeracaoEncomendas g(bd, erp);
    g.setFalha([](const QString &texto) { escreve(QStringLiteral("FALHA ") + QString(texto).replace(QLatin1String("\r\n"), QLatin1String(" "))); });
    if (!g.gera(linhas, {QStringLiteral("ENF"), QStringLiteral("001"), QStringLiteral("1"), QStringLiteral("1")}, QDate::currentDate())) {
        escreve(g.erro());
        return 6;
    }
    for (const EncomendaCriada &e : g.criadas())
        escreve(QStringLiteral("CRIADA %1").arg(e.registo.numero));
    escreve(QStringLiteral("JA %1").arg(g.jaEncomendadas()));
    escreve(QStringLiteral("FIM"));
    return 0;
}
