// Loading the supplier price grid: 10,000 price records (mode 1) and 10,000
// purchase lines (mode 2), loaded three ways in one run on the same database:
//   - per record: the listed query, then LerFornecedor and LerArtigo for every
//     record (and LerAjudaCompra for every purchase line), the grid growing a
//     row at a time;
//   - one query: CargaPrecos, the names and the reference joined in;
//   - a bare read of the same rows, with nothing looked up or shown.
// Both loads must leave identical cell arrays. Targets: one query at least
// 10 times faster than per record, and within 3 times of the bare read; the
// three ways are measured in turn, 7 times each, and compared by their medians.
//
//   build/bench/bench_precos [--pequena]
// (its data is made afresh in a temporary folder every run; a data folder
// given is not needed)
#include "comum.h"

#include "cargaprecos.h"
#include "consultas.h"
#include "grelha.h"
#include "grelhaprecos.h"

#include <QApplication>

using namespace ColunasPrecos;

namespace {

// Price records and purchase lines loaded (400 with --pequena).
int Registos = 10000;

// The queries of the per-record way (and of the bare read): the price table
// alone, and the purchase lines with their document and article. Dates come
// as the database keeps them (COALESCE), as CargaPrecos asks for them, so the
// comparison measures the lookups and not the connection's slow conversion of
// date texts (measured on its own at the end).
const QString sqlPrecos = QStringLiteral(
    "Select Id_Preco, Fornecedor, Artigo, COALESCE(Data, NULL) AS Data, Preco, RefForn, Obs from mvk_Precos_Forn"
    " order by Fornecedor, Artigo, Data Desc, Id_Preco");
const QString sqlCompras = QStringLiteral(
    "Select COALESCE(DocGcCab.Data, NULL) as Data, Artigo, Prunit as Preco, Terceiro from docgclin "
    " inner join DOCGCCAB ON Docgccab.Tpdoc= Docgclin.Tpdocum and docgccab.serie= Docgclin.serie and docgccab.ano=Docgclin.Ano "
    "and docgccab.nnumdoc=Docgclin.nnumdoc"
    " inner join Artigos ON docgclin.artigo=Artigos.Codigo"
    " where DocGcCab.Areag=4 and DocGcCab.tpoper=1 and DocGcCab.TpTerc=1 and DocGcCab.natconta=1 and DocGcCab.sinalct=2"
    " and nvias<>-1 and Quant>0 and artoudes<>-1 and inactivo=0"
    " and Linanu=0"
    " order  by Terceiro, Artigo, DocGcCab.Data Desc, Docgclin.Tpdocum, Docgclin.serie, Docgclin.Ano, Docgclin.nnumdoc, "
    "Docgclin.NumLinha");

QVariant data(const QVariant &v)
{
    if (v.metaType().id() == QMetaType::QDateTime)
        return v.toDateTime().date();
    const QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
    return d.isValid() ? QVariant(d) : v;
}

QString nome(LigacaoBd &bd, bool fornecedor, const QVariant &codigo)
{
    Recordset rs;
    if (fornecedor)
        LerFornecedor(bd, rs, codigo);
    else
        LerArtigo(bd, rs, codigo);
    return rs.Eof() ? QString() : TextoDe(rs.Valor(QStringLiteral("Nome")));
}

// The grid filled as listed: one record at a time, two or three lookups each.
int carregaPorRegisto(LigacaoBd &bd, Grelha &g, int tipo)
{
    Recordset rs;
    if (!bd.AbreConsulta(tipo == 1 ? sqlPrecos : sqlCompras, rs))
        return -1;
    g.setRedesenho(false);
    int linha = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        const QVariant fornecedor = rs.Valor(tipo == 1 ? QStringLiteral("Fornecedor") : QStringLiteral("Terceiro"));
        const QVariant artigo = rs.Valor(QStringLiteral("Artigo"));
        g.setMatriz(linha, Forn, fornecedor);
        g.setMatriz(linha, Descr, nome(bd, true, fornecedor));
        g.setMatriz(linha, Artigo, artigo);
        g.setMatriz(linha, DescrArtigo, nome(bd, false, artigo));
        if (tipo == 1) {
            g.setMatriz(linha, RefForn, TextoDe(rs.Valor(QStringLiteral("RefForn"))));
        } else {
            Recordset ajuda;
            LerAjudaCompra(bd, ajuda, artigo, fornecedor);
            g.setMatriz(linha, RefForn, ajuda.Eof() ? QString() : TextoDe(ajuda.Valor(QStringLiteral("RefArt"))));
        }
        g.setMatriz(linha, DataE, data(rs.Valor(QStringLiteral("Data"))));
        g.setMatriz(linha, Preco, rs.Valor(QStringLiteral("Preco")));
        g.setMatriz(linha, Altera, false);
        if (tipo == 1) {
            g.setMatriz(linha, Id, rs.Valor(QStringLiteral("Id_preco")));
            g.setMatriz(linha, Obs, TextoDe(rs.Valor(QStringLiteral("Obs"))));
        }
        ++linha;
        if (linha >= g.linhas() - 1)
            g.setLinhas(g.linhas() + 1);
    }
    g.setRedesenho(true);
    return linha;
}

