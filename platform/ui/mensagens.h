#pragma once
#include <QString>

// The message routines of the windows. They give every message its uniform
// title, icon and buttons and show it through ServicoMensagens, so tests can
// answer. Answers are the standard codes (OK 1, Cancel 2, Yes 6, No 7).

// A message titled "Informação", by kind:
//   1  "Campo obrigatório [campo]." with OK and the exclamation icon; gives 0
//   2  the text with OK and the information icon; gives 0
//   3  the text with OK and Cancel (Cancel the default), information icon
//   4  the text with Yes and No, information icon
//   5  the text with Yes and No (No the default), information icon
// Any other kind shows nothing and gives 0.
int Mensagem(const QString &campo, const QString &texto, int tipo);

// A warning titled with the program's description, with OK: kind 0 the
// exclamation icon, 1 the information icon, 2 the critical icon. Gives the
// button pressed; any other kind shows nothing and gives 0.
int AvisoTipo(const QString &texto, int tipo);

// A failure report ("Erro ... Na função ...") with OK, titled with the
// program's title.
int MensagemErro(const QString &texto);
// The same for a failure in a window's routine: the text, then on a line of
// its own "Na função <funcao> do Módulo <modulo>".
int MensagemErro(const QString &texto, const QString &funcao, const QString &modulo);
