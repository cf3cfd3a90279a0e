// tessela-regista: registers (or with -u removes) a class library in the
// per-user class registry, as an installer does.
//
//   tessela-regista [-u] caminho/libTesselaDados2016.so

#include "criaobjecto.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool remover = args.removeAll(QStringLiteral("-u")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "Uso: tessela-regista [-u] biblioteca" << Qt::endl;
        return 2;
    }
    QString erro;
    if (!registaBiblioteca(args.first(), remover, &erro)) {
        err << erro << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << (remover ? "Registo removido: " : "Registada: ") << args.first() << Qt::endl;
    return 0;
}
