#include "listapesquisa.h"
#include "dialogolistapesquisa.h"
#include "ligacaobd.h"
#include "modelolista.h"
#include "servicomensagens.h"

#include <QApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The program's way: the modal dialog, or a message when the list could not be loaded.
class ApresentadorModal : public ApresentadorLista
{
public:
    QString escolhe(ListaPesquisa &lista) override
    {
        if (!lista.carregada()) {
            PedidoMensagem p;
            p.titulo = lista.Titulo.trimmed();
            p.texto = QStringLiteral("Não foi possível carregar a lista.\n\n") + lista.erro();
            p.icone = PedidoMensagem::Critico;
            ServicoMensagens::actual().mostra(p);
            return QString();
        }
        DialogoListaPesquisa dialogo(lista, QApplication::activeWindow());
        return dialogo.exec() == QDialog::Accepted ? dialogo.codigo() : QString();
    }
};

ApresentadorLista *g_apresentador = nullptr;

} // namespace

void ApresentadorLista::instala(ApresentadorLista *apresentador) { g_apresentador = apresentador; }
ApresentadorLista *ApresentadorLista::instalado() { return g_apresentador; }
ApresentadorLista &ApresentadorLista::actual()
{
    static ApresentadorModal modal;
    return g_apresentador ? *g_apresentador : modal;
}

ListaPesquisa::ListaPesquisa() : m_modelo(std::make_unique<ModeloLista>()) {}
ListaPesquisa::~ListaPesquisa() = default;

void ListaPesquisa::setLigacao(LigacaoBd &bd)
{
    m_bd = &bd;
    m_db = QSqlDatabase();
}

void ListaPesquisa::setLigacao(const QSqlDatabase &bd)
{
    m_bd = nullptr;
    m_db = bd;
}

void ListaPesquisa::setSql(const QString &sql, const QVariantList &valores)
{
    m_sql = sql;
    m_valores = valores;
}

void ListaPesquisa::setLarguraColuna(int coluna, int twips)
{
    if (coluna >= 0)
        m_larguras.insert(coluna, twips);
}

int ListaPesquisa::numeroLinhas() const { return m_modelo->linhasTotal(); }

bool ListaPesquisa::Carrega()
{
    m_tentada = true;
    m_carregada = false;
    m_erro.clear();
    m_modelo->define({}, {});

    const QSqlDatabase db = m_bd ? m_bd->LigacaoAdo() : m_db;
    if (!db.isValid() || !db.isOpen()) {
        m_erro = QStringLiteral("A ligação à base de dados não está aberta.");
        return false;
    }
    if (m_sql.trimmed().isEmpty()) {
        m_erro = QStringLiteral("A lista não tem consulta definida.");
        return false;
    }
    QSqlQuery consulta(db);
    // Rows are read once, in order: a forward-only query does not keep them twice.
    consulta.setForwardOnly(true);
    if (!consulta.prepare(m_bd ? m_bd->textoParaPreparar(m_sql) : m_sql)) {
        m_erro = QStringLiteral("Erro na consulta: %1").arg(consulta.lastError().text().trimmed());
        return false;
    }
    for (const QVariant &v : std::as_const(m_valores))
        consulta.addBindValue(v);
    if (!consulta.exec()) {
        m_erro = QStringLiteral("Erro na consulta: %1").arg(consulta.lastError().text().trimmed());
        return false;
    }
    m_modelo->carrega(consulta);
    if (consulta.lastError().isValid()) {
        m_erro = QStringLiteral("Erro ao ler a lista: %1").arg(consulta.lastError().text().trimmed());
        m_modelo->define({}, {});
        return false;
    }
    m_carregada = true;
    return true;
}

QString ListaPesquisa::escolhe(LigacaoBd &bd, const QString &titulo, const QString &sql, int largura,
                               const QList<int> &largurasColunas, const QVariantList &valores)
{
    ListaPesquisa lista;
    lista.setLigacao(bd);
    lista.Titulo = titulo;
    lista.setSql(sql, valores);
    lista.Largura = largura;
    lista.Carrega();
    for (int i = 0; i < largurasColunas.size(); ++i)
        lista.setLarguraColuna(i, largurasColunas.at(i));
    return lista.Mostra();
}

QString ListaPesquisa::Mostra()
{
    if (!m_tentada)
        Carrega();
    return ApresentadorLista::actual().escolhe(*this);
}
