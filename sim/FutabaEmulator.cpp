#include "FutabaEmulator.h"

namespace lumora::sim {

namespace {
constexpr unsigned char kReset = 0x1F;
constexpr unsigned char kDisplayPosition = 0x10;
constexpr unsigned char kBlank = ' ';
}  // namespace

FutabaEmulator::FutabaEmulator() { cells_.fill(kBlank); }

void FutabaEmulator::Reset()
{
    cells_.fill(kBlank);
    cursor_ = 0;
    ++resets_;
}

void FutabaEmulator::Receive(const unsigned char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const unsigned char b = bytes[i];
        if (awaitingPosition_) {
            awaitingPosition_ = false;
            if (b < cells_.size())
                cursor_ = b;
            else
                ++ignoredPositions_;  // a cell the display does not have
        } else if (b == kReset) {
            Reset();
        } else if (b == kDisplayPosition) {
            awaitingPosition_ = true;
        } else {
            cells_[cursor_] = b;
            cursor_ = (cursor_ + 1) % static_cast<int>(cells_.size());
        }
    }
    Changed();
}

std::vector<std::string> FutabaEmulator::Status() const
{
    std::vector<std::string> lines{"cursor at cell " + std::to_string(cursor_) + ", resets " + std::to_string(resets_)};
    if (ignoredPositions_ > 0)
        lines.push_back("positions past the last cell ignored: " + std::to_string(ignoredPositions_));
    return lines;
}

}  // namespace lumora::sim
