#pragma once
#include "configuracao.h"

// The program's editor of the connection settings: the modal dialogs
// DialogoConfigSql and DialogoConfigErp, over the active window. Installed at
// start with EditorConfiguracao::instala.
class EditorConfiguracaoQt : public EditorConfiguracao
{
public:
    bool editaSql(ConfigSql &config) override;
    bool editaErp(ConfigErp &config) override;
};
