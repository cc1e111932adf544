// A Matrix Orbital serial display (LCD, LK, VFD or VK module). Commands are the
// prefix FE, a letter and a fixed number of argument bytes; every other byte is
// a character written at the cursor. Keys typed by a person go back to the
// host as the keypad's bytes.
#pragma once

#include <array>
#include <map>
#include <optional>

#include "Emulator.h"

namespace lumora::sim {

class MatrixOrbitalEmulator final : public Emulator {
public:
    static constexpr int kMaxColumns = 40;
    static constexpr int kMaxRows = 4;

    // A display of the given model name and size; a size that no module has
    // falls back to 20 x 4.
    MatrixOrbitalEmulator(std::string model, int columns, int rows);

    std::string Title() const override;
    int Columns() const override { return columns_; }
    int Rows() const override { return rows_; }
    unsigned char Cell(int row, int column) const override { return cells_[row * kMaxColumns + column]; }
    std::string Glyph(unsigned char code) const override;
    std::vector<std::string> Status() const override;
    void Receive(const unsigned char* bytes, size_t count) override;

    // What the display holds besides its text.
    struct Lamps {
        bool backlight = false;
        bool lineWrap = true;  // the module's power-on settings
        bool autoScroll = true;
        bool underlineCursor = true;
        bool blinkingCursor = true;
        std::optional<int> contrast;    // 0-255
        std::optional<int> brightness;  // level 0-3
        std::optional<int> debounce;    // steps of 6.554 ms
    };
    const Lamps& State() const { return lamps_; }
    int CursorColumn() const { return column_; }
    int CursorRow() const { return row_; }
    // Output number to on (true) or off (false), for the outputs switched so far.
    const std::map<int, bool>& Outputs() const { return outputs_; }
    // The bitmap of custom character i, when one has been defined.
    const std::optional<std::array<unsigned char, 8>>& CustomChar(int index) const { return customChars_[index]; }
    // How many commands the display did not know, and the letter of the last.
    unsigned long UnknownCommands() const { return unknownCommands_; }
    unsigned char LastUnknownLetter() const { return lastUnknownLetter_; }

private:
    enum class Expect { Text, Letter, Arguments };

    void Character(unsigned char code);
    void Command(unsigned char letter, const unsigned char* arguments);
    void ClearCells();
    bool HasKeypad() const;
    std::vector<std::string> CustomCharLines() const;

    std::string model_;
    int columns_;
    int rows_;
    std::array<unsigned char, kMaxColumns * kMaxRows> cells_;
    int column_ = 0;
    int row_ = 0;
    Lamps lamps_;
    std::map<int, bool> outputs_;
    std::array<std::optional<std::array<unsigned char, 8>>, 8> customChars_;

    Expect expect_ = Expect::Text;
    unsigned char letter_ = 0;
    std::array<unsigned char, 9> arguments_{};
    int argumentsHeld_ = 0;
    int argumentsNeeded_ = 0;

    unsigned long clears_ = 0;
    unsigned long pastRowEnd_ = 0;
    unsigned long ignoredPositions_ = 0;
    unsigned long ignoredCustomChars_ = 0;
    unsigned long unknownCommands_ = 0;
    unsigned char lastUnknownLetter_ = 0;
};

}  // namespace lumora::sim
