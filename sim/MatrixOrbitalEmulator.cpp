#include "MatrixOrbitalEmulator.h"

#include <cstdio>

namespace lumora::sim {

namespace {
constexpr unsigned char kPrefix = 0xFE;
constexpr unsigned char kBlank = ' ';
constexpr int kDefaultColumns = 20;
constexpr int kDefaultRows = 4;
constexpr double kDebounceStepMs = 6.554;

// The commands the display knows and how many argument bytes follow each.
struct CommandShape {
    unsigned char letter;
    int arguments;
};
constexpr CommandShape kCommands[] = {
    {'B', 1},  // backlight on, for m minutes (0: no limit)
    {'F', 0},  // backlight off
    {'C', 0},  // auto line-wrap on
    {'D', 0},  // auto line-wrap off
    {'Q', 0},  // auto scroll on
    {'R', 0},  // auto scroll off
    {'J', 0},  // underline cursor on
    {'K', 0},  // underline cursor off
    {'S', 0},  // blinking cursor on
    {'T', 0},  // blinking cursor off
    {'P', 1},  // contrast
    {'Y', 1},  // VFD brightness level
    {'U', 1},  // keypad debounce
    {'X', 0},  // clear display
    {'H', 0},  // cursor home
    {'G', 2},  // cursor to column, row (from 1)
    {'N', 9},  // custom character: index, eight pixel rows
    {'V', 1},  // output off
    {'W', 1},  // output on
};

int ArgumentsOf(unsigned char letter)
{
    for (const CommandShape& c : kCommands)
        if (c.letter == letter) return c.arguments;
    return -1;
}

std::string HexByte(unsigned char b)
{
    char text[4];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

const char* OnOff(bool on) { return on ? "on" : "off"; }
}  // namespace

MatrixOrbitalEmulator::MatrixOrbitalEmulator(std::string model, int columns, int rows)
    : model_(std::move(model)), columns_(columns), rows_(rows)
{
    if (columns_ < 1 || columns_ > kMaxColumns || rows_ < 1 || rows_ > kMaxRows) {
        columns_ = kDefaultColumns;
        rows_ = kDefaultRows;
    }
    cells_.fill(kBlank);
}

// The LK and VK modules carry a keypad.
bool MatrixOrbitalEmulator::HasKeypad() const { return model_.rfind("LK", 0) == 0 || model_.rfind("VK", 0) == 0; }

std::string MatrixOrbitalEmulator::Title() const
{
    std::string title = "Matrix Orbital ";
    if (!model_.empty()) title += model_ + " ";
    return title + std::to_string(columns_) + "x" + std::to_string(rows_);
}

// The module's character set: ASCII, except that 5C is a yen sign and 7E an
// arrow; backslash and tilde live at 8C and 8E. Codes 0-7 are the custom
// characters.
std::string MatrixOrbitalEmulator::Glyph(unsigned char code) const
{
    static const char* const kCustom[8] = {"\xE2\x93\xAA", "\xE2\x91\xA0", "\xE2\x91\xA1", "\xE2\x91\xA2",
                                           "\xE2\x91\xA3", "\xE2\x91\xA4", "\xE2\x91\xA5", "\xE2\x91\xA6"};
    if (code < 8) return kCustom[code];  // circled digits 0-7
    switch (code) {
    case 0x5C: return "\xC2\xA5";      // yen
    case 0x7E: return "\xE2\x86\x92";  // right arrow
    case 0x8C: return "\\";
    case 0x8E: return "~";
    default: return Emulator::Glyph(code);
    }
}

void MatrixOrbitalEmulator::Receive(const unsigned char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        switch (expect_) {
        case Expect::Text:
            if (b == kPrefix)
                expect_ = Expect::Letter;
            else
                Character(b);
            break;
        case Expect::Letter:
            letter_ = b;
            argumentsNeeded_ = ArgumentsOf(b);
            argumentsHeld_ = 0;
            if (argumentsNeeded_ < 0) {
                ++unknownCommands_;
                lastUnknownLetter_ = b;
                expect_ = Expect::Text;
            } else if (argumentsNeeded_ == 0) {
                Command(letter_, nullptr);
                expect_ = Expect::Text;
            } else {
                expect_ = Expect::Arguments;
            }
            break;
        case Expect::Arguments:
            arguments_[argumentsHeld_++] = b;
            if (argumentsHeld_ == argumentsNeeded_) {
                Command(letter_, arguments_.data());
                expect_ = Expect::Text;
            }
            break;
        }
    }
    Changed();
}

// A character lands at the cursor, which moves right. Past the row's end the
// display wraps to the next row when line-wrap is on (and at the bottom
// scrolls up, or starts again at the top); with line-wrap off the characters
// go nowhere until the cursor is set again.
void MatrixOrbitalEmulator::Character(unsigned char code)
{
    if (column_ >= columns_) {
        if (!lamps_.lineWrap) {
            ++pastRowEnd_;
            return;
        }
        column_ = 0;
        if (++row_ >= rows_) {
            row_ = lamps_.autoScroll ? rows_ - 1 : 0;
            if (lamps_.autoScroll) {
                for (int r = 1; r < rows_; ++r)
                    for (int c = 0; c < columns_; ++c) cells_[(r - 1) * kMaxColumns + c] = cells_[r * kMaxColumns + c];
                for (int c = 0; c < columns_; ++c) cells_[row_ * kMaxColumns + c] = kBlank;
            }
        }
    }
    cells_[row_ * kMaxColumns + column_] = code;
    ++column_;
}

void MatrixOrbitalEmulator::ClearCells()
{
    cells_.fill(kBlank);
    column_ = 0;
    row_ = 0;
    ++clears_;
}

void MatrixOrbitalEmulator::Command(unsigned char letter, const unsigned char* a)
{
    switch (letter) {
    case 'B': lamps_.backlight = true; break;
    case 'F': lamps_.backlight = false; break;
    case 'C': lamps_.lineWrap = true; break;
    case 'D': lamps_.lineWrap = false; break;
    case 'Q': lamps_.autoScroll = true; break;
    case 'R': lamps_.autoScroll = false; break;
    case 'J': lamps_.underlineCursor = true; break;
    case 'K': lamps_.underlineCursor = false; break;
    case 'S': lamps_.blinkingCursor = true; break;
    case 'T': lamps_.blinkingCursor = false; break;
    case 'P': lamps_.contrast = a[0]; break;
    case 'Y': lamps_.brightness = a[0] & 3; break;  // four levels: the low two bits
    case 'U': lamps_.debounce = a[0]; break;
    case 'X': ClearCells(); break;
    case 'H':
        column_ = 0;
        row_ = 0;
        break;
    case 'G':
        if (a[0] >= 1 && a[0] <= columns_ && a[1] >= 1 && a[1] <= rows_) {
            column_ = a[0] - 1;
            row_ = a[1] - 1;
        } else {
            ++ignoredPositions_;  // a cell the display does not have
        }
        break;
    case 'N':
        if (a[0] < customChars_.size()) {
            std::array<unsigned char, 8> bitmap;
            for (int r = 0; r < 8; ++r) bitmap[r] = a[1 + r] & 0x1F;  // five pixels a row
            customChars_[a[0]] = bitmap;
        } else {
            ++ignoredCustomChars_;
        }
        break;
    case 'V': outputs_[a[0]] = false; break;
    case 'W': outputs_[a[0]] = true; break;
    }
}

std::vector<std::string> MatrixOrbitalEmulator::Status() const
{
    std::string lamps = std::string("backlight ") + OnOff(lamps_.backlight);
    if (lamps_.contrast) lamps += ", contrast " + std::to_string(*lamps_.contrast) + " of 255";
    if (lamps_.brightness) lamps += ", brightness level " + std::to_string(*lamps_.brightness) + " of 3";
    if (lamps_.debounce) {
        char ms[32];
        std::snprintf(ms, sizeof ms, "%.0f", *lamps_.debounce * kDebounceStepMs);
        lamps += ", key debounce " + std::to_string(*lamps_.debounce) + " (about " + ms + " ms)";
    }
    std::vector<std::string> lines{lamps};
    lines.push_back("cursor at column " + std::to_string(column_ + 1) + ", row " + std::to_string(row_ + 1) +
                    "; underline " + OnOff(lamps_.underlineCursor) + ", blinking " + OnOff(lamps_.blinkingCursor) +
                    "; line-wrap " + OnOff(lamps_.lineWrap) + ", scroll " + OnOff(lamps_.autoScroll) + "; clears " +
                    std::to_string(clears_));
    if (!outputs_.empty()) {
        std::string outputs = "outputs:";
        for (const auto& [number, on] : outputs_) outputs += " " + std::to_string(number) + " " + OnOff(on);
        lines.push_back(outputs);
    }
    for (std::string& line : CustomCharLines()) lines.push_back(std::move(line));
    if (pastRowEnd_ > 0) lines.push_back("characters past a row's end (line-wrap off): " + std::to_string(pastRowEnd_));
    if (ignoredPositions_ > 0)
        lines.push_back("positions off the display ignored: " + std::to_string(ignoredPositions_));
    if (ignoredCustomChars_ > 0)
        lines.push_back("custom characters past 7 ignored: " + std::to_string(ignoredCustomChars_));
    if (unknownCommands_ > 0)
        lines.push_back("unknown commands: " + std::to_string(unknownCommands_) + " (last FE " +
                        HexByte(lastUnknownLetter_) + ")");
    if (HasKeypad()) lines.push_back("keys typed here are pressed on the keypad (A-Y on its 5 x 5 keys)");
    return lines;
}

// The defined custom characters side by side, two pixel rows a line with
// half blocks, under their circled numbers.
std::vector<std::string> MatrixOrbitalEmulator::CustomCharLines() const
{
    std::vector<int> defined;
    for (int i = 0; i < 8; ++i)
        if (customChars_[i]) defined.push_back(i);
    if (defined.empty()) return {};
    std::vector<std::string> lines(5, "");
    lines[0] = "custom:";
    for (int i : defined) lines[0].append(" ").append(Glyph(static_cast<unsigned char>(i))).append("    ");
    for (int pair = 0; pair < 4; ++pair) {
        std::string& line = lines[1 + pair];
        line = "       ";
        for (int i : defined) {
            line += " ";
            for (int bit = 4; bit >= 0; --bit) {
                const bool top = ((*customChars_[i])[2 * pair] >> bit) & 1;
                const bool bottom = ((*customChars_[i])[2 * pair + 1] >> bit) & 1;
                line += top && bottom ? "\xE2\x96\x88" : top ? "\xE2\x96\x80" : bottom ? "\xE2\x96\x84" : " ";
            }
        }
    }
    return lines;
}

}  // namespace lumora::sim
