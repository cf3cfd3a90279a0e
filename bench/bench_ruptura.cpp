// The rupture analysis (mode 1 of the rupture window) on the large data:
// 200,000 articles, 2,000,000 document lines, 37,000 pending needs. In
// interleaved rounds (at least 5 a side, medians):
//   - the set-wise analysis of every pending need (AnaliseRuptura::analisa),
//     with the time of each of its statements;
//   - the need-by-need analysis with the four readers (porNecessidade) on a
//     random sample of 1,000 needs, its time scaled to all of them; its rows
//     must be identical to the set-wise rows of the same needs, with and
//     without "Com Previsão";
//   - one bare grouped scan of the document lines of the three kinds the
//     analysis reads (SELECT Artigo, SUM(Quant) ... GROUP BY Artigo joined to
//     Tpdoc), as the engine runs it and read in table order, the faster of
//     the two being the yardstick;
//   - the listing of all 37,000 needs as "Necessidades de Encomendas" does it;
//   - one reader's statement for one article (LerQtdFornecedor), what every
//     statement of the need-by-need analysis costs at the least.
// Then, once: the grid filled with every row of the analysis and with every
// need; the supplier orders of the whole analysis (with "Com Previsão")
// generated from the grid through the ERP session, on a copy of the database,
// with the needs marked and the purchase help written, and the analysis again,
// which must show none of the ordered needs (only rows without a supplier are
// left); the process's peak memory, and how much of it is the mapped file.
// The article history of the window (F8), in rounds over articles of the
// sample: reading its figures (HistoricoArtigo), and the whole opening as the
// user waits for it, from the read to the dialog with its chart painted.
// Targets: set-wise at least 50 times faster than need by need, and within 3
// times of the bare scan; the history's figures read in at most 30 ms and the
// dialog shown in at most 100 ms (medians).
//
//   build/bench/bench_ruptura [--pequena] [pasta-dos-dados]
//
// The large database is made once in <pasta>/ruptura-grande-<versão>.db
// (default bench-data/; made again when the generator or the schema
// changes); --pequena makes the small scale in a temporary folder, runs few
// rounds and asserts no timing. The exit status is not zero when a step fails
// or the rows differ (and, on the large data, when a target is missed).
#include "comum.h"

#include "analiseruptura.h"
#include "geracaoencomendas.h"
#include "reservasnecessidades.h"
#include "grelha.h"
#include "grelhanecessidades.h"
#include "historicoartigo.h"
#include "janelahistorico.h"
#include "leitoresruptura.h"

#include <QApplication>
#include <QMap>
#include <QSet>

#include <numeric>

