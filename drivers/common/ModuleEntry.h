// The driver library's own module instance handle (Windows), recorded when the
// library is loaded.
#pragma once

#include <windows.h>

extern HINSTANCE lumoraModuleInstance;
