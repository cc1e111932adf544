// A Futaba 20 x 4 serial VFD: reset (1F) and display position (10 p); every
// other byte is a character written at the cursor, which then moves on.
#pragma once

#include <array>

#include "Emulator.h"

namespace lumora::sim {

class FutabaEmulator final : public Emulator {
public:
    static constexpr int kColumns = 20;
    static constexpr int kRows = 4;

    FutabaEmulator();

    std::string Title() const override { return "Futaba VFD 20x4"; }
    int Columns() const override { return kColumns; }
    int Rows() const override { return kRows; }
    unsigned char Cell(int row, int column) const override { return cells_[row * kColumns + column]; }
    std::vector<std::string> Status() const override;
    void Receive(const unsigned char* bytes, size_t count) override;

private:
    void Reset();

    std::array<unsigned char, kColumns * kRows> cells_;
    int cursor_ = 0;
    bool awaitingPosition_ = false;
    unsigned long resets_ = 0;
    unsigned long ignoredPositions_ = 0;
};

}  // namespace lumora::sim
