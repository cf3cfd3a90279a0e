#pragma once
#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>

class frmMain;
class LigacaoBd;
class ListaRespostas;
class MensagensGravadas;
class QWidget;

// What a tour page works with: the demo database (generated afresh with a fixed
// seed and reference date), its open connection, the settings file pointing at
// it, the test doubles that answer every message box and lookup list, and a
// main window. Nothing a page does can block: message boxes are answered from
// mensagens() and lists from listas(); a modal dialog is built and shown
// without exec(), then grabbed.
class ContextoTour
{
public:
    ContextoTour(const QString &pastaSaida, const QString &ficheiroBase, const QString &ficheiroConfiguracao,
                 LigacaoBd &bd, MensagensGravadas &mensagens, ListaRespostas &listas);
    ~ContextoTour();

    LigacaoBd &bd() { return m_bd; }
    QString baseDados() const { return m_base; }
    QString ficheiroConfiguracao() const { return m_configuracao; }
    // The reference date of the demo data ("today" for the windows).
    static QDate hoje() { return QDate(2026, 12, 6); }
    static quint64 semente() { return 20261206; }

    MensagensGravadas &mensagens() { return m_mensagens; }
    ListaRespostas &listas() { return m_listas; }

    // A main window with the connection, shown at a screenshot size; made on
    // first use in each page and closed when the page ends.
    frmMain &principal();
    void fechaPrincipal();

    // Shows the window if needed, lets it lay out and paint, and writes
    // <output folder>/<nome>.png. Top-level windows get a title bar drawn
    // above them (offscreen there is no window manager to draw one).
    bool grava(QWidget *janela, const QString &nome);
    // Lets pending events (layout, paint, queued calls) run.
    static void processa(int vezes = 3);
    // Types a code into a field as the user does (any character) and leaves
    // it with Tab, so that the window checks it.
    static void escreveCampo(QWidget *campo, const QString &codigo);
    // Makes the window active (there is no window manager to do it) and waits
    // until it is on the screen.
    static void activa(QWidget *janela);

    QStringList gravados() const { return m_gravados; }

private:
    QString m_saida;
    QString m_base;
    QString m_configuracao;
    LigacaoBd &m_bd;
    MensagensGravadas &m_mensagens;
    ListaRespostas &m_listas;
    std::unique_ptr<frmMain> m_principal;
    QStringList m_gravados;
};
