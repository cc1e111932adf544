#include "HD44780Emulator.h"

#include <cstdio>

#include "DlPortIO.h"

namespace lumora::sim {

namespace {
constexpr uint32_t kControlOffset = 2;
constexpr uint8_t kRegisterSelect = 0x04;        // nInit, not inverted: set for a character
constexpr uint8_t kEnableBits[] = {0x01, 0x08};  // nStrobe, nSelectIn: inverted, a set bit is a low line
constexpr int kCharactersPerController = 80;
constexpr int kHalfRow = 8;  // a one-row module of 16 columns is two lines of 8
constexpr int kOneRowSplitEnd = 16;
constexpr int kGlyphRows = 8;
constexpr int kGlyphPixels = 5 * kGlyphRows;
}  // namespace

HD44780Emulator::HD44780Emulator(int columns, int rows, uint32_t portAddress)
    : columns_(columns), rows_(rows), portAddress_(portAddress)
{
    const int controllers = columns * rows > kCharactersPerController ? 2 : 1;
    rowsPerController_ = controllers == 2 ? 2 : rows;
    controllers_.resize(controllers);
    observing_ = DlPortAddObserver(&HD44780Emulator::Observe, this) != 0;
}

HD44780Emulator::~HD44780Emulator()
{
    if (observing_) DlPortRemoveObserver(&HD44780Emulator::Observe, this);
}

void HD44780Emulator::Observe(void* context, uint32_t port, uint8_t value)
{
    static_cast<HD44780Emulator*>(context)->PortWrite(port, value);
}

void HD44780Emulator::PortWrite(uint32_t port, uint8_t value)
{
    if (port == portAddress_) {
        bus_ = value;
        return;
    }
    if (port != portAddress_ + kControlOffset) {
        ++otherPortWrites_;
        return;
    }
    bool latched = false;
    for (size_t c = 0; c < controllers_.size(); ++c) {
        const bool high = (value & kEnableBits[c]) == 0;
        if (enableHigh_[c] && !high) {
            if (value & kRegisterSelect)
                controllers_[c].Data(bus_);
            else
                controllers_[c].Instruction(bus_);
            latched = true;
        }
        enableHigh_[c] = high;
    }
    if (latched) Changed();
}

unsigned char HD44780Emulator::Cell(int row, int column) const
{
    const HD44780Controller& controller = controllers_[row / rowsPerController_];
    const int localRow = row % rowsPerController_;
    if (rows_ == 1 && column >= kHalfRow && column < kOneRowSplitEnd) return controller.Shown(1, column - kHalfRow);
    return controller.Shown(localRow % 2, column + (localRow >= 2 ? columns_ : 0));
}

std::string HD44780Emulator::Title() const
{
    char text[80];
    std::snprintf(text, sizeof text, "HD44780 %dx%d on port %X%s", columns_, rows_, static_cast<unsigned>(portAddress_),
                  controllers_.size() > 1 ? ", two controllers" : "");
    return text;
}

// Custom characters (codes 0 to 15) are shaded by how many of their pixels are
// lit; the rest of the character ROM shows as ASCII, with the few codes where
// the standard ROM differs.
std::string HD44780Emulator::Glyph(unsigned char code) const
{
    if (code < 16) {
        const uint8_t* rows = controllers_[0].Glyph(code);
        int lit = 0;
        for (int r = 0; r < kGlyphRows; ++r)
            for (uint8_t bits = rows[r] & 0x1F; bits != 0; bits &= bits - 1) ++lit;
        static const char* const kShades[] = {" ", "\xE2\x96\x91", "\xE2\x96\x92", "\xE2\x96\x93", "\xE2\x96\x88"};
        return kShades[(lit * 4 + kGlyphPixels - 1) / kGlyphPixels];
    }
    if (code == 0x5C) return "\xC2\xA5";      // yen sign
    if (code == 0x7E) return "\xE2\x86\x92";  // arrow right
    if (code == 0x7F) return "\xE2\x86\x90";  // arrow left
    return Emulator::Glyph(code);
}

std::vector<std::string> HD44780Emulator::Status() const
{
    std::vector<std::string> lines;
    for (size_t c = 0; c < controllers_.size(); ++c)
        lines.push_back("controller " + std::to_string(c) + ": " + controllers_[c].Describe());
    if (otherPortWrites_ > 0) lines.push_back("writes to other ports: " + std::to_string(otherPortWrites_));
    return lines;
}

}  // namespace lumora::sim