int carregaNumaConsulta(LigacaoBd &bd, Grelha &g, int tipo)
{
    g.setRedesenho(false);
    int n = 0;
    const bool ok = CargaPrecos::carrega(bd, g, tipo, QString(), QString(), &n);
    g.setRedesenho(true);
    return ok ? n : -1;
}

// The same rows read and walked, nothing looked up nor shown.
int leituraSimples(LigacaoBd &bd, int tipo)
{
    Recordset rs;
    if (!bd.AbreConsulta(tipo == 1 ? sqlPrecos : sqlCompras, rs))
        return -1;
    int n = 0;
    for (; !rs.Eof(); rs.MoveNext(), ++n)
        for (int c = 0; c < rs.numeroCampos(); ++c)
            rs.Valor(c);
    return n;
}

// The first cell that differs, or the empty text.
QString diferenca(const Grelha &a, const Grelha &b)
{
    if (a.linhas() != b.linhas() || a.numeroColunas() != b.numeroColunas())
        return QStringLiteral("%1x%2 contra %3x%4").arg(a.linhas()).arg(a.numeroColunas()).arg(b.linhas()).arg(b.numeroColunas());
    for (int r = 0; r < a.linhas(); ++r)
        for (int c = 0; c < a.numeroColunas(); ++c)
            if (a.matriz(r, c) != b.matriz(r, c) || a.matriz(r, c).metaType() != b.matriz(r, c).metaType())
                return QStringLiteral("linha %1 coluna %2: %3 contra %4")
                    .arg(r)
                    .arg(c)
                    .arg(a.matriz(r, c).toString(), b.matriz(r, c).toString());
    return QString();
}

int contaCompras(LigacaoBd &bd)
{
    Recordset rs;
    bd.AbreConsulta(QStringLiteral("SELECT COUNT(*) FROM (") + sqlCompras + QStringLiteral(")"), rs);
    return rs.Valor(0).toInt();
}

// A company with 9,990 generated price records plus 10 whose supplier or
// article the ERP does not know, and exactly 10,000 purchase lines (the
// generator's, topped up with further purchase invoices).
bool criaBase(LigacaoBd &bd, bool pequena)
{
    GeradorDemo::Escala e;
    e.artigos = pequena ? 700 : 20000;
    e.fornecedores = pequena ? 20 : 200;
    e.clientes = 100;
    e.linhasDocumento = pequena ? 300 : 30000;
    e.clart = 100;
    e.precosFornecedor = Registos - 10;
    e.precosCliente = 10;
    e.necessidades = 10;
    GeradorDemo gerador(20261206, QDate(2026, 12, 6));
    if (!gerador.gera(bd, e)) {
        Bench::out() << gerador.erro() << Qt::endl;
        return false;
    }
    Transaccao t(bd);
    bool ok = true;
    for (int n = 0; n < 10; ++n)
        ok = ok && bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco, RefForn) VALUES (?, ?, ?, ?, 'X')"),
                   {n % 2 ? QStringLiteral("FZZ") : QStringLiteral("F001"), n % 2 ? GeradorDemo::codigoArtigo(n) : QStringLiteral("AZZ"),
                    QDate(2026, 1, 1 + n), 1.5 + n});
    Recordset activos;
    bd.AbreConsulta(QStringLiteral("SELECT Codigo FROM Artigos WHERE Inactivo = 0 AND Artoudes = 0 ORDER BY Codigo"), activos);
    int falta = Registos - contaCompras(bd);
    if (falta < 0) {
        Bench::out() << "A escala dá " << -falta << " linhas de compra a mais." << Qt::endl;
        return false;
    }
    for (int doc = 1; falta > 0; ++doc) {
        const QDate d = QDate(2026, 1, 1).addDays(doc % 300);
        const QString fornecedor = QStringLiteral("F%1").arg(1 + doc % e.fornecedores, 3, 10, QLatin1Char('0'));
        ok = ok && bd.Executa(QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, tpoper, natconta, "
                                  "sinalct, nvias) VALUES ('FCF', 'B', 2026, ?, ?, ?, 1, 4, 1, 1, 2, 1)"),
                   {doc, d, fornecedor});
        for (int l = 1; l <= 5 && falta > 0; ++l, --falta) {
            activos.setPosicao((doc * 7 + l * 131) % activos.RecordCount());
            ok = ok && bd.Executa(QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Quant, Prunit, Data, Linanu) "
                                      "VALUES ('FCF', 'B', 2026, ?, ?, ?, 2, ?, ?, 0)"),
                       {doc, l, activos.Valor(0), 0.5 + (doc % 97) + l / 4.0, d});
        }
    }
    if (!ok)
        return Bench::falhou(QStringLiteral("a criar os dados"), bd);
    bd.Executa(QStringLiteral("ANALYZE"));
    return t.confirma() || Bench::falhou(QStringLiteral("a gravar os dados"), bd);
}

} // namespace

