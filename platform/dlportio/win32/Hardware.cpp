// Port writes on Windows go through an installed port-I/O driver library,
// since a program cannot reach I/O ports itself: the InpOut library's Out32,
// when inpoutx64.dll (64-bit) or inpout32.dll (32-bit) can be loaded.
#include "../Hardware.h"

#include <windows.h>

#include <cstdio>

namespace dlportio {

namespace {
#if defined(_WIN64)
constexpr const char* kPortLibrary = "inpoutx64.dll";
#else
constexpr const char* kPortLibrary = "inpout32.dll";
#endif

typedef void(__stdcall* Out32Function)(short port, short value);

Out32Function FindOut32()
{
    HMODULE library = LoadLibraryA(kPortLibrary);
    FARPROC out32 = library != nullptr ? GetProcAddress(library, "Out32") : nullptr;
    if (out32 == nullptr) {
        std::fprintf(stderr, "DlPortIO: no port I/O driver library (%s) is installed; port writes are not made\n",
                     kPortLibrary);
        return nullptr;
    }
    return reinterpret_cast<Out32Function>(reinterpret_cast<void*>(out32));
}
}  // namespace

void WriteHardwarePort(uint16_t port, uint8_t value)
{
    static const Out32Function out32 = FindOut32();
    if (out32 != nullptr) out32(static_cast<short>(port), static_cast<short>(value));
}

}  // namespace dlportio
