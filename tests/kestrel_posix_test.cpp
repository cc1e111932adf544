// The program with the Crystalfontz driver, end to end: byte for byte on a
// line, and the marquee scrolling on the emulated display.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "support/PosixSupport.h"

namespace lumora::test {
namespace {

const std::string kNews = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 bytes

std::string HexOf(const std::string& s) { return Hex(Bytes(s.begin(), s.end())); }

TEST(KestrelProgram, DrivesA634OnALineByteForByte)
{
    Pty pty;
    // clang-format off
    const ProgramRun run = RunProgram({
        "--driver", "kestrel", "--model", "634SG", "--port", pty.Name(), "--brightness", "80", "--contrast", "50",
        "clear",
        "write", "0", "0", "Hi",
        "write", "2", "3", "\\x01\\x82",
        "char", "1", "31", "17", "17", "17", "17", "17", "31", "0",
        "marquee", "1", "1", "100", kNews,
        "unmarquee"}, &pty);
    // clang-format on
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::string marqueeChars;  // the 10 bytes after the row's 20, then spaces
    for (int p = 0; p < 20; ++p) {
        char triple[16];
        std::snprintf(triple, sizeof triple, "15 %02X %02X ", p, p < 10 ? kNews[20 + p] : ' ');
        marqueeChars += triple;
    }
    const std::string expected =
        "04 0E 50 0F 32 14 18 0C "  // open, after the start-up wait
        "0C "                       // clear
        "01 48 69 "                 // Hi at home
        "11 03 02 81 1E 01 02 "     // custom character 1 both ways
        "19 01 1F 11 11 11 11 11 1F 00 "
        "11 00 01 " +
        HexOf(kNews.substr(0, 20)) + " " + marqueeChars +
        "16 01 01 09 "
        "16 FF 01 09";  // unmarquee; closing sends nothing
    EXPECT_EQ(Hex(run.wire), expected);
}

TEST(KestrelProgram, TheMarqueeScrollsOnTheEmulatedDisplayUntilStopped)
{
    const ProgramRun run = RunProgram({"--driver", "kestrel", "--model", "634SG", "--port", "sim", "write", "0", "0",
                                       "Headlines", "marquee", "1", "1", "100", kNews, "wait", "1000", "unmarquee"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Crystalfontz 634SG 20x4"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("contrast 50%, backlight 50%"), std::string::npos) << run.out;
    // Each frame shows row 1 somewhere round the circle of the row's 20 bytes
    // and the 20 marquee characters; a second of waiting at 9/96 s a step
    // shows it starting at the text and moving on (how far depends on how
    // often the program got to draw).
    const std::string circle = kNews + std::string(10, ' ');
    std::set<int> offsets;
    const std::string title = " Crystalfontz 634SG 20x4";
    for (size_t at = run.out.find(title); at != std::string::npos;) {
        const size_t next = run.out.find(title, at + 1);
        const std::string frame = run.out.substr(at, next == std::string::npos ? std::string::npos : next - at);
        at = next;
        if (frame.find("marquee on row 1") == std::string::npos) continue;
        size_t line = 0;
        for (int i = 0; i < 3; ++i) line = frame.find('\n', line) + 1;  // title, top, row 0, then row 1
        const std::string row = frame.substr(line + 3, 20);             // after the frame's side
        const size_t offset = (circle + circle).find(row);
        ASSERT_LT(offset, circle.size()) << "a row off the circle: '" << row << "'\n" << run.out;
        offsets.insert(static_cast<int>(offset));
    }
    EXPECT_EQ(offsets.count(0), 1u) << run.out;
    EXPECT_GE(offsets.size(), 3u) << run.out;
    EXPECT_NE(run.out.find("marquee on row 1: 1 character(s) every 9/96 s"), std::string::npos);
    const std::string last = run.out.substr(run.out.rfind("Crystalfontz 634SG"));
    EXPECT_EQ(last.find("marquee on row"), std::string::npos) << "after unmarquee:\n" << last;
    EXPECT_NE(last.find("\xE2\x94\x82Headlines           \xE2\x94\x82"), std::string::npos) << last;
}

}  // namespace
}  // namespace lumora::test
