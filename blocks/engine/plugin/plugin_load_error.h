// The failure of a plug-in block's record to load.
#pragma once

#include <exception>

// Thrown by the load of an older record whose module, kind or block cannot be
// had: the load of the whole document fails.
class BePluginLoadError : public std::exception {
public:
  const char* what() const noexcept override { return "plugin load error"; }
  // "Ошибка в plugin"
  const wchar_t* Text() const noexcept;
};
