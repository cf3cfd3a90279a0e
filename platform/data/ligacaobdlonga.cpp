// Long statements on SQLite: the question to the caller while a statement
// runs, and a second connection to the same database to run them on.
#include "ligacaobd.h"

#include <sqlite3.h>

namespace {
// SQLite's steps between two looks at the clock: a look costs a few
// nanoseconds, a thousand steps some tens of microseconds.
constexpr int PassosEntreOlhares = 1000;
} // namespace

bool LigacaoBd::abreIgual(LigacaoBd &origem)
{
    if (origem.m_cadeia.isEmpty() || !origem.aberta()) {
        Fecha();
        defineErro(ErroBd::ErroLigacao, QStringLiteral("A base de dados não está aberta."));
        return false;
    }
    setEsperas(origem.m_esperaLeitura, origem.m_esperaEscrita);
    if (!Abre(origem.m_cadeia))
        return false;
    if (!origem.m_falhaMarca.isEmpty()) {
        falhaNoProximo(origem.m_falhaMarca, origem.m_falhaNumero, origem.m_falhaSaltar);
        origem.m_falhaMarca.clear();
    }
    return true;
}

void LigacaoBd::instalaPergunta()
{
    if (!m_sqlite)
        return;
    if (m_pergunta)
        sqlite3_progress_handler(m_sqlite, PassosEntreOlhares, &LigacaoBd::progressoSqlite, this);
    else
        sqlite3_progress_handler(m_sqlite, 0, nullptr, nullptr);
}

int LigacaoBd::progressoSqlite(void *ligacao)
{
    auto *bd = static_cast<LigacaoBd *>(ligacao);
    if (!bd->m_pergunta || bd->m_aPerguntar || bd->m_relogio.elapsed() - bd->m_ultimaPergunta < bd->m_intervalo)
        return 0;
    // A guard made and ended inside the question replaces the function for a
    // while: the one running is a copy.
    const std::function<bool()> pergunta = bd->m_pergunta;
    bd->m_aPerguntar = true;
    const bool segue = pergunta();
    bd->m_aPerguntar = false;
    bd->m_ultimaPergunta = bd->m_relogio.elapsed();
    return segue ? 0 : 1;
}

LigacaoBd::Acompanhamento::Acompanhamento(LigacaoBd &bd, std::function<bool()> pergunta, int intervalo)
    : m_bd(bd), m_anterior(std::move(bd.m_pergunta)), m_intervaloAnterior(bd.m_intervalo)
{
    if (!m_bd.m_relogio.isValid())
        m_bd.m_relogio.start();
    m_bd.m_pergunta = std::move(pergunta);
    m_bd.m_intervalo = qMax(0, intervalo);
    m_bd.m_ultimaPergunta = m_bd.m_relogio.elapsed();
    m_bd.instalaPergunta();
}

LigacaoBd::Acompanhamento::~Acompanhamento()
{
    m_bd.m_pergunta = std::move(m_anterior);
    m_bd.m_intervalo = m_intervaloAnterior;
    m_bd.instalaPergunta();
}
