// Draws an emulated display in a terminal, as a framed grid of cells.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "Emulator.h"

namespace lumora::sim {

// The frame as lines of text (UTF-8): a title, the framed rows, the status.
std::vector<std::string> DrawFrame(const Emulator& emulator, const std::string& caption);

class TerminalView {
public:
    // On a terminal each new frame replaces the last in place; elsewhere (a
    // pipe, a file) frames follow one another.
    TerminalView(const Emulator& emulator, std::string caption, std::FILE* out);

    // Draws when the display changed since the last drawing.
    void Refresh();

private:
    const Emulator& emulator_;
    std::string caption_;
    std::FILE* out_;
    bool inPlace_;
    unsigned long drawnVersion_ = ~0UL;
    size_t drawnLines_ = 0;
};

}  // namespace lumora::sim
