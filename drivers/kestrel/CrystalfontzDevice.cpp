// Crystalfontz 632/634 serial driver. A byte below 32 is a command to these
// displays (some take argument bytes); a byte from 32 up is a character
// written at the cursor. What the driver sends:
//
//   01              cursor home (row 0, column 0)
//   04              hide the cursor
//   0C              form feed: clear the display
//   0E b            backlight brightness, 0-100
//   0F x            contrast, 0-100
//   11 col row      set the cursor position, both from 0
//   14              scroll off
//   15 p ch         marquee character p (0-19)
//   16 row step t   marquee control: scroll row by step every t/96 s; row 255 stops
//   18              wrap off
//   19 i b0..b7     define custom character i (CGRAM)
//   1E 01 b         send b straight to the controller: a character below 32
//
// The host's custom characters 0-7 live at 128-135 on this display, so the
// character map exchanges the two ranges.
#include "CrystalfontzDevice.h"

#include <cstring>
#include <new>

#include "../common/CommandBuffer.h"
#include "Host.h"

using lumora::drivers::CommandBuffer;

namespace {

constexpr unsigned char kCursorHome = 0x01;
constexpr unsigned char kHideCursor = 0x04;
constexpr unsigned char kFormFeed = 0x0C;
constexpr unsigned char kBacklight = 0x0E;
constexpr unsigned char kContrast = 0x0F;
constexpr unsigned char kSetCursor = 0x11;
constexpr unsigned char kScrollOff = 0x14;
constexpr unsigned char kMarqueeChar = 0x15;
constexpr unsigned char kMarqueeControl = 0x16;
constexpr unsigned char kWrapOff = 0x18;
constexpr unsigned char kDefineChar = 0x19;
constexpr unsigned char kToController = 0x1E;
constexpr unsigned char kToControllerCount = 0x01;  // one byte follows

constexpr unsigned char kFirstCharacter = 0x20;  // below this a byte is a command
constexpr unsigned char kMarqueeStop = 255;      // marquee control's row that stops it
constexpr unsigned char kMarqueeCell = 254;      // what screen holds where the hardware scrolls
constexpr unsigned char kSpace = ' ';
constexpr int32_t kMarqueeChars = 20;           // the display holds 20 whatever its width
constexpr int32_t kMarqueeStepsPerSecond = 96;  // the speed byte counts 1/96 s

// The display takes a while to start up after its port opens.
constexpr int kStartupMs = 1500;
constexpr int kBaudRate = 19200;
constexpr int kPortSerial = 1;
constexpr int kCustomChars = 8;
constexpr int kCustomCharCodes = 128;  // where the display keeps custom characters 0-7

struct CrystalfontzModel {
    const char* name;
    int32_t width;
    int32_t height;
    int32_t hasBacklight;
};

// Matched exactly and case-sensitively; the first match wins.
constexpr CrystalfontzModel crystalfontzModels[] = {
    {"632SS", 16, 2, 0},
    {"632SG", 16, 2, 1},
    {"634SS", 20, 4, 0},
    {"634SG", 20, 4, 1},
};

unsigned char Low8(int64_t value) { return static_cast<unsigned char>(value & 0xFF); }

// The marquee delay in 1/96 s, truncated; its low eight bits go out unclamped.
unsigned char SpeedByte(int32_t delayMs) { return Low8(static_cast<int64_t>(delayMs) * kMarqueeStepsPerSecond / 1000); }

}  // namespace

CrystalfontzDevice::CrystalfontzDevice(const char* model)
{
    if (model != nullptr) {
        for (const CrystalfontzModel& row : crystalfontzModels) {
            if (std::strcmp(model, row.name) == 0) {
                width = row.width;
                height = row.height;
                hasBacklight = row.hasBacklight;
                break;
            }
        }
    }
    portType = kPortSerial;
    std::memcpy(portName, "COM1", 5);
    baudRate = kBaudRate;
    for (int i = 0; i < kCustomChars; ++i) {
        charMap[i] = static_cast<unsigned char>(kCustomCharCodes + i);
        charMap[kCustomCharCodes + i] = static_cast<unsigned char>(i);
    }
}

