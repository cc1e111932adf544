// HD44780 controllers on a PC parallel port, eight-bit interface.
//
// The data register (base) carries the byte to the controllers' data bus; the
// control register (base + 2) carries register select and the enable lines.
// A controller latches the bus on the falling edge of its enable line.
#include "HD44780Device.h"

#include <cstring>

#include "DlPortIO.h"
#include "Pause.h"
#include "PortAddress.h"

namespace {

// Control register bits. nStrobe, nAutoFd and nSelectIn are inverted between
// the register and the connector, nInit is not: a set enable bit drives its
// line low.
constexpr unsigned char kControlIdle = 0x02;         // nAutoFd, set in every value written
constexpr unsigned char kRegisterSelectData = 0x04;  // nInit: clear for an instruction, set for a character
constexpr unsigned char kEnable[] = {0x01, 0x08};    // nStrobe for controller 0, nSelectIn for controller 1
constexpr int32_t kControlOffset = 2;                // control register, above the data register
constexpr int32_t kMaxControllers = 2;               // only two enable lines exist
constexpr int32_t kCharactersPerController = 80;     // an HD44780 holds 80 characters
constexpr int32_t kRowsPerControllerOfTwo = 2;       // each of two controllers drives two rows

// Instructions.
constexpr unsigned char kClearDisplay = 0x01;     // blanks the display, address to 0 (up to 1.64 ms)
constexpr unsigned char kReturnHome = 0x02;       // address to 0
constexpr unsigned char kEntryIncrement = 0x06;   // address moves up after each character, no display shift
constexpr unsigned char kDisplayOn = 0x0C;        // display on, cursor off, blinking off
constexpr unsigned char kDisplayOff = 0x08;       // display, cursor and blinking off
constexpr unsigned char kFunctionSet = 0x38;      // eight-bit interface, two-line mode, 5x8 dots
constexpr unsigned char kSetCgramAddress = 0x40;  // + 8 x character: its first pixel row
constexpr unsigned char kSetDdramAddress = 0x80;  // + display-memory address
constexpr unsigned char kInitialisation[] = {kFunctionSet, kFunctionSet, kEntryIncrement, kDisplayOn, kClearDisplay};

// Display-memory addressing in two-line mode: the second line starts at 0x40;
// rows 2 and 3 of a four-row module continue rows 0 and 1 after `width`
// columns. A one-row module of 16 columns is wired as two halves of eight,
// the second half at 0x40.
constexpr int32_t kSecondLine = 0x40;
constexpr int32_t kHalfRow = 8;
constexpr int32_t kOneRowSplitEnd = 16;

constexpr int32_t kColumns = 20;
constexpr int32_t kRows = 4;
constexpr int32_t kPortParallel = 2;
constexpr int32_t kStrobeDelayMs = 2;
constexpr int32_t kCommandDelayMs = 5;
constexpr int kBitmapRows = 8;

void WaitMs(int32_t ms)
{
    if (ms > 0) wren::Pause(ms);  // a negative delay from the settings waits not at all
}

}  // namespace

HD44780Device::HD44780Device()
    : portAddress(0), strobeDelay(kStrobeDelayMs), commandDelay(kCommandDelayMs), controllerCount(1)
{
    width = kColumns;
    height = kRows;
    portType = kPortParallel;
    std::memcpy(portName, "LPT1", 5);
}

HD44780Device::~HD44780Device() = default;

// One transfer: the byte on the data bus, register select at its level with
// both enable lines high, then the addressed controller's enable line low.
// Nothing is written before an open has found a usable port.
void HD44780Device::Transfer(unsigned char value, unsigned char control, int32_t controller)
{
    if (portAddress == 0) return;
    const uint32_t data = static_cast<uint32_t>(portAddress);
    DlPortWritePortUchar(data, value);
    DlPortWritePortUchar(data + kControlOffset, control);
    WaitMs(strobeDelay);
    DlPortWritePortUchar(data + kControlOffset, control | kEnable[controller]);
    WaitMs(commandDelay);
}

void HD44780Device::WriteCommand(unsigned char value, int32_t controller) { Transfer(value, kControlIdle, controller); }

