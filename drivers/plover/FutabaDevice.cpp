// Futaba serial VFD driver. It speaks two commands of the Futaba set:
//
//   1F      reset: blanks the display and homes the cursor
//   10 p    display position: the text that follows starts at cell p
//
// Cells are numbered row by row on a 20-column display (row 1 starts at 20),
// whatever width the host holds, and the position byte wraps at 256.
#include "FutabaDevice.h"

#include <cstring>
#include <new>

#include "../common/CommandBuffer.h"

using lumora::drivers::CommandBuffer;

namespace {
constexpr unsigned char kReset = 0x1F;
constexpr unsigned char kDisplayPosition = 0x10;
constexpr int32_t kPositionColumns = 20;  // the display's own row length
constexpr int kColumns = 20;
constexpr int kRows = 4;
constexpr int kBaudRate = 9600;
constexpr int kPortSerial = 1;
}  // namespace

FutabaDevice::FutabaDevice()
{
    width = kColumns;
    height = kRows;
    portType = kPortSerial;
    std::memcpy(portName, "COM2", 5);
    baudRate = kBaudRate;
}

FutabaDevice::~FutabaDevice() = default;

int32_t FutabaDevice::DeviceOpen()
{
    if (!OpenSerial(serialOption)) return 0;
    const unsigned char reset = kReset;
    WriteSerial(&reset, 1);
    return 1;
}

void FutabaDevice::DeviceClose()
{
    const unsigned char reset = kReset;
    WriteSerial(&reset, 1);
    CloseSerial();
}

void FutabaDevice::DeviceClear()
{
    const unsigned char reset = kReset;
    WriteSerial(&reset, 1);
}

// Text longer than the buffer holds continues in further writes at the cursor.
void FutabaDevice::DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length)
{
    CommandBuffer buffer;
    const uint32_t cell = static_cast<uint32_t>(row) * kPositionColumns + static_cast<uint32_t>(column);
    buffer.Add({kDisplayPosition, static_cast<unsigned char>(cell & 0xFF)});
    buffer.SendWithText(text, length,
                        [this](const unsigned char* bytes, unsigned int count) { WriteSerial(bytes, count); });
}

// The display gets no character definitions.
void FutabaDevice::DeviceSetCustomChar(int32_t, const unsigned char*) {}

LUMORA_PLUGIN_EXPORT DisplayDevice* LUMORA_CDECL CreateDisplayDevice(HWND, const char*)
{
    return new (std::nothrow) FutabaDevice;
}
