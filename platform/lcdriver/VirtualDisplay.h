// The virtual character display behind the library: cells, cursor, wrap mode,
// custom characters and a marquee that moves with the clock.
#pragma once

#include <cstdint>
#include <vector>

namespace lcdriver {

class VirtualDisplay {
public:
    static constexpr int kMaxSide = 255;
    static constexpr int kMaxMarqueeLength = 65536;

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    // A new geometry, all blank; the cursor homes and a marquee stops. False
    // when there is no memory for it (the display is then 0 x 0).
    bool Resize(int columns, int rows);

    void Clear();
    int32_t SetCursorMode(int32_t mode);
    int32_t SetWrapMode(int32_t rows, int32_t display);
    int32_t SetCursorPos(int32_t column, int32_t row);
    int32_t Write(const unsigned char* text, int32_t length);
    int32_t SetCustomChar(int32_t index, const unsigned char* bitmap);
    int32_t GetCustomChar(int32_t index, unsigned char* bitmap) const;
    int32_t StartMarquee(const unsigned char* text, int32_t length, int32_t row, int32_t shift, int32_t delay,
                         int64_t nowMs);
    void StopMarquee() { marquee_.running = false; }

    // The cells as they show at nowMs, columns x rows bytes into out.
    void Show(int64_t nowMs, unsigned char* out) const;
    int64_t MarqueeSteps(int64_t nowMs) const;

    int32_t CursorMode() const { return cursorMode_; }
    int32_t CursorColumn() const { return cursorOn_ ? column_ : -1; }
    int32_t CursorRow() const { return cursorOn_ ? row_ : -1; }
    int32_t WrapRows() const { return wrapRows_; }
    int32_t WrapDisplay() const { return wrapDisplay_; }
    int32_t CustomDefined() const { return customDefined_; }
    bool MarqueeRunning() const { return marquee_.running; }
    int32_t MarqueeRow() const { return marquee_.row; }
    int32_t MarqueeShift() const { return marquee_.shift; }
    int32_t MarqueeDelay() const { return marquee_.delay; }
    int32_t MarqueeLength() const { return static_cast<int32_t>(marquee_.text.size()); }

private:
    struct Marquee {
        bool running = false;
        int32_t row = 0;
        int32_t shift = 0;
        int32_t delay = 0;
        int64_t startMs = 0;
        std::vector<unsigned char> text;
    };

    void Advance();

    int columns_ = 0;
    int rows_ = 0;
    std::vector<unsigned char> cells_;
    int32_t column_ = 0;
    int32_t row_ = 0;
    bool cursorOn_ = true;  // false once text ran off the display, or a bad position was given
    int32_t cursorMode_ = 0;
    int32_t wrapRows_ = 0;
    int32_t wrapDisplay_ = 0;
    unsigned char custom_[8][8] = {};
    int32_t customDefined_ = 0;
    Marquee marquee_;
};

}  // namespace lcdriver
