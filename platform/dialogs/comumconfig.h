#pragma once
// Pieces shared by the two connection settings dialogs (internal).
#include "servicomensagens.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

namespace ComumConfig {

inline void avisa(const QString &titulo, const QString &texto, PedidoMensagem::Icone icone)
{
    PedidoMensagem p;
    p.titulo = titulo;
    p.texto = texto;
    p.icone = icone;
    ServicoMensagens::actual().mostra(p);
}

// A mandatory field left empty: says which and puts the focus there.
inline bool exige(QLineEdit *campo, const QString &titulo, const QString &texto)
{
    if (!campo->text().trimmed().isEmpty())
        return true;
    avisa(titulo, texto, PedidoMensagem::Exclamacao);
    campo->setFocus();
    return false;
}

// Stores the values in the settings file through a copy of the settings
// object, so that a refused write leaves the caller's object as it was.
// Reports a refusal and answers false.
template<class Config>
bool grava(Config &config, const QStringList &valores, const QString &titulo)
{
    Config copia = config;
    for (int i = 0; i < valores.size(); ++i)
        copia.setValor(i + 1, valores.at(i));
    if (!copia.grava()) {
        avisa(titulo,
              QStringLiteral("Não foi possível guardar a configuração no ficheiro %1.\n\n%2")
                  .arg(QDir::toNativeSeparators(config.Ficheiro()), copia.erro()),
              PedidoMensagem::Critico);
        return false;
    }
    config = copia;
    return true;
}

// Lets the user pick a SQLite database file, starting where the field points.
inline void procuraFicheiro(QWidget *pai, QLineEdit *campo, const QString &titulo)
{
    const QString actual = campo->text().trimmed();
    const QString inicio = actual.isEmpty() ? QString() : QFileInfo(actual).absolutePath();
    const QString escolhido = QFileDialog::getOpenFileName(
        pai, titulo, inicio,
        QStringLiteral("Bases de dados SQLite (*.db *.sqlite *.sqlite3 *.db3);;Todos os ficheiros (*)"));
    if (!escolhido.isEmpty())
        campo->setText(QDir::toNativeSeparators(escolhido));
}

} // namespace ComumConfig
