// The macro block's property dialog: its name and its two port lists
// ("Входы" and "Выходы", each row a name and a type, carrying the port
// block it was built from). "OK" and "Открыть внутренюю схему" write the
// rows back (ApplyMacroProperties: ports made and deleted to match, each
// row keeping its port and its macro pin with their links); the second
// then opens the nested scheme in a block-diagram editor.
#pragma once

class CBEBlock;

// The modal result of "Открыть внутренюю схему".
const int kBeOpenNestedSchemeResult = 1000;

// True after "OK" and after "Открыть внутренюю схему"; false, with nothing
// changed, otherwise (or for a block that is no macro block).
bool ShowMacroDialog(CBEBlock* block);
