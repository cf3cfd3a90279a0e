// The code box's suggestions on the large database (200,000 articles and about
// 1,000,000 quick-access codes): for 2- and 3-character prefixes taken from
// real codes, the statement on the union view that the box was first written
// with, the box's statement (each source through its own index range under
// the codes' collation), and a bare index range scan of 25 keys on
// mvk_AcessoRapido, side by side, with medians, 99th percentiles and ratios;
// the same suggestions wherever 25 or fewer codes match; and the box's whole
// refresh while a second connection holds a write transaction open on the
// same file, against the same refresh without it. Everything goes through
// LigacaoBd, as the box does.
//
//   bench_sugestoes [--pequena] [pasta-dos-dados]
#include "comum.h"
#include "campoinput.h"
#include "comparacodigos.h"
#include "sugestoes.h"
#include "ucinput.h"

#include <QApplication>
#include <QListWidget>
#include <QSet>

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

bool le(LigacaoBd &bd, const QString &sql, const QVariantList &valores, QStringList &codigos)
{
    Recordset rs;
    codigos.clear();
    if (!bd.AbreConsulta(sql, rs, valores))
        return Bench::falhou(QStringLiteral("a ler"), bd);
    for (; !rs.Eof(); rs.MoveNext())
        codigos << rs.Valor(0).toString();
    return true;
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
            return Bench::falhou(QStringLiteral("a acrescentar códigos"), bd);
    return t.confirma() || Bench::falhou(QStringLiteral("a gravar os códigos"), bd);
}

// Prefixes of codes drawn at random: three of every four from the
// quick-access codes, the others from the article codes.
QStringList prefixos(const QStringList &rapidos, const QStringList &artigos, int comprimento, int quantos,
                     QRandomGenerator &aleatorio)
{
    QStringList p;
    for (int tentativas = 0; p.size() < quantos && tentativas < quantos * 20; ++tentativas) {
        const QStringList &fonte = aleatorio.bounded(4) != 0 ? rapidos : artigos;
        if (fonte.isEmpty())
            continue;
        const QString &c = fonte.at(int(aleatorio.bounded(qint64(fonte.size()))));
        if (c.size() >= comprimento)
            p << c.left(comprimento);
    }
    return p;
}

bool antes(const QString &a, const QString &b) { return ComparaCodigos::compara(a, b) < 0; }

