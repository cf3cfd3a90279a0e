#pragma once
#include "arranque.h"

#include <memory>

class frmMain;
class frmSplash;

// The program's windows as the start-up routine drives them: the splash
// window frmSplash and the main window frmMain, which gets the ERP session
// given by setSessao with the connection. The main window lives until
// libertaPrincipal(), after the event loop has ended.
class JanelasTessela : public JanelasArranque
{
public:
    JanelasTessela();
    ~JanelasTessela() override;

    void mostraSplash() override;
    void escreveSplash(const QString &texto) override;
    void carregaPrincipal() override;
    void mostraPrincipal(LigacaoBd &bd) override;
    void fechaSplash() override;

    // The ERP session the main window hands on (the start-up routine's).
    void setSessao(SessaoErp *sessao) { m_sessao = sessao; }

    frmSplash *splash() const { return m_splash.get(); }
    frmMain *principal() const { return m_principal.get(); }
    void libertaPrincipal();

private:
    std::unique_ptr<frmSplash> m_splash;
    std::unique_ptr<frmMain> m_principal;
    SessaoErp *m_sessao = nullptr;
};
