#include "editorconfiguracaoqt.h"
#include "dialogoconfigerp.h"
#include "dialogoconfigsql.h"

#include <QApplication>

bool EditorConfiguracaoQt::editaSql(ConfigSql &config)
{
    DialogoConfigSql dialogo(config, QApplication::activeWindow());
    return dialogo.exec() == QDialog::Accepted;
}

bool EditorConfiguracaoQt::editaErp(ConfigErp &config)
{
    DialogoConfigErp dialogo(config, QApplication::activeWindow());
    return dialogo.exec() == QDialog::Accepted;
}
