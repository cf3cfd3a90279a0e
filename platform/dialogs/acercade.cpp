#include "acercade.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AcercaDe::AcercaDe(QWidget *parent)
    : QDialog(parent), m_titulo(new QLabel(this)), m_descricao(new QLabel(this)), m_versao(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Acerca de"));
    m_titulo->setObjectName(QStringLiteral("titulo"));
    m_descricao->setObjectName(QStringLiteral("descricao"));
    m_versao->setObjectName(QStringLiteral("versao"));
    QFont letra = m_titulo->font();
    letra.setBold(true);
    letra.setPointSizeF(letra.pointSizeF() * 1.5);
    m_titulo->setFont(letra);
    m_descricao->setWordWrap(true);
    for (QLabel *l : {m_titulo, m_descricao, m_versao}) {
        l->setAlignment(Qt::AlignHCenter);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        l->setTextFormat(Qt::PlainText);
    }

    auto *botoes = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    botoes->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_titulo);
    layout->addWidget(m_descricao);
    layout->addWidget(m_versao);
    layout->addSpacing(12);
    layout->addWidget(botoes);
    setMinimumWidth(360);
}

void AcercaDe::setTitulo(const QString &titulo)
{
    m_textoTitulo = titulo;
    m_titulo->setText(titulo);
    setWindowTitle(QStringLiteral("Acerca de %1").arg(titulo));
}

void AcercaDe::setDescricao(const QString &descricao)
{
    m_textoDescricao = descricao;
    m_descricao->setText(descricao);
}

void AcercaDe::setVersao(const QString &versao)
{
    m_textoVersao = versao;
    m_versao->setText(QStringLiteral("Versão ") + versao);
}

void AcercaDe::Mostra() { exec(); }
