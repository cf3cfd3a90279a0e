// The code box's suggestions on the large database (200,000 articles and about
// 1,000,000 quick-access codes): for 2- and 3-character prefixes taken from
// real codes, the statement on the union view that the box was first written
// with, the box's statement (each source through its own index range), and a
// bare index range scan of 25 keys on mvk_AcessoRapido, side by side, with
// medians, 99th percentiles and ratios; and the same suggestions wherever 25
// or fewer codes match. Everything goes through LigacaoBd, as the box does.
//
//   bench_sugestoes [pasta-dos-dados] [amostras-da-vista-por-comprimento]
#include "comum.h"
#include "campoinput.h"
#include "sugestoes.h"
#include "ucinput.h"

#include <QApplication>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSet>

#include <sys/resource.h>

namespace {

using Bench::out;

// The statement on the view, as the box first ran it (the prefix as a literal).
QString instrucaoVista(const Dialecto &d, const QString &prefixo)
{
    QString literal = prefixo;
    literal.replace(QLatin1Char('\''), QStringLiteral("''"));
    return d.primeiros(25, QStringLiteral("Codigo from mvk_view_JuntaCodigoArtigos where  Codigo  like '") + literal
                               + QStringLiteral("%'"),
                       true);
}

const QString instrucaoIntervalo = QStringLiteral(
    "SELECT CodigoArtigo FROM mvk_AcessoRapido WHERE CodigoArtigo >= ? AND CodigoArtigo < ? ORDER BY CodigoArtigo LIMIT 25");

// The first codes past every code that begins with the prefix, under NOCASE
// (which compares in lower case).
QVariantList limites(const QString &prefixo)
{
    QString baixo = prefixo.toLower(), alto = baixo;
    alto[alto.size() - 1] = QChar(alto.at(alto.size() - 1).unicode() + 1);
    return {baixo, alto};
}

QStringList le(LigacaoBd &bd, const QString &sql, const QVariantList &valores = {})
{
    Recordset rs;
    QStringList c;
    if (!bd.AbreConsulta(sql, rs, valores)) {
        out() << "Falhou: " << bd.ultimoErro().texto() << Qt::endl;
        return c;
    }
    for (; !rs.Eof(); rs.MoveNext())
        c << rs.Valor(0).toString();
    return c;
}

bool garanteAcessosRapidos(LigacaoBd &bd, int alvo)
{
    const int existentes = bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM mvk_AcessoRapido")).toInt();
    out() << "mvk_AcessoRapido: " << existentes << " códigos" << Qt::endl;
    if (existentes >= alvo * 99 / 100)
        return true;
    out() << "  a acrescentar até " << alvo << "..." << Qt::endl;
    Transaccao t(bd);
    for (int n = 0, feitos = existentes; feitos < alvo; ++n)
        if (bd.Executa(QStringLiteral("INSERT OR IGNORE INTO mvk_AcessoRapido (CodigoArtigo) VALUES (?)"),
                       {QStringLiteral("RB-%1").arg(n, 8, 10, QLatin1Char('0'))}))
            feitos += bd.linhasAfectadas();
        else
            return false;
    return t.confirma();
}

// Prefixes of codes picked at random: three of every four from the quick-access
// codes, the others from the article codes.
QStringList prefixos(LigacaoBd &bd, int comprimento, int quantos, QRandomGenerator &aleatorio)
{
    const qint64 maxRapido = bd.valorUnico(QStringLiteral("SELECT MAX(rowid) FROM mvk_AcessoRapido")).toLongLong();
    const qint64 maxArtigo = bd.valorUnico(QStringLiteral("SELECT MAX(rowid) FROM Artigos")).toLongLong();
    QStringList p;
    while (p.size() < quantos) {
        const bool rapido = aleatorio.bounded(4) != 0;
        const qint64 id = 1 + aleatorio.bounded(rapido ? maxRapido : maxArtigo);
        const QVariant codigo = bd.valorUnico(rapido ? QStringLiteral("SELECT CodigoArtigo FROM mvk_AcessoRapido WHERE rowid >= ? LIMIT 1")
                                                     : QStringLiteral("SELECT CODIGO FROM Artigos WHERE rowid >= ? LIMIT 1"),
                                              {id});
        const QString c = codigo.toString();
        if (c.size() >= comprimento)
            p << c.left(comprimento);
    }
    return p;
}

// The first 25 codes, in code order, of the two sources read separately and
// merged here: what the box's one statement must give.
QStringList esperadas(LigacaoBd &bd, const QString &prefixo)
{
    const QString padrao = Dialecto::padraoPrefixo(prefixo);
    QStringList todos = le(bd, QStringLiteral("SELECT CodigoArtigo FROM mvk_AcessoRapido WHERE CodigoArtigo LIKE ? ESCAPE '\\' "
                                              "ORDER BY CodigoArtigo LIMIT 25"),
                           {padrao})
                        + le(bd, QStringLiteral("SELECT CODIGO FROM Artigos WHERE CODIGO LIKE ? ESCAPE '\\' AND CODIGO > '' "
                                                "AND INACTIVO = 0 ORDER BY CODIGO LIMIT 25"),
                             {padrao});
    std::sort(todos.begin(), todos.end(), [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QStringList unicos;
    for (const QString &c : todos)
        if (unicos.isEmpty() || unicos.last().compare(c, Qt::CaseInsensitive) != 0)
            unicos << c;
    return unicos.mid(0, 25);
}

QSet<QString> emMaiusculas(const QStringList &l)
{
    QSet<QString> s;
    for (const QString &c : l)
        s.insert(c.toUpper());
    return s;
}

// Involuntary context switches of this thread so far: the times the system
// took the processor away to run another program.
long interrupcoes()
{
    rusage uso{};
    getrusage(RUSAGE_THREAD, &uso);
    return uso.ru_nivcsw;
}

// Samples of one statement: all of them, and those during which the thread
// kept the processor.
struct Medidas
{
    Bench::Amostras todas, limpas;
    int interrompidas = 0;

    template<class F>
    void mede(F &&f)
    {
        const long antes = interrupcoes();
        const double us = Bench::mede(f);
        todas.junta(us);
        if (interrupcoes() == antes)
            limpas.junta(us);
        else
            ++interrompidas;
    }
};

void resumo(const QString &nome, Bench::Amostras &a)
{
    out() << "  " << qSetFieldWidth(46) << Qt::left << nome << qSetFieldWidth(0) << " n=" << qSetFieldWidth(5) << Qt::right
          << int(a.us.size()) << qSetFieldWidth(0) << "  mediana " << qSetFieldWidth(11) << QString::number(a.mediana(), 'f', 1)
          << qSetFieldWidth(0) << " µs   p99 " << qSetFieldWidth(11) << QString::number(a.percentil(99), 'f', 1) << qSetFieldWidth(0)
          << " µs" << Qt::left << Qt::endl;
}

void razao(const QString &nome, double a, double b, const QString &alvo)
{
    out() << "  " << qSetFieldWidth(46) << Qt::left << nome << qSetFieldWidth(0) << QString::number(a / b, 'f', 1) << "×   (" << alvo
          << ")" << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString pasta = args.size() > 1 ? args.at(1) : QStringLiteral("bench-data");
    const int amostrasVista = args.size() > 2 ? args.at(2).toInt() : 15;
    const int amostras = 2000;

    QTemporaryDir registo;
    if (!Bench::registaClasses(registo))
        return 1;
    const QString ficheiro = Bench::baseGrande(pasta);
    if (ficheiro.isEmpty())
        return 1;
    LigacaoBd bd;
    if (!bd.Abre(Bench::cadeiaSqlite(ficheiro))) {
        out() << bd.ultimoErro().texto() << Qt::endl;
        return 1;
    }
    if (!garanteAcessosRapidos(bd, 1000000))
        return 1;
    out() << "Artigos: " << bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM Artigos")).toInt() << Qt::endl;

    QRandomGenerator aleatorio(20261206);
    const Dialecto &d = bd.dialecto();
    const QString nossa = Sugestoes::instrucao(d);
    for (const QString &p : prefixos(bd, 2, 50, aleatorio))   // warm the cache and the prepared statements
        le(bd, nossa, Sugestoes::valores(p)), le(bd, instrucaoIntervalo, limites(p));

    QFile carga(QStringLiteral("/proc/loadavg"));
    if (carga.open(QIODevice::ReadOnly))
        out() << "Carga da máquina: " << QString::fromLatin1(carga.readAll()).section(QLatin1Char(' '), 0, 2) << Qt::endl;

    // The suggestions must be those of the view wherever 25 or fewer codes
    // match, and the first 25 in code order of both sources otherwise.
    bool iguais = true;
    int comparadas = 0, comMaisDe25 = 0;
    const auto confere = [&](const QString &p, const QStringList &daVista, const QStringList &daCaixa) {
        const bool certas = daVista.size() < 25 ? emMaiusculas(daVista) == emMaiusculas(daCaixa) : daCaixa == esperadas(bd, p);
        ++(daVista.size() < 25 ? comparadas : comMaisDe25);
        if (!certas) {
            iguais = false;
            out() << "  DIFERENTES para '" << p << "': vista " << daVista.join(' ') << " / caixa " << daCaixa.join(' ') << Qt::endl;
        }
    };

    for (int comprimento : {2, 3}) {
        out() << Qt::endl << "Prefixos de " << comprimento << " caracteres" << Qt::endl;
        const QStringList lista = prefixos(bd, comprimento, amostras, aleatorio);

        // The view statement against the box's on the same prefixes, one after the other.
        Bench::Amostras vista, nossaMesmos;
        for (int i = 0; i < amostrasVista; ++i) {
            const QString &p = lista.at(i);
            QStringList daVista, daCaixa;
            vista.junta(Bench::mede([&] { daVista = le(bd, instrucaoVista(d, p)); }));
            for (int r = 0; r < 20; ++r)
                nossaMesmos.junta(Bench::mede([&] { daCaixa = Sugestoes::le(bd, p); }));
            confere(p, daVista, daCaixa);
        }

        // The box's statement and the bare range scan on many prefixes, each
        // measured three times, interleaved. On a shared machine a run now and
        // then loses the processor to another program for a scheduler tick
        // (about 4 ms); such runs are counted and also left out in a second summary.
        Medidas caixa, intervalo;
        for (const QString &p : lista)
            for (int r = 0; r < 3; ++r) {
                caixa.mede([&] { le(bd, nossa, Sugestoes::valores(p)); });
                intervalo.mede([&] { le(bd, instrucaoIntervalo, limites(p)); });
            }

        // The whole refresh of the code box as a keystroke causes it: the query and the list.
        UcInput uc;
        uc.setBd(&bd);
        uc.resize(300, 20);
        uc.show();
        Bench::Amostras refresco;
        for (int i = 0; i < 500; ++i) {
            uc.campo()->setText(lista.at(i));
            refresco.junta(Bench::mede([&] { uc.carregaLista(); }));
        }

        resumo(QStringLiteral("vista (select distinct ... limit 25)"), vista);
        resumo(QStringLiteral("caixa, os mesmos prefixos x20"), nossaMesmos);
        resumo(QStringLiteral("caixa, %1 prefixos x3").arg(lista.size()), caixa.todas);
        resumo(QStringLiteral("intervalo de 25 chaves, %1 prefixos x3").arg(lista.size()), intervalo.todas);
        resumo(QStringLiteral("caixa, sem interrupção do sistema"), caixa.limpas);
        resumo(QStringLiteral("intervalo de 25 chaves, sem interrupção"), intervalo.limpas);
        resumo(QStringLiteral("UcInput::carregaLista (consulta + lista)"), refresco);
        razao(QStringLiteral("vista / caixa, mediana"), vista.mediana(), nossaMesmos.mediana(), QStringLiteral("alvo >= 100"));
        razao(QStringLiteral("vista / caixa, p99"), vista.percentil(99), nossaMesmos.percentil(99), QStringLiteral("alvo >= 100"));
        razao(QStringLiteral("caixa / intervalo, mediana"), caixa.todas.mediana(), intervalo.todas.mediana(), QStringLiteral("alvo <= 3"));
        razao(QStringLiteral("caixa / intervalo, p99"), caixa.todas.percentil(99), intervalo.todas.percentil(99),
              QStringLiteral("alvo <= 3"));
        razao(QStringLiteral("caixa / intervalo, mediana, sem interrupção"), caixa.limpas.mediana(), intervalo.limpas.mediana(),
              QStringLiteral("alvo <= 3"));
        razao(QStringLiteral("caixa / intervalo, p99, sem interrupção"), caixa.limpas.percentil(99), intervalo.limpas.percentil(99),
              QStringLiteral("alvo <= 3"));
        out() << "  interrompidas pelo sistema (troca de contexto involuntária): caixa " << caixa.interrompidas << ", intervalo "
              << intervalo.interrompidas << " de " << caixa.todas.us.size() << " cada" << Qt::endl;
        if (amostrasVista < 100)
            out() << "  (com " << amostrasVista << " amostras da vista, o p99 dela é o seu máximo)" << Qt::endl;
    }

    // Longer prefixes, where few codes match, for the comparison with the view.
    for (int comprimento : {7, 9})
        for (const QString &p : prefixos(bd, comprimento, qMax(1, amostrasVista / 3), aleatorio))
            confere(p, le(bd, instrucaoVista(d, p)), Sugestoes::le(bd, p));
    out() << Qt::endl << "Sugestões conferidas com a vista: " << comparadas << " prefixos com menos de 25 códigos (iguais às da vista), "
          << comMaisDe25 << " com mais (os 25 primeiros das duas fontes lidas à parte)." << Qt::endl;
    out() << Qt::endl << (iguais ? "Sugestões iguais em todos os prefixos conferidos." : "HÁ SUGESTÕES DIFERENTES.") << Qt::endl;
    return iguais ? 0 : 2;
}
