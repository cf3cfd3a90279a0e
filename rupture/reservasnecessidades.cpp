#include "reservasnecessidades.h"

#include "consultas.h"
#include "esquemaerp.h"
#include "ligacaobd.h"
#include "programa.h"
#include "sessaoerp.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QSysInfo>
#include <QUuid>

#include <cerrno>
#if defined(Q_OS_UNIX)
#include <signal.h>
#endif

namespace {

// The claims this process is generating with right now: any other claim of
// this process was left by a generation that ended.
QSet<QString> &emCurso()
{
    static QSet<QString> tokens;
    return tokens;
}

// Claim times are kept as UTC digits, whatever the zone of each machine.
QVariant paraBase(const QDateTime &utc)
{
    const QDateTime u = utc.toUTC();
    return QDateTime(u.date(), u.time());
}
QDateTime daBase(const QVariant &v)
{
    const QDateTime d = v.toDateTime();
    return d.isValid() ? QDateTime(d.date(), d.time(), Qt::UTC) : QDateTime();
}

bool processoVivo(qint64 pid)
{
#if defined(Q_OS_UNIX)
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
#else
    Q_UNUSED(pid)
    return true;   // not known: only the age of the claim counts
#endif
}

QString nomeMaquina()
{
    const QString m = QSysInfo::machineHostName();
    return m.isEmpty() ? QStringLiteral("?") : m;
}

QVariant nulo() { return QVariant(QMetaType::fromType<QString>()); }

const QString LimpaReserva = QStringLiteral("Reserva = NULL, ReservaDono = NULL, ReservaData = NULL");

// The needs of a claim become processed, held by the order (type, series,
// year, number), and the claim is cleared: one statement, all or none.
bool marcaProcessadas(LigacaoBd &bd, const QString &token, const QVariant &tipo, const QVariant &serie, const QVariant &ano,
                      const QVariant &numero)
{
    return bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Processado = 1, EncTpdoc = ?, EncSerie = ?, EncAno = ?, "
                                     "EncNumero = ?, ")
                          + LimpaReserva + QStringLiteral(" WHERE Reserva = ?"),
                      {tipo, serie, ano, numero, token});
}

} // namespace

QString ReservasNecessidades::dono()
{
    return QStringLiteral("%1:%2:%3")
        .arg(nomeMaquina())
        .arg(QCoreApplication::applicationPid())
        .arg(Programa::utilizadorSistema())
        .left(120);
}

bool ReservasNecessidades::abandonada(const QString &token, const QString &dono, const QDateTime &data, const QDateTime &agora)
{
    const QStringList partes = dono.split(QLatin1Char(':'));
    if (partes.size() >= 2 && partes.at(0) == nomeMaquina()) {
        bool ok = false;
        const qint64 pid = partes.at(1).toLongLong(&ok);
        if (ok && pid == QCoreApplication::applicationPid())
            return !emCurso().contains(token);
        if (ok && !processoVivo(pid))
            return true;
    }
    // Another machine's (or a process that still runs, or cannot be looked
    // at): only when it is old. A claim without a time is old.
    return !data.isValid() || data.secsTo(agora) > ValidadeSegundos;
}

bool ReservasNecessidades::falha(const QString &onde)
{
    m_erro = m_bd.ultimoErro().texto() + QStringLiteral("\r\n") + onde;
    return false;
}

bool ReservasNecessidades::confereTabela()
{
    m_erro.clear();
    if (!EsquemaErp::actualiza(m_bd))
        return falha(QStringLiteral("Ao acrescentar as colunas das reservas à tabela mvk_Necessidades."));
    if (m_bd.Executa(QStringLiteral("SELECT Versao, Reserva, ReservaDono, ReservaData, EncTpdoc, EncSerie, EncAno, EncNumero "
                                    "FROM mvk_Necessidades WHERE Id = -10")))
        return true;
    return falha(QStringLiteral("A tabela mvk_Necessidades não tem as colunas das reservas das encomendas: execute "
                                "tabelas_proprias.sql na base de dados."));
}

void ReservasNecessidades::nova(const DocumentoReservado &documento)
{
    termina();
    m_token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_documento = documento;
    emCurso().insert(m_token);
}

void ReservasNecessidades::termina()
{
    if (!m_token.isEmpty())
        emCurso().remove(m_token);
}

bool ReservasNecessidades::reserva(const QList<qint64> &ids, QList<qint64> &tomadas, QList<qint64> &outras,
                                   QList<qint64> &inexistentes)
{
    tomadas.clear();
    outras.clear();
    inexistentes.clear();
    m_erro.clear();
    if (ids.isEmpty())
        return true;
    Transaccao t(m_bd);
    if (!t.iniciada())
        return falha(QStringLiteral("Ao reservar as necessidades da encomenda."));
    const QVariant data = paraBase(QDateTime::currentDateTimeUtc());
    const QString quem = dono();
    for (qint64 id : ids) {
        if (!m_bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET Reserva = ?, ReservaDono = ?, ReservaData = ?, EncTpdoc = ?, "
                                         "EncSerie = ?, EncAno = ?, EncNumero = NULL "
                                         "WHERE Id = ? AND Processado = 0 AND Reserva IS NULL"),
                          {m_token, quem, data, m_documento.tipo, m_documento.serie, m_documento.ano, id}))
            return falha(QStringLiteral("Ao reservar a necessidade %1.").arg(id));
        if (m_bd.linhasAfectadas() == 1) {
            tomadas << id;
            continue;
        }
        const QVariant existe = m_bd.valorUnico(QStringLiteral("SELECT Id FROM mvk_Necessidades WHERE Id = ?"), {id});
        if (m_bd.ultimoErro().existe())
            return falha(QStringLiteral("Ao reservar a necessidade %1.").arg(id));
        (existe.isNull() ? inexistentes : outras) << id;
    }
    if (!t.confirma())
        return falha(QStringLiteral("Ao reservar as necessidades da encomenda."));
    return true;
}

