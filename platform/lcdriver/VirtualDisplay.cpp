#include "VirtualDisplay.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "Marquee.h"
#include "lcdriver/LCDriver.h"

namespace lcdriver {

namespace {
constexpr unsigned char kBlank = ' ';
constexpr int32_t kCursorModes = 3;  // hidden, underline, block
constexpr unsigned char kPixelMask = 0x1F;
constexpr int64_t kTicksPerSecond = 96;
constexpr int64_t kMsPerSecond = 1000;
}  // namespace

bool VirtualDisplay::Resize(int columns, int rows)
{
    column_ = row_ = 0;
    cursorOn_ = true;
    marquee_.running = false;
    try {
        cells_.assign(static_cast<size_t>(columns) * static_cast<size_t>(rows), kBlank);
    } catch (const std::bad_alloc&) {
        cells_.clear();
        columns_ = rows_ = 0;
        return false;
    }
    columns_ = columns;
    rows_ = rows;
    return true;
}

void VirtualDisplay::Clear()
{
    std::fill(cells_.begin(), cells_.end(), kBlank);
    column_ = row_ = 0;
    cursorOn_ = true;
}

int32_t VirtualDisplay::SetCursorMode(int32_t mode)
{
    if (mode < 0 || mode >= kCursorModes) return LCD_BAD_ARGUMENT;
    cursorMode_ = mode;
    return LCD_OK;
}

int32_t VirtualDisplay::SetWrapMode(int32_t rows, int32_t display)
{
    wrapRows_ = rows != 0;
    wrapDisplay_ = display != 0;
    return LCD_OK;
}

int32_t VirtualDisplay::SetCursorPos(int32_t column, int32_t row)
{
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) {
        cursorOn_ = false;
        return LCD_BAD_ARGUMENT;
    }
    column_ = column;
    row_ = row;
    cursorOn_ = true;
    return LCD_OK;
}

// The cursor after a character: on along the row, then as the wrap mode says.
void VirtualDisplay::Advance()
{
    if (++column_ < columns_) return;
    column_ = 0;
    if (!wrapRows_) {
        cursorOn_ = false;
    } else if (++row_ >= rows_) {
        row_ = 0;
        cursorOn_ = wrapDisplay_ != 0;
    }
}

int32_t VirtualDisplay::Write(const unsigned char* text, int32_t length)
{
    if (length <= 0) return LCD_OK;
    if (text == nullptr) return LCD_BAD_ARGUMENT;
    for (int32_t i = 0; i < length && cursorOn_; ++i) {
        cells_[static_cast<size_t>(row_) * columns_ + column_] = text[i];
        Advance();
    }
    return LCD_OK;
}

int32_t VirtualDisplay::SetCustomChar(int32_t index, const unsigned char* bitmap)
{
    if (index < 0 || index > 7 || bitmap == nullptr) return LCD_BAD_ARGUMENT;
    for (int r = 0; r < 8; ++r) custom_[index][r] = bitmap[r] & kPixelMask;
    customDefined_ |= 1 << index;
    return LCD_OK;
}

int32_t VirtualDisplay::GetCustomChar(int32_t index, unsigned char* bitmap) const
{
    if (index < 0 || index > 7 || bitmap == nullptr) return LCD_BAD_ARGUMENT;
    std::memcpy(bitmap, custom_[index], 8);
    return LCD_OK;
}

int32_t VirtualDisplay::StartMarquee(const unsigned char* text, int32_t length, int32_t row, int32_t shift,
                                     int32_t delay, int64_t nowMs)
{
    if (row < 0 || row >= rows_ || length < 0 || length > kMaxMarqueeLength || delay < 0) return LCD_BAD_ARGUMENT;
    if (length > 0 && text == nullptr) return LCD_BAD_ARGUMENT;
    try {
        marquee_.text.assign(text, text + length);
    } catch (const std::bad_alloc&) {
        marquee_.running = false;
        return LCD_NO_MEMORY;
    }
    marquee_.running = true;
    marquee_.row = row;
    marquee_.shift = shift;
    marquee_.delay = delay;
    marquee_.startMs = nowMs;
    return LCD_OK;
}

// A step every delay 96ths of a second from the start; a delay of 0 steps as
// fast as the library counts, every 96th.
int64_t VirtualDisplay::MarqueeSteps(int64_t nowMs) const
{
    if (!marquee_.running || nowMs <= marquee_.startMs) return 0;
    const int64_t ticks = std::max<int64_t>(marquee_.delay, 1);
    return (nowMs - marquee_.startMs) * kTicksPerSecond / (ticks * kMsPerSecond);
}

void VirtualDisplay::Show(int64_t nowMs, unsigned char* out) const
{
    std::copy(cells_.begin(), cells_.end(), out);
    if (!marquee_.running || marquee_.row >= rows_) return;
    const int length = static_cast<int>(marquee_.text.size());
    const int64_t circle = lumora::detail::MarqueeCircleLength(length, columns_);
    // Offsets are taken round the circle before they multiply, so that no
    // number of steps overflows; a negative shift runs the other way.
    const int64_t steps = MarqueeSteps(nowMs) % circle;
    const int64_t shift = ((marquee_.shift % circle) + circle) % circle;
    const int offset = static_cast<int>(steps * shift % circle);
    lumora::detail::MarqueeFrame(marquee_.text.data(), length, columns_, offset, kBlank,
                                 out + static_cast<size_t>(marquee_.row) * columns_);
}

}  // namespace lcdriver
