// Compiler and platform specifics of the driver contract, kept in one place.
//
// The contract header must compile with any host compiler from C++11 on:
// g++ on Linux, MinGW-w64 (i686 and x86_64) and MSVC.
#ifndef LUMORA_PLATFORM_H
#define LUMORA_PLATFORM_H

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
// Off Windows the contract needs only two opaque handle types: the owner window
// passed to CreateDisplayDevice and the settings key passed to the settings
// operations. They have the shape of Windows' strict handles and nothing else.
typedef struct HWND__* HWND;
typedef struct HKEY__* HKEY;
#endif

// LUMORA_API marks what the host library lumora exports; LUMORA_BUILDING_HOST is
// defined only while the host library itself is compiled.
#if defined(_WIN32)
#if defined(LUMORA_BUILDING_HOST)
#define LUMORA_API __declspec(dllexport)
#else
#define LUMORA_API __declspec(dllimport)
#endif
#define LUMORA_PLUGIN_EXPORT extern "C" __declspec(dllexport)
#else
#define LUMORA_API __attribute__((visibility("default")))
#define LUMORA_PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The calling convention of CreateDisplayDevice: plain C (cdecl), so that the
// export keeps its undecorated name on x86 and x64 alike.
#if defined(_WIN32) && !defined(_WIN64)
#define LUMORA_CDECL __cdecl
#else
#define LUMORA_CDECL
#endif

#endif