bool ReservasNecessidades::marca(const RegistoDocumento &r)
{
    m_erro.clear();
    if (!marcaProcessadas(m_bd, m_token, r.tipo, r.serie, r.ano, r.numero))
        return falha(QStringLiteral("Ao marcar as necessidades da encomenda nº %1 como processadas.").arg(r.numero));
    return true;
}

bool ReservasNecessidades::resolveToken(const QString &token, const DocumentoReservado &d, int *numero, int *marcadas,
                                        int *libertadas)
{
    // The order of a claim carries its token: the ERP wrote both in one transaction.
    Recordset rs;
    if (!m_bd.AbreConsulta(QStringLiteral("SELECT Tpdoc, serie, ano, nnumdoc FROM DOCGCCAB WHERE Tpdoc = ? AND serie = ? AND "
                                          "ano = ? AND Referencia = ?"),
                           rs, {d.tipo, d.serie, d.ano, token}))
        return falha(QStringLiteral("Ao procurar no ERP a encomenda da reserva %1.").arg(token));
    bool ok;
    if (!rs.Eof()) {
        *numero = rs.Valor(3).toInt();
        ok = marcaProcessadas(m_bd, token, rs.Valor(0), rs.Valor(1), rs.Valor(2), rs.Valor(3));
        if (ok && marcadas)
            *marcadas += m_bd.linhasAfectadas();
    } else {
        *numero = 0;
        ok = m_bd.Executa(QStringLiteral("UPDATE mvk_Necessidades SET ") + LimpaReserva
                              + QStringLiteral(", EncTpdoc = NULL, EncSerie = NULL, EncAno = NULL WHERE Reserva = ?"),
                          {token});
        if (ok && libertadas)
            *libertadas += m_bd.linhasAfectadas();
    }
    return ok || falha(QStringLiteral("Ao resolver a reserva %1.").arg(token));
}

bool ReservasNecessidades::resolvePropria(int *encomenda)
{
    m_erro.clear();
    int numero = 0;
    Transaccao t(m_bd);
    const bool ok = (t.iniciada() || falha(QStringLiteral("Ao resolver a reserva das necessidades.")))
                    && resolveToken(m_token, m_documento, &numero, nullptr, nullptr)
                    && (t.confirma() || falha(QStringLiteral("Ao resolver a reserva das necessidades.")));
    if (ok && encomenda)
        *encomenda = numero;
    return ok;
}

bool ReservasNecessidades::resolve(int *marcadas, int *libertadas, const QDateTime &agora)
{
    m_erro.clear();
    if (marcadas)
        *marcadas = 0;
    if (libertadas)
        *libertadas = 0;
    const QString sql = QStringLiteral("SELECT Reserva, ReservaDono, ReservaData, EncTpdoc, EncSerie, EncAno FROM mvk_Necessidades "
                                       "WHERE Reserva IS NOT NULL");
    // Read first without a lock: nearly always there is nothing to resolve,
    // and a generation under way elsewhere is not waited for.
    const auto abandonadas = [&](QHash<QString, DocumentoReservado> &lista) {
        lista.clear();
        Recordset rs;
        if (!m_bd.AbreConsulta(sql, rs))
            return falha(QStringLiteral("Ao ler as necessidades reservadas."));
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString token = TextoDe(rs.Valor(0));
            if (lista.contains(token) || !abandonada(token, TextoDe(rs.Valor(1)), daBase(rs.Valor(2)), agora))
                continue;
            lista.insert(token, {TextoDe(rs.Valor(3)), TextoDe(rs.Valor(4)), rs.Valor(5).toInt()});
        }
        return true;
    };
    QHash<QString, DocumentoReservado> lista;
    if (!abandonadas(lista))
        return false;
    if (lista.isEmpty())
        return true;
    Transaccao t(m_bd);
    if (!t.iniciada())
        return falha(QStringLiteral("Ao resolver as necessidades reservadas."));
    // Again inside the write transaction: another program may have resolved them.
    if (!abandonadas(lista))
        return false;
    for (auto it = lista.cbegin(); it != lista.cend(); ++it) {
        int numero = 0;
        if (!resolveToken(it.key(), it.value(), &numero, marcadas, libertadas))
            return false;
    }
    return t.confirma() || falha(QStringLiteral("Ao resolver as necessidades reservadas."));
}
