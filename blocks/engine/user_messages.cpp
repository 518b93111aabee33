#include "blocks/engine/user_messages.h"

#include "kestui/kest_dialogs.h"

namespace {
BeUserMessages g_defaultMessages;
BeUserMessages* g_messages = &g_defaultMessages;
}  // namespace

int BeUserMessages::Show(UINT flags, const wchar_t* caption, const wchar_t* text) {
  return ShowMessageText(nullptr, flags, caption, text);
}

BeUserMessages* BeUserMessages::Current() { return g_messages; }

BeUserMessages* BeUserMessages::Install(BeUserMessages* messages) {
  BeUserMessages* old = g_messages;
  g_messages = messages ? messages : &g_defaultMessages;
  return old;
}
