#pragma once
#include "gravacaoprecos.h"
#include "grelhaprecos.h"

#include <QDateTime>

class Recordset;

// One value of a price record: its date, price, reference (suppliers; null
// for customers) and observation.
struct ValorPreco
{
    QDate data;
    Moeda preco;
    QVariant referencia;
    QVariant obs;
};

// A value a price record held before a save changed or deleted it: the
// record's Id, the value, what was done to it (HistoricoPrecos::Alterado or
// Anulado), when (the database's clock) and the system user who did it.
struct AlteracaoPreco
{
    qint64 idPreco = 0;
    ValorPreco valor;
    QString operacao;
    QDateTime quando;
    QString utilizador;
};

// Everything known of one (supplier or customer, article) pair's price: the
// pair and its names, the records it has now (usually one; none once
// deleted) and its previous values, newest first.
struct HistoricoPar
{
    LadoPrecos lado = LadoPrecos::Fornecedores;
    QString entidade, nomeEntidade;
    QString artigo, nomeArtigo;
    QList<ValorPreco> actuais;
    QList<AlteracaoPreco> alteracoes;

    // The price over time, oldest first: every previous and current value
    // that has a date, at its date (values of one date in the order they
    // were in force, the current ones last).
    QList<QPair<QDate, Moeda>> pontos() const;
};

// The price history kept in the program's own table mvk_Precos_Historico.
// The save of a price grid (GravacaoPrecos) calls regista, inside its
// transaction, before it overwrites a record whose value changes and before
// it deletes one, so a save leaves both the change and its history or
// neither. A row keeps the price table's name, the record's pair and Id, its
// date, price, reference and observation as they were, the operation, the
// moment and the user.
namespace HistoricoPrecos {

inline const QString Tabela = QStringLiteral("mvk_Precos_Historico");
inline const QString Alterado = QStringLiteral("ALTERADO");
inline const QString Anulado = QStringLiteral("ANULADO");

// Does the row change anything of the stored record rs (date, price,
// observation, and for suppliers the reference)? The codes are the key and
// are not compared.
bool mudou(const Recordset &rs, const LinhaPreco &l, const DestinoPrecos &destino);

// Copies record idPreco of destino's table, as it stands, into the history
// with the operation, the database's current time and the user. A record
// that is not there adds nothing.
bool regista(LigacaoBd &bd, const DestinoPrecos &destino, qint64 idPreco, const QString &operacao, const QString &utilizador);

// Reads the pair's current records and history into *h (its names are left
// as they are). False, with the connection's error, when a read failed.
bool le(LigacaoBd &bd, const DestinoPrecos &destino, const QString &entidade, const QString &artigo, HistoricoPar *h);

} // namespace HistoricoPrecos
