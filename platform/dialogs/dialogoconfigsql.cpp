#include "dialogoconfigsql.h"
#include "cadeialigacao.h"
#include "comumconfig.h"
#include "configuracao.h"
#include "ligacaobd.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString Sqlite = QStringLiteral("SQLITE");

QString utilizadorDoSistema()
{
    const QString u = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return u.isEmpty() ? QStringLiteral("admin") : u;
}
} // namespace

DialogoConfigSql::DialogoConfigSql(ConfigSql &config, QWidget *parent)
    : QDialog(parent), m_config(config), m_sqlite(new QRadioButton(QStringLiteral("Base de dados &embebida (SQLite)"))),
      m_sqlServer(new QRadioButton(QStringLiteral("S&QL Server"))), m_servidor(new QLineEdit), m_base(new QLineEdit),
      m_procurar(new QPushButton(QStringLiteral("..."))), m_rotuloBase(new QLabel), m_utilizador(new QLineEdit),
      m_senha(new QLineEdit)
{
    setWindowTitle(config.Edita ? QStringLiteral("Ligação à base de dados")
                                : QStringLiteral("Configuração inicial da ligação à base de dados"));
    m_sqlite->setObjectName(QStringLiteral("sqlite"));
    m_sqlServer->setObjectName(QStringLiteral("sqlServer"));
    m_servidor->setObjectName(QStringLiteral("servidor"));
    m_base->setObjectName(QStringLiteral("baseDados"));
    m_procurar->setObjectName(QStringLiteral("procurar"));
    m_utilizador->setObjectName(QStringLiteral("utilizador"));
    m_senha->setObjectName(QStringLiteral("senha"));
    m_senha->setEchoMode(QLineEdit::Password);
    m_servidor->setPlaceholderText(QStringLiteral("servidor, servidor\\instância ou servidor,porta"));
    m_servidor->setToolTip(QStringLiteral("Nome do servidor SQL Server. Para outra ligação ODBC escreva "
                                          "ODBC: seguido da cadeia de ligação completa."));
    m_procurar->setToolTip(QStringLiteral("Procurar o ficheiro da base de dados"));
    m_procurar->setMaximumWidth(m_procurar->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);

    auto *grupo = new QButtonGroup(this);
    grupo->addButton(m_sqlite);
    grupo->addButton(m_sqlServer);
    auto *caixaTipo = new QGroupBox(QStringLiteral("Tipo de base de dados"));
    auto *tipos = new QVBoxLayout(caixaTipo);
    tipos->addWidget(m_sqlite);
    tipos->addWidget(m_sqlServer);

    auto *linhaBase = new QHBoxLayout;
    linhaBase->addWidget(m_base, 1);
    linhaBase->addWidget(m_procurar);
    auto *campos = new QFormLayout;
    campos->addRow(QStringLiteral("&Servidor:"), m_servidor);
    campos->addRow(m_rotuloBase, linhaBase);
    m_rotuloBase->setBuddy(m_base);
    campos->addRow(QStringLiteral("&Utilizador:"), m_utilizador);
    campos->addRow(QStringLiteral("Se&nha:"), m_senha);

    auto *testar = new QPushButton(QStringLiteral("&Testar ligação"));
    auto *botoes = new QDialogButtonBox;
    QPushButton *confirmar = botoes->addButton(QStringLiteral("&Confirmar"), QDialogButtonBox::AcceptRole);
    QPushButton *cancelar = botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    testar->setObjectName(QStringLiteral("testar"));
    confirmar->setObjectName(QStringLiteral("confirmar"));
    cancelar->setObjectName(QStringLiteral("cancelar"));
    testar->setAutoDefault(false);
    confirmar->setDefault(true);
    connect(testar, &QPushButton::clicked, this, &DialogoConfigSql::testaLigacao);
    connect(botoes, &QDialogButtonBox::accepted, this, &DialogoConfigSql::confirma);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    if (!config.Edita) {
        auto *aviso = new QLabel(QStringLiteral("A ligação à base de dados ainda não está configurada. "
                                                "Indique onde estão os dados e confirme."));
        aviso->setWordWrap(true);
        layout->addWidget(aviso);
    }
    layout->addWidget(caixaTipo);
    layout->addLayout(campos);
    if (!config.Catalogo.isEmpty()) {
        auto *catalogo = new QLabel(QStringLiteral("Catálogo: %1").arg(QDir::toNativeSeparators(config.Catalogo)));
        catalogo->setTextInteractionFlags(Qt::TextSelectableByMouse);
        catalogo->setEnabled(false);
        layout->addWidget(catalogo);
    }
    auto *fundo = new QHBoxLayout;
    fundo->addWidget(testar);
    fundo->addStretch(1);
    fundo->addWidget(botoes);
    layout->addLayout(fundo);

    const QString servidor = config.Servidor().trimmed();
    const bool ehSqlite = servidor.isEmpty() || servidor.compare(Sqlite, Qt::CaseInsensitive) == 0;
    (ehSqlite ? m_sqlite : m_sqlServer)->setChecked(true);
    if (!ehSqlite)
        m_servidor->setText(servidor);
    m_base->setText(config.BaseDados());
    m_utilizador->setText(config.Utilizador());
    m_senha->setText(config.Senha());
    connect(m_sqlite, &QRadioButton::toggled, this, &DialogoConfigSql::mudouTipo);
    connect(m_procurar, &QPushButton::clicked, this,
            [this] { ComumConfig::procuraFicheiro(this, m_base, QStringLiteral("Ficheiro da base de dados")); });
    mudouTipo();
    setMinimumWidth(460);
}

