// The platform half of plug-in loading: open a library, find a symbol, close it.
#pragma once

#include <string>

namespace lumora::detail {

// The platform's file name of a driver called name, next to the program.
std::string PluginPathForName(const std::string& name);
// Null on failure, with the system's reason in error.
void* OpenLibrary(const std::string& path, std::string& error);
void* FindSymbol(void* library, const char* symbol);
void CloseLibrary(void* library);

}  // namespace lumora::detail
