// The application interface of DisplayDevice: what a program asks of a display.
// Each request is checked whole before anything reaches the driver, keeps
// screen, customChars and the marquee fields in step, then calls the driver.
#include <algorithm>
#include <cstring>
#include <new>

#include "HostState.h"
#include "Settings.h"
#include "lumora/DisplayDevice.h"

namespace {
constexpr int kMaxColumns = 40;
constexpr int kMaxRows = 4;
constexpr int kPortNameMax = 7;
}  // namespace

int DisplayDevice::Refuse(const char* reason)
{
    if (host != nullptr) host->lastError = reason;
    return 0;
}

int DisplayDevice::CheckOpen() { return isOpen ? 1 : Refuse("the display is not open"); }

int DisplayDevice::CheckClosed()
{
    return isOpen ? Refuse("the display is open; close it before changing its configuration") : 1;
}

int DisplayDevice::CheckPosition(int row, int column)
{
    if (row < 0 || row >= height) return Refuse("row out of range");
    if (column < 0 || column >= width) return Refuse("column out of range");
    return 1;
}

const char* DisplayDevice::GetLastError() const { return host != nullptr ? host->lastError.c_str() : "out of memory"; }

// ---- Reading the state ----------------------------------------------------------

int DisplayDevice::IsOpen() const { return isOpen; }

const char* DisplayDevice::GetPortFailure() const
{
    return host != nullptr && host->port && host->portLost ? host->portFailure.c_str() : nullptr;
}
int DisplayDevice::GetWidth() const { return width; }
int DisplayDevice::GetHeight() const { return height; }
int DisplayDevice::GetPortType() const { return portType; }
const char* DisplayDevice::GetPortName() const { return portName; }
int DisplayDevice::GetBaudRate() const { return baudRate; }
int DisplayDevice::GetContrast() const { return contrast; }
int DisplayDevice::GetBrightness() const { return brightness; }
int DisplayDevice::GetSerialOption() const { return serialOption; }
const unsigned char* DisplayDevice::GetScreen() const { return screen; }

const unsigned char* DisplayDevice::GetCustomChar(int index) const
{
    return index >= 0 && index < 8 ? customChars[index] : nullptr;
}

int DisplayDevice::GetMarqueeRow() const { return marqueeRunning ? marqueeRow : -1; }

// ---- Configuration ---------------------------------------------------------------

int DisplayDevice::SetSize(int columns, int rows)
{
    if (!CheckClosed()) return 0;
    if (!DeviceHasSetSize()) return Refuse("this display has a fixed size");
    if (columns < 1 || columns > kMaxColumns) return Refuse("columns must be 1 to 40");
    if (rows < 1 || rows > kMaxRows) return Refuse("rows must be 1 to 4");
    width = columns;
    height = rows;
    return 1;
}

int DisplayDevice::SetPortName(const char* name)
{
    if (!CheckClosed()) return 0;
    if (name == nullptr || *name == '\0') return Refuse("the port name is empty");
    if (std::strlen(name) > kPortNameMax) return Refuse("the port name is longer than 7 characters");
    std::memset(portName, 0, sizeof portName);
    std::memcpy(portName, name, std::strlen(name));
    return 1;
}

int DisplayDevice::SetContrast(int percent)
{
    if (!CheckClosed()) return 0;
    if (percent < 0 || percent > 100) return Refuse("contrast must be 0 to 100 percent");
    contrast = percent;
    return 1;
}

int DisplayDevice::SetBrightness(int percent)
{
    if (!CheckClosed()) return 0;
    if (percent < 0 || percent > 100) return Refuse("brightness must be 0 to 100 percent");
    brightness = percent;
    return 1;
}

int DisplayDevice::SetSerialOption(int option)
{
    if (!CheckClosed()) return 0;
    serialOption = option;
    return 1;
}

// ---- Capabilities ----------------------------------------------------------------

int DisplayDevice::HasSetSize() { return DeviceHasSetSize() ? 1 : 0; }
int DisplayDevice::HasContrast() { return DeviceHasContrast() ? 1 : 0; }
int DisplayDevice::HasBrightness() { return DeviceHasBrightness() ? 1 : 0; }
int DisplayDevice::HasBacklight() { return DeviceHasBacklight() ? 1 : 0; }
int DisplayDevice::HasKeypad() { return DeviceHasKeypad() ? 1 : 0; }
int DisplayDevice::GetOutputCount() { return std::max(0, static_cast<int>(DeviceGetGPOs())); }

