// POSIX halves of plug-in loading, the clock and the program's wait.
#include <dlfcn.h>
#include <limits.h>
#include <time.h>
#include <unistd.h>

#include "../Host.h"
#include "../Plugin.h"
#include "../Wait.h"

namespace lumora::detail {

std::string PluginPathForName(const std::string& name)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string directory = ".";
    if (n > 0) {
        directory.assign(self, static_cast<size_t>(n));
        directory.erase(directory.rfind('/'));
    }
    return directory + "/" + name + ".so";
}

void* OpenLibrary(const std::string& path, std::string& error)
{
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "unknown error";
    }
    return library;
}

void* FindSymbol(void* library, const char* symbol) { return dlsym(library, symbol); }

void CloseLibrary(void* library) { dlclose(library); }

}  // namespace lumora::detail

int64_t DisplayDevice::MonotonicMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

namespace lumora::detail {

void PlatformWaitMs(int ms)
{
    if (ms <= 0) return;
    timespec wait{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

}  // namespace lumora::detail
