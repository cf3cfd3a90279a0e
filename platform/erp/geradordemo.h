#pragma once
#include <QDate>
#include <QString>
#include <functional>

class LigacaoBd;

// Makes a believable Portuguese trading company in an empty SQLite file:
// articles in groups, families and sub-families (some inactive, some out of
// stock, with observations and notes), suppliers, customers, a year of purchase
// and sales documents (with document types the queries select and some they
// must not), pending supplier orders, purchase-help records, alternative codes,
// supplier and customer prices and pending needs. The same seed and reference
// date always give the same database. The sizes scale for benchmarks.
class GeradorDemo
{
public:
    struct Escala
    {
        int artigos = 2000;
        int fornecedores = 40;
        int clientes = 200;
        int linhasDocumento = 24000;   // purchase, sales and order lines over a year
        int clart = 400;               // rows of alternative codes
        int precosFornecedor = 900;
        int precosCliente = 400;
        int necessidades = 300;        // pending needs (and a tenth as many processed ones)
        int equivalencias = 3000;      // pairs written when the equivalence tables exist

        static Escala demo() { return Escala(); }
        // 200,000 articles and 2,000,000 document lines; 1,000,000 equivalences;
        // 37,000 pending needs.
        static Escala grande();
        // A few hundred of each: enough for every query of a benchmark to
        // find rows, small enough for the test run.
        static Escala pequena();
    };

    explicit GeradorDemo(quint64 semente = 20261206, QDate hoje = QDate::currentDate());

    // Creates the ERP and own tables and fills them, in one transaction.
    bool gera(LigacaoBd &bd, const Escala &escala);
    // Fills mvk_equivalencias and mvk_AcessoRapido (they must exist) with
    // supplier references, bar codes and old codes of existing articles.
    bool geraEquivalencias(LigacaoBd &bd, int pares, int artigos);

    // Progress while generating (table name, rows so far).
    std::function<void(const QString &, qint64)> progresso;

    QString erro() const { return m_erro; }

    // Company, user and exercise of the demo ERP (what the ERP settings name).
    static QString empresaDemo() { return QStringLiteral("DEMO"); }
    static QString utilizadorDemo() { return QStringLiteral("admin"); }

    // The code of article n (0-based) as the generator makes it.
    static QString codigoArtigo(int n);

private:
    quint64 proximo();
    int entre(int minimo, int maximo);          // inclusive
    double real(double minimo, double maximo);  // two decimals
    bool chance(int porCento);
    bool falha(LigacaoBd &bd);

    bool geraTabelasBase(LigacaoBd &bd, const Escala &e);
    bool geraArtigos(LigacaoBd &bd, const Escala &e);
    bool geraEntidades(LigacaoBd &bd, const Escala &e);
    bool geraDocumentos(LigacaoBd &bd, const Escala &e);
    bool geraAuxiliares(LigacaoBd &bd, const Escala &e);
    bool geraNecessidades(LigacaoBd &bd, const Escala &e);

    quint64 m_estado;
    QDate m_hoje;
    QString m_erro;
};
