#include "Emulator.h"

#include "CrystalfontzEmulator.h"
#include "FutabaEmulator.h"
#include "LCDriverEmulator.h"
#include "MatrixOrbitalEmulator.h"
#include "HD44780Emulator.h"

namespace lumora::sim {

std::string Emulator::Glyph(unsigned char code) const
{
    if (code >= 0x20 && code < 0x7F) return std::string(1, static_cast<char>(code));
    return "\xC2\xB7";  // a middle dot for codes with no plain-text look
}

void Emulator::SendToHost(unsigned char byte) { toHost_.push_back(byte); }

size_t Emulator::TakeSentToHost(unsigned char* buffer, size_t size)
{
    size_t n = 0;
    while (n < size && !toHost_.empty()) {
        buffer[n++] = toHost_.front();
        toHost_.pop_front();
    }
    return n;
}

std::unique_ptr<Emulator> CreateEmulator(const std::string& driver, const std::string& model, int columns, int rows)
{
    if (driver == "plover") return std::make_unique<FutabaEmulator>();
    if (driver == "heron") return std::make_unique<MatrixOrbitalEmulator>(model, columns, rows);
    if (driver == "wren") return std::make_unique<HD44780Emulator>(columns, rows);
    if (driver == "kestrel") return std::make_unique<CrystalfontzEmulator>(model, columns, rows);
    if (driver == "finch") return LCDriverEmulator::Connect();
    return nullptr;
}

}  // namespace lumora::sim
