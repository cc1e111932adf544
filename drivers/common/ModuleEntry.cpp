// Every driver library's load notification on Windows: it records the module's
// instance handle and always answers with success, so loading never fails.
#include <windows.h>

#include "ModuleEntry.h"

HINSTANCE lumoraModuleInstance = nullptr;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) lumoraModuleInstance = instance;
    return TRUE;
}
