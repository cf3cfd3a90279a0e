#pragma once
#include <QString>

// Sends keystrokes to the control that has the focus, as if the user typed
// them: "{TAB}", "+{TAB}" (Shift+Tab), "{ENTER}" (also "~"), "{ESC}", "{F2}",
// "{DOWN}" and the other named keys, "+" Shift, "^" Ctrl and "%" Alt before a
// key or a group in parentheses, "{X n}" for n times X, "{+}" for a plain
// plus sign, and plain characters. The keys are queued and delivered in order
// once control returns to the event loop, each to the control that has the
// focus at that moment, so a "{TAB}" leaving an input field runs the field's
// check exactly like the user's Tab. Keys still queued when the window that
// sent them closes are dropped.
void EnviaTeclas(const QString &teclas);
