// The library's configuration, read from the environment at each call that
// needs it, so that a change is seen by the next call.
#pragma once

namespace lcdriver {

struct Size {
    int columns = 0;
    int rows = 0;
    bool operator==(const Size&) const = default;
};

// "COLSxROWS", each 1 to 255; false for anything else.
bool ParseSize(const char* text, Size& size);
// LCDRIVER_SIZE, 20 x 4 when it is unset or empty, 0 x 0 when it cannot be read.
Size ConfiguredSize();
// LCDRIVER_BUSY set (not empty): someone else holds the display.
bool HeldElsewhere();
// LCDRIVER_TRACE, or null when it is unset or empty.
const char* TracePath();

}  // namespace lcdriver
