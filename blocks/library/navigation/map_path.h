// Where the navigation map file is written.
#pragma once

// The full path of the map file called name, as a heap text the caller
// frees with FreeBuffer; null for a missing or empty name (or when memory
// runs out). A name whose second character is ':' or '|', or that begins
// with two backslashes, is used as it is; any other name is taken relative
// to the "Robots\" folder of the program folder (the program file's path up
// to and including its last '\', '/' or '|'). The path has whatever length
// the name gives it.
wchar_t* ResolveMapPath(const wchar_t* name);
// The same with the program folder given (it ends with its separator).
wchar_t* ResolveMapPath(const wchar_t* name, const wchar_t* programFolder);
