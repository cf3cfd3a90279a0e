// Run: build/bench/bench_equivalencias [--pequena] [pasta-dos-dados] [--original=N (amostras por volta; 0 = só o importador)]
//
// The data folder defaults to bench-data/ in the source tree; the large
// database is made there on first use (minutes), and reused.
//
// Artigos::Pesquisar on 200,000 articles and 1,000,000 equivalences, by an
// equivalent code and by an article code: the search as first written (the
// OR over a RIGHT JOIN) on the first schema (mvk_equivalencias with its key
// only, in a database of its own made once from the large one), the library's
// search on the installed schema, and a bare single-key index lookup on the
// same table, measured in turn in rounds, with medians, 99th percentiles and
// ratios; every sampled code must give the same rows both ways. Then the
// importer on the 100,000 CLART rows into an empty copy of the equivalence
// tables, in codes per second of wall clock and of this process's CPU, and a
// second run over the same rows (every pair already there), which must add
// nothing; 5 rounds, each on a fresh copy, and their medians.
#include "comum.h"
#include "artigos.h"
#include "esquemaerp.h"
#include "importador.h"
#include "mensagensgravadas.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <ctime>

namespace {

using Bench::out;

// The search as first written; the values are bound here instead of pasted.
const QString consultaOriginal = QStringLiteral(
    "SELECT Distinct a.CODIGO AS Artigo,  a.NOME,  a.ULTPRCOM AS UPC,  CASE WHEN a.STDISP = 0 THEN 0 ELSE "
    "a.VLREXIST / a.STDISP END AS PCM,  a.STDISP AS Stock, a.stdisp+a.TOTENCFO-a.TotEnccl AS Prazo,  a.pvpsiva AS PVP  "
    "FROM mvk_equivalencias as e RIGHT OUTER JOIN ARTIGOS  as a ON e.ArtigoPai = a.CODIGO "
    "WHERE     ((e.ArtigoEquivalente = ?) OR (a.CODIGO = ?)) and a.Codigo>''");

const QString consultaNua = QStringLiteral("SELECT ArtigoPai FROM mvk_equivalencias WHERE ArtigoEquivalente = ?");

QStringList linhas(Recordset rs)
{
    QStringList l;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        QStringList v;
        for (int i = 0; i < rs.numeroCampos(); ++i)
            v << rs.Valor(i).toString();
        l << v.join(QLatin1Char('|'));
    }
    l.sort();
    return l;
}

// CPU time of this process: on a machine shared with other work it varies
// much less than the wall clock.
double segundosCpu()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

bool falhou(LigacaoBd &bd, const char *onde)
{
    out() << "Falhou " << onde << ": " << bd.ultimoErro().texto() << Qt::endl;
    return false;
}

// Artigos and mvk_equivalencias as the first schema had them (key only), made
// once next to the large database.
QString baseOriginal(const QString &grande, const Bench::Opcoes &o)
{
    return Bench::criaUmaVez(Bench::ficheiroVersionado(o.pasta, o.pequena ? QStringLiteral("equivalencias-original-pequena")
                                                                          : QStringLiteral("equivalencias-original")),
                             [&](LigacaoBd &bd) {
        if (!bd.Executa(QStringLiteral("ATTACH DATABASE ? AS g"), {grande}))
            return falhou(bd, "ATTACH");
        Recordset rs;
        if (!bd.AbreConsulta(QStringLiteral("SELECT name, sql FROM g.sqlite_master WHERE type = 'table' AND name IN (?, ?)"), rs,
                             {QStringLiteral("Artigos"), QStringLiteral("mvk_equivalencias")})
            || rs.RecordCount() != 2)
            return falhou(bd, "a ler o esquema");
        Transaccao t(bd);
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString nome = rs.Valor(0).toString();
            if (!bd.Executa(rs.Valor(1).toString())
                || !bd.Executa(QStringLiteral("INSERT INTO main.%1 SELECT * FROM g.%1").arg(nome)))
                return falhou(bd, "a copiar");
        }
        if (!t.confirma() || !bd.Executa(QStringLiteral("DETACH DATABASE g")) || !bd.Executa(QStringLiteral("ANALYZE")))
            return falhou(bd, "a gravar");
        return true;
    });
}

