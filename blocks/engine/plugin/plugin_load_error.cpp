#include "blocks/engine/plugin/plugin_load_error.h"

const wchar_t* BePluginLoadError::Text() const noexcept { return L"Ошибка в plugin"; }
