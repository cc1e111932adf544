// Matrix Orbital serial displays. A command is the prefix FE, a letter and its
// arguments; every other byte is a character written at the cursor:
//
//   FE 42 m      backlight on (m minutes; 0 keeps it on)
//   FE 44        auto line-wrap off
//   FE 52        auto scroll off
//   FE 4B        underline cursor off
//   FE 54        blinking cursor off
//   FE 50 x      contrast x (LCD and LK models)
//   FE 59 n      brightness level n, 0 to 3 (VFD and VK models)
//   FE 55 d      keypad debounce, d in steps of about 6.554 ms (keypad models)
//   FE 58        clear display
//   FE 46        backlight off
//   FE 48        cursor home
//   FE 47 c r    cursor to column c, row r, both counted from 1
//   FE 4E i b0..b7  define custom character i, one byte a pixel row
//   FE 56 g      general-purpose output g off
//   FE 57 g      general-purpose output g on
//
// Keypad models send one byte for each key pressed; every received byte is
// handed to the host as an event of its own.
#include "MatrixOrbitalDevice.h"

#include <bit>
#include <cstring>
#include <new>

#include "../common/CommandBuffer.h"

using lumora::drivers::CommandBuffer;

const MatrixOrbitalModel matrixOrbitalModels[13] = {
    {"LCD2021", 20, 2, 0, 0, 1}, {"LCD4021", 40, 2, 0, 0, 1}, {"LCD2041", 20, 4, 0, 0, 1}, {"LCD4041", 40, 4, 0, 0, 1},
    {"LK162", 16, 2, 0, 1, 6},   {"LK202", 20, 2, 0, 1, 6},   {"LK204", 20, 4, 0, 1, 6},   {"LK402", 40, 2, 0, 1, 7},
    {"LK404", 40, 4, 0, 1, 1},   {"VFD2021", 20, 2, 1, 0, 1}, {"VFD2041", 20, 4, 1, 0, 1}, {"VK202", 20, 2, 1, 1, 6},
    {"VK204", 20, 4, 1, 1, 6},
};

namespace {
constexpr unsigned char kPrefix = 0xFE;
constexpr unsigned char kBacklightOn = 0x42;
constexpr unsigned char kBacklightAlwaysOn = 0;  // the backlight-on argument: no time limit
constexpr unsigned char kLineWrapOff = 0x44;
constexpr unsigned char kScrollOff = 0x52;
constexpr unsigned char kUnderlineCursorOff = 0x4B;
constexpr unsigned char kBlinkingCursorOff = 0x54;
constexpr unsigned char kContrast = 0x50;
constexpr unsigned char kBrightness = 0x59;
constexpr unsigned char kDebounce = 0x55;
constexpr unsigned char kClear = 0x58;
constexpr unsigned char kBacklightOff = 0x46;
constexpr unsigned char kCursorHome = 0x48;
constexpr unsigned char kCursorPosition = 0x47;
constexpr unsigned char kDefineCharacter = 0x4E;
constexpr unsigned char kOutputOff = 0x56;
constexpr unsigned char kOutputOn = 0x57;

// Text bytes that the display would take for something else: the command
// prefix, the characters it keeps at 8-15, and the glyphs of backslash and
// tilde, which its character set holds at 140 and 142.
constexpr unsigned char kSpace = 0x20;
constexpr unsigned char kBackslash = 0x5C;
constexpr unsigned char kBackslashGlyph = 0x8C;
constexpr unsigned char kTilde = 0x7E;
constexpr unsigned char kTildeGlyph = 0x8E;

// One debounce step is 6.554 ms; the factor is the double nearest 1/6.554.
constexpr double kDebounceStepsPerMs = 0.15257857796765334;
static_assert(std::bit_cast<uint64_t>(kDebounceStepsPerMs) == 0x3FC387B1E1387B1Eull);
constexpr int32_t kDefaultDebounceMs = 52;
constexpr const char* kDebounceSetting = "DebounceTime";

constexpr int kBaudRate = 19200;
constexpr int kPortSerial = 1;

unsigned char LowByte(int64_t value) { return static_cast<unsigned char>(value & 0xFF); }

// Contrast as the display takes it: 0-100 % scaled to 0-255, truncating.
unsigned char ContrastByte(int32_t percent) { return LowByte(int64_t{percent} * 255 / 100); }

// The VFD's four brightness levels, a quarter of the percent range each.
unsigned char BrightnessLevel(int32_t percent)
{
    if (percent <= 25) return 0;
    if (percent <= 50) return 1;
    if (percent <= 75) return 2;
    return 3;
}

// Milliseconds to debounce steps, to the nearest step, halves upward.
unsigned char DebounceSteps(int32_t ms) { return LowByte(static_cast<int64_t>(ms * kDebounceStepsPerMs + 0.5)); }

const MatrixOrbitalModel* FindModel(const char* name)
{
    if (name == nullptr) return nullptr;
    for (const MatrixOrbitalModel& row : matrixOrbitalModels)
        if (std::strcmp(row.name, name) == 0) return &row;
    return nullptr;
}
}  // namespace

