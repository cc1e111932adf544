#include "PortAddress.h"

#include <cstring>

namespace wren {

namespace {

constexpr int32_t kControlOffset = 2;
constexpr int32_t kLastIoPort = 0xFFFF;

struct StandardPort {
    const char* name;
    int32_t address;
};
constexpr StandardPort kStandardPorts[] = {{"LPT1", 0x378}, {"LPT2", 0x278}, {"LPT3", 0x3BC}};

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int32_t ReadPortName(const char* name)
{
    for (const StandardPort& port : kStandardPorts)
        if (std::strcmp(name, port.name) == 0) return port.address;

    const char* p = name;
    while (IsSpace(*p)) ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-') ++p;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
    // The magnitude stops growing one past the largest int32_t, which is
    // enough to tell either limit.
    constexpr int64_t kCap = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (int digit; (digit = HexDigit(*p)) >= 0; ++p) {
        magnitude = magnitude * 16 + digit;
        if (magnitude > kCap) magnitude = kCap;
    }
    if (negative) return static_cast<int32_t>(-magnitude);  // -kCap is INT32_MIN
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

bool IsUsablePortAddress(int32_t address) { return address > 0 && address <= kLastIoPort - kControlOffset; }

}  // namespace wren
