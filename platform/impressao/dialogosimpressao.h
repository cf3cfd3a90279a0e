#pragma once
#include <QList>
#include <functional>
#include <QQueue>
#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

// The dialogs that printing and exporting ask: the file to write, the printer
// to print on and the text to search for. The program shows the standard
// dialogs (the default); tests install DialogosImpressaoRespostas, which
// answers at once.
class DialogosImpressao
{
public:
    virtual ~DialogosImpressao() = default;
    // The file to write (the empty text when the user gave up); filtro as
    // the file dialog takes it ("PDF (*.pdf)").
    virtual QString ficheiroParaGravar(QWidget *pai, const QString &titulo, const QString &sugestao, const QString &filtro) = 0;
    // Lets the user choose and set up the printer; false when cancelled.
    virtual bool preparaImpressora(QWidget *pai, QPrinter &impressora) = 0;
    // The text to search for (the empty text when the user gave up).
    virtual QString textoAProcurar(QWidget *pai, const QString &anterior) = 0;

    // The process-wide dialogs: the standard ones unless others were installed.
    static DialogosImpressao &actuais();
    // Installs dialogs (nullptr restores the standard ones). Not owned.
    static void instala(DialogosImpressao *dialogos);

    // A file name with the extension added when it does not end with it (".pdf", ".csv").
    static QString comExtensao(const QString &ficheiro, const QString &extensao);
    // Asks the installed dialogs for the file to write and adds the
    // extension; the empty text when the user gave up.
    static QString pedeFicheiro(QWidget *pai, const QString &titulo, const QString &sugestao, const QString &filtro,
                                const QString &extensao);
};

// Answers from queues, for tests: files and searched texts as queued (the
// empty text when none is), the printer set up by a function given (or
// cancelled when none is). Records every file dialog's title and suggestion.
// Installs itself while it lives.
class DialogosImpressaoRespostas : public DialogosImpressao
{
public:
    DialogosImpressaoRespostas();
    ~DialogosImpressaoRespostas() override;

    QQueue<QString> ficheiros;
    QQueue<QString> textos;
    // Called with the printer when printing is asked; its result is the answer.
    std::function<bool(QPrinter &)> impressora;
    QStringList sugestoes;
    int impressoes = 0;

    QString ficheiroParaGravar(QWidget *pai, const QString &titulo, const QString &sugestao, const QString &filtro) override;
    bool preparaImpressora(QWidget *pai, QPrinter &impressora) override;
    QString textoAProcurar(QWidget *pai, const QString &anterior) override;

private:
    DialogosImpressao *m_anteriores = nullptr;
};
