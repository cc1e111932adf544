// The driver's only timing: the platform's millisecond sleep.
#pragma once

#include <cstdint>

namespace wren {

// Suspends the calling thread for ms milliseconds (ms > 0).
void Pause(int32_t ms);

}  // namespace wren
