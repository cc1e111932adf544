// The host's own marquee, run for drivers that keep the default marquee
// operations: the host writes each frame of the row through DeviceWrite.
#include <algorithm>

#include "HostState.h"
#include "Marquee.h"
#include "lumora/DisplayDevice.h"

using namespace lumora::detail;

void DisplayDevice::SetSimulatedMarquee()
{
    if (!isOpen || marqueeRow < 0 || marqueeRow >= height || width <= 0) return;
    marqueeRunning = 1;
    marqueeOffset = 0;
    host->marqueeDue = -1;
    ShowMarqueeFrame();
}

// The marquee row at the current offset, into screen and out through the driver.
void DisplayDevice::ShowMarqueeFrame()
{
    unsigned char* row = screen + marqueeRow * width;
    MarqueeFrame(marqueeText, marqueeLength, width, marqueeOffset, lumora::detail::BlankCell(charMap), row);
    DeviceWrite(marqueeRow, 0, row, width);
}

void DisplayDevice::ClearSimulatedMarquee()
{
    // The row keeps the frame it shows; the next write to it replaces it.
    marqueeRunning = 0;
    if (host != nullptr) host->marqueeDue = -1;
}

// One step of the running marquee when it is due. A host that falls behind (a
// long blocking call) takes one step and counts again from now, rather than
// racing through the missed ones.
void DisplayDevice::StepMarquee(int64_t nowMs)
{
    if (!marqueeRunning || !isOpen) return;
    const int64_t delay = marqueeDelay > 0 ? marqueeDelay : 1;
    if (host->marqueeDue < 0) {
        host->marqueeDue = nowMs + delay;
        return;
    }
    if (nowMs < host->marqueeDue) return;
    const int64_t next = host->marqueeDue + delay;
    host->marqueeDue = next > nowMs ? next : nowMs + delay;
    const int circle = MarqueeCircleLength(marqueeLength, width);
    const int shift = marqueeShift > 0 ? marqueeShift % circle : 0;
    if (shift == 0) return;
    marqueeOffset = (marqueeOffset + shift) % circle;
    ShowMarqueeFrame();
}
