#pragma once
#include "recordset.h"

#include <QString>

class LigacaoBd;

// One article of the ERP at a time (its code in Codigo) and its equivalent
// codes: other codes by which the same article is known (a supplier's
// reference, an old code, a bar code). It writes mvk_equivalencias and the
// quick-access codes of mvk_AcessoRapido, reads an article's codes, searches
// articles by any of their codes, returns an article's observations and lets
// the user pick an article from a list.
//
// Hosts create it by its registered identity (see criaobjecto.h) and set Bd
// before any other call. Failures are reported through the message service
// and give false, the empty text or a closed Recordset.
class Artigos
{
public:
    virtual ~Artigos() = default;

    static constexpr const char *Identidade = "TesselaDados2016.Artigos";
    static constexpr const char *ClassId = "{6E0C1A52-7F3B-4D2E-9A61-2B8D4C7E5F10}";

    // Deletes every equivalence of the current article (quick-access codes stay).
    virtual bool Apagar() = 0;
    // Does nothing; false.
    virtual bool Equivalencia_Limpar() = 0;
    // Does nothing.
    virtual void Equivalencia_ler() = 0;

    virtual void setBd(LigacaoBd *bd) = 0;
    virtual LigacaoBd *Bd() const = 0;
    virtual void setDescricao(const QString &descricao) = 0;
    virtual QString Descricao() const = 0;
    virtual void setCodigo(const QString &codigo) = 0;
    virtual QString Codigo() const = 0;

    // Records Equivalente as an equivalent of the current article and, when the
    // pair is new, as a quick-access code, both or neither. Always false.
    virtual bool Equivalencia_Escrever(const QString &equivalente) = 0;
    // Fills out_Equivalencias with the article's codes (field ArtigoEquivalente;
    // one null row for an article without any); true when the article exists.
    virtual bool Ler(Recordset &out_Equivalencias) = 0;
    // The code picked from the list of articles, or the empty text.
    virtual QString MostraLista() = 0;
    // The trimmed observations + CR LF + the trimmed notes of article Chave.
    virtual QString Observacoes(const QString &chave) = 0;
    // The articles known by codigo (their own code or an equivalent), each once,
    // with Artigo, NOME, UPC, PCM, Stock, Prazo, PVP; closed after a failure.
    virtual Recordset Pesquisar(const QString &codigo) = 0;
};
