#pragma once
// Shared pieces of the benchmarks: timing, percentiles and the large database
// made once by the demo generator's scale switch and reused by later runs.

#include "basedados.h"
#include "cadeialigacao.h"
#include "criaobjecto.h"
#include "geradordemo.h"
#include "ligacaobd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <vector>

namespace Bench {

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
};

template<class F>
double mede(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1000.0;
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
    QFile::remove(temporario);
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
    QFile::rename(temporario, ficheiro);
    return ficheiro;
}

// The large database (200,000 articles, 2,000,000 document lines, 1,000,000
// equivalences) in pasta/grande.db, made on first use. Needs registaClasses().
inline QString baseGrande(const QString &pasta)
{
    QDir().mkpath(pasta);
    return criaUmaVez(QDir(pasta).absoluteFilePath(QStringLiteral("grande.db")), [](LigacaoBd &bd) {
        const GeradorDemo::Escala e = GeradorDemo::Escala::grande();
        GeradorDemo g(20261206, QDate(2026, 12, 6));
        QElapsedTimer t;
        t.start();
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
        esquema->VerificaBaseDeDados();
        if (!g.geraEquivalencias(bd, e.equivalencias, e.artigos)) {
            out() << g.erro() << Qt::endl;
            return false;
        }
        bd.Executa(QStringLiteral("ANALYZE"));
        out() << "  feito em " << t.elapsed() / 1000 << " s" << Qt::endl;
        return true;
    });
}

inline void linha(const QString &nome, double valor, const QString &unidade)
{
    out() << qSetFieldWidth(60) << Qt::left << nome << qSetFieldWidth(0) << QString::number(valor, 'f', 2) << ' ' << unidade
          << Qt::endl;
}

} // namespace Bench