// ---- Requests ----------------------------------------------------------------------

int DisplayDevice::WriteText(int row, int column, const char* text, int length)
{
    if (!CheckOpen() || !CheckPosition(row, column)) return 0;
    if (text == nullptr) return Refuse("no text");
    if (length < 0) length = static_cast<int>(std::strlen(text));
    length = std::min(length, width - column);  // a write never runs past its row
    unsigned char* cells = screen + row * width + column;
    for (int i = 0; i < length; ++i) cells[i] = charMap[static_cast<unsigned char>(text[i])];
    DeviceWrite(row, column, cells, length);
    return 1;
}

int DisplayDevice::ClearText()
{
    if (!CheckOpen()) return 0;
    std::fill(host->screen.begin(), host->screen.end(), lumora::detail::BlankCell(charMap));
    DeviceClear();
    return 1;
}

int DisplayDevice::DefineCustomChar(int index, const unsigned char* bitmap)
{
    if (!CheckOpen()) return 0;
    if (index < 0 || index > 7) return Refuse("custom characters are numbered 0 to 7");
    if (bitmap == nullptr) return Refuse("no bitmap");
    std::memcpy(customChars[index], bitmap, 8);
    DeviceSetCustomChar(index, customChars[index]);
    return 1;
}

int DisplayDevice::StartMarquee(int row, int shift, int delayMs, const char* text, int length)
{
    if (!CheckOpen() || !CheckPosition(row, 0)) return 0;
    if (shift < 1) return Refuse("the marquee shift must be at least 1");
    if (delayMs < 1) return Refuse("the marquee delay must be at least 1 ms");
    if (text == nullptr) return Refuse("no text");
    if (length < 0) length = static_cast<int>(std::strlen(text));
    try {
        host->marquee.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        return Refuse("out of memory");
    }
    for (int i = 0; i < length; ++i) host->marquee[i] = charMap[static_cast<unsigned char>(text[i])];
    marqueeText = host->marquee.data();
    marqueeLength = length;
    marqueeRow = row;
    marqueeShift = shift;
    marqueeDelay = delayMs;
    DeviceSetMarquee();
    return 1;
}

int DisplayDevice::StopMarquee()
{
    if (!CheckOpen()) return 0;
    DeviceClearMarquee();
    return 1;
}

int DisplayDevice::SetOutput(int gpo, int on)
{
    if (!CheckOpen()) return 0;
    const int count = GetOutputCount();
    if (count == 0) return Refuse("this display has no general-purpose outputs");
    if (gpo < 1 || gpo > count) return Refuse("no such general-purpose output");
    DeviceSetGPO(gpo, on ? 1 : 0);
    return 1;
}

int DisplayDevice::StartInput()
{
    if (host == nullptr) return 0;
    host->lastError.clear();
    if (DeviceEnableInput()) return 1;
    return host->lastError.empty() ? Refuse("this display has no input") : 0;
}

int DisplayDevice::StopInput()
{
    DeviceDisableInput();
    return 1;
}

// Settings go through the profile's key. A problem with the store (a corrupt
// file set aside, a value that could not be written) is reported here; the
// driver's defaults stand for whatever could not be read.
int DisplayDevice::LoadSettings() { return WithSettingsKey(&DisplayDevice::DeviceLoadSettings); }

int DisplayDevice::SaveSettings() { return WithSettingsKey(&DisplayDevice::DeviceSaveSettings); }

int DisplayDevice::WithSettingsKey(void (DisplayDevice::*operation)(HKEY))
{
    lumora::detail::TakeSettingsProblems();
    HKEY key = GetSettingsKey();
    if (key == nullptr) return Refuse(lumora::detail::TakeSettingsProblems().c_str());
    (this->*operation)(key);
    CloseSettingsKey(key);
    const std::string problems = lumora::detail::TakeSettingsProblems();
    return problems.empty() ? 1 : Refuse(problems.c_str());
}

void DisplayDevice::Service() { ServiceAt(MonotonicMs()); }

void DisplayDevice::ServiceAt(int64_t nowMs)
{
    DeliverInput();
    StepMarquee(nowMs);
}
