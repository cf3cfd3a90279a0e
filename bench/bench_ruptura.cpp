// The rupture analysis (mode 1 of the rupture window) on the large data:
// 200,000 articles, 2,000,000 document lines, 37,000 pending needs. In one run:
//   - the set-wise analysis of every pending need (AnaliseRuptura::analisa);
//   - the need-by-need analysis with the four readers (porNecessidade) on a
//     random sample of 1,000 needs, its time scaled to all of them; its rows
//     must be identical to the set-wise rows of the same needs, with and
//     without "Com Previsão";
//   - one bare grouped scan of the document lines of the three kinds the
//     analysis reads (SELECT Artigo, SUM(Quant) ... GROUP BY Artigo joined to
//     Tpdoc), as the engine runs it and read in table order, the faster of
//     the two being the yardstick;
//   - the grid filled with every row of the analysis, and with all 37,000
//     needs as "Necessidades de Encomendas" lists them;
//   - the supplier orders of the whole analysis (with "Com Previsão")
//     generated from the grid through the ERP session, on a copy of the
//     database, with the needs marked and the purchase help written; then the
//     analysis again, which must show none of the ordered needs (only rows
//     without a supplier are left);
//   - the process's peak memory.
// Targets: set-wise at least 50 times faster than need by need, and within 3
// times of the bare scan.
//
//   build/bench/bench_ruptura [--pequena] [pasta-dos-dados]
//
// The large database is made once in <pasta>/ruptura-grande.db (default
// bench-data/) and checked before use; --pequena makes the small scale in a
// temporary folder, runs once and asserts no timing. The exit status is not
// zero when a step fails or the rows differ (and, on the large data, when a
// target is missed).
#include "comum.h"

#include "analiseruptura.h"
#include "geracaoencomendas.h"
#include "grelha.h"
#include "grelhanecessidades.h"
#include "leitoresruptura.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QSet>

namespace {

const QDate Hoje(2026, 12, 6);
constexpr int Amostra = 1000;

// The kilobytes of the process's peak resident memory.
qint64 picoMemoria()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("VmHWM:"))
            return l.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