QStringList plano(LigacaoBd &bd, const QString &sql, const QVariantList &valores)
{
    Recordset rs;
    QStringList p;
    if (bd.AbreConsulta(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, rs, valores))
        for (; !rs.Eof(); rs.MoveNext())
            p << rs.Valor(QStringLiteral("detail")).toString();
    return p;
}

struct Medidas
{
    Bench::Lado original, nossa, nua;
};

bool mostra(const QString &tipo, Medidas &m)
{
    out() << Qt::endl << "Pesquisar por " << tipo << " (" << m.nossa.voltas() << " voltas):" << Qt::endl;
    Bench::linha(QStringLiteral("  original (OR sobre RIGHT JOIN, só a chave), mediana"), m.original.mediana(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  original, p99"), m.original.p99(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  Artigos::Pesquisar (UNION de dois índices), mediana"), m.nossa.mediana(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  Artigos::Pesquisar, p99"), m.nossa.p99(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  Artigos::Pesquisar, p99 sem interrupção"), m.nossa.p99SemInterrupcao(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  procura nua pelo índice do código, mediana"), m.nua.mediana(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  procura nua, p99"), m.nua.p99(), QStringLiteral("µs"));
    Bench::linha(QStringLiteral("  procura nua, p99 sem interrupção"), m.nua.p99SemInterrupcao(), QStringLiteral("µs"));
    out() << "  amostras interrompidas pelo sistema: Pesquisar " << m.nossa.interrompidas << " de " << m.nossa.total
          << ", procura nua " << m.nua.interrompidas << " de " << m.nua.total << Qt::endl;
    bool ok = Bench::razao(QStringLiteral("original / Pesquisar, medianas"), m.original.mediana(), m.nossa.mediana(), 100, true);
    Bench::razao(QStringLiteral("original / Pesquisar, p99"), m.original.p99(), m.nossa.p99(), 100, true);
    ok = Bench::razao(QStringLiteral("Pesquisar / procura nua, medianas"), m.nossa.mediana(), m.nua.mediana(), 5, false) && ok;
    Bench::razao(QStringLiteral("Pesquisar / procura nua, p99"), m.nossa.p99(), m.nua.p99(), 5, false);
    ok = Bench::razao(QStringLiteral("Pesquisar / procura nua, p99 sem interrupção"), m.nossa.p99SemInterrupcao(),
                      m.nua.p99SemInterrupcao(), 5, false)
         && ok;
    return ok;
}