MatrixOrbitalDevice::MatrixOrbitalDevice(HWND, const char* model)
{
    if (const MatrixOrbitalModel* row = FindModel(model)) {
        width = row->width;
        height = row->height;
        isVFD = row->isVFD;
        hasKeypad = row->hasKeypad;
        gpoCount = row->gpoCount;
    }
    portType = kPortSerial;
    std::memcpy(portName, "COM1", 5);
    baudRate = kBaudRate;
    charMap[kBackslash] = kBackslashGlyph;
    charMap[kBackslashGlyph] = kBackslash;
    charMap[kTilde] = kTildeGlyph;
    charMap[kTildeGlyph] = kTilde;
    for (int b = 8; b <= 15; ++b) charMap[b] = kSpace;
    charMap[kPrefix] = kSpace;
    debounceTime = kDefaultDebounceMs;
}

MatrixOrbitalDevice::~MatrixOrbitalDevice() = default;

int32_t MatrixOrbitalDevice::DeviceOpen()
{
    if (!OpenSerial(serialOption)) return 0;
    CommandBuffer buffer;
    buffer.Add({kPrefix, kBacklightOn, kBacklightAlwaysOn});
    buffer.Add({kPrefix, kLineWrapOff, kPrefix, kScrollOff});
    buffer.Add({kPrefix, kUnderlineCursorOff, kPrefix, kBlinkingCursorOff});
    if (isVFD)
        buffer.Add({kPrefix, kBrightness, BrightnessLevel(brightness)});
    else
        buffer.Add({kPrefix, kContrast, ContrastByte(contrast)});
    if (hasKeypad) buffer.Add({kPrefix, kDebounce, DebounceSteps(debounceTime)});
    buffer.Add({kPrefix, kClear});
    WriteSerial(buffer.Data(), buffer.Size());
    return 1;
}

void MatrixOrbitalDevice::DeviceClose()
{
    const unsigned char sequence[] = {kPrefix, kClear, kPrefix, kBacklightOff};
    WriteSerial(sequence, sizeof sequence);
    CloseSerial();
}

void MatrixOrbitalDevice::DeviceClear()
{
    const unsigned char sequence[] = {kPrefix, kClear};
    WriteSerial(sequence, sizeof sequence);
}

// Text longer than the buffer holds continues in further writes at the cursor.
void MatrixOrbitalDevice::DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length)
{
    CommandBuffer buffer;
    if (row == 0 && column == 0)
        buffer.Add({kPrefix, kCursorHome});
    else
        buffer.Add({kPrefix, kCursorPosition, LowByte(int64_t{column} + 1), LowByte(int64_t{row} + 1)});
    buffer.SendWithText(text, length,
                        [this](const unsigned char* bytes, unsigned int count) { WriteSerial(bytes, count); });
}

void MatrixOrbitalDevice::DeviceSetCustomChar(int32_t index, const unsigned char* bitmap)
{
    CommandBuffer buffer;
    buffer.Add({kPrefix, kDefineCharacter, LowByte(index)});
    buffer.Add(bitmap, 8);
    WriteSerial(buffer.Data(), buffer.Size());
}

int32_t MatrixOrbitalDevice::DeviceHasContrast() { return isVFD ? 0 : 1; }
int32_t MatrixOrbitalDevice::DeviceHasBrightness() { return isVFD; }
int32_t MatrixOrbitalDevice::DeviceHasKeypad() { return hasKeypad; }

// Input may be asked for before the display is open: it opens it first.
int32_t MatrixOrbitalDevice::DeviceEnableInput()
{
    if (!Open()) return 0;
    return EnableSerialInput();
}

void MatrixOrbitalDevice::DeviceDisableInput() { DisableSerialInput(); }

// Each received byte is an event of one character; byte 0 makes an empty one.
void MatrixOrbitalDevice::DeviceInput(unsigned char key)
{
    const char event[2] = {static_cast<char>(key), 0};
    DisplaySendEvent(event);
}

int32_t MatrixOrbitalDevice::DeviceGetGPOs() { return gpoCount; }

// The output's number goes out as the host gives it.
void MatrixOrbitalDevice::DeviceSetGPO(int32_t gpo, int32_t on)
{
    CommandBuffer buffer;
    buffer.Add({kPrefix, on ? kOutputOn : kOutputOff});
    if (gpoCount > 0) buffer.Add(LowByte(gpo));
    WriteSerial(buffer.Data(), buffer.Size());
}

// The debounce time is a keypad model's only setting; it reaches the display
// at the next opening.
void MatrixOrbitalDevice::DeviceLoadSettings(HKEY key)
{
    if (hasKeypad) GetSettingInt(key, kDebounceSetting, debounceTime);
}

void MatrixOrbitalDevice::DeviceSaveSettings(HKEY key)
{
    if (hasKeypad) SetSettingInt(key, kDebounceSetting, debounceTime);
}

LUMORA_PLUGIN_EXPORT DisplayDevice* LUMORA_CDECL CreateDisplayDevice(HWND parentWindow, const char* model)
{
    return new (std::nothrow) MatrixOrbitalDevice(parentWindow, model);
}
