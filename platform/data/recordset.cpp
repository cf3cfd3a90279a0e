#include "recordset.h"
#include "comparacodigos.h"
#include "ligacaobd.h"

Recordset Recordset::emMemoria(const QList<Campo> &campos)
{
    Recordset rs;
    rs.d = QSharedPointer<Dados>::create();
    rs.d->memoria = true;
    rs.d->campos = campos;
    return rs;
}

void Recordset::Close()
{
    if (d)
        d->aberto = false;
}

int Recordset::linhaReal(int visivel) const
{
    if (!d || visivel < 0)
        return -1;
    if (d->filtrado)
        return visivel < d->visiveis.size() ? d->visiveis.at(visivel) : -1;
    return visivel < d->linhas.size() ? visivel : -1;
}

int Recordset::RecordCount() const
{
    if (!d)
        return -1;
    return d->filtrado ? int(d->visiveis.size()) : int(d->linhas.size());
}

bool Recordset::Eof() const { return !d || d->pos >= RecordCount(); }
bool Recordset::Bof() const { return !d || d->pos < 0 || RecordCount() == 0; }
void Recordset::MoveFirst()
{
    if (d)
        d->pos = 0;
}
void Recordset::MoveNext()
{
    if (d && d->pos < RecordCount())
        ++d->pos;
}
int Recordset::posicao() const { return d && !Eof() ? d->pos : -1; }
void Recordset::setPosicao(int linha)
{
    if (d)
        d->pos = qBound(0, linha, RecordCount());
}

int Recordset::numeroCampos() const { return d ? int(d->campos.size()) : 0; }
QString Recordset::nomeCampo(int i) const
{
    return d && i >= 0 && i < d->campos.size() ? d->campos.at(i).nome : QString();
}
int Recordset::indiceCampo(const QString &nome) const
{
    if (!d)
        return -1;
    for (int i = 0; i < d->campos.size(); ++i)
        if (d->campos.at(i).nome.compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
QStringList Recordset::nomesCampos() const
{
    QStringList n;
    if (d)
        for (const Campo &c : d->campos)
            n << c.nome;
    return n;
}

QVariant Recordset::Valor(const QString &nome) const { return Valor(indiceCampo(nome)); }

QVariant Recordset::Valor(int campo) const { return d ? valorEm(d->pos, campo) : QVariant(); }

QVariant Recordset::valorEm(int linha, int campo) const
{
    const int real = linhaReal(linha);
    if (real < 0 || campo < 0 || campo >= d->campos.size())
        return QVariant();
    return d->linhas.at(real).valores.value(campo);
}

namespace {
bool iguais(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    const int ta = a.metaType().id(), tb = b.metaType().id();
    const bool textoA = ta == QMetaType::QString, textoB = tb == QMetaType::QString;
    if (textoA && textoB)
        return ComparaCodigos::compara(a.toString(), b.toString()) == 0;
    bool okA = false, okB = false;
    const double na = a.toDouble(&okA), nb = b.toDouble(&okB);
    if (okA && okB)
        return na == nb;
    return ComparaCodigos::compara(a.toString(), b.toString()) == 0;
}
} // namespace

void Recordset::Filter(const QString &campo, const QVariant &valor)
{
    if (!d)
        return;
    const int c = indiceCampo(campo);
    d->visiveis.clear();
    d->filtrado = true;
    if (c >= 0)
        for (int i = 0; i < d->linhas.size(); ++i)
            if (iguais(d->linhas.at(i).valores.value(c), valor))
                d->visiveis << i;
    d->pos = 0;
}

void Recordset::RemoveFilter()
{
    if (!d)
        return;
    d->filtrado = false;
    d->visiveis.clear();
    d->pos = 0;
}

bool Recordset::AddNew()
{
    if (!actualizavel())
        return false;
    Linha l;
    l.nova = true;
    for (int i = 0; i < d->campos.size(); ++i) {
        l.valores << QVariant();
        l.originais << QVariant();
        l.alterado << false;
    }
    d->linhas << l;
    if (d->filtrado)
        d->visiveis << int(d->linhas.size() - 1);
    d->pos = RecordCount() - 1;
    return true;
}

bool Recordset::SetValor(const QString &nome, const QVariant &valor)
{
    const int c = indiceCampo(nome);
    const int real = d ? linhaReal(d->pos) : -1;
    if (c < 0 || real < 0 || !actualizavel()) {
        if (d)
            d->erro = ErroBd{ErroBd::ErroComando,
                             c < 0 ? QStringLiteral("O campo %1 não existe.").arg(nome)
                                   : QStringLiteral("Não há registo actual para alterar.")};
        return false;
    }
    Linha &l = d->linhas[real];
    l.valores[c] = valor;
    l.alterado[c] = true;
    return true;
}

bool Recordset::Update()
{
    if (!actualizavel())
        return false;
    const int real = linhaReal(d->pos);
    if (real < 0)
        return true;     // nothing current: nothing to write
    Linha &l = d->linhas[real];
    if (d->memoria) {
        l.nova = false;
        for (bool &a : l.alterado)
            a = false;
        return true;
    }
    d->erro = ErroBd{};
    if (!d->ligacao->gravaLinha(*d, l)) {
        d->erro = d->ligacao->ultimoErro();
        return false;
    }
    return true;
}
