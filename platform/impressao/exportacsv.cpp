#include "exportacsv.h"
#include "conteudogrelha.h"
#include "dialogosimpressao.h"
#include "mensagens.h"

#include <QSaveFile>

namespace ExportaCsv {

namespace {

// First characters that make a spreadsheet take a cell for a formula (a tab
// or a carriage return before one is skipped by some of them).
bool comecaFormula(const QString &t)
{
    static const QString inicios = QStringLiteral("=+-@\t\r");
    return !t.isEmpty() && inicios.contains(t.at(0));
}

QString campo(QString t, bool texto)
{
    if (texto && comecaFormula(t))
        t.prepend(QLatin1Char('\''));
    if (t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\n'))
        || t.contains(QLatin1Char('\r'))) {
        t.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        return QLatin1Char('"') + t + QLatin1Char('"');
    }
    return t;
}

} // namespace

QByteArray texto(const Grelha &grelha)
{
    const ConteudoGrelha c = ConteudoGrelha::de(grelha, ConteudoGrelha::ParaFolha);
    QStringList linhas;
    QStringList titulos;
    for (const ConteudoGrelha::Coluna &col : c.colunas)
        titulos << campo(col.titulo, true);
    linhas << titulos.join(QLatin1Char(';'));
    for (const QStringList &l : c.linhas) {
        QStringList campos;
        for (int i = 0; i < l.size(); ++i)
            campos << campo(l.at(i), c.colunas.at(i).tipo == TipoColuna::Texto);
        linhas << campos.join(QLatin1Char(';'));
    }
    return QByteArray("\xEF\xBB\xBF") + (linhas.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

bool grava(const Grelha &grelha, const QString &ficheiro, QString *erro)
{
    QSaveFile f(ficheiro);
    if (f.open(QIODevice::WriteOnly) && f.write(texto(grelha)) >= 0 && f.commit())
        return true;
    if (erro)
        *erro = QStringLiteral("Não foi possível gravar o ficheiro %1 (%2).").arg(ficheiro, f.errorString());
    return false;
}

QString exporta(QWidget *pai, const Grelha &grelha, const QString &sugestao)
{
    const QString ficheiro = DialogosImpressao::pedeFicheiro(pai, QStringLiteral("Exportar a grelha"), sugestao,
                                                             QStringLiteral("Folha de cálculo CSV (*.csv)"), QStringLiteral(".csv"));
    QString erro;
    if (ficheiro.isEmpty())
        return QString();
    if (!grava(grelha, ficheiro, &erro)) {
        Mensagem(QString(), erro, 2);
        return QString();
    }
    return ficheiro;
}

}
