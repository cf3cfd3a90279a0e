#pragma once
#include <QDialog>

class QLabel;

// The About box: the program's title, its description and its version, given
// in that order, and an OK button. Mostra() shows it modally.
class AcercaDe : public QDialog
{
    Q_OBJECT
public:
    explicit AcercaDe(QWidget *parent = nullptr);

    void setTitulo(const QString &titulo);
    void setDescricao(const QString &descricao);
    // The version as "major.minor.revision"; shown after "Versão ".
    void setVersao(const QString &versao);

    QString titulo() const { return m_textoTitulo; }
    QString descricao() const { return m_textoDescricao; }
    QString versao() const { return m_textoVersao; }

    void Mostra();

private:
    QLabel *m_titulo;
    QLabel *m_descricao;
    QLabel *m_versao;
    QString m_textoTitulo, m_textoDescricao, m_textoVersao;
};