double melhor(const std::vector<double> &v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

bool geraBase(LigacaoBd &bd, const GeradorDemo::Escala &e)
{
    GeradorDemo g(20261206, Hoje);
    QElapsedTimer t;
    t.start();
    g.progresso = [&](const QString &tabela, qint64 n) {
        Bench::out() << "  " << tabela << " " << n << " (" << t.elapsed() / 1000 << " s)" << Qt::endl;
    };
    if (!g.gera(bd, e)) {
        Bench::out() << g.erro() << Qt::endl;
        return false;
    }
    return true;
}

int pendentes(LigacaoBd &bd) { return bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE Processado = 0")).toInt(); }

// The set-wise rows of the sample's needs, in load order.
QList<LinhaRuptura> daAmostra(const QList<LinhaRuptura> &todas, const QSet<qint64> &ids)
{
    QList<LinhaRuptura> r;
    for (const LinhaRuptura &l : todas)
        if (ids.contains(l.id))
            r << l;
    return r;
}

QString descreve(const LinhaRuptura &l)
{
    return QStringLiteral("Id %1 %2 pend %3 enc %4 prev %5 ult %6/%7/%8 econ %9/%10/%11 ref %12")
        .arg(l.id)
        .arg(l.artigo, l.pendForn.texto(), l.enc.texto(), l.prev.texto(), l.ultPrec.texto(), l.fornUlt,
             l.dataUlt.toString(Qt::ISODate), l.precEc.texto(), l.fornMenos)
        .arg(l.dataMenos.toString(Qt::ISODate), l.refForn);
}

// The first difference between two lists of rows, or the empty text.
QString diferenca(const QList<LinhaRuptura> &a, const QList<LinhaRuptura> &b)
{
    for (int i = 0; i < qMin(a.size(), b.size()); ++i)
        if (!(a.at(i) == b.at(i)))
            return QStringLiteral("linha %1:\n    %2\n    %3").arg(i).arg(descreve(a.at(i)), descreve(b.at(i)));
    if (a.size() != b.size())
        return QStringLiteral("%1 linhas contra %2").arg(a.size()).arg(b.size());
    return QString();
}

const QString sqlEscalaSimples = QStringLiteral(
    "SELECT l.Artigo, SUM(l.Quant) AS Qtd FROM docgclin l INNER JOIN Tpdoc t ON t.Codigo = l.Tpdocum WHERE (")
    + QLatin1String(LeitoresRuptura::CondicaoVendas) + QStringLiteral(") OR (") + QLatin1String(LeitoresRuptura::CondicaoPendentes)
    + QStringLiteral(") OR (") + QLatin1String(LeitoresRuptura::CondicaoCompras) + QStringLiteral(") GROUP BY l.Artigo");
// The same scan forced to read the table in its own order: SQLite runs the
// statement above through the article index, a random read of every line,
// and reading the lines in order is faster here. The faster of the two is
// the yardstick.
QString sqlEscalaSequencial()
{
    QString s = sqlEscalaSimples;
    return s.replace(QStringLiteral("FROM docgclin l "), QStringLiteral("FROM docgclin l NOT INDEXED "));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool pequena = args.removeAll(QStringLiteral("--pequena")) > 0;
    const GeradorDemo::Escala escala = pequena ? GeradorDemo::Escala::pequena() : GeradorDemo::Escala::grande();
    const int repeticoes = pequena ? 1 : 3;

    QTemporaryDir temporaria;
    const QString pasta = pequena ? temporaria.path() : args.value(0, QStringLiteral("bench-data"));
    QDir().mkpath(pasta);
    const QString ficheiro = QDir(pasta).absoluteFilePath(pequena ? QStringLiteral("ruptura-pequena.db") : QStringLiteral("ruptura-grande.db"));
    // A file of this benchmark's own, checked before use: a database made by
    // an older generator (other needs, no document series) is made again.
    if (QFileInfo::exists(ficheiro)) {
        LigacaoBd prova;
        if (!prova.Abre(Bench::cadeiaSqlite(ficheiro)) || pendentes(prova) != escala.necessidades
            || prova.valorUnico(QStringLiteral("SELECT COUNT(*) FROM SeriesDoc")).toInt() == 0) {
            Bench::out() << ficheiro << " não tem as " << escala.necessidades << " necessidades pendentes ou as séries dos documentos: volta a ser criada." << Qt::endl;
            prova.Fecha();
            QFile::remove(ficheiro);
        }
    }
    if (Bench::criaUmaVez(ficheiro, [&](LigacaoBd &bd) { return geraBase(bd, escala); }).isEmpty())
        return 1;
    LigacaoBd bd;
    if (!bd.Abre(Bench::cadeiaSqlite(ficheiro))) {
        Bench::out() << bd.ultimoErro().texto() << Qt::endl;
        return 1;
    }

    FiltrosRuptura f;
    f.Tipo = 1;
    f.dias = 30;
    f.comPrevisao = true;
    f.hoje = Hoje;
    AnaliseRuptura analise(bd);
    QList<NecessidadePendente> necessidades;
    if (!analise.necessidades(f, necessidades)) {
        Bench::out() << analise.erro() << Qt::endl;
        return 1;
    }
    const int total = int(necessidades.size());
    Bench::out() << ficheiro << ": " << total << " necessidades pendentes" << Qt::endl;

    // Set-wise, every need.
    QList<LinhaRuptura> linhas;
    std::vector<double> tConjunto;
    for (int r = 0; r < repeticoes; ++r) {
        bool ok = false;
        tConjunto.push_back(Bench::mede([&] { ok = analise.analisa(f, linhas); }) / 1000.0);
        if (!ok) {
            Bench::out() << analise.erro() << Qt::endl;
            return 1;
        }
    }

    // Need by need, on a sample kept in load order.
    QList<NecessidadePendente> amostra;
    QSet<qint64> ids;
    QRandomGenerator aleatorio(20261206);
    for (int i = 0; i < total; ++i)
        if (total <= Amostra || int(aleatorio.bounded(total)) < Amostra) {
            amostra << necessidades.at(i);
            ids.insert(necessidades.at(i).id);
        }
    QList<LinhaRuptura> porNecessidade;
    bool ok = false;
    const double tAmostra = Bench::mede([&] { ok = analise.porNecessidade(f, amostra, porNecessidade); }) / 1000.0;
    if (!ok) {
        Bench::out() << analise.erro() << Qt::endl;
        return 1;
    }
    const double tPorNecessidade = tAmostra * total / qMax(1, int(amostra.size()));
    QString dif = diferenca(daAmostra(linhas, ids), porNecessidade);
    // The same comparison without "Com Previsão" (more needs give rows).
    FiltrosRuptura semPrevisao = f;
    semPrevisao.comPrevisao = false;
    QList<LinhaRuptura> conjuntoSem, necessidadeSem;
    if (!analise.analisa(semPrevisao, conjuntoSem) || !analise.porNecessidade(semPrevisao, amostra, necessidadeSem)) {
        Bench::out() << analise.erro() << Qt::endl;
        return 1;
    }
    const QString difSem = diferenca(daAmostra(conjuntoSem, ids), necessidadeSem);

    // One bare grouped scan, as written and read in table order.
    std::vector<double> tSimples, tSequencial;
    int artigosSimples = 0, artigosSequencial = 0;
    for (int r = 0; r < repeticoes; ++r) {
        Recordset rs;
        tSimples.push_back(Bench::mede([&] { bd.AbreConsulta(sqlEscalaSimples, rs); }) / 1000.0);
        artigosSimples = rs.RecordCount();
        tSequencial.push_back(Bench::mede([&] { bd.AbreConsulta(sqlEscalaSequencial(), rs); }) / 1000.0);
        artigosSequencial = rs.RecordCount();
    }
    if (artigosSimples != artigosSequencial) {
        Bench::out() << "O varrimento simples deu " << artigosSimples << " e " << artigosSequencial << " artigos." << Qt::endl;
        return 1;
    }

    // The grid filled and painted once: with the analysis without "Com
    // Previsão" (the larger one), and with every pending need as "Necessidades
    // de Encomendas" lists them.
    FiltrosRuptura lista = f;
    lista.Tipo = 2;
    QList<LinhaRuptura> todas;
    const double tLista = Bench::mede([&] { ok = analise.listaNecessidades(lista, todas); }) / 1000.0;
    if (!ok) {
        Bench::out() << analise.erro() << Qt::endl;
        return 1;
    }
    const auto enche = [](const QList<LinhaRuptura> &linhasGrelha, int tipo) {
        Grelha grelha;
        grelha.resize(1200, 600);
        GrelhaNecessidades::montaColunas(grelha, tipo);
        grelha.show();
        QCoreApplication::processEvents();
        return Bench::mede([&] {
                   grelha.setRedesenho(false);
                   GrelhaNecessidades::preenche(grelha, linhasGrelha, tipo);
                   grelha.setRedesenho(true);
                   grelha.repaint();
               }) / 1000.0;
    };
    const double tGrelha = enche(conjuntoSem, 1), tGrelhaTodas = enche(todas, 2);

    // Every order of the analysis, on a copy (the generation writes).
    const QString copia = temporaria.filePath(QStringLiteral("geracao.db"));
    QFile::remove(copia);
    LigacaoBd bdCopia;
    SessaoErp erp;
    if (!QFile::copy(ficheiro, copia) || !bdCopia.Abre(Bench::cadeiaSqlite(copia))
        || !erp.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(), QString::number(Hoje.year()), copia)) {
        Bench::out() << "Não foi possível preparar a cópia para a geração: " << erp.mensagemResultado() << Qt::endl;
        return 1;
    }
    erp.setLigacao(&bdCopia);
    Grelha grelhaGeracao;
    GrelhaNecessidades::montaColunas(grelhaGeracao, 1);
    GrelhaNecessidades::preenche(grelhaGeracao, linhas, 1);
    const QList<LinhaNecessidade> aEncomendar = GeracaoEncomendas::linhasDaGrelha(grelhaGeracao);
    GeracaoEncomendas geracao(bdCopia, erp);
    QStringList falhasGeracao;
    geracao.setRecusa([&](const EncomendaRecusada &r) { falhasGeracao << r.fornecedor + QStringLiteral(": ") + r.mensagem; });
    geracao.setFalha([&](const QString &texto) { falhasGeracao << texto; });
    const double tGeracao = Bench::mede([&] {
                                ok = geracao.gera(aEncomendar, {QStringLiteral("ENF"), QStringLiteral("001"), QStringLiteral("1"),
                                                                QStringLiteral("1")},
                                                  Hoje);
                            })
                            / 1000.0;
    int linhasEncomendadas = 0;
    for (const EncomendaCriada &e : geracao.criadas())
        linhasEncomendadas += e.registo.linhas;
    const auto comFornecedor = [](const QList<LinhaRuptura> &l) {
        return int(std::count_if(l.cbegin(), l.cend(), [](const LinhaRuptura &x) { return !x.forn.isEmpty(); }));
    };
    AnaliseRuptura analiseDepois(bdCopia);
    QList<LinhaRuptura> depois;
    if (!ok || !falhasGeracao.isEmpty() || !analiseDepois.analisa(f, depois)) {
        Bench::out() << "A geração falhou: " << geracao.erro() << falhasGeracao.join(QLatin1Char('\n')) << analiseDepois.erro() << Qt::endl;
        return 1;
    }
    const bool idaEVolta = linhasEncomendadas == comFornecedor(linhas) && comFornecedor(depois) == 0
                           && depois.size() <= linhas.size() - linhasEncomendadas;

    const double a = tPorNecessidade, b = melhor(tConjunto), c = qMin(melhor(tSimples), melhor(tSequencial));
    Bench::out() << Qt::endl << "Análise de " << total << " necessidades: " << linhas.size() << " linhas com previsão, "
                 << conjuntoSem.size() << " sem; amostra de " << amostra.size() << " necessidades; melhor de " << repeticoes
                 << Qt::endl;
    Bench::linha(QStringLiteral("  por necessidade, amostra"), tAmostra, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  por necessidade, estimado para todas"), a, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  de conjunto (AnaliseRuptura::analisa)"), b, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  varrimento agrupado simples (%1 artigos)").arg(artigosSimples), melhor(tSimples), QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  o mesmo, lido pela ordem da tabela"), melhor(tSequencial), QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  por necessidade / de conjunto (alvo >= 50)"), a / b, QStringLiteral("x"));
    Bench::linha(QStringLiteral("  de conjunto / o mais rápido dos varrimentos (alvo <= 3)"), b / c, QStringLiteral("x"));
    Bench::linha(QStringLiteral("  preencher a grelha com %1 linhas da análise").arg(conjuntoSem.size()), tGrelha, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  ler as %1 necessidades (modo 2)").arg(todas.size()), tLista, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  preencher a grelha com as %1 necessidades").arg(todas.size()), tGrelhaTodas, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  gerar %1 encomendas com %2 linhas").arg(geracao.criadas().size()).arg(linhasEncomendadas), tGeracao,
                 QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  o mesmo, por linha encomendada"), tGeracao / qMax(1, linhasEncomendadas), QStringLiteral("ms"));
    Bench::out() << "  analisada de novo: " << depois.size() << " linhas, " << comFornecedor(depois) << " com fornecedor ("
                 << (idaEVolta ? "as encomendadas saíram" : "ERRADO") << ")" << Qt::endl;
    Bench::linha(QStringLiteral("  pico de memória do processo"), picoMemoria() / 1024.0, QStringLiteral("MB"));
    const bool iguais = dif.isEmpty() && difSem.isEmpty() && idaEVolta;
    Bench::out() << "  linhas iguais na amostra: "
                 << (iguais ? QStringLiteral("sim") : QStringLiteral("NÃO\n  com previsão: ") + dif + QStringLiteral("\n  sem previsão: ") + difSem)
                 << Qt::endl;
    if (pequena) {
        Bench::out() << "Escala pequena: tempos sem alvo." << Qt::endl;
        return iguais && !linhas.isEmpty() ? 0 : 1;
    }
    const bool atingidos = a / b >= 50 && b / c <= 3;
    Bench::out() << "  alvos: " << (atingidos ? "atingidos" : "NÃO atingidos") << Qt::endl;
    return iguais && atingidos ? 0 : 1;
}
