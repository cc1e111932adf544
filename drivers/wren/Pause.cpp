#include "Pause.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <cerrno>
#include <ctime>
#endif

namespace wren {

#if defined(_WIN32)
void Pause(int32_t ms) { Sleep(static_cast<DWORD>(ms)); }
#else
void Pause(int32_t ms)
{
    timespec wait{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}
#endif

}  // namespace wren
