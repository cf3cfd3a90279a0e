#pragma once
#include "ligacaobd.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// What the ERP tells about a document it created. The caller passes it empty
// (every field zero or empty); GeraDocumento fills it when the document is
// written and leaves it untouched when the document is refused.
struct RegistoDocumento
{
    QString tipo;       // document type
    QString serie;
    int ano = 0;
    int numero = 0;     // nnumdoc
    int linhas = 0;
    double total = 0;   // sum of quantity x price, to the cent
};

// The session with the embedded ERP. Liga checks, against the ERP's own
// database, what its five parameters name (see ConfigErp):
//   1 company code, 2 password (may be empty), 3 user, 4 financial year,
//   5 the ERP's database (a SQLite file, or "ODBC:" and a connection string).
// It refuses when the database cannot be opened, the company does not exist or
// does not cover that year, or the user or password is wrong; Resultado then
// tells why. Code -1 means the last operation succeeded.
//
// GeraDocumento writes a supplier order into the ERP's document tables
// (DOCGCCAB header, docgclin lines) through the session's own connection, in
// one transaction: a refused document leaves nothing written.
class SessaoErp
{
public:
    // Result codes (Resultado). Anything but Sucesso is a refusal, and the
    // message then names the cause in Portuguese.
    enum Codigo : long {
        Sucesso = -1,
        // Liga
        FaltamParametros = 1,
        BaseInacessivel = 2,
        BaseInvalida = 3,
        EmpresaDesconhecida = 4,
        ExercicioDesconhecido = 5,
        UtilizadorInvalido = 6,
        // GeraDocumento
        SessaoDesligada = 10,
        DocumentoInvalido = 11,        // no lines, arrays of different sizes, a date that is not a date
        TipoDesconhecido = 12,
        TipoNaoEncomenda = 13,         // the type exists but is not an order to a supplier
        SerieDesconhecida = 14,
        AnoFechado = 15,               // the document's year is outside the company's years
        FornecedorDesconhecido = 16,
        ArtigoDesconhecido = 17,
        ArtigoInactivo = 18,
        QuantidadeInvalida = 19,       // not greater than zero
        PrecoInvalido = 20,            // negative
        FalhaBaseDados = 21,
    };

    // The lengths of the header's columns the caller's values go into: the
    // document type, series, sector and warehouse (varchar(5)) and the
    // reference (varchar(40)). A longer value is refused (DocumentoInvalido).
    static constexpr int ComprimentoCodigoDocumento = 5;
    static constexpr int ComprimentoReferencia = 40;

    SessaoErp();
    ~SessaoErp();

    // Kept for the record: mode 4 is an interactive session.
    int Modo = 4;

    bool Liga(const QString &empresa, const QString &senha, const QString &utilizador, const QString &exercicio,
              const QString &baseErp);
    void Desliga();
    bool ligada() const { return m_ligada; }

    // The program's database connection, given after Liga.
    void setLigacao(LigacaoBd *bd) { m_bd = bd; }
    LigacaoBd *ligacao() const { return m_bd; }
    // The session's own connection to the ERP database (nullptr when not
    // connected); tests use it to look at what was written or to make it fail.
    LigacaoBd *ligacaoErp() const { return m_erp.get(); }

    // Creates one supplier order. The arguments keep the order the program
    // has always passed them in; arrays hold the lines in order, element 0
    // being line 1:
    //   operacao      1: create a new document (the only operation there is)
    //   modo          4, the session's mode; recorded, not checked
    //   tipoDocumento a document type whose flags are those of an order to a
    //                 supplier (Areag 2, tpoper 1, entidade 1, natconta 0,
    //                 sinalct 2), e.g. "ENF"
    //   sector        written into the header
    //   serie         a series of that type in the ERP (table SeriesDoc)
    //   terceiro      the supplier's code (table Fornec)
    //   texto1        the document's reference, kept in the header
    //                 (DOCGCCAB.Referencia; NULL when empty): the program
    //                 writes there the claim of the needs the order holds, so
    //                 that the order can be found after a crash
    //   texto2        free header text, passed empty; not stored
    //   data          the document date, "dd-mm-yyyy"
    //   texto3        free header text, passed empty; not stored
    //   armazem       the warehouse, written into the header
    //   opcoes        0: no options
    //   texto4        free header text, passed empty; not stored
    //   artigos       the article codes (table Artigos, not inactive)
    //   descricoes    line descriptions; an empty one takes the article's name.
    //                 May be an empty list (every line takes its article's name)
    //   quantidades   greater than zero
    //   precos        unit prices, zero or more
    //   textosLinha   free line texts, passed empty; not stored. May be an empty list
    //   registo       passed empty; receives the document's keys and total
    //   numero        receives the document number (nnumdoc); 0 when refused
    // The document number is the next free one for (type, series, year of the
    // date), taken inside the write transaction so two programs writing at the
    // same moment never get the same number. True when the document was
    // written; Resultado tells why not otherwise.
    bool GeraDocumento(int operacao, int modo, const QString &tipoDocumento, const QString &sector,
                       const QString &serie, const QString &terceiro, const QString &texto1, const QString &texto2,
                       const QString &data, const QString &texto3, const QString &armazem, int opcoes,
                       const QString &texto4, const QStringList &artigos, const QStringList &descricoes,
                       const QList<double> &quantidades, const QList<double> &precos, const QStringList &textosLinha,
                       RegistoDocumento &registo, int &numero);

    void Resultado(long &codigo, QString &mensagem) const
    {
        codigo = m_codigo;
        mensagem = m_mensagem;
    }
    long codigoResultado() const { return m_codigo; }
    QString mensagemResultado() const { return m_mensagem; }

    QString empresa() const { return m_empresa; }
    int exercicio() const { return m_exercicio; }
    QString utilizador() const { return m_utilizador; }

private:
    struct LinhaDocumento
    {
        QString artigo;
        QString descricao;
        double quantidade = 0;
        double preco = 0;
    };

    // The header as it is written: codes as the ERP spells them, the type's flags.
    struct CabecalhoDocumento
    {
        QString tipo, serie, terceiro, sector, armazem, referencia;
        QDate data;
        int tpTerc = 0, areag = 0, tpoper = 0, natconta = 0, sinalct = 0;
    };

    bool recusa(long codigo, const QString &mensagem);
    bool recusaDocumento(long codigo, const QString &mensagem);
    bool falhaBaseDados();
    // Checks, inside the write transaction, what the ERP must know: the type
    // and its flags, the series, the year, the supplier, each line's article.
    bool confereDocumento(CabecalhoDocumento &cab, QList<LinhaDocumento> &linhas);
    bool escreveDocumento(const CabecalhoDocumento &cab, const QList<LinhaDocumento> &linhas, RegistoDocumento &registo);

    std::unique_ptr<LigacaoBd> m_erp;   // the session's own connection to the ERP database
    LigacaoBd *m_bd = nullptr;
    bool m_ligada = false;
    long m_codigo = 0;
    QString m_mensagem;
    QString m_empresa, m_utilizador;
    int m_exercicio = 0;
};
