// The search of the find dialog over the script editor's text.
#pragma once

// Where pattern occurs in text[0, length) as the find dialog looks from the
// caret: forward, the first occurrence that starts after the caret;
// backward, the last occurrence that ends at the caret or before it. The
// comparison is exact. -1 when there is none (or pattern is empty, or the
// caret lies outside the text).
int FindScriptText(const wchar_t* text, int length, int caret, const wchar_t* pattern, bool backward);
