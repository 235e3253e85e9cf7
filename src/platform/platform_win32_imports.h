// A loaded module's imports as the loader bound them, read from its import
// tables: where the plug-in's scriptRegister came from, and, for the tests'
// host, which of the plug-in's calls to watch.
//
// Windows only, and apart from platform.h: the core never sees a module
// handle. Reads the module's own image in memory; loads nothing and writes
// nothing.
#pragma once

#include <windows.h>

// The slot of module's import address table that holds the function imported
// under the name function (from the DLL named dll, in any case, or from any
// when dll is null): what the loader bound it to. Null when the module
// imports no such name. The names are read from the import name table, which
// the loader leaves as the linker wrote it.
ULONG_PTR* platform_import_slot(HMODULE module, const char* dll, const char* function);
