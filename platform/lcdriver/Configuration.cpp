#include "Configuration.h"

#include <cstdlib>

#include "VirtualDisplay.h"

namespace lcdriver {

namespace {

constexpr Size kDefaultSize{20, 4};

const char* Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// A whole number from 1 to the largest side, in decimal digits alone.
bool ReadSide(const char*& p, int& side)
{
    side = 0;
    const char* start = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        side = side * 10 + (*p - '0');
        if (side > VirtualDisplay::kMaxSide) return false;
    }
    return p != start && side >= 1;
}

}  // namespace

bool ParseSize(const char* text, Size& size)
{
    const char* p = text;
    Size read;
    if (!ReadSide(p, read.columns) || (*p != 'x' && *p != 'X')) return false;
    ++p;
    if (!ReadSide(p, read.rows) || *p != '\0') return false;
    size = read;
    return true;
}

Size ConfiguredSize()
{
    const char* text = Variable("LCDRIVER_SIZE");
    if (text == nullptr) return kDefaultSize;
    Size size;
    return ParseSize(text, size) ? size : Size{};
}

bool HeldElsewhere() { return Variable("LCDRIVER_BUSY") != nullptr; }

const char* TracePath() { return Variable("LCDRIVER_TRACE"); }

}  // namespace lcdriver
