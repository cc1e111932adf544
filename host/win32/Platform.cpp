// Windows halves of plug-in loading, the clock and the program's wait.
#include <windows.h>

#include "../Host.h"
#include "../Plugin.h"
#include "../Wait.h"
#include "Win32Error.h"

namespace lumora::detail {

std::string PluginPathForName(const std::string& name)
{
    char self[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string directory(self, n);
    const size_t slash = directory.find_last_of("\\/");
    directory = slash == std::string::npos ? "." : directory.substr(0, slash);
    return directory + "\\" + name + ".dll";
}

void* OpenLibrary(const std::string& path, std::string& error)
{
    HMODULE library = LoadLibraryA(path.c_str());
    if (library == nullptr) error = Win32ErrorText(GetLastError());
    return reinterpret_cast<void*>(library);
}

void* FindSymbol(void* library, const char* symbol)
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol));
}

void CloseLibrary(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

}  // namespace lumora::detail

int64_t DisplayDevice::MonotonicMs() { return static_cast<int64_t>(GetTickCount64()); }

namespace lumora::detail {

// Waits while dispatching this thread's window messages, so that a driver's
// window paints and answers while the program waits.
void PlatformWaitMs(int ms)
{
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(ms > 0 ? ms : 0);
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

}  // namespace lumora::detail
