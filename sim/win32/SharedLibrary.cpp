#include "SharedLibrary.h"

#include <windows.h>

namespace lumora::sim {

SharedLibrary::SharedLibrary(const char* fileName) : handle_(reinterpret_cast<void*>(LoadLibraryA(fileName))) {}

SharedLibrary::~SharedLibrary()
{
    if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(handle_));
}

void* SharedLibrary::Symbol(const char* name) const
{
    return handle_ != nullptr ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name)) : nullptr;
}

}  // namespace lumora::sim
