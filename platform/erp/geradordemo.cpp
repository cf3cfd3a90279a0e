#include "geradordemo.h"
#include "esquemaerp.h"
#include "ligacaobd.h"

#include <QStringList>
#include <array>

namespace {

struct Grupo
{
    const char *cod;
    const char *descr;
    const char *prefixo;
    std::array<const char *, 3> familias;
    std::array<const char *, 6> nomes;
};

const Grupo grupos[] = {
    {"01", "Fixação", "FIX", {"Parafusos", "Porcas e anilhas", "Buchas"},
     {"Parafuso sextavado", "Parafuso auto-roscante", "Porca auto-blocante", "Anilha lisa", "Bucha de nylon", "Varão roscado"}},
    {"02", "Transmissão", "TRA", {"Rolamentos", "Correias", "Correntes"},
     {"Rolamento de esferas", "Rolamento cónico", "Correia trapezoidal", "Correia dentada", "Corrente simples", "Carreto"}},
    {"03", "Hidráulica", "HID", {"Válvulas", "Tubagem", "Vedação"},
     {"Válvula de esfera", "Válvula de retenção", "Tubo PVC", "Mangueira hidráulica", "Vedante O-ring", "União roscada"}},
    {"04", "Material eléctrico", "ELE", {"Cabos", "Protecção", "Iluminação"},
     {"Cabo eléctrico H07V-K", "Disjuntor", "Diferencial", "Lâmpada LED", "Projector LED", "Tomada schuko"}},
    {"05", "Ferramentas", "FER", {"Corte", "Aperto", "Medição"},
     {"Broca HSS", "Disco de corte inox", "Chave de bocas", "Chave dinamométrica", "Fita métrica", "Paquímetro digital"}},
    {"06", "Tintas e químicos", "QUI", {"Tintas", "Colas", "Lubrificantes"},
     {"Tinta acrílica branca", "Primário anti-corrosivo", "Cola de contacto", "Silicone neutro", "Massa lubrificante", "Óleo multiusos"}},
    {"07", "Segurança", "SEG", {"Protecção individual", "Sinalização", "Incêndio"},
     {"Luva de trabalho nitrilo", "Óculos de protecção", "Capacete de obra", "Fita de sinalização", "Extintor pó ABC", "Colete refletor"}},
};

const char *medidas[] = {"M6x20", "M8x40", "M10x60", "6204-2RS", "A-42", "3/4\"", "1/2\"", "20 mm", "32 mm", "2,5 mm2",
                         "16 A", "25 A", "10 W", "50 W", "8 mm", "230 mm", "19 mm", "5 m", "750 ml", "5 L", "T9", "Tam. L"};
const char *marcas[] = {"Fixer", "Ibérica", "Lusotec", "Nortel", "ProMax", "Atlântico", "Delta", "Vouga", "Minho", "Tejo"};

const char *empresas1[] = {"Ferragens", "Rolamentos", "Hidráulica", "Electro", "Ferramentas", "Tintas", "Distribuidora",
                           "Comercial", "Importadora", "Oficina", "Construções", "Serralharia", "Metalúrgica", "Auto"};
const char *empresas2[] = {"do Norte", "Ibéricos", "Silva & Filhos", "Lusitana", "do Vouga", "Central", "Atlântico",
                           "Costa", "Pereira", "Moderna", "do Minho", "Ribeiro", "Santos", "do Tejo", "Fernandes"};
const char *formas[] = {", Lda", ", S.A.", ", Lda", ", Unipessoal Lda"};
const char *localidades[] = {"Porto", "Braga", "Aveiro", "Coimbra", "Leiria", "Lisboa", "Setúbal", "Viseu", "Guimarães", "Faro"};
const char *observacoes[] = {"Confirmar medida antes de encomendar.", "Artigo com prazo de entrega longo.",
                             "Substitui referência antiga.", "Vender apenas em caixa completa.",
                             "Verificar lote na recepção.", "Preço sujeito a alteração pelo fornecedor."};
const char *notas[] = {"Cliente habitual pede em paletes.", "Stock mínimo revisto em Janeiro.",
                       "Ficha técnica disponível no servidor.", "Produto sazonal: reforçar no Verão."};

struct TipoDoc
{
    const char *codigo, *descr;
    int areag, tpoper, entidade, natconta, sinalct;
};
// Purchase invoices, sales invoices and supplier orders are what the program
// selects; the others share some flags and must be left out.
const TipoDoc tiposDoc[] = {
    {"FCF", "Factura de compra", 4, 1, 1, 1, 2},
    {"VFA", "Factura de venda", 4, 2, 2, 1, 1},
    {"ENF", "Encomenda a fornecedor", 2, 1, 1, 0, 2},
    {"ECL", "Encomenda de cliente", 2, 2, 2, 0, 1},
    {"NCF", "Nota de crédito de fornecedor", 4, 1, 1, 1, 1},
    {"NCC", "Nota de crédito a cliente", 4, 2, 2, 1, 2},
    {"GTR", "Guia de transporte", 3, 2, 2, 0, 1},
};

} // namespace