int main(int argc, char *argv[])
{
    Bench::semEcra();
    QApplication app(argc, argv);
    const Bench::Opcoes o = Bench::opcoes(app.arguments());
    const int repeticoes = o.conforme(7, 2);
    if (o.pequena)
        Registos = 400;

    // Its data takes seconds to make: made afresh in a temporary folder every run.
    QTemporaryDir pasta;
    const QString ficheiro = Bench::criaUmaVez(pasta.filePath(QStringLiteral("precos.db")),
                                               [&o](LigacaoBd &bd) { return criaBase(bd, o.pequena); });
    if (ficheiro.isEmpty())
        return 1;
    LigacaoBd bd;
    if (!bd.Abre(Bench::cadeiaSqlite(ficheiro)))
        return !Bench::falhou(QStringLiteral("a abrir"), bd);

    bool certas = true, alvos = true;
    for (int tipo : {1, 2}) {
        Grelha porRegisto, numaConsulta;
        Bench::Lado tPorRegisto, tNumaConsulta, tSimples;
        int n1 = 0, n2 = 0, n3 = 0;
        for (int r = 0; r < repeticoes; ++r) {
            GrelhaPrecos::montaColunas(porRegisto, tipo, false, false);
            GrelhaPrecos::montaColunas(numaConsulta, tipo, false, false);
            tPorRegisto.junta(Bench::mede([&] { n1 = carregaPorRegisto(bd, porRegisto, tipo); }) / 1000.0);
            tNumaConsulta.junta(Bench::mede([&] { n2 = carregaNumaConsulta(bd, numaConsulta, tipo); }) / 1000.0);
            tSimples.junta(Bench::mede([&] { n3 = leituraSimples(bd, tipo); }) / 1000.0);   // in ms
        }
        for (Bench::Lado *l : {&tPorRegisto, &tNumaConsulta, &tSimples})
            l->fechaVolta();
        const QString dif = diferenca(porRegisto, numaConsulta);
        const double a = tPorRegisto.mediana(), b = tNumaConsulta.mediana(), c = tSimples.mediana();
        const bool iguais = dif.isEmpty() && n1 == Registos && n2 == Registos && n3 == Registos;
        Bench::out() << Qt::endl
                     << (tipo == 1 ? "Preços de fornecedor" : "Compras") << ": " << n1 << " / " << n2 << " / " << n3
                     << " registos, grelha de " << numaConsulta.linhas() << " linhas; medianas de " << repeticoes << Qt::endl;
        Bench::linha(QStringLiteral("  por registo (2-3 consultas cada)"), a, QStringLiteral("ms"));
        Bench::linha(QStringLiteral("  numa consulta (CargaPrecos)"), b, QStringLiteral("ms"));
        Bench::linha(QStringLiteral("  leitura simples das mesmas linhas"), c, QStringLiteral("ms"));
        alvos = Bench::razao(QStringLiteral("por registo / numa consulta"), a, b, 10, true) && alvos;
        alvos = Bench::razao(QStringLiteral("numa consulta / leitura simples"), b, c, 3, false) && alvos;
        Bench::out() << "  grelhas iguais: "
                     << (dif.isEmpty() ? QStringLiteral("sim") : QStringLiteral("NÃO (") + dif + QLatin1Char(')')) << Qt::endl;
        certas = certas && iguais;
    }
    Bench::out() << Qt::endl << (certas ? "Cargas iguais." : "CARGAS DIFERENTES OU INCOMPLETAS.") << Qt::endl;
    if (!o.pequena)
        Bench::out() << (alvos ? "Alvos atingidos." : "Alvos NÃO atingidos.") << Qt::endl;
    return certas && (o.pequena || alvos) ? 0 : 1;
}