void DialogoConfigSql::mudouTipo()
{
    const bool sqlite = m_sqlite->isChecked();
    m_servidor->setEnabled(!sqlite);
    m_procurar->setEnabled(sqlite);
    m_rotuloBase->setText(sqlite ? QStringLiteral("&Ficheiro:") : QStringLiteral("&Base de dados:"));
    m_base->setPlaceholderText(sqlite ? QStringLiteral("ficheiro da base de dados") : QStringLiteral("nome da base de dados"));
    // The login is not used by an embedded database but must be filled in.
    if (sqlite && m_utilizador->text().trimmed().isEmpty())
        m_utilizador->setText(utilizadorDoSistema());
}

QStringList DialogoConfigSql::valores() const
{
    const QString servidor = m_sqlite->isChecked() ? Sqlite : m_servidor->text().trimmed();
    return {servidor, m_base->text().trimmed(), m_utilizador->text().trimmed(), m_senha->text()};
}

bool DialogoConfigSql::valida()
{
    const QString t = windowTitle();
    if (m_sqlServer->isChecked() && !ComumConfig::exige(m_servidor, t, QStringLiteral("Indique o servidor.")))
        return false;
    if (!ComumConfig::exige(m_base, t, m_sqlite->isChecked() ? QStringLiteral("Indique o ficheiro da base de dados.")
                                                              : QStringLiteral("Indique a base de dados.")))
        return false;
    return ComumConfig::exige(m_utilizador, t, QStringLiteral("Indique o utilizador."));
}

bool DialogoConfigSql::testaLigacao()
{
    if (!valida())
        return false;
    const QStringList v = valores();
    CadeiaLigacao cadeia;
    cadeia.Servidor = v.at(0);
    cadeia.BaseDados = v.at(1);
    cadeia.Utilizador = v.at(2);
    cadeia.Senha = v.at(3);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    LigacaoBd ligacao;
    const bool aberta = ligacao.Abre(cadeia.Texto());
    const QString motivo = ligacao.ultimoErro().descricao;
    ligacao.Fecha();
    QApplication::restoreOverrideCursor();

    if (aberta)
        ComumConfig::avisa(QStringLiteral("Testar ligação"), QStringLiteral("Ligação estabelecida com sucesso."),
                           PedidoMensagem::Informacao);
    else
        ComumConfig::avisa(QStringLiteral("Testar ligação"),
                           QStringLiteral("Não foi possível estabelecer a ligação.\n\n") + motivo,
                           PedidoMensagem::Critico);
    return aberta;
}

void DialogoConfigSql::confirma()
{
    if (valida() && ComumConfig::grava(m_config, valores(), windowTitle()))
        accept();
}
