// Where a parallel port named by the user lives in the I/O space.
#pragma once

#include <cstdint>

namespace wren {

// "LPT1", "LPT2" and "LPT3" (exactly, case-sensitively) are the PC's standard
// ports 0x378, 0x278 and 0x3BC. Any other name is read as a hexadecimal
// number: leading white space, an optional sign, an optional "0x" or "0X",
// then hexadecimal digits of either case up to the first other character
// ("3BC", "0x3BC" and "3BCh" are all 0x3BC). A value past the signed 32-bit
// range stands at the nearest limit.
int32_t ReadPortName(const char* name);

// Whether a port address can be written: both the data register and the
// control register two above it lie in the PC's I/O space (1 to 0xFFFF).
bool IsUsablePortAddress(int32_t address);

}  // namespace wren
