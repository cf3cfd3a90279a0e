#include "janelastessela.h"

#include "frmmain.h"
#include "frmsplash.h"

#include <QCoreApplication>

JanelasTessela::JanelasTessela() = default;
JanelasTessela::~JanelasTessela() = default;

void JanelasTessela::mostraSplash()
{
    m_splash = std::make_unique<frmSplash>();
    m_splash->setCursor(Qt::WaitCursor);
    m_splash->show();
    m_splash->repaint();
    // Let the window system put it on the screen before the connections block.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void JanelasTessela::escreveSplash(const QString &texto)
{
    if (m_splash)
        m_splash->setAFazer(texto);
}

void JanelasTessela::carregaPrincipal() { m_principal = std::make_unique<frmMain>(); }

void JanelasTessela::mostraPrincipal(LigacaoBd &bd)
{
    if (!m_principal)
        carregaPrincipal();
    m_principal->setBd(&bd);
    m_principal->setSessao(m_sessao);
    m_principal->Mostra();
}

void JanelasTessela::fechaSplash()
{
    if (m_splash)
        m_splash->close();
    m_splash.reset();
}

void JanelasTessela::libertaPrincipal() { m_principal.reset(); }
