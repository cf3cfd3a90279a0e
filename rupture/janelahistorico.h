#pragma once
#include "historicoartigo.h"

#include <QDialog>

class GraficoHistorico;
class QLabel;
class QTableWidget;

// "Histórico do Artigo": an article's last HistoricoArtigo::Meses months as a
// chart (GraficoHistorico), below it every supplier that quoted or sold it
// (code, name, last purchase date and price, current quote date and price,
// reference), cheapest first with the cheapest marked, and the supplier
// orders still pending for it (document, date, quantity). Double-click or
// Enter on a supplier hands it to whoever opened the dialog
// (fornecedorEscolhido) and closes it; Esc or "&Sair" closes it without.
class JanelaHistorico : public QDialog
{
    Q_OBJECT
public:
    explicit JanelaHistorico(QWidget *pai = nullptr);

    void setDados(const DadosHistorico &dados);
    const DadosHistorico &dados() const { return m_dados; }

    GraficoHistorico *grafico() const { return m_grafico; }
    QTableWidget *fornecedores() const { return m_fornecedores; }
    QTableWidget *pendentes() const { return m_pendentes; }
    QLabel *titulo() const { return m_titulo; }

    // The text that marks the cheapest supplier.
    static QString marcaMaisBarato() { return QStringLiteral("Mais económico"); }

signals:
    void fornecedorEscolhido(const FornecedorHistorico &fornecedor);

private:
    void escolhe(int linha);

    DadosHistorico m_dados;
    QLabel *m_titulo;
    GraficoHistorico *m_grafico;
    QTableWidget *m_fornecedores;
    QLabel *m_semPendentes;
    QTableWidget *m_pendentes;
};
