#include "configuracao.h"
#include "ficheiroini.h"

namespace {
EditorConfiguracao *g_editor = nullptr;

template<int N>
bool lerValores(const QString &ficheiro, const QString &seccao, const QStringList &nomes,
                QString (&valores)[N], QString &erro)
{
    // Every value is read even when one fails (it is then empty): the first
    // failure is the one reported.
    FicheiroIni ini(ficheiro);
    erro.clear();
    for (int i = 0; i < N; ++i) {
        valores[i] = ini.Le(seccao, nomes.at(i));
        if (erro.isEmpty())
            erro = ini.erro();
    }
    return erro.isEmpty();
}

template<int N>
bool gravarValores(const QString &ficheiro, const QString &seccao, const QStringList &nomes,
                   const QString (&valores)[N], QString &erro)
{
    FicheiroIni ini(ficheiro);
    for (int i = 0; i < N; ++i) {
        if (!ini.Escreve(seccao, nomes.at(i), valores[i])) {
            erro = ini.erro();
            return false;
        }
    }
    erro.clear();
    return true;
}
} // namespace

void EditorConfiguracao::instala(EditorConfiguracao *editor) { g_editor = editor; }
EditorConfiguracao *EditorConfiguracao::actual() { return g_editor; }

const QStringList &ConfigSql::nomes()
{
    static const QStringList n{QStringLiteral("Servidor"), QStringLiteral("Base de dados"),
                               QStringLiteral("Utilizador"), QStringLiteral("Senha")};
    return n;
}

void ConfigSql::setFicheiro(const QString &ficheiro)
{
    m_ficheiro = ficheiro;
    le();
}

QString ConfigSql::valor(int n) const { return n >= 1 && n <= 4 ? m_valores[n - 1] : QString(); }
void ConfigSql::setValor(int n, const QString &v)
{
    if (n >= 1 && n <= 4)
        m_valores[n - 1] = v;
}
bool ConfigSql::completa() const
{
    return !m_valores[0].trimmed().isEmpty() && !m_valores[1].trimmed().isEmpty()
           && !m_valores[2].trimmed().isEmpty();
}
bool ConfigSql::le() { return lerValores(m_ficheiro, seccao(), nomes(), m_valores, m_erro); }
bool ConfigSql::grava() { return gravarValores(m_ficheiro, seccao(), nomes(), m_valores, m_erro); }
bool ConfigSql::Configura()
{
    if (!g_editor)
        return false;
    const bool ok = g_editor->editaSql(*this);
    le();
    return ok;
}

const QStringList &ConfigErp::nomes()
{
    static const QStringList n{QStringLiteral("Empresa"), QStringLiteral("Senha"), QStringLiteral("Utilizador"),
                               QStringLiteral("Exercicio"), QStringLiteral("Base ERP")};
    return n;
}

void ConfigErp::setFicheiro(const QString &ficheiro)
{
    m_ficheiro = ficheiro;
    le();
}
QString ConfigErp::valor(int n) const { return n >= 1 && n <= 5 ? m_valores[n - 1] : QString(); }
void ConfigErp::setValor(int n, const QString &v)
{
    if (n >= 1 && n <= 5)
        m_valores[n - 1] = v;
}
bool ConfigErp::completa() const
{
    for (int i : {0, 2, 3, 4})
        if (m_valores[i].trimmed().isEmpty())
            return false;
    return true;
}
bool ConfigErp::le() { return lerValores(m_ficheiro, seccao(), nomes(), m_valores, m_erro); }
bool ConfigErp::grava() { return gravarValores(m_ficheiro, seccao(), nomes(), m_valores, m_erro); }
bool ConfigErp::Configura()
{
    if (!g_editor)
        return false;
    const bool ok = g_editor->editaErp(*this);
    le();
    return ok;
}
