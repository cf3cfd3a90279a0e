#pragma once
// Shared pieces of the benchmarks: the command line, timing, medians and
// percentiles, and the large database made once by the demo generator's scale
// switch and reused by later runs.
//
// Every benchmark program takes the same command line:
//
//   bench_<nome> [--pequena] [pasta-dos-dados]
//
// --pequena runs it on GeradorDemo::Escala::pequena() data made in a
// temporary folder, with few repetitions and no timing judged: the exit
// status then says only whether every step ran and every equality check
// held (ctest runs each so, label "bench"). Without it, the large data is
// made once in the data folder (bench-data/ in the source tree by default)
// under a name that carries the version of the generator and schema it was
// made with, so a change to either makes it again; the exit status also says
// whether the targets were met. Ratios are taken between sides measured in
// turn, at least 5 times each, from their medians.

#include "basedados.h"
#include "cadeialigacao.h"
#include "criaobjecto.h"
#include "geradordemo.h"
#include "ligacaobd.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <memory>
#include <vector>

#include <sys/resource.h>

namespace Bench {

// Benchmarks with windows run without a screen unless one is asked for.
inline void semEcra()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

struct Opcoes
{
    bool pequena = false;
    QString pasta;                               // where the data is made
    std::shared_ptr<QTemporaryDir> temporaria;   // --pequena: the data's folder, removed at the end
    QStringList resto;                           // further arguments of the program

    GeradorDemo::Escala escala() const { return pequena ? GeradorDemo::Escala::pequena() : GeradorDemo::Escala::grande(); }
    // A count for the full run, or a small one for --pequena.
    int conforme(int completa, int pequena_) const { return pequena ? pequena_ : completa; }
};

inline Opcoes opcoes(const QStringList &argumentos)
{
    Opcoes o;
    for (const QString &a : argumentos.mid(1)) {
        if (a == QLatin1String("--pequena"))
            o.pequena = true;
        else if (o.pasta.isEmpty() && !a.startsWith(QLatin1String("--")))
            o.pasta = a;
        else
            o.resto << a;
    }
    if (o.pequena) {
        o.temporaria = std::make_shared<QTemporaryDir>();
        if (o.pasta.isEmpty())
            o.pasta = o.temporaria->path();
    } else if (o.pasta.isEmpty()) {
        o.pasta = QStringLiteral(TESSELA_PASTA_BENCH);
    }
    return o;
}

inline QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

// Microseconds of each call, and their summary.
struct Amostras
{
    std::vector<double> us;
    void junta(double v) { us.push_back(v); }
    double percentil(double p)
    {
        if (us.empty())
            return 0;
        std::sort(us.begin(), us.end());
        const size_t i = std::min(us.size() - 1, size_t(p / 100.0 * double(us.size())));
        return us[i];
    }
    double mediana() { return percentil(50); }
    double menor()
    {
        return us.empty() ? 0 : *std::min_element(us.begin(), us.end());
    }
};

// Involuntary context switches of this thread so far: the times the system
// took the processor away to run another program.
inline long interrupcoes()
{
    rusage uso{};
    getrusage(RUSAGE_THREAD, &uso);
    return uso.ru_nivcsw;
}

// One side of a comparison measured in rounds: each round gathers samples
// (the sides taking turns), and the side's figures are the medians, over the
// rounds, of each round's median and 99th percentile. On a machine shared
// with other work a sample now and then loses the processor for a scheduler
// tick (about 4 ms), which swamps a query of tens of microseconds: such
// samples are counted, and the 99th percentile is also given without them.
struct Lado
{
    Amostras volta, voltaLimpa;
    std::vector<double> medianas, p99s, p99sLimpos;
    long interrompidas = 0, total = 0;