void HD44780Device::WriteData(unsigned char value, int32_t controller)
{
    Transfer(value, kControlIdle | kRegisterSelectData, controller);
}

void HD44780Device::CommandToEachController(unsigned char value)
{
    for (int32_t c = 0; c < controllerCount; ++c) WriteCommand(value, c);
}

int32_t HD44780Device::DeviceOpen()
{
    const int32_t address = wren::ReadPortName(portName);
    if (!wren::IsUsablePortAddress(address)) {
        portAddress = 0;  // nowhere to write: nothing is sent, now or later
        return 0;
    }
    portAddress = address;
    const int64_t characters = int64_t{width} * height;
    const int64_t needed = characters > 0 ? (characters + kCharactersPerController - 1) / kCharactersPerController : 0;
    controllerCount = static_cast<int32_t>(needed < kMaxControllers ? needed : kMaxControllers);
    for (int32_t c = 0; c < controllerCount; ++c)
        for (unsigned char instruction : kInitialisation) WriteCommand(instruction, c);
    return 1;
}

void HD44780Device::DeviceClose()
{
    for (int32_t c = 0; c < controllerCount; ++c) {
        WriteCommand(kClearDisplay, c);
        WriteCommand(kDisplayOff, c);
    }
}

void HD44780Device::DeviceClear() { CommandToEachController(kClearDisplay); }

int32_t HD44780Device::Address(int32_t localRow, int32_t column) const
{
    if (height == 1 && column >= kHalfRow && column < kOneRowSplitEnd) return kSecondLine + column - kHalfRow;
    return kSecondLine * (localRow % 2) + column + (localRow >= 2 ? width : 0);
}

void HD44780Device::SetAddress(int32_t localRow, int32_t column, int32_t controller)
{
    const uint32_t address = static_cast<uint32_t>(Address(localRow, column));
    WriteCommand(static_cast<unsigned char>((kSetDdramAddress + address) & 0xFF), controller);
}

// The controller that holds the row takes the whole text; its address
// counter moves on by itself. A display of two controllers is wired with two
// rows on each (a 40 x 4: rows 0 and 1, then rows 2 and 3), since one
// controller holds no more than two rows of more than 20 characters. On a
// one-row display the text is positioned again where the next column's
// address does not follow on (column 8 of a 16 x 1), so that no character
// lands in memory the display does not show.
void HD44780Device::DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length)
{
    const int32_t rowsPerController = controllerCount > 1 ? kRowsPerControllerOfTwo : height;
    if (row < 0 || rowsPerController <= 0) return;
    const int32_t controller = row / rowsPerController;
    if (controller >= controllerCount) return;  // rows past the last controller are not shown
    const int32_t localRow = row % rowsPerController;
    if (localRow == 0 && column == 0)
        WriteCommand(kReturnHome, controller);
    else
        SetAddress(localRow, column, controller);
    for (int32_t i = 0; i < length; ++i) {
        if (i > 0 && height == 1 && Address(localRow, column + i) != Address(localRow, column + i - 1) + 1)
            SetAddress(localRow, column + i, controller);
        WriteData(text[i], controller);
    }
}

// The glyph goes into character-generator memory of every controller, eight
// pixel rows from 0x40 + 8 x index on; the controller uses their low five bits.
void HD44780Device::DeviceSetCustomChar(int32_t index, const unsigned char* bitmap)
{
    const unsigned char address = static_cast<unsigned char>((static_cast<uint32_t>(index) * kBitmapRows) & 0x3F);
    for (int32_t c = 0; c < controllerCount; ++c) {
        WriteCommand(kSetCgramAddress | address, c);
        for (int i = 0; i < kBitmapRows; ++i) WriteData(bitmap[i], c);
    }
}

int32_t HD44780Device::DeviceHasSetSize() { return 1; }

void HD44780Device::DeviceLoadSettings(HKEY key)
{
    GetSettingInt(key, "ParallelStrobeDelay", strobeDelay);
    GetSettingInt(key, "ParallelCommandDelay", commandDelay);
}

void HD44780Device::DeviceSaveSettings(HKEY key)
{
    SetSettingInt(key, "ParallelStrobeDelay", strobeDelay);
    SetSettingInt(key, "ParallelCommandDelay", commandDelay);
}
