#pragma once
#include "ligacaobd.h"
#include "sessaoerp.h"

#include <QString>

// The windows the start-up routine drives. The program gives the splash
// window and the main window; tests give a recorder.
class JanelasArranque
{
public:
    virtual ~JanelasArranque() = default;
    // Shows the splash window without waiting, with the wait pointer, repainted.
    virtual void mostraSplash() = 0;
    // Puts a progress text into the splash window's status label and repaints.
    virtual void escreveSplash(const QString &texto) = 0;
    // Loads the main window without showing it.
    virtual void carregaPrincipal() = 0;
    // Gives the main window the database connection and calls its Mostra.
    virtual void mostraPrincipal(LigacaoBd &bd) = 0;
    virtual void fechaSplash() = 0;
};

// The start of the program. executa() runs, in this order: the user folder
// (PastaUtilizador() + "/morvik", or the program's folder when it cannot be
// made); the temporary folder (PreparaPercursoUtilizador); the choice of the
// settings file (the user folder's "mvkTesselaArtigos.mvk", or the file named
// by the command line in the program's folder; a value of it that cannot be
// read, too long for any field, is reported and its dialog offered); the splash window with
// "A ligar-se ao Sage Next...." and the wait pointer; the database connection
// (the settings dialog first when server, database or login is missing; a
// connection that does not open is reported with the database and the reason
// and the settings dialog is offered again, until it opens or the user cancels
// it, and then the start goes on); the ERP session (its dialog first when
// company, user, year or database is missing, and again after a message while
// the ERP's database does not open; a refusal, or that dialog cancelled, shows
// "Não foi possivel ligar ao Next" with the reason and ends the start with a
// non-zero exit code); the session
// receives the connection; the pointer is restored; the main window is loaded;
// the order defaults are ensured in the settings file (GetEncomendaNext); the
// main window gets the connection and is shown; the splash closes.
//
// The Arranque object owns both connections for the life of the program:
// termina() ends the ERP session, then closes the database connection.
class Arranque
{
public:
    enum Saida { Normal = 0, ErpRecusado = 1 };

    Arranque(JanelasArranque &janelas, const QString &pastaPrograma, const QString &linhaComandos);
    ~Arranque();
    Arranque(const Arranque &) = delete;
    Arranque &operator=(const Arranque &) = delete;

    // True when the main window is shown; false when the program must end now
    // with codigoSaida().
    bool executa();
    int codigoSaida() const { return m_saida; }
    // Ends the ERP session, then closes the database connection.
    void termina();

    QString pastaUtilizador() const { return m_pastaUtilizador; }
    QString pastaTemporaria() const { return m_pastaTemporaria; }
    QString ficheiroConfiguracao() const { return m_ficheiroConfiguracao; }

    LigacaoBd &bd() { return m_bd; }
    SessaoErp &erp() { return m_erp; }

    static QString textoLigacao() { return QStringLiteral("A ligar-se ao Sage Next...."); }

private:
    bool avisaIlegivel(const QString &erro);
    void ligaBaseDados();
    bool ligaErp();
    void espera(bool liga);

    JanelasArranque &m_janelas;
    QString m_pastaPrograma;
    QString m_linhaComandos;
    QString m_pastaUtilizador;
    QString m_pastaTemporaria;
    QString m_ficheiroConfiguracao;
    LigacaoBd m_bd;
    SessaoErp m_erp;
    int m_saida = Normal;
    bool m_terminado = false;
    bool m_espera = false;
};
