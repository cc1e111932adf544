#include "CrystalfontzEmulator.h"

#include <algorithm>

namespace lumora::sim {

namespace {
constexpr unsigned char kCursorHome = 0x01;
constexpr unsigned char kHideCursor = 0x04;
constexpr unsigned char kFormFeed = 0x0C;
constexpr unsigned char kBacklight = 0x0E;
constexpr unsigned char kContrast = 0x0F;
constexpr unsigned char kSetCursor = 0x11;
constexpr unsigned char kScrollOn = 0x13;
constexpr unsigned char kScrollOff = 0x14;
constexpr unsigned char kMarqueeChar = 0x15;
constexpr unsigned char kMarqueeControl = 0x16;
constexpr unsigned char kWrapOn = 0x17;
constexpr unsigned char kWrapOff = 0x18;
constexpr unsigned char kDefineChar = 0x19;
constexpr unsigned char kToController = 0x1E;
constexpr unsigned char kControllerData = 0x01;  // 1E 01 b: b is a character code

constexpr unsigned char kFirstCharacter = 0x20;
constexpr unsigned char kCustomCharCodes = 0x80;      // custom characters 0-7 are 128-135
constexpr unsigned char kControllerCustomCodes = 16;  // the controller's 0-15: its custom characters, twice over
constexpr unsigned char kMarqueeStop = 255;
constexpr unsigned char kBlank = ' ';
constexpr int64_t kMarqueeStepsPerSecond = 96;

// How many argument bytes follow a command byte; 0 for those without.
size_t ArgumentCount(unsigned char command)
{
    switch (command) {
    case kBacklight:
    case kContrast: return 1;
    case kSetCursor:
    case kMarqueeChar:
    case kToController: return 2;
    case kMarqueeControl: return 3;
    case kDefineChar: return 9;
    default: return 0;
    }
}

// The custom character a code shows, or -1: the display's 128-135, and the
// controller's own 0-15 reached through the escape.
int CustomCharOf(unsigned char code)
{
    if (code < kControllerCustomCodes) return code & 7;
    if (code >= kCustomCharCodes && code < kCustomCharCodes + 8) return code - kCustomCharCodes;
    return -1;
}
}  // namespace

CrystalfontzEmulator::CrystalfontzEmulator(std::string model, int columns, int rows)
    : model_(std::move(model)), columns_(columns), rows_(rows), cells_(static_cast<size_t>(columns * rows), kBlank)
{
    marqueeChars_.fill(kBlank);
}

std::string CrystalfontzEmulator::Title() const
{
    return "Crystalfontz " + (model_.empty() ? std::string() : model_ + " ") + std::to_string(columns_) + "x" +
           std::to_string(rows_);
}

unsigned char CrystalfontzEmulator::Cell(int row, int column) const
{
    if (marquee_.running && row == marquee_.row) {
        const size_t size = marquee_.circle.size();
        return marquee_.circle[(static_cast<size_t>(marquee_.offset) + static_cast<size_t>(column)) % size];
    }
    return cells_[static_cast<size_t>(row * columns_ + column)];
}

// A custom character is drawn as a shade as dense as its lit pixels.
std::string CrystalfontzEmulator::Glyph(unsigned char code) const
{
    const int index = CustomCharOf(code);
    if (index < 0) return Emulator::Glyph(code);
    int lit = 0;
    for (unsigned char line : customChars_[index])
        for (int bit = 0; bit < 5; ++bit) lit += (line >> bit) & 1;
    if (lit == 0) return " ";
    if (lit <= 10) return "\xE2\x96\x91";  // light shade
    if (lit <= 20) return "\xE2\x96\x92";
    if (lit <= 30) return "\xE2\x96\x93";
    return "\xE2\x96\x88";  // full block
}

std::vector<std::string> CrystalfontzEmulator::Status() const
{
    auto percent = [](int value) { return value < 0 ? std::string("not set") : std::to_string(value) + "%"; };
    std::vector<std::string> lines{"contrast " + percent(contrast_) + ", backlight " + percent(backlight_) +
                                   ", cursor " + (cursorShown_ ? "shown" : "hidden") + ", wrap " +
                                   (wrap_ ? "on" : "off") + ", scroll " + (scroll_ ? "on" : "off")};
    if (marquee_.running)
        lines.push_back("marquee on row " + std::to_string(marquee_.row) + ": " + std::to_string(marquee_.step) +
                        " character(s) every " + std::to_string(marquee_.speed) + "/96 s" +
                        (marquee_.speed == 0 ? " (stands still)" : ""));
    if (unknownCommands_ > 0) lines.push_back("commands not understood: " + std::to_string(unknownCommands_));
    if (ignoredPositions_ > 0)
        lines.push_back("positions off the display ignored: " + std::to_string(ignoredPositions_));
    return lines;
}

void CrystalfontzEmulator::Receive(const unsigned char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        if (argumentsHave_ < argumentsWanted_) {
            arguments_[argumentsHave_++] = b;
            if (argumentsHave_ == argumentsWanted_) Command(pending_, arguments_.data());
        } else if (b >= kFirstCharacter) {
            Put(b);
        } else {
            pending_ = b;
            argumentsWanted_ = ArgumentCount(b);
            argumentsHave_ = 0;
            if (argumentsWanted_ == 0) Command(b, nullptr);
        }
    }
    Changed();
}