// Whether every step ran and every sampled code gave the same rows both ways;
// alvos tells whether the ratios met their targets.
bool medePesquisa(const QString &grande, const QString &original, const Bench::Opcoes &o, int amostrasOriginal, bool &alvos)
{
    LigacaoBd bd, bdOriginal;
    if (!bd.Abre(Bench::cadeiaSqlite(grande)))
        return falhou(bd, "a abrir a base grande");
    if (!bdOriginal.Abre(Bench::cadeiaSqlite(original)))
        return falhou(bdOriginal, "a abrir a base original");
    QString erro;
    auto artigos = CriaObjecto<Artigos>(&erro);
    if (!artigos) {
        out() << erro << Qt::endl;
        return false;
    }
    artigos->setBd(&bd);

    // Random codes: equivalent codes of existing pairs, and article codes.
    QRandomGenerator aleatorio(20261206);
    const int amostras = o.conforme(4000, 100);
    const QStringList equivalentes = Bench::amostra(bd, QStringLiteral("SELECT ArtigoEquivalente FROM mvk_equivalencias"), amostras, aleatorio);
    const QStringList codigosArtigo = Bench::amostra(bd, QStringLiteral("SELECT CODIGO FROM Artigos"), amostras, aleatorio);
    if (equivalentes.size() < amostrasOriginal || codigosArtigo.size() < amostrasOriginal || equivalentes.isEmpty())
        return falhou(bd, "a escolher códigos");

    out() << Qt::endl << "Plano da original: " << plano(bdOriginal, consultaOriginal, {equivalentes[0], equivalentes[0]}).join(QStringLiteral("; ")) << Qt::endl;
    out() << "Plano da procura nua: " << plano(bd, consultaNua, {equivalentes[0]}).join(QStringLiteral("; ")) << Qt::endl;

    int diferentes = 0, comparados = 0;
    bool passos = true;
    auto mede = [&](const QStringList &codigos, Medidas &m) {
        for (int i = 0; i < qMin(200, int(codigos.size())); ++i)   // warm the caches first
            artigos->Pesquisar(codigos[i]);
        Recordset rs;
        for (int volta = 0; volta < o.conforme(5, 2); ++volta) {
            for (const QString &c : codigos) {
                m.nossa.mede([&] { rs = artigos->Pesquisar(c); });
                passos = passos && rs.aberto();
                m.nua.mede([&] { passos = bd.AbreConsulta(consultaNua, rs, {c}) && passos; });
            }
            for (int i = volta * amostrasOriginal; i < (volta + 1) * amostrasOriginal && i < codigos.size(); ++i) {
                const QString &c = codigos[i];
                m.original.mede([&] { passos = bdOriginal.AbreConsulta(consultaOriginal, rs, {c, c}) && passos; });
                ++comparados;
                if (linhas(rs) != linhas(artigos->Pesquisar(c))) {
                    ++diferentes;
                    out() << "  Resultado diferente para " << c << Qt::endl;
                }
            }
            m.nossa.fechaVolta();
            m.nua.fechaVolta();
            m.original.fechaVolta();
        }
    };
    Medidas porEquivalente, porArtigo;
    out() << "A medir por código equivalente..." << Qt::endl;
    mede(equivalentes, porEquivalente);
    out() << "A medir por código de artigo..." << Qt::endl;
    mede(codigosArtigo, porArtigo);
    alvos = mostra(QStringLiteral("código equivalente"), porEquivalente) && alvos;
    alvos = mostra(QStringLiteral("código de artigo"), porArtigo) && alvos;
    out() << Qt::endl << "Mesmas linhas nas duas consultas: " << (diferentes == 0 ? "sim" : "NÃO") << " (" << comparados
          << " códigos comparados, " << diferentes << " diferentes)" << Qt::endl;
    if (!passos)
        out() << "HOUVE CONSULTAS FALHADAS: " << bd.ultimoErro().texto() << Qt::endl;
    return diferentes == 0 && passos;
}

