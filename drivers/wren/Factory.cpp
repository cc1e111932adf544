// The library's one export.
#include <new>

#include "HD44780Device.h"

LUMORA_PLUGIN_EXPORT DisplayDevice* LUMORA_CDECL CreateDisplayDevice(HWND, const char*)
{
    return new (std::nothrow) HD44780Device;
}