namespace {

const QDate Hoje(2026, 12, 6);
constexpr int Amostra = 1000;

// Kilobytes of a line of /proc/self/status ("VmHWM", "RssAnon", "RssFile").
qint64 memoria(const QByteArray &campo)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith(campo + ':'))
            return l.mid(campo.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// The most memory of the process's own (not pages of files) seen at the
// points where it is looked at.
qint64 maximoPropria = 0;
void olhaMemoria() { maximoPropria = qMax(maximoPropria, memoria("RssAnon")); }

// Kilobytes of a file's pages mapped into the process and resident now.
qint64 mapeado(const QString &ficheiro)
{
    QFile f(QStringLiteral("/proc/self/smaps"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray nome = QFileInfo(ficheiro).canonicalFilePath().toLocal8Bit();
    qint64 kb = 0;
    bool dele = false;
    for (const QByteArray &l : f.readAll().split('\n')) {
        const QByteArray primeiro = l.left(l.indexOf(' '));
        if (primeiro.contains('-') && !primeiro.endsWith(':'))   // a mapping's first line: addresses ... path
            dele = l.endsWith(nome);
        else if (dele && l.startsWith("Rss:"))
            kb += l.mid(4).trimmed().split(' ').value(0).toLongLong();
    }
    return kb;
}

bool geraBase(LigacaoBd &bd, const GeradorDemo::Escala &e, bool pequena)
{
    GeradorDemo g(20261206, Hoje);
    QElapsedTimer t;
    t.start();
    if (!pequena)
        g.progresso = [&](const QString &tabela, qint64 n) {
            Bench::out() << "  " << tabela << " " << n << " (" << t.elapsed() / 1000 << " s)" << Qt::endl;
        };
    if (!g.gera(bd, e)) {
        Bench::out() << g.erro() << Qt::endl;
        return false;
    }
    if (!pequena)
        Bench::out() << "  feito em " << t.elapsed() / 1000 << " s" << Qt::endl;
    return true;
}

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
// The same scan forced to read the table in its own order instead of
// through the article index. The faster of the two is the yardstick.
QString sqlEscalaSequencial()
{
    QString s = sqlEscalaSimples;
    return s.replace(QStringLiteral("FROM docgclin l "), QStringLiteral("FROM docgclin l NOT INDEXED "));
}

// The time of each step of a load, from the reports of its progress: a step
// lasts from its first report to the next step's.
struct Passos
{
    QElapsedTimer relogio;
    QString actual;
    qint64 inicio = 0;
    QMap<QString, std::vector<double>> ms;   // per step, one figure a round
    QStringList ordem;
    qint64 ultimo = 0;
    double maiorIntervalo = 0;   // ms between two reports, the most seen: the longest the window goes unpainted

    AnaliseRuptura::Progresso progresso()
    {
        return [this](const QString &passo, int, int) {
            const qint64 agora = relogio.nsecsElapsed();
            maiorIntervalo = qMax(maiorIntervalo, double(agora - ultimo) / 1e6);
            ultimo = agora;
            if (passo != actual) {
                fecha();
                actual = passo;
                inicio = relogio.nsecsElapsed();
                if (!ordem.contains(passo))
                    ordem << passo;
            }
            return true;
        };
    }
    void comeca()
    {
        relogio.start();
        ultimo = 0;
        actual.clear();
    }
    void fecha()
    {
        if (!actual.isEmpty())
            ms[actual].push_back(double(relogio.nsecsElapsed() - inicio) / 1e6);
        actual.clear();
    }
};

// The article history opened on each article, in rounds: the figures read
// alone, and the whole opening (read, dialog made, shown and painted).
struct TemposHistorico
{
    double msDados = 0, msMostra = 0;
    int fornecedores = 0, pendentes = 0;
    bool ok = true;
};

TemposHistorico medeHistorico(LigacaoBd &bd, const QStringList &artigos, int voltas)
{
    TemposHistorico r;
    Bench::Lado dados, mostra;
    HistoricoArtigo leitor(bd);
    DadosHistorico d;
    const int aMostrar = qMin(int(artigos.size()), 20);
    // Once before timing: fonts, styles and the chart's first use.
    r.ok = leitor.le(artigos.value(0), Hoje, d);
    {
        JanelaHistorico primeira;
        primeira.setDados(d);
        primeira.show();
        primeira.repaint();
    }
    for (int v = 0; v < voltas && r.ok; ++v) {
        for (const QString &a : artigos) {
            dados.mede([&] { r.ok = leitor.le(a, Hoje, d) && r.ok; });
            r.fornecedores += int(d.fornecedores.size());
            r.pendentes += int(d.pendentes.size());
        }
        for (int i = 0; i < aMostrar; ++i) {
            JanelaHistorico *janela = nullptr;
            mostra.mede([&] {
                r.ok = leitor.le(artigos.at(i), Hoje, d) && r.ok;
                janela = new JanelaHistorico;
                janela->setDados(d);
                janela->show();
                janela->repaint();
            });
            delete janela;
        }
        dados.fechaVolta();
        mostra.fechaVolta();
    }
    r.msDados = dados.mediana() / 1000;
    r.msMostra = mostra.mediana() / 1000;
    return r;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::semEcra();
    QApplication app(argc, argv);
    const Bench::Opcoes o = Bench::opcoes(app.arguments());
    const GeradorDemo::Escala escala = o.escala();
    const int voltas = o.conforme(5, 2);

    // A file left by the versions before the name carried the version.
    const QString antigo = QDir(o.pasta).filePath(QStringLiteral("ruptura-grande.db"));
    if (!o.pequena && QFileInfo::exists(antigo)) {
        Bench::out() << "A apagar " << antigo << " (sem versão)" << Qt::endl;
        QFile::remove(antigo);
    }
    const QString ficheiro = Bench::criaUmaVez(
        Bench::ficheiroVersionado(o.pasta, o.pequena ? QStringLiteral("ruptura-pequena") : QStringLiteral("ruptura-grande")),
        [&](LigacaoBd &bd) { return geraBase(bd, escala, o.pequena); });
    if (ficheiro.isEmpty())
        return 1;
    LigacaoBd bd;
    if (!bd.Abre(Bench::cadeiaSqlite(ficheiro)))
        return !Bench::falhou(QStringLiteral("a abrir"), bd);

    FiltrosRuptura f;
    f.Tipo = 1;
    f.dias = 30;
    f.comPrevisao = true;
    f.hoje = Hoje;
    FiltrosRuptura semPrevisao = f;
    semPrevisao.comPrevisao = false;
    FiltrosRuptura lista = f;
    lista.Tipo = 2;
    AnaliseRuptura analise(bd);
    QList<NecessidadePendente> necessidades;
    if (!analise.necessidades(f, necessidades))
        return !Bench::falhou(QStringLiteral("a ler as necessidades"), analise.erro());
    const int total = int(necessidades.size());
    Bench::out() << ficheiro << ": " << total << " necessidades pendentes" << Qt::endl;

    // The sample: Amostra needs drawn at random, kept in load order.
    std::vector<int> indices(total);
    std::iota(indices.begin(), indices.end(), 0);
    QRandomGenerator aleatorio(20261206);
    std::shuffle(indices.begin(), indices.end(), aleatorio);
    indices.resize(std::min<size_t>(indices.size(), Amostra));
    std::sort(indices.begin(), indices.end());
    QList<NecessidadePendente> amostra;
    QSet<qint64> ids;
    for (int i : indices) {
        amostra << necessidades.at(i);
        ids.insert(necessidades.at(i).id);
    }

    // Every side once before timing, so that no side pays for reading the
    // file into memory; then the rounds, the sides in turn.
    QList<LinhaRuptura> linhas, porNecessidade, todas;
    AnaliseRuptura referencia(bd), listaNecessidades(bd);
    Recordset rs;
    int artigosSimples = 0, artigosSequencial = 0;
    Passos passos;
    const auto conjunto = [&] { return analise.analisa(f, linhas); };
    const auto umaAUma = [&] { return referencia.porNecessidade(f, amostra, porNecessidade); };
    const auto listagem = [&] { return listaNecessidades.listaNecessidades(lista, todas); };
    const auto simples = [&] { return bd.AbreConsulta(sqlEscalaSimples, rs) && (artigosSimples = rs.RecordCount()) >= 0; };
    const auto sequencial = [&] { return bd.AbreConsulta(sqlEscalaSequencial(), rs) && (artigosSequencial = rs.RecordCount()) >= 0; };
    if (!conjunto() || !umaAUma() || !listagem())
        return !Bench::falhou(QStringLiteral("a analisar"), analise.erro() + referencia.erro() + listaNecessidades.erro());
    if (!simples() || !sequencial())
        return !Bench::falhou(QStringLiteral("o varrimento simples"), bd);

    Bench::Lado tConjunto, tAmostra, tLista, tSimples, tSequencial, tInstrucao;
    analise.setProgresso(passos.progresso());
    bool ok = true;
    for (int v = 0; v < voltas && ok; ++v) {
        passos.comeca();
        tConjunto.mede([&] { ok = conjunto() && ok; });
        passos.fecha();
        tAmostra.mede([&] { ok = umaAUma() && ok; });
        tLista.mede([&] { ok = listagem() && ok; });
        tSimples.mede([&] { ok = simples() && ok; });
        tSequencial.mede([&] { ok = sequencial() && ok; });
        for (const NecessidadePendente &n : amostra)
            tInstrucao.mede([&] { ok = LerQtdFornecedor(bd, n.artigo, n.artigo, rs) && ok; });
        for (Bench::Lado *l : {&tConjunto, &tAmostra, &tLista, &tSimples, &tSequencial, &tInstrucao})
            l->fechaVolta();
        olhaMemoria();
    }
    if (!ok)
        return !Bench::falhou(QStringLiteral("numa volta"),
                              analise.erro() + referencia.erro() + listaNecessidades.erro() + bd.ultimoErro().texto());
    if (artigosSimples != artigosSequencial)
        return !Bench::falhou(QStringLiteral("o varrimento simples"),
                              QStringLiteral("deu %1 e %2 artigos").arg(artigosSimples).arg(artigosSequencial));
    const double msConjunto = tConjunto.mediana() / 1000, msAmostra = tAmostra.mediana() / 1000;
    const double msPorNecessidade = msAmostra * total / qMax(1, int(amostra.size()));
    const double msVarrimento = qMin(tSimples.mediana(), tSequencial.mediana()) / 1000;

    // The same rows on the sample, with and without "Com Previsão".
    analise.setProgresso({});
    const QString dif = diferenca(daAmostra(linhas, ids), porNecessidade);
    QList<LinhaRuptura> conjuntoSem, necessidadeSem;
    if (!analise.analisa(semPrevisao, conjuntoSem) || !referencia.porNecessidade(semPrevisao, amostra, necessidadeSem))
        return !Bench::falhou(QStringLiteral("a analisar sem previsão"), analise.erro() + referencia.erro());
    const QString difSem = diferenca(daAmostra(conjuntoSem, ids), necessidadeSem);

    // The grid filled and painted once: with the analysis without "Com
    // Previsão" (the larger one), and with every pending need as "Necessidades
    // de Encomendas" lists them.
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
                   olhaMemoria();
               }) / 1000.0;
    };
    const double tGrelha = enche(conjuntoSem, 1), tGrelhaTodas = enche(todas, 2);

    // The article history on 200 articles of the sample.
    QStringList artigosHistorico;
    for (int i = 0; i < amostra.size() && artigosHistorico.size() < 200; i += 5)
        artigosHistorico << amostra.at(i).artigo;
    const TemposHistorico historico = medeHistorico(bd, artigosHistorico, voltas);
    if (!historico.ok || artigosHistorico.isEmpty())
        return !Bench::falhou(QStringLiteral("o histórico do artigo"), bd);

    // Every order of the analysis, on a copy (the generation writes). The
    // file is whole on disk: the connections leave no log behind a read.
    QTemporaryDir temporaria;
    const QString copia = temporaria.filePath(QStringLiteral("geracao.db"));
    bd.Executa(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    LigacaoBd bdCopia;
    SessaoErp erp;
    if (!QFile::copy(ficheiro, copia) || !bdCopia.Abre(Bench::cadeiaSqlite(copia))
        || !erp.Liga(GeradorDemo::empresaDemo(), QString(), GeradorDemo::utilizadorDemo(), QString::number(Hoje.year()), copia))
        return !Bench::falhou(QStringLiteral("a preparar a cópia para a geração"), erp.mensagemResultado());
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
    olhaMemoria();
    const qint64 mapeadaAntes = mapeado(ficheiro);
    int linhasEncomendadas = 0;
    for (const EncomendaCriada &e : geracao.criadas())
        linhasEncomendadas += e.registo.linhas;
    // A crash at every instant at once: each order's needs claimed again as
    // if its program had died between the order and the mark (the orders
    // carry their claims), and a thousand pending needs claimed as if it had
    // died before writing them; the recovery marks the first and releases
    // the others.
    int reservasQueda = 0, semEncomenda = 0, marcadas = 0, libertadas = 0;
    double tRecuperacao = 0;
    {
        Transaccao t(bdCopia);
        bool preparada = t.iniciada();
        const QString dono = QStringLiteral("maquina-que-caiu:1:comprador");
        const QString quando = QStringLiteral("2000-01-01 00:00:00");
        for (const EncomendaCriada &e : geracao.criadas()) {
            const QVariant token = bdCopia.valorUnico(QStringLiteral("SELECT Referencia FROM DOCGCCAB WHERE Tpdoc = ? AND serie = ? "
                                                                     "AND ano = ? AND nnumdoc = ?"),
                                                      {e.registo.tipo, e.registo.serie, e.registo.ano, e.registo.numero});
            preparada = preparada && !token.isNull()
                        && bdCopia.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Processado = 0, EncNumero = NULL, Reserva = ?, "
                                                          "ReservaDono = ?, ReservaData = ? WHERE EncNumero = ? AND EncTpdoc = ?"),
                                           {token, dono, quando, e.registo.numero, e.registo.tipo});
            ++reservasQueda;
        }
        preparada = preparada
                    && bdCopia.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Reserva = 'sem-encomenda-' || (Id % 10), "
                                                      "ReservaDono = ?, ReservaData = ?, EncTpdoc = 'ENF', EncSerie = '1', EncAno = ? "
                                                      "WHERE Id IN (SELECT Id FROM mvk_Necessidades WHERE Processado = 0 AND "
                                                      "Reserva IS NULL ORDER BY Id LIMIT 1000)"),
                                       {dono, quando, Hoje.year()});
        semEncomenda = bdCopia.linhasAfectadas();
        reservasQueda += qMin(10, semEncomenda);
        if (!preparada || !t.confirma())
            return !Bench::falhou(QStringLiteral("a simular a queda"), bdCopia);
        ReservasNecessidades reservas(bdCopia);
        tRecuperacao = Bench::mede([&] { ok = reservas.resolve(&marcadas, &libertadas); }) / 1000.0;
        if (!ok)
            return !Bench::falhou(QStringLiteral("a recuperação"), reservas.erro());
    }
    const bool recuperada = marcadas == linhasEncomendadas && libertadas == semEncomenda
                            && bdCopia.valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_Necessidades WHERE Reserva IS NOT NULL")).toInt() == 0;

    const auto comFornecedor = [](const QList<LinhaRuptura> &l) {
        return int(std::count_if(l.cbegin(), l.cend(), [](const LinhaRuptura &x) { return !x.forn.isEmpty(); }));
    };
    AnaliseRuptura analiseDepois(bdCopia);
    QList<LinhaRuptura> depois;
    if (!ok || !falhasGeracao.isEmpty() || !analiseDepois.analisa(f, depois))
        return !Bench::falhou(QStringLiteral("a geração"),
                              geracao.erro() + falhasGeracao.join(QLatin1Char('\n')) + analiseDepois.erro());
    const bool idaEVolta = recuperada && linhasEncomendadas == comFornecedor(linhas) && comFornecedor(depois) == 0
                           && depois.size() <= linhas.size() - linhasEncomendadas;

    Bench::out() << Qt::endl << "Análise de " << total << " necessidades: " << linhas.size() << " linhas com previsão, "
                 << conjuntoSem.size() << " sem; amostra de " << amostra.size() << " necessidades; medianas de " << voltas
                 << " voltas alternadas" << Qt::endl;
    Bench::linha(QStringLiteral("  por necessidade, amostra"), msAmostra, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  por necessidade, estimado para todas"), msPorNecessidade, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("    uma instrução de um leitor (LerQtdFornecedor)"), tInstrucao.mediana(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  de conjunto (AnaliseRuptura::analisa)"), msConjunto, QStringLiteral("ms"));
    for (const QString &p : passos.ordem)
        Bench::linha(QStringLiteral("    ") + p, Bench::Lado::medianaDe(passos.ms.value(p)), QStringLiteral("ms"));
    Bench::linha(QStringLiteral("    por necessidade"), msConjunto * 1000 / qMax(1, total), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("    maior intervalo sem aviso (janela sem pintar)"), passos.maiorIntervalo, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  varrimento agrupado simples (%1 artigos)").arg(artigosSimples), tSimples.mediana() / 1000,
                 QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  o mesmo, lido pela ordem da tabela"), tSequencial.mediana() / 1000, QStringLiteral("ms"));
    bool alvos = Bench::razao(QStringLiteral("por necessidade / de conjunto"), msPorNecessidade, msConjunto, 50, true);
    alvos = Bench::razao(QStringLiteral("de conjunto / o mais rápido dos varrimentos"), msConjunto, msVarrimento, 3, false) && alvos;
    Bench::linha(QStringLiteral("  ler as %1 necessidades (modo 2)").arg(todas.size()), tLista.mediana() / 1000, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  preencher a grelha com %1 linhas da análise").arg(conjuntoSem.size()), tGrelha, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  preencher a grelha com as %1 necessidades").arg(todas.size()), tGrelhaTodas, QStringLiteral("ms"));
    // A median in ms against its ceiling.
    const auto ate = [](const QString &nome, double ms, double alvo) {
        const bool ok = ms <= alvo;
        Bench::out() << qSetFieldWidth(60) << Qt::left << nome << qSetFieldWidth(0) << QString::number(ms, 'f', 2) << " ms  (alvo <= "
                     << alvo << " ms" << (ok ? ", atingido)" : ", NÃO atingido)") << Qt::endl;
        return ok;
    };
    alvos = ate(QStringLiteral("  histórico do artigo (%1 artigos): ler os dados").arg(artigosHistorico.size()), historico.msDados, 30)
            && alvos;
    alvos = ate(QStringLiteral("    abrir a janela com o gráfico pintado"), historico.msMostra, 100) && alvos;
    Bench::out() << "    " << historico.fornecedores / qMax(1, voltas) << " fornecedores e " << historico.pendentes / qMax(1, voltas)
                 << " encomendas pendentes lidos por volta" << Qt::endl;
    Bench::linha(QStringLiteral("  gerar %1 encomendas com %2 linhas").arg(geracao.criadas().size()).arg(linhasEncomendadas), tGeracao,
                 QStringLiteral("ms"));
    const double msPorLinha = tGeracao / qMax(1, linhasEncomendadas);
    Bench::linha(QStringLiteral("  o mesmo, por linha, com reservas (alvo 1 ms)"), msPorLinha, QStringLiteral("ms"));
    Bench::linha(QStringLiteral("  recuperar de uma queda (alvo 1 s)"), tRecuperacao, QStringLiteral("ms"));
    Bench::out() << "    " << reservasQueda << " reservas: " << marcadas << " necessidades marcadas, " << libertadas << " libertadas ("
                 << (recuperada ? "cada uma como a sua encomenda" : "ERRADO") << ")" << Qt::endl;
    Bench::out() << "  analisada de novo: " << depois.size() << " linhas, " << comFornecedor(depois) << " com fornecedor ("
                 << (idaEVolta ? "as encomendadas saíram" : "ERRADO") << ")" << Qt::endl;
    // The resident peak counts the pages of every mapping of a database file
    // (this one by two connections, and the copy of the generation): they are
    // the system's file cache, not memory of the program's own.
    Bench::linha(QStringLiteral("  pico residente do processo (com ficheiros mapeados)"), memoria("VmHWM") / 1024.0, QStringLiteral("MB"));
    Bench::linha(QStringLiteral("  memória própria, a maior medida"), maximoPropria / 1024.0, QStringLiteral("MB"));
    Bench::linha(QStringLiteral("  páginas da base de dados mapeadas, antes da geração"), mapeadaAntes / 1024.0, QStringLiteral("MB"));
    const bool iguais = dif.isEmpty() && difSem.isEmpty() && idaEVolta;
    Bench::out() << "  linhas iguais na amostra: "
                 << (iguais ? QStringLiteral("sim") : QStringLiteral("NÃO\n  com previsão: ") + dif + QStringLiteral("\n  sem previsão: ") + difSem)
                 << Qt::endl;
    if (o.pequena) {
        Bench::out() << "Escala pequena: tempos sem alvo." << Qt::endl;
        return iguais && !linhas.isEmpty() ? 0 : 1;
    }
    alvos = alvos && msPorLinha <= 1.0 && tRecuperacao <= 1000.0;
    Bench::out() << "  alvos: " << (alvos ? "atingidos" : "NÃO atingidos") << Qt::endl;
    return iguais && alvos ? 0 : 1;
}