// The first 25 codes, in code order, of the two sources read separately with
// LIKE and merged here: what the box's one statement must give.
QStringList esperadas(LigacaoBd &bd, const QString &prefixo)
{
    const QString padrao = Dialecto::padraoPrefixo(prefixo);
    QStringList rapidos, artigos;
    le(bd, QStringLiteral("SELECT CodigoArtigo FROM mvk_AcessoRapido WHERE CodigoArtigo LIKE ? ESCAPE '\\' ORDER BY CodigoArtigo LIMIT 25"),
       {padrao}, rapidos);
    le(bd, QStringLiteral("SELECT CODIGO FROM Artigos WHERE CODIGO LIKE ? ESCAPE '\\' AND CODIGO > '' AND INACTIVO = 0 "
                          "ORDER BY CODIGO LIMIT 25"),
       {padrao}, artigos);
    QStringList todos = rapidos + artigos;
    std::sort(todos.begin(), todos.end(), antes);
    QStringList unicos;
    for (const QString &c : todos)
        if (unicos.isEmpty() || ComparaCodigos::compara(unicos.last(), c) != 0)
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

void resumo(const QString &nome, const Bench::Lado &l)
{
    out() << "  " << qSetFieldWidth(44) << Qt::left << nome << qSetFieldWidth(0) << " mediana " << qSetFieldWidth(9) << Qt::right
          << QString::number(l.mediana(), 'f', 1) << qSetFieldWidth(0) << " µs  p99 " << qSetFieldWidth(9)
          << QString::number(l.p99(), 'f', 1) << qSetFieldWidth(0) << " µs  p99 sem interrupção " << qSetFieldWidth(7)
          << QString::number(l.p99SemInterrupcao(), 'f', 1) << qSetFieldWidth(0) << " µs  (" << l.voltas() << " voltas, "
          << l.interrompidas << " de " << l.total << " interrompidas)" << Qt::left << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::semEcra();
    QApplication app(argc, argv);
    const Bench::Opcoes o = Bench::opcoes(app.arguments());
    const int voltas = o.conforme(5, 2);
    const int amostras = o.conforme(1000, 40);
    const int amostrasVista = o.conforme(12, 5);

    QTemporaryDir registo;
    if (!Bench::registaClasses(registo))
        return 1;
    const QString ficheiro = Bench::baseGrande(o);
    if (ficheiro.isEmpty())
        return 1;
    LigacaoBd bd;
    if (!bd.Abre(Bench::cadeiaSqlite(ficheiro)))
        return !Bench::falhou(QStringLiteral("a abrir"), bd);
    if (!garanteAcessosRapidos(bd, o.conforme(1000000, 3000)))
        return 1;
    out() << "Artigos: " << bd.valorUnico(QStringLiteral("SELECT COUNT(*) FROM Artigos")).toInt() << "; diário: " << bd.modoDiario()
          << Qt::endl;

    QRandomGenerator aleatorio(20261206);
    const QStringList rapidos = Bench::amostra(bd, QStringLiteral("SELECT CodigoArtigo FROM mvk_AcessoRapido"), 20000, aleatorio);
    const QStringList artigos = Bench::amostra(bd, QStringLiteral("SELECT CODIGO FROM Artigos"), 5000, aleatorio);
    if (rapidos.isEmpty() || artigos.isEmpty())
        return !Bench::falhou(QStringLiteral("a escolher códigos"), QStringLiteral("não há códigos"));

    const Dialecto &d = bd.dialecto();
    const QString nossa = Sugestoes::instrucao(d);
    // Each source is read through its index range, never scanned, and nothing is sorted.
    Recordset plano;
    if (!bd.AbreConsulta(QStringLiteral("EXPLAIN QUERY PLAN ") + nossa, plano, Sugestoes::valores(d, QStringLiteral("ZZ"))))
        return !Bench::falhou(QStringLiteral("a ler o plano"), bd);
    QString detalhe;
    for (; !plano.Eof(); plano.MoveNext())
        detalhe += plano.Valor(QStringLiteral("detail")).toString() + QStringLiteral("; ");
    const bool pelosIndices = detalhe.contains(QStringLiteral("SEARCH mvk_AcessoRapido USING"))
                              && detalhe.contains(QStringLiteral("SEARCH Artigos USING")) && !detalhe.contains(QStringLiteral("SCAN"))
                              && !detalhe.contains(QStringLiteral("TEMP B-TREE"));
    out() << "Plano da caixa: " << detalhe << (pelosIndices ? "" : " NÃO USA SÓ OS ÍNDICES") << Qt::endl;
    QStringList lidas;
    for (const QString &p : prefixos(rapidos, artigos, 2, 50, aleatorio))   // warm the cache and the prepared statements
        le(bd, nossa, Sugestoes::valores(d, p), lidas), le(bd, instrucaoIntervalo, d.valoresComecaPor(p), lidas);

    QFile carga(QStringLiteral("/proc/loadavg"));
    if (carga.open(QIODevice::ReadOnly))
        out() << "Carga da máquina: " << QString::fromLatin1(carga.readAll()).section(QLatin1Char(' '), 0, 2) << Qt::endl;

    // The suggestions must be those of the view wherever 25 or fewer codes
    // match, and the first 25 in code order of both sources otherwise.
    bool iguais = true, passos = true, alvos = true;
    int comparadas = 0, comMaisDe25 = 0;
    const auto confere = [&](const QString &p, const QStringList &daVista, const QStringList &daCaixa) {
        const bool certas = daVista.size() < 25 ? emMaiusculas(daVista) == emMaiusculas(daCaixa) : daCaixa == esperadas(bd, p);
        ++(daVista.size() < 25 ? comparadas : comMaisDe25);
        if (!certas) {
            iguais = false;
            out() << "  DIFERENTES para '" << p << "': vista " << daVista.join(' ') << " / caixa " << daCaixa.join(' ') << Qt::endl;
        }
    };

    UcInput uc;
    uc.setBd(&bd);
    uc.resize(300, 20);
    uc.show();
    for (int comprimento : {2, 3}) {
        out() << Qt::endl << "Prefixos de " << comprimento << " caracteres" << Qt::endl;
        const QStringList lista = prefixos(rapidos, artigos, comprimento, amostras, aleatorio);
        Bench::Lado vista, caixaVista, caixa, intervalo, refresco;
        for (int v = 0; v < voltas; ++v) {
            // The view statement against the box's on a few prefixes, in turn.
            for (int i = 0; i < amostrasVista; ++i) {
                const QString &p = lista.at(i);
                QStringList daVista, daCaixa;
                vista.mede([&] { passos = le(bd, instrucaoVista(d, p), {}, daVista) && passos; });
                caixaVista.mede([&] { passos = Sugestoes::le(bd, p, daCaixa) && passos; });
                if (v == 0)
                    confere(p, daVista, daCaixa);
            }
            // The box's statement and the bare range scan on many prefixes, in turn.
            for (const QString &p : lista) {
                caixa.mede([&] { le(bd, nossa, Sugestoes::valores(d, p), lidas); });
                intervalo.mede([&] { le(bd, instrucaoIntervalo, d.valoresComecaPor(p), lidas); });
            }
            // The whole refresh of the code box as a keystroke causes it: the query and the list.
            for (int i = 0; i < qMin(500, int(lista.size())); ++i) {
                uc.campo()->setText(lista.at(i));
                refresco.mede([&] { uc.carregaLista(); });
            }
            for (Bench::Lado *l : {&vista, &caixaVista, &caixa, &intervalo, &refresco})
                l->fechaVolta();
        }
        resumo(QStringLiteral("vista (select distinct ... limit 25)"), vista);
        resumo(QStringLiteral("caixa, os mesmos prefixos"), caixaVista);
        resumo(QStringLiteral("caixa, %1 prefixos").arg(lista.size()), caixa);
        resumo(QStringLiteral("intervalo de 25 chaves, %1 prefixos").arg(lista.size()), intervalo);
        resumo(QStringLiteral("UcInput::carregaLista (consulta + lista)"), refresco);
        alvos = Bench::razao(QStringLiteral("vista / caixa, mediana"), vista.mediana(), caixaVista.mediana(), 100, true) && alvos;
        alvos = Bench::razao(QStringLiteral("caixa / intervalo, mediana"), caixa.mediana(), intervalo.mediana(), 3, false) && alvos;
        Bench::razao(QStringLiteral("caixa / intervalo, p99"), caixa.p99(), intervalo.p99(), 3, false);
        alvos = Bench::razao(QStringLiteral("caixa / intervalo, p99 sem interrupção"), caixa.p99SemInterrupcao(),
                             intervalo.p99SemInterrupcao(), 3, false)
                && alvos;
    }

    // Longer prefixes, where few codes match, for the comparison with the view.
    for (int comprimento : {7, 9})
        for (const QString &p : prefixos(rapidos, artigos, comprimento, qMax(1, amostrasVista / 3), aleatorio)) {
            QStringList daVista, daCaixa;
            passos = le(bd, instrucaoVista(d, p), {}, daVista) && Sugestoes::le(bd, p, daCaixa) && passos;
            confere(p, daVista, daCaixa);
        }

    // A second program holding a write transaction on the file (hundreds of
    // rows written, not committed): each keystroke's refresh with the writer
    // and without, in short blocks in turn (the writer begins, writes, the
    // box reads; the writer rolls back, the box reads). The reads must neither
    // wait nor fail nor see the uncommitted rows.
    out() << Qt::endl << "Outra ligação com uma transacção de escrita aberta (diário " << bd.modoDiario() << ")" << Qt::endl;
    LigacaoBd outra;
    if (!outra.Abre(Bench::cadeiaSqlite(ficheiro)))
        return !Bench::falhou(QStringLiteral("a abrir a segunda ligação"), outra);
    const QStringList lista = prefixos(rapidos, artigos, 2, 100, aleatorio);
    QList<QStringList> semEscritor;
    for (const QString &p : lista) {
        QStringList c;
        passos = Sugestoes::le(bd, p, c) && passos;
        semEscritor << c;
    }
    Bench::Lado livre, comEscritor;
    double maximo = 0;
    int falhadas = 0, diferentes = 0, escritas = 0;
    for (int v = 0; v < voltas; ++v) {
        for (int bloco = 0; bloco < o.conforme(20, 3); ++bloco) {
            if (!outra.IniciaTransaccao())
                return !Bench::falhou(QStringLiteral("a começar a escrita da outra ligação"), outra);
            for (int n = 0; n < 200; ++n, ++escritas)
                if (!outra.Executa(QStringLiteral("INSERT OR IGNORE INTO mvk_AcessoRapido (CodigoArtigo) VALUES (?)"),
                                   {lista.at(n % lista.size()) + QStringLiteral("-OUTRA-%1").arg(escritas)}))
                    return !Bench::falhou(QStringLiteral("a escrever na outra ligação"), outra);
            for (int k = 0; k < 2; ++k) {
                Bench::Lado &lado = k == 0 ? comEscritor : livre;
                for (int i = 0; i < 10; ++i) {
                    const int j = (bloco * 10 + i) % lista.size();
                    uc.campo()->setText(lista.at(j));
                    maximo = qMax(maximo, lado.mede([&] { uc.carregaLista(); }));
                    QStringList c;
                    if (!Sugestoes::le(bd, lista.at(j), c))
                        ++falhadas;
                    else if (c != semEscritor.at(j))
                        ++diferentes;
                }
                if (k == 0)
                    outra.AnulaTransaccao();
            }
        }
        livre.fechaVolta();
        comEscritor.fechaVolta();
    }
    resumo(QStringLiteral("carregaLista sem outra escrita"), livre);
    resumo(QStringLiteral("carregaLista com outra escrita aberta"), comEscritor);
    Bench::linha(QStringLiteral("  a mais lenta das duas"), maximo / 1000.0, QStringLiteral("ms"));
    out() << "  leituras falhadas: " << falhadas << ", diferentes: " << diferentes << " (" << escritas
          << " linhas escritas e anuladas pela outra ligação)" << Qt::endl;
    alvos = Bench::razao(QStringLiteral("com escrita / sem escrita, mediana"), comEscritor.mediana(), livre.mediana(), 1.5, false) && alvos;
    alvos = Bench::razao(QStringLiteral("com escrita / sem escrita, p99 sem interrupção"), comEscritor.p99SemInterrupcao(),
                         livre.p99SemInterrupcao(), 1.5, false)
            && alvos;
    iguais = iguais && falhadas == 0 && diferentes == 0;

    out() << Qt::endl << "Sugestões conferidas com a vista: " << comparadas << " prefixos com menos de 25 códigos (iguais às da vista), "
          << comMaisDe25 << " com mais (os 25 primeiros das duas fontes lidas à parte)." << Qt::endl;
    out() << (iguais ? "Sugestões iguais em todos os prefixos conferidos." : "HÁ SUGESTÕES DIFERENTES OU FALHADAS.") << Qt::endl;
    if (!o.pequena)
        out() << (alvos ? "Alvos atingidos." : "Alvos NÃO atingidos.") << Qt::endl;
    return iguais && passos && pelosIndices && (o.pequena || alvos) ? 0 : 1;
}
