// A Crystalfontz 632 (16 x 2) or 634 (20 x 4) serial display: it decodes the
// commands the kestrel driver sends (cursor, escape to the controller, custom
// characters at 128-135, contrast, backlight, scroll and wrap, form feed) and
// runs the hardware marquee as time passes. A cell holds the code it was
// given; a code that came through the escape is the controller's own, where
// 0-15 are the custom characters.
#pragma once

#include <array>
#include <vector>

#include "Emulator.h"

namespace lumora::sim {

class CrystalfontzEmulator final : public Emulator {
public:
    static constexpr int kMarqueeChars = 20;

    // model only names the display in its title ("634SG"); it may be empty.
    CrystalfontzEmulator(std::string model, int columns, int rows);

    std::string Title() const override;
    int Columns() const override { return columns_; }
    int Rows() const override { return rows_; }
    unsigned char Cell(int row, int column) const override;
    std::string Glyph(unsigned char code) const override;
    std::vector<std::string> Status() const override;
    void Receive(const unsigned char* bytes, size_t count) override;
    void Tick(int64_t nowMs) override;

    int Contrast() const { return contrast_; }
    int Backlight() const { return backlight_; }
    const std::array<unsigned char, 8>& CustomChar(int index) const { return customChars_[index & 7]; }
    // The row the marquee scrolls, or -1 when none runs.
    int MarqueeRow() const { return marquee_.running ? marquee_.row : -1; }

private:
    void Command(unsigned char command, const unsigned char* arguments);
    void Put(unsigned char code);
    void StartMarquee(int row, int step, int speed);
    void StopMarquee();
    unsigned char& At(int row, int column) { return cells_[static_cast<size_t>(row * columns_ + column)]; }

    std::string model_;
    int columns_;
    int rows_;
    std::vector<unsigned char> cells_;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    bool wrap_ = true;  // on, as the display starts up
    bool scroll_ = true;
    bool cursorShown_ = true;
    int contrast_ = -1;  // -1 until set
    int backlight_ = -1;
    std::array<std::array<unsigned char, 8>, 8> customChars_{};
    std::array<unsigned char, kMarqueeChars> marqueeChars_;

    struct Marquee {
        bool running = false;
        int row = 0;
        int step = 1;                       // characters per move
        int speed = 0;                      // 1/96 s between moves; 0 stands still
        std::vector<unsigned char> circle;  // the row's cells, then the marquee characters
        int64_t startMs = -1;               // the first tick after the start
        int offset = 0;
    } marquee_;

    // A command waiting for its argument bytes.
    unsigned char pending_ = 0;
    std::array<unsigned char, 9> arguments_{};
    size_t argumentsWanted_ = 0;
    size_t argumentsHave_ = 0;
    unsigned long unknownCommands_ = 0;
    unsigned long ignoredPositions_ = 0;
};

}  // namespace lumora::sim
