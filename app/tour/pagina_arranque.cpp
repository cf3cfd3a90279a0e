// Tour pages of the start and the main window: the splash window, the main
// window, its menus, the About box, both connection dialogs and a lookup list.

#include "contextotour.h"
#include "paginatour.h"

#include "acercade.h"
#include "arranque.h"
#include "configuracao.h"
#include "dialogoconfigerp.h"
#include "dialogoconfigsql.h"
#include "dialogolistapesquisa.h"
#include "frmmain.h"
#include "frmsplash.h"
#include "listapesquisa.h"
#include "versaoprograma.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTableView>

namespace {

// The dialogs show where the demo database lies after scripts/run.sh, not the
// tour's own temporary copy, whose name changes at every run.
QString baseDoUtilizador() { return QDir::homePath() + QStringLiteral("/.local/share/morvik/tessela-demo.db"); }

RegistaPagina splash(10, "splash", [](ContextoTour &c) {
    frmSplash janela;
    janela.setAFazer(Arranque::textoLigacao());
    c.grava(&janela, QStringLiteral("splash"));
});

RegistaPagina principal(20, "principal", [](ContextoTour &c) {
    frmMain &janela = c.principal();
    janela.EscreveStatus(QStringLiteral("Pronto"));
    c.grava(&janela, QStringLiteral("principal"));

    // The Processamento menu open: the windows of later deliveries are there,
    // not yet available.
    QMenu *menu = janela.findChild<QMenu *>(QStringLiteral("Mp"));
    const QRect item = janela.menuBar()->actionGeometry(menu->menuAction());
    menu->popup(janela.menuBar()->mapToGlobal(item.bottomLeft()));
    ContextoTour::processa();
    QPixmap fundo = janela.grab();
    {
        QPainter p(&fundo);
        const QPoint onde = janela.mapFromGlobal(menu->pos());
        p.drawPixmap(onde, menu->grab());
    }
    menu->hide();
    QLabel imagem;
    imagem.setPixmap(fundo);
    imagem.setWindowTitle(janela.windowTitle());
    imagem.setWindowIcon(janela.windowIcon());
    imagem.resize(fundo.size());
    c.grava(&imagem, QStringLiteral("principal-menu-processamento"));
});

RegistaPagina acerca(90, "acerca", [](ContextoTour &c) {
    AcercaDe janela;
    janela.setWindowIcon(c.principal().windowIcon());
    VersaoPrograma::preencheAcercaDe(janela);
    c.grava(&janela, QStringLiteral("acerca"));
});

RegistaPagina ligacaoSql(91, "ligacao-sql", [](ContextoTour &c) {
    ConfigSql config(c.ficheiroConfiguracao());
    config.setValor(2, baseDoUtilizador());
    DialogoConfigSql janela(config);
    c.grava(&janela, QStringLiteral("ligacao-sql"));
});

RegistaPagina ligacaoErp(92, "ligacao-erp", [](ContextoTour &c) {
    ConfigErp config(c.ficheiroConfiguracao());
    config.setValor(5, baseDoUtilizador());
    DialogoConfigErp janela(config);
    c.grava(&janela, QStringLiteral("ligacao-erp"));
});

RegistaPagina listaFornecedores(95, "lista-fornecedores", [](ContextoTour &c) {
    // The suppliers' lookup list, with a few letters typed into its filter.
    ListaPesquisa lista;
    lista.setLigacao(c.bd());
    lista.Titulo = QStringLiteral("Fornecedores");
    lista.setSql(QStringLiteral("SELECT Codigo AS 'Fornecedor', Nome, Localidade FROM Fornec ORDER BY Codigo"));
    lista.Largura = 8200;
    lista.Carrega();
    lista.setLarguraColuna(0, 1300);
    lista.setLarguraColuna(1, 4200);
    DialogoListaPesquisa janela(lista);
    janela.show();
    ContextoTour::activa(&janela);
    janela.filtro()->setText(QStringLiteral("lda"));
    janela.tabela()->selectRow(1);
    c.grava(&janela, QStringLiteral("lista-fornecedores"));
});

} // namespace
