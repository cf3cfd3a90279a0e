#include "encomendanext.h"

#include "ficheiroini.h"
#include "mensagens.h"
#include "programa.h"

namespace {
constexpr int ErroAcessoFicheiro = 75;

bool falha(const QString &descricao)
{
    MensagemErro(QStringLiteral("Erro %1\r\n(%2)\r\nNa função GetEncomendaNext do ModTools")
                     .arg(ErroAcessoFicheiro)
                     .arg(descricao));
    return false;
}
} // namespace

bool GetEncomendaNext(QString &tipoDocumento, QString &sector, QString &serie, QString &armazem)
{
    return GetEncomendaNext(Programa::ficheiroConfiguracao(), tipoDocumento, sector, serie, armazem);
}

bool GetEncomendaNext(const QString &ficheiro, QString &tipoDocumento, QString &sector, QString &serie,
                      QString &armazem)
{
    const QString seccao = QStringLiteral("Encomenda Next");
    struct Chave
    {
        const char *nome;
        const char *predefinido;
        QString &valor;
    };
    Chave chaves[] = {{"Tipo documento", "ENF", tipoDocumento},
                      {"Sector", "001", sector},
                      {"Serie", "1", serie},
                      {"Armazem", "1", armazem}};

    FicheiroIni ini(ficheiro);
    for (Chave &c : chaves) {
        const QString chave = QString::fromLatin1(c.nome);
        const QString lido = ini.Le(seccao, chave);
        if (!ini.erro().isEmpty())
            return falha(ini.erro());
        c.valor = lido;
        if (lido.isEmpty()) {
            c.valor = QString::fromLatin1(c.predefinido);
            if (!ini.Escreve(seccao, chave, c.valor))
                return falha(ini.erro());
        }
    }
    return true;
}
