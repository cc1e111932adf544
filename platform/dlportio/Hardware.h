// The real I/O port write, one half per platform, called with the library's
// lock held. Each half says once on stderr when it cannot reach the port, and
// then drops the writes.
#pragma once

#include <cstdint>

namespace dlportio {

void WriteHardwarePort(uint16_t port, uint8_t value);

}  // namespace dlportio
