// One HD44780 controller as it takes bytes from its bus: instructions and
// characters, display memory (DDRAM), character-generator memory (CGRAM), the
// address counter and the entry mode. Eight-bit interface.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lumora::sim {

class HD44780Controller {
public:
    static constexpr int kLineLength = 40;  // characters per line in two-line mode
    static constexpr int kSecondLine = 0x40;

    HD44780Controller();

    void Instruction(uint8_t value);
    void Data(uint8_t value);

    // The character code shown at a position (0 to 39) of a line (0 or 1),
    // the display shift applied; a blank while the display is off.
    uint8_t Shown(int line, int position) const;
    // The eight pixel rows of custom character code (0 to 7, 8 to 15 alike).
    const uint8_t* Glyph(uint8_t code) const { return &cgram_[(code & 7) * 8]; }
    int AddressCounter() const { return address_; }
    bool DisplayOn() const { return displayOn_; }
    // The state a person debugging the wiring wants to see, in one line.
    std::string Describe() const;

private:
    void Clear();
    void MoveAddress(int step);

    std::array<uint8_t, 128> ddram_;
    std::array<uint8_t, 64> cgram_;
    int address_ = 0;
    bool toCgram_ = false;       // the address counter points into CGRAM
    bool increment_ = true;      // entry mode I/D
    bool shiftDisplay_ = false;  // entry mode S
    int shift_ = 0;              // display shift, positions to the left
    bool displayOn_ = false;
    bool cursorOn_ = false;
    bool blinkOn_ = false;
    bool eightBit_ = true;
    bool twoLine_ = false;
    unsigned long instructions_ = 0;
    unsigned long characters_ = 0;
};

}  // namespace lumora::sim
