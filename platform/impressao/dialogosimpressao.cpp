#include "dialogosimpressao.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardPaths>

namespace {

class DialogosPadrao : public DialogosImpressao
{
public:
    QString ficheiroParaGravar(QWidget *pai, const QString &titulo, const QString &sugestao, const QString &filtro) override
    {
        // The user's documents, or the home folder where there is none: never
        // the folder the program happened to be started from.
        QString pasta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (pasta.isEmpty() || !QDir(pasta).exists())
            pasta = QDir::homePath();
        return QFileDialog::getSaveFileName(pai, titulo, QDir(pasta).filePath(sugestao), filtro);
    }
    bool preparaImpressora(QWidget *pai, QPrinter &impressora) override
    {
        QPrintDialog dialogo(&impressora, pai);
        dialogo.setWindowTitle(QStringLiteral("Imprimir"));
        return dialogo.exec() == QDialog::Accepted;
    }
    QString textoAProcurar(QWidget *pai, const QString &anterior) override
    {
        return QInputDialog::getText(pai, QStringLiteral("Procurar"), QStringLiteral("Texto a procurar:"), QLineEdit::Normal, anterior);
    }
};

DialogosImpressao *instalados = nullptr;

} // namespace

DialogosImpressao &DialogosImpressao::actuais()
{
    static DialogosPadrao padrao;
    return instalados ? *instalados : padrao;
}

void DialogosImpressao::instala(DialogosImpressao *dialogos) { instalados = dialogos; }

QString DialogosImpressao::comExtensao(const QString &ficheiro, const QString &extensao)
{
    if (ficheiro.isEmpty() || QFileInfo(ficheiro).fileName().endsWith(extensao, Qt::CaseInsensitive))
        return ficheiro;
    return ficheiro + extensao;
}

QString DialogosImpressao::pedeFicheiro(QWidget *pai, const QString &titulo, const QString &sugestao, const QString &filtro,
                                        const QString &extensao)
{
    return comExtensao(actuais().ficheiroParaGravar(pai, titulo, sugestao, filtro), extensao);
}

DialogosImpressaoRespostas::DialogosImpressaoRespostas() : m_anteriores(instalados) { instala(this); }

DialogosImpressaoRespostas::~DialogosImpressaoRespostas()
{
    if (instalados == this)
        instala(m_anteriores);
}

QString DialogosImpressaoRespostas::ficheiroParaGravar(QWidget *, const QString &titulo, const QString &sugestao, const QString &)
{
    sugestoes << titulo + QLatin1Char('|') + sugestao;
    return ficheiros.isEmpty() ? QString() : ficheiros.dequeue();
}

bool DialogosImpressaoRespostas::preparaImpressora(QWidget *, QPrinter &p)
{
    ++impressoes;
    return impressora && impressora(p);
}

QString DialogosImpressaoRespostas::textoAProcurar(QWidget *, const QString &)
{
    return textos.isEmpty() ? QString() : textos.dequeue();
}
