// LCDriver bridge. LCDriver owns the display, its configuration and its
// protocol; this driver passes each request on as it comes, pointers
// included, and decides one thing itself: whether LCDriver or the host runs
// the marquee ("MarqueeSimulated").
//
//   open      lcdRequest, then lcdSetCursor(0), lcdSetWrapMode(0, 0), lcdClearDisplay
//   write     lcdSetCursorPos(column, row), lcdSendString(text, length)
//   marquee   lcdEnableMarquee(text, length, row, shift, delay in 96ths of a second)
#include "LCDriverDevice.h"

#include <cstring>
#include <new>

#include "lcdriver/LCDriver.h"

namespace {
constexpr int32_t kRequested = 0;  // lcdRequest's answer when the display is ours
constexpr int32_t kCursorHidden = 0;
constexpr int32_t kNoWrap = 0;                // text stops at the end of its row...
constexpr int32_t kNoDisplayWrap = 0;         // ...and of the display
constexpr unsigned char kMarqueeCell = 0xFE;  // the host's cells of a row that LCDriver scrolls
constexpr int64_t kTicksPerSecond = 96;       // LCDriver counts the marquee's delay in these
constexpr int64_t kMsPerSecond = 1000;
constexpr const char* kMarqueeSimulatedSetting = "MarqueeSimulated";
}  // namespace

// The geometry is LCDriver's, asked once, before the display is requested.
LCDriverDevice::LCDriverDevice() : marqueeSimulated(0)
{
    width = lcdGetWidth();
    height = lcdGetHeight();
}

LCDriverDevice::~LCDriverDevice() = default;

int32_t LCDriverDevice::DeviceOpen()
{
    if (lcdRequest() != kRequested) return 0;
    lcdSetCursor(kCursorHidden);
    lcdSetWrapMode(kNoWrap, kNoDisplayWrap);
    lcdClearDisplay();
    return 1;
}

// The display is handed back as it stands, not cleared.
void LCDriverDevice::DeviceClose() { lcdFree(); }

void LCDriverDevice::DeviceClear() { lcdClearDisplay(); }

void LCDriverDevice::DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length)
{
    lcdSetCursorPos(column, row);
    lcdSendString(text, length);
}

void LCDriverDevice::DeviceSetCustomChar(int32_t index, const unsigned char* bitmap)
{
    lcdSetCustomChar(index, bitmap);
}

void LCDriverDevice::DeviceSetMarquee()
{
    if (marqueeSimulated) {
        SetSimulatedMarquee();
        return;
    }
    // The row belongs to LCDriver's marquee now: the host's copy of it says so.
    if (screen != nullptr && marqueeRow >= 0 && marqueeRow < height)
        std::memset(screen + static_cast<size_t>(marqueeRow) * width, kMarqueeCell, static_cast<size_t>(width));
    // Milliseconds to 96ths of a second, the fraction dropped; in 64 bits, so
    // that no delay overflows on the way.
    const int32_t delay = static_cast<int32_t>(static_cast<int64_t>(marqueeDelay) * kTicksPerSecond / kMsPerSecond);
    lcdEnableMarquee(marqueeText, marqueeLength, marqueeRow, marqueeShift, delay);
}

// The row stays filled: what the host had there is gone until it writes again.
void LCDriverDevice::DeviceClearMarquee()
{
    if (marqueeSimulated)
        ClearSimulatedMarquee();
    else
        lcdDisableMarquee();
}

void LCDriverDevice::DeviceLoadSettings(HKEY key) { GetSettingBool(key, kMarqueeSimulatedSetting, marqueeSimulated); }

void LCDriverDevice::DeviceSaveSettings(HKEY key) { SetSettingBool(key, kMarqueeSimulatedSetting, marqueeSimulated); }

LUMORA_PLUGIN_EXPORT DisplayDevice* LUMORA_CDECL CreateDisplayDevice(HWND, const char*)
{
    return new (std::nothrow) LCDriverDevice;
}