bool medeImportador(const QString &grande, MensagensGravadas &mensagens, bool pequena, bool &alvos)
{
    // A model file with the schema and CLART, copied afresh for every round.
    QTemporaryDir pasta;
    const QString modelo = pasta.filePath(QStringLiteral("modelo.db"));
    int linhasClart = 0;
    {
        QFile f(modelo);
        f.open(QIODevice::WriteOnly);
        f.close();
        LigacaoBd bd;
        if (!bd.Abre(Bench::cadeiaSqlite(modelo)) || !EsquemaErp::cria(bd))
            return falhou(bd, "a criar a base da importação");
        auto esquema = CriaObjecto<BaseDados>();
        if (!esquema)
            return false;
        esquema->setBd(&bd);
        if (!esquema->VerificaBaseDeDados())
            return falhou(bd, "a instalar as tabelas");
        if (!bd.Executa(QStringLiteral("ATTACH DATABASE ? AS g"), {grande})
            || !bd.Executa(QStringLiteral("INSERT INTO CLART SELECT * FROM g.CLART")) || !bd.Executa(QStringLiteral("DETACH DATABASE g")))
            return falhou(bd, "a copiar CLART");
        linhasClart = bd.valorUnico(QStringLiteral("SELECT count(*) FROM CLART")).toInt();
    }

    const int voltas = pequena ? 2 : 5;
    out() << Qt::endl << "Importador: " << linhasClart << " linhas de CLART para tabelas vazias, " << voltas << " voltas" << Qt::endl;
    bool certo = linhasClart > 0;
    Bench::Lado primeira, segunda, cpuPrimeira;
    int codigos = 0, pares = 0, acessos = 0;
    for (int v = 0; v < voltas; ++v) {
        const QString ficheiro = pasta.filePath(QStringLiteral("importacao-%1.db").arg(v));
        LigacaoBd bd;
        if (!QFile::copy(modelo, ficheiro) || !bd.Abre(Bench::cadeiaSqlite(ficheiro)))
            return falhou(bd, "a copiar o modelo");
        for (int vez = 0; vez < 2; ++vez) {
            ResultadoImportacao r;
            const double cpu0 = segundosCpu();
            const double s = Bench::mede([&] { r = ImportaEquivalencias(bd); }) / 1e6;
            const double cpu = segundosCpu() - cpu0;
            (vez == 0 ? primeira : segunda).junta(r.codigos / s);
            if (vez == 0)
                cpuPrimeira.junta(r.codigos / cpu);
            const int p = bd.valorUnico(QStringLiteral("SELECT count(*) FROM mvk_equivalencias")).toInt();
            // Every row read, every code committed, and nothing added the second time.
            certo = certo && r.completa && r.linhas == linhasClart && r.codigosGravados == r.codigos && r.codigos > 0
                    && (vez == 0 || p == pares);
            codigos = r.codigos;
            pares = p;
        }
        acessos = bd.valorUnico(QStringLiteral("SELECT count(*) FROM mvk_AcessoRapido")).toInt();
    }
    for (Bench::Lado *l : {&primeira, &segunda, &cpuPrimeira})
        l->fechaVolta();
    out() << "  " << codigos << " códigos, " << pares << " pares, " << acessos << " códigos de acesso rápido" << Qt::endl;
    Bench::linha(QStringLiteral("  primeira importação (tabelas vazias), códigos/s, mediana"), primeira.mediana(), QStringLiteral("/s"));
    Bench::linha(QStringLiteral("    o mesmo, por segundo de CPU do processo"), cpuPrimeira.mediana(), QStringLiteral("/s"));
    Bench::linha(QStringLiteral("  segunda importação (os pares já existem), mediana"), segunda.mediana(), QStringLiteral("/s"));
    const bool atingido = primeira.mediana() >= 100000;
    out() << "  alvo >= 100000 códigos/s na primeira: " << (atingido ? "atingido" : "NÃO atingido") << Qt::endl;
    alvos = (pequena || atingido) && alvos;
    if (!certo)
        out() << "O IMPORTADOR NÃO GRAVOU O QUE DEVIA." << Qt::endl;
    if (mensagens.quantos() > 0) {
        out() << "Mensagens: " << mensagens.quantos() << "; a última: " << mensagens.ultimo().texto << Qt::endl;
        return false;
    }
    return certo;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MensagensGravadas mensagens;   // a failure shows up in the output, never as a box
    mensagens.instala();
    const Bench::Opcoes o = Bench::opcoes(app.arguments());
    // The first statement scans a million rows per search: a few samples of it a round.
    int amostrasOriginal = o.conforme(4, 10);
    for (const QString &a : o.resto)
        if (a.startsWith(QLatin1String("--original=")))
            amostrasOriginal = a.mid(11).toInt();

    QTemporaryDir registo;
    if (!Bench::registaClasses(registo))
        return 1;
    const QString grande = Bench::baseGrande(o);
    if (grande.isEmpty())
        return 1;
    const QString original = baseOriginal(grande, o);
    if (original.isEmpty())
        return 1;
    out() << "Base grande: " << grande << Qt::endl << "Esquema original: " << original << Qt::endl;
    bool alvos = true;
    // 0 samples of the first statement: the importer only.
    const bool pesquisa = amostrasOriginal <= 0 || medePesquisa(grande, original, o, amostrasOriginal, alvos);
    const bool importacao = medeImportador(grande, mensagens, o.pequena, alvos);
    if (!o.pequena)
        out() << Qt::endl << (alvos ? "Alvos atingidos." : "Alvos NÃO atingidos.") << Qt::endl;
    return pesquisa && importacao && (o.pequena || alvos) ? 0 : 1;
}