CrystalfontzDevice::~CrystalfontzDevice() = default;

int32_t CrystalfontzDevice::DeviceOpen()
{
    if (!OpenSerial(0)) return 0;
    lumora::WaitMs(kStartupMs);
    CommandBuffer buffer;
    buffer.Add(kHideCursor);
    if (hasBacklight) buffer.Add({kBacklight, Low8(brightness)});
    buffer.Add({kContrast, Low8(contrast), kScrollOff, kWrapOff, kFormFeed});
    WriteSerial(buffer.Data(), buffer.Size());
    return 1;
}

// Releases the port and nothing more: the display keeps what it shows, its
// backlight and a running marquee.
void CrystalfontzDevice::DeviceClose() { CloseSerial(); }

void CrystalfontzDevice::DeviceClear() { WriteSerial(&kFormFeed, 1); }

// Characters below 32 travel escaped. Text whose escaped form outgrows the
// buffer continues in further writes at the cursor, never splitting an escape.
void CrystalfontzDevice::DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length)
{
    CommandBuffer buffer;
    if (row == 0 && column == 0)
        buffer.Add(kCursorHome);
    else
        buffer.Add({kSetCursor, Low8(column), Low8(row)});
    buffer.SendWithEncodedText(
        text, length, [this](const unsigned char* bytes, unsigned int count) { WriteSerial(bytes, count); },
        [](unsigned char byte, unsigned char* out) {
            if (byte >= kFirstCharacter) {
                out[0] = byte;
                return size_t{1};
            }
            out[0] = kToController;
            out[1] = kToControllerCount;
            out[2] = byte;
            return size_t{3};
        });
}

void CrystalfontzDevice::DeviceSetCustomChar(int32_t index, const unsigned char* bitmap)
{
    CommandBuffer buffer;
    buffer.Add({kDefineChar, Low8(index)});
    for (int line = 0; line < 8; ++line) buffer.Add(bitmap[line]);
    WriteSerial(buffer.Data(), buffer.Size());
}

// Byte index of the marquee text, or a space past its end.
unsigned char CrystalfontzDevice::MarqueeByte(int32_t index) const
{
    return index < marqueeLength ? marqueeText[index] : kSpace;
}

// The row shows the text's first width bytes; the display holds the next 20
// as its marquee characters and scrolls the row through them by itself.
void CrystalfontzDevice::DeviceSetMarquee()
{
    unsigned char* row = screen + marqueeRow * width;
    for (int32_t i = 0; i < width; ++i) row[i] = MarqueeByte(i);
    DeviceWrite(marqueeRow, 0, row, width);
    std::memset(row, kMarqueeCell, static_cast<size_t>(width));

    CommandBuffer buffer;
    for (int32_t p = 0; p < kMarqueeChars; ++p)
        buffer.Add({kMarqueeChar, static_cast<unsigned char>(p), MarqueeByte(width + p)});
    buffer.Add({kMarqueeControl, Low8(marqueeRow), Low8(marqueeShift), SpeedByte(marqueeDelay)});
    WriteSerial(buffer.Data(), buffer.Size());
}

void CrystalfontzDevice::DeviceClearMarquee()
{
    const unsigned char stop[] = {kMarqueeControl, kMarqueeStop, Low8(marqueeShift), SpeedByte(marqueeDelay)};
    WriteSerial(stop, sizeof stop);
}

int32_t CrystalfontzDevice::DeviceHasContrast() { return 1; }

int32_t CrystalfontzDevice::DeviceHasBrightness() { return hasBacklight; }

// Brightness is the backlight's: one answer for both.
int32_t CrystalfontzDevice::DeviceHasBacklight() { return CrystalfontzDevice::DeviceHasBrightness(); }

LUMORA_PLUGIN_EXPORT DisplayDevice* LUMORA_CDECL CreateDisplayDevice(HWND, const char* model)
{
    return new (std::nothrow) CrystalfontzDevice(model);
}
