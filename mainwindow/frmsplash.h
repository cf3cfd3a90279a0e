#pragma once
#include <QWidget>

class QLabel;

// The window shown while the program connects: the program's title
// (lbNomeAplicacao), "Versão " and major.minor.revision (lblVersion) and the
// status label AFazer, where the start-up routine writes what it is doing. It
// centres itself on the screen when loaded.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Writes a progress text into AFazer and repaints at once (the start-up
    // routine does not return to the event loop while it connects).
    void setAFazer(const QString &texto);
    QString aFazer() const;

    QLabel *lbNomeAplicacao() const { return m_nome; }
    QLabel *lblVersion() const { return m_versao; }
    QLabel *AFazer() const { return m_aFazer; }

protected:
    void paintEvent(QPaintEvent *evento) override;

private:
    void centraNoEcra();

    QLabel *m_nome;
    QLabel *m_versao;
    QLabel *m_aFazer;
};
