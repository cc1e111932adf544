// The DisplayDevice base: construction, opening and closing, the default
// bodies of the driver operations and the serial services lent to drivers.
#include <cstring>
#include <new>

#include "HostState.h"
#include "lumora/DisplayDevice.h"

using lumora::detail::HostState;

namespace {
// What a display is before anything configures it: a 20 x 4 serial display at
// 9600 bit/s, half contrast and brightness, on no port until one is chosen.
constexpr int kDefaultWidth = 20;
constexpr int kDefaultHeight = 4;
constexpr int kDefaultBaud = 9600;
constexpr int kDefaultPercent = 50;
constexpr int kPortSerial = 1;
// No character display has more cells on a side; larger values are corrupt.
constexpr int kMaxSide = 1024;
}  // namespace

DisplayDevice::DisplayDevice()
    : host(new (std::nothrow) HostState),  // checked where used: no exception leaves the host
      width(kDefaultWidth),
      height(kDefaultHeight),
      screen(nullptr),
      isOpen(0),
      marqueeText(nullptr),
      marqueeRow(0),
      marqueeLength(0),
      marqueeRunning(0),
      marqueeShift(1),
      marqueeDelay(250),
      marqueeOffset(0),
      portType(kPortSerial),
      baudRate(kDefaultBaud),
      inputEnabled(0),
      contrast(kDefaultPercent),
      brightness(kDefaultPercent),
      serialOption(0),
      screenCells(0)
{
    for (int b = 0; b < 256; ++b) charMap[b] = static_cast<unsigned char>(b);
    std::memset(customChars, 0, sizeof customChars);
    std::memset(portName, 0, sizeof portName);
}

// Deleting an object sends nothing: the port, if a driver left it open, is
// released without a word to the display.
DisplayDevice::~DisplayDevice() { delete host; }

int DisplayDevice::Open()
{
    if (isOpen) return 1;
    if (host == nullptr) return 0;  // the object never got its host state
    // The screen matches the geometry of this opening; a fresh display is blank.
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return Refuse("the display's geometry cannot be shown");
    const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    try {
        host->screen.assign(cells, lumora::detail::BlankCell(charMap));
    } catch (const std::bad_alloc&) {
        return Refuse("out of memory");
    }
    screen = host->screen.data();
    screenCells = static_cast<int32_t>(cells);
    host->lastError.clear();
    if (!DeviceOpen()) {
        CloseSerial();  // a driver that failed half-way keeps no port
        if (host->lastError.empty()) host->lastError = "the display could not be opened";
        return 0;
    }
    isOpen = 1;
    return 1;
}

void DisplayDevice::Close()
{
    if (!isOpen) return;
    // Marked closed first, so that a Close from inside DeviceClose (a window
    // that closes the device as it is destroyed) finds nothing to do.
    isOpen = 0;
    marqueeRunning = 0;
    DeviceClose();
    inputEnabled = 0;
    CloseSerial();
}

// ---- Default bodies -----------------------------------------------------------

void DisplayDevice::DeviceSetMarquee() { SetSimulatedMarquee(); }
void DisplayDevice::DeviceClearMarquee() { ClearSimulatedMarquee(); }
int32_t DisplayDevice::DeviceHasSetSize() { return 0; }
int32_t DisplayDevice::DeviceHasContrast() { return 0; }
int32_t DisplayDevice::DeviceHasBrightness() { return 0; }
int32_t DisplayDevice::DeviceHasBacklight() { return 0; }
int32_t DisplayDevice::DeviceHasKeypad() { return 0; }
int32_t DisplayDevice::DeviceEnableInput() { return 0; }
void DisplayDevice::DeviceDisableInput() {}
void DisplayDevice::DeviceInput(unsigned char) {}
int32_t DisplayDevice::DeviceGetGPOs() { return 0; }
void DisplayDevice::DeviceSetGPO(int32_t, int32_t) {}
void DisplayDevice::DeviceLoadSettings(HKEY) {}
void DisplayDevice::DeviceSaveSettings(HKEY) {}

// ---- Serial services ----------------------------------------------------------

int DisplayDevice::OpenSerial(int option)
{
    if (host == nullptr) return 0;
    CloseSerial();
    char name[sizeof portName + 1] = {};
    std::memcpy(name, portName, sizeof portName);  // terminated even if a driver filled all 8 bytes
    std::string error;
    if (name[0] != '\0')
        host->port = lumora::detail::OpenSerialPort(name, baudRate, option, error);
    else
        error = "no port has been chosen";
    host->portLost = false;
    if (!host->port) {
        host->lastError = error;
        return 0;
    }
    return 1;
}

int DisplayDevice::WriteSerial(const unsigned char* bytes, unsigned int count)
{
    if (host == nullptr || !host->port || host->portLost) return 0;
    if (count == 0) return 1;
    std::string error;
    if (!host->port->Write(bytes, count, error)) {
        PortFailed(error.c_str());
        return 0;
    }
    return 1;
}

void DisplayDevice::PortFailed(const char* why)
{
    host->portLost = true;
    host->portFailure = why;
    host->lastError = why;
}

void DisplayDevice::CloseSerial()
{
    inputEnabled = 0;
    if (host != nullptr) host->port.reset();
}

int DisplayDevice::EnableSerialInput()
{
    if (host == nullptr || !host->port || host->portLost) return 0;
    // Input counts from now: what arrived before is not a key pressed now.
    unsigned char stale[256];
    std::string error;
    while (host->port->Read(stale, sizeof stale, error) > 0) {
    }
    inputEnabled = 1;
    return 1;
}

void DisplayDevice::DisableSerialInput() { inputEnabled = 0; }

// Received bytes go to the driver one call per byte, on the caller's thread.
void DisplayDevice::DeliverInput()
{
    unsigned char buffer[256];
    while (inputEnabled && host->port && !host->portLost) {
        std::string error;
        const long got = host->port->Read(buffer, sizeof buffer, error);
        if (got < 0) {
            PortFailed(error.c_str());
            return;
        }
        for (long i = 0; i < got && inputEnabled; ++i) DeviceInput(buffer[i]);
        if (got < static_cast<long>(sizeof buffer)) return;
    }
}
