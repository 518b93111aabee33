// Velkboard's command line and the paths it leads to: the tokens (a path
// in double quotes may hold blanks) and the robot scheme of a 3ds Max model.
#pragma once

#include <string>

// Skips blanks and tabs, then reads one token and advances the cursor past
// it: in double quotes up to the closing quote (which is stepped over) or
// the end; otherwise up to a blank, a tab or the end. A token is taken
// whole however long it is; at the end of the text the token is empty.
std::wstring NextCommandLineToken(const wchar_t** cursor);

// The robots folder followed by the model's file name (without its folder)
// with its extension replaced by ".vlkx".
std::wstring BuildRobotSchemePath(const std::wstring& robotsFolder, const wchar_t* modelPath);
