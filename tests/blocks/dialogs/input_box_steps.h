// Answering the framework's input box from a test: a thread timer finds
// the box once it shows, records what it showed, types the text and closes
// it with OK or Отмена.
#pragma once

#include <string>

class CBEBlock;

namespace dialogtest {

// What the box showed, then the text typed and the way it was closed.
struct InputBoxScript {
  std::wstring typed;
  bool ok = true;
  bool seen = false;
  std::wstring caption, prompt, initial;
};

// Opens the block's properties (which show the input box) with script
// answering the box; answers what ShowProperties answered. The box must
// have shown.
bool RunInputBox(CBEBlock* block, InputBoxScript* script);

}  // namespace dialogtest
