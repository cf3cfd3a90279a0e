#include "previsaogrelha.h"

#include "exportacsv.h"
#include "grelha.h"
#include "visualizadorimpressao.h"

#include <QPrintPreviewWidget>

PrevisaoGrelha::PrevisaoGrelha(Grelha *grelha)
    : QObject(grelha), m_grelha(grelha), m_visualizador(new VisualizadorImpressao(grelha->parentWidget()))
{
    m_visualizador->hide();
}

void PrevisaoGrelha::prepara(const QString &cabecalho) { m_documento = ImpressaoGrelha(*m_grelha, cabecalho); }

bool PrevisaoGrelha::emPrevisao() const { return m_grelha->isHidden(); }

bool PrevisaoGrelha::alterna(const QString &nomeFicheiro)
{
    const bool previsao = !emPrevisao();
    if (previsao) {
        // Shown first, so that the pages are laid out for the viewer's size.
        m_visualizador->setGeometry(m_grelha->geometry());
        m_visualizador->show();
        m_visualizador->raise();
        m_visualizador->setDocumento(m_documento, nomeFicheiro + QStringLiteral(".pdf"));
        m_grelha->hide();
        m_visualizador->previsao()->setFocus();
    } else {
        m_visualizador->hide();
        m_grelha->show();
        m_grelha->setFocus();
    }
    return previsao;
}

QString PrevisaoGrelha::exporta(const QString &nomeFicheiro) const
{
    return ExportaCsv::exporta(m_grelha->parentWidget(), *m_grelha, nomeFicheiro + QStringLiteral(".csv"));
}