void CrystalfontzEmulator::Command(unsigned char command, const unsigned char* a)
{
    argumentsWanted_ = argumentsHave_ = 0;
    switch (command) {
    case kCursorHome: cursorRow_ = cursorColumn_ = 0; break;
    case kHideCursor: cursorShown_ = false; break;
    case kFormFeed:
        std::fill(cells_.begin(), cells_.end(), kBlank);
        cursorRow_ = cursorColumn_ = 0;
        break;
    case kBacklight: backlight_ = a[0]; break;
    case kContrast: contrast_ = a[0]; break;
    case kSetCursor:
        if (a[0] < columns_ && a[1] < rows_) {
            cursorColumn_ = a[0];
            cursorRow_ = a[1];
        } else {
            ++ignoredPositions_;
        }
        break;
    case kScrollOn: scroll_ = true; break;
    case kScrollOff: scroll_ = false; break;
    case kWrapOn: wrap_ = true; break;
    case kWrapOff: wrap_ = false; break;
    case kMarqueeChar:
        if (a[0] < kMarqueeChars)
            marqueeChars_[a[0]] = a[1];
        else
            ++unknownCommands_;
        break;
    case kMarqueeControl:
        if (a[0] == kMarqueeStop)
            StopMarquee();
        else if (a[0] < rows_)
            StartMarquee(a[0], a[1], a[2]);
        else
            ++ignoredPositions_;
        break;
    case kDefineChar: std::copy(a + 1, a + 9, customChars_[a[0] & 7].begin()); break;
    case kToController:
        if (a[0] == kControllerData)
            Put(a[1]);
        else
            ++unknownCommands_;  // instructions to the controller are not emulated
        break;
    default: ++unknownCommands_; break;
    }
}

// A character at the cursor. Past the row's end it goes to the next row with
// wrap on (the display moving up with scroll on) and is lost with wrap off.
void CrystalfontzEmulator::Put(unsigned char code)
{
    if (cursorColumn_ >= columns_) {
        if (!wrap_) return;
        cursorColumn_ = 0;
        if (++cursorRow_ >= rows_) {
            cursorRow_ = scroll_ ? rows_ - 1 : 0;
            if (scroll_) {
                std::copy(cells_.begin() + columns_, cells_.end(), cells_.begin());
                std::fill(cells_.end() - columns_, cells_.end(), kBlank);
            }
        }
    }
    At(cursorRow_, cursorColumn_++) = code;
}

// The marquee runs the row round a circle of its cells followed by the
// marquee characters, from the first tick on.
void CrystalfontzEmulator::StartMarquee(int row, int step, int speed)
{
    StopMarquee();
    marquee_.running = true;
    marquee_.row = row;
    marquee_.step = step;
    marquee_.speed = speed;
    marquee_.circle.assign(cells_.begin() + row * columns_, cells_.begin() + (row + 1) * columns_);
    marquee_.circle.insert(marquee_.circle.end(), marqueeChars_.begin(), marqueeChars_.end());
    marquee_.startMs = -1;
    marquee_.offset = 0;
}

// The row keeps the frame it showed when the marquee stopped.
void CrystalfontzEmulator::StopMarquee()
{
    if (!marquee_.running) return;
    for (int column = 0; column < columns_; ++column) At(marquee_.row, column) = Cell(marquee_.row, column);
    marquee_.running = false;
}

void CrystalfontzEmulator::Tick(int64_t nowMs)
{
    if (!marquee_.running) return;
    if (marquee_.startMs < 0) marquee_.startMs = nowMs;
    if (marquee_.speed == 0 || nowMs < marquee_.startMs) return;
    const int64_t moves = (nowMs - marquee_.startMs) * kMarqueeStepsPerSecond / (1000 * int64_t{marquee_.speed});
    const int offset = static_cast<int>(moves * marquee_.step % static_cast<int64_t>(marquee_.circle.size()));
    if (offset == marquee_.offset) return;
    marquee_.offset = offset;
    Changed();
}

}  // namespace lumora::sim