GeradorDemo::Escala GeradorDemo::Escala::grande()
{
    Escala e;
    e.artigos = 200000;
    e.fornecedores = 400;
    e.clientes = 5000;
    e.linhasDocumento = 2000000;
    e.clart = 100000;
    e.precosFornecedor = 20000;
    e.precosCliente = 10000;
    e.necessidades = 37000;
    e.equivalencias = 1000000;
    return e;
}

GeradorDemo::Escala GeradorDemo::Escala::pequena()
{
    Escala e;
    e.artigos = 700;
    e.fornecedores = 20;
    e.clientes = 50;
    e.linhasDocumento = 6000;
    e.clart = 100;
    e.precosFornecedor = 300;
    e.precosCliente = 150;
    e.necessidades = 40;
    e.equivalencias = 1000;
    return e;
}

GeradorDemo::GeradorDemo(quint64 semente, QDate hoje) : m_estado(semente), m_hoje(hoje) {}

quint64 GeradorDemo::proximo()
{
    // splitmix64: small, fast and the same on every platform.
    quint64 z = (m_estado += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
int GeradorDemo::entre(int minimo, int maximo) { return minimo + int(proximo() % quint64(maximo - minimo + 1)); }
double GeradorDemo::real(double minimo, double maximo)
{
    const qint64 c0 = qint64(minimo * 100), c1 = qint64(maximo * 100);
    return double(c0 + qint64(proximo() % quint64(c1 - c0 + 1))) / 100.0;
}
bool GeradorDemo::chance(int porCento) { return int(proximo() % 100) < porCento; }

bool GeradorDemo::falha(LigacaoBd &bd)
{
    m_erro = bd.ultimoErro().texto();
    return false;
}

QString GeradorDemo::codigoArtigo(int n)
{
    const Grupo &g = grupos[n % 7];
    return QString::fromLatin1(g.prefixo) + QString::number(100000 + n / 7 * 7 + n % 7).rightJustified(6, QLatin1Char('0'));
}

bool GeradorDemo::gera(LigacaoBd &bd, const Escala &e)
{
    bd.Executa(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    bd.Executa(QStringLiteral("PRAGMA synchronous=OFF"));
    Transaccao t(bd);
    if (!t.iniciada())
        return falha(bd);
    for (const QString &sql : EsquemaErp::tabelasErp() + EsquemaErp::tabelasProprias())
        if (!bd.Executa(sql))
            return falha(bd);
    if (!geraTabelasBase(bd, e) || !geraArtigos(bd, e) || !geraEntidades(bd, e) || !geraDocumentos(bd, e)
        || !geraAuxiliares(bd, e) || !geraNecessidades(bd, e))
        return false;
    if (!t.confirma())
        return falha(bd);
    bd.Executa(QStringLiteral("PRAGMA synchronous=FULL"));
    bd.Executa(QStringLiteral("PRAGMA journal_mode=DELETE"));
    bd.Executa(QStringLiteral("ANALYZE"));
    return true;
}

bool GeradorDemo::geraTabelasBase(LigacaoBd &bd, const Escala &)
{
    const int ano = m_hoje.year();
    if (!bd.Executa(QStringLiteral("INSERT INTO Empresas VALUES (?, ?, ?, ?)"),
                    {empresaDemo(), QStringLiteral("Tessela Demonstração, Lda"), ano - 5, ano + 1})
        || !bd.Executa(QStringLiteral("INSERT INTO Utilizadores VALUES (?, ?, ?)"),
                       {utilizadorDemo(), QStringLiteral("Administrador"), QStringLiteral("")})
        || !bd.Executa(QStringLiteral("INSERT INTO Utilizadores VALUES (?, ?, ?)"),
                       {QStringLiteral("balcao"), QStringLiteral("Balcão"), QStringLiteral("balcao")}))
        return falha(bd);
    for (const TipoDoc &t : tiposDoc)
        if (!bd.Executa(QStringLiteral("INSERT INTO Tpdoc VALUES (?, ?, ?, ?, ?, ?, ?)"),
                        {QString::fromUtf8(t.codigo), QString::fromUtf8(t.descr), t.areag, t.tpoper, t.entidade,
                         t.natconta, t.sinalct})
            || !bd.Executa(QStringLiteral("INSERT INTO SeriesDoc VALUES (?, '1', ?)"),
                           {QString::fromUtf8(t.codigo), QStringLiteral("Série 1")}))
            return falha(bd);
    for (const Grupo &g : grupos) {
        if (!bd.Executa(QStringLiteral("INSERT INTO Grupos VALUES (?, ?)"), {QString::fromUtf8(g.cod), QString::fromUtf8(g.descr)}))
            return falha(bd);
        for (int f = 0; f < 3; ++f) {
            const QString fam = QString::fromUtf8(g.cod) + QString::number(f + 1);
            if (!bd.Executa(QStringLiteral("INSERT INTO Familia VALUES (?, ?, ?)"),
                            {QString::fromUtf8(g.cod), fam, QString::fromUtf8(g.familias[f])}))
                return falha(bd);
            for (int s = 0; s < 2; ++s)
                if (!bd.Executa(QStringLiteral("INSERT INTO SUBFamil VALUES (?, ?, ?, ?)"),
                                {QString::fromUtf8(g.cod), fam, fam + QString::number(s + 1),
                                 QString::fromUtf8(g.familias[f]) + (s ? QStringLiteral(" (profissional)") : QStringLiteral(" (corrente)"))}))
                    return falha(bd);
        }
    }
    return true;
}

bool GeradorDemo::geraArtigos(LigacaoBd &bd, const Escala &e)
{
    const QString sql = QStringLiteral("INSERT INTO Artigos (CODIGO, NOME, REFFORN, Grupo, Familia, SubFamil, ULTPRCOM, VLREXIST, "
                                       "STDISP, TOTENCFO, TotEnccl, PVPSIVA, STMIN, STMAX, INACTIVO, ARTOUDES, OBSERV, BLNOTAS) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (int n = 0; n < e.artigos; ++n) {
        const Grupo &g = grupos[n % 7];
        const int f = entre(0, 2);
        const QString fam = QString::fromUtf8(g.cod) + QString::number(f + 1);
        const QString nome = QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(g.nomes[entre(0, 5)]),
                                                            QString::fromUtf8(medidas[entre(0, 21)]),
                                                            QString::fromUtf8(marcas[entre(0, 9)]));
        const double custo = real(0.15, 180.0);
        const int stock = chance(12) ? 0 : entre(1, 400);
        const double pcm = custo * real(0.9, 1.1);
        const int stmin = entre(0, 20), stmax = stmin + entre(10, 200);
        QVariantList v{codigoArtigo(n), nome, QStringLiteral("R%1").arg(entre(10000, 99999)), QString::fromUtf8(g.cod), fam,
                       fam + QString::number(entre(1, 2)), custo, stock * pcm, stock, entre(0, 3) ? 0 : entre(1, 50),
                       entre(0, 4) ? 0 : entre(1, 30), qRound(custo * real(1.3, 1.9) * 100) / 100.0, stmin, stmax,
                       chance(5) ? 1 : 0, chance(1) ? 1 : 0,
                       chance(30) ? QVariant(QString::fromUtf8(observacoes[entre(0, 5)])) : QVariant(),
                       chance(15) ? QVariant(QString::fromUtf8(notas[entre(0, 3)])) : QVariant()};
        if (!bd.Executa(sql, v))
            return falha(bd);
        if (progresso && n % 20000 == 0)
            progresso(QStringLiteral("Artigos"), n);
    }
    return true;
}

bool GeradorDemo::geraEntidades(LigacaoBd &bd, const Escala &e)
{
    for (int tipo = 0; tipo < 2; ++tipo) {
        const int total = tipo == 0 ? e.fornecedores : e.clientes;
        const QString sql = tipo == 0 ? QStringLiteral("INSERT INTO Fornec VALUES (?, ?, ?, ?, ?, ?)")
                                      : QStringLiteral("INSERT INTO Clientes VALUES (?, ?, ?, ?, ?, ?)");
        for (int n = 1; n <= total; ++n) {
            const QString codigo = tipo == 0 ? QStringLiteral("F%1").arg(n, 3, 10, QLatin1Char('0'))
                                             : QStringLiteral("C%1").arg(n, 4, 10, QLatin1Char('0'));
            const QString nome = QString::fromUtf8(empresas1[entre(0, 13)]) + QLatin1Char(' ')
                                 + QString::fromUtf8(empresas2[entre(0, 14)]) + QString::fromUtf8(formas[entre(0, 3)]);
            const QString local = QString::fromUtf8(localidades[entre(0, 9)]);
            if (!bd.Executa(sql, {codigo, nome, QStringLiteral("2%1").arg(entre(10000000, 59999999)),
                                  QStringLiteral("Rua %1, %2").arg(entre(1, 300)).arg(local), local,
                                  QStringLiteral("5%1").arg(entre(10000000, 99999999))}))
                return falha(bd);
        }
    }
    return true;
}

bool GeradorDemo::geraDocumentos(LigacaoBd &bd, const Escala &e)
{
    const QString cab = QStringLiteral("INSERT INTO DOCGCCAB (Tpdoc, serie, ano, nnumdoc, Data, Terceiro, TpTerc, Areag, tpoper, "
                                       "natconta, sinalct, nvias, Armazem, Sector) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, '1', '001')");
    const QString lin = QStringLiteral("INSERT INTO docgclin (Tpdocum, serie, Ano, nnumdoc, NumLinha, Artigo, Descricao, Quant, Prunit, "
                                       "Data, Linanu) VALUES (?, ?, ?, ?, ?, ?, '', ?, ?, ?, ?)");
    // Share of lines by document type: purchases, sales, supplier orders and the rest.
    const int pesos[] = {30, 45, 10, 6, 3, 3, 3};
    int numeros[7] = {0, 0, 0, 0, 0, 0, 0};
    qint64 linhas = 0;
    while (linhas < e.linhasDocumento) {
        int r = entre(0, 99), t = 0;
        while (r >= pesos[t]) {
            r -= pesos[t];
            ++t;
        }
        const TipoDoc &td = tiposDoc[t];
        // Supplier orders still pending are recent; invoices spread over the year.
        const QDate data = m_hoje.addDays(-(t == 2 ? entre(0, 60) : entre(0, 364)));
        const bool fornecedor = td.entidade == 1;
        const QString terceiro = fornecedor ? QStringLiteral("F%1").arg(entre(1, e.fornecedores), 3, 10, QLatin1Char('0'))
                                            : QStringLiteral("C%1").arg(entre(1, e.clientes), 4, 10, QLatin1Char('0'));
        const int num = ++numeros[t];
        const QString tipo = QString::fromLatin1(td.codigo);
        const QString serie = QStringLiteral("1");
        if (!bd.Executa(cab, {tipo, serie, data.year(), num, data, terceiro, fornecedor ? 1 : 2, td.areag, td.tpoper,
                              td.natconta, td.sinalct, chance(2) ? -1 : 1}))
            return falha(bd);
        const int nLinhas = entre(1, 9);
        for (int l = 1; l <= nLinhas && linhas < e.linhasDocumento; ++l, ++linhas) {
            const int a = entre(0, e.artigos - 1);
            if (!bd.Executa(lin, {tipo, serie, data.year(), num, l, codigoArtigo(a), entre(1, 48),
                                  real(0.2, 200.0), data, chance(3) ? 1 : 0}))
                return falha(bd);
        }
        if (progresso && (linhas % 200000) < nLinhas)
            progresso(QStringLiteral("docgclin"), linhas);
    }
    return true;
}

bool GeradorDemo::geraAuxiliares(LigacaoBd &bd, const Escala &e)
{
    const auto fornecedor = [&] { return QStringLiteral("F%1").arg(entre(1, e.fornecedores), 3, 10, QLatin1Char('0')); };
    const auto cliente = [&] { return QStringLiteral("C%1").arg(entre(1, e.clientes), 4, 10, QLatin1Char('0')); };
    const auto data = [&](int dias) { return m_hoje.addDays(-entre(0, dias)); };

    // Purchase help: the supplier's reference and next price per article and supplier.
    const QString ajuda = QStringLiteral("INSERT OR IGNORE INTO AjudaCmp (Artigo, Forneced, RefArt, Data, PrUltFor, Qtd, Moeda, "
                                         "DataPart, PrProx) VALUES (?, ?, ?, ?, ?, 1, 'EUR', ?, ?)");
    const int nAjuda = e.artigos * 3 / 4;
    for (int n = 0; n < nAjuda; ++n) {
        const double p = real(0.2, 150.0);
        if (!bd.Executa(ajuda, {codigoArtigo(entre(0, e.artigos - 1)), fornecedor(), QStringLiteral("REF-%1").arg(entre(1000, 999999)),
                                data(300), p, data(60), p * real(0.95, 1.08)}))
            return falha(bd);
    }
    // Alternative codes: bar codes, supplier references and old codes.
    for (int n = 0; n < e.clart; ++n) {
        QVariantList v{codigoArtigo((n * 7919) % e.artigos)};
        for (int c = 0; c < 5; ++c) {
            const int r = entre(0, 9);
            if (c > 0 && r < 4)
                v << QVariant();
            else if (r < 5)
                v << QStringLiteral("   ");
            else if (r < 8)
                v << QStringLiteral("560%1").arg(quint64(proximo() % 10000000000ULL), 10, 10, QLatin1Char('0'));
            else
                v << QStringLiteral("V%1").arg(entre(1000, 99999));
        }
        if (!bd.Executa(QStringLiteral("INSERT OR IGNORE INTO CLART VALUES (?, ?, ?, ?, ?, ?)"), v))
            return falha(bd);
    }
    for (int n = 0; n < e.precosFornecedor; ++n)
        if (!bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Forn (Fornecedor, Artigo, Data, Preco, RefForn, Obs) VALUES (?, ?, ?, ?, ?, ?)"),
                        {fornecedor(), codigoArtigo(entre(0, e.artigos - 1)), data(365), real(0.2, 150.0),
                         QStringLiteral("REF-%1").arg(entre(1000, 999999)),
                         chance(30) ? QVariant(QStringLiteral("Proposta válida por 30 dias")) : QVariant()}))
            return falha(bd);
    for (int n = 0; n < e.precosCliente; ++n)
        if (!bd.Executa(QStringLiteral("INSERT INTO mvk_Precos_Clientes (Cliente, Artigo, Data, Preco, Obs) VALUES (?, ?, ?, ?, ?)"),
                        {cliente(), codigoArtigo(entre(0, e.artigos - 1)), data(365), real(0.5, 250.0),
                         chance(25) ? QVariant(QStringLiteral("Preço acordado em reunião")) : QVariant()}))
            return falha(bd);
    return true;
}

bool GeradorDemo::geraEquivalencias(LigacaoBd &bd, int pares, int artigos)
{
    Transaccao t(bd);
    if (!t.iniciada())
        return falha(bd);
    const QString eq = QStringLiteral("INSERT OR IGNORE INTO mvk_equivalencias (ArtigoPai, ArtigoEquivalente) VALUES (?, ?)");
    const QString ar = QStringLiteral("INSERT OR IGNORE INTO mvk_AcessoRapido (CodigoArtigo) VALUES (?)");
    for (int n = 0; n < pares; ++n) {
        const QString pai = codigoArtigo(entre(0, artigos - 1));
        QString codigo;
        switch (entre(0, 2)) {
        case 0:
            codigo = QStringLiteral("560%1").arg(quint64(proximo() % 10000000000ULL), 10, 10, QLatin1Char('0'));
            break;
        case 1:
            codigo = QStringLiteral("%1-%2").arg(QString::fromUtf8(marcas[entre(0, 9)]).left(3).toUpper()).arg(entre(10000, 9999999));
            break;
        default:
            codigo = QStringLiteral("V%1").arg(entre(1000, 9999999));
        }
        if (!bd.Executa(eq, {pai, codigo}) || !bd.Executa(ar, {codigo}))
            return falha(bd);
        if (progresso && n % 200000 == 0)
            progresso(QStringLiteral("mvk_equivalencias"), n);
    }
    return t.confirma() || falha(bd);
}
