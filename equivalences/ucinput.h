#pragma once
#include <QColor>
#include <QVariantMap>
#include <QWidget>

class CampoInput;
class LigacaoBd;
class QListWidget;

// The code box with suggestions: an input field for an article code and,
// right under it, a list of up to 25 known codes that begin with what was
// typed (trimmed, in upper case, as a literal prefix; see Sugestoes). The box
// grows downwards to show the list while the field has the focus and shrinks
// back to the field's height when the text is blank, when nothing matches,
// when the box loses the focus and on Terminar(). The Down arrow steps from
// the field into the list, a double-click on a suggestion puts it into the
// field, and Enter in the field raises CarregouNoEnter() for the host.
//
// The list is re-read at once on every change of the text, typed or set by the
// program. It is 25 field heights tall, or as tall as the window shows below
// the field when that is less: then it scrolls, and the highlighted line is
// always in view. When the read fails (the database busy, the file gone) the
// list stays empty and the main window's status line says why
// (AvisoEstado); the next read that works clears that notice.
class UcInput : public QWidget
{
    Q_OBJECT
public:
    explicit UcInput(QWidget *pai = nullptr);

    // The connection the suggestions are read through; not owned.
    void setBd(LigacaoBd *bd) { m_bd = bd; }
    LigacaoBd *Bd() const { return m_bd; }

    // The field's text. Writing it reloads the suggestions.
    QString Text() const;
    void setText(const QString &texto);

    QColor BackColor() const;
    void setBackColor(const QColor &cor);

    // The properties a host keeps with its design ("BackColor", "Text"); a
    // missing key takes its default (button face, "123456789012345").
    void lePropriedades(const QVariantMap &saco);
    QVariantMap gravaPropriedades() const;

    // Reloads the list from the current text and resizes the box.
    void carregaLista();
    // Empties the list and collapses the box to the field's height.
    void Terminar();

    CampoInput *campo() const { return m_campo; }
    QListWidget *lista() const { return m_lista; }

signals:
    // Enter was pressed in the field.
    void CarregouNoEnter();
    // The focus went from the box to another control.
    void perdeuFoco();

protected:
    void resizeEvent(QResizeEvent *evento) override;
    bool eventFilter(QObject *objecto, QEvent *evento) override;

private:
    void textoAlterado();
    void carrega(bool focoNoCampo);
    void teclaEmBaixo(int &codigoTecla, int shift);
    void teclaPremida(int &codigoCaracter);
    void escolheSugestao();
    void focoMudou(QWidget *antes, QWidget *agora);
    void dispoe();
    void setAltura(int pixeis);
    int alturaCampo() const;
    // The lowest point, in the box's coordinates, that the windows around it show.
    int fundoVisivel() const;
    void avisa(bool leu);

    LigacaoBd *m_bd = nullptr;
    CampoInput *m_campo;
    QListWidget *m_lista;
    bool m_focoNoCampo = false;
    bool m_aDispor = false;
    bool m_avisou = false;   // the status line holds this box's notice of a failed read
};
