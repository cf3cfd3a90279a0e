#include "arranque.h"

#include "cadeialigacao.h"
#include "configuracao.h"
#include "encomendanext.h"
#include "mensagens.h"
#include "pastastrabalho.h"
#include "programa.h"

#include <QCursor>
#include <QGuiApplication>

// The wait pointer covers the whole screen while the connections open; a
// dialog that asks for missing values gets the normal pointer while it is open.
void Arranque::espera(bool liga)
{
    if (!qGuiApp || liga == m_espera)
        return;
    if (liga)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QGuiApplication::restoreOverrideCursor();
    m_espera = liga;
}

Arranque::Arranque(JanelasArranque &janelas, const QString &pastaPrograma, const QString &linhaComandos)
    : m_janelas(janelas), m_pastaPrograma(pastaPrograma), m_linhaComandos(linhaComandos)
{
    while (m_pastaPrograma.size() > 1 && m_pastaPrograma.endsWith(QLatin1Char('/')))
        m_pastaPrograma.chop(1);
}

Arranque::~Arranque()
{
    espera(false);
    termina();
}

bool Arranque::executa()
{
    Programa::setPastaPrograma(m_pastaPrograma);
    m_pastaUtilizador = PastaDoUtilizador(m_pastaPrograma);
    m_pastaTemporaria = PreparaPercursoUtilizador();
    Programa::setPastaTemporaria(m_pastaTemporaria);

    // The command line names a settings file in the program's folder, taken as
    // it stands.
    m_ficheiroConfiguracao = m_linhaComandos.isEmpty()
                                 ? m_pastaUtilizador + QStringLiteral("/mvkTesselaArtigos.mvk")
                                 : m_pastaPrograma + QLatin1Char('/') + m_linhaComandos;
    Programa::setFicheiroConfiguracao(m_ficheiroConfiguracao);

    m_janelas.mostraSplash();
    espera(true);
    m_janelas.escreveSplash(textoLigacao());

    ligaBaseDados();
    if (!ligaErp()) {
        espera(false);
        m_janelas.fechaSplash();
        m_saida = ErpRecusado;
        termina();
        return false;
    }
    m_erp.setLigacao(&m_bd);
    espera(false);

    m_janelas.carregaPrincipal();
    QString tipo, sector, serie, armazem;
    GetEncomendaNext(m_ficheiroConfiguracao, tipo, sector, serie, armazem);
    m_janelas.mostraPrincipal(m_bd);
    m_janelas.fechaSplash();
    return true;
}

// A settings value that could not be read (a file that cannot be read, a
// value too long for any field) is reported before its dialog is offered.
bool Arranque::avisaIlegivel(const QString &erro)
{
    if (erro.isEmpty())
        return false;
    espera(false);
    AvisoTipo(erro + QStringLiteral("\r\n\r\nIndique a ligação na janela seguinte."), 2);
    espera(true);
    return true;
}

void Arranque::ligaBaseDados()
{
    ConfigSql config(m_ficheiroConfiguracao);
    const bool ilegivel = avisaIlegivel(config.erro());
    if (ilegivel || !config.completa()) {
        config.Catalogo = Programa::catalogoSql();
        config.Edita = ilegivel;
        espera(false);
        config.Configura();
        espera(true);
    }
    config.le();

    CadeiaLigacao cadeia;
    cadeia.Fornecedor = QStringLiteral("MSDataShape");
    cadeia.Modo = 1;
    for (;;) {
        cadeia.Servidor = config.valor(1);
        cadeia.BaseDados = config.valor(2);
        cadeia.Utilizador = config.valor(3);
        cadeia.Senha = config.valor(4);
        if (m_bd.Abre(cadeia.Texto()))
            return;

        // The user learns which database did not open and why, and corrects
        // the connection in the dialog that follows, until it opens. A
        // cancelled dialog lets the start go on without it: the windows report
        // their own failures.
        const QString destino = m_bd.destino().isEmpty() ? config.valor(2) : m_bd.destino();
        const QString qual = destino.isEmpty() ? QStringLiteral("a base de dados") : QStringLiteral("a base de dados \"%1\"").arg(destino);
        espera(false);
        AvisoTipo(QStringLiteral("Não foi possível abrir %1.\r\n%2\r\n\r\nCorrija a ligação na janela seguinte.")
                      .arg(qual, m_bd.ultimoErro().descricao),
                  2);
        config.Catalogo = Programa::catalogoSql();
        config.Edita = true;
        const bool corrigida = config.Configura();
        espera(true);
        if (!corrigida)
            return;
    }
}

bool Arranque::ligaErp()
{
    ConfigErp config(m_ficheiroConfiguracao);
    if (avisaIlegivel(config.erro()) || !config.completa()) {   // the password may be empty
        espera(false);
        config.Configura();
        espera(true);
    }
    config.le();

    m_erp.Modo = 4;
    long codigo = 0;
    QString motivo;
    for (;;) {
        if (m_erp.Liga(config.valor(1), config.valor(2), config.valor(3), config.valor(4), config.valor(5)))
            return true;
        m_erp.Resultado(codigo, motivo);
        // The ERP's database does not open (often the same file as the
        // program's, just corrected above): its dialog is offered as well.
        // Any other refusal, or a cancelled dialog, ends the start.
        if (codigo != SessaoErp::BaseInacessivel)
            break;
        espera(false);
        AvisoTipo(motivo + QStringLiteral("\r\n\r\nCorrija a base de dados do ERP na janela seguinte."), 2);
        const bool corrigida = config.Configura();
        espera(true);
        if (!corrigida)
            break;
    }
    espera(false);
    MensagemErro(QStringLiteral("Não foi possivel ligar ao Next") + (motivo.isEmpty() ? QString() : QStringLiteral("\r\n") + motivo));
    return false;
}

void Arranque::termina()
{
    if (m_terminado)
        return;
    m_terminado = true;
    m_erp.Desliga();
    m_bd.Fecha();
}
