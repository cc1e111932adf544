#include "TerminalView.h"

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace lumora::sim {

namespace {

std::string Repeat(const char* piece, int times)
{
    std::string s;
    for (int i = 0; i < times; ++i) s += piece;
    return s;
}

bool IsTerminal(std::FILE* out)
{
#if defined(_WIN32)
    (void)out;
    return false;
#else
    return isatty(fileno(out)) != 0;
#endif
}

}  // namespace

std::vector<std::string> DrawFrame(const Emulator& emulator, const std::string& caption)
{
    std::vector<std::string> lines;
    std::string title = " ";
    title += emulator.Title();
    if (!caption.empty()) title += " - " + caption;
    lines.push_back(title);
    lines.push_back("\xE2\x94\x8C" + Repeat("\xE2\x94\x80", emulator.Columns()) + "\xE2\x94\x90");
    for (int row = 0; row < emulator.Rows(); ++row) {
        std::string line = "\xE2\x94\x82";
        for (int column = 0; column < emulator.Columns(); ++column) line += emulator.Glyph(emulator.Cell(row, column));
        lines.push_back(line + "\xE2\x94\x82");
    }
    lines.push_back("\xE2\x94\x94" + Repeat("\xE2\x94\x80", emulator.Columns()) + "\xE2\x94\x98");
    for (const std::string& status : emulator.Status()) lines.push_back(std::string(" ").append(status));
    return lines;
}

TerminalView::TerminalView(const Emulator& emulator, std::string caption, std::FILE* out)
    : emulator_(emulator), caption_(std::move(caption)), out_(out), inPlace_(IsTerminal(out))
{
}

void TerminalView::Refresh()
{
    if (emulator_.Version() == drawnVersion_) return;
    drawnVersion_ = emulator_.Version();
    const std::vector<std::string> lines = DrawFrame(emulator_, caption_);
    if (inPlace_ && drawnLines_ > 0) std::fprintf(out_, "\x1b[%zuF", drawnLines_);  // back to the frame's top
    for (const std::string& line : lines) std::fprintf(out_, inPlace_ ? "%s\x1b[K\n" : "%s\n", line.c_str());
    if (inPlace_ && lines.size() < drawnLines_) std::fprintf(out_, "\x1b[J");  // a shorter status
    std::fflush(out_);
    drawnLines_ = lines.size();
}

}  // namespace lumora::sim
