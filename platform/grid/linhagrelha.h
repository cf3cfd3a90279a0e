#pragma once
#include <QString>
#include <QVariant>

class Grelha;

// One row of a Grelha, addressed by its row number (from 1) and reached
// through Grelha::linha. Its cells are addressed by event column (from 1);
// writes show at once unless the grid's redraw is off.
class LinhaGrelha
{
public:
    LinhaGrelha(Grelha *grelha, int numero) : m_grelha(grelha), m_numero(numero) {}

    int numero() const { return m_numero; }
    QVariant valor(int coluna) const;
    QString texto(int coluna) const;
    bool setValor(int coluna, const QVariant &v);
    // Repaints one cell, or the whole row with coluna 0.
    void redesenha(int coluna = 0);

private:
    Grelha *m_grelha;
    int m_numero;
};