    void junta(double us) { volta.junta(us); voltaLimpa.junta(us); ++total; }
    // Times f (in µs) into this side, and returns the time.
    template<class F>
    double mede(F &&f);
    void fechaVolta()
    {
        if (volta.us.empty())
            return;
        medianas.push_back(volta.mediana());
        p99s.push_back(volta.percentil(99));
        p99sLimpos.push_back(voltaLimpa.percentil(99));
        volta = Amostras();
        voltaLimpa = Amostras();
    }
    static double medianaDe(std::vector<double> v)
    {
        if (v.empty())
            return 0;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
    double mediana() const { return medianaDe(medianas); }
    double p99() const { return medianaDe(p99s); }
    double p99SemInterrupcao() const { return medianaDe(p99sLimpos); }
    int voltas() const { return int(medianas.size()); }
};

template<class F>
double mede(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1000.0;
}

// quantos values of the first column of a query, drawn evenly at random from
// all its rows (read once, forward only, without keeping them).
inline QStringList amostra(LigacaoBd &bd, const QString &sql, int quantos, QRandomGenerator &aleatorio)
{
    QSqlQuery q(bd.LigacaoAdo());
    q.setForwardOnly(true);
    QStringList escolhidos;
    if (!q.exec(sql)) {
        out() << "Falhou a amostra: " << q.lastError().text() << Qt::endl;
        return escolhidos;
    }
    qint64 vistos = 0;
    while (q.next()) {
        ++vistos;
        if (escolhidos.size() < quantos)
            escolhidos << q.value(0).toString();
        else if (const qint64 j = aleatorio.bounded(vistos); j < quantos)
            escolhidos[int(j)] = q.value(0).toString();
    }
    return escolhidos;
}

template<class F>
double Lado::mede(F &&f)
{
    const long antes = interrupcoes();
    const double us = Bench::mede(f);
    volta.junta(us);
    ++total;
    if (interrupcoes() == antes)
        voltaLimpa.junta(us);
    else
        ++interrompidas;
    return us;
}

inline QString cadeiaSqlite(const QString &ficheiro)
{
    CadeiaLigacao c;
    c.Servidor = QStringLiteral("SQLITE");
    c.BaseDados = ficheiro;
    return c.Texto();
}

// Registers the class library in a registry of the run's own.
inline bool registaClasses(QTemporaryDir &pasta)
{
    qputenv("TESSELA_REGISTO_CLASSES", pasta.filePath(QStringLiteral("classes.ini")).toLocal8Bit());
    QString erro;
    if (!registaBiblioteca(QStringLiteral(TESSELA_BIBLIOTECA_CLASSES), false, &erro)) {
        out() << erro << Qt::endl;
        return false;
    }
    return true;
}

// A database file made once and reused by later runs: built under a
// temporary name by preenche() and renamed when it succeeded, so an
// interrupted run never leaves half a database under the real name.
inline QString criaUmaVez(const QString &ficheiro, const std::function<bool(LigacaoBd &)> &preenche)
{
    if (QFileInfo::exists(ficheiro))
        return ficheiro;
    out() << "A criar " << ficheiro << " (uma vez)..." << Qt::endl;
    const QString temporario = ficheiro + QStringLiteral(".a-criar");
    for (const char *resto : {"", "-wal", "-shm"})
        QFile::remove(temporario + QLatin1String(resto));
    QFile f(temporario);
    f.open(QIODevice::WriteOnly);
    f.close();
    {
        LigacaoBd bd;
        if (!bd.Abre(cadeiaSqlite(temporario)) || !preenche(bd)) {
            out() << bd.ultimoErro().texto() << Qt::endl;
            return QString();
        }
    }
    for (const char *resto : {"-wal", "-shm"})   // a log left beside the name would be read into the new file
        QFile::remove(ficheiro + QLatin1String(resto));
    if (!QFile::rename(temporario, ficheiro)) {
        out() << "Não foi possível dar o nome " << ficheiro << " a " << temporario << Qt::endl;
        return QString();
    }
    return ficheiro;
}

// The version of the generator and schema the large data is made with (a
// hash of their sources, set by CMake), in the names of the files made from them.
inline QString versaoDados() { return QStringLiteral(TESSELA_VERSAO_DADOS_BENCH); }

// pasta/<prefixo>-<versão>.db, after removing the files of other versions
// that an earlier build left there.
inline QString ficheiroVersionado(const QString &pasta, const QString &prefixo)
{
    QDir().mkpath(pasta);
    const QDir d(pasta);
    const QString nome = QStringLiteral("%1-%2.db").arg(prefixo, versaoDados());
    if (!d.exists(nome))
        for (const QString &velho : d.entryList({prefixo + QStringLiteral("-*.db")}, QDir::Files)) {
            out() << "A apagar " << d.filePath(velho) << " (feita por outra versão do gerador ou do esquema)" << Qt::endl;
            QFile::remove(d.filePath(velho));
        }
    return d.absoluteFilePath(nome);
}

// The large database (200,000 articles, 2,000,000 document lines, 1,000,000
// equivalences; with --pequena the small scale) in the data folder, made on
// first use. Needs registaClasses().
inline QString baseGrande(const Opcoes &o)
{
    return criaUmaVez(ficheiroVersionado(o.pasta, o.pequena ? QStringLiteral("pequena") : QStringLiteral("grande")),
                      [&o](LigacaoBd &bd) {
        const GeradorDemo::Escala e = o.escala();
        GeradorDemo g(20261206, QDate(2026, 12, 6));
        QElapsedTimer t;
        t.start();
        if (!o.pequena)
            g.progresso = [&](const QString &tabela, qint64 n) { out() << "  " << tabela << " " << n << " (" << t.elapsed() / 1000 << " s)" << Qt::endl; };
        if (!g.gera(bd, e)) {
            out() << g.erro() << Qt::endl;
            return false;
        }
        QString erro;
        auto esquema = CriaObjecto<BaseDados>(&erro);
        if (!esquema) {
            out() << erro << Qt::endl;
            return false;
        }
        esquema->setBd(&bd);
        if (!esquema->VerificaBaseDeDados()) {
            out() << "As tabelas de equivalências não foram criadas: " << bd.ultimoErro().texto() << Qt::endl;
            return false;
        }
        if (!g.geraEquivalencias(bd, e.equivalencias, e.artigos)) {
            out() << g.erro() << Qt::endl;
            return false;
        }
        bd.Executa(QStringLiteral("ANALYZE"));
        out() << "  feito em " << t.elapsed() / 1000 << " s" << Qt::endl;
        return true;
    });
}

// The same at full scale in the given folder.
inline QString baseGrande(const QString &pasta)
{
    Opcoes o;
    o.pasta = pasta;
    return baseGrande(o);
}

// A failed step: says what and why, and gives false.
inline bool falhou(const QString &passo, const QString &porque)
{
    out() << "FALHOU " << passo << ": " << porque << Qt::endl;
    return false;
}
inline bool falhou(const QString &passo, LigacaoBd &bd) { return falhou(passo, bd.ultimoErro().texto()); }

// A ratio with its target, and whether it was met.
inline bool razao(const QString &nome, double a, double b, double alvo, bool minimo)
{
    const double r = b > 0 ? a / b : 0;
    const bool ok = minimo ? r >= alvo : r <= alvo;
    out() << "  " << qSetFieldWidth(58) << Qt::left << nome << qSetFieldWidth(0) << QString::number(r, 'f', 2) << "x  (alvo "
          << (minimo ? ">= " : "<= ") << alvo << (ok ? ", atingido)" : ", NÃO atingido)") << Qt::endl;
    return ok;
}

inline void linha(const QString &nome, double valor, const QString &unidade)
{
    out() << qSetFieldWidth(60) << Qt::left << nome << qSetFieldWidth(0) << QString::number(valor, 'f', 2) << ' ' << unidade
          << Qt::endl;
}

} // namespace Bench
