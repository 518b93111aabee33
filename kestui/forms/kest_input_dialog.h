// The framework's modal input box: a prompt, one edit line, "OK" and
// "Отмена".
#pragma once

#include "kestui/forms/kest_form.h"

// Shows the box centred on the screen, owned by owner (may be null), with
// the edit holding initialText (may be null) and the focus. Answers the
// edit's text in a new block (FreeBuffer) when "OK" or Enter ends it, or
// null when the text is empty or the box was cancelled ("Отмена", Esc or
// the close box). The box is gone when the function returns.
wchar_t* ShowInputDialog(CKestForm* owner, const wchar_t* caption, const wchar_t* prompt,
                         const wchar_t* initialText);
