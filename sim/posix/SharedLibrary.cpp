#include "SharedLibrary.h"

#include <dlfcn.h>

namespace lumora::sim {

SharedLibrary::SharedLibrary(const char* fileName) : handle_(dlopen(fileName, RTLD_NOW | RTLD_LOCAL)) {}

SharedLibrary::~SharedLibrary()
{
    if (handle_ != nullptr) dlclose(handle_);
}

void* SharedLibrary::Symbol(const char* name) const { return handle_ != nullptr ? dlsym(handle_, name) : nullptr; }

}  // namespace lumora::sim
