#include "HD44780Controller.h"

#include <cstdio>

namespace lumora::sim {

namespace {
// Instructions are told apart by their highest set bit.
constexpr uint8_t kSetDdramAddress = 0x80;
constexpr uint8_t kSetCgramAddress = 0x40;
constexpr uint8_t kFunctionSet = 0x20;     // DL 0x10, N 0x08
constexpr uint8_t kShift = 0x10;           // S/C 0x08 (display, not cursor), R/L 0x04
constexpr uint8_t kDisplayControl = 0x08;  // D 0x04, C 0x02, B 0x01
constexpr uint8_t kEntryMode = 0x04;       // I/D 0x02, S 0x01
constexpr uint8_t kReturnHome = 0x02;
constexpr uint8_t kClearDisplay = 0x01;
constexpr uint8_t kBlank = 0x20;
constexpr int kOneLineLength = 80;  // one-line mode: addresses 0x00 to 0x4F
}  // namespace

// As after the controller's own reset at power-on: cleared, display off,
// eight-bit one-line mode, address moving up.
HD44780Controller::HD44780Controller()
{
    cgram_.fill(0);
    Clear();
}

void HD44780Controller::Clear()
{
    ddram_.fill(kBlank);
    address_ = 0;
    toCgram_ = false;
    increment_ = true;
    shift_ = 0;
}

void HD44780Controller::Instruction(uint8_t value)
{
    ++instructions_;
    if (value & kSetDdramAddress) {
        address_ = value & 0x7F;
        toCgram_ = false;
    } else if (value & kSetCgramAddress) {
        address_ = value & 0x3F;
        toCgram_ = true;
    } else if (value & kFunctionSet) {
        eightBit_ = (value & 0x10) != 0;
        twoLine_ = (value & 0x08) != 0;
    } else if (value & kShift) {
        const int step = (value & 0x04) ? 1 : -1;
        if (value & 0x08)
            shift_ = (shift_ - step + kLineLength) % kLineLength;  // the display moves right on R
        else
            MoveAddress(step);
    } else if (value & kDisplayControl) {
        displayOn_ = (value & 0x04) != 0;
        cursorOn_ = (value & 0x02) != 0;
        blinkOn_ = (value & 0x01) != 0;
    } else if (value & kEntryMode) {
        increment_ = (value & 0x02) != 0;
        shiftDisplay_ = (value & 0x01) != 0;
    } else if (value & kReturnHome) {
        address_ = 0;
        toCgram_ = false;
        shift_ = 0;
    } else if (value & kClearDisplay) {
        Clear();
    }
}

// The address counter wraps as the memory is laid out: in two-line mode from
// the end of the first line (0x27) to the second (0x40) and from the end of
// the second (0x67) back to 0.
void HD44780Controller::MoveAddress(int step)
{
    if (toCgram_) {
        address_ = (address_ + step) & 0x3F;
        return;
    }
    if (!twoLine_) {
        address_ = (address_ + step + kOneLineLength) % kOneLineLength;
        return;
    }
    const int line = address_ >= kSecondLine ? 1 : 0;
    int position = (address_ & 0x3F) + step;
    int next = line;
    if (position >= kLineLength) {
        position = 0;
        next = 1 - line;
    } else if (position < 0) {
        position = kLineLength - 1;
        next = 1 - line;
    }
    address_ = next * kSecondLine + position;
}

void HD44780Controller::Data(uint8_t value)
{
    ++characters_;
    if (toCgram_)
        cgram_[address_] = value & 0x1F;  // five pixels a row
    else
        ddram_[address_] = value;
    const int step = increment_ ? 1 : -1;
    MoveAddress(step);
    if (shiftDisplay_ && !toCgram_) shift_ = (shift_ + step + kLineLength) % kLineLength;
}

uint8_t HD44780Controller::Shown(int line, int position) const
{
    if (!displayOn_) return kBlank;
    if (!twoLine_) return line == 0 ? ddram_[(position + shift_) % kOneLineLength] : kBlank;
    return ddram_[line * kSecondLine + (position + shift_) % kLineLength];
}

std::string HD44780Controller::Describe() const
{
    char text[200];
    std::snprintf(
        text, sizeof text, "display %s%s%s, %s %s, %s address %02X, entry %s%s, %lu instructions, %lu characters",
        displayOn_ ? "on" : "off", cursorOn_ ? ", cursor" : "", blinkOn_ ? ", blinking" : "",
        eightBit_ ? "8-bit" : "4-bit (not emulated)", twoLine_ ? "two-line" : "one-line", toCgram_ ? "CGRAM" : "DDRAM",
        address_, increment_ ? "up" : "down", shiftDisplay_ ? " with shift" : "", instructions_, characters_);
    return text;
}

}  // namespace lumora::sim
