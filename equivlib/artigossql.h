#pragma once
#include "artigos.h"

// The equivalence operations on a LigacaoBd, every value bound.
class ArtigosSql : public Artigos
{
public:
    ArtigosSql();
    ~ArtigosSql() override;

    bool Apagar() override;
    bool Equivalencia_Limpar() override { return false; }
    void Equivalencia_ler() override {}

    void setBd(LigacaoBd *bd) override { m_bd = bd; }
    LigacaoBd *Bd() const override { return m_bd; }
    void setDescricao(const QString &descricao) override { m_descricao = descricao; }
    QString Descricao() const override { return m_descricao; }
    void setCodigo(const QString &codigo) override { m_codigo = codigo; }
    QString Codigo() const override { return m_codigo; }

    bool Equivalencia_Escrever(const QString &equivalente) override;
    bool Ler(Recordset &out_Equivalencias) override;
    QString MostraLista() override;
    QString Observacoes(const QString &chave) override;
    Recordset Pesquisar(const QString &codigo) override;

    // The statement Pesquisar runs, with its four values: the code, the empty
    // text, the code, the empty text.
    static QString consultaPesquisa();

private:
    // The library's failure box: "Erro n (descrição)", the function and the
    // class, and an extra line when given.
    void reporta(const QString &funcao, const QString &extra = QString(), const QString &modulo = QStringLiteral("Artigos"));
    void reporta(const ErroBd &erro, const QString &funcao, const QString &extra = QString(),
                 const QString &modulo = QStringLiteral("Artigos"));

    LigacaoBd *m_bd = nullptr;
    QString m_codigo;
    QString m_descricao;
};
