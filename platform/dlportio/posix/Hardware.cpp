// Port writes on Linux x86: outb, once ioperm (ports below 0x400) or iopl
// (above) has granted the port, which takes root or CAP_SYS_RAWIO. Elsewhere
// there is no port I/O to reach.
#include "../Hardware.h"

#include <cstdio>
#include <cstring>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include <sys/io.h>

#include <bitset>
#include <cerrno>

namespace dlportio {

namespace {
constexpr uint32_t kIopermPorts = 0x400;  // ioperm reaches ports below this; iopl the rest

std::bitset<0x10000> granted;
bool allGranted = false;
bool toldRefusal = false;

bool Grant(uint16_t port)
{
    if (allGranted || granted[port]) return true;
    const int result = port < kIopermPorts ? ioperm(port, 1, 1) : iopl(3);
    if (result != 0) {
        if (!toldRefusal)
            std::fprintf(stderr, "DlPortIO: no access to I/O port %X (%s); port writes are not made\n",
                         static_cast<unsigned>(port), std::strerror(errno));
        toldRefusal = true;
        return false;
    }
    if (port < kIopermPorts)
        granted[port] = true;
    else
        allGranted = true;
    return true;
}
}  // namespace

void WriteHardwarePort(uint16_t port, uint8_t value)
{
    if (Grant(port)) outb(value, port);
}

}  // namespace dlportio

#else

namespace dlportio {

void WriteHardwarePort(uint16_t, uint8_t)
{
    static bool told = false;
    if (!told) std::fprintf(stderr, "DlPortIO: this system has no I/O ports to write; port writes are not made\n");
    told = true;
}

}  // namespace dlportio

#endif
