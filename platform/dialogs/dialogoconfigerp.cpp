#include "dialogoconfigerp.h"
#include "comumconfig.h"
#include "configuracao.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

DialogoConfigErp::DialogoConfigErp(ConfigErp &config, QWidget *parent)
    : QDialog(parent), m_config(config), m_empresa(new QLineEdit), m_senha(new QLineEdit), m_utilizador(new QLineEdit),
      m_exercicio(new QLineEdit), m_base(new QLineEdit)
{
    setWindowTitle(QStringLiteral("Ligação ao ERP"));
    m_empresa->setObjectName(QStringLiteral("empresa"));
    m_senha->setObjectName(QStringLiteral("senha"));
    m_utilizador->setObjectName(QStringLiteral("utilizador"));
    m_exercicio->setObjectName(QStringLiteral("exercicio"));
    m_base->setObjectName(QStringLiteral("baseErp"));
    m_senha->setEchoMode(QLineEdit::Password);
    m_exercicio->setPlaceholderText(QStringLiteral("ano do exercício, por exemplo %1").arg(QDate::currentDate().year()));
    m_base->setPlaceholderText(QStringLiteral("ficheiro da base de dados do ERP"));
    m_base->setToolTip(QStringLiteral("Ficheiro SQLite do ERP, ou ODBC: seguido da cadeia de ligação completa."));

    auto *procurar = new QPushButton(QStringLiteral("..."));
    procurar->setObjectName(QStringLiteral("procurar"));
    procurar->setToolTip(QStringLiteral("Procurar o ficheiro da base de dados do ERP"));
    procurar->setMaximumWidth(procurar->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(procurar, &QPushButton::clicked, this,
            [this] { ComumConfig::procuraFicheiro(this, m_base, QStringLiteral("Base de dados do ERP")); });
    auto *linhaBase = new QHBoxLayout;
    linhaBase->addWidget(m_base, 1);
    linhaBase->addWidget(procurar);

    auto *campos = new QFormLayout;
    campos->addRow(QStringLiteral("&Empresa:"), m_empresa);
    campos->addRow(QStringLiteral("&Utilizador:"), m_utilizador);
    campos->addRow(QStringLiteral("Se&nha:"), m_senha);
    campos->addRow(QStringLiteral("E&xercício:"), m_exercicio);
    auto *rotuloBase = new QLabel(QStringLiteral("&Base de dados do ERP:"));
    rotuloBase->setBuddy(m_base);
    campos->addRow(rotuloBase, linhaBase);

    auto *botoes = new QDialogButtonBox;
    QPushButton *confirmar = botoes->addButton(QStringLiteral("&Confirmar"), QDialogButtonBox::AcceptRole);
    QPushButton *cancelar = botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    confirmar->setObjectName(QStringLiteral("confirmar"));
    cancelar->setObjectName(QStringLiteral("cancelar"));
    confirmar->setDefault(true);
    connect(botoes, &QDialogButtonBox::accepted, this, &DialogoConfigErp::confirma);
    connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(campos);
    layout->addWidget(botoes);
    setMinimumWidth(460);

    m_empresa->setText(config.valor(1));
    m_senha->setText(config.valor(2));
    m_utilizador->setText(config.valor(3));
    m_exercicio->setText(config.valor(4));
    m_base->setText(config.valor(5));
}

QStringList DialogoConfigErp::valores() const
{
    return {m_empresa->text().trimmed(), m_senha->text(), m_utilizador->text().trimmed(),
            m_exercicio->text().trimmed(), m_base->text().trimmed()};
}

void DialogoConfigErp::confirma()
{
    const QString t = windowTitle();
    if (ComumConfig::exige(m_empresa, t, QStringLiteral("Indique a empresa."))
        && ComumConfig::exige(m_utilizador, t, QStringLiteral("Indique o utilizador."))
        && ComumConfig::exige(m_exercicio, t, QStringLiteral("Indique o exercício."))
        && ComumConfig::exige(m_base, t, QStringLiteral("Indique a base de dados do ERP."))
        && ComumConfig::grava(m_config, valores(), t))
        accept();
}
