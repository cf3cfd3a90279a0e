#pragma once
#include <QDateTime>
#include <QList>
#include <QString>

class LigacaoBd;
struct RegistoDocumento;

// The document a claim expects its order to be: type, series and year (the
// number is the ERP's to give).
struct DocumentoReservado
{
    QString tipo, serie;
    int ano = 0;
};

// Keeps every need in at most one supplier order, and processed exactly when
// an order holds it, whatever crashes, locks or other programs do. The ERP
// writes an order on its own connection, so an order and the marking of its
// needs can never share a transaction; claims bridge the two:
//
// 1. Claim: in one write transaction, each need of the order is taken only
//    while it is pending and unclaimed (UPDATE ... WHERE Id = ? AND
//    Processado = 0 AND Reserva IS NULL, one row affected). The claim is a
//    token of its own (Reserva, a new UUID), its owner (ReservaDono: machine,
//    process, user) and time (ReservaData), and the document expected
//    (EncTpdoc, EncSerie, EncAno). A need another generation claimed or
//    processed is not taken.
// 2. The order is written with the token as its reference (DOCGCCAB.Referencia,
//    kept by the ERP in the order's own transaction): the order of a claim is
//    found by its token, unambiguously, also before its number is known.
// 3. Mark: the claimed needs become processed (Processado = 1) with the
//    order's number (EncNumero), and the claim is cleared. A refused order
//    releases them to pending.
//
// A claim left behind (a crash, a failing mark) is resolved by resolve(): when
// the ERP holds an order with its token the needs are marked processed with
// its number, otherwise they are pending again; in one write transaction, so
// two programs resolving at once do it once. A claim is resolved only when its
// owner is provably gone — this process no longer generating with it, or a
// process of this machine that no longer runs — or it is older than
// Validade (an owner on another machine, whose process cannot be looked at):
// an order takes well under a second and waits at most a few seconds for a
// lock, so a live generation never has its claim taken. Processado keeps its
// meaning (0 pending, 1 processed) for everything else that reads the table.
class ReservasNecessidades
{
public:
    // After this long a claim of another machine counts as abandoned.
    static constexpr int ValidadeSegundos = 10 * 60;

    explicit ReservasNecessidades(LigacaoBd &bd) : m_bd(bd) {}
    ~ReservasNecessidades() { termina(); }
    ReservasNecessidades(const ReservasNecessidades &) = delete;
    ReservasNecessidades &operator=(const ReservasNecessidades &) = delete;

    // Brings an older table up to date (SQLite) and checks the columns are
    // there; false with erro() naming what to do otherwise.
    bool confereTabela();

    // A new claim of this process (token and owner), still unused.
    void nova(const DocumentoReservado &documento);
    QString token() const { return m_token; }

    // Claims the needs ids in one write transaction: tomadas gets those now
    // claimed, outras those another generation claimed or processed,
    // inexistentes those that no longer exist. False on a database failure
    // (nothing claimed).
    bool reserva(const QList<qint64> &ids, QList<qint64> &tomadas, QList<qint64> &outras, QList<qint64> &inexistentes);
    // The order was written: the claimed needs become processed with its number.
    bool marca(const RegistoDocumento &registo);
    // The order may or may not have been written (a refusal, a failure
    // whose outcome is not known): resolved as after a crash. *encomenda gets
    // the number of the order found, 0 when there was none.
    bool resolvePropria(int *encomenda = nullptr);
    // The claim is no longer in use by this process (done, or left for resolve()).
    void termina();

    // Resolves every abandoned claim. *marcadas and *libertadas count the
    // needs marked processed and made pending again.
    bool resolve(int *marcadas = nullptr, int *libertadas = nullptr, const QDateTime &agora = QDateTime::currentDateTimeUtc());

    // "machine:pid:user" of this process.
    static QString dono();
    // Can the claim of dono made at data be resolved by this process?
    static bool abandonada(const QString &token, const QString &dono, const QDateTime &data, const QDateTime &agora);

    QString erro() const { return m_erro; }

private:
    bool falha(const QString &onde);
    // Resolves one claim inside the caller's write transaction.
    bool resolveToken(const QString &token, const DocumentoReservado &d, int *numero, int *marcadas, int *libertadas);

    LigacaoBd &m_bd;
    QString m_token;
    DocumentoReservado m_documento;
    QString m_erro;
};
